#pragma once
// Loading a visits sheet from dailyvisits (its cells) and dailyvisitssubhdr
// (its column layout), and saving it back.
//
// Cells: one dailyvisits row per (grid row, item) holding a value; NPP is the
// grid row (from 0), nClientID the row's client, nCount the count, or for a
// consultation the OR of the kinds ticked on the row. Layout: one
// dailyvisitssubhdr row per column with its width and its position (nPos).
//
// The save, in the caller's transaction, first checks the whole sheet and
// writes nothing when it refuses:
// - every client code names a client (not a folder) of the register;
// - a row holding a value has a client; a row that holds nothing at all (no
//   code, no text) is no row and is left out;
// - while the sheet shows only the client column, the chosen service exists,
//   and a consultation chosen as service is counted per client and records
//   exactly one kind;
// - two values for one row and item where one is a count (a count column
//   beside kind columns of the same item) spoil the sheet ("Ведомость
//   испорчена"), so the save stops instead of dropping one;
// - every number fits in the stored column and none is negative.
// Then it replaces the sheet's rows: deletes its old cells and columns, and
// inserts the new ones in multi-row INSERTs. A sheet without cells stores
// neither cells nor columns.
#include "diary_verdict.h"
#include "visits_sheet.h"

#include <QStringList>

class CxSQL;
struct CStoredSheetColumn;

// One cell of a sheet as dailyvisits stores it: the grid row (NPP; rows are
// told apart by client and NPP), the client (its ROWID, or 0 or -1 when the
// row names no known client: clientCode is then shown as typed), the item and
// the count (for a consultation the OR of the kinds ticked).
struct CVisitsSheetCell {
    qint64 npp = 0;
    qint64 clientId = 0;
    QString clientCode;
    qint32 item = 0;
    qint32 count = 0;
};

class CVisitsSheetStore {
public:
    // Loads sheet sheetNo of the report into *sheet (made anew). What could not
    // be shown goes to *notes (lines for the application's error list): a
    // cell whose item is missing from the directory, a cell without a column.
    static bool Load(CxSQL* sql, qint64 reportId, int sheetNo, CVisitsSheet* sheet,
                     QStringList* notes, QString* error);
    // Lays out *sheet (made anew) for the cells, in NPP order, the way Load
    // shows stored cells: columns from the stored layout (may be empty) and
    // the items of the cells, read from the directory.
    static bool Build(CxSQL* sql, QList<CVisitsSheetCell> cells,
                      const QList<CStoredSheetColumn>& stored, CVisitsSheet* sheet,
                      QStringList* notes, QString* error);
    // Saves the sheet as described above. Answers false when refused
    // (*refusal, with field, row and column set; nothing written) or when a
    // statement fails (*error; the caller rolls back).
    [[nodiscard]] static bool Save(CxSQL* sql, qint64 reportId, int sheetNo,
                                   const CVisitsSheet& sheet, CDiaryVerdict* refusal,
                                   QString* error);
};
