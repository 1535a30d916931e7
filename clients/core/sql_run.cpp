#include "sql_run.h"

#include "rule_verdict.h"

bool FailClientSQL(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

bool RunClientSQL(CxSQL* sql, const QString& statement, CxResult* result, QString* error,
                  qint64* insertId) {
    if (!sql)
        return FailClientSQL(
            error, ClientRuleText("Нет соединения с базой данных.", "msgNoDatabaseConnection"));
    CxResult r = sql->Execute(statement, insertId);
    if (!r.isValid())
        return FailClientSQL(error,
                             r.Error().text.isEmpty() ? sql->GetSqlErrorString() : r.Error().text);
    if (result)
        *result = r;
    return true;
}

bool CheckStoredClient(CxSQL* sql, qint64 clientId, QString* error) {
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT 1 FROM clientdata WHERE ROWID=") +
                          QString::number(clientId) + QStringLiteral(" AND bIsFolder=0"),
                      &r, error))
        return false;
    if (clientId <= 0 || !r.FetchRow())
        return FailClientSQL(
            error, ClientRuleText("Клиент не найден в базе данных.", "msgClientNotFound"));
    return true;
}
