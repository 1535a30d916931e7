#pragma once
// Texts that come from the configuration or from users enter SQL only through
// these helpers, so a quote or a backslash in a name can never end a literal.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// The text as a complete SQL string literal, quotes included: 'O''Brien'.
QString SafeSQL(const QString& text);
// The text escaped for use between single quotes, without the quotes.
QString SafeSQLString(const QString& text);
// UTF-8 text appended to a statement as a complete SQL string literal, quotes
// included, escaped as the client library escapes for a UTF-8 connection
// (quote, double quote, backslash, NUL, CR, LF, Ctrl-Z behind a backslash).
// No byte of a multi-byte UTF-8 character is one of these, so the bytes go
// byte by byte, without a detour through QString: for statements built from
// many values.
void AppendSQLLiteral(QByteArray& statement, QByteArrayView utf8);
// A number as decimal text; the format takes one "%d" (or "%ld").
QString LongToString(long value, const QString& format = QStringLiteral("%d"));

// The connection's own escaping of a text for use between single quotes (the
// client library's mysql_real_escape_string: the MySQL connection installs it
// when the first connection object is made). With none installed, quotes,
// backslashes, NUL and Ctrl-Z are escaped by hand, which is as safe for a
// UTF-8 connection. An empty function removes it.
void SetSQLEscaper(std::function<QString(const QString&)> escaper);
