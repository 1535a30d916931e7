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
// The text of a failed statement for the user.
QString StatementError(CxSQL* sql, const QString& statement);

} // namespace ExchangeSQL
