#pragma once
// The message log of a long run, as the run sees it: the lines a wizard page
// shows while the run goes on (what is being done, warnings, errors). The
// widget side shows them; headless callers and tests may pass nothing or
// collect the lines (CvRunLogLines).
#include <QString>
#include <QStringList>

class CvRunLog {
public:
    virtual ~CvRunLog() = default;
    // flag 1: a line of its own; 0: continues the previous line.
    virtual void AddInfoMessage(const QString& text, int flag = 1) = 0;
    // flag 1: a warning, the run goes on; 0: an error.
    virtual void AddWarning(const QString& text, int flag = 1) = 0;
};

// Keeps the lines: information as it came, warnings prefixed "warning: ",
// errors "error: ".
class CvRunLogLines : public CvRunLog {
public:
    void AddInfoMessage(const QString& text, int) override { lines << text; }
    void AddWarning(const QString& text, int flag) override {
        lines << (flag ? QStringLiteral("warning: ") : QStringLiteral("error: ")) + text;
    }
    QStringList lines;
};

struct CxSQLError;
// The user's text of a failed statement: the server's text, then the
// statement (its first 250 characters) on a line of its own.
QString DescribeSQLError(const CxSQLError& error);
