#pragma once
// The SQL extension of the application: temporary tables that callers
// describe by a script and use by the name it gives them. The application
// class derives from it; without an application a process-wide instance
// serves (GetSQLAppExt).
//
// Script format: the placeholder of the table name ("$$$"), then statements,
// each beginning with "!", separated by " @" and a line feed:
//   $$$!CREATE TEMPORARY TABLE $$$ AS SELECT ... @\n!CREATE UNIQUE INDEX i_$$$ ON $$$ (ROWID)
#include <QList>
#include <QString>
#include <QStringList>

class CxSQL;

class CSQLWinAppExt {
public:
    CSQLWinAppExt();
    virtual ~CSQLWinAppExt();

    // The application's extension when one exists, else the process-wide one.
    static CSQLWinAppExt* GetSQLAppExt();

    // Runs the script on the connection (the base connection when none is
    // given) with the placeholder replaced by a generated name and answers
    // that name; the same script always gets the same name and is built
    // afresh. Empty on failure (the error list says why; nothing is left).
    QString RegisterTemporaryTable(const QString& script, CxSQL* connection = nullptr);
    // Drops the registered tables. Without a connection: those of the base
    // connection; tables of other connections are forgotten (they end with
    // their connection).
    void RemoveTemporaryTables(CxSQL* connection = nullptr);
    QStringList GetTemporaryTables() const;

    // The statements of a script for a table name; empty with an error text
    // when the script is malformed.
    static QStringList ParseTemporaryScript(const QString& script, const QString& name,
                                            QString* error = nullptr);
    // The name a script's table gets.
    static QString TemporaryTableName(const QString& script);

    CSQLWinAppExt(const CSQLWinAppExt&) = delete;
    CSQLWinAppExt& operator=(const CSQLWinAppExt&) = delete;

private:
    struct Entry {
        QString name;
        CxSQL* connection;
    };
    static void DropTable(CxSQL* connection, const QString& name);
    QList<Entry> m_tables;
};
