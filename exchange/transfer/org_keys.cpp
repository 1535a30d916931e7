#include "org_keys.h"

#include "framework/core/sql_connection.h"

QString ReadOwnOrgID(CxSQL* sql, QString* error) {
    const QString statement = QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0");
    CxResult res = sql->Execute(statement);
    if (!res.isValid()) {
        if (error)
            *error = res.Error().text;
        return QString();
    }
    if (!res.FetchRow() || res.IsNull(0))
        return QString();
    return res.SFieldValue(0);
}
