// Each database test on a broken fixture: what it repairs, what it journals,
// what it answers; a repair the server refuses; the runner.
#include "exchange/dbtests/kelda_db_tests.h"
#include "framework/core/dbtest/change_journal.h"
#include "framework/core/progress.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <functional>
#include <memory>

namespace {

using Factory = std::function<CvDBTest*()>;

Factory FactoryOf(const QString& name) {
    static const QMap<QString, Factory> factories = {
        {"ClientsFolders", [] { return new CKDDBTest_ClientsFolders; }},
        {"ClientDataChanges", [] { return new CKDDBTest_ClientDataChanges; }},
        {"DrugUseData", [] { return new CKDDBTest_DrugUseData; }},
        {"SocialStatus", [] { return new CKDDBTest_SocialStatus; }},
        {"RiskBehavior", [] { return new CKDDBTest_RiskBehavior; }},
        {"VisitsNPP", [] { return new CKDDBTest_VisitsNPP; }},
        {"ReportCliTest", [] { return new CKDDBTest_ReportCliTest; }},
        {"Worker", [] { return new CKDDBTest_Worker; }},
        {"WorkPlace", [] { return new CKDDBTest_WorkPlace; }},
        {"Folders", [] { return new CKDDBTest_Folders; }},
        {"CalcCRC", [] { return new CKDDBTest_CalcCRC; }},
    };
    return factories.value(name);
}

class Progress : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int count, const QString& caption) override {
        ranges << QStringLiteral("%1 %2").arg(count).arg(caption);
    }
    void Step(const QString& = QString(), int = 1) override { ++steps; }
    void EndProgress(const QString& text) override { end = text; }
    bool IsCancelled() const override { return cancelled; }
    QStringList ranges;
    int steps = 0;
    QString end;
    bool cancelled = false;
};

// Journal entries, oldest first, as "caption|text" (line breaks as "/").
QStringList Journal(TestDatabase& db) {
    QList<CvLogEntry> entries;
    QString error;
    if (!CvLogRef::Read(db.Connection(), 0, 1000, &entries, &error))
        return {error};
    QStringList out;
    for (const CvLogEntry& e : entries)
        out.prepend(e.caption + u'|' +
                    QString(e.text).replace(QStringLiteral("\r\n"), QStringLiteral("/")));
    return out;
}

// Directory: service point 1, workers 2 (and folder 3 of workers), material 4,
// a service (type 4) 5 that is a material too, a drug 6. Organisation 7.
void BaseRows(TestDatabase& db) {
    db.Exec(QStringLiteral(
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown) VALUES "
        "(1,0,0,'Пункт',1,1,0,0),(2,0,0,'Работник',2,0,0,0),(3,0,1,'Папка',2,0,0,0),"
        "(4,0,0,'Шприц',3,65537,0,0),(6,0,0,'Героин',4,1,0,0)"));
    db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID) VALUES (0,'OWN'),(7,'ORG7')"));
}

} // namespace

class TestKeldaDBTests : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        SchemaTestDatabase db; // the journal's table comes with the first run
        QVERIFY(CvLogRef::EnsureTable(db.Connection(), nullptr));
    }

    void brokenFixtureIsRepaired_data() {
        QTest::addColumn<QString>("test");
        QTest::addColumn<QStringList>("fixture");
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("repaired");
        QTest::addColumn<QStringList>("journal");

        QTest::newRow("clients in deleted folders")
            << "ClientsFolders"
            << QStringList{"INSERT INTO clientdata "
                           "(ROWID,cClientCode,nBirthYear,nSex,bIsFolder,nGroupID,"
                           "nEthnicity,nRelCount) VALUES (1,'Папка',NULL,NULL,1,99,0,0),"
                           "(2,'АБВ0190Ч`72',1990,1,0,1,0,0),(3,'где1590ж',1990,2,0,77,0,0),"
                           "(4,'ГДЕ1591Ж',1990,2,0,0,0,0)"}
            << "SELECT ROWID,nGroupID,bNewCode FROM clientdata ORDER BY ROWID"
            // The folder moves to the root, its client stays in it; the
            // codes that follow the rules are marked (the suffix and the
            // letter case aside), the one of the wrong year is not.
            << "1|0|0;2|1|1;3|0|1;4|0|0"
            << QStringList{
                   "Восстановление клиентов из удаленных папок|Всего будет затронуто 2 клиентов ",
                   "Клиент: папка|Клиент 1/Папка", "Клиент: папка|Клиент 3/где1590ж"};

        for (const char* table :
             {"clientdatachanges", "drugusedata", "socialstatus", "riskbehavior"}) {
            const QString t = QString::fromLatin1(table);
            const QString test = t == "clientdatachanges" ? "ClientDataChanges"
                                 : t == "drugusedata"     ? "DrugUseData"
                                 : t == "socialstatus"    ? "SocialStatus"
                                                          : "RiskBehavior";
            QTest::newRow(qPrintable(t + " rows without a client"))
                << test
                << QStringList{"INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,"
                               "nEthnicity,nRelCount) VALUES (2,'К',0,0,0,0)",
                               QStringLiteral("INSERT INTO %1 (ROWID,nClientID,dDate) VALUES "
                                              "(1,2,'2021-01-01'),(2,99,'2021-01-01'),"
                                              "(3,NULL,'2021-01-02')")
                                   .arg(t)}
                << QStringLiteral("SELECT ROWID FROM %1 ORDER BY ROWID").arg(t) << "1"
                << QStringList{QStringLiteral("удаление данных непривязанных к клиенту, таблица "
                                              "%1|Всего будет затронуто 2 записей ")
                                   .arg(t),
                               t + "|99", t + "|"};
        }

        QTest::newRow("references to missing workers")
            << "Worker"
            << QStringList{"INSERT INTO dailyreport "
                           "(ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,"
                           "nGroupID,bIsFolder) VALUES (1,'2021-03-04',2,0,-1,1,0,0),"
                           "(2,'2021-03-05',55,55,55,1,0,0),(3,'2021-03-06',3,2,-1,1,0,0),"
                           "(4,'1900-01-01',55,-1,-1,-1,0,1)"}
            << "SELECT ROWID,nWorker1,nWorker2,nWorker3 FROM dailyreport ORDER BY ROWID"
            // 0 and a folder of workers are no workers; folder rows of reports
            // are left alone.
            << "1|2|-1|-1;2|-1|-1|-1;3|-1|2|-1;4|55|-1|-1"
            << QStringList{
                   "Удаление неверных ссылок в ведомостях|Всего будет затронуто 3 ведомостей ",
                   "Ведомости: соцработники|Ведомость 1/2021-03-04/Социальный рабоник номер: 2, "
                   "код: 0",
                   "Ведомости: соцработники|Ведомость 2/2021-03-05/Социальный рабоник номер: 1, "
                   "код: 55/Социальный рабоник номер: 2, код: 55/Социальный рабоник номер: 3, код: "
                   "55",
                   "Ведомости: соцработники|Ведомость 3/2021-03-06/Социальный рабоник номер: 1, "
                   "код: 3"};

        QTest::newRow("references to missing service points")
            << "WorkPlace"
            << QStringList{"INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,"
                           "nWorkPlace,nGroupID,bIsFolder) VALUES (1,'2021-03-04',2,-1,-1,1,0,0),"
                           "(2,'2021-03-05',2,-1,-1,2,0,0),(3,'2021-03-06',2,-1,-1,-1,0,0)"}
            << "SELECT ROWID,nWorkPlace FROM dailyreport ORDER BY ROWID"
            << "1|1;2|-1;3|-1"
            << QStringList{
                   "Удаление неверных ссылок в ведомостях|Всего будет затронуто 1 ведомостей ",
                   "Ведомости: место предоставления услуги|Ведомость 2/2021-03-05/Код: 2"};

        QTest::newRow("reports in deleted folders")
            << "Folders"
            << QStringList{"INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,nGroupID,"
                           "bIsFolder) VALUES (1,'1900-01-01',-1,-1,0,1),(2,'2021-03-04',2,1,1,0),"
                           "(3,'2021-03-05',2,1,9,0)"}
            << "SELECT ROWID,nGroupID FROM dailyreport ORDER BY ROWID"
            << "1|0;2|1;3|0"
            << QStringList{"Восстановление ведомостей из удаленных папок|Всего будет затронуто 1 "
                           "ведомостей ",
                           "Ведомости: папка|Ведомость 3/2021-03-05/"};

        QTest::newRow("duplicate sort numbers across sheets")
            << "VisitsNPP"
            << QStringList{"INSERT INTO dailyvisits (ROWID,nReportID,nVedID,NPP,nClientID,nItem,"
                           "nCount) VALUES (1,1,1,1,10,4,1),(2,1,1,1,11,4,1),(3,1,2,2,12,4,1),"
                           "(4,1,2,2,12,5,1),(5,2,1,1,10,4,1),(6,2,1,5,11,4,1)"}
            << "SELECT ROWID,NPP,nClientID FROM dailyvisits ORDER BY ROWID"
            // Report 1 is renumbered over both sheets; report 2 is in order.
            << "1|1|10;2|2|11;3|3|12;4|3|12;5|1|10;6|5|11"
            << QStringList{"исправление кодов сортировки|Всего будет затронуто 1 ведомостей ",
                           "исправление кодов сортировки|Ведомость 1"};

        QTest::newRow("visit rows without report, client or material")
            << "ReportCliTest"
            << QStringList{"INSERT INTO clientdata "
                           "(ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,"
                           "nRelCount,nRegionDataID) VALUES "
                           "(10,'Свой',0,0,0,0,0),(11,'Чужой',0,0,0,0,7)",
                           "INSERT INTO dailyreport "
                           "(ROWID,dDate,nWorker1,nWorkPlace,nGroupID,bIsFolder,"
                           "nRegionDataID) VALUES (1,'2021-03-04',2,1,0,0,0)",
                           "INSERT INTO dailyvisits "
                           "(ROWID,nReportID,nClientID,nItem,nCount,nRegionDataID) "
                           "VALUES (1,1,10,4,3,0),(2,9,10,4,3,0),(3,1,11,4,3,0),(4,1,10,6,3,0),"
                           "(5,1,99,4,3,0)",
                           "CREATE TABLE _cache_fast (n INT)"}
            << "SELECT GROUP_CONCAT(ROWID ORDER BY ROWID),(SELECT COUNT(*) FROM "
               "information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND TABLE_NAME LIKE "
               "'\\_cache\\_%') FROM dailyvisits"
            // The report row 2 names no report, 3's client belongs to another
            // organisation, 4's item is a drug, 5's client is gone; the work
            // table is dropped.
            << "1|0"
            << QStringList{"удаление несвязанных записей детальных строк ведомостей|Всего будет "
                           "затронуто 4 записей ",
                           "Ведомости: строки без связей|Строка 2: ведомость 9, клиент 10, "
                           "материал 4, количество 3",
                           "Ведомости: строки без связей|Строка 3: ведомость 1, клиент 11, "
                           "материал 4, количество 3",
                           "Ведомости: строки без связей|Строка 4: ведомость 1, клиент 10, "
                           "материал 6, количество 3",
                           "Ведомости: строки без связей|Строка 5: ведомость 1, клиент 99, "
                           "материал 4, количество 3"};

        QTest::newRow("own reports without a checksum")
            << "CalcCRC"
            << QStringList{"INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,nGroupID,"
                           "bIsFolder,nRegionDataID,nCrc) VALUES (1,'2021-03-04',2,1,0,0,0,NULL),"
                           "(2,'2021-03-05',2,1,0,0,0,12345),(3,'2021-03-06',2,1,0,0,7,0),"
                           "(4,'2021-03-07',2,1,0,0,0,0)",
                           "INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,"
                           "nRegionDataID) VALUES (1,1,10,4,3,0)"}
            << "SELECT ROWID,IF(ROWID IN (1,4),nCrc<>0,nCrc) FROM dailyreport ORDER BY ROWID"
            // Another organisation's report and a report with a checksum are
            // left alone.
            << "1|1;2|12345;3|0;4|1" << QStringList{};
    }

    void brokenFixtureIsRepaired() {
        QFETCH(QString, test);
        QFETCH(QStringList, fixture);
        QFETCH(QString, check);
        QFETCH(QString, repaired);
        QFETCH(QStringList, journal);
        SchemaTestDatabase db;
        QVERIFY(CvLogRef::EnsureTable(db.Connection(), nullptr));
        BaseRows(db);
        for (const QString& s : fixture)
            db.Exec(s);
        std::unique_ptr<CvDBTest> dbTest(FactoryOf(test)());
        Progress progress;
        dbTest->SetOwner(db.Connection(), &progress);
        QVERIFY2(dbTest->FullTest(), qPrintable(dbTest->GetFailure()));
        QCOMPARE(progress.end, QStringLiteral("Ok"));
        QCOMPARE(db.Rows(check), repaired);
        QCOMPARE(Journal(db), journal);
        // Run again: nothing left to repair, nothing more journaled.
        QVERIFY(dbTest->FullTest());
        QCOMPARE(db.Rows(check), repaired);
        QCOMPARE(Journal(db), journal);
    }

    // The server refuses the repair: the test fails with the server's
    // reason, and neither the repair nor its journal lines stay.
    void failedRepairIsAFailure() {
        SchemaTestDatabase db;
        QVERIFY(CvLogRef::EnsureTable(db.Connection(), nullptr));
        BaseRows(db);
        db.Exec(QStringLiteral(
            "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,"
            "nWorkPlace,nGroupID,bIsFolder) VALUES (1,'2021-03-04',55,55,-1,1,0,0)"));
        // The first of the three updates goes through, the second is refused.
        db.Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON dailyreport FOR EACH ROW "
                               "IF NEW.nWorker2<>OLD.nWorker2 THEN SIGNAL SQLSTATE '45000' SET "
                               "MESSAGE_TEXT='refused by the fixture'; END IF"));
        CKDDBTest_Worker test;
        Progress progress;
        test.SetOwner(db.Connection(), &progress);
        QVERIFY(!test.FullTest());
        QVERIFY2(test.GetFailure().contains(QLatin1String("refused by the fixture")),
                 qPrintable(test.GetFailure()));
        QCOMPARE(progress.end, test.GetFailure());
        QCOMPARE(db.Rows(QStringLiteral("SELECT nWorker1,nWorker2 FROM dailyreport")),
                 QStringLiteral("55|55"));
        QVERIFY(Journal(db).isEmpty());
    }

    // A statement that follows the repair fails (the marking of new client
    // codes, the drop of the work tables, the storing of checksums): the test
    // fails with the reason and its progress does not end in "Ok".
    void failureAfterTheRepairIsAFailure_data() {
        QTest::addColumn<QString>("test");
        QTest::addColumn<QStringList>("fixture");
        QTest::addColumn<QString>("failure");
        QTest::newRow("new client codes not marked")
            << "ClientsFolders"
            << QStringList{"INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,nSex,bIsFolder,"
                           "nGroupID,nEthnicity,nRelCount) VALUES (1,'АБВ0190Ч',1990,1,0,0,0,0)",
                           "CREATE TRIGGER refuse BEFORE UPDATE ON clientdata FOR EACH ROW "
                           "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='refused by the fixture'"}
            << "refused by the fixture";
        QTest::newRow("work tables not dropped")
            << "ReportCliTest"
            << QStringList{"CREATE TABLE _cache_parent (n INT PRIMARY KEY) ENGINE=InnoDB",
                           "CREATE TABLE holder (n INT, FOREIGN KEY (n) REFERENCES "
                           "_cache_parent (n)) ENGINE=InnoDB"}
            << "Не удалось удалить рабочие таблицы отчетов";
        QTest::newRow("checksums not stored")
            << "CalcCRC"
            << QStringList{"INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,nGroupID,"
                           "bIsFolder,nRegionDataID) VALUES (1,'2021-03-04',2,1,0,0,0)",
                           "CREATE TRIGGER refuse BEFORE UPDATE ON dailyreport FOR EACH ROW "
                           "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='refused by the fixture'"}
            << "refused by the fixture";
    }

    void failureAfterTheRepairIsAFailure() {
        QFETCH(QString, test);
        QFETCH(QStringList, fixture);
        QFETCH(QString, failure);
        SchemaTestDatabase db;
        QVERIFY(CvLogRef::EnsureTable(db.Connection(), nullptr));
        BaseRows(db);
        for (const QString& s : fixture)
            db.Exec(s);
        std::unique_ptr<CvDBTest> dbTest(FactoryOf(test)());
        Progress progress;
        dbTest->SetOwner(db.Connection(), &progress);
        QVERIFY(!dbTest->FullTest());
        QVERIFY2(dbTest->GetFailure().contains(failure), qPrintable(dbTest->GetFailure()));
        QVERIFY(progress.end != QLatin1String("Ok"));
        db.Exec(QStringLiteral("DROP TABLE IF EXISTS holder"));
    }

    void runnerRunsEveryTestInOrder() {
        SchemaTestDatabase db;
        BaseRows(db);
        db.Exec(QStringLiteral(
            "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,"
            "nWorkPlace,nGroupID,bIsFolder) VALUES (1,'2021-03-04',55,-1,-1,1,0,0)"));
        db.Exec(QStringLiteral("INSERT INTO clientdatachanges (ROWID,nClientID,dDate) VALUES "
                               "(1,99,'2021-01-01')"));
        QList<CvDBTestResult> results;
        QString error;
        Progress progress;
        QVERIFY2(TestDB(db.Connection(), &progress, &results, &error), qPrintable(error));
        QStringList names;
        int last = 0;
        for (const CvDBTestResult& r : results) {
            QVERIFY(r.ok);
            QVERIFY(r.order >= last);
            last = r.order;
            names << r.name;
        }
        QCOMPARE(names.size(), 11);
        QCOMPARE(names.first(), QStringLiteral("Ведомости: Проверка кодов социальных работников"));
        QCOMPARE(names.last(), QStringLiteral("Проверка контрольных сумм"));
        QVERIFY(names.contains(
            QStringLiteral("Проверка связей визитов с отчетами, клиентами и материалами")));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT nWorker1 FROM dailyreport")),
                 QStringLiteral("-1"));
        QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM clientdatachanges")),
                 QStringLiteral("0"));
        QCOMPARE(Journal(db).size(), 4);
        // A second run finds nothing.
        QVERIFY(TestDB(db.Connection(), &progress, &results, &error));
        QCOMPARE(Journal(db).size(), 4);

        // A failing test is reported and the others still run; a stop ends
        // the run before the next test.
        db.Exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON clientdatachanges FOR EACH "
                               "ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT='no'"));
        db.Exec(QStringLiteral("INSERT INTO clientdatachanges (ROWID,nClientID,dDate) VALUES "
                               "(2,99,'2021-01-01')"));
        QVERIFY(!TestDB(db.Connection(), &progress, &results, &error));
        QCOMPARE(results.size(), 11);
        int failed = 0;
        for (const CvDBTestResult& r : results)
            if (!r.ok) {
                ++failed;
                QCOMPARE(r.name, QStringLiteral("Клиенты: изменение уязвимой группы"));
                QVERIFY(r.failure.contains(QLatin1String("no")));
            }
        QCOMPARE(failed, 1);
        progress.cancelled = true;
        QVERIFY(!TestDB(db.Connection(), &progress, &results, &error));
        QVERIFY(results.isEmpty());
        QVERIFY(!error.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestKeldaDBTests)
#include "test_kelda_db_tests.moc"
