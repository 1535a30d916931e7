// The comparison of two loads on a fixture of snapshots, with every figure
// worked out by hand: reports added and removed before the date, reports
// changed (checksums differ, one date before the date) with the visits that
// differ, names from each load's own directory copy; and the checks of a
// choice of loads.
#include "exchange/transfer/load_comparison.h"
#include "tests/support/schema_test_database.h"

#include <QTest>

namespace {

const QDate kDate(2024, 3, 15);

// Loads 1, 2 and 6 of organisation 2 (ORG-A), load 3 of organisation 3, load 4
// of an organisation without identifier, load 5 of none.
void Fill(const TestDatabase& db) {
    db.Exec("INSERT INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cSogName,cCity,cRegion,cAddress,"
            "cPhone,cEMail,cWWW,cBoss,cBossPhone,cProjRuk,cProjRukPhone,cDonors,cProjectDate) "
            "VALUES (2,'ORG-A','','','','','','','','','','','','','','',''),"
            "(3,'ORG-C','','','','','','','','','','','','','','',''),"
            "(4,'','','','','','','','','','','','','','','','')");
    db.Exec("INSERT INTO cmp_loadids (nLoadID,nRegionDataID,dDate) VALUES "
            "(1,2,'2024-03-20'),(2,2,'2024-03-25'),(3,3,'2024-03-01'),(4,4,'2024-03-01'),"
            "(5,9,'2024-03-01'),(6,2,'2024-03-30')");
    // ROWID, load, date, worker 1..3, service point, checksum
    db.Exec("INSERT INTO cmp_dailyreport (ROWID,nLoadID,dDate,nWorker1,nWorker2,nWorker3,"
            "nWorkPlace,nCrc) VALUES "
            "(1,1,'2024-03-01',3,-1,-1,2,10),(1,2,'2024-03-01',3,-1,-1,2,10),"
            "(2,1,'2024-03-02',3,-1,-1,2,20),(2,2,'2024-03-02',3,9,-1,2,21),"
            "(3,1,'2024-03-05',3,-1,-1,2,30),(3,2,'2024-03-06',3,-1,-1,2,31),"
            "(7,1,'2024-03-04',3,0,-1,2,70),"
            "(4,2,'2024-03-03',3,-1,-1,2,40),"
            "(5,1,'2024-03-20',3,-1,-1,2,50),(6,2,'2024-03-15',3,-1,-1,2,60),"
            "(8,1,'2024-03-20',3,-1,-1,2,80),(8,2,'2024-03-21',3,-1,-1,2,81),"
            "(9,1,'2024-03-20',3,-1,-1,2,90),(9,2,'2024-03-14',3,-1,-1,2,91)");
    db.Exec("INSERT INTO cmp_dir (ROWID,nLoadID,cString) VALUES "
            "(2,1,'Пункт <1> & \"2\"'),(3,1,'Иванов'),(4,1,'Шприц'),"
            "(2,2,'Пункт 1'),(3,2,'Иванов И.'),(4,2,'Шприц')");
    db.Exec("INSERT INTO cmp_clients (ROWID,nLoadID,cClientID) VALUES "
            "(1,1,'ABC'),(2,1,'DEF'),(1,2,'ABC'),(2,2,'DEF')");
    db.Exec("INSERT INTO cmp_visits (ROWID,nLoadID,nReportID,nClientID,nItem,nCount) VALUES "
            "(1,1,2,1,4,5),(2,1,2,2,4,1),(1,2,2,1,4,6),(2,2,2,2,4,1),"
            "(3,1,3,1,4,2),(3,2,3,1,4,2),(4,2,9,2,5,1)");
}

QString Cells(const CCompareReport& r) {
    return QStringLiteral("%1 %2 %3/%4 %5/%6 %7/%8 %9/%10")
        .arg(r.reportId)
        .arg(r.date.toString(Qt::ISODate))
        .arg(r.workPlace.id)
        .arg(r.workPlace.Text())
        .arg(r.worker1.id)
        .arg(r.worker1.Text())
        .arg(r.worker2.id)
        .arg(r.worker2.Text())
        .arg(r.worker3.id)
        .arg(r.worker3.Text());
}

QString Visits(const QList<CCompareVisit>& visits) {
    QStringList out;
    for (const CCompareVisit& v : visits)
        out << QStringLiteral("%1 %2/%3 %4/%5 %6")
                   .arg(v.inFirst ? "1" : "2")
                   .arg(v.clientId)
                   .arg(v.clientCode)
                   .arg(v.itemId)
                   .arg(v.item)
                   .arg(v.count);
    return out.join(u';');
}

} // namespace

class TestLoadComparison : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;

private slots:
    void initTestCase() {
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("cmp"));
        Fill(*m_db);
    }
    void cleanupTestCase() { m_db.reset(); }

    // Organisations without identifier or card are left out; a second read
    // gives the same list, not a longer one.
    void loadTree() {
        for (int round = 0; round < 2; ++round) {
            QList<CCompareLoadOrg> tree;
            QString error;
            QVERIFY(ReadCompareLoadTree(m_db->Connection(), &tree, &error));
            QCOMPARE(tree.size(), 2);
            QCOMPARE(tree[0].orgId, QStringLiteral("ORG-A"));
            QCOMPARE(tree[0].loads.size(), 3);
            QCOMPARE(CompareLoadItemText(tree[0].loads[0]), QStringLiteral("20.03.2024, 1"));
            QCOMPARE(CompareLoadItemText(tree[0].loads[1]), QStringLiteral("25.03.2024, 2"));
            QCOMPARE(tree[1].orgId, QStringLiteral("ORG-C"));
            QCOMPARE(tree[1].loads.size(), 1);
        }
    }

    void choice_data() {
        QTest::addColumn<QList<int>>("ticked");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::newRow("two of one") << QList<int>{1, 2} << kDate << QString() << 1 << 2;
        QTest::newRow("two of one, organisation ticked too")
            << QList<int>{0, 1, 2, 0} << kDate << QString() << 1 << 2;
        QTest::newRow("no date") << QList<int>{1, 2} << QDate() << "Необходимо заполнить дату" << 0
                                 << 0;
        QTest::newRow("none") << QList<int>{} << kDate << "Не выбраны данные для сравнения" << 0
                              << 0;
        QTest::newRow("only organisations")
            << QList<int>{0, 0} << kDate << "Не выбраны данные для сравнения" << 0 << 0;
        QTest::newRow("unknown loads")
            << QList<int>{77, 78} << kDate << "Не выбраны данные для сравнения" << 0 << 0;
        QTest::newRow("one") << QList<int>{1} << kDate
                             << "Необходимо выбрать две записи для сравнения" << 0 << 0;
        QTest::newRow("three") << QList<int>{1, 2, 6} << kDate
                               << "Необходимо выбрать две записи для сравнения" << 0 << 0;
        QTest::newRow("two organisations")
            << QList<int>{1, 3} << kDate << "Можно выбирать только одну организацию за раз" << 0
            << 0;
    }
    void choice() {
        QFETCH(QList<int>, ticked);
        QFETCH(QDate, date);
        QFETCH(QString, message);
        QFETCH(int, first);
        QFETCH(int, second);
        int a = -1, b = -1;
        QCOMPARE(CheckCompareChoice(m_db->Connection(), ticked, date, &a, &b), message);
        QCOMPARE(a, first);
        QCOMPARE(b, second);
    }

    // Load 1 against load 2 before 15.03.2024:
    //  - report 7 only in load 1 (04.03) and report 4 only in load 2 (03.03);
    //    5 (20.03, load 1 only) and 6 (15.03, the date itself) take no part;
    //  - changed: 2 (visit of client 1 counted 5, then 6), 3 (visits equal),
    //    9 (20.03 then 14.03: one date before); 8 (both dates after) and 1
    //    (same checksum) are not listed.
    void compare() {
        CCompareLoadsData data;
        QString error;
        QVERIFY2(CompareLoads(m_db->Connection(), 1, 2, kDate, &data, &error), qPrintable(error));
        QCOMPARE(data.addedRemoved.size(), 2);
        QVERIFY(data.addedRemoved[0].inFirst);
        QCOMPARE(Cells(data.addedRemoved[0].report),
                 QStringLiteral("7 2024-03-04 2/Пункт <1> & \"2\" 3/Иванов 0/Код 0 не найден "
                                "-1/-"));
        QVERIFY(!data.addedRemoved[1].inFirst);
        QCOMPARE(Cells(data.addedRemoved[1].report),
                 QStringLiteral("4 2024-03-03 2/Пункт 1 3/Иванов И. -1/- -1/-"));

        QCOMPARE(data.changed.size(), 3);
        QCOMPARE(Cells(data.changed[0].first),
                 QStringLiteral("2 2024-03-02 2/Пункт <1> & \"2\" 3/Иванов -1/- -1/-"));
        QCOMPARE(Cells(data.changed[0].second),
                 QStringLiteral("2 2024-03-02 2/Пункт 1 3/Иванов И. 9/Код 9 не найден -1/-"));
        QCOMPARE(Visits(data.changed[0].visits),
                 QStringLiteral("1 1/ABC 4/Шприц 5;2 1/ABC 4/Шприц 6"));
        QCOMPARE(data.changed[1].first.reportId, 3);
        QCOMPARE(data.changed[1].second.date, QDate(2024, 3, 6));
        QVERIFY(data.changed[1].visits.isEmpty());
        QCOMPARE(data.changed[2].first.reportId, 9);
        QCOMPARE(Visits(data.changed[2].visits), QStringLiteral("2 2/DEF 5/ 1"));
    }
};

QTEST_GUILESS_MAIN(TestLoadComparison)
#include "test_load_comparison.moc"
