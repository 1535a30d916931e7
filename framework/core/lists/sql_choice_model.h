#pragma once
// The rows a user may pick from a table (see CSQLAutoComplete) as a list
// model: each row's name as text and its key as KeyRole, in name order,
// fetched in pages; a prefix narrows the list to the names that begin with
// it. The SQL combo list shows it in its drop-down and its completion list.
#include "sql_auto_complete.h"

#include <QAbstractListModel>

class CxSQLChoiceModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles : int { KeyRole = Qt::UserRole + 1 };
    static constexpr int kPageSize = 100;

    explicit CxSQLChoiceModel(QObject* parent = nullptr);

    // What to list; null lists nothing. The model does not own it.
    void SetSource(const CSQLAutoComplete* source);
    void SetPrefix(const QString& prefix);
    const QString& Prefix() const { return m_prefix; }
    // Loads the first page again.
    void Reload();

    qint64 KeyAt(int row) const;
    // The row of a key among the loaded rows, -1 when not loaded.
    int RowOfKey(qint64 key) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

private:
    const CSQLAutoComplete* m_source = nullptr;
    QString m_prefix;
    QList<QPair<qint64, QString>> m_rows;
    bool m_atEnd = true;
    bool m_changing = false;
};
