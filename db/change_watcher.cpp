#include "change_watcher.h"

CxMySQLWatchdog& MySQLWatchdog() {
    static CxMySQLWatchdog watchdog;
    return watchdog;
}

void CxMySQLWatchdog::Start(CxSQL* connection) {
    if (!m_connection)
        m_connection = connection;
}

void CxMySQLWatchdog::WatchTable(const QString& table) {
    m_watched.insert(table.toUpper());
}

int CxMySQLWatchdog::Suspend(int flag) {
    if (flag == 0)
        ++m_suspend;
    else if (m_suspend > 0)
        --m_suspend;
    return flag;
}

void CxMySQLWatchdog::AddChanges(const QStringList& tables) {
    if (!m_connection || tables.isEmpty())
        return;
    for (const QString& t : tables)
        m_pending.insert(t);
}
