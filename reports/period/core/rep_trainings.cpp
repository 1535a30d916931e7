#include "rep_trainings.h"

#include "framework/core/select/temp_table.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/enums/enums.h"
#include "period_templates.h"
#include "report_sql.h"
#include "reports/base/core/rep_base_data.h"

#include <memory>

namespace {
constexpr CxTr Tr;
constexpr const char* kContext = "CRep_Trainings::OnGenerateReport";
} // namespace

CRep_Trainings::CRep_Trainings(QObject* parent) : CRepBase(parent) {
    InitPeriodTemplates();
    m_template.Load(kTrainingsTemplateID);
}

QString CRep_Trainings::GetReportTitle() {
    return Tr("Отчет по тренингам", "msgRepTrainigs");
}

void CRep_Trainings::OnSetupView() {
    if (CRepViewLink* view = GetView())
        view->EnableControl(kRepCtlWorker, false);
}

void CRep_Trainings::AddSection(QString& rows, const QString& section, const QString& head,
                                CxResult& result) {
    long count = 0, clients = 0, hours = 0;
    QString lines;
    const int text = result.FieldPos(QStringLiteral("cString"), 1);
    while (result.FetchRow()) {
        const long rowCount = result.LFieldValue(QStringLiteral("nCount"));
        const long rowClients = result.LFieldValue(QStringLiteral("nNumberOfClients"));
        const long rowHours = result.LFieldValue(QStringLiteral("nTimeInHours"));
        count += rowCount;
        clients += rowClients;
        hours += rowHours;
        lines += CxString::StrTr(m_template.GetSection(QStringLiteral("TR")),
                                 {{QStringLiteral("%TEXT%"), SafeHTML(result.SFieldValue(text))},
                                  {QStringLiteral("%COUNT%"), QString::number(rowCount)},
                                  {QStringLiteral("%TIME%"), QString::number(rowHours)},
                                  {QStringLiteral("%CLIENTS_REAL%"),
                                   QString::number(result.LFieldValue(QStringLiteral("nUNumber")))},
                                  {QStringLiteral("%CLIENTS%"), QString::number(rowClients)}});
    }
    rows += CxString::StrTr(m_template.GetSection(section),
                            {{QStringLiteral("%TEXT%"), SafeHTML(head)},
                             {QStringLiteral("%COUNT%"), QString::number(count)},
                             {QStringLiteral("%TIME%"), QString::number(hours)},
                             {QStringLiteral("%CLIENTS%"), QString::number(clients)},
                             {QStringLiteral("%CLIENTS_REAL%"), QString::number(m_unique)}});
    rows += lines;
}

void CRep_Trainings::OnGenerateReport(CAccStringT<wchar_t>& html) {
    CRepBaseData* run = GetRunData();
    CxSQL* sql = run->GetSQL();
    const QString start = SafeSQL(run->From().toString(QStringLiteral("yyyy-MM-dd")));
    const QString end = SafeSQL(run->To().toString(QStringLiteral("yyyy-MM-dd")));
    // Folders of the trainings journal are no trainings.
    const QString held = QStringLiteral(" WHERE traininglist.dDate BETWEEN ") + start +
                         QStringLiteral(" AND ") + end +
                         QStringLiteral(" AND IFNULL(traininglist.bIsFolder,0)=0");
    const auto temporary = [&](const QString& select) {
        auto table = std::make_unique<CxSQLTempTable>(
            sql, QString(), QStringLiteral("CREATE TEMPORARY TABLE $$$ ") + select);
        CxSQLError error;
        if (!table->Create(&error))
            throw CRepError{SafeHTML(error.statement) + QStringLiteral("<br/><b>") +
                            SafeHTML(error.text) + QStringLiteral("</b>")};
        return table;
    };

    // The regions: the organisations of the chosen points.
    const QString points = run->PrepareSelectedPOU();
    const auto regions = temporary(QStringLiteral("SELECT dir.nRegionDataID AS nRegID FROM ") +
                                   points + QStringLiteral(" JOIN dir ON dir.ROWID=") + points +
                                   QStringLiteral(".ROWID GROUP BY dir.nRegionDataID"));
    const QString r = regions->GetName();
    const QString inRegions = QStringLiteral(" JOIN ") + r +
                              QStringLiteral(" AS tx1 ON tx1.nRegID=traininglist.nRegionDataID");
    const QString participants = QStringLiteral(
        " LEFT JOIN trainingssubdata ON trainingssubdata.nTrainingID=traininglist.ROWID");
    const QString persons =
        QStringLiteral("COUNT(DISTINCT traininglist.nForType,trainingssubdata.nClientID)");

    CxResult total = ReportSQL::Query(run, QStringLiteral("SELECT ") + persons +
                                               QStringLiteral(" AS nUNumber FROM traininglist") +
                                               participants + inRegions + held);
    m_unique = total.FetchRow() ? total.LFieldValue(0) : 0;

    QString rows;
    // By topic.
    const auto byTopic =
        temporary(QStringLiteral("SELECT traininglist.nTopicID AS ROWID,") + persons +
                  QStringLiteral(" AS nUNumber FROM traininglist") + inRegions + participants +
                  held + QStringLiteral(" GROUP BY traininglist.nTopicID"));
    const QString t1 = byTopic->GetName();
    CxResult topics = ReportSQL::Query(
        run, QStringLiteral("SELECT dir.cString,COUNT(*) AS nCount, SUM(nNumberOfClients) AS "
                            "nNumberOfClients,SUM(nTimeInHours) AS nTimeInHours,") +
                 t1 + QStringLiteral(".nUNumber FROM traininglist") + inRegions +
                 QStringLiteral(" LEFT JOIN ") + t1 + QStringLiteral(" ON ") + t1 +
                 QStringLiteral(".ROWID=traininglist.nTopicID LEFT JOIN dir ON "
                                "dir.ROWID=traininglist.nTopicID") +
                 held +
                 QStringLiteral(" GROUP BY traininglist.nTopicID ORDER BY traininglist.nTopicID"));
    AddSection(rows, QStringLiteral("TR.TOTAL"), Tr("По теме, Всего", kContext), topics);

    // By target group.
    const auto byGroup =
        temporary(QStringLiteral("SELECT traininglist.nForType AS ROWID,") + persons +
                  QStringLiteral(" AS nUNumber FROM traininglist") + inRegions + participants +
                  held + QStringLiteral(" GROUP BY traininglist.nForType"));
    const QString t2 = byGroup->GetName();
    CxResult groups = ReportSQL::Query(
        run, QStringLiteral("SELECT ") +
                 g_pTrainingFor->GetSQL(QStringLiteral("traininglist.nForType"), QString()) +
                 QStringLiteral(" AS cString,COUNT(*) AS nCount, SUM(nNumberOfClients) AS "
                                "nNumberOfClients,SUM(nTimeInHours) AS nTimeInHours,") +
                 t2 + QStringLiteral(".nUNumber FROM traininglist") + inRegions +
                 QStringLiteral(" LEFT JOIN ") + t2 + QStringLiteral(" ON ") + t2 +
                 QStringLiteral(".ROWID=traininglist.nForType") + held +
                 QStringLiteral(" GROUP BY traininglist.nForType ORDER BY traininglist.nForType"));
    AddSection(rows, QStringLiteral("TR.SUMMARY"), Tr("Целевая группа", kContext), groups);

    QString period = Tr("в период с %s по %s", kContext);
    for (const QDate& date : {run->From(), run->To()}) {
        const qsizetype at = period.indexOf(QLatin1String("%s"));
        if (at >= 0)
            period.replace(at, 2, ReportSQL::ShownDate(date));
    }
    const QString title = GetReportTitle() + u' ' + period;
    html.Add(CxString::StrTr(
        m_template.GetSection(QStringLiteral("BODY")),
        {{QStringLiteral("%TITLE%"), SafeHTML(title)},
         {QStringLiteral("%COUNT%"), SafeHTML(Tr("Количество тренингов", kContext))},
         {QStringLiteral("%CLIENTS%"), SafeHTML(Tr("Количество протренированных людей", kContext))},
         {QStringLiteral("%CLIENTS_REAL%"),
          SafeHTML(Tr("Уникальное количество протренированных людей", kContext))},
         {QStringLiteral("%TIME%"), SafeHTML(Tr("Время в часах", "msgInHoursTimeTraining"))},
         {QStringLiteral("%ROWS%"), rows}}));
}
