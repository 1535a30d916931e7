#include "sql_placeholders.h"

namespace {
bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// Walks the text, copying literals unchanged and calling the handler for
// every placeholder; returns the rebuilt text.
QString Walk(const QString& text, const std::function<QString(const QString&)>& onWord) {
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\'' || c == u'"' || c == u'`') {
            const QChar quote = c;
            out += c;
            ++i;
            while (i < n) {
                const QChar d = text[i];
                out += d;
                ++i;
                if (d == u'\\' && quote != u'`' && i < n) {
                    out += text[i];
                    ++i;
                } else if (d == quote) {
                    if (i < n && text[i] == quote) { // doubled quote stays inside
                        out += text[i];
                        ++i;
                    } else {
                        break;
                    }
                }
            }
            continue;
        }
        if (c == u'{') {
            qsizetype j = i + 1;
            while (j < n && IsWordChar(text[j]))
                ++j;
            if (j > i + 1 && j < n && text[j] == u'}') {
                out += onWord(text.mid(i + 1, j - i - 1));
                i = j + 1;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}
} // namespace

QStringList SQLPlaceholders(const QString& text) {
    QStringList words;
    Walk(text, [&](const QString& word) {
        words << word;
        return QString();
    });
    return words;
}

QString ReplaceSQLPlaceholders(const QString& text,
                               const std::function<QString(const QString&)>& replace) {
    return Walk(text, replace);
}
