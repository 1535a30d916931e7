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

bool BulkInsertAllowed(CxSQL* sql, const QString& table, const QString& key) {
    CxResult any = sql->Execute(QStringLiteral("SELECT 1 FROM %1 LIMIT 1").arg(Quoted(table)));
    if (!any.isValid() || any.FetchRow())
        return false;
    CxResult keys = sql->Execute(QStringLiteral("SHOW INDEX FROM %1").arg(Quoted(table)));
    if (!keys.isValid())
        return false;
    while (keys.FetchRow()) {
        if (keys.SFieldValue(QStringLiteral("Non_unique")) != QLatin1String("0"))
            continue;
        if (key.isEmpty() ||
            keys.SFieldValue(QStringLiteral("Key_name")) != QLatin1String("PRIMARY") ||
            keys.LFieldValue(QStringLiteral("Seq_in_index")) != 1 ||
            keys.SFieldValue(QStringLiteral("Column_name")).compare(key, Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

CBulkInsertScope::CBulkInsertScope(CxSQL* sql, bool on) : m_sql(sql), m_on(on) {
    if (m_on)
        m_on = m_sql
                   ->Execute(QStringLiteral("SET @kelda_unique_checks=@@unique_checks,"
                                            "@kelda_foreign_key_checks=@@foreign_key_checks,"
                                            "unique_checks=0,foreign_key_checks=0"))
                   .isValid();
}

CBulkInsertScope::~CBulkInsertScope() {
    if (m_on)
        m_sql->ExecuteCleanup(QStringLiteral("SET unique_checks=@kelda_unique_checks,"
                                             "foreign_key_checks=@kelda_foreign_key_checks"));
}

QString StatementError(CxSQL* sql, const QString& statement) {
    return sql->GetSqlErrorString() + u'\n' + statement.left(500);
}

} // namespace ExchangeSQL
