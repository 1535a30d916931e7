#pragma once
// What the daily report's sheets share with a spreadsheet, for the fast typing
// of a day's forms: typing into a cell replaces what it holds, Enter keeps
// what was typed and goes down a row (also when nothing is being typed), the
// arrow keys leave a cell being typed into in their direction (left and right
// once the cursor stands at the text's end), Delete empties the chosen cells,
// F2 and a double click edit the cell as it is.
#include <QStyledItemDelegate>
#include <QTableView>

class CDiarySheetView : public QTableView {
    Q_OBJECT
public:
    explicit CDiarySheetView(QWidget* parent = nullptr);

    // Makes the cell so many rows and columns away current (within the grid).
    void MoveCurrent(int rows, int columns);
    // Keeps what the open cell editor holds and closes it, staying on the
    // cell: a save started while a cell is being typed saves what was typed.
    void CommitOpenEditor();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    // Empties the cells (Delete); the sheet's model decides how.
    virtual void ClearCells(const QModelIndexList& cells) = 0;
};

// The cell editors' keys: a delegate of a CDiarySheetView.
class CDiaryCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CDiaryCellDelegate(CDiarySheetView* view);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;
    // Keeps what the editor holds, closes it and moves on.
    void CommitAndMove(QWidget* editor, int rows, int columns);
    CDiarySheetView* View() const { return m_view; }

private:
    CDiarySheetView* m_view;
};
