#include "exchange_sql.h"

#include "exchange_package.h"
#include "framework/core/sql_connection.h"

namespace ExchangeSQL {

QString Quoted(const QString& name) {
    QString out = name;
    out.replace(u'`', QStringLiteral("``"));
    return u'`' + out + u'`';
}

bool TableColumns(CxSQL* sql, const QString& table, QList<CSQLExchangeColumn>* columns,
                  QString* error) {
    columns->clear();
    const QString statement = QStringLiteral("SHOW COLUMNS FROM ") + Quoted(table);
    CxResult res = sql->Execute(statement);
    if (!res.isValid()) {
        if (error)
            *error = StatementError(sql, statement);
        return false;
    }
    static const char* const numericTypes[] = {"int",    "tinyint", "smallint", "mediumint",
                                               "bigint", "decimal", "float",    "double"};
    while (res.FetchRow()) {
        CSQLExchangeColumn column;
        column.name = res.SFieldValue(0);
        const QString type = res.SFieldValue(1).toLower();
        for (const char* numeric : numericTypes) {
            const QString prefix = QString::fromLatin1(numeric);
            if (type == prefix || type.startsWith(prefix + u'(') || type.startsWith(prefix + u' '))
                column.numeric = true;
        }
        columns->append(column);
    }
    return true;
}

bool IsNumericLiteral(const QByteArray& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == '-' || text[i] == '+'))
        ++i;
    qsizetype digits = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '-' || text[i] == '+'))
            ++i;
        qsizetype exponent = 0;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == n;
}

bool HighestKey(CxSQL* sql, const QString& from, const QString& column, qint64* highest,
                QString* error) {
    *highest = 0;
    const QString statement =
        QStringLiteral("SELECT IFNULL(MAX(%1),0) FROM %2").arg(Quoted(column), from);
    CxResult res = sql->Execute(statement);
    bool ok = res.isValid() && res.FetchRow();
    if (ok)
        *highest = res.SFieldValue(0).toLongLong(&ok);
    if (!ok && error)
        *error = StatementError(sql, statement);
    return ok;
}

QString StatementError(CxSQL* sql, const QString& statement) {
    return sql->GetSqlErrorString() + u'\n' + statement.left(500);
}

} // namespace ExchangeSQL
