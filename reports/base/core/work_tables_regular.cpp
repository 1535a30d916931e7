// The regular clients of the twelve months (and, for the groups 2 and 4, the
// three months) that end with the run's period end.
#include "framework/core/report/rep_doc.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "rep_base_data.h"

QDate CRepBaseData::RegularYearStart() const {
    // One year back and one day on: 2012-12-31 -> 2012-01-01.
    return m_to.addYears(-1).addDays(1);
}

QDate CRepBaseData::RegularQuarterStart() const {
    // One day on, then three months back (a day the month lacks becomes the
    // month's last): 2012-12-31 -> 2012-10-01, 2013-05-30 -> 2013-02-28.
    return m_to.addDays(1).addMonths(-3);
}

QString CRepBaseData::PrepareRegularClients(const JoinFn& join) {
    const QDate y = RegularYearStart();
    const QDate q = RegularQuarterStart();
    const auto ymd = [](const QDate& d) { return d.toString(QStringLiteral("yyyyMMdd")); };
    const QString name = QStringLiteral("_cache_regc") + ymd(y) + ymd(m_to);
    const QString title = CxString::StrTr(
        CTarvikApp::TranslateString(
            QStringLiteral("Подготовка таблицы регулярных клиентов за период с {startdate} по "
                           "{enddate}"),
            QStringLiteral("msgRegCliTbl")),
        {{QStringLiteral("{startdate}"), DateToText(y)},
         {QStringLiteral("{enddate}"), DateToText(m_to)}});
    BuildTable(name, title, [&](const QString& part) {
        ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                    QStringLiteral(" (nClientID INT NOT NULL PRIMARY KEY) ") + WorkTableOptions());
        // The caller's select is not handed on: joined here, the snapshot
        // would enter it only on the run that builds this table, so the same
        // report would read differently once the table exists. Fields that
        // need the snapshot join it themselves.
        const QString state = PrepareStateClients();
        const QString compact = PrepareCompactTable();
        const auto date = [&](const QDate& d) {
            return QStringLiteral("STR_TO_DATE('") + ymd(d) + QStringLiteral("','%Y%m%d')");
        };
        // Groups other than 2 and 4: visits in at least 12 distinct months of
        // the year. Groups 2 and 4: at least 4 daily reports in at least 2
        // distinct months of the quarter. The risk group is the state on To:
        // each client's lines are counted first and the state looked up once
        // per client, not once per line.
        const QString onTo = QStringLiteral(" JOIN ") + state +
                             QStringLiteral(" AS tt1 ON tt1.nClientID=t.nClientID AND ") +
                             SnapshotHolds(QStringLiteral("tt1"), m_to);
        ExecuteStep(
            QStringLiteral("INSERT INTO ") + part +
            QStringLiteral(" (nClientID) SELECT t.nClientID FROM (SELECT nClientID,COUNT(DISTINCT "
                           "SUBSTR(dDate,1,7)) AS nRegVis FROM ") +
            compact + QStringLiteral(" WHERE dDate BETWEEN ") + date(y) + QStringLiteral(" AND ") +
            date(m_to) + QStringLiteral(" GROUP BY nClientID HAVING nRegVis>11) AS t") + onTo +
            QStringLiteral(" WHERE tt1.nClientType NOT IN (2,4) UNION SELECT t.nClientID FROM "
                           "(SELECT nClientID,COUNT(DISTINCT nReportID) AS nRegVis,COUNT(DISTINCT "
                           "SUBSTR(dDate,1,7)) AS nMonthes FROM ") +
            compact + QStringLiteral(" WHERE dDate BETWEEN ") + date(q) + QStringLiteral(" AND ") +
            date(m_to) +
            QStringLiteral(" GROUP BY nClientID HAVING nRegVis>3 AND nMonthes>1) AS t") + onTo +
            QStringLiteral(" WHERE tt1.nClientType IN (2,4)"));
    });
    if (join)
        join(QStringLiteral("LEFT"), name,
             name + QStringLiteral(".nClientID=") + PrepareSummaryTable() +
                 QStringLiteral(".nClientID"));
    return name;
}
