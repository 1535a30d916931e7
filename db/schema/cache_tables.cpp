#include "cache_tables.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

namespace {
// The builders of work tables wait this long for the lock too.
constexpr int kLockWaitSeconds = 999999;
} // namespace

bool IsCacheTableName(const QString& name) {
    return name.left(7).toLower() == QStringLiteral("_cache_");
}

bool DropCacheTables(CxSQL* sql) {
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    if (!sql || !sql->IsConnected())
        return false;
    CxSQLLockGuard lock(sql, kLockWaitSeconds);
    if (!lock.Locked()) {
        CTarvikApp::AddErrorMessage(CTarvikApp::TranslateString(
            QStringLiteral("Не удалось дождаться блокировки базы данных для удаления "
                           "рабочих таблиц отчетов"),
            QStringLiteral("DropCacheTables")));
        return false;
    }
    CxResult tables = sql->Execute(QStringLiteral("SHOW TABLES"));
    if (!tables.isValid())
        return false;
    QStringList names;
    while (tables.FetchRow()) {
        const QString name = tables.SFieldValue(0);
        if (IsCacheTableName(name))
            names << name;
    }
    bool all = true;
    for (const QString& name : names) {
        QString quoted = name;
        quoted.replace(u'`', QStringLiteral("``"));
        if (!sql->Execute(QStringLiteral("DROP TABLE `%1`").arg(quoted)).isValid())
            all = false;
    }
    return all;
}
