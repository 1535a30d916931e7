#pragma once
// The program's connection to MySQL/MariaDB: runs statements, converts text
// between QString and the server's UTF-8, notes the tables that changing
// statements touch (handing them to the change watcher once no transaction is
// open) and offers the server-wide named lock "dblock".
#include "framework/core/sql_connection.h"

#include <QMutex>
#include <QSet>
#include <mysql.h>

class CxMySQL : public CxSQL {
public:
    CxMySQL();
    ~CxMySQL() override;

    int Connect(const SQLConnectXML* info) override;
    SQLConnectXML* GetConnectInfo() override { return &m_info; }
    int IsConnected() override { return m_connected; }
    CxSQL* Clone(const SQLConnectXML* info) override;
    int SelectDatabase(const QString& name) override;
    void Close() override;
    int GetErrorCode() override;
    QString GetSqlErrorString() override;
    CxResult Execute(const QString& statement, qint64* insertId = nullptr) override;
    CxResult ExecuteRaw(const QByteArray& utf8Statement) override;
    int SetOption(int option) override {
        m_option = option;
        return 0;
    }
    void ShutdownServer() override;
    int Lock(int timeoutSeconds) override;
    void Unlock() override;
    int LockTables(const QString&, int timeoutSeconds) override { return Lock(timeoutSeconds); }
    void UnlockTables(const QString&) override { Unlock(); }
    int BeginTransaction() override;
    int CommitTransaction() override;
    int RollbackTransaction() override;
    int StartWatchdog() override;
    void WatchTable(const QString& table) override;
    int SuspendWatchdog(int flag) override;
    int ListTables(QStringList& tables) override;
    int RenameTable(const QString& oldName, const QString& newName) override;

    // The table a changing statement (UPDATE, DELETE, INSERT, REPLACE) touches,
    // in upper case; empty when the statement changes none.
    static QString ChangedTable(const QString& statement);

protected:
    // Receives the tables whose changes are final (outside a transaction, or
    // at COMMIT); hands them to the change watcher.
    virtual void OnTablesChanged(const QStringList& tables);

private:
    MYSQL* m_handle = nullptr;
    int m_connected = 0;
    int m_option = 0;
    SQLConnectXML m_info;
    QSet<QString> m_pending;
    QMutex m_statementLock;
    // GET_LOCK nests on MariaDB; our own depth count makes the lock free again
    // after the outermost Unlock, as callers expect.
    int m_lockDepth = 0;
};
