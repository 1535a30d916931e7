#pragma once
// Texts that come from the configuration or from users enter SQL only through
// these helpers, so a quote or a backslash in a name can never end a literal.
#include <QString>

// The text as a complete SQL string literal, quotes included: 'O''Brien'.
QString SafeSQL(const QString& text);
// The text escaped for use between single quotes, without the quotes.
QString SafeSQLString(const QString& text);
// A number as decimal text; the format takes one "%d" (or "%ld").
QString LongToString(long value, const QString& format = QStringLiteral("%d"));
