#include "change_journal_model.h"

#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QRegularExpression>

CvLogRefModel::CvLogRefModel(CxSQL* sql, QObject* parent)
    : QAbstractTableModel(parent), m_sql(sql) {}

bool CvLogRefModel::JournalExists(bool* exists) {
    CxResult res = m_sql->Execute(QStringLiteral("SHOW TABLES LIKE 'changelog'"));
    if (!res.isValid()) {
        m_error = DescribeSQLError(res.Error());
        return false;
    }
    *exists = res.FetchRow();
    return true;
}

bool CvLogRefModel::Reload() {
    m_error.clear();
    QList<CvLogEntry> page;
    bool exists = false;
    const bool ok = m_sql && JournalExists(&exists) &&
                    (!exists || CvLogRef::Read(m_sql, 0, kPageSize, &page, &m_error));
    // Views (and testers) ask for more rows while the reset is announced;
    // the model answers after it.
    m_changing = true;
    beginResetModel();
    m_entries = page;
    m_atEnd = !ok || page.size() < kPageSize;
    endResetModel();
    m_changing = false;
    if (!ok)
        emit readFailed(m_error);
    return ok;
}

int CvLogRefModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

int CvLogRefModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant CvLogRefModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_entries.size())
        return QVariant();
    const CvLogEntry& entry = m_entries[index.row()];
    if (role == Qt::ToolTipRole && index.column() == kText)
        return entry.text;
    if (role != Qt::DisplayRole)
        return QVariant();
    switch (index.column()) {
    case kDate:
        return entry.date.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    case kUser:
        return entry.user;
    case kSource:
        return entry.source;
    case kCaption:
        return entry.caption;
    case kText:
        return entry.text.section(QRegularExpression(QStringLiteral("[\\r\\n]")), 0, 0);
    default:
        return QVariant();
    }
}

QVariant CvLogRefModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char* const captions[] = {"Дата", "Пользователь", "Проверка", "Изменение",
                                           "Записи"};
    if (section < 0 || section >= kColumns)
        return QVariant();
    return CTarvikApp::TranslateString(QString::fromUtf8(captions[section]),
                                       QStringLiteral("CvLogRefModel"));
}

bool CvLogRefModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !m_atEnd && !m_changing;
}

void CvLogRefModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent) || m_entries.isEmpty())
        return;
    QList<CvLogEntry> page;
    if (!CvLogRef::Read(m_sql, m_entries.last().id, kPageSize, &page, &m_error)) {
        // What was read stays; the view stops asking and tells the user.
        m_atEnd = true;
        emit readFailed(m_error);
        return;
    }
    m_atEnd = page.size() < kPageSize;
    if (page.isEmpty())
        return;
    m_changing = true;
    beginInsertRows(QModelIndex(), int(m_entries.size()), int(m_entries.size() + page.size() - 1));
    m_entries += page;
    endInsertRows();
    m_changing = false;
}
