#include "cache_config.h"

#include "db/schema/cache_tables.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
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
    if (!DropCacheTables(sql)) {
        if (error)
            *error = sql->GetSqlErrorString();
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
