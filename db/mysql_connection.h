#pragma once
// The program's connection to MySQL/MariaDB: runs statements, converts text
// between QString and the server's UTF-8, notes the tables that changing
// statements touch (handing them to the change watcher once no transaction is
// open) and offers the server-wide named lock "dblock".
//
// Faults it handles so that callers need not:
// - Connecting, reading and writing have time limits (Timeouts), so a server
//   that does not answer ends in a failure, not a wait without end.
// - A lost connection (server restarted, network gone) is noticed by the
//   statement that meets it. That statement fails; the connection announces
//   kSQLConnectionLost on the channel kSQLConnectionChannel, says in the
//   error list that the "dblock" lock went with the session, and connects
//   again by itself with growing pauses (in the background while the
//   program's event loop runs, else at the next statement), restoring the
//   session's character set and sql_mode; then it announces
//   kSQLConnectionRestored. Meanwhile statements fail at once.
// - A transaction cut by the loss was rolled back by the server: every later
//   statement of it fails until the caller ends it (ROLLBACK, or a COMMIT
//   that fails), so nothing of it is half-written by a fresh session.
// - A write (INSERT, UPDATE, REPLACE) whose text a column cannot hold (too
//   long, or characters such as emoji that utf8/ucs2 columns cannot store) is
//   undone and refused: the result's Error() names the column, and nothing is
//   written. Outside a transaction the write runs in one of its own; inside
//   the caller's transaction the whole transaction is rolled back and fails
//   to its end like a cut one, so a caller that goes on cannot commit half
//   of its work. The session stays without strict mode otherwise.
#include "framework/core/sql_connection.h"

#include <QMutex>
#include <QSet>
#include <memory>
#include <mysql.h>

class MYSQLRES;
class QTimer;

class CxMySQL : public CxSQL {
public:
    // Seconds the client library waits: for the server to accept and greet a
    // connection, for the answer to a statement, for a statement to go out.
    // The read limit stays above any statement the program runs; the named
    // lock waits in slices below it.
    struct Timeouts {
        unsigned connect = 5;
        unsigned read = 600;
        unsigned write = 60;
    };

    CxMySQL();
    ~CxMySQL() override;

    // Takes effect at the next connection (also the automatic ones).
    void SetTimeouts(const Timeouts& timeouts) { m_timeouts = timeouts; }

    bool Connect(const SQLConnectXML* info) override;
    SQLConnectXML* GetConnectInfo() override { return &m_info; }
    bool IsConnected() override { return m_state == State::Connected; }
    // Lost and trying to connect again.
    bool IsReconnecting() const { return m_state == State::Lost; }
    CxSQL* Clone(const SQLConnectXML* info) override;
    bool SelectDatabase(const QString& name) override;
    void Close() override;
    int GetErrorCode() override;
    QString GetSqlErrorString() override;
    [[nodiscard]] CxResult Execute(const QString& statement, qint64* insertId = nullptr) override;
    [[nodiscard]] CxResult ExecuteRaw(const QByteArray& utf8Statement) override;
    [[nodiscard]] CxResult ExecuteStreamed(const QString& statement) override;
    [[nodiscard]] bool Lock(int timeoutSeconds) override;
    void Unlock() override;
    [[nodiscard]] bool BeginTransaction() override;
    [[nodiscard]] bool CommitTransaction() override;
    [[nodiscard]] bool RollbackTransaction() override;
    void StartWatchdog() override;
    void WatchTable(const QString& table) override;
    void SuspendWatchdog(int flag) override;
    bool ListTables(QStringList& tables) override;
    bool RenameTable(const QString& oldName, const QString& newName) override;

    // The table a changing statement (UPDATE, DELETE, INSERT, REPLACE) touches,
    // in upper case; empty when the statement changes none.
    static QString ChangedTable(const QString& statement);

protected:
    // Receives the tables whose changes are final (outside a transaction, or
    // at COMMIT); hands them to the change watcher.
    virtual void OnTablesChanged(const QStringList& tables);

private:
    enum class State { Closed, Connected, Lost };
    struct Attempt;
    struct Notices;

    CxResult Run(const QByteArray& utf8, const QString& statement, qint64* insertId, bool track);
    bool RunChecked(const QByteArray& utf8, const QString& statement, MYSQLRES* rows,
                    qint64* insertId, bool writes, bool* transactionUndone);
    bool Internal(const char* statement);
    bool RefusedWrite(const QString& statement, CxSQLError* refusal);
    void SetLastError(unsigned code, const QString& mysqlText, const QString& statement);
    void OnLost(Notices& notices, bool transactionEnding);
    void Install(MYSQL* handle, Notices& notices);
    void TryReconnectNow(Notices& notices);
    void ScheduleReconnect();
    void StartBackgroundAttempt();
    void FinishBackgroundAttempt();
    void StopReconnecting();
    unsigned ServerStatus() const;

    MYSQL* m_handle = nullptr;
    State m_state = State::Closed;
    Timeouts m_timeouts;
    SQLConnectXML m_info;
    CxSQLError m_lastError;
    QSet<QString> m_pending;
    QMutex m_statementLock;
    // GET_LOCK nests on MariaDB; our own depth count makes the lock free again
    // after the outermost Unlock, as callers expect.
    int m_lockDepth = 0;
    bool m_tablesLocked = false; // LOCK TABLES in force
    // An open transaction that the server rolled back (connection lost) or
    // that a refused write rolled back: its later statements fail with this
    // error until the caller ends it. Not set otherwise.
    CxSQLError m_transactionBroken;
    int m_backoffMs = 0;
    std::unique_ptr<QTimer> m_reconnectTimer;
    std::unique_ptr<Attempt> m_attempt;
};
