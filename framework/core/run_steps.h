#pragma once
// What every long database run keeps while it goes: its progress and log and
// the first failure's text. A step that fails answers `Fail(...)` and the run
// unwinds; what fails after it usually fails because of it, so the first
// reason is the one the user is told.
#include "framework/core/progress.h"
#include "framework/core/run_log.h"

class CxResult;
class CxSQL;

class CvRunSteps {
public:
    const QString& Error() const { return m_error; }

protected:
    CvRunSteps(CvProgress* progress, CvRunLog* log) : m_progress(progress), m_log(log) {}

    bool Fail(const QString& text) {
        if (m_error.isEmpty())
            m_error = text;
        return false;
    }
    // Runs the statement; a failure keeps the server's description of it.
    bool RunStatement(CxSQL* sql, const QString& statement, CxResult* out = nullptr);
    bool Cancelled() const { return m_progress && m_progress->IsCancelled(); }
    void Info(const QString& text) {
        if (m_log)
            m_log->AddInfoMessage(text, 1);
    }
    void Warning(const QString& text) {
        if (m_log)
            m_log->AddWarning(text, 1);
    }

    CvProgress* m_progress;
    CvRunLog* m_log;
    QString m_error;
};
