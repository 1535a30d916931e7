#include "posh_list.h"

#include <QHeaderView>

// ---- the model ----

void CPoshTreeModel::SetNodes(const QList<CPoshTreeNode>& nodes, const QSet<long>& ticked) {
    beginResetModel();
    m_nodes = nodes;
    const int n = int(m_nodes.size());
    m_roots.clear();
    m_children = QVector<QList<int>>(n);
    m_row = QVector<int>(n, 0);
    m_ticked = QVector<char>(n, 0);
    m_leaves = QVector<int>(n, 0);
    m_tickedLeaves = QVector<int>(n, 0);
    for (int i = 0; i < n; ++i) {
        QList<int>& siblings = m_nodes[i].parent < 0 ? m_roots : m_children[m_nodes[i].parent];
        m_row[i] = int(siblings.size());
        siblings.append(i);
    }
    // Parents come before their children: count the points bottom up.
    for (int i = n - 1; i >= 0; --i) {
        const CPoshTreeNode& node = m_nodes[i];
        if (node.pointId > 0) {
            m_leaves[i] = 1;
            if (ticked.contains(node.pointId)) {
                m_ticked[i] = 1;
                m_tickedLeaves[i] = 1;
            }
        }
        if (node.parent >= 0) {
            m_leaves[node.parent] += m_leaves[i];
            m_tickedLeaves[node.parent] += m_tickedLeaves[i];
        }
    }
    endResetModel();
}

QList<QPair<long, QString>> CPoshTreeModel::TickedItems() const {
    QList<QPair<long, QString>> items;
    for (int i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].pointId > 0 && m_ticked[i])
            items.append({m_nodes[i].pointId, m_nodes[i].caption});
    return items;
}

QSet<long> CPoshTreeModel::TickedPoints() const {
    QSet<long> ids;
    for (int i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].pointId > 0 && m_ticked[i])
            ids.insert(m_nodes[i].pointId);
    return ids;
}

bool CPoshTreeModel::SetPoint(int node, bool check, QSet<int>& changed) {
    if (m_nodes[node].pointId <= 0 || bool(m_ticked[node]) == check)
        return false;
    m_ticked[node] = check ? 1 : 0;
    const int delta = check ? 1 : -1;
    for (int i = node; i >= 0; i = m_nodes[i].parent) {
        m_tickedLeaves[i] += delta;
        changed.insert(i);
    }
    return true;
}

void CPoshTreeModel::Notify(const QSet<int>& changed) {
    for (int node : changed) {
        const QModelIndex index = IndexOf(node);
        emit dataChanged(index, index, {Qt::CheckStateRole});
    }
    if (!changed.isEmpty())
        emit ticksChanged();
}

int CPoshTreeModel::SetPointsChecked(const QSet<long>& ids, bool check, bool all) {
    QSet<int> changed;
    int count = 0;
    for (int i = 0; i < m_nodes.size(); ++i)
        if (m_nodes[i].pointId > 0 && (all || ids.contains(m_nodes[i].pointId)) &&
            SetPoint(i, check, changed))
            ++count;
    Notify(changed);
    return count;
}

void CPoshTreeModel::LeavesOf(int node, QList<int>& leaves) const {
    if (m_nodes[node].pointId > 0)
        leaves.append(node);
    for (int child : m_children[node])
        LeavesOf(child, leaves);
}

QModelIndex CPoshTreeModel::IndexOf(int node) const {
    return createIndex(m_row[node], 0, quintptr(node));
}

QModelIndex CPoshTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0)
        return QModelIndex();
    const QList<int>& siblings = parent.isValid() ? m_children[int(parent.internalId())] : m_roots;
    if (row >= siblings.size())
        return QModelIndex();
    return IndexOf(siblings[row]);
}

QModelIndex CPoshTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid())
        return QModelIndex();
    const int parent = m_nodes[int(child.internalId())].parent;
    return parent < 0 ? QModelIndex() : IndexOf(parent);
}

int CPoshTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return int(m_roots.size());
    if (parent.column() != 0)
        return 0;
    return int(m_children[int(parent.internalId())].size());
}

int CPoshTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant CPoshTreeModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return QVariant();
    const int node = int(index.internalId());
    switch (role) {
    case Qt::DisplayRole:
        return m_nodes[node].caption;
    case Qt::CheckStateRole:
        if (m_tickedLeaves[node] == 0)
            return Qt::Unchecked;
        return m_tickedLeaves[node] == m_leaves[node] ? Qt::Checked : Qt::PartiallyChecked;
    case Qt::UserRole:
        return qlonglong(m_nodes[node].pointId);
    default:
        return QVariant();
    }
}

bool CPoshTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return false;
    // A group takes the tick to all its points.
    const bool check = value.toInt() != Qt::Unchecked;
    QList<int> leaves;
    LeavesOf(int(index.internalId()), leaves);
    QSet<int> changed;
    for (int leaf : leaves)
        SetPoint(leaf, check, changed);
    Notify(changed);
    return true;
}

Qt::ItemFlags CPoshTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

// ---- the tree ----

CPoshList::CPoshList(QWidget* parent) : QTreeView(parent), m_model(new CPoshTreeModel(this)) {
    setObjectName(QStringLiteral("poshTree"));
    setModel(m_model);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_model, &CPoshTreeModel::ticksChanged, this, &CPoshList::modified);
}

bool CPoshList::Build(QString* error) {
    QList<CPoshTreeNode> nodes;
    const QSet<long> ticked = m_model->TickedPoints();
    if (!BuildPoshTree(m_sql, CurrentPoshGrouping(), nodes, error))
        return false;
    m_model->SetNodes(nodes, ticked);
    expandAll();
    return true;
}

void CPoshList::StoreSelection() {
    CPoshSelection::Store(m_model->TickedItems());
}

bool CPoshList::CheckByType(bool check, long typeCode, QString* error) {
    if (m_model->Nodes().isEmpty())
        return true;
    if (typeCode == -1) {
        m_model->SetPointsChecked({}, check, true);
        return true;
    }
    QList<long> ids;
    if (!PoshPointsOfType(m_sql, typeCode, ids, error))
        return false;
    m_model->SetPointsChecked(QSet<long>(ids.begin(), ids.end()), check);
    return true;
}

void CPoshList::SetTickedPoints(const QSet<long>& ids) {
    m_model->SetPointsChecked({}, false, true);
    m_model->SetPointsChecked(ids, true);
}
