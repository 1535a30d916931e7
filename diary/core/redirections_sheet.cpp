#include "redirections_sheet.h"

#include "cell_number.h"
#include "diary_sql.h"
#include "sheet_materials.h"

namespace {
// The order in which a new sheet lists the kinds of an item.
constexpr qint32 kNewSheetFlags[] = {2, 8, 16, 4, 32, 64};
// The count column of the sheet's grid (column 0 is the line's text).
constexpr int kCountColumn = 1;
} // namespace

QString CRedirectionRow::Caption() const {
    return itemName + QLatin1Char('\n') + flagText;
}

bool CRedirectionsSheetStore::Load(CxSQL* sql, qint64 reportId, int sheetNo,
                                   CRedirectionsSheet* sheet, QString* error) {
    sheet->rows.clear();
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral(
                         "SELECT dailyredirects.nCount,dailyredirects.nItem,"
                         "dailyredirects.nConsultKey,dir.cString FROM dailyredirects LEFT JOIN "
                         "dir ON dir.ROWID=dailyredirects.nItem WHERE dailyredirects.nReportID=%1 "
                         "AND dailyredirects.nVedID=%2 ORDER BY dir.nSortCode,dir.cString,"
                         "dailyredirects.nItem,dailyredirects.nConsultKey")
                         .arg(reportId)
                         .arg(sheetNo),
                     &r, error))
        return false;
    while (r.FetchRow()) {
        CRedirectionRow row;
        row.count = r.SFieldValue(0);
        row.item = qint32(r.LFieldValue(1));
        row.flag = qint32(r.LFieldValue(2));
        row.itemName = r.SFieldValue(3);
        row.flagText = ConsultationFlagText(row.flag);
        sheet->rows.append(row);
    }
    if (!sheet->rows.isEmpty())
        return true;

    // Only items of the materials directory: rows of the other directories
    // share the table, and a folder is no item, whatever their type codes say.
    if (!RunDiarySQL(
            sql,
            QStringLiteral("SELECT dir.ROWID,IFNULL(dir.nSpecFlags,0),dir.cString FROM dir "
                           "WHERE dir.nDirType=3 AND dir.bIsFolder=0 AND "
                           "IFNULL(dir.bHidden,0)=0 AND dir.nType&458752=458752 AND "
                           "NOT(IFNULL(dir.nSpecFlags,0)&1) ORDER BY dir.nSortCode,"
                           "dir.cString,dir.ROWID"),
            &r, error))
        return false;
    while (r.FetchRow()) {
        const qint32 flags = qint32(r.LFieldValue(1));
        for (const qint32 flag : kNewSheetFlags) {
            if (!(flags & flag))
                continue;
            CRedirectionRow row;
            row.item = qint32(r.LFieldValue(0));
            row.flag = flag;
            row.itemName = r.SFieldValue(2);
            row.flagText = ConsultationFlagText(flag);
            sheet->rows.append(row);
        }
    }
    return true;
}

bool CRedirectionsSheetStore::Save(CxSQL* sql, qint64 reportId, int sheetNo,
                                   const CRedirectionsSheet& sheet, CDiaryVerdict* refusal,
                                   QString* error) {
    qint64 region = 0;
    if (!DiaryReportRegion(sql, reportId, "CDDiaryRedir::Apply", &region, error))
        return false;

    QList<QPair<int, qint32>> counted;
    for (int i = 0; i < sheet.rows.size(); ++i) {
        qint32 value = 0;
        if (!ReadCellNumber(sheet.rows[i].count, &value)) {
            if (refusal)
                *refusal = CDiaryVerdict::Refuse(
                    EDiaryField::SheetCell,
                    DiaryText("Число «%1» слишком велико.", "CDDiaryRedir::Apply")
                        .arg(sheet.rows[i].count.trimmed()),
                    QString(), i, kCountColumn);
            return false;
        }
        if (value != 0)
            counted.append({i, value});
    }

    if (!RunDiarySQL(sql,
                     QStringLiteral("DELETE FROM dailyredirects WHERE nReportID=%1 AND nVedID=%2")
                         .arg(reportId)
                         .arg(sheetNo),
                     nullptr, error))
        return false;
    CDiaryInsert insert(sql, QStringLiteral("dailyredirects"),
                        {QStringLiteral("nReportID"), QStringLiteral("nVedID"),
                         QStringLiteral("nItem"), QStringLiteral("nConsultKey"),
                         QStringLiteral("nCount"), QStringLiteral("nRegionDataID")});
    for (const auto& [i, value] : counted) {
        const CRedirectionRow& row = sheet.rows[i];
        if (!insert.Add({QString::number(reportId), QString::number(sheetNo),
                         QString::number(row.item), QString::number(row.flag),
                         QString::number(value), QString::number(region)},
                        error))
            return false;
    }
    return insert.Finish(error);
}
