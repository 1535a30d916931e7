#include "rep_trainings_doc.h"

#include "framework/core/report/rep_doc.h"
#include "framework/core/select/temp_table.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/enums/directory_enums.h"
#include "visits_templates.h"

#include <memory>
#include <vector>

namespace {
constexpr CxTr Tr;
constexpr CxTr TrInit("CRepTrainingsDoc::OnInitHTML");

// A statement that failed: its text and the server's message.
struct Failed {
    QString text;
    QString statement;
};
} // namespace

CRepTrainingsDoc::CRepTrainingsDoc(QObject* parent) : CRepDoc(parent) {
    InitVisitsTemplates();
    m_template.Load(kTrainingsTemplateID);
}

QString CRepTrainingsDoc::GetReportTitle() {
    return Tr("Отчет по проведенным тренингам", "CRepTrainingsDoc::GetReportTitle");
}

QString CRepClientInfoDoc::GetReportTitle() {
    return Tr("Информация о визите клиента", "CRepClientInfoDoc::GetReportTitle");
}

QString CRepTrainingsDoc::Block(const QString& sql, const QString& section,
                                const QString& caption) {
    CxResult rows = GetSQL()->Execute(sql);
    if (!rows.isValid())
        throw Failed{rows.Error().text, sql};
    const QString tr = m_template.GetSection(QStringLiteral("TR"));
    QString details;
    long clients = 0;
    long hours = 0;
    long count = 0;
    while (rows.FetchRow()) {
        const long rowCount = rows.LFieldValue(QStringLiteral("nCount"));
        const long rowClients = rows.LFieldValue(QStringLiteral("nNumberOfClients"));
        const long rowHours = rows.LFieldValue(QStringLiteral("nTimeInHours"));
        count += rowCount;
        clients += rowClients;
        hours += rowHours;
        details += CxString::StrTr(
            tr, {{QStringLiteral("%TEXT%"), SafeHTML(rows.SFieldValue(QStringLiteral("cString")))},
                 {QStringLiteral("%COUNT%"), QString::number(rowCount)},
                 {QStringLiteral("%CLIENTS%"), QString::number(rowClients)},
                 {QStringLiteral("%CLIENTS_REAL%"),
                  QString::number(rows.LFieldValue(QStringLiteral("nUNumber")))},
                 {QStringLiteral("%TIME%"), QString::number(rowHours)}});
    }
    return CxString::StrTr(m_template.GetSection(section),
                           {{QStringLiteral("%TEXT%"), SafeHTML(caption)},
                            {QStringLiteral("%COUNT%"), QString::number(count)},
                            {QStringLiteral("%CLIENTS%"), QString::number(clients)},
                            {QStringLiteral("%CLIENTS_REAL%"), QString::number(m_unique)},
                            {QStringLiteral("%TIME%"), QString::number(hours)}}) +
           details;
}

void CRepTrainingsDoc::OnInitHTML(CAccStringT<wchar_t>& html) {
    m_error.clear();
    m_unique = 0;
    const QString s = from.toString(QStringLiteral("yyyy-MM-dd"));
    const QString e = to.toString(QStringLiteral("yyyy-MM-dd"));
    const QString period = QStringLiteral(" WHERE dDate BETWEEN '%1' AND '%2'").arg(s, e);
    const QString pairs =
        QStringLiteral("COUNT(DISTINCT traininglist.nForType,trainingssubdata.nClientID) AS "
                       "nUNumber FROM traininglist LEFT JOIN trainingssubdata ON "
                       "trainingssubdata.nTrainingID=traininglist.ROWID") +
        period;
    // Both tables are the build's own: dropped when it ends, whatever happens.
    std::vector<std::unique_ptr<CxSQLTempTable>> tables;
    const auto temp = [&](const QString& select) {
        tables.push_back(std::make_unique<CxSQLTempTable>(
            GetSQL(), QString(), QStringLiteral("CREATE TEMPORARY TABLE $$$ AS ") + select));
        CxSQLError error;
        if (!tables.back()->Create(&error))
            throw Failed{error.text, error.statement};
        return tables.back()->GetName();
    };
    QString rowsHtml;
    try {
        const QString uniqueSql = QStringLiteral("SELECT ") + pairs;
        CxResult unique = GetSQL()->Execute(uniqueSql);
        if (!unique.isValid())
            throw Failed{unique.Error().text, uniqueSql};
        if (unique.FetchRow())
            m_unique = unique.SFieldValue(0).toLong();

        const QString t1 = temp(QStringLiteral("SELECT traininglist.nTopicID AS ROWID,") + pairs +
                                QStringLiteral(" GROUP BY traininglist.nTopicID"));
        rowsHtml +=
            Block(QStringLiteral("SELECT MAX(dir.cString) AS cString,COUNT(*) AS nCount, "
                                 "SUM(nNumberOfClients) AS nNumberOfClients,SUM(nTimeInHours) "
                                 "AS nTimeInHours,MAX(") +
                      t1 + QStringLiteral(".nUNumber) AS nUNumber FROM traininglist LEFT JOIN ") +
                      t1 + QStringLiteral(" ON ") + t1 +
                      QStringLiteral(".ROWID=traininglist.nTopicID LEFT JOIN dir ON "
                                     "dir.ROWID=traininglist.nTopicID") +
                      period + QStringLiteral(" GROUP BY nTopicID ORDER BY cString,nTopicID"),
                  QStringLiteral("TR.TOTAL"), TrInit("По теме, Всего"));

        const QString t2 = temp(QStringLiteral("SELECT traininglist.nForType AS ROWID,") + pairs +
                                QStringLiteral(" GROUP BY traininglist.nForType"));
        rowsHtml +=
            Block(QStringLiteral("SELECT ") +
                      g_pTrainingFor->GetSQL(QStringLiteral("traininglist.nForType")) +
                      QStringLiteral(" AS cString,COUNT(*) AS nCount, SUM(nNumberOfClients) AS "
                                     "nNumberOfClients,SUM(nTimeInHours) AS nTimeInHours,MAX(") +
                      t2 + QStringLiteral(".nUNumber) AS nUNumber FROM traininglist LEFT JOIN ") +
                      t2 + QStringLiteral(" ON ") + t2 +
                      QStringLiteral(".ROWID=traininglist.nForType") + period +
                      QStringLiteral(" GROUP BY traininglist.nForType ORDER BY "
                                     "traininglist.nForType"),
                  QStringLiteral("TR.SUMMARY"), TrInit("Целевая группа"));
    } catch (const Failed& failed) {
        m_error = failed.text + u'\n' + failed.statement;
        CTarvikApp::AddErrorMessage(m_error);
        html.Add(CxString::StrTr(m_template.GetSection(QStringLiteral("ERROR")),
                                 {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
                                  {QStringLiteral("%MESSAGE%"), SafeHTML(failed.text)},
                                  {QStringLiteral("%STATEMENT%"), SafeHTML(failed.statement)}}));
        return;
    }

    QString period2 = TrInit("в период с %s по %s");
    const QString fromText = DateToText(from);
    const QString toText = DateToText(to);
    qsizetype at = period2.indexOf(QLatin1String("%s"));
    if (at >= 0) {
        period2.replace(at, 2, fromText);
        at = period2.indexOf(QLatin1String("%s"), at + fromText.size());
        if (at >= 0)
            period2.replace(at, 2, toText);
    }
    const QString title = GetReportTitle() + u' ' + period2;
    html.Add(CxString::StrTr(
        m_template.GetSection(QStringLiteral("BODY")),
        {{QStringLiteral("%TITLE%"), SafeHTML(title)},
         {QStringLiteral("%TIME%"), SafeHTML(TrInit("Время в часах"))},
         {QStringLiteral("%CLIENTS_REAL%"),
          SafeHTML(TrInit("Уникальное количество протренированных людей"))},
         {QStringLiteral("%CLIENTS%"), SafeHTML(TrInit("Количество протренированных людей"))},
         {QStringLiteral("%COUNT%"), SafeHTML(TrInit("Количество тренингов"))},
         {QStringLiteral("%ROWS%"), rowsHtml}}));
}
