#include "list_sel_order.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/dxx.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

void CxListSelOrderModel::SetEntries(const CxListSelOrderEntries& entries) {
    beginResetModel();
    m_entries = entries;
    endResetModel();
}

bool CxListSelOrderModel::Move(int row, int step) {
    const int to = row + step;
    if (row < 0 || row >= m_entries.size() || to < 0 || to >= m_entries.size() ||
        (step != 1 && step != -1))
        return false;
    // beginMoveRows counts the destination before the move.
    beginMoveRows(QModelIndex(), row, row, QModelIndex(), step > 0 ? to + 1 : to);
    m_entries.move(row, to);
    endMoveRows();
    return true;
}

int CxListSelOrderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant CxListSelOrderModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const CxListSelOrder_Struct& entry = m_entries[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return entry.text;
    case Qt::CheckStateRole:
        return entry.selected ? Qt::Checked : Qt::Unchecked;
    case IdRole:
        return entry.id;
    default:
        return QVariant();
    }
}

bool CxListSelOrderModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    m_entries[index.row()].selected = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags CxListSelOrderModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

CxListSelOrder::CxListSelOrder(QWidget* parent)
    : QWidget(parent), m_model(new CxListSelOrderModel(this)), m_view(new QListView(this)),
      m_upButton(new QPushButton(this)), m_downButton(new QPushButton(this)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_view->setObjectName(QStringLiteral("choices"));
    m_view->setModel(m_model);
    // One line per entry: the view need not measure each of a long list.
    m_view->setUniformItemSizes(true);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_view, 1);
    auto* buttons = new QVBoxLayout;
    m_upButton->setObjectName(QStringLiteral("moveUp"));
    m_upButton->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_upButton->setToolTip(
        CTarvikApp::TranslateString(QStringLiteral("Выше"), QStringLiteral("CxListSelOrder"), 1));
    m_downButton->setObjectName(QStringLiteral("moveDown"));
    m_downButton->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_downButton->setToolTip(
        CTarvikApp::TranslateString(QStringLiteral("Ниже"), QStringLiteral("CxListSelOrder"), 1));
    buttons->addWidget(m_upButton);
    buttons->addWidget(m_downButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(m_upButton, &QPushButton::clicked, this, [this] { MoveCurrent(-1); });
    connect(m_downButton, &QPushButton::clicked, this, [this] { MoveCurrent(1); });
}

void CxListSelOrder::Bind(CxListSelOrderEntries* entries) {
    m_bound = entries;
    m_model->SetEntries(entries ? *entries : CxListSelOrderEntries());
}

bool CxListSelOrder::Apply() {
    if (!m_bound)
        return false;
    *m_bound = m_model->Entries();
    return true;
}

void CxListSelOrder::DX(CDXX& dx, CxListSelOrderEntries* entries) {
    if (dx.Failed())
        return;
    if (dx.IsLoad()) {
        Bind(entries);
        return;
    }
    if (m_bound != entries)
        m_bound = entries;
    if (!Apply())
        dx.Fail(this, CTarvikApp::TranslateString(QStringLiteral("Список не готов."),
                                                  QStringLiteral("CxListSelOrder::DX"), 1));
}

QList<int> CxListSelOrder::ChosenIds() const {
    QList<int> ids;
    for (const CxListSelOrder_Struct& entry : m_model->Entries())
        if (entry.selected)
            ids << entry.id;
    return ids;
}

void CxListSelOrder::MoveCurrent(int step) {
    const int row = m_view->currentIndex().row();
    if (m_model->Move(row, step))
        m_view->setCurrentIndex(m_model->index(row + step, 0));
}
