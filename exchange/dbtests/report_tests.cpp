// Tests of the daily reports: references to workers and service points that
// no longer exist, reports in deleted folders, duplicate sort numbers and
// visit rows without their report, client or material.
#include "db/schema/cache_tables.h"
#include "framework/core/dbtest/change_journal.h"
#include "framework/core/tarvik_app.h"
#include "kelda_db_tests.h"

IMPLEMENT_DBTEST(CKDDBTest_Worker);
IMPLEMENT_DBTEST(CKDDBTest_WorkPlace);
IMPLEMENT_DBTEST(CKDDBTest_Folders);
IMPLEMENT_DBTEST(CKDDBTest_VisitsNPP);
IMPLEMENT_DBTEST(CKDDBTest_ReportCliTest);

namespace {
// "Ведомость {nomer}/{date}" of the report in the row.
QString ReportLine(const QString& format, const CxResult& row) {
    return QString(format)
        .replace(QLatin1String("{nomer}"), row.SFieldValue(QStringLiteral("ROWID")))
        .replace(QLatin1String("{date}"), row.SFieldValue(QStringLiteral("dDate")));
}

QString WorkerSelect(int n) {
    return QStringLiteral(
               "SELECT IF(ISNULL(d1.ROWID),dailyreport.nWorker%1,-1) AS r1 FROM dailyreport LEFT "
               "JOIN dir AS d1 ON d1.ROWID=dailyreport.nWorker%1 AND d1.nDirType=2 AND NOT "
               "d1.bIsFolder WHERE (ISNULL(d1.ROWID) AND dailyreport.nWorker%1<>-1) AND NOT "
               "dailyreport.bIsFolder GROUP BY r1")
        .arg(n);
}
} // namespace

QString CKDDBTest_Worker::GetTestName() const {
    return Tr(QStringLiteral("Ведомости: Проверка кодов социальных работников"),
              QStringLiteral("CKDDBTest_Worker::GetTestName"));
}

bool CKDDBTest_Worker::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_Worker::FullTest");
    Repair repair;
    repair.context = context;
    // A worker 0 names no worker entry, so it counts as a bad reference.
    repair.tempTable = QStringLiteral("CREATE TEMPORARY TABLE $$$ ") + WorkerSelect(1) +
                       QStringLiteral(" UNION DISTINCT ") + WorkerSelect(2) +
                       QStringLiteral(" UNION DISTINCT ") + WorkerSelect(3);
    repair.select = QStringLiteral("SELECT dr.*,r1 FROM %TMP% JOIN dailyreport AS dr ON "
                                   "(dr.nWorker1=r1 OR dr.nWorker2=r1 OR dr.nWorker3=r1) AND NOT "
                                   "dr.bIsFolder ORDER BY dr.ROWID,r1");
    repair.summaryCaption = Tr(QStringLiteral("Удаление неверных ссылок в ведомостях"), context);
    repair.summaryText = Tr(QStringLiteral("Всего будет затронуто {num} ведомостей "), context);
    const QString caption = Tr(QStringLiteral("Ведомости: соцработники"), context);
    const QString report = Tr(QStringLiteral("Ведомость {nomer}/{date}"), context);
    const QString worker =
        Tr(QStringLiteral("Социальный рабоник номер: {nomer}, код: {code}"), context);
    repair.row = [=](const CxResult& row) {
        QStringList lines{ReportLine(report, row)};
        const QString bad = row.SFieldValue(QStringLiteral("r1"));
        for (int n = 1; n <= 3; ++n)
            if (row.SFieldValue(QStringLiteral("nWorker%1").arg(n)) == bad)
                lines << QString(worker)
                             .replace(QLatin1String("{nomer}"), QString::number(n))
                             .replace(QLatin1String("{code}"), bad);
        return qMakePair(caption, lines.join(QStringLiteral("\r\n")));
    };
    repair.repairCaption = Tr(QStringLiteral("удаление несуществующих ссылок"), context);
    // Only the reports found and journaled change; folder rows are no reports.
    for (int n = 1; n <= 3; ++n)
        repair.statements << QStringLiteral("UPDATE dailyreport,%TMP% SET nWorker%1=-1 WHERE "
                                            "nWorker%1=r1 AND NOT dailyreport.bIsFolder")
                                 .arg(n);
    return RunShared(repair);
}

QString CKDDBTest_WorkPlace::GetTestName() const {
    return Tr(QStringLiteral("Ведомости: Проверка кодов мест работы"),
              QStringLiteral("CKDDBTest_WorkPlace::GetTestName"));
}

bool CKDDBTest_WorkPlace::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_WorkPlace::FullTest");
    Repair repair;
    repair.context = context;
    repair.tempTable = QStringLiteral(
        "CREATE TEMPORARY TABLE $$$ SELECT IF(ISNULL(d1.ROWID),dailyreport.nWorkPlace,-1) AS r1 "
        "FROM dailyreport LEFT JOIN dir AS d1 ON d1.ROWID=dailyreport.nWorkPlace AND "
        "d1.nDirType=1 AND NOT d1.bIsFolder WHERE (ISNULL(d1.ROWID) AND "
        "dailyreport.nWorkPlace<>-1) AND NOT dailyreport.bIsFolder GROUP BY r1");
    repair.select = QStringLiteral(
        "SELECT dr.*,r1 FROM %TMP% JOIN dailyreport AS dr ON dr.nWorkPlace=r1 AND NOT "
        "dr.bIsFolder ORDER BY dr.ROWID");
    repair.summaryCaption = Tr(QStringLiteral("Удаление неверных ссылок в ведомостях"), context);
    repair.summaryText = Tr(QStringLiteral("Всего будет затронуто {num} ведомостей "), context);
    const QString caption = Tr(QStringLiteral("Ведомости: место предоставления услуги"), context);
    const QString report = Tr(QStringLiteral("Ведомость {nomer}/{date}"), context);
    const QString code = Tr(QStringLiteral("Код: {code}"), context);
    repair.row = [=](const CxResult& row) {
        return qMakePair(caption, ReportLine(report, row) + QStringLiteral("\r\n") +
                                      QString(code).replace(QLatin1String("{code}"),
                                                            row.SFieldValue(QStringLiteral("r1"))));
    };
    repair.repairCaption = Tr(QStringLiteral("удаление несуществующих ссылок"), context);
    repair.statements << QStringLiteral(
        "UPDATE dailyreport,%TMP% SET nWorkPlace=-1 WHERE nWorkPlace=r1 AND NOT "
        "dailyreport.bIsFolder");
    return RunShared(repair);
}

QString CKDDBTest_Folders::GetTestName() const {
    return Tr(QStringLiteral("Ведомости: Проверка папок"),
              QStringLiteral("CKDDBTest_Folders::GetTestName"));
}

bool CKDDBTest_Folders::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_Folders::FullTest");
    Repair repair;
    repair.context = context;
    repair.tempTable = QStringLiteral(
        "CREATE TEMPORARY TABLE $$$ SELECT d1.ROWID AS r1 FROM dailyreport AS d1 LEFT JOIN "
        "dailyreport AS d2 ON d2.ROWID=d1.nGroupID WHERE ISNULL(d2.ROWID) AND d1.nGroupID<>0");
    repair.select =
        QStringLiteral("SELECT dr.*,r1 FROM %TMP% JOIN dailyreport AS dr ON dr.ROWID=r1 "
                       "ORDER BY dr.ROWID");
    repair.summaryCaption =
        Tr(QStringLiteral("Восстановление ведомостей из удаленных папок"), context);
    repair.summaryText = Tr(QStringLiteral("Всего будет затронуто {num} ведомостей "), context);
    const QString caption = Tr(QStringLiteral("Ведомости: папка"), context);
    const QString report = Tr(QStringLiteral("Ведомость {nomer}/{date}"), context);
    repair.row = [=](const CxResult& row) {
        return qMakePair(caption, ReportLine(report, row) + QStringLiteral("\r\n"));
    };
    repair.repairCaption = Tr(QStringLiteral("перенос ведомостей"), context);
    repair.statements << QStringLiteral(
        "UPDATE dailyreport,%TMP% SET nGroupID=0 WHERE dailyreport.ROWID=r1");
    return RunShared(repair);
}

QString CKDDBTest_VisitsNPP::GetTestName() const {
    return Tr(QStringLiteral("Проверка поля сортировки ведомостей"),
              QStringLiteral("msgRepSortTest"));
}

bool CKDDBTest_VisitsNPP::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_VisitsNPP::FullTest");
    BeginProgress(GetTestName());
    CxResult groups = Query(QStringLiteral(
        "SELECT DISTINCT nReportID FROM (SELECT count(distinct nClientID) AS "
        "nCnt,dailyvisits.nReportID,dailyvisits.nVedID FROM dailyvisits GROUP BY "
        "dailyvisits.nReportID,dailyvisits.nVedID,dailyvisits.NPP HAVING nCnt>1) AS d "
        "ORDER BY nReportID"));
    if (!groups.isValid())
        return Finish(false);
    if (groups.RowsCount() == 0)
        return Finish(true);
    CvLogRef journal(GetSQL(), GetTestName());
    const QString caption = Tr(QStringLiteral("исправление кодов сортировки"), context);
    journal.Log(caption, Tr(QStringLiteral("Всего будет затронуто {num} ведомостей "), context)
                             .replace(QLatin1String("{num}"), QString::number(groups.RowsCount())));
    QStringList statements;
    while (groups.FetchRow()) {
        const QString report = QString::number(groups.LFieldValue(0));
        journal.Log(caption, Tr(QStringLiteral("Ведомость {nomer}"), context)
                                 .replace(QLatin1String("{nomer}"), report));
        // The rows of the whole report (every sheet) in the order (NPP,
        // client) get numbers from 1 up, a new one where the client changes.
        statements << QStringLiteral(
                          "UPDATE dailyvisits JOIN (SELECT ROWID,SUM(bNew) OVER (ORDER BY "
                          "NPP,nClientID,ROWID) AS nNew FROM (SELECT ROWID,NPP,nClientID,"
                          "IF(LAG(nClientID) OVER (ORDER BY NPP,nClientID,ROWID)<=>nClientID,0,1) "
                          "AS bNew FROM dailyvisits WHERE nReportID=%1) AS c) AS n ON "
                          "n.ROWID=dailyvisits.ROWID SET dailyvisits.NPP=n.nNew")
                          .arg(report);
    }
    return Finish(RunRepair(caption, statements, &journal));
}

QString CKDDBTest_ReportCliTest::GetTestName() const {
    return Tr(QStringLiteral("Проверка связей визитов с отчетами, клиентами и материалами"),
              QStringLiteral("msgDailyVisitsLinkTest"));
}

bool CKDDBTest_ReportCliTest::FullTest() {
    const QString context = QStringLiteral("CKDDBTest_ReportCliTest::FullTest");
    Repair repair;
    repair.context = context;
    // A report and a client count only when they belong to the row's own
    // organisation; the item must be a material.
    repair.tempTable = QStringLiteral(
        "CREATE TEMPORARY TABLE $$$ select dailyvisits.ROWID AS r1,dailyvisits.nReportID,"
        "dailyvisits.nClientID,dailyvisits.nItem,dailyvisits.nCount FROM dailyvisits left join "
        "dailyreport on dailyreport.ROWID=dailyvisits.nReportID and "
        "dailyreport.nRegionDataID=dailyvisits.nRegionDataID left join clientdata on "
        "clientdata.ROWID=dailyvisits.nClientID and "
        "clientdata.nRegionDataID=dailyvisits.nRegionDataID left join dir on "
        "dir.ROWID=dailyvisits.nItem and dir.nDirType= 3 where isnull(clientdata.ROWID) or "
        "isnull(dailyreport.ROWID) or isnull(dir.ROWID)");
    repair.select = QStringLiteral("SELECT * FROM %TMP% ORDER BY r1");
    repair.summaryCaption =
        Tr(QStringLiteral("удаление несвязанных записей детальных строк ведомостей"),
           QStringLiteral("msgRemovingIncorrectRecord"));
    repair.summaryText = Tr(QStringLiteral("Всего будет затронуто {num} записей "), context);
    const QString caption = Tr(QStringLiteral("Ведомости: строки без связей"), context);
    const QString text =
        Tr(QStringLiteral("Строка {row}: ведомость {report}, клиент {client}, материал {item}, "
                          "количество {count}"),
           context);
    repair.row = [=](const CxResult& row) {
        return qMakePair(
            caption,
            QString(text)
                .replace(QLatin1String("{row}"), row.SFieldValue(QStringLiteral("r1")))
                .replace(QLatin1String("{report}"), row.SFieldValue(QStringLiteral("nReportID")))
                .replace(QLatin1String("{client}"), row.SFieldValue(QStringLiteral("nClientID")))
                .replace(QLatin1String("{item}"), row.SFieldValue(QStringLiteral("nItem")))
                .replace(QLatin1String("{count}"), row.SFieldValue(QStringLiteral("nCount"))));
    };
    repair.repairCaption = repair.summaryCaption;
    repair.statements << QStringLiteral(
        "DELETE dailyvisits FROM dailyvisits JOIN %TMP% ON dailyvisits.ROWID=r1");
    // The work tables are built from these rows; stale ones would give wrong
    // reports. Dropped whether or not a row was found.
    repair.after = [this, context] {
        // The server's words are in the application's error list.
        return DropCacheTables(GetSQL()) ||
               Fail(Tr(QStringLiteral("Не удалось удалить рабочие таблицы отчетов"), context));
    };
    return RunShared(repair);
}
