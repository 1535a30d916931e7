// The health rows of a client on a database: found and replaced only by
// nClientID, in one pass that can run twice in a transaction, never touching
// another client's rows.
#include "clients/core/client_health_store.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <memory>

class TestClientHealth : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void loadsTheClientsRows();
    void savesEveryDiseaseByClient();
    void savedTwiceInOneTransaction();
    void unfilledRemovesTheClientsRows();
    void roundTripThroughTheGrid();
    void keepsOrganisationAndUpdateDates();
    void refusesBadSetsBeforeWriting_data();
    void refusesBadSetsBeforeWriting();

private:
    QString Rows(qint64 client) const {
        return m_db->Rows(QString("SELECT nDisease,nStatus,nTreatmentStartDate FROM healthstatus "
                                  "WHERE nClientID=%1 ORDER BY nDisease")
                              .arg(client));
    }
    static CClientHealth Filled(QList<CHealthRow> rows) {
        CClientHealth h;
        h.filled = true;
        h.rows = rows;
        return h;
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestClientHealth::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>("health");
    m_db->Exec("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount) "
               "VALUES (1,'Папка',1,0,0,0),(10,'АБВ0587ч',0,1,0,0),(11,'ГДЕ0190ж',0,0,0,0),"
               "(12,'ЖЗИ0285ч',0,0,0,0)");
}

void TestClientHealth::cleanupTestCase() {
    m_db.reset();
}

void TestClientHealth::init() {
    // Row 10 belongs to client 11, although its ROWID is client 10's.
    m_db->Exec("DELETE FROM healthstatus");
    m_db->Exec("INSERT INTO healthstatus (ROWID,nClientID,nDisease,nStatus,nTreatmentStartDate) "
               "VALUES (10,11,1,5,2015),(20,10,2,3,0)");
}

void TestClientHealth::loadsTheClientsRows() {
    CClientHealth h;
    QString error;
    QVERIFY(CClientHealthStore::Load(m_db->Connection(), 10, &h, &error));
    QVERIFY(h.filled);
    QCOMPARE(h.rows, QList<CHealthRow>({{2, 3, 0}}));
    const QList<CHealthGridRow> grid = CClientHealthStore::GridRows(h);
    QCOMPARE(grid.size(), 5);
    QCOMPARE(grid[1].disease, 2);
    QVERIFY(grid[1].testedEver && grid[1].tested6Months && !grid[1].knowsPositive);
    QVERIFY(!grid[0].testedEver && grid[0].treatmentYear == "0");

    QVERIFY(CClientHealthStore::Load(m_db->Connection(), 12, &h, &error));
    QVERIFY(!h.filled);
    for (const CHealthGridRow& row : CClientHealthStore::GridRows(h))
        QVERIFY(!row.testedEver && !row.tested6Months && !row.knowsNegative && !row.knowsPositive);
}

void TestClientHealth::savesEveryDiseaseByClient() {
    QString error;
    QVERIFY(CClientHealthStore::Save(
        m_db->Connection(), 10, Filled({{1, 5, 2010}, {2, 0, 0}, {3, 9, 0}, {4, 0, 0}, {5, 1, 0}}),
        &error));
    QCOMPARE(Rows(10), QString("1|5|2010;2|0|0;3|9|0;4|0|0;5|1|0"));
    // Client 11's row, whose ROWID is client 10's, is untouched.
    QCOMPARE(m_db->Rows("SELECT ROWID,nClientID,nDisease,nStatus FROM healthstatus WHERE "
                        "ROWID=10"),
             QString("10|11|1|5"));
}

void TestClientHealth::savedTwiceInOneTransaction() {
    CxMySQL* sql = m_db->Connection();
    QString error;
    const CClientHealth h = Filled({{1, 5, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}});
    QVERIFY(sql->BeginTransaction());
    QVERIFY(CClientHealthStore::Save(sql, 10, h, &error));
    QVERIFY2(CClientHealthStore::Save(sql, 10, h, &error), qPrintable(error));
    QVERIFY(sql->CommitTransaction());
    QCOMPARE(Rows(10), QString("1|5|0;2|0|0;3|0|0;4|0|0;5|0|0"));
}

void TestClientHealth::unfilledRemovesTheClientsRows() {
    QString error;
    QVERIFY(CClientHealthStore::Save(m_db->Connection(), 10, CClientHealth(), &error));
    QCOMPARE(Rows(10), QString());
    QCOMPARE(Rows(11), QString("1|5|2015"));
    // Unfilled, the rows given do not matter.
    CClientHealth h = Filled({{1, 5, 0}});
    h.filled = false;
    QVERIFY(CClientHealthStore::Save(m_db->Connection(), 12, h, &error));
    QCOMPARE(Rows(12), QString());
}

void TestClientHealth::roundTripThroughTheGrid() {
    CClientHealth h;
    QString error;
    QVERIFY(CClientHealthStore::Load(m_db->Connection(), 11, &h, &error));
    QList<CHealthRow> rows;
    QVERIFY(BuildHealthRows(CClientHealthStore::GridRows(h), &rows).ok);
    QVERIFY(CClientHealthStore::Save(m_db->Connection(), 11, Filled(rows), &error));
    QCOMPARE(Rows(11), QString("1|5|2015;2|0|0;3|0|0;4|0|0;5|0|0"));
}

// A client received from another organisation keeps that organisation on
// its health rows; rows the save does not change keep their ROWID and date of
// update, changed and new rows take the day of the save.
void TestClientHealth::keepsOrganisationAndUpdateDates() {
    m_db->Exec("UPDATE clientdata SET nRegionDataID=7 WHERE ROWID=10");
    m_db->Exec("UPDATE healthstatus SET nRegionDataID=7,dUpdateDate='2020-02-02' WHERE ROWID=20");
    m_db->Exec("INSERT INTO healthstatus (ROWID,nClientID,nDisease,nStatus,nTreatmentStartDate,"
               "nRegionDataID,dUpdateDate) VALUES (21,10,3,1,0,7,'2020-02-02'),"
               "(22,10,4,1,0,7,'2020-02-02')");
    QString error;
    // Disease 2 stays, 3 changes, 4 goes, 1 comes.
    QVERIFY2(CClientHealthStore::Save(m_db->Connection(), 10,
                                      Filled({{1, 1, 0}, {2, 3, 0}, {3, 2, 0}}), &error,
                                      QDate(2024, 5, 6)),
             qPrintable(error));
    QCOMPARE(m_db->Rows("SELECT nDisease,nStatus,nRegionDataID,dUpdateDate,ROWID IN (20,21) FROM "
                        "healthstatus WHERE nClientID=10 ORDER BY nDisease"),
             QString("1|1|7|2024-05-06|0;2|3|7|2020-02-02|1;3|2|7|2024-05-06|1"));
}

void TestClientHealth::refusesBadSetsBeforeWriting_data() {
    QTest::addColumn<qint64>("client");
    QTest::addColumn<int>("disease");
    QTest::addColumn<int>("other");
    QTest::newRow("unknown disease") << qint64(10) << 7 << 1;
    QTest::newRow("disease twice") << qint64(10) << 2 << 2;
    QTest::newRow("no such client") << qint64(99) << 1 << 2;
    QTest::newRow("a folder") << qint64(1) << 1 << 2;
}

void TestClientHealth::refusesBadSetsBeforeWriting() {
    QFETCH(qint64, client);
    QFETCH(int, disease);
    QFETCH(int, other);
    const QString before = m_db->Rows("SELECT * FROM healthstatus ORDER BY ROWID");
    QString error;
    QVERIFY(!CClientHealthStore::Save(m_db->Connection(), client,
                                      Filled({{disease, 1, 0}, {other, 1, 0}}), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(m_db->Rows("SELECT * FROM healthstatus ORDER BY ROWID"), before);
}

QTEST_GUILESS_MAIN(TestClientHealth)
#include "test_client_health.moc"
