#include "sql_win_app_ext.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace {
CSQLWinAppExt* s_appExt = nullptr;

CSQLWinAppExt& ProcessExt() {
    static CSQLWinAppExt* ext = [] {
        // Constructed without claiming the application's place.
        CSQLWinAppExt* saved = s_appExt;
        auto* e = new CSQLWinAppExt;
        s_appExt = saved;
        return e;
    }();
    return *ext;
}
} // namespace

CSQLWinAppExt::CSQLWinAppExt() {
    s_appExt = this;
}

CSQLWinAppExt::~CSQLWinAppExt() {
    if (s_appExt == this)
        s_appExt = nullptr;
}

CSQLWinAppExt* CSQLWinAppExt::GetSQLAppExt() {
    return s_appExt ? s_appExt : &ProcessExt();
}

QString CSQLWinAppExt::TemporaryTableName(const QString& script) {
    const QByteArray digest =
        QCryptographicHash::hash(script.toUtf8(), QCryptographicHash::Md5).toHex();
    return QStringLiteral("tmp_") + QString::fromLatin1(digest.left(16));
}

QStringList CSQLWinAppExt::ParseTemporaryScript(const QString& script, const QString& name,
                                                QString* error) {
    const qsizetype first = script.indexOf(u'!');
    if (first < 0) {
        if (error)
            *error = QStringLiteral("в сценарии временной таблицы нет ни одной команды");
        return {};
    }
    QString placeholder = script.left(first).trimmed();
    if (placeholder.isEmpty())
        placeholder = QStringLiteral("$$$");
    static const QRegularExpression separator(QStringLiteral("\\s*@\\r?\\n"));
    QStringList statements;
    for (QString part : script.mid(first).split(separator)) {
        part = part.trimmed();
        if (part.isEmpty())
            continue;
        if (!part.startsWith(u'!')) {
            if (error)
                *error = QStringLiteral("команда сценария временной таблицы не начинается с \"!\"");
            return {};
        }
        statements << part.mid(1).replace(placeholder, name);
    }
    return statements;
}

void CSQLWinAppExt::DropTable(CxSQL* connection, const QString& name) {
    if (connection && connection->IsConnected())
        connection->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS `%1`").arg(name));
}

QString CSQLWinAppExt::RegisterTemporaryTable(const QString& script, CxSQL* connection) {
    if (!connection)
        connection = g_pBaseSQLConnection.get();
    if (!connection || !connection->IsConnected()) {
        CTarvikApp::AddErrorMessage(
            QStringLiteral("Нет соединения с базой данных для создания временной таблицы"));
        return QString();
    }
    const QString name = TemporaryTableName(script);
    QString error;
    const QStringList statements = ParseTemporaryScript(script, name, &error);
    if (statements.isEmpty()) {
        CTarvikApp::AddErrorMessage(QStringLiteral("Ошибка создания временной таблицы: ") + error);
        return QString();
    }
    // A script registered again is built afresh, so its rows are current.
    DropTable(connection, name);
    for (const QString& statement : statements) {
        if (!connection->Execute(statement).isValid()) {
            CTarvikApp::AddErrorMessage(QStringLiteral("Ошибка создания временной таблицы: ") +
                                        connection->GetSqlErrorString());
            DropTable(connection, name);
            m_tables.removeIf(
                [&](const Entry& e) { return e.name == name && e.connection == connection; });
            return QString();
        }
    }
    for (const Entry& e : m_tables)
        if (e.name == name && e.connection == connection)
            return name;
    m_tables.append(Entry{name, connection});
    return name;
}

void CSQLWinAppExt::RemoveTemporaryTables(CxSQL* connection) {
    if (connection) {
        for (const Entry& e : m_tables)
            if (e.connection == connection)
                DropTable(connection, e.name);
        m_tables.removeIf([connection](const Entry& e) { return e.connection == connection; });
        return;
    }
    CxSQL* base = g_pBaseSQLConnection.get();
    for (const Entry& e : m_tables)
        if (base && e.connection == base)
            DropTable(base, e.name);
    m_tables.clear();
}

QStringList CSQLWinAppExt::GetTemporaryTables() const {
    QStringList names;
    for (const Entry& e : m_tables)
        names << e.name;
    return names;
}
