#pragma once
// Small SQL helpers the exchange wizards share.
#include <QByteArray>
#include <QList>
#include <QString>

class CxSQL;
struct CSQLExchangeColumn;

namespace ExchangeSQL {

// `name` with back-quotes doubled inside.
QString Quoted(const QString& name);
// The columns of a table as the server lists them; false when the table is
// missing or the statement failed (error set).
bool TableColumns(CxSQL* sql, const QString& table, QList<CSQLExchangeColumn>* columns,
                  QString* error);
// A plain decimal number (sign, digits, fraction, exponent): safe to send
// without quotes.
bool IsNumericLiteral(const QByteArray& text);
// The highest value of a key column of a table (`from` as SQL names it), 0
// for an empty table. A failed read answers false with the error set: it
// never passes for an empty table.
bool HighestKey(CxSQL* sql, const QString& from, const QString& column, qint64* highest,
                QString* error);
// Whether the server may fill `table` in bulk: it holds no row yet and no
// unique key but its primary key on `key` (whose values an INSERT ... SELECT
// from a load table keyed the same way cannot repeat). False whenever a read
// fails.
bool BulkInsertAllowed(CxSQL* sql, const QString& table, const QString& key);

// While it lives, an INSERT into an empty table that BulkInsertAllowed
// allowed is written as a loaded dump is: the session's unique and foreign
// key checks are off, so the server logs one undo record for the table and
// sorts each index once instead of placing row by row (it also locks the
// table until the transaction ends). The server drops a bulk insert that
// repeats a unique value without a word, hence only such tables. `on` false
// changes nothing.
class CBulkInsertScope {
public:
    CBulkInsertScope(CxSQL* sql, bool on);
    ~CBulkInsertScope();
    CBulkInsertScope(const CBulkInsertScope&) = delete;
    CBulkInsertScope& operator=(const CBulkInsertScope&) = delete;

private:
    CxSQL* m_sql;
    bool m_on;
};

// The text of a failed statement for the user.
QString StatementError(CxSQL* sql, const QString& statement);

} // namespace ExchangeSQL
