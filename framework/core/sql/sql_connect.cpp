#include "sql_connect.h"

#include "framework/core/tarvik_app.h"

namespace {
constexpr int kUnknownDatabase = 3; // the server's "unknown database" (1049)

QString QuotedName(const QString& name) {
    QString out = name;
    out.replace(u'`', QStringLiteral("``"));
    return u'`' + out + u'`';
}
} // namespace

bool SQLCreateDatabase(CxSQL* server, const QString& database, const QByteArray& creationScript,
                       QString* errorText) {
    QString script = QString::fromUtf8(creationScript);
    script.replace(QStringLiteral("$$$DATABASENAME$$$"), QuotedName(database));
    const QStringList statements = CxSQL::SplitScript(script);
    bool created = false;
    for (const QString& statement : statements) {
        if (server->Execute(statement).isValid()) {
            if (!created &&
                statement.startsWith(QStringLiteral("CREATE DATABASE"), Qt::CaseInsensitive))
                created = true;
            continue;
        }
        if (errorText)
            *errorText = statement.left(250) + u'\n' + server->GetSqlErrorString();
        server->Execute(QStringLiteral("UNLOCK TABLES"));
        if (created)
            server->Execute(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(QuotedName(database)));
        return false;
    }
    return true;
}

SQLConnectResult SQLConnectOrCreate(CxSQL* sql, const SQLConnectXML& info,
                                    const QByteArray& creationScript, QString* errorText) {
    const QStringList earlierErrors = CTarvikApp::GetErrorMessages();
    if (sql->Connect(&info))
        return SQLConnectResult::Connected;
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
