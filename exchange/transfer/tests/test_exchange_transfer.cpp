// Data exchange between two installations on the real server: organisation A
// sends, B (with data of its own and of another organisation) receives. The
// received rows, their keys, folders and snapshot are checked against values
// worked out by hand; a second import of the same package changes nothing; a
// later load replaces the earlier one; a bad or foreign package, a failing
// snapshot or a cancel leave B exactly as it was.
#include "exchange/transfer/exchange_helper.h"
#include "framework/core/exchange/exchange_sql.h"
#include "framework/core/exchange/sql_export_wizard.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "framework/core/progress.h"
#include "loader/tests/archive_writer.h"
#include "tests/support/schema_test_database.h"
#include "tests/support/table_fingerprint.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

class Log : public CSQLWizardLog {
public:
    QStringList lines;
    void AddInfoMessage(const QString& text, int flag) override {
        lines << QStringLiteral("info%1:").arg(flag) + text;
    }
    void AddWarning(const QString& text, int flag) override {
        lines << QStringLiteral("warn%1:").arg(flag) + text;
    }
};

// Cancels once the given number of steps has been made.
class CancellingProgress : public CvProgress {
public:
    explicit CancellingProgress(int after) : m_after(after) {}
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString&, int steps) override { m_steps += steps; }
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return m_steps >= m_after; }

private:
    int m_after;
    int m_steps = 0;
};

const char kOrgColumns[] = "(ROWID,cOrgID,cOrgName,cPrjName,cSogName,cCity,cRegion,cAddress,"
                           "cPhone,cEMail,cWWW,cBoss,cBossPhone,cProjRuk,cProjRukPhone,cDonors,"
                           "cProjectDate)";

QString OrgRow(int rowId, const QString& id, const QString& name) {
    return QStringLiteral("INSERT INTO orginf %1 VALUES (%2,'%3','%4','','','','','','','','','',"
                          "'','','','','')")
        .arg(QString::fromLatin1(kOrgColumns))
        .arg(rowId)
        .arg(id, name);
}

// Organisation A: a folder of service points, a point, a worker, a material,
// an entry that came from elsewhere (suffix), an entry with a long name;
// clients (one received from elsewhere), their histories with two orphan rows
// of each kind, reports (one folder, one report in it), visits, trainings for
// each audience, redirections and sheet columns.
void FillSender(const TestDatabase& a) {
    a.Exec(OrgRow(0, "ORG-A", "Организация \"А\""));
    a.Exec(OrgRow(1, "ORG-Z", "Чужая"));
    a.Exec(
        QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown,cFlatCode,"
            "nDonorID) VALUES (1,0,1,'Пункты',1,0,0,'001',NULL),(2,1,0,'Пункт 1',1,0,0,NULL,NULL),"
            "(3,0,0,'Иванов',2,0,0,NULL,NULL),(4,0,0,'Шприц ',3,0,0,NULL,6),"
            "(5,0,0,'Игла`7.12',3,0,0,NULL,NULL),(6,0,0,'%1',12,0,0,NULL,NULL)")
            .arg(QString(250, u'Д')));
    a.Exec("INSERT INTO clientdata (ROWID,cClientCode,cGlobalCode,nBirthYear,nSex,bIsFolder,"
           "nGroupID,nSocRab,nEthnicity,nRelCount) VALUES (1,'ABC0185М',NULL,1985,1,0,0,3,0,0),"
           "(2,'DEF1290Ж`3.7','G-2',1990,2,0,0,-1,0,0)");
    a.Exec("INSERT INTO clientdatachanges (ROWID,nClientID,dDate,nClientType,nLastLinkID) VALUES "
           "(1,1,'2024-01-01',1,1),(2,2,'2024-01-01',2,2),(3,99,'2024-01-01',1,NULL),"
           "(4,98,'2024-01-02',1,NULL),(5,1,'2024-02-01',4,97),(6,2,'2024-02-01',4,96),"
           "(7,1,'2023-12-01',2,NULL)");
    a.Exec("INSERT INTO socialstatus (ROWID,nClientID,dDate,nChildCount,nLastLinkID) VALUES "
           "(1,1,'2024-01-01',2,1)");
    a.Exec("INSERT INTO drugusedata (ROWID,nClientID,dDate,nBasicDrug,nSecondaryDrug,"
           "nParticipation,nLastLinkID) VALUES (1,2,'2024-01-01',4,-1,7,2)");
    a.Exec("INSERT INTO healthstatus (ROWID,nClientID,nDisease,nStatus) VALUES (1,1,5,1)");
    a.Exec("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,nGroupID,"
           "bIsFolder,nCrc) VALUES (1,'2024-03-01',3,-1,-1,2,0,0,111),"
           "(2,'1900-01-01',-1,-1,-1,-1,0,1,NULL),(3,'2024-03-05',3,3,-1,2,2,0,333)");
    a.Exec("INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount,NPP) VALUES "
           "(1,1,1,4,5,1),(2,1,2,4,3,2),(3,3,1,5,2,1)");
    a.Exec("INSERT INTO dailyredirects (nReportID,nItem,nConsultKey,nCount,nVedID) VALUES "
           "(1,4,2,1,0)");
    a.Exec("INSERT INTO dailyvisitssubhdr (nReportID,nVedID,nKeyFirst,nKeySecond) VALUES "
           "(1,0,-1,0),(1,0,4,0)");
    a.Exec("INSERT INTO strtoid (ROWID,nGroupID,cStr,nRegionDataID) VALUES (1,5,'Петров',0)");
    a.Exec("INSERT INTO traininglist (ROWID,nTopicID,nForType,nGroupID,bIsFolder,dDate) VALUES "
           "(1,4,1,0,0,'2024-02-01'),(2,4,2,0,0,'2024-02-02'),(3,4,5,0,0,'2024-02-03')");
    a.Exec("INSERT INTO trainingssubdata (nTrainingID,nClientID) VALUES (1,1),(2,3),(3,1)");
}

// Organisation B with data of its own and of organisation C (number 1).
void FillReceiver(const TestDatabase& b) {
    b.Exec(OrgRow(0, "ORG-B", "Организация Б"));
    b.Exec(OrgRow(1, "ORG-C", "Организация В"));
    for (int i = 1; i <= 10; ++i)
        b.Exec(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,"
                              "nTown,nRegionDataID) VALUES (%1,0,0,'Свой %1',3,0,0,%2)")
                   .arg(i)
                   .arg(i > 8 ? 1 : 0));
    for (int i = 1; i <= 5; ++i)
        b.Exec(QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,"
                              "nEthnicity,nRelCount) VALUES (%1,'CODE%1',0,0,0,0)")
                   .arg(i));
    b.Exec("INSERT INTO dailyreport (ROWID,dDate,nGroupID,bIsFolder) VALUES "
           "(1,'2024-01-01',0,0),(2,'2024-01-02',0,0),(3,'2024-01-03',0,0)");
    b.Exec("INSERT INTO dailyvisits (ROWID,nReportID,nClientID,nItem,nCount) VALUES "
           "(1,1,1,1,1),(2,1,2,1,1),(3,2,1,1,1),(4,3,1,1,1)");
    b.Exec("INSERT INTO traininglist (ROWID,nForType,nGroupID,bIsFolder) VALUES (1,1,0,0)");
    b.Exec("INSERT INTO strtoid (ROWID,nGroupID,cStr,nRegionDataID) VALUES (1,5,'Свой',0),"
           "(2,5,'Другой',0)");
}

} // namespace

class TestExchangeTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::unique_ptr<SchemaTestDatabase> m_a, m_b;
    QString m_package;

    bool Export(const TestDatabase& db, const QString& path, QString* error) {
        CKeldaSQLImportWizard_Helper helper;
        CSQLExportWizard wizard(&helper);
        return wizard.Export(db.Connection(), path, nullptr, error);
    }
    bool Import(const QString& path, QString* error, Log* log = nullptr,
                CvProgress* progress = nullptr, CSQLImportWizard* result = nullptr) {
        CKeldaSQLImportWizard_Helper helper;
        CSQLImportWizard wizard(&helper);
        const bool ok = wizard.Import(m_b->Connection(), path, progress, log, error);
        if (result)
            *result = wizard;
        return ok;
    }

private slots:
    void init() {
        m_a = std::make_unique<SchemaTestDatabase>(QStringLiteral("xa"));
        m_b = std::make_unique<SchemaTestDatabase>(QStringLiteral("xb"));
        FillSender(*m_a);
        FillReceiver(*m_b);
        m_package = m_dir.filePath(QStringLiteral("a.k2x"));
        QString error;
        QVERIFY2(Export(*m_a, m_package, &error), qPrintable(error));
    }
    void cleanup() {
        m_a.reset();
        m_b.reset();
    }

    void exportNeedsOwnOrganisation() {
        m_a->Exec("DELETE FROM orginf WHERE ROWID=0");
        QString error;
        QVERIFY(!Export(*m_a, m_dir.filePath(QStringLiteral("none.k2x")), &error));
        QVERIFY2(error.contains(QStringLiteral("код своей организации")), qPrintable(error));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("none.k2x"))));
    }

    // What B holds after receiving A's package, worked out by hand: A becomes
    // organisation 2 (C has 1); ids move past B's highest (dir 10, clients 5,
    // reports 3, visits 4, trainings 1, free names 2); keys carry "`2." and
    // the sender's ROWID after their text up to its first back-quote.
    void receivedRows() {
        Log log;
        QString error;
        CSQLImportWizard wizard(nullptr);
        QVERIFY2(Import(m_package, &error, &log, nullptr, &wizard), qPrintable(error));
        const TestDatabase& b = *m_b;
        QCOMPARE(wizard.RegionNumber(), 2);
        QCOMPARE(b.Rows("SELECT ROWID,cOrgID,cOrgName FROM orginf ORDER BY ROWID"),
                 QStringLiteral("0|ORG-B|Организация Б;1|ORG-C|Организация В;"
                                "2|ORG-A|Организация \"А\""));
        QCOMPARE(b.Rows("SELECT ROWID,nGroupID,bIsFolder,cString,cFlatCode,nDonorID FROM dir "
                        "WHERE nRegionDataID=2 AND ROWID<16 ORDER BY ROWID"),
                 QStringLiteral("11|0|1|Пункты`2.1|001`2.1|NULL;12|11|0|Пункт 1`2.2|NULL|NULL;"
                                "13|0|0|Иванов`2.3|NULL|NULL;14|0|0|Шприц`2.4|NULL|16;"
                                "15|0|0|Игла`2.5|NULL|NULL"));
        QCOMPARE(b.Scalar("SELECT cString FROM dir WHERE ROWID=16"),
                 QString(230, u'Д') + QStringLiteral("`2.6"));
        QCOMPARE(b.Rows("SELECT ROWID,cClientCode,cGlobalCode,nSocRab,nRegionDataID FROM "
                        "clientdata WHERE ROWID>5 ORDER BY ROWID"),
                 QStringLiteral("6|ABC0185М`2.1|NULL|13|2;7|DEF1290Ж`2.2|G-2`2.2|-1|2"));
        // Cutting at the first back-quote still gives the code itself.
        QCOMPARE(b.Scalar("SELECT substring_index(cClientCode,'`',1) FROM clientdata WHERE "
                          "ROWID=7"),
                 QStringLiteral("DEF1290Ж"));
        // The history of clients the load lacks went; links to them were cleared.
        QCOMPARE(b.Rows("SELECT nClientID,dDate,nLastLinkID FROM clientdatachanges WHERE "
                        "nRegionDataID=2 ORDER BY nClientID,dDate"),
                 QStringLiteral("6|2023-12-01|NULL;6|2024-01-01|6;6|2024-02-01|NULL;"
                                "7|2024-01-01|7;"
                                "7|2024-02-01|NULL"));
        QCOMPARE(log.lines.count(QStringLiteral("warn1:Исправление ошибок в таблице Клиенты. "
                                                "Последние данные")),
                 1);
        QCOMPARE(log.lines.count(QStringLiteral("info0:.")), 2);
        QCOMPARE(b.Rows("SELECT nClientID,nBasicDrug,nSecondaryDrug,nParticipation,nLastLinkID "
                        "FROM drugusedata"),
                 QStringLiteral("7|14|-1|7|7"));
        QCOMPARE(b.Rows("SELECT nClientID,nDisease FROM healthstatus"), QStringLiteral("6|5"));
        QCOMPARE(b.Rows("SELECT ROWID,nGroupID,bIsFolder,nWorker1,nWorker2,nWorkPlace,nCrc FROM "
                        "dailyreport WHERE nRegionDataID=2 ORDER BY ROWID"),
                 QStringLiteral("4|0|0|13|-1|12|111;5|0|1|-1|-1|-1|NULL;6|5|0|13|13|12|333"));
        QCOMPARE(b.Rows("SELECT ROWID,nReportID,nClientID,nItem,nCount FROM dailyvisits WHERE "
                        "nRegionDataID=2 ORDER BY ROWID"),
                 QStringLiteral("5|4|6|14|5;6|4|7|14|3;7|6|6|15|2"));
        QCOMPARE(b.Rows("SELECT nReportID,nItem,nConsultKey,nRegionDataID FROM dailyredirects"),
                 QStringLiteral("4|14|2|2"));
        QCOMPARE(b.Rows("SELECT nReportID,nKeyFirst FROM dailyvisitssubhdr ORDER BY nKeyFirst"),
                 QStringLiteral("4|-1;4|14"));
        // Participants by audience: a client, a worker, a free name.
        QCOMPARE(b.Rows("SELECT nTrainingID,nClientID FROM trainingssubdata ORDER BY "
                        "nTrainingID"),
                 QStringLiteral("2|6;3|13;4|3"));
        QCOMPARE(b.Rows("SELECT ROWID,cStr,nRegionDataID FROM strtoid WHERE ROWID=3"),
                 QStringLiteral("3|Петров|2"));
        // B's own data and C's are untouched.
        QCOMPARE(b.Scalar("SELECT COUNT(*) FROM dir WHERE nRegionDataID<>2"), QStringLiteral("10"));
        QCOMPARE(b.Scalar("SELECT COUNT(*) FROM dailyvisits WHERE nRegionDataID=0"),
                 QStringLiteral("4"));

        // The snapshot: the sender's own ids, folders left out.
        QCOMPARE(b.Rows("SELECT nLoadID,nRegionDataID,dDate FROM cmp_loadids"),
                 QStringLiteral("%1|2|2024-03-05").arg(wizard.LoadID()));
        QCOMPARE(b.Rows("SELECT ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,nCrc FROM "
                        "cmp_dailyreport ORDER BY ROWID"),
                 QStringLiteral("1|2024-03-01|3|-1|-1|2|111;3|2024-03-05|3|3|-1|2|333"));
        QCOMPARE(b.Rows("SELECT ROWID,nReportID,nClientID,nItem,nCount FROM cmp_visits ORDER BY "
                        "ROWID"),
                 QStringLiteral("1|1|1|4|5;2|1|2|4|3;3|3|1|5|2"));
        QCOMPARE(b.Rows("SELECT ROWID,cString FROM cmp_dir WHERE ROWID<6 ORDER BY ROWID"),
                 QStringLiteral("2|Пункт 1;3|Иванов;4|Шприц ;5|Игла`7.12"));
        QCOMPARE(b.Rows("SELECT ROWID,cClientID FROM cmp_clients ORDER BY ROWID"),
                 QStringLiteral("1|ABC0185М;2|DEF1290Ж`3.7"));
    }

    // Region 3 row 125 and region 31 row 25 no longer make the same key.
    void suffixSeparatesRegionFromRow() {
        CKeldaSQLImportWizard_Helper helper;
        helper.m_pSQL = m_b->Connection();
        helper.m_nRegionID = 3;
        const QString three =
            m_b->Scalar(QStringLiteral("SELECT %1 FROM (SELECT 'X' AS c,125 AS ROWID) AS t")
                            .arg(helper.MakeOrgUniqueKey(QStringLiteral("c"))));
        helper.m_nRegionID = 31;
        const QString thirtyOne =
            m_b->Scalar(QStringLiteral("SELECT %1 FROM (SELECT 'X' AS c,25 AS ROWID) AS t")
                            .arg(helper.MakeOrgUniqueKey(QStringLiteral("c"))));
        QCOMPARE(three, QStringLiteral("X`3.125"));
        QCOMPARE(thirtyOne, QStringLiteral("X`31.25"));
        QCOMPARE(m_b->Scalar(QStringLiteral("SELECT %1 FROM (SELECT NULL AS c,1 AS ROWID) AS t")
                                 .arg(helper.MakeOrgUniqueKey(QStringLiteral("c")))),
                 QString());
        QCOMPARE(helper.GetFieldExpression("traininglist", "nGroupID", "P"),
                 QStringLiteral("IF(IFNULL(nGroupID,0)=0,0,P)"));
        QCOMPARE(helper.GetFieldExpression("dailyreport", "nCount", "P"), QStringLiteral("P"));
    }

    // Reading the same package again leaves every table as the first reading
    // did, the snapshot included.
    void importTwiceIsImportOnce() {
        QString error;
        QVERIFY2(Import(m_package, &error), qPrintable(error));
        const QString once = TableFingerprint(*m_b);
        QVERIFY2(Import(m_package, &error), qPrintable(error));
        QCOMPARE(TableFingerprint(*m_b), once);
        QCOMPARE(m_b->Scalar("SELECT COUNT(*) FROM cmp_loadids"), QStringLiteral("1"));
    }

    // A later package of A replaces everything the earlier one brought and is
    // recorded as a second load.
    void laterLoadReplacesEarlier() {
        QString error;
        QVERIFY2(Import(m_package, &error), qPrintable(error));
        m_a->Exec("DELETE FROM dailyvisits WHERE ROWID=2");
        m_a->Exec("UPDATE dailyreport SET nCrc=112 WHERE ROWID=1");
        m_a->Exec("DELETE FROM clientdatachanges WHERE nClientID>=98");
        const QString later = m_dir.filePath(QStringLiteral("a2.k2x"));
        QVERIFY2(Export(*m_a, later, &error), qPrintable(error));
        QVERIFY2(Import(later, &error), qPrintable(error));
        QCOMPARE(m_b->Rows("SELECT ROWID,nReportID,nClientID,nItem,nCount FROM dailyvisits WHERE "
                           "nRegionDataID=2 ORDER BY ROWID"),
                 QStringLiteral("5|4|6|14|5;7|6|6|15|2"));
        QCOMPARE(m_b->Scalar("SELECT COUNT(*) FROM dir WHERE nRegionDataID=2"),
                 QStringLiteral("6"));
        QCOMPARE(m_b->Rows("SELECT nRegionDataID FROM cmp_loadids ORDER BY nLoadID"),
                 QStringLiteral("2;2"));
        QCOMPARE(m_b->Rows("SELECT t.nCrc FROM cmp_dailyreport AS t JOIN (SELECT MAX(nLoadID) AS "
                           "n FROM cmp_loadids) AS m ON t.nLoadID=m.n WHERE t.ROWID=1"),
                 QStringLiteral("112"));
    }

    void refused_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("damaged") << 1 << "поврежден";
        QTest::newRow("foreign program") << 2 << "другой программой";
        QTest::newRow("newer format") << 3 << "более новой версией";
        QTest::newRow("own package") << 4 << "этой же организацией";
        QTest::newRow("unknown table") << 5 << "таблицу";
        QTest::newRow("duplicate rows") << 6 << "Duplicate";
        QTest::newRow("snapshot fails") << 7 << "cmp_visits";
        QTest::newRow("cancelled") << 8 << "прервана";
        // The visits go into the emptied table in bulk before the snapshot
        // fails: undone all the same.
        QTest::newRow("snapshot fails after a bulk merge") << 9 << "cmp_visits";
    }

    // Whatever is wrong, B is left exactly as it was: the checks come before
    // the first change, and everything after them is one transaction.
    void refused() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QString path = m_package;
        auto writeOwn = [&](const CSQLExchangeAttributes& attributes, bool duplicate) {
            path = m_dir.filePath(QStringLiteral("crafted.k2x"));
            CSQLExchangePackageWriter writer;
            QString e;
            QVERIFY(writer.Open(path, &e));
            QVERIFY(writer.BeginTable(duplicate ? "dir" : "nosuchtable",
                                      {{"ROWID", true}, {"cString", false}}, &e));
            writer.WriteRow({"1", "a"});
            writer.WriteRow({"1", "b"});
            QVERIFY(writer.EndTable(&e));
            QVERIFY(writer.Finish(attributes, &e));
        };
        CSQLExchangeAttributes attributes{
            {"SCAppID", "kelda2"}, {"cOrgID", "ORG-A"}, {"PackageID", "x"}};
        int cancelAfter = 0;
        switch (kind) {
        case 1: {
            QByteArray bytes = ReadBytes(path);
            bytes[bytes.size() / 3] = char(bytes[bytes.size() / 3] ^ 1);
            path = m_dir.filePath(QStringLiteral("damaged.k2x"));
            QVERIFY(WriteBytes(path, bytes));
            break;
        }
        case 2:
            attributes["SCAppID"] = "other";
            writeOwn(attributes, true);
            break;
        case 3: {
            QByteArray bytes = ReadBytes(path);
            PutLE32(bytes, 0, kExchangePackageVersion + 1);
            FixChecksum(bytes);
            path = m_dir.filePath(QStringLiteral("newer.k2x"));
            QVERIFY(WriteBytes(path, bytes));
            break;
        }
        case 4:
            attributes["cOrgID"] = "org-b";
            writeOwn(attributes, true);
            break;
        case 5:
            writeOwn(attributes, false);
            break;
        case 6:
            writeOwn(attributes, true);
            break;
        case 7:
            m_b->Exec("DROP TABLE cmp_visits");
            break;
        case 8:
            cancelAfter = 5;
            break;
        case 9:
            m_b->Exec("DELETE FROM dailyvisits");
            m_b->Exec("DROP TABLE cmp_visits");
            break;
        }
        const QString before = TableFingerprint(*m_b);
        QString error;
        CancellingProgress progress(cancelAfter);
        QVERIFY(!Import(path, &error, nullptr, cancelAfter ? &progress : nullptr));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QCOMPARE(TableFingerprint(*m_b), before);
        // The lock is free again and no temporary table is left in the session.
        QCOMPARE(m_b->Scalar("SELECT IFNULL(IS_USED_LOCK('dblock'),0)<>CONNECTION_ID()"),
                 QStringLiteral("1"));
        QVERIFY(!m_b->Connection()
                     ->Execute(QStringLiteral("SELECT 1 FROM `__load__dir` LIMIT 1"))
                     .isValid());
    }

    // Organisation numbers: a known one is found, a new one allocated and its
    // row written at once (so the next copy sees it), the own identifier and a
    // failed look-up never give a number.
    void organisationNumbers() {
        CKeldaSQLImportWizard_Helper helper;
        helper.m_pSQL = m_b->Connection();
        QString error;
        QCOMPARE(helper.FindOrgNumber("ORG-C", QString(), &error), 1);
        QCOMPARE(helper.FindOrgNumber("ORG-B", QString(), &error), 0);
        QCOMPARE(helper.FindOrgNumber("ORG-Q", QString(), &error), -1);
        QVERIFY(error.isEmpty());
        QCOMPARE(helper.GetOrgNumber("ORG-C", QString(), &error), 1);
        QCOMPARE(helper.GetOrgNumber("ORG-Q", QString(), &error), 2);
        CKeldaSQLImportWizard_Helper other;
        other.m_pSQL = m_a->Connection();
        m_a->Exec("DELETE FROM orginf");
        m_a->Exec(QStringLiteral("INSERT INTO orginf SELECT * FROM `%1`.orginf").arg(m_b->Name()));
        QCOMPARE(other.GetOrgNumber("ORG-R", QString(), &error), 3);
        QCOMPARE(helper.GetOrgNumber("ORG-B", QString(), &error), -1);
        QVERIFY(error.contains(QStringLiteral("этой же организацией")));
        error.clear();
        QCOMPARE(helper.FindOrgNumber("ORG-C", QStringLiteral("nosuch_"), &error), -1);
        QVERIFY(!error.isEmpty());
        error.clear();
        QCOMPARE(helper.GetOrgNumber("ORG-C", QStringLiteral("nosuch_"), &error), -1);
        QVERIFY(!error.isEmpty());
        QCOMPARE(m_b->Scalar("SELECT IFNULL(IS_USED_LOCK('dblock'),0)<>CONNECTION_ID()"),
                 QStringLiteral("1"));
    }

    // The highest ids that received ids are moved past: 0 for an empty
    // table; a read that fails is an error, never 0 (the ids would collide).
    void highestKey_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("highest");
        QTest::newRow("rows") << "dir" << true << qint64(10);
        QTest::newRow("empty") << "cmp_visits" << true << qint64(0);
        QTest::newRow("missing") << "nosuchtable" << false << qint64(0);
    }
    void highestKey() {
        QFETCH(QString, table);
        QFETCH(bool, ok);
        QFETCH(qint64, highest);
        qint64 value = -1;
        QString error;
        QCOMPARE(ExchangeSQL::HighestKey(m_b->Connection(), table, QStringLiteral("ROWID"), &value,
                                         &error),
                 ok);
        QCOMPARE(value, highest);
        QCOMPARE(error.contains(table), !ok);
    }

    // Tables larger than a page arrive whole: by key (visits), by ranges of
    // the report (sheet columns, NULL reports included) and by offset (free
    // names). The sequence engine makes the rows.
    void manyRowsInPages() {
        m_a->Exec("INSERT INTO dailyreport (ROWID,dDate,nGroupID,bIsFolder) SELECT seq,"
                  "'2024-04-01',0,0 FROM seq_10_to_700");
        m_a->Exec("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) SELECT 10+seq%691,"
                  "1,4,seq FROM seq_1_to_12000");
        m_a->Exec("INSERT INTO dailyvisitssubhdr (nReportID,nVedID,nKeyFirst,nWidth) SELECT "
                  "IF(seq%1000=0,NULL,10+seq%691),0,4,seq FROM seq_1_to_12003");
        m_a->Exec("INSERT INTO strtoid (nGroupID,cStr,nRegionDataID) SELECT 5,CONCAT('n',seq),0 "
                  "FROM seq_1_to_11000");
        QString error;
        QVERIFY2(Export(*m_a, m_package, &error), qPrintable(error));
        QVERIFY2(Import(m_package, &error), qPrintable(error));
        const QString sums = QStringLiteral(
            "SELECT (SELECT CONCAT(COUNT(*),'/',SUM(nCount)) FROM dailyvisits%1),(SELECT "
            "CONCAT(COUNT(*),'/',SUM(nWidth),'/',SUM(ISNULL(nReportID))) FROM "
            "dailyvisitssubhdr%1),(SELECT COUNT(DISTINCT cStr) FROM strtoid%1)");
        QCOMPARE(m_b->Rows(sums.arg(QStringLiteral(" WHERE nRegionDataID=2"))),
                 m_a->Rows(sums.arg(QString())));
    }

    // A load without any daily report is dated by the day it came, never by
    // an empty text.
    void loadWithoutReports() {
        m_a->Exec("DELETE FROM dailyvisits");
        m_a->Exec("DELETE FROM dailyredirects");
        m_a->Exec("DELETE FROM dailyvisitssubhdr");
        m_a->Exec("DELETE FROM dailyreport");
        QString error;
        QVERIFY2(Export(*m_a, m_package, &error), qPrintable(error));
        QVERIFY2(Import(m_package, &error), qPrintable(error));
        QCOMPARE(m_b->Rows("SELECT dDate=CURDATE() FROM cmp_loadids"), QStringLiteral("1"));
        QCOMPARE(m_b->Scalar("SELECT COUNT(*) FROM cmp_dailyreport"), QStringLiteral("0"));
        QCOMPARE(m_b->Scalar("SELECT COUNT(*) FROM cmp_dir"), QStringLiteral("5"));
    }
};

QTEST_GUILESS_MAIN(TestExchangeTransfer)
#include "test_exchange_transfer.moc"
