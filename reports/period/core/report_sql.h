#pragma once
// Running a report's own statements: a statement that fails ends the build on
// the error page with the statement and the server's message; a build the
// user stopped ends there too.
#include "framework/core/sql_result.h"

#include <QDate>
#include <QString>

class CRepBaseData;

namespace ReportSQL {
// Runs the statement on the run's connection; throws CRepError on failure.
CxResult Query(CRepBaseData* run, const QString& sql);
// The error page's description of a failed statement.
QString FailureHTML(const QString& sql, const CxResult& result);
// A date as the page shows it (the user's short format).
QString ShownDate(const QDate& date);
} // namespace ReportSQL
