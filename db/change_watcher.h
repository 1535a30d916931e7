#pragma once
// Counts this copy's table changes in `watchdog` and announces changed tables,
// its own and other copies', on the notice channel "SQL".
#include <QSet>
#include <QString>
#include <QStringList>

class CxSQL;

class CxMySQLWatchdog {
public:
    void Start(CxSQL* connection);
    void WatchTable(const QString& table);
    int Suspend(int flag);
    void AddChanges(const QStringList& tables);

private:
    CxSQL* m_connection = nullptr;
    QSet<QString> m_watched;
    QSet<QString> m_pending;
    int m_suspend = 0;
};

CxMySQLWatchdog& MySQLWatchdog();
