#include "cache_config.h"

#include "db/schema/cache_tables.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "rep_base_data.h"
#include "rep_config.h"

namespace {
const QString kMarker = QStringLiteral("_cache_config");
// Raised whenever a builder changes what its table holds, so tables made by
// an earlier version of the program are made anew.
constexpr int kWorkTableFormat = 1;

bool Fail(const CxResult& res, QString* error) {
    if (error)
        *error = res.Error().statement + QStringLiteral(": ") + res.Error().text;
    return false;
}
} // namespace

bool EnsureWorkTablesMatchConfig(CxSQL* sql, QString* error) {
    const QString digest =
        QStringLiteral("%1:").arg(kWorkTableFormat) + RepConfig::MaterialGroupsDigest();
    CxResult exists = sql->Execute(QStringLiteral("SHOW TABLES LIKE '\\\\_cache\\\\_config'"));
    if (!exists.isValid())
        return Fail(exists, error);
    if (exists.FetchRow()) {
        CxResult stored = sql->Execute(QStringLiteral("SELECT cValue FROM ") + kMarker +
                                       QStringLiteral(" WHERE cKey='matgroups'"));
        if (!stored.isValid())
            return Fail(stored, error);
        if (stored.FetchRow() && stored.SFieldValue(0) == digest)
            return true;
    }
    // Made with other groups, or by a copy that kept no record: start afresh.
    // Right after a drop there is nothing to drop; asking for it then would
    // only mark as stale the tables that the builds which started with this
    // one are about to make.
    CxResult any = sql->Execute(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.TABLES WHERE "
                       "TABLE_SCHEMA=DATABASE() AND TABLE_NAME LIKE '\\\\_cache\\\\_%' AND "
                       "TABLE_NAME<>'_cache_stale'"));
    if (!any.FetchRow())
        return Fail(any, error);
    if (any.SFieldValue(0).toInt() > 0 && !DropCacheTables(sql)) {
        if (error)
            *error = sql->GetSqlErrorString();
        return false;
    }
    // Other copies' builds still read the tables made with their groups.
    if (any.SFieldValue(0).toInt() > 0 && CacheTablesStale(sql)) {
        if (error)
            *error = CTarvikApp::TranslateString(
                QStringLiteral("Рабочие таблицы отчетов построены с другими группами материалов и "
                               "сейчас используются другой копией программы. Повторите "
                               "формирование отчета, когда она закончит свой отчет."),
                QStringLiteral("EnsureWorkTablesMatchConfig"));
        return false;
    }
    CxResult create = sql->Execute(
        QStringLiteral("CREATE TABLE ") + kMarker +
        QStringLiteral(" (cKey VARCHAR(32) NOT NULL PRIMARY KEY, cValue VARCHAR(80) NOT NULL) ") +
        CRepBaseData::WorkTableOptions());
    if (!create.isValid())
        return Fail(create, error);
    CxResult insert =
        sql->Execute(QStringLiteral("INSERT INTO ") + kMarker +
                     QStringLiteral(" VALUES ('matgroups',") + SafeSQL(digest) + u')');
    if (!insert.isValid())
        return Fail(insert, error);
    return true;
}
