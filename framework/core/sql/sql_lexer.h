#pragma once
// The words of an SQL statement as the server reads them. Any run of blanks,
// tabs and line breaks separates like one blank, comments separate too, and a
// quoted literal is one token that is never taken for a word, so a verb
// inside a string or a comment is not mistaken for the statement's own.
// Executable comments (/*! ... */, /*M! ... */) are read as code, as the
// server does.
#include <QList>
#include <QString>

struct CxSQLToken {
    enum Kind {
        Word,       // a keyword, a name or a number, as written
        QuotedName, // a back-quoted name, without its quotes
        Literal,    // a quoted string; its text is not kept
        Symbol,     // one punctuation character
    };
    Kind kind;
    QString text;

    // A Word equal to the given upper-case keyword, without regard to case.
    bool Is(QLatin1StringView keyword) const;
    // A Word or a back-quoted name: something that can name a table or column.
    bool IsName() const { return kind == Word || kind == QuotedName; }
    bool IsSymbol(char c) const { return kind == Symbol && text.size() == 1 && text[0] == c; }
};

// The tokens of a statement, at most `limit` of them (-1: all).
QList<CxSQLToken> SQLTokens(const QString& statement, qsizetype limit = -1);

// The statement's leading keyword in upper case, past opening parentheses and a
// "SET STATEMENT ... FOR" prefix; empty when it starts with none. `next`, when
// given, receives the index of the token after it.
QString SQLStatementVerb(const QList<CxSQLToken>& tokens, qsizetype* next = nullptr);

// What a statement does to the open transaction.
enum class SQLTransactionControl {
    None,
    Begin,    // START TRANSACTION, BEGIN [WORK]
    Commit,   // COMMIT [WORK]
    Rollback, // ROLLBACK [WORK], not ROLLBACK TO a savepoint
};
SQLTransactionControl SQLTransactionControlOf(const QList<CxSQLToken>& tokens);

// INSERT, UPDATE and REPLACE: statements that write values into columns.
bool SQLWritesValues(const QString& verb);
