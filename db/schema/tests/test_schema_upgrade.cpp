// A database of the creation script's version (66) with data in it, taken to
// the current version: the rows come through with what the steps and the
// repairs make of them.
#include "db/schema/creation_script.h"
#include "db/schema/schema_steps.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/test_database.h"

#include <QCoreApplication>
#include <QTest>

class TestSchemaUpgrade : public QObject {
    Q_OBJECT

    QString m_name;
    std::unique_ptr<CxMySQL> m_server;
    std::unique_ptr<CxMySQL> m_sql;

    void Exec(const QString& statement) {
        if (!m_sql->Execute(statement).isValid())
            qFatal("%s", qPrintable(statement + u'\n' + CTarvikApp::TakeErrorMessages()));
    }
    QString Rows(const QString& statement) {
        CxResult res = m_sql->Execute(statement);
        if (!res.isValid())
            return QStringLiteral("error: ") + CTarvikApp::TakeErrorMessages();
        return TestDatabase::ResultRows(res);
    }

private slots:
    void initTestCase() {
        m_name = QStringLiteral("kt_upgrade_%1").arg(QCoreApplication::applicationPid());
        m_server = std::make_unique<CxMySQL>();
        SQLConnectXML info = TestDatabase::ServerInfo();
        QVERIFY(m_server->Connect(&info));
        m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
        info.put_Database(m_name);
        m_sql = std::make_unique<CxMySQL>();
        QString error;
        QCOMPARE(SQLConnectOrCreate(m_sql.get(), info, kDatabaseCreationScript, &error),
                 SQLConnectResult::Connected);

        // Organisation facts: parameter 1 is the code, the others became ids
        // of a hundred times their number.
        Exec(QStringLiteral("INSERT INTO orginfo (ROWID,cParameter,cValue,nRegionID) VALUES "
                            "(1,'code','ORG-1',0),(2,'name','Фонд',0),(3,'project','Шаг',0),"
                            "(5,'city','Город',0),(6,'address',REPEAT('д',300),0)"));
        Exec(QStringLiteral(
            "INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,nSex,nClientType,bIsFolder,"
            "nGroupID) VALUES (1,'АБВ0185Ч',1985,1,65,0,0),(2,'XYZ',1940,2,6,0,0),"
            "(3,'ГДЕ3199Ж`7',1999,2,132,0,0),(4,'ЖЗИ0110Т',2010,3,0,0,0)"));
        // Histories of the first generation: one row per client, keyed by the
        // client, no date, no newest-row link.
        Exec(QStringLiteral("INSERT INTO drugusedata (ROWID,nBasicDrug) VALUES (1,5),(2,6)"));
        Exec(QStringLiteral("INSERT INTO riskbehavior (ROWID,nUsingCondom) VALUES (1,1)"));
        Exec(QStringLiteral("INSERT INTO socialstatus (ROWID,nPlaceOfLiving,nEploymentStatus) "
                            "VALUES (1,1,0),(2,0,3)"));
        Exec(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,cString,nDirType,nType,nOrder,"
                            "bDeleted) VALUES (1,0,'B',1,7,1,0),(2,0,'A',1,1,1,1),"
                            "(3,NULL,'C',3,196609,5,0)"));
        Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorkPlace,nGroupID,"
                            "bIsFolder) VALUES (1,'2009-05-01',3,1,0,0)"));
        Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) VALUES "
                            "(1,1,3,2),(-1,2,3,4)"));
        Exec(QStringLiteral("INSERT INTO pdiinterview (ROWID,fSum,fSumSelf,dDate) VALUES "
                            "(7,'12.50','3.00','2008-01-01')"));

        CTarvikApp::ClearErrorMessages();
        CSQLDBUpdater updater;
        QVERIFY2(updater.Run(m_sql.get()), qPrintable(CTarvikApp::TakeErrorMessages()));
        // The address is longer than the card's field: the user is told.
        QVERIFY2(updater.Warnings().join(u'\n').contains(QStringLiteral("0/600")),
                 qPrintable(updater.Warnings().join(u'\n')));
    }
    void cleanupTestCase() {
        m_sql.reset();
        if (m_server)
            m_server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    }

    void rows_data() {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");
        QTest::newRow("version")
            << "SELECT cValue FROM dbsettings WHERE cVariable='DatabaseVersion'"
            << "486";
        QTest::newRow("organisation card")
            << "SELECT ROWID,cOrgID,cOrgName,cPrjName,cCity,cRegion FROM orginf"
            << "0|ORG-1|Фонд|Шаг|Город|";
        QTest::newRow("organisation facts renumbered")
            << "SELECT nRecordID,nRegionDataID FROM orginfo ORDER BY nRecordID"
            << "1|0;200|0;300|0;500|0;600|0";
        // Birth years out of range become 1900; codes following the rules are
        // marked new and lose their copy as the old code.
        // Cut to the card's field; the fact keeps its full text.
        QTest::newRow("long fact cut in the card, kept in the facts")
            << "SELECT CHAR_LENGTH(c.cAddress),CHAR_LENGTH(f.cValue) FROM orginf c JOIN orginfo f "
               "ON f.nRecordID=600"
            << "254|300";
        QTest::newRow("clients")
            << "SELECT ROWID,nBirthYear,bNewCode,cOClientCode FROM clientdata ORDER BY ROWID"
            << "1|1985|1|;2|1900|0|XYZ;3|1999|1|ГДЕ3199Ж`7;4|1900|0|ЖЗИ0110Т";
        // Client types split into the single type and the other flags; the
        // PDI flag (128) reaches the client.
        QTest::newRow("client types")
            << "SELECT c.nClientID,c.dDate,c.nClientType,c.nClientType2,c.nLastLinkID,d.bPDI FROM "
               "clientdatachanges c JOIN clientdata d ON d.ROWID=c.nClientID ORDER BY c.nClientID"
            << "1|1900-01-01|64|1|1|0;2|1900-01-01|2|4|2|0;3|1900-01-01|4|128|3|1;"
               "4|1900-01-01|0|0|4|0";
        QTest::newRow("drug use history")
            << "SELECT nClientID,dDate,nLastLinkID,nBasicDrug FROM drugusedata ORDER BY nClientID"
            << "1|1900-01-01|1|5;2|1900-01-01|2|6";
        QTest::newRow("risk history") << "SELECT nClientID,dDate,nLastLinkID FROM riskbehavior"
                                      << "1|1900-01-01|1";
        QTest::newRow("social history")
            << "SELECT nClientID,dDate,nLastLinkID,nPlaceOfLiving,nEploymentStatus FROM "
               "socialstatus ORDER BY nClientID"
            << "1|1900-01-01|1|2|99;2|1900-01-01|2|1|3";
        // Sort order renumbered (duplicates), service-point type 7 becomes 999,
        // a medicine kind moves, folders get the root.
        QTest::newRow("directory")
            << "SELECT ROWID,nOrder,nType,bHidden,nGroupID,nRegionDataID FROM dir ORDER BY ROWID"
            << "1|2|999|0|0|0;2|1|1|1|0|0;3|3|524289|0|0|0";
        QTest::newRow("daily report")
            << "SELECT nWorker1,nWorker2,nWorker3,nWorkPlace,nProject,nRegionDataID FROM "
               "dailyreport"
            << "3|-1|-1|1|1|0";
        QTest::newRow("visits without a report removed")
            << "SELECT nReportID,nClientID,nItem,nCount,ROWID>0 FROM dailyvisits"
            << "1|1|3|2|1";
        QTest::newRow("interview sums kept as text")
            << "SELECT nClientID,fSum,fSumSelf,nWaveID,nWaveGroupID FROM pdiinterview"
            << "7|12.50|3.00|1|2009";
    }
    void rows() {
        QFETCH(QString, query);
        QFETCH(QString, expected);
        QCOMPARE(Rows(query), expected);
    }
};

QTEST_GUILESS_MAIN(TestSchemaUpgrade)
#include "test_schema_upgrade.moc"
