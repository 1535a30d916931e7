#pragma once
// A daily report made outside the form (read from a filled spreadsheet
// sheet) and not stored yet: the form opens it as a new, unsaved report and
// writes it only when the user saves, in the form's own transaction; closing
// the form leaves the database as it was.
#include "daily_report_header.h"
#include "sheet_columns.h"
#include "visits_sheet.h"
#include "visits_sheet_store.h"

#include <QList>
#include <QString>

class CxSQL;

struct CDailyReportDraft {
    // The header; header.groupId is the journal folder the report goes into.
    CDailyReportHeader header;
    // The cells of the report's first visits sheet as they would be stored
    // (a client not found in the register has client -1 and keeps its code).
    QList<CVisitsSheetCell> visits;
    // The visits sheets the form shows, numbered from 0 (MakeDraftSheets
    // lays out the first from visits).
    QList<CVisitsSheet> sheets;
    // Where the report came from (the file's full path); empty when typed.
    QString source;
};

// Lays out draft->sheets as one visits sheet of draft->visits, columns in
// the order the items are met. Fails only when the directory cannot be read.
inline bool MakeDraftSheets(CxSQL* sql, CDailyReportDraft* draft, QStringList* notes,
                            QString* error) {
    CVisitsSheet sheet;
    if (!CVisitsSheetStore::Build(sql, draft->visits, {}, &sheet, notes, error))
        return false;
    draft->sheets = {sheet};
    return true;
}
