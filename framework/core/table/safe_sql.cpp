#include "safe_sql.h"

#include <QReadWriteLock>

namespace {
QReadWriteLock g_escaperLock;
std::function<QString(const QString&)>& Escaper() {
    static auto* escaper = new std::function<QString(const QString&)>;
    return *escaper;
}

QString EscapeByHand(const QString& text) {
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        switch (c.unicode()) {
        // The connection runs with backslash escapes on, so a backslash must be
        // doubled as well as a quote.
        case u'\'':
            out += QStringLiteral("''");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case 0:
            out += QStringLiteral("\\0");
            break;
        case 0x1a:
            out += QStringLiteral("\\Z");
            break;
        default:
            out += c;
        }
    }
    return out;
}
} // namespace

void SetSQLEscaper(std::function<QString(const QString&)> escaper) {
    QWriteLocker lock(&g_escaperLock);
    Escaper() = std::move(escaper);
}

QString SafeSQLString(const QString& text) {
    {
        QReadLocker lock(&g_escaperLock);
        if (Escaper())
            return Escaper()(text);
    }
    return EscapeByHand(text);
}

QString SafeSQL(const QString& text) {
    return u'\'' + SafeSQLString(text) + u'\'';
}

void AppendSQLLiteral(QByteArray& statement, QByteArrayView utf8) {
    statement += '\'';
    const char* run = utf8.data();
    const char* const end = run + utf8.size();
    for (const char* p = run; p != end; ++p) {
        char escaped;
        switch (*p) {
        case '\'':
        case '"':
        case '\\':
            escaped = *p;
            break;
        case '\0':
            escaped = '0';
            break;
        case '\n':
            escaped = 'n';
            break;
        case '\r':
            escaped = 'r';
            break;
        case '\x1a':
            escaped = 'Z';
            break;
        default:
            continue;
        }
        statement.append(run, p - run);
        statement += '\\';
        statement += escaped;
        run = p + 1;
    }
    statement.append(run, end - run);
    statement += '\'';
}

QString LongToString(long value, const QString& format) {
    QString out = format;
    const QString number = QString::number(value);
    if (out.contains(QStringLiteral("%ld")))
        return out.replace(QStringLiteral("%ld"), number);
    return out.replace(QStringLiteral("%d"), number);
}
