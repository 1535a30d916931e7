// The fast work tables of the visits reports on the fixture of the period
// tables: their rows, the person key of _cache_clients, a second run that
// finds everything, and a failing step that leaves nothing behind.
#include "db/mysql_connection.h"
#include "framework/core/tarvik_app.h"
#include "rep_test_support.h"
#include "reports/base/core/fast_tables.h"
#include "tests/support/schema_test_database.h"
#include "work_table_fixture.h"

#include <QTest>
#include <memory>

class TestFastTables : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tablesAndPersonKey();
    void secondRunFindsTables();
    void failingStepLeavesNothing();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestFastTables::init() {
    InstallConfig(TestMatGroups());
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("fast"));
    LoadWorkTableFixture(*m_db);
    // A client whose cut code is its old code keeps a key of its own.
    m_db->Exec(QStringLiteral("UPDATE clientdata SET cOClientCode='DEF0290F' WHERE ROWID=5"));
}

void TestFastTables::cleanup() {
    m_db.reset();
    CTarvikApp::ClearErrorMessages();
}

void TestFastTables::tablesAndPersonKey() {
    CFastTables fast(m_db->Connection());
    QStringList seen;
    fast.SetStepObserver(
        [&](int step, int state) { seen << QStringLiteral("%1:%2").arg(step).arg(state); });
    QString error;
    QVERIFY2(fast.Process(nullptr, &error), qPrintable(error));
    QCOMPARE(seen.join(u' '), QStringLiteral("0:2 0:1 1:2 1:1 2:2 2:1 3:2 3:1"));
    // Only items whose code has a group, under the group alone.
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_mat")), QStringLiteral("100|510"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_cons")), QStringLiteral("103|580"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT nReportID,nType,nClientID,dDate,nWorkplace,"
                                       "nWorker1,nCount FROM _cache_fast ORDER BY "
                                       "nReportID,nClientID,nType")),
             QStringLiteral("1|510|1|2012-01-10|1|50|10;1|580|1|2012-01-10|1|50|2;"
                            "2|510|2|2012-01-10|2|51|3;3|510|1|2012-03-05|1|50|2;"
                            "4|510|1|2012-12-31|3|50|1;4|580|5|2012-12-31|3|50|1;"
                            "5|510|4|2011-12-31|1|50|7;7|510|6|2013-01-01|2|51|1"));
    // One person per key text (sex and year do not enter); client 5's code
    // equals its old code, so it is a person of its own.
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT gROWID,cGClientCode,nClientID,nWorkPlace,nWorker1,"
                                       "dFirstDate FROM _cache_clients ORDER BY nClientID")),
             QStringLiteral("1|ABC0180M|1|1|50|2012-01-10;1|ABC0180M|2|2|51|2012-01-10;"
                            "2|DEF0290F|4|1|50|2011-12-31;3|DEF0290F`5|5|3|50|2012-12-31;"
                            "4|GHI0000M|6|2|51|2013-01-01"));
    QVERIFY(!m_db->HoldsDbLock());
}

void TestFastTables::secondRunFindsTables() {
    CFastTables fast(m_db->Connection());
    const int first = fast.CountStatements();
    QVERIFY(first > 4); // more than the unlock of each step
    QVERIFY(fast.Process());
    // Every table there: one statement per step (the unlock).
    QCOMPARE(fast.CountStatements(), 4);
    m_db->Exec(QStringLiteral("INSERT INTO _cache_clients (gROWID,nClientID) VALUES (99,999)"));
    m_db->Exec(QStringLiteral("DROP TABLE _cache_fast"));
    // A missing table is made from the lists that exist; the others stay.
    QVERIFY(fast.Process());
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM _cache_fast")), QStringLiteral("8"));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM _cache_clients WHERE gROWID=99")),
             QStringLiteral("1"));
}

void TestFastTables::failingStepLeavesNothing() {
    m_db->Exec(QStringLiteral("ALTER TABLE dailyvisits DROP COLUMN nCount"));
    CFastTables fast(m_db->Connection());
    QString error;
    QVERIFY(!fast.Process(nullptr, &error));
    QVERIFY(error.contains(QStringLiteral("nCount")));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                       "table_schema=DATABASE() AND table_name LIKE '\\_cache\\_%' "
                                       "ORDER BY table_name")),
             QStringLiteral("_cache_config;_cache_cons;_cache_mat"));
    // Neither the named lock nor a table lock is left.
    QVERIFY(!m_db->HoldsDbLock());
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM clientdata")), QStringLiteral("9"));
}

QTEST_GUILESS_MAIN(TestFastTables)
#include "test_fast_tables.moc"
