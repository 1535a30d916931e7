#include "visits_grid.h"

#include "diary/core/diary_verdict.h"
#include "framework/widgets/errors/error_tip.h"
#include "framework/widgets/forms/sql_acc_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "model/options/kelda_options.h"
#include "model/tables/table_set.h"
#include "visits_sheet_model.h"

#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

namespace {
constexpr int kClientColumnWidth = 150;
constexpr int kValueColumnWidth = 100;
// The header shows captions of up to this many lines (the tip shows longer
// ones whole); three at least, so that the header does not jump while
// columns come and go.
constexpr int kMinHeaderLines = 3;
constexpr int kMaxHeaderLines = 8;

// A colour of the window mixed with another at a weight.
QColor ColorMix(const QColor& base, const QColor& other, double weight) {
    return QColor::fromRgbF(base.redF() * (1 - weight) + other.redF() * weight,
                            base.greenF() * (1 - weight) + other.greenF() * weight,
                            base.blueF() * (1 - weight) + other.blueF() * weight);
}

ESheetColumnKind KindOf(const QModelIndex& index) {
    return ESheetColumnKind(index.data(CVisitsSheetModel::KindRole).toInt());
}

// The cell editors of the sheet: the client column completes client codes
// from the register; counts and 0/1 cells take digits only.
class CVisitsGridDelegate : public CDiaryCellDelegate {
public:
    explicit CVisitsGridDelegate(CDDiaryVisitsGrid* grid)
        : CDiaryCellDelegate(grid), m_grid(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        QWidget* editor = nullptr;
        switch (KindOf(index)) {
        case ESheetColumnKind::Client:
            editor = ClientEditor(parent);
            break;
        case ESheetColumnKind::Count:
        case ESheetColumnKind::YesNo: {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("\\d{0,9}")), edit));
            editor = edit;
            break;
        }
        default: {
            auto* edit = new QLineEdit(parent);
            edit->setFrame(false);
            editor = edit;
            break;
        }
        }
        m_open.insert(editor);
        return editor;
    }

    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        m_open.remove(editor);
        CDiaryCellDelegate::destroyEditor(editor, index);
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // Typing into a cell replaces what it holds.
        const bool typing = m_grid->EditStartedByTyping();
        const QString text = typing ? QString() : index.data(Qt::EditRole).toString();
        if (auto* acc = qobject_cast<CxOldEditSQLAcc*>(editor)) {
            acc->setText(text);
        } else if (auto* combo = qobject_cast<CxSqlComboList*>(editor)) {
            const qint64 client = index.data(CVisitsSheetModel::ClientIdRole).toLongLong();
            if (!typing && client > 0) {
                combo->SetSelectedID(client);
            } else {
                combo->SetSelectedID(-1);
                combo->setEditText(text);
            }
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setText(text);
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        auto* sheet = qobject_cast<CVisitsSheetModel*>(model);
        if (!sheet)
            return;
        if (auto* acc = qobject_cast<CxOldEditSQLAcc*>(editor)) {
            QString key;
            if (acc->GetValueAsROWID(&key) == CxOldEditSQLAcc::VALUE_FOUND)
                sheet->SetClient(index.row(), key.toLongLong(), acc->text().trimmed());
            else
                sheet->setData(index, acc->text().trimmed());
        } else if (auto* combo = qobject_cast<CxSqlComboList*>(editor)) {
            const qint64 key = combo->GetSelectedID();
            if (key > 0)
                sheet->SetClient(index.row(), key, combo->currentText().trimmed());
            else
                sheet->setData(index, key == -1 ? QString() : combo->currentText().trimmed());
        } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            sheet->setData(index, line->text());
        }
    }

private:
    QWidget* ClientEditor(QWidget* parent) const {
        if (m_grid->OldEditMode()) {
            auto* edit = new CxOldEditSQLAcc(parent);
            edit->SetInCell(true);
            edit->SetAutoCompleteTable(g_pClientDataTable.GetPtr());
            CommitOnPick(edit, edit->completer());
            // Enter while the completion list is open reaches the edit
            // past the cell's keys.
            connect(edit, &QLineEdit::returnPressed, this, [this, edit] { CommitPicked(edit); });
            return edit;
        }
        auto* combo = new CxSqlComboList(parent);
        combo->setFrame(false);
        combo->SetControlInfo(g_pClientDataTable.GetPtr());
        // The arrow keys of the text part move between cells too.
        combo->lineEdit()->installEventFilter(const_cast<CVisitsGridDelegate*>(this));
        CommitOnPick(combo, combo->completer());
        connect(combo, &QComboBox::activated, this, [this, combo] { CommitPicked(combo); });
        connect(combo->lineEdit(), &QLineEdit::returnPressed, this,
                [this, combo] { CommitPicked(combo); });
        return combo;
    }

    // A client picked from the completion list (Enter or a click) is the
    // cell's value at once, and the grid goes down a row.
    void CommitOnPick(QWidget* editor, QCompleter* completer) const {
        if (!completer)
            return;
        connect(completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
                [this, editor] { CommitPicked(editor); });
    }
    void CommitPicked(QWidget* editor) const {
        // After the editor has taken the picked text.
        QPointer<QWidget> guard(editor);
        QTimer::singleShot(0, this, [this, guard] {
            if (!guard || !m_open.contains(guard.data()))
                return;
            auto* self = const_cast<CVisitsGridDelegate*>(this);
            emit self->commitData(guard.data());
            emit self->closeEditor(guard.data(), QAbstractItemDelegate::SubmitModelCache);
        });
    }

    CDDiaryVisitsGrid* m_grid;
    mutable QSet<QWidget*> m_open;
};
} // namespace

// The totals row under the grid's rows: "Итоги по ведомости" under the
// client column, each column's total under it.
class CVisitsTotalsRow : public QWidget {
public:
    explicit CVisitsTotalsRow(CDDiaryVisitsGrid* grid) : QWidget(grid), m_grid(grid) {
        setObjectName(QStringLiteral("totals"));
        setAutoFillBackground(false);
    }

    QString Text(int column) const {
        const CVisitsSheet* sheet = m_grid->SheetModel() ? m_grid->SheetModel()->Sheet() : nullptr;
        if (!sheet || column < 0 || column >= sheet->ColumnCount())
            return QString();
        if (sheet->Column(column).kind == ESheetColumnKind::Client)
            return DiaryText("Итоги по ведомости", "CDDiaryVisits::CDDiaryVisitsGrid::OnDrawCtrl");
        return QString::number(sheet->Total(column));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QPalette& pal = m_grid->palette();
        p.fillRect(rect(), ColorMix(pal.color(QPalette::Base), pal.color(QPalette::Mid), 0.35));
        p.setPen(pal.color(QPalette::Dark));
        p.drawLine(0, 0, width(), 0);
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        const QHeaderView* header = m_grid->horizontalHeader();
        const int offset = m_grid->viewport()->geometry().left() - geometry().left();
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c))
                continue;
            const int x = offset + header->sectionViewportPosition(c);
            const int w = header->sectionSize(c);
            if (x + w < offset || x > width())
                continue;
            const QRect cell(x, 1, w, height() - 1);
            p.setPen(pal.color(QPalette::Mid));
            p.drawLine(cell.right() - 1, cell.top(), cell.right() - 1, cell.bottom());
            p.setPen(pal.color(QPalette::Text));
            const QRect text = cell.adjusted(4, 0, -5, 0);
            const bool client =
                m_grid->SheetModel() &&
                m_grid->SheetModel()->Sheet()->Column(c).kind == ESheetColumnKind::Client;
            p.drawText(text,
                       (client ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter |
                           Qt::TextSingleLine,
                       p.fontMetrics().elidedText(Text(c), Qt::ElideRight, text.width()));
        }
    }

private:
    CDDiaryVisitsGrid* m_grid;
};

CDDiaryVisitsGrid::CDDiaryVisitsGrid(QWidget* parent)
    : CDiarySheetView(parent), m_totals(new CVisitsTotalsRow(this)),
      m_oldEditMode(g_pOption_DiaryEdit->m_OldDiaryEditMode.Get() != 0) {
    setObjectName(QStringLiteral("grid"));
    setItemDelegate(new CVisitsGridDelegate(this));
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    header->setFixedHeight(HeaderHeight(kMinHeaderLines));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    connect(header, &QHeaderView::sectionMoved, this,
            [this](int logical, int oldVisual, int newVisual) {
                // After the header has finished its own move.
                QTimer::singleShot(0, this, [this, logical, oldVisual, newVisual] {
                    ColumnDragged(logical, oldVisual, newVisual);
                });
            });
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (m_sheet && !m_applyingWidths && column < m_sheet->ColumnCount())
            m_sheet->SetColumnWidth(column, size);
        if (!m_applyingWidths)
            FitHeader();
        m_totals->update();
    });
}

int CDDiaryVisitsGrid::LeastWidth(int column) const {
    const QFontMetrics metrics = horizontalHeader()->fontMetrics();
    int least = 0;
    for (const QString& word : m_sheet->Column(column).Caption().split(
             QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
        least = qMax(least, metrics.horizontalAdvance(word));
    QFont bold = font();
    bold.setBold(true);
    least = qMax(least, QFontMetrics(bold).horizontalAdvance(m_totals->Text(column)));
    // The header's and the cell's margins.
    return least + 14;
}

int CDDiaryVisitsGrid::HeaderHeight(int lines) const {
    return horizontalHeader()->fontMetrics().lineSpacing() * lines + 10;
}

int CDDiaryVisitsGrid::HeaderLines() const {
    const QHeaderView* header = horizontalHeader();
    const QFontMetrics metrics = header->fontMetrics();
    int lines = kMinHeaderLines;
    for (int c = 0; model() && c < header->count(); ++c) {
        const QString caption = model()->headerData(c, Qt::Horizontal).toString();
        // The room the style leaves for the text, with its margins.
        const int width = qMax(8, header->sectionSize(c) - 8);
        const QRect needed = metrics.boundingRect(QRect(0, 0, width, 1 << 20),
                                                  Qt::AlignCenter | Qt::TextWordWrap, caption);
        lines = qMax(lines, (needed.height() + metrics.lineSpacing() - 1) / metrics.lineSpacing());
    }
    return qMin(lines, kMaxHeaderLines);
}

void CDDiaryVisitsGrid::FitHeader() {
    horizontalHeader()->setFixedHeight(HeaderHeight(HeaderLines()));
}

CDDiaryVisitsGrid::~CDDiaryVisitsGrid() = default;

void CDDiaryVisitsGrid::SetSheet(CVisitsSheet* sheet) {
    m_sheet = sheet;
    m_model = new CVisitsSheetModel(sheet, this);
    const QColor tint = m_oldEditMode ? QColor(0, 128, 0) : QColor(0, 0, 255);
    m_model->SetClientTint(ColorMix(palette().color(QPalette::Base), tint, 0.2));
    setModel(m_model);
    connect(m_model, &CVisitsSheetModel::totalsChanged, m_totals, [this] { m_totals->update(); });
    ApplyWidths();
}

QWidget* CDDiaryVisitsGrid::TotalsRow() const {
    return m_totals;
}

QString CDDiaryVisitsGrid::TotalText(int column) const {
    return m_totals->Text(column);
}

int CDDiaryVisitsGrid::TotalsHeight() const {
    return int(verticalHeader()->defaultSectionSize() * 1.5);
}

void CDDiaryVisitsGrid::BeginSheetChange() {
    m_model->BeginSheetChange();
}

void CDDiaryVisitsGrid::EndSheetChange() {
    m_model->EndSheetChange();
    ApplyWidths();
}

void CDDiaryVisitsGrid::ApplyWidths() {
    if (!m_sheet)
        return;
    m_applyingWidths = true;
    for (int c = 0; c < m_sheet->ColumnCount(); ++c) {
        const CSheetColumn& column = m_sheet->Column(c);
        const int width = column.width > 0                          ? column.width
                          : column.kind == ESheetColumnKind::Client ? kClientColumnWidth
                                                                    : kValueColumnWidth;
        // A stored layout may be narrower than a word of the caption (or
        // the totals' label), which the header would cut: such a column
        // shows wider, and the sheet keeps its stored width until the user
        // resizes the column.
        setColumnWidth(c, column.width > 0 ? qMax(width, LeastWidth(c)) : width);
    }
    m_applyingWidths = false;
    FitHeader();
    m_totals->update();
}

void CDDiaryVisitsGrid::ColumnDragged(int, int oldVisual, int newVisual) {
    if (!m_model)
        return;
    // The sheet keeps the order the grid shows: the header goes back to the
    // model's order, and the model moves the column.
    QHeaderView* header = horizontalHeader();
    {
        const QSignalBlocker blocker(header);
        header->moveSection(newVisual, oldVisual);
    }
    m_model->MoveColumn(oldVisual, newVisual);
    ApplyWidths();
    viewport()->update();
}

void CDDiaryVisitsGrid::SelectItem(int row, int column) {
    if (!m_model)
        return;
    const QModelIndex index = m_model->index(row, column);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    scrollTo(index);
}

void CDDiaryVisitsGrid::ShowErrorTip(int row, int column, const QString& text,
                                     const QString& title) {
    SelectItem(row, column);
    setFocus(Qt::OtherFocusReason);
    // At the grid, which the user's next key clears the mark from.
    ::ShowErrorTip(this, visualRect(m_model->index(row, column)).translated(viewport()->pos()),
                   text, title);
}

bool CDDiaryVisitsGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    m_typing = trigger == AnyKeyPressed;
    return CDiarySheetView::edit(index, trigger, event);
}

void CDDiaryVisitsGrid::ClearCells(const QModelIndexList& cells) {
    if (m_model)
        m_model->ClearCells(cells);
}

void CDDiaryVisitsGrid::updateGeometries() {
    CDiarySheetView::updateGeometries();
    if (m_placing)
        return;
    // Room for the totals row below the rows.
    m_placing = true;
    QMargins margins = viewportMargins();
    if (margins.bottom() != TotalsHeight()) {
        margins.setBottom(TotalsHeight());
        setViewportMargins(margins);
    }
    const QRect area = viewport()->geometry();
    m_totals->setGeometry(contentsRect().left(), area.bottom() + 1,
                          area.right() + 1 - contentsRect().left(), TotalsHeight());
    m_totals->raise();
    m_placing = false;
}

void CDDiaryVisitsGrid::scrollContentsBy(int dx, int dy) {
    CDiarySheetView::scrollContentsBy(dx, dy);
    if (dx)
        m_totals->update();
}
