#pragma once
// The connection interface of the SQL layer. The program's MySQL connection
// implements it; everything else reaches the database through the base
// connection g_pBaseSQLConnection.
#include "sql_result.h"

#include <QString>
#include <QStringList>
#include <memory>

// Where to connect: server, user, password, database and port, plus the unix
// socket of a local server (empty: the client library's default).
class SQLConnectXML {
public:
    QString get_Server() const { return m_server; }
    QString get_User() const { return m_user; }
    QString get_Pass() const { return m_pass; }
    QString get_Database() const { return m_database; }
    QString get_Port() const { return m_port; }
    QString get_Socket() const { return m_socket; }
    // The connection's display name (shown in the main window's title).
    QString get_Name() const { return m_name; }
    void put_Name(const QString& v) { m_name = v; }
    void put_Server(const QString& v) { m_server = v; }
    void put_User(const QString& v) { m_user = v; }
    void put_Pass(const QString& v) { m_pass = v; }
    void put_Database(const QString& v) { m_database = v; }
    void put_Port(const QString& v) { m_port = v; }
    void put_Socket(const QString& v) { m_socket = v; }
    void Copy(const SQLConnectXML& other) { *this = other; }

private:
    QString m_server, m_user, m_pass, m_database, m_port, m_socket;
    QString m_name;
};

// Error codes of the SQL layer (GetErrorCode); -1 is "no known code".
enum SQLErrorCode {
    SQLERR_DUPLICATE_KEY = 1,
    SQLERR_UNKNOWN_DATABASE = 3,
    SQLERR_UNKNOWN_CLIENT = 4,
    SQLERR_CANT_CONNECT = 5,
    SQLERR_UNKNOWN_HOST = 6,
    SQLERR_CONNECTION_LOST = 7,
    SQLERR_PROTOCOL = 8,
    SQLERR_OUT_OF_MEMORY = 9,
};
// The user's text for an error code; empty for an unknown code.
QString SQLErrorText(int code);

// The notice channel on which a connection tells the program that it lost
// its server ("LOST") and that it is connected again ("RESTORED").
inline constexpr char kSQLConnectionChannel[] = "SQLCONNECTION";
inline constexpr char kSQLConnectionLost[] = "LOST";
inline constexpr char kSQLConnectionRestored[] = "RESTORED";

class CxSQL {
public:
    virtual ~CxSQL() = default;

    virtual bool Connect(const SQLConnectXML* info) = 0;
    virtual SQLConnectXML* GetConnectInfo() = 0;
    // False while the connection is closed or lost (see CxMySQL).
    virtual bool IsConnected() = 0;
    virtual CxSQL* Clone(const SQLConnectXML* info) = 0;
    virtual bool SelectDatabase(const QString& name) = 0;
    virtual void Close() = 0;
    // The framework's code for the last failure (SQLErrorCode), -1 for others.
    virtual int GetErrorCode() = 0;
    // The user's text for the last failure.
    virtual QString GetSqlErrorString() = 0;
    // Runs one statement; insertId, when given, receives the new AUTO_INCREMENT
    // value (-1 after a failure). A failed result's Error() says why.
    [[nodiscard]] virtual CxResult Execute(const QString& statement,
                                           qint64* insertId = nullptr) = 0;
    [[nodiscard]] virtual CxResult ExecuteRaw(const QByteArray& utf8Statement) = 0;
    // Runs a SELECT over a whole table (or join) on a connection of its own
    // and hands its rows over as the server sends them, so memory stays the
    // same whatever the row count, and this connection stays free for other
    // statements in between. Rows come forward only; RowsCount() counts those
    // read so far. The rows are what is committed: an open transaction of this
    // connection is not seen. After the last FetchRow, FetchError() tells a
    // cut stream from a finished one.
    [[nodiscard]] virtual CxResult ExecuteStreamed(const QString& statement) = 0;
    // The database-wide lock for work that must run alone: the server's named
    // lock "dblock", taken within the timeout; nested takes on one connection
    // count, and the lock is free again after the outermost Unlock. This is
    // also what "locking a table" means anywhere in the program (the
    // organisation merge, work tables, the towns): the one lock is taken,
    // whatever table the work is about.
    [[nodiscard]] virtual bool Lock(int timeoutSeconds) = 0;
    virtual void Unlock() = 0;
    [[nodiscard]] virtual bool BeginTransaction() = 0;
    [[nodiscard]] virtual bool CommitTransaction() = 0;
    [[nodiscard]] virtual bool RollbackTransaction() = 0;
    virtual void StartWatchdog() = 0;
    virtual void WatchTable(const QString& table) = 0;
    // 0 suspends the change watcher (counted), another value resumes it.
    virtual void SuspendWatchdog(int flag) = 0;
    // The tables of the database in the server's order; false when the
    // statement failed.
    virtual bool ListTables(QStringList& tables) = 0;
    virtual bool RenameTable(const QString& oldName, const QString& newName) = 0;

    // Runs a script of statements separated by ';' (outside quotes and
    // comments) one by one; stops at the first failure and answers false.
    [[nodiscard]] bool MultiQuery(const QString& script);
    // Runs a statement of clean-up whose failure changes nothing for the
    // caller: dropping a temporary table, releasing a lock, setting back a
    // session variable, ending a snapshot that only read. Its failure still
    // reaches the application's error list, as every statement's does.
    void ExecuteCleanup(const QString& statement);
    // Undoes the open transaction after a failure that error already tells.
    // When the undo fails too, error adds that the changes may stand (without
    // an error, the application's error list gets it), and the answer is
    // false.
    bool RollbackAfterFailure(QString* error);
    // Splits a script the way MultiQuery runs it.
    static QStringList SplitScript(const QString& script);

    // Open transaction state: updates are "disabled" from START TRANSACTION
    // until COMMIT or ROLLBACK, and changed tables are held back meanwhile.
    void DisableUpdates() { m_updatesEnabled = false; }
    void EnableUpdates() { m_updatesEnabled = true; }
    bool IsUpdateEnabled() const { return m_updatesEnabled; }

private:
    bool m_updatesEnabled = true;
};

// Takes the named lock for a scope and always gives it back.
class CxSQLLockGuard {
public:
    CxSQLLockGuard(CxSQL* sql, int timeoutSeconds)
        : m_sql(sql), m_locked(sql && sql->Lock(timeoutSeconds)) {}
    ~CxSQLLockGuard() {
        if (m_locked)
            m_sql->Unlock();
    }
    bool Locked() const { return m_locked; }
    CxSQLLockGuard(const CxSQLLockGuard&) = delete;
    CxSQLLockGuard& operator=(const CxSQLLockGuard&) = delete;

private:
    CxSQL* m_sql;
    bool m_locked;
};

// The application-wide connection.
extern std::unique_ptr<CxSQL> g_pBaseSQLConnection;
