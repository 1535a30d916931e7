#include "material_groups_script.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/temp_tables/sql_win_app_ext.h"

QString MaterialGroupsScript(const QList<MaterialGroupItem>& items) {
    QString conditions, chain, closing;
    for (const MaterialGroupItem& item : items) {
        if (item.second == 0)
            continue;
        const QString code = LongToString(item.first);
        if (!conditions.isEmpty())
            conditions += QStringLiteral(" OR ");
        conditions += QStringLiteral("(dir.nType=") + code + u')';
        chain += QStringLiteral("IF(dir.nType=") + code + u',' + LongToString(item.second) + u',';
        closing += u')';
    }
    if (conditions.isEmpty())
        return QString();
    return QStringLiteral("$$$!CREATE TEMPORARY TABLE $$$ AS SELECT 0 AS bServ, ROWID,") + chain +
           QStringLiteral("-1") + closing + QStringLiteral(" AS nMatGroup FROM dir WHERE (") +
           conditions + QStringLiteral(") AND dir.nDirType=3 @\n") +
           QStringLiteral("!CREATE UNIQUE INDEX i_$$$ ON $$$ (ROWID)");
}

QString BuildMaterialGroupsScript(CxSQL* connection) {
    const QString script = MaterialGroupsScript(ConfiguredMaterialGroups());
    if (script.isEmpty())
        return QString();
    return CSQLWinAppExt::GetSQLAppExt()->RegisterTemporaryTable(script, connection);
}
