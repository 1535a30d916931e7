#pragma once
// The redirections sheet of a daily report: how many people received each
// kind of the consultations and redirections that are not counted per client
// (dailyredirects: one row per report, sheet, item and kind, nCount people).
//
// A sheet that has stored rows shows exactly those (an item whose directory
// settings changed later keeps its rows); an empty or new sheet offers every
// visible consultation item without ByCode, once per other kind it carries,
// kinds in the order 2, 8, 16, 4, 32, 64. The save, in the caller's
// transaction, replaces the sheet's rows with the lines whose count is not 0
// (negative counts are stored as typed).
#include "diary_verdict.h"

#include <QList>
#include <QString>

class CxSQL;

struct CRedirectionRow {
    qint32 item = 0;  // dir.ROWID of the consultation item
    qint32 flag = 0;  // nConsultKey: the kind
    QString itemName; // the item's name (empty when the directory lost it)
    QString flagText; // the kind's text
    QString count;    // as typed; read from its leading sign and digits

    // The line's text: the name, and the kind on a second line.
    QString Caption() const;
};

struct CRedirectionsSheet {
    QList<CRedirectionRow> rows;
};

class CRedirectionsSheetStore {
public:
    // Loads sheet sheetNo of the report (the directory's list when the sheet
    // has no rows).
    static bool Load(CxSQL* sql, qint64 reportId, int sheetNo, CRedirectionsSheet* sheet,
                     QString* error);
    // Saves it. Answers false when refused (a count that does not fit:
    // *refusal, row set, column 1) or when a statement fails (*error).
    [[nodiscard]] static bool Save(CxSQL* sql, qint64 reportId, int sheetNo,
                                   const CRedirectionsSheet& sheet, CDiaryVerdict* refusal,
                                   QString* error);
};
