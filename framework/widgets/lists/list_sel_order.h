#pragma once
// The ordered chooser: a list of entries, each with a tick; the user ticks
// the entries to choose and moves entries up and down, and the order of the
// ticked ones is the order of the choice. It works on a copy of the caller's
// entries and writes them back (in the list's order) only on Apply, so
// cancelling leaves the caller's list as it was.
#include "framework/core/containers/list_sel_order_struct.h"

#include <QAbstractListModel>
#include <QWidget>

class CDXX;
class QListView;
class QPushButton;

class CxListSelOrderModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles : int { IdRole = Qt::UserRole + 1 };
    using QAbstractListModel::QAbstractListModel;

    void SetEntries(const CxListSelOrderEntries& entries);
    const CxListSelOrderEntries& Entries() const { return m_entries; }
    // Moves an entry one place up (-1) or down (+1); false at an end.
    bool Move(int row, int step);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CxListSelOrderEntries m_entries;
};

class CxListSelOrder : public QWidget {
    Q_OBJECT
public:
    explicit CxListSelOrder(QWidget* parent = nullptr);

    // The caller's entries: shown now, written back by Apply.
    void Bind(CxListSelOrderEntries* entries);
    // Writes the list (in its order, with the ticks) into the bound entries.
    bool Apply();
    // Loading shows the entries, saving applies the user's edits.
    void DX(CDXX& dx, CxListSelOrderEntries* entries);

    CxListSelOrderModel* Model() const { return m_model; }
    QListView* View() const { return m_view; }
    // The ids of the ticked entries in the list's order.
    QList<int> ChosenIds() const;

private:
    void MoveCurrent(int step);

    CxListSelOrderModel* m_model;
    QListView* m_view;
    QPushButton* m_upButton;
    QPushButton* m_downButton;
    CxListSelOrderEntries* m_bound = nullptr;
};
