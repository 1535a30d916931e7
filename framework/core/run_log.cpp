#include "run_log.h"

#include "sql_result.h"

QString DescribeSQLError(const CxSQLError& error) {
    QString text = error.text;
    if (!error.statement.isEmpty())
        text += u'\n' + error.statement.left(250);
    return text;
}
