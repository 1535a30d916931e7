#include "sql_lexer.h"

namespace {
bool IsWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.isSurrogate();
}
} // namespace

bool CxSQLToken::Is(QLatin1StringView keyword) const {
    return kind == Word && text.compare(keyword, Qt::CaseInsensitive) == 0;
}

QList<CxSQLToken> SQLTokens(const QString& statement, qsizetype limit) {
    QList<CxSQLToken> tokens;
    const qsizetype n = statement.size();
    qsizetype i = 0;
    int executableComments = 0; // open /*! ... */ whose text is code
    auto add = [&](CxSQLToken::Kind kind, QString text) {
        tokens.append(CxSQLToken{kind, std::move(text)});
        return limit >= 0 && tokens.size() >= limit;
    };
    while (i < n) {
        const QChar c = statement[i];
        const QChar next = i + 1 < n ? statement[i + 1] : QChar();
        if (c.isSpace()) {
            ++i;
        } else if (c == u'#' ||
                   (c == u'-' && next == u'-' && (i + 2 >= n || statement[i + 2].isSpace()))) {
            while (i < n && statement[i] != u'\n')
                ++i;
        } else if (c == u'/' && next == u'*') {
            i += 2;
            const bool executable = i < n && statement[i] == u'!';
            const bool mariaExecutable =
                i + 1 < n && statement[i] == u'M' && statement[i + 1] == u'!';
            if (executable || mariaExecutable) {
                i += executable ? 1 : 2;
                while (i < n && statement[i].isDigit())
                    ++i;
                ++executableComments;
                continue;
            }
            while (i + 1 < n && !(statement[i] == u'*' && statement[i + 1] == u'/'))
                ++i;
            i += 2;
        } else if (c == u'*' && next == u'/' && executableComments > 0) {
            --executableComments;
            i += 2;
        } else if (c == u'\'' || c == u'"' || c == u'`') {
            QString text;
            ++i;
            while (i < n) {
                const QChar q = statement[i];
                if (q == u'\\' && c != u'`' && i + 1 < n) {
                    i += 2;
                    continue;
                }
                if (q == c) {
                    if (i + 1 < n && statement[i + 1] == c) {
                        text += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (c == u'`')
                    text += q;
                ++i;
            }
            if (add(c == u'`' ? CxSQLToken::QuotedName : CxSQLToken::Literal, text))
                break;
        } else if (IsWordChar(c)) {
            const qsizetype start = i;
            while (i < n && IsWordChar(statement[i]))
                ++i;
            if (add(CxSQLToken::Word, statement.mid(start, i - start)))
                break;
        } else {
            ++i;
            if (add(CxSQLToken::Symbol, QString(c)))
                break;
        }
    }
    return tokens;
}

QString SQLStatementVerb(const QList<CxSQLToken>& tokens, qsizetype* next) {
    qsizetype i = 0;
    while (i < tokens.size() && tokens[i].IsSymbol('('))
        ++i;
    // SET STATEMENT var=value[,...] FOR <statement>: the statement is the verb.
    if (i + 1 < tokens.size() && tokens[i].Is(QLatin1StringView("SET")) &&
        tokens[i + 1].Is(QLatin1StringView("STATEMENT"))) {
        i += 2;
        while (i < tokens.size() && !tokens[i].Is(QLatin1StringView("FOR")))
            ++i;
        ++i;
    }
    if (i >= tokens.size() || tokens[i].kind != CxSQLToken::Word) {
        if (next)
            *next = tokens.size();
        return QString();
    }
    if (next)
        *next = i + 1;
    return tokens[i].text.toUpper();
}

SQLTransactionControl SQLTransactionControlOf(const QList<CxSQLToken>& tokens) {
    qsizetype i = 0;
    const QString verb = SQLStatementVerb(tokens, &i);
    if (verb == QLatin1String("START"))
        return i < tokens.size() && tokens[i].Is(QLatin1StringView("TRANSACTION"))
                   ? SQLTransactionControl::Begin
                   : SQLTransactionControl::None;
    if (verb == QLatin1String("BEGIN")) // BEGIN NOT ATOMIC opens a compound statement
        return i < tokens.size() && tokens[i].Is(QLatin1StringView("NOT"))
                   ? SQLTransactionControl::None
                   : SQLTransactionControl::Begin;
    if (verb == QLatin1String("COMMIT"))
        return SQLTransactionControl::Commit;
    if (verb == QLatin1String("ROLLBACK")) {
        for (; i < tokens.size(); ++i)
            if (tokens[i].Is(QLatin1StringView("TO")))
                return SQLTransactionControl::None; // back to a savepoint: still open
        return SQLTransactionControl::Rollback;
    }
    return SQLTransactionControl::None;
}

bool SQLWritesValues(const QString& verb) {
    return verb == QLatin1String("INSERT") || verb == QLatin1String("UPDATE") ||
           verb == QLatin1String("REPLACE");
}
