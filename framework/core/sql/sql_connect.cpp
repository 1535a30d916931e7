#include "sql_connect.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "schema_lock.h"

#include <algorithm>

namespace {
constexpr int kUnknownDatabase = 3; // the server's "unknown database" (1049)
// Stands in a database from the moment its creation begins until the script
// has run to its end.
const QString kCreationMarker = QStringLiteral("dbcreating");

QString QuotedName(const QString& name) {
    QString out = name;
    out.replace(u'`', QStringLiteral("``"));
    return u'`' + out + u'`';
}

bool Fail(CxSQL* sql, const QString& statement, QString* errorText) {
    if (errorText)
        *errorText = (statement.isEmpty() ? QString() : statement.left(250) + u'\n') +
                     sql->GetSqlErrorString();
    return false;
}

// A creation that fails (not one cut off) leaves nothing behind, so the next
// attempt starts clean; when even the drop fails, the user hears that the
// unfinished database stays.
void DropUnfinished(CxSQL* server, const QString& database, QString* errorText) {
    if (server->Execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(QuotedName(database)))
            .isValid() ||
        !errorText)
        return;
    *errorText += u'\n' + CTarvikApp::TranslateString(
                              QStringLiteral("Незаконченная база данных {name} не удалена"),
                              QStringLiteral("msgUnfinishedDatabaseKept"))
                              .replace(QStringLiteral("{name}"), database);
}

// The script's statements after the one that selects the new database: what
// fills a database that exists.
QStringList ScriptBody(const QStringList& statements) {
    for (qsizetype i = 0; i < statements.size(); ++i)
        if (statements[i].startsWith(QStringLiteral("USE "), Qt::CaseInsensitive))
            return statements.mid(i + 1);
    QStringList body = statements;
    body.removeIf([](const QString& s) {
        return s.startsWith(QStringLiteral("CREATE DATABASE"), Qt::CaseInsensitive);
    });
    return body;
}

// Runs the script's body between the marker's making and its removal, so a
// creation cut off half way is recognised at the next start.
bool RunBody(CxSQL* sql, const QStringList& body, QString* errorText) {
    const QString mark =
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (x int)").arg(QuotedName(kCreationMarker));
    if (!sql->Execute(mark).isValid())
        return Fail(sql, mark, errorText);
    for (const QString& statement : body) {
        if (!sql->Execute(statement).isValid()) {
            Fail(sql, statement, errorText);
            sql->ExecuteCleanup(QStringLiteral("UNLOCK TABLES"));
            return false;
        }
    }
    const QString unmark = QStringLiteral("DROP TABLE %1").arg(QuotedName(kCreationMarker));
    if (!sql->Execute(unmark).isValid())
        return Fail(sql, unmark, errorText);
    return true;
}

// A database whose creation did not finish: it still holds the marker, or
// no table at all (the program died before the first).
bool CreationUnfinished(CxSQL* sql, QStringList* tables) {
    if (!sql->ListTables(*tables))
        return false;
    return tables->isEmpty() || std::any_of(tables->cbegin(), tables->cend(), [](const QString& t) {
               return t.compare(kCreationMarker, Qt::CaseInsensitive) == 0;
           });
}

// Makes the database's tables anew in a database whose creation was cut off.
bool FinishCreation(CxSQL* sql, const QString& database, const QStringList& statements,
                    QString* errorText) {
    const CxSchemaWorkLock lock(sql, database);
    if (!lock.Locked())
        return Fail(sql, QString(), errorText);
    QStringList tables;
    if (!CreationUnfinished(sql, &tables))
        return true; // another copy finished it meanwhile
    // With the marker, every table is a remnant of the cut-off creation.
    for (const QString& table : std::as_const(tables)) {
        if (table.compare(kCreationMarker, Qt::CaseInsensitive) == 0)
            continue;
        const QString drop = QStringLiteral("DROP TABLE %1").arg(QuotedName(table));
        if (!sql->Execute(drop).isValid())
            return Fail(sql, drop, errorText);
    }
    return RunBody(sql, ScriptBody(statements), errorText);
}

QStringList ScriptStatements(const QByteArray& creationScript, const QString& database) {
    QString script = QString::fromUtf8(creationScript);
    script.replace(QStringLiteral("$$$DATABASENAME$$$"), QuotedName(database));
    return CxSQL::SplitScript(script);
}
} // namespace

bool SQLCreateDatabase(CxSQL* server, const QString& database, const QByteArray& creationScript,
                       QString* errorText) {
    const QStringList statements = ScriptStatements(creationScript, database);
    const CxSchemaWorkLock lock(server, database);
    if (!lock.Locked())
        return Fail(server, QString(), errorText);
    // Another copy may have made it while this one waited for the lock.
    CxResult exists =
        server->Execute(QStringLiteral("SELECT 1 FROM information_schema.SCHEMATA WHERE "
                                       "SCHEMA_NAME=%1")
                            .arg(SafeSQL(database)));
    if (!exists.isValid())
        return Fail(server, QString(), errorText);
    if (exists.FetchRow())
        return true;

    const QStringList body = ScriptBody(statements);
    bool created = false;
    for (const QString& statement : statements.mid(0, statements.size() - body.size())) {
        if (!server->Execute(statement).isValid()) {
            Fail(server, statement, errorText);
            if (created)
                DropUnfinished(server, database, errorText);
            return false;
        }
        if (statement.startsWith(QStringLiteral("CREATE DATABASE"), Qt::CaseInsensitive))
            created = true;
    }
    if (RunBody(server, body, errorText))
        return true;
    if (created)
        DropUnfinished(server, database, errorText);
    return false;
}

SQLConnectResult SQLConnectOrCreate(CxSQL* sql, const SQLConnectXML& info,
                                    const QByteArray& creationScript, QString* errorText) {
    const QStringList earlierErrors = CTarvikApp::GetErrorMessages();
    if (sql->Connect(&info)) {
        QStringList tables;
        if (!creationScript.isEmpty() && !info.get_Database().isEmpty() &&
            CreationUnfinished(sql, &tables) &&
            !FinishCreation(sql, info.get_Database(),
                            ScriptStatements(creationScript, info.get_Database()), errorText))
            return SQLConnectResult::Failed;
        return SQLConnectResult::Connected;
    }
    if (sql->GetErrorCode() != kUnknownDatabase || info.get_Database().isEmpty()) {
        if (errorText)
            *errorText = sql->GetSqlErrorString();
        return SQLConnectResult::Failed;
    }
    if (creationScript.isEmpty()) {
        if (errorText)
            *errorText = sql->GetSqlErrorString();
        return SQLConnectResult::DatabaseMissing;
    }
    // The server knows no such database: make it through a connection without
    // one, then open it as described.
    SQLConnectXML serverInfo = info;
    serverInfo.put_Database(QString());
    if (!sql->Connect(&serverInfo)) {
        if (errorText)
            *errorText = sql->GetSqlErrorString();
        return SQLConnectResult::Failed;
    }
    const bool made = SQLCreateDatabase(sql, info.get_Database(), creationScript, errorText);
    sql->Close();
    if (!made)
        return SQLConnectResult::Failed;
    if (!sql->Connect(&info)) {
        if (errorText)
            *errorText = sql->GetSqlErrorString();
        return SQLConnectResult::Failed;
    }
    // The missing database was expected here; its error is not the user's.
    CTarvikApp::ClearErrorMessages();
    for (const QString& line : earlierErrors)
        CTarvikApp::AddErrorMessage(line);
    return SQLConnectResult::Connected;
}
