#pragma once
// The grid of a visits sheet: one row per client, one column per material,
// service or consultation kind, a totals row drawn below the rows. It shows a
// CVisitsSheetModel and types like a spreadsheet (CDiarySheetView). The client
// column's editor completes client codes from the register as they are typed:
// the auto-complete edit (option "OldDiaryEditMode" on, green tint) or the
// list of clients (off, blue tint); the option is read when the grid is made.
// A column dragged elsewhere moves in the sheet; a column's width goes to the
// sheet as the user sets it.
#include "sheet_view.h"

class CVisitsSheet;
class CVisitsSheetModel;
class CVisitsTotalsRow;

class CDDiaryVisitsGrid : public CDiarySheetView {
    Q_OBJECT
public:
    explicit CDDiaryVisitsGrid(QWidget* parent = nullptr);
    ~CDDiaryVisitsGrid() override;

    // The sheet the grid shows (not owned); made once by the sheet page.
    void SetSheet(CVisitsSheet* sheet);
    CVisitsSheetModel* SheetModel() const { return m_model; }
    bool OldEditMode() const { return m_oldEditMode; }

    // Around a change of the sheet's columns or rows made outside the grid
    // (loading, a column rebuild): the grid shows the new columns with their
    // widths.
    void BeginSheetChange();
    void EndSheetChange();

    // Makes the cell current and visible.
    void SelectItem(int row, int column);
    // A tip at a cell that holds what the save refused.
    void ShowErrorTip(int row, int column, const QString& text, const QString& title = QString());
    // Whether the editor that is open was opened by typing into the cell
    // (the typing replaces the cell's text).
    bool EditStartedByTyping() const { return m_typing; }

    // How many lines of the longest caption the header shows (3 to 8).
    int HeaderLines() const;

    // The text of the totals row under a column, as drawn.
    QString TotalText(int column) const;
    QWidget* TotalsRow() const;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void ClearCells(const QModelIndexList& cells) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void ApplyWidths();
    // The header as high as its longest caption needs, within 3 to 8 lines.
    void FitHeader();
    int HeaderHeight(int lines) const;
    // The least width that shows the column's caption word by word and its
    // total.
    int LeastWidth(int column) const;
    void ColumnDragged(int logical, int oldVisual, int newVisual);
    int TotalsHeight() const;

    CVisitsSheet* m_sheet = nullptr;
    CVisitsSheetModel* m_model = nullptr;
    CVisitsTotalsRow* m_totals;
    bool m_oldEditMode = false;
    bool m_typing = false;
    bool m_placing = false;
    bool m_applyingWidths = false;
};
