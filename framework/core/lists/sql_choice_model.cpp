#include "sql_choice_model.h"

CxSQLChoiceModel::CxSQLChoiceModel(QObject* parent) : QAbstractListModel(parent) {}

void CxSQLChoiceModel::SetSource(const CSQLAutoComplete* source) {
    m_source = source;
    Reload();
}

void CxSQLChoiceModel::SetPrefix(const QString& prefix) {
    if (prefix == m_prefix && !m_rows.isEmpty())
        return;
    m_prefix = prefix;
    Reload();
}

void CxSQLChoiceModel::Reload() {
    QList<QPair<qint64, QString>> rows;
    if (m_source)
        rows = m_source->Match(m_prefix, kPageSize);
    m_changing = true;
    beginResetModel();
    m_rows = rows;
    m_atEnd = rows.size() < kPageSize;
    endResetModel();
    m_changing = false;
}

qint64 CxSQLChoiceModel::KeyAt(int row) const {
    return row >= 0 && row < m_rows.size() ? m_rows[row].first : -1;
}

int CxSQLChoiceModel::RowOfKey(qint64 key) const {
    for (int i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].first == key)
            return i;
    return -1;
}

int CxSQLChoiceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant CxSQLChoiceModel::data(const QModelIndex& index, int role) const {
    // An invalid index asks for nothing (views and the model tester ask so);
    // only a valid one is checked.
    if (!index.isValid() ||
        !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const auto& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.second;
    case KeyRole:
        return row.first;
    default:
        return QVariant();
    }
}

bool CxSQLChoiceModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_source && !m_atEnd && !m_changing;
}

void CxSQLChoiceModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent) || m_rows.isEmpty())
        return;
    const auto last = m_rows.last();
    const auto rows = m_source->Match(m_prefix, kPageSize, &last);
    m_atEnd = rows.size() < kPageSize;
    if (rows.isEmpty())
        return;
    m_changing = true;
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + rows.size()) - 1);
    m_rows.append(rows);
    endInsertRows();
    m_changing = false;
}
