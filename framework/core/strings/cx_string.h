#pragma once
// Text helpers of the report writers: placeholder replacement in one pass,
// HTML escaping, numbers for table cells, dates for people and month ends.
#include <QList>
#include <QPair>
#include <QString>
#include <initializer_list>

class QDate;

namespace CxString {
using Pair = QPair<QString, QString>;

// Replaces every placeholder by its value in a single pass over the text:
// at each position the first listed placeholder that starts there wins, and
// the inserted values are never searched again, so a value that holds a
// placeholder (or a user's text with "%TITLE%" in it) stays as it is.
QString StrTr(const QString& text, const QList<Pair>& pairs);
QString StrTr(const QString& text, std::initializer_list<Pair> pairs);
} // namespace CxString

// Options of SafeHTML.
enum SafeHTMLOption {
    kSafeHTMLPlain = 0,
    // Line breaks of the text become "<br/>" (titles that span lines).
    kSafeHTMLBreaks = 2,
    // For XML attribute values: "'" becomes "&apos;", and line breaks and
    // tabs become character references, which reading the attribute back
    // would otherwise turn into spaces.
    kSafeHTMLXmlAttribute = 4,
};

// The text escaped for HTML (or XML) content and attribute values:
// & < > " '. The program's one escaper; the options say what else to do.
QString SafeHTML(const QString& text, int option = kSafeHTMLPlain);

// Options of DoubleToString.
enum DoubleToStringOption {
    kDoubleTrimZeros = 1, // "2.500000" -> "2.5"
    kDoubleTrimPoint = 2, // "2." -> "2"
};

// A number for a table cell: printf-style format ("%f", "%.2f"), trailing
// zeros and the point trimmed by the options, and `zeroText` in place of a
// zero (an empty cell shows "&nbsp;").
QString DoubleToString(double value, const QString& format = QStringLiteral("%f"),
                       int options = kDoubleTrimZeros | kDoubleTrimPoint,
                       const QString& zeroText = QString());

// A date as the program shows it to people, whatever the machine's locale:
// dd.MM.yyyy; empty for no date.
QString DateToText(const QDate& date);

// No date: an invalid one, or 01.01.1900 (and any earlier), which old rows
// and the date columns' defaults hold for "none".
bool IsNoneDate(const QDate& date);

// The number of days of the month (1-12); 0 for a month that does not exist.
int GetLastMonthDay(int year, int month);
