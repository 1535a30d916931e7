// The benchmark data generator at a tiny size: the counts asked for, and the
// rules that forms and reports rely on (every visit's report, client and
// material exist; one newest history row per client and table; client codes
// and type codes follow the program's rules; sheets have their columns); the
// same seed gives the same data; the database is made the program's way.
#include "bench/datagen/data_generator.h"

#include "db/schema/schema_steps.h"
#include "diary/core/material_pack.h"
#include "framework/core/containers/string_vars.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/enums/enums.h"
#include "model/enums/material_type.h"
#include "tests/support/schema_test_database.h"

#include <QFile>
#include <QSet>
#include <QTest>

namespace {
CDataGenOptions TinyOptions() {
    CDataGenOptions o;
    o.points = 3;
    o.workers = 7;
    o.materials = 20;
    o.clients = 60;
    o.years = 1;
    o.visits = 1500;
    o.history = 3;
    o.trainingsPerYear = 6;
    o.dirRows = 300;
    o.seed = 7;
    o.lastDay = QDate(2025, 12, 31);
    return o;
}

void Generate(SchemaTestDatabase& db, const CDataGenOptions& options) {
    CDataGenerator generator(options);
    QString error;
    if (!generator.Fill(db.Connection(), &error))
        QFAIL(qPrintable(error));
}

int Count(SchemaTestDatabase& db, const QString& statement) {
    return db.Scalar(statement).toInt();
}

// The codes an enumeration holds.
QSet<long> Codes(const CEnum2& e) {
    QSet<long> codes;
    POSITION pos = e.InitScan_sEnum2();
    while (e.ScanNext_sEnum2(pos))
        codes.insert(e.Current_sEnum2(pos)->nCode);
    return codes;
}

// Every value of a column (NULL left out) must be a code of the enumeration;
// a bit set must be made of its codes.
void CheckColumn(SchemaTestDatabase& db, const QString& table, const QString& column,
                 const CEnum2& e) {
    const QSet<long> codes = Codes(e);
    CxResult res = db.Exec(
        QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 IS NOT NULL").arg(column, table));
    while (res.FetchRow()) {
        const long v = res.LFieldValue(0);
        if (e.IsBitSet()) {
            for (long bit = 1; bit > 0 && bit <= v; bit <<= 1) {
                if ((v & bit) && !codes.contains(bit))
                    QFAIL(qPrintable(QStringLiteral("%1.%2 = %3").arg(table, column).arg(v)));
            }
        } else if (!codes.contains(v)) {
            QFAIL(qPrintable(QStringLiteral("%1.%2 = %3").arg(table, column).arg(v)));
        }
    }
}

// Rows of the database tests that repair broken references: none may be found.
const char* const kBrokenReferences[] = {
    // visits without their report, client or material
    "SELECT COUNT(*) FROM dailyvisits LEFT JOIN dailyreport ON "
    "dailyreport.ROWID=dailyvisits.nReportID AND "
    "dailyreport.nRegionDataID=dailyvisits.nRegionDataID LEFT JOIN clientdata ON "
    "clientdata.ROWID=dailyvisits.nClientID AND clientdata.nRegionDataID=dailyvisits.nRegionDataID "
    "LEFT JOIN dir ON dir.ROWID=dailyvisits.nItem AND dir.nDirType=3 WHERE "
    "ISNULL(clientdata.ROWID) OR ISNULL(dailyreport.ROWID) OR ISNULL(dir.ROWID)",
    // a row number of a sheet holding two clients
    "SELECT COUNT(*) FROM (SELECT COUNT(DISTINCT nClientID) AS n FROM dailyvisits GROUP BY "
    "nReportID,nVedID,NPP HAVING n>1) AS t",
    // reports naming workers or points that are not there
    "SELECT COUNT(*) FROM dailyreport r LEFT JOIN dir w ON w.ROWID=r.nWorker1 AND w.nDirType=2 "
    "AND NOT w.bIsFolder WHERE NOT r.bIsFolder AND ISNULL(w.ROWID)",
    "SELECT COUNT(*) FROM dailyreport r LEFT JOIN dir w ON w.ROWID=r.nWorker2 AND w.nDirType=2 "
    "AND NOT w.bIsFolder WHERE NOT r.bIsFolder AND r.nWorker2<>-1 AND ISNULL(w.ROWID)",
    "SELECT COUNT(*) FROM dailyreport r LEFT JOIN dir w ON w.ROWID=r.nWorker3 AND w.nDirType=2 "
    "AND NOT w.bIsFolder WHERE NOT r.bIsFolder AND r.nWorker3<>-1 AND ISNULL(w.ROWID)",
    "SELECT COUNT(*) FROM dailyreport r LEFT JOIN dir p ON p.ROWID=r.nWorkPlace AND p.nDirType=1 "
    "AND NOT p.bIsFolder WHERE NOT r.bIsFolder AND ISNULL(p.ROWID)",
    // rows in folders that are not there
    "SELECT COUNT(*) FROM dailyreport a LEFT JOIN dailyreport f ON f.ROWID=a.nGroupID AND "
    "f.bIsFolder WHERE a.nGroupID<>0 AND ISNULL(f.ROWID)",
    "SELECT COUNT(*) FROM clientdata a LEFT JOIN clientdata f ON f.ROWID=a.nGroupID AND "
    "f.bIsFolder WHERE a.nGroupID<>0 AND ISNULL(f.ROWID)",
    "SELECT COUNT(*) FROM dir a LEFT JOIN dir f ON f.ROWID=a.nGroupID AND f.bIsFolder AND "
    "f.nDirType=a.nDirType WHERE a.nGroupID<>0 AND ISNULL(f.ROWID)",
    "SELECT COUNT(*) FROM traininglist a LEFT JOIN traininglist f ON f.ROWID=a.nGroupID AND "
    "f.bIsFolder WHERE a.nGroupID<>0 AND ISNULL(f.ROWID)",
    // service points in towns that are not there
    "SELECT COUNT(*) FROM dir LEFT JOIN towns ON towns.ROWID=dir.nTown WHERE dir.nDirType=1 AND "
    "NOT dir.bIsFolder AND ISNULL(towns.ROWID)",
    // history and health rows without their client
    "SELECT (SELECT COUNT(*) FROM clientdatachanges LEFT JOIN clientdata c ON c.ROWID=nClientID "
    "WHERE ISNULL(c.ROWID))+(SELECT COUNT(*) FROM drugusedata LEFT JOIN clientdata c ON "
    "c.ROWID=nClientID WHERE ISNULL(c.ROWID))+(SELECT COUNT(*) FROM riskbehavior LEFT JOIN "
    "clientdata c ON c.ROWID=nClientID WHERE ISNULL(c.ROWID))+(SELECT COUNT(*) FROM socialstatus "
    "LEFT JOIN clientdata c ON c.ROWID=nClientID WHERE ISNULL(c.ROWID))+(SELECT COUNT(*) FROM "
    "healthstatus LEFT JOIN clientdata c ON c.ROWID=nClientID WHERE ISNULL(c.ROWID))",
    // a client met before the client was entered
    "SELECT COUNT(*) FROM dailyvisits JOIN dailyreport r ON r.ROWID=nReportID JOIN clientdata c "
    "ON c.ROWID=nClientID WHERE r.dDate<c.dEnterDate",
    // participants of client trainings that are not clients
    "SELECT COUNT(*) FROM trainingssubdata s JOIN traininglist t ON t.ROWID=s.nTrainingID LEFT "
    "JOIN clientdata c ON c.ROWID=s.nClientID AND NOT c.bIsFolder WHERE t.nForType=1 AND "
    "ISNULL(c.ROWID)",
    // a visit cell whose sheet has no column for it
    "SELECT COUNT(*) FROM dailyvisits v JOIN dir m ON m.ROWID=v.nItem LEFT JOIN dailyvisitssubhdr "
    "h ON h.nReportID=v.nReportID AND h.nVedID=v.nVedID AND h.nKeyFirst=v.nItem AND "
    "(h.nKeySecond=-1 OR v.nCount&h.nKeySecond) WHERE ISNULL(h.nReportID)",
    // a consultation cell with kinds its item does not record, or none
    "SELECT COUNT(*) FROM dailyvisits v JOIN dir m ON m.ROWID=v.nItem WHERE "
    "m.nType&458752=458752 AND (v.nCount=0 OR v.nCount&~(m.nSpecFlags&~1))",
    // redirections of items counted by client, or of kinds the item does not record
    "SELECT COUNT(*) FROM dailyredirects r JOIN dir m ON m.ROWID=r.nItem WHERE m.nSpecFlags&1 "
    "OR NOT (m.nSpecFlags&r.nConsultKey)",
};

const char* const kHistories[] = {"clientdatachanges", "drugusedata", "riskbehavior",
                                  "socialstatus"};
} // namespace

class TestDataGenerator : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void countsAsAsked();
    void referencesHold();
    void newestHistoryRowPerClient();
    void clientCodesFollowTheRules();
    void codesOfTheModelAndTheConfiguration();
    void sameSeedSameData();
    void databaseMadeByTheProgramsPath();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestDataGenerator::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("gen"));
    Generate(*m_db, TinyOptions());
}

void TestDataGenerator::countsAsAsked() {
    SchemaTestDatabase& db = *m_db;
    const CDataGenOptions o = TinyOptions();
    const QString own = QStringLiteral(" AND NOT bIsFolder AND cString NOT LIKE '%(доп.)%'");
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=1") + own),
             o.points);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=2") + own),
             o.workers);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=3") + own),
             o.materials);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dir")), o.dirRows);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM clientdata WHERE NOT bIsFolder")),
             o.clients);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dailyvisits")), int(o.visits));
    for (const char* table : kHistories) {
        QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT COUNT(*) AS n FROM %1 "
                                          "GROUP BY nClientID HAVING n=%2) AS t")
                               .arg(QLatin1String(table))
                               .arg(o.history)),
                 o.clients);
    }
    // Reports within the year asked for, each with its checksum.
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE NOT bIsFolder AND "
                                      "(dDate<'2025-01-01' OR dDate>'2025-12-31')")),
             0);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE IFNULL(nCrc,0)=0")),
             0);
    QVERIFY(Count(db, QStringLiteral("SELECT COUNT(*) FROM traininglist WHERE NOT bIsFolder")) >=
            o.trainingsPerYear);
    QVERIFY(Count(db, QStringLiteral("SELECT COUNT(*) FROM dailyredirects")) > 0);
    QCOMPARE(db.Scalar(QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0")),
             QStringLiteral("ORG-001"));
}

void TestDataGenerator::referencesHold() {
    for (const char* query : kBrokenReferences) {
        const int broken = Count(*m_db, QString::fromUtf8(query));
        if (broken != 0)
            QFAIL(qPrintable(QStringLiteral("%1 rows: %2").arg(broken).arg(QLatin1String(query))));
    }
    // Packages name materials a sheet may count and groups name material
    // types, in the texts their forms read.
    QSet<int> offered;
    CxResult materials = m_db->Exec(QStringLiteral(
        "SELECT ROWID FROM dir WHERE nDirType=3 AND NOT bIsFolder AND NOT bHidden AND "
        "(nType&458752<>458752 OR nSpecFlags&1)"));
    while (materials.FetchRow())
        offered.insert(int(materials.LFieldValue(0)));
    CxResult lists = m_db->Exec(
        QStringLiteral("SELECT nDirType,cString,cOtherInfo FROM dir WHERE nDirType IN (10,11)"));
    int packages = 0, members = 0;
    while (lists.FetchRow()) {
        const QString name = lists.SFieldValue(1);
        if (lists.LFieldValue(0) == 11) {
            CDDirMatPackArray items;
            QVERIFY2(items.LoadFromString(lists.SFieldValue(2)), qPrintable(name));
            QVERIFY2(!items.isEmpty(), qPrintable(name));
            for (const qint32 id : items)
                QVERIFY2(offered.contains(id), qPrintable(name));
            ++packages;
        } else {
            CStringVars set;
            QVERIFY2(set.Unpack(lists.SFieldValue(2)), qPrintable(name));
            for (const QString& code : set.GetNames())
                QVERIFY2(g_pMaterialType.Get()->Lookup(code.toLong()), qPrintable(name));
            members += set.GetCount();
        }
    }
    QCOMPARE(packages, 4);
    QVERIFY(members > 10);
}

void TestDataGenerator::newestHistoryRowPerClient() {
    for (const char* name : kHistories) {
        const QString table = QLatin1String(name);
        QCOMPARE(Count(*m_db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE nLastLinkID IS NOT "
                                             "NULL")
                                  .arg(table)),
                 TinyOptions().clients);
        // The marked row is the client's latest, and it names its client.
        QCOMPARE(Count(*m_db, QStringLiteral("SELECT COUNT(*) FROM %1 JOIN (SELECT nClientID AS "
                                             "c,MAX(dDate) AS m FROM %1 GROUP BY nClientID) AS x "
                                             "ON x.c=%1.nClientID WHERE (%1.dDate=x.m)<>(%1."
                                             "nLastLinkID IS NOT NULL) OR %1.nLastLinkID<>%1."
                                             "nClientID")
                                  .arg(table)),
                 0);
    }
}

void TestDataGenerator::clientCodesFollowTheRules() {
    CxResult res = m_db->Exec(QStringLiteral("SELECT cClientCode,nBirthYear,nSex,dBirthDate,"
                                             "bNewCode,cOClientCode FROM clientdata WHERE NOT "
                                             "bIsFolder"));
    const QString capitals = QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЭЮЯ");
    const QString sexLetters = QStringLiteral("чжт");
    int checked = 0;
    while (res.FetchRow()) {
        const QString code = res.SFieldValue(0);
        const int year = int(res.LFieldValue(1));
        const int sex = int(res.LFieldValue(2));
        QCOMPARE(code.size(), 8);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(capitals.contains(code[i]), qPrintable(code));
        const int day = code.mid(3, 2).toInt();
        QVERIFY2(day >= 1 && day <= 31, qPrintable(code));
        QCOMPARE(code.mid(5, 2), QStringLiteral("%1").arg(year % 100, 2, 10, QLatin1Char('0')));
        QVERIFY(sex >= 1 && sex <= 3);
        QCOMPARE(code.at(7), sexLetters.at(sex - 1));
        QCOMPARE(res.SFieldValue(3), QStringLiteral("%1-01-01").arg(year));
        QCOMPARE(res.LFieldValue(4), 1);
        QCOMPARE(res.SFieldValue(5), code);
        ++checked;
    }
    QCOMPARE(checked, TinyOptions().clients);
    // The database test's own rule of a new-format code takes every client.
    QCOMPARE(Count(*m_db,
                   QStringLiteral(
                       "SELECT COUNT(*) FROM (SELECT nBirthYear,nSex,UPPER(cClientCode) AS c FROM "
                       "clientdata WHERE NOT bIsFolder) AS t WHERE CHAR_LENGTH(c)=8 AND "
                       "SUBSTR(c,1,3)>'999' AND SUBSTR(c,4,2) BETWEEN 1 AND 31 AND "
                       "SUBSTR(c,6,2)=(nBirthYear%100) AND (CASE nSex WHEN 1 THEN 'Ч' WHEN 2 "
                       "THEN 'Ж' WHEN 3 THEN 'Т' END)=SUBSTR(c,8,1)")),
             TinyOptions().clients);
}

void TestDataGenerator::codesOfTheModelAndTheConfiguration() {
    SchemaTestDatabase& db = *m_db;
    CheckColumn(db,
                QStringLiteral("(SELECT nType FROM dir WHERE nDirType=3 AND NOT bIsFolder) "
                               "AS m"),
                QStringLiteral("nType"), *g_pMaterialType.Get());
    CheckColumn(db,
                QStringLiteral("(SELECT nType FROM dir WHERE nDirType=1 AND NOT bIsFolder) "
                               "AS p"),
                QStringLiteral("nType"), *g_pNodeType.Get());
    CheckColumn(db,
                QStringLiteral("(SELECT nType FROM dir WHERE nDirType=4 AND NOT bIsFolder) "
                               "AS d"),
                QStringLiteral("nType"), *g_pDrugsEnum.Get());
    CheckColumn(db, QStringLiteral("(SELECT nSpecFlags FROM dir WHERE nDirType=3) AS c"),
                QStringLiteral("nSpecFlags"), *g_pConsAndDir.Get());
    CheckColumn(db, QStringLiteral("clientdata"), QStringLiteral("nSex"), *g_pSex.Get());
    CheckColumn(db, QStringLiteral("clientdatachanges"), QStringLiteral("nClientType"),
                *g_pClientGroup.Get());
    CheckColumn(db, QStringLiteral("clientdatachanges"), QStringLiteral("nClientType2"),
                *g_pClientGroup.Get());
    CheckColumn(db, QStringLiteral("drugusedata"), QStringLiteral("nMainRoute"),
                *g_pMainRouteEnum.Get());
    CheckColumn(db, QStringLiteral("drugusedata"), QStringLiteral("nUseFrequency"),
                *g_pUseFreqEnum.Get());
    CheckColumn(db, QStringLiteral("riskbehavior"), QStringLiteral("nDesinfectionWay"),
                *g_pDesinfectionWay.Get());
    CheckColumn(db, QStringLiteral("riskbehavior"), QStringLiteral("nLastInjectWith"),
                *g_pLastInjectionWith.Get());
    CheckColumn(db, QStringLiteral("riskbehavior"), QStringLiteral("nUsingCondom"),
                *g_pCondYesNoNosex.Get());
    CheckColumn(db, QStringLiteral("riskbehavior"), QStringLiteral("nLastSexualPart"),
                *g_pLastSexual.Get());
    CheckColumn(db, QStringLiteral("socialstatus"), QStringLiteral("nEploymentStatus"),
                *g_pEployment.Get());
    CheckColumn(db, QStringLiteral("socialstatus"), QStringLiteral("nPlaceOfLiving"),
                *g_pLivingPlaceEnum.Get());
    CheckColumn(db, QStringLiteral("socialstatus"), QStringLiteral("nEducationLevel"),
                *g_pEducationLevelEnum.Get());
    CheckColumn(db, QStringLiteral("socialstatus"), QStringLiteral("nLegalProblem"),
                *g_pLegalProblemsEnum.Get());
    CheckColumn(db, QStringLiteral("socialstatus"), QStringLiteral("nOtherReg"),
                *g_pSocOtherReg.Get());
    CheckColumn(db, QStringLiteral("healthstatus"), QStringLiteral("nDisease"), *g_pDiseases.Get());
    CheckColumn(db, QStringLiteral("healthstatus"), QStringLiteral("nStatus"),
                *g_pDiseaseStates.Get());
    CheckColumn(db, QStringLiteral("traininglist"), QStringLiteral("nForType"),
                *g_pTrainingFor.Get());
    CheckColumn(db, QStringLiteral("traininglist"), QStringLiteral("nTrainingType"),
                *g_pTrainingType.Get());

    // The card's own rules: no woman in the MSM group; a health row knows one
    // result at most, and a result implies a test.
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM clientdatachanges h JOIN clientdata "
                                      "c ON c.ROWID=h.nClientID WHERE c.nSex=2 AND "
                                      "(h.nClientType|h.nClientType2)&4")),
             0);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM healthstatus WHERE nStatus&12=12 OR "
                                      "(nStatus&12 AND NOT nStatus&1)")),
             0);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT COUNT(*) AS n FROM "
                                      "healthstatus GROUP BY nClientID HAVING n<>5) AS t")),
             0);

    // Every material type is one the configuration groups (MATGROUPS), so the
    // exports place each material; the consultation kinds of a consultation
    // item and its configured group are set; the towns are the configuration's.
    xKDConfiguration config;
    QFile file(QStringLiteral(":/config/default_config.xml"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(config.ParseConfig(QString::fromUtf8(file.readAll()), file.fileName()));
    QSet<long> grouped;
    const xMatGroups& groups = config.GetCurrentLanguage()->MatGroups;
    POSITION pos = groups.InitScan_sEnum2();
    while (groups.ScanNext_sEnum2(pos)) {
        if (groups.Current(pos)->nGroup)
            grouped.insert(groups.Current(pos)->nCode);
    }
    CxResult types = db.Exec(
        QStringLiteral("SELECT DISTINCT nType FROM dir WHERE nDirType=3 AND NOT bIsFolder"));
    while (types.FetchRow())
        QVERIFY2(grouped.contains(types.LFieldValue(0)), qPrintable(types.SFieldValue(0)));
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=3 AND NOT "
                                      "bIsFolder AND nType&458752=458752 AND (nSpecFlags&126=0 "
                                      "OR nConfigGroup=0 OR bByCode<>(nSpecFlags&1))")),
             0);
    QCOMPARE(Count(db, QStringLiteral("SELECT COUNT(*) FROM towns")),
             config.GetCurrentLanguage()->Towns.GetCount_sEnum2());
}

void TestDataGenerator::sameSeedSameData() {
    SchemaTestDatabase again(QStringLiteral("gen2"));
    Generate(again, TinyOptions());
    for (const char* table : {"dir", "clientdata", "socialstatus", "dailyreport", "dailyvisits",
                              "dailyvisitssubhdr", "dailyredirects", "trainingssubdata"}) {
        const QString digest = QStringLiteral("SELECT SUM(CRC32(CONCAT_WS('|',%1))) FROM %2");
        CxResult columns = again.Exec(QStringLiteral("SHOW COLUMNS FROM %1").arg(table));
        QStringList names;
        while (columns.FetchRow())
            names << QStringLiteral("IFNULL(`%1`,'-')").arg(columns.SFieldValue(0));
        const QString query = digest.arg(names.join(u','), QLatin1String(table));
        QCOMPARE(again.Scalar(query), m_db->Scalar(query));
    }
}

void TestDataGenerator::databaseMadeByTheProgramsPath() {
    const QString name =
        QStringLiteral("kt_datagen_create_%1").arg(QCoreApplication::applicationPid());
    const SQLConnectXML server = TestDatabase::ServerInfo();
    QString error;
    {
        CxMySQL sql;
        QVERIFY2(CreateBenchDatabase(&sql, server, name, false, &error), qPrintable(error));
        CxResult version = sql.Execute(
            QStringLiteral("SELECT cValue FROM dbsettings WHERE cVariable='DatabaseVersion'"));
        QVERIFY(version.FetchRow());
        QCOMPARE(version.LFieldValue(0), long(kCurrentSchemaVersion));
        QVERIFY(
            sql.Execute(QStringLiteral("INSERT INTO towns (ROWID,nGroupID,cShortName,cFullName) "
                                       "VALUES (9999,0,'x','x')"))
                .isValid());
    }
    {
        // An existing database is left alone unless recreating is asked for.
        CxMySQL sql;
        QVERIFY(!CreateBenchDatabase(&sql, server, name, false, &error));
        QVERIFY(error.contains(QStringLiteral("--recreate")));
        QVERIFY2(CreateBenchDatabase(&sql, server, name, true, &error), qPrintable(error));
        CxResult towns = sql.Execute(QStringLiteral("SELECT COUNT(*) FROM towns"));
        QVERIFY(towns.FetchRow());
        QCOMPARE(towns.LFieldValue(0), 0);
        QVERIFY(!CreateBenchDatabase(&sql, server, QStringLiteral("bad name`"), true, &error));
    }
    CxMySQL admin;
    SQLConnectXML info = server;
    QVERIFY(admin.Connect(&info));
    admin.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    CTarvikApp::ClearErrorMessages();
}

QTEST_GUILESS_MAIN(TestDataGenerator)
#include "tst_datagen.moc"
