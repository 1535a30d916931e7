#include "redirections_page.h"

#include "framework/core/sql_connection.h"
#include "framework/widgets/errors/error_tip.h"
#include "sheet_view.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
// The line column's tint: the window colour with a little sea green.
QColor LineTint(const QColor& base) {
    const QColor sea(0xBD, 0xB7, 0x6B);
    const double w = 0.1;
    return QColor::fromRgbF(base.redF() * (1 - w) + sea.redF() * w,
                            base.greenF() * (1 - w) + sea.greenF() * w,
                            base.blueF() * (1 - w) + sea.blueF() * w);
}

class CRedirectionsView : public CDiarySheetView {
public:
    using CDiarySheetView::CDiarySheetView;

protected:
    void ClearCells(const QModelIndexList& cells) override {
        if (auto* model = qobject_cast<CRedirectionsModel*>(this->model()))
            model->ClearCells(cells);
    }
};

// The line: the item's name in bold, its kind below; the count: a number
// (negative counts are kept as typed).
class CRedirectionsDelegate : public CDiaryCellDelegate {
public:
    using CDiaryCellDelegate::CDiaryCellDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.column() != CRedirectionsModel::kLineColumn) {
            CDiaryCellDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        const QStringList lines = index.data().toString().split(u'\n');
        const QRect area = option.rect.adjusted(4, 2, -4, -2);
        painter->save();
        painter->setPen(option.palette.color(
            option.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        QFont bold = option.font;
        bold.setBold(true);
        const int line = option.fontMetrics.height();
        painter->setFont(bold);
        painter->drawText(
            QRect(area.left(), area.top(), area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(bold).elidedText(lines.value(0), Qt::ElideRight, area.width()));
        painter->setFont(option.font);
        painter->drawText(
            QRect(area.left(), area.top() + line, area.width(), line),
            Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(lines.value(1), Qt::ElideRight, area.width()));
        painter->restore();
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("-?\\d{0,9}")), edit));
        return edit;
    }
};
} // namespace

CRedirectionsModel::CRedirectionsModel(CRedirectionsSheet* sheet, QObject* parent)
    : QAbstractTableModel(parent), m_sheet(sheet) {}

int CRedirectionsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_sheet->rows.size());
}

int CRedirectionsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant CRedirectionsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const CRedirectionRow& row = m_sheet->rows[index.row()];
    const bool line = index.column() == kLineColumn;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return line ? row.Caption() : row.count;
    case Qt::ToolTipRole:
        return line ? row.Caption() : QVariant();
    case Qt::BackgroundRole:
        return line ? QVariant(LineTint(QGuiApplication::palette().color(QPalette::Base)))
                    : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(line ? Qt::AlignLeft | Qt::AlignVCenter
                                        : Qt::AlignRight | Qt::AlignVCenter);
    default:
        return QVariant();
    }
}

QVariant CRedirectionsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section >= 0 && section < rowCount() ? QVariant(section + 1) : QVariant();
    if (section == kLineColumn)
        return DiaryText("Специалист или другой показатель", "msgSpecOrOtherPokazatel");
    if (section == kCountColumn)
        return DiaryText("Количество человек", "msgCountOfMans");
    return QVariant();
}

Qt::ItemFlags CRedirectionsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == kCountColumn ? f | Qt::ItemIsEditable : f;
}

bool CRedirectionsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    static const QRegularExpression number(QStringLiteral("^\\s*-?\\d{0,9}\\s*$"));
    const QString text = value.toString();
    if (!number.match(text).hasMatch())
        return false;
    QString& count = m_sheet->rows[index.row()].count;
    if (count == text)
        return true;
    count = text;
    emit dataChanged(index, index);
    emit sheetEdited();
    return true;
}

void CRedirectionsModel::ClearCells(const QModelIndexList& cells) {
    bool changed = false;
    for (const QModelIndex& cell : cells) {
        if (!(flags(cell) & Qt::ItemIsEditable) || m_sheet->rows[cell.row()].count.isEmpty())
            continue;
        m_sheet->rows[cell.row()].count.clear();
        emit dataChanged(cell, cell);
        changed = true;
    }
    if (changed)
        emit sheetEdited();
}

CDDiaryRedir::CDDiaryRedir(QWidget* parent)
    : CDDiaryPage(parent), m_model(new CRedirectionsModel(&m_sheet, this)),
      m_grid(new CRedirectionsView(this)) {
    setObjectName(QStringLiteral("CDDiaryRedir"));
    auto* layout = new QVBoxLayout(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new CRedirectionsDelegate(m_grid));
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() * 2 + 8);
    m_grid->setColumnWidth(CRedirectionsModel::kLineColumn, 380);
    m_grid->setColumnWidth(CRedirectionsModel::kCountColumn, 140);
    layout->addWidget(m_grid, 1);
    connect(m_model, &CRedirectionsModel::sheetEdited, this, &CDDiaryPage::edited);
}

bool CDDiaryRedir::OnCreatePage(QString* error) {
    CRedirectionsSheet sheet;
    if (!CRedirectionsSheetStore::Load(g_pBaseSQLConnection.get(), ReportKey(), GetVedID(), &sheet,
                                       error))
        return false;
    m_model->BeginSheetChange();
    m_sheet = std::move(sheet);
    m_model->EndSheetChange();
    return true;
}

CDailyReportPage CDDiaryRedir::SavePage() {
    CDailyReportPage page;
    page.number = GetVedID();
    page.redirections = &m_sheet;
    return page;
}

void CDDiaryRedir::ShowRefusal(const CDiaryVerdict& verdict) {
    const QModelIndex cell = m_model->index(verdict.row, CRedirectionsModel::kCountColumn);
    if (!cell.isValid()) {
        ShowErrorTip(m_grid, verdict.text, verdict.title);
        return;
    }
    m_grid->setCurrentIndex(cell);
    m_grid->scrollTo(cell);
    m_grid->setFocus(Qt::OtherFocusReason);
    ShowErrorTip(m_grid, m_grid->visualRect(cell).translated(m_grid->viewport()->pos()),
                 verdict.text, verdict.title);
}
