#include "sheet_view.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

CDiarySheetView::CDiarySheetView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                    QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
}

void CDiarySheetView::MoveCurrent(int rows, int columns) {
    const QModelIndex current = currentIndex();
    if (!model() || !current.isValid())
        return;
    const int row = qBound(0, current.row() + rows, model()->rowCount() - 1);
    const int column = qBound(0, current.column() + columns, model()->columnCount() - 1);
    const QModelIndex next = model()->index(row, column);
    if (!next.isValid())
        return;
    setCurrentIndex(next);
    scrollTo(next);
}

void CDiarySheetView::CommitOpenEditor() {
    if (state() != EditingState)
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void CDiarySheetView::keyPressEvent(QKeyEvent* event) {
    if (state() != EditingState) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
                MoveCurrent(1, 0);
                event->accept();
                return;
            }
            break;
        case Qt::Key_Delete:
            if (event->modifiers() == Qt::NoModifier) {
                QModelIndexList cells =
                    selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
                if (cells.isEmpty() && currentIndex().isValid())
                    cells << currentIndex();
                ClearCells(cells);
                event->accept();
                return;
            }
            break;
        default:
            break;
        }
    }
    QTableView::keyPressEvent(event);
}

void CDiarySheetView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    // An editor closed already (by another way of ending the same edit) is
    // no second Enter.
    const bool open = editor && editor->isVisible();
    QTableView::closeEditor(editor, hint);
    // Enter keeps the value and goes down, as in a spreadsheet.
    if (open && hint == QAbstractItemDelegate::SubmitModelCache)
        MoveCurrent(1, 0);
}

CDiaryCellDelegate::CDiaryCellDelegate(CDiarySheetView* view)
    : QStyledItemDelegate(view), m_view(view) {}

void CDiaryCellDelegate::CommitAndMove(QWidget* editor, int rows, int columns) {
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_view->MoveCurrent(rows, columns);
}

bool CDiaryCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || event->type() != QEvent::KeyPress)
        return QStyledItemDelegate::eventFilter(object, event);
    // The line edit of a combo list editor: the editor is the combo.
    QWidget* editor = widget;
    QLineEdit* line = qobject_cast<QLineEdit*>(widget);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        line = combo->lineEdit();
    } else if (line && qobject_cast<QComboBox*>(line->parentWidget())) {
        editor = line->parentWidget();
    }
    const bool ownEditor = editor == widget;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~(Qt::KeypadModifier)) {
        return ownEditor ? QStyledItemDelegate::eventFilter(object, event) : false;
    }
    // Lists that are open take their keys themselves.
    const QCompleter* completer = line ? line->completer() : nullptr;
    const auto* combo = qobject_cast<QComboBox*>(editor);
    const bool listOpen = (completer && completer->popup() && completer->popup()->isVisible()) ||
                          (combo && combo->view() && combo->view()->isVisible());
    if (!listOpen) {
        const bool atStart = !line || (line->cursorPosition() == 0 && !line->hasSelectedText());
        const bool atEnd =
            !line || (line->cursorPosition() == line->text().size() && !line->hasSelectedText());
        switch (key->key()) {
        case Qt::Key_Up:
            CommitAndMove(editor, -1, 0);
            return true;
        case Qt::Key_Down:
            CommitAndMove(editor, 1, 0);
            return true;
        case Qt::Key_Left:
            if (atStart) {
                CommitAndMove(editor, 0, -1);
                return true;
            }
            break;
        case Qt::Key_Right:
            if (atEnd) {
                CommitAndMove(editor, 0, 1);
                return true;
            }
            break;
        default:
            break;
        }
    }
    // The base knows the editor only, not the parts inside it.
    return ownEditor ? QStyledItemDelegate::eventFilter(object, event) : false;
}
