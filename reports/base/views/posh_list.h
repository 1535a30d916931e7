#pragma once
// The tree of service points with tri-state check boxes: the points under
// their groups in the grouping the user chose ("Settings/PoshMode"); a group
// shows ticked, unticked or partly ticked after its points, and ticking it
// ticks or clears all of them. The window that starts a build writes its
// ticked points into the application's selection (StoreSelection).
#include "reports/base/core/posh_selection.h"

#include <QAbstractItemModel>
#include <QSet>
#include <QTreeView>
#include <QVector>

class CxSQL;

// The tree as an item model: one column, the caption, and the check state;
// Qt::UserRole gives a point's id (0 for a group).
class CPoshTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;

    // Replaces the tree; the points of `ticked` come ticked.
    void SetNodes(const QList<CPoshTreeNode>& nodes, const QSet<long>& ticked);
    const QList<CPoshTreeNode>& Nodes() const { return m_nodes; }
    // The ticked points (id and caption), in tree order.
    QList<QPair<long, QString>> TickedItems() const;
    QSet<long> TickedPoints() const;
    // Ticks or clears the points of the ids (every point when `all`);
    // answers how many changed.
    int SetPointsChecked(const QSet<long>& ids, bool check, bool all = false);

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    // The user (or a command) changed the ticks.
    void ticksChanged();

private:
    QModelIndex IndexOf(int node) const;
    // Sets a point's tick, keeping the counts of its groups; answers whether
    // it changed. Changed nodes are collected for one notice.
    bool SetPoint(int node, bool check, QSet<int>& changed);
    void Notify(const QSet<int>& changed);
    void LeavesOf(int node, QList<int>& leaves) const;

    QList<CPoshTreeNode> m_nodes;
    QList<int> m_roots;
    QVector<QList<int>> m_children;
    QVector<int> m_row;     // position among its siblings
    QVector<char> m_ticked; // points only
    QVector<int> m_leaves;  // points under a node (1 for a point)
    QVector<int> m_tickedLeaves;
};

class CPoshList : public QTreeView {
    Q_OBJECT
public:
    explicit CPoshList(QWidget* parent = nullptr);

    // The connection the tree reads (default: the base connection).
    void SetSQL(CxSQL* sql) { m_sql = sql; }
    // (Re)reads the tree in the current grouping, keeping the ticks; false
    // with the reason when the points could not be read.
    bool Build(QString* error = nullptr);
    // The application's selection becomes the ticked points.
    void StoreSelection();
    // Ticks (check) or clears the points of a type; -1: every point. An
    // empty tree is left alone. False (with the reason, nothing changed)
    // when the points of the type could not be read.
    bool CheckByType(bool check, long typeCode, QString* error = nullptr);
    QSet<long> TickedPoints() const { return m_model->TickedPoints(); }
    void SetTickedPoints(const QSet<long>& ids);
    CPoshTreeModel* Model() const { return m_model; }

signals:
    // The ticks changed (the form holds changes).
    void modified();

private:
    CPoshTreeModel* m_model;
    CxSQL* m_sql = nullptr;
};
