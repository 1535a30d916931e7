#pragma once
// The visits sheet as an item model: the cells of a CVisitsSheet (the sheet is
// the data; the model copies nothing), one row per client and one column per
// sheet column. Below the sheet's rows the model offers one empty row to type
// a new client into; it is no row of the sheet, so the save never sees it,
// and typing into it makes it a row of the sheet and offers the next one.
//
// Edits go through the sheet's own rules (a 0/1 column keeps "1" for any
// non-zero number); a count or 0/1 cell takes only digits.
#include "diary/core/visits_sheet.h"

#include <QAbstractTableModel>
#include <QColor>

class CVisitsSheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Roles : int {
        ClientIdRole = Qt::UserRole + 1, // the row's client (client column), 0 when not known
        KindRole,                        // the column's ESheetColumnKind as int
    };

    explicit CVisitsSheetModel(CVisitsSheet* sheet, QObject* parent = nullptr);

    CVisitsSheet* Sheet() const { return m_sheet; }
    // The row that is not (yet) a row of the sheet.
    int NewRow() const { return m_sheet->RowCount(); }
    bool IsNewRow(int row) const { return row == NewRow(); }

    // The client column's green (auto-complete edit) or blue (list) tint.
    void SetClientTint(const QColor& color) { m_clientTint = color; }

    // Names the client of a row: its ROWID and code (a client picked from a
    // list); on the new row it makes a row of the sheet.
    bool SetClient(int row, qint64 clientId, const QString& code);
    // Empties the cells (the Delete key).
    void ClearCells(const QModelIndexList& cells);
    // The user dragged a column from one place to another.
    void MoveColumn(int from, int to);
    // The sheet's columns or rows were replaced outside the model (a column
    // rebuild, a loaded sheet): around the change.
    void BeginSheetChange();
    void EndSheetChange();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Whether a text may go into a cell of the column.
    static bool AcceptsText(ESheetColumnKind kind, const QString& text);

signals:
    // The user changed the sheet (a cell, a client, the column order).
    void sheetEdited();
    // A column's total may have changed (-1: any).
    void totalsChanged(int column);

private:
    // Makes the new row a row of the sheet.
    void TakeNewRow();

    CVisitsSheet* m_sheet;
    QColor m_clientTint;
};
