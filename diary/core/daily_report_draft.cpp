#include "daily_report_draft.h"

#include <algorithm>

bool MakeDraftSheets(CxSQL* sql, CDailyReportDraft* draft, QStringList* notes, QString* error) {
    CVisitsSheet sheet;
    if (!CVisitsSheetStore::Build(sql, draft->visits, {}, &sheet, notes, error))
        return false;
    // The sheet's rows stand in NPP order, one per NPP of the cells.
    QList<qint64> rows;
    for (const CVisitsSheetCell& cell : draft->visits)
        rows << cell.npp;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QList<CVisitsSheetCell> kept = draft->keptRows;
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return a.npp < b.npp; });
    for (const CVisitsSheetCell& row : kept) {
        const auto at = std::lower_bound(rows.begin(), rows.end(), row.npp);
        const int position = int(at - rows.begin());
        rows.insert(at, row.npp);
        sheet.InsertRows(position, 1);
        sheet.SetClient(position, qMax<qint64>(0, row.clientId), row.clientCode);
    }
    QList<qint32> items = sheet.Items();
    bool more = false;
    for (const qint32 item : draft->refusedItems) {
        if (!items.contains(item)) {
            items << item;
            more = true;
        }
    }
    if (more && !UpdateSheetColumns(sql, &sheet, items, notes, error))
        return false;
    draft->sheets = {sheet};
    return true;
}
