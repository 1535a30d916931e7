#include "report_sql.h"

#include "framework/core/progress.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "reports/base/core/rep_base_data.h"

namespace ReportSQL {
QString FailureHTML(const QString& sql, const CxResult& result) {
    return SafeHTML(sql) + QStringLiteral("<br/><b>") + SafeHTML(result.Error().text) +
           QStringLiteral("</b>");
}

CxResult Query(CRepBaseData* run, const QString& sql) {
    if (run->GetProgress() && run->GetProgress()->IsCancelled())
        throw CRepError{CTarvikApp::TranslateString(
                            QStringLiteral("Формирование отчета прервано пользователем"),
                            QStringLiteral("msgReportCancelled")),
                        true};
    CxResult result = run->GetSQL()->Execute(sql);
    if (!result.isValid())
        throw CRepError{FailureHTML(sql, result)};
    run->AddProgressDot();
    return result;
}

QString ShownDate(const QDate& date) {
    return DateToText(date);
}
} // namespace ReportSQL
