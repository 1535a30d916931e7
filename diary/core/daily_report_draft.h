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
    // Rows of the file none of whose values could be taken as typed (each
    // refused with its message): they stay in the sheet, empty, so that the
    // user sees them (item and count 0).
    QList<CVisitsSheetCell> keptRows;
    // Items a refused value stood under: their columns stay in the sheet even
    // when no other value fills them.
    QList<qint32> refusedItems;
    // The visits sheets the form shows, numbered from 0 (MakeDraftSheets
    // lays out the first from visits).
    QList<CVisitsSheet> sheets;
    // Where the report came from (the file's full path); empty when typed.
    QString source;
};

// Lays out draft->sheets as one visits sheet of draft->visits, columns in
// the order the items are met, the kept rows in their places (by NPP) and the
// columns of the refused items after the others. Fails only when the
// directory cannot be read.
bool MakeDraftSheets(CxSQL* sql, CDailyReportDraft* draft, QStringList* notes, QString* error);
