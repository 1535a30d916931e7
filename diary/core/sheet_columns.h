#pragma once
// The columns of a visits sheet follow the directory items the user chose (in
// the material chooser or by a material package) and the items that hold
// counts: one column per material or service, one 0/1 column per kind of a
// consultation counted per client.
//
// A rebuild for a list of items:
// - keeps the client column, every column whose item holds a non-zero value,
//   and every column of an item in the list; drops the others with their
//   (empty or zero) cells;
// - adds the columns of new items to the right of all existing ones, in list
//   order (the kinds of one consultation side by side);
// - takes the names of listed items anew from the directory, and drops the
//   column of a kind that a listed consultation no longer carries;
// - keeps the cells; a 0/1 column shows "0" where it was empty.
// What it could not do goes to *notes (lines for the application's error
// list): an item missing from the directory, a consultation no longer
// counted per client (its columns are still built), a column whose item's
// type cannot be read.
#include "sheet_materials.h"
#include "visits_sheet.h"

#include <QStringList>

class CxSQL;

// The rebuild with the directory items at hand: materials must hold the items
// of the list and of the sheet's columns (what it lacks counts as missing).
void UpdateSheetColumns(CVisitsSheet* sheet, const QList<qint32>& items,
                        const CSheetMaterials& materials, QStringList* notes);
// The same, reading the items from the directory.
bool UpdateSheetColumns(CxSQL* sql, CVisitsSheet* sheet, const QList<qint32>& items,
                        QStringList* notes, QString* error);

// A stored column of a sheet (dailyvisitssubhdr), in stored position order.
struct CStoredSheetColumn {
    CSheetColumnKey key;
    int width = 0;
};

// The columns of a sheet being loaded (a sheet without rows or columns other
// than the client column): the stored layout, reduced to the columns of the
// items that hold cells (items, in order of their first cell), in stored
// order with the stored widths; items without a stored column come after. An
// item the directory lacks keeps a text column, so that its cells are not
// lost when the sheet is saved again.
void LayOutLoadedSheet(CVisitsSheet* sheet, const QList<CStoredSheetColumn>& stored,
                       const QList<qint32>& items, const CSheetMaterials& materials,
                       QStringList* notes);
