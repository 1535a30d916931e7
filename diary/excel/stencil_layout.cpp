#include "stencil_layout.h"

#include "excel_xml.h"

#include "model/enums/enums.h"

QString StencilLayout::ConsultationEntry(const QString& material, long flag) {
    return material + u':' + g_pConsAndDir->IDToString(flag);
}

int StencilLayout::FindSignatureRow(const CExcelXML& sheet, int sheetIndex) {
    const int last = sheet.GetLastRow(sheetIndex);
    for (int row = 0; row <= last; ++row) {
        const QString* text = sheet.GetCellText(row, 0, sheetIndex);
        if (text && text->startsWith(kSignature))
            return row;
    }
    return -1;
}
