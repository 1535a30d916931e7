#include "stencil_layout.h"

#include "excel_xml.h"

int StencilLayout::FindSignatureRow(const CExcelXML& sheet, int sheetIndex) {
    const int last = sheet.GetLastRow(sheetIndex);
    for (int row = 0; row <= last; ++row) {
        const QString* text = sheet.GetCellText(row, 0, sheetIndex);
        if (text && text->startsWith(kSignature))
            return row;
    }
    return -1;
}
