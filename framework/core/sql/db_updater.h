#pragma once
// The base of a schema updater. The SQL layer runs the registered updater at
// every start (InitSQL): the updater issues numbered steps in increasing
// order, and a step runs only when the stored version (dbsettings,
// "DatabaseVersion") equals its number; afterwards the version is the number
// plus one. A failed step stops the update: the version stays at the failed
// step, the error list names the step, its statement and the server's text,
// and every later step does nothing.
//
// An upgrade survives being cut off at any moment:
// - it runs under the database's schema lock (CxSchemaWorkLock), so a new
//   start waits until the server has finished what a dead one left running;
// - a data step (one INSERT, UPDATE, DELETE or REPLACE) runs in one
//   transaction with its version move;
// - the first schema step of a run (DDL commits by itself) first looks
//   whether the server has already carried it out (CxSchemaExpectation) and
//   then only moves the version; after running, the version of any schema
//   step moves only when the schema is as the step leaves it. A step that
//   only changes definitions runs again, which changes nothing.
#include "framework/core/sql_connection.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

class CxSQLDBUpdater {
public:
    virtual ~CxSQLDBUpdater() = default;

    // Makes the framework's own tables, reads the version and runs OnUpdate on
    // the connection; answers false when the update failed.
    bool Run(CxSQL* sql);

    virtual void OnUpdate() = 0;
    // After data changes that the framework manages.
    virtual void OnDataUpdated(int flags);

    // The three kinds of step: one statement of the first generation, one
    // statement, several statements separated by ';'.
    void UpdateOld(int step, const QString& statement);
    void Update(int step, const QString& statement);
    void MultiUpdate(int step, const QString& script);

    // The number of the next step to run.
    int GetDBVersion() const { return m_version; }
    bool SetVariable(const QString& name, const QString& value);
    QString GetVariable(const QString& name, bool* found = nullptr);

    // Makes the settings table `profiles` when it is missing and checks its
    // columns; answers false when it cannot be used.
    bool CheckProfileTable();
    // The database must belong to this program (variable "AppName"); a
    // database without the variable gets it.
    bool OnCheckAppName();
    // The program's module key, stored as "AppName"; empty skips the check.
    virtual QString GetAppKey() const { return QString(); }

    CxResult Query(const QString& statement);
    void Fail(const QString& text);
    void FailQuery(const QString& statement);
    bool IsFailed() const { return m_failed; }
    void SetInfoMessage(const QString& text);
    void SetWarning() { m_warning = true; }
    bool HasWarning() const { return m_warning; }
    QStringList InfoMessages() const { return m_info; }
    CxSQL* GetSQL() const { return m_sql; }

    // Names of tables that the updater made for the framework (upper case).
    void AddTableName(const QString& name) { m_tableNames.insert(name.toUpper()); }
    const QSet<QString>& TableNames() const { return m_tableNames; }

    // Where the progress line goes (the start-up window); may be empty.
    static void SetProgressHandler(std::function<void(const QString&)> handler);

private:
    enum class Kind { Single, Multi };
    void RunStep(int step, const QString& text, Kind kind);
    bool MoveVersion(int step);
    bool EnsureFrameworkTables();
    void StepFailed(int step, const QString& statement, const QString& why = QString());

    CxSQL* m_sql = nullptr;
    int m_version = 0;
    bool m_stepRun = false; // a step of this run got past its version check
    bool m_failed = false;
    bool m_warning = false;
    QStringList m_info;
    QSet<QString> m_tableNames;
};
