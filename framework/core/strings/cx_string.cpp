#include "cx_string.h"

#include <QDate>
#include <cmath>

namespace CxString {
QString StrTr(const QString& text, const QList<Pair>& pairs) {
    // The first characters of the placeholders, to skip quickly over the rest.
    QString starts;
    for (const Pair& pair : pairs)
        if (!pair.first.isEmpty() && !starts.contains(pair.first.at(0)))
            starts += pair.first.at(0);
    QString out;
    out.reserve(text.size());
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const QChar c = text.at(i);
        if (!starts.contains(c)) {
            out += c;
            ++i;
            continue;
        }
        bool replaced = false;
        for (const Pair& pair : pairs) {
            if (pair.first.isEmpty())
                continue;
            if (QStringView(text).mid(i).startsWith(pair.first)) {
                out += pair.second;
                i += pair.first.size();
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            out += c;
            ++i;
        }
    }
    return out;
}

QString StrTr(const QString& text, std::initializer_list<Pair> pairs) {
    return StrTr(text, QList<Pair>(pairs));
}
} // namespace CxString

QString SafeHTML(const QString& text, int option) {
    const bool xml = option & kSafeHTMLXmlAttribute;
    const bool breaks = !xml && (option & kSafeHTMLBreaks);
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += xml ? QLatin1String("&apos;") : QLatin1String("&#39;");
            break;
        case '\r':
            if (xml) {
                out += QLatin1String("&#13;");
            } else if (breaks) {
                if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                    ++i;
                out += QLatin1String("<br/>");
            } else {
                out += c;
            }
            break;
        case '\n':
            if (xml)
                out += QLatin1String("&#10;");
            else if (breaks)
                out += QLatin1String("<br/>");
            else
                out += c;
            break;
        case '\t':
            if (xml)
                out += QLatin1String("&#9;");
            else
                out += c;
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString DoubleToString(double value, const QString& format, int options, const QString& zeroText) {
    if (value == 0.0 || std::isnan(value))
        return zeroText.isNull() ? QStringLiteral("0") : zeroText;
    QString text = QString::asprintf(format.toLatin1().constData(), value);
    if ((options & kDoubleTrimZeros) && text.contains(u'.') && !text.contains(u'e')) {
        while (text.endsWith(u'0'))
            text.chop(1);
    }
    if ((options & kDoubleTrimPoint) && text.endsWith(u'.'))
        text.chop(1);
    if (text == QLatin1String("-0"))
        return zeroText.isNull() ? QStringLiteral("0") : zeroText;
    return text;
}

QString DateToText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

bool IsNoneDate(const QDate& date) {
    return !date.isValid() || date <= QDate(1900, 1, 1);
}

int GetLastMonthDay(int year, int month) {
    const QDate first(year, month, 1);
    return first.isValid() ? first.daysInMonth() : 0;
}
