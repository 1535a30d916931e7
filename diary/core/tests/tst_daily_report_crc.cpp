// The daily report checksum: the records and their fold (hand-computed
// vectors), the rebuild over the database, its failures, and the duplicate
// question of a save.
#include "diary/core/daily_report_crc.h"

#include "framework/core/checksum.h"
#include "framework/core/progress.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <zlib.h>

namespace {
// A report row; dDate NULL when date is empty.
QString ReportRow(int id, int place, int w1, int w2, int w3, const char* date, int region = 0,
                  const char* crc = "NULL") {
    return QStringLiteral("(%1,%2,%3,%4,%5,%6,0,0,%7,%8,'',0)")
        .arg(id)
        .arg(place)
        .arg(w1)
        .arg(w2)
        .arg(w3)
        .arg(*date ? QStringLiteral("'%1'").arg(QLatin1String(date)) : QStringLiteral("NULL"))
        .arg(region)
        .arg(QLatin1String(crc));
}

void InsertReports(SchemaTestDatabase& db, const QStringList& rows) {
    db.Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,nWorkPlace,nWorker1,nWorker2,nWorker3,"
                           "dDate,bIsFolder,nGroupID,nRegionDataID,nCrc,cComment,nProject) "
                           "VALUES ") +
            rows.join(u','));
}

// Visit cells as (report, sheet, NPP, client, item, count), inserted in the
// order given.
void InsertVisits(SchemaTestDatabase& db, const QList<QList<int>>& cells) {
    QStringList rows;
    for (const QList<int>& c : cells)
        rows << QStringLiteral("(%1,%2,%3,%4,%5,%6)")
                    .arg(c[0])
                    .arg(c[1])
                    .arg(c[2])
                    .arg(c[3])
                    .arg(c[4])
                    .arg(c[5]);
    db.Exec(QStringLiteral(
                "INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,nCount) VALUES ") +
            rows.join(u','));
}

QString Crc(SchemaTestDatabase& db, int report) {
    const QString v = db.Rows(
        QStringLiteral("SELECT IFNULL(nCrc,'NULL') FROM dailyreport WHERE ROWID=%1").arg(report));
    return v;
}

class RecordingProgress : public CvProgress {
public:
    void BeginProgress(const QString& title, int count) override {
        log << QStringLiteral("begin %1 %2").arg(title).arg(count);
    }
    void SetRange(int count, const QString& caption) override {
        log << QStringLiteral("range %1 %2").arg(count).arg(caption);
    }
    void Step(const QString&, int steps) override { stepped += steps; }
    void EndProgress(const QString& text) override { log << QStringLiteral("end ") + text; }
    bool IsCancelled() const override { return cancel; }

    QStringList log;
    qint64 stepped = 0;
    bool cancel = false;
};
} // namespace

class TestDailyReportCrc : public QObject {
    Q_OBJECT

private slots:
    void calcCrcIsTheBareRegister();
    void oleDate_data();
    void oleDate();
    void handVectors_data();
    void handVectors();
    void buildStoresChecksumsOfReportsWithout();
    void buildReportsAFailingQuery();
    void equalSheetsGiveEqualChecksums();
    void duplicateCount();
    void progressAndCancel();
};

void TestDailyReportCrc::calcCrcIsTheBareRegister() {
    const QByteArray a("12345"), b("6789");
    // The classic check value of CRC-32 is 0xCBF43926 with both inversions.
    QCOMPARE(CalcCrc("123456789", 9), ~0xCBF43926u);
    QCOMPARE(CalcCrc(b.constData(), b.size(), CalcCrc(a.constData(), a.size())),
             CalcCrc("123456789", 9));
    QCOMPARE(CalcCrc("", 0, 0x1234u), 0x1234u);
    const QByteArray all = a + b;
    QCOMPARE(CalcCrc(all.constData(), all.size()),
             ~uint32_t(crc32(0, reinterpret_cast<const Bytef*>(all.constData()), all.size())));
}

void TestDailyReportCrc::oleDate_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("epoch") << QByteArray("1899-12-30") << 0.0;
    QTest::newRow("1900-01-01") << QByteArray("1900-01-01") << 2.0;
    QTest::newRow("2024-03-15") << QByteArray("2024-03-15") << 45366.0;
    QTest::newRow("with time") << QByteArray("2024-03-15 18:00:00") << 45366.75;
    QTest::newRow("before epoch, time apart") << QByteArray("1899-12-29 06:00:00") << -1.25;
    QTest::newRow("NULL date") << QByteArray() << 0.0;
    QTest::newRow("zero date") << QByteArray("0000-00-00") << 0.0;
    QTest::newRow("no such day") << QByteArray("2023-02-29") << 0.0;
    QTest::newRow("not a date") << QByteArray("15.03.2024") << 0.0;
    QTest::newRow("year out of range") << QByteArray("0050-06-01") << -1.0;
}

void TestDailyReportCrc::oleDate() {
    QFETCH(QByteArray, text);
    QFETCH(double, value);
    QCOMPARE(DailyReportOleDate(text), value);
}

// Vectors computed by hand from the records (independent of this code): the
// register over header + visit records, then its stored signed form.
void TestDailyReportCrc::handVectors_data() {
    QTest::addColumn<QList<int>>("header");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QList<int>>("visits");
    QTest::addColumn<int>("stored");
    QTest::newRow("no visits: one record of zeros")
        << QList<int>{7, 3, -1, -1} << QStringLiteral("2024-03-15") << QList<int>{0, 0, 0}
        << -1324707711;
    QTest::newRow("NULL date") << QList<int>{7, 3, -1, -1} << QString() << QList<int>{0, 0, 0}
                               << 592960309;
    QTest::newRow("three cells") << QList<int>{12, 4, 5, -1} << QStringLiteral("2023-01-09")
                                 << QList<int>{101, 2001, 10, 101, 2002, 5, 205, 2001, 18}
                                 << 388476953;
    QTest::newRow("a checksum of 0 is stored as 1")
        << QList<int>{1, 1, -1, -1} << QStringLiteral("2024-01-01")
        << QList<int>{300, 400, -278303637} << 1;
}

void TestDailyReportCrc::handVectors() {
    QFETCH(QList<int>, header);
    QFETCH(QString, date);
    QFETCH(QList<int>, visits);
    QFETCH(int, stored);
    uint32_t crc =
        BuildCRC_HeaderCrc(kDailyReportCrcSeed, header[0], header[1], header[2], header[3], date);
    for (qsizetype i = 0; i < visits.size(); i += 3)
        crc = BuildCRC_VisitCrc(crc, visits[i], visits[i + 1], visits[i + 2]);
    QCOMPARE(DailyReportStoredCrc(crc), stored);
}

void TestDailyReportCrc::buildStoresChecksumsOfReportsWithout() {
    SchemaTestDatabase db(QStringLiteral("crc"));
    InsertReports(db, {ReportRow(1, 7, 3, -1, -1, "2024-03-15"), ReportRow(2, 7, 3, -1, -1, ""),
                       ReportRow(3, 12, 4, 5, -1, "2023-01-09"),
                       ReportRow(4, 1, 1, -1, -1, "2024-01-01", 0, "0"),
                       // a checksum that is there stays, right or wrong
                       ReportRow(5, 7, 3, -1, -1, "2024-03-15", 0, "55"),
                       // another organisation's report
                       ReportRow(6, 7, 3, -1, -1, "2024-03-15", 5)});
    // Report 3's cells in another row order than they fold in: item, then NPP.
    InsertVisits(db, {{3, 0, 1, 2001, 205, 18},
                      {3, 0, 1, 2002, 101, 5},
                      {3, 0, 0, 2001, 101, 10},
                      {4, 0, 0, 400, 300, -278303637}});
    CxSQLError error;
    QVERIFY(BuildCRC(nullptr, false, db.Connection(), &error));
    QVERIFY(!error.isSet());
    QCOMPARE(Crc(db, 1), QStringLiteral("-1324707711"));
    QCOMPARE(Crc(db, 2), QStringLiteral("592960309"));
    QCOMPARE(Crc(db, 3), QStringLiteral("388476953"));
    QCOMPARE(Crc(db, 4), QStringLiteral("1"));
    QCOMPARE(Crc(db, 5), QStringLiteral("55"));
    QCOMPARE(Crc(db, 6), QStringLiteral("NULL"));

    QVERIFY(BuildCRC(nullptr, true, db.Connection(), &error));
    QCOMPARE(Crc(db, 6), QStringLiteral("-1324707711"));
}

// A failing query used to end the run as complete; it is a failure now.
void TestDailyReportCrc::buildReportsAFailingQuery() {
    SchemaTestDatabase db(QStringLiteral("crcfail"));
    InsertReports(db, {ReportRow(1, 7, 3, -1, -1, "2024-03-15")});
    db.Exec(QStringLiteral("RENAME TABLE dailyvisits TO dailyvisits_away"));
    RecordingProgress progress;
    CxSQLError error;
    QVERIFY(!BuildCRC(&progress, false, db.Connection(), &error));
    QCOMPARE(error.serverCode, 1146u); // no such table
    QVERIFY(error.statement.contains(QStringLiteral("FROM dailyreport LEFT JOIN dailyvisits")));
    QCOMPARE(progress.log.last(), QStringLiteral("end "));
    QCOMPARE(Crc(db, 1), QStringLiteral("NULL"));
    CTarvikApp::ClearErrorMessages();
}

// Rows number from 0 on every sheet: two sheets of a report hold rows with
// the same item and number. Equal reports written in another row order must
// still get equal checksums; comment, project, sheet numbers and
// redirections do not count.
void TestDailyReportCrc::equalSheetsGiveEqualChecksums() {
    SchemaTestDatabase db(QStringLiteral("crcorder"));
    InsertReports(db,
                  {ReportRow(1, 7, 3, 4, -1, "2024-03-15"), ReportRow(2, 7, 3, 4, -1, "2024-03-15"),
                   ReportRow(3, 7, 3, 4, -1, "2024-03-15")});
    db.Exec(QStringLiteral("UPDATE dailyreport SET cComment='другой',nProject=4 WHERE ROWID=3"));
    InsertVisits(db, {{1, 0, 0, 500, 101, 3}, {1, 1, 0, 500, 101, 5}, {1, 0, 1, 501, 102, 1}});
    InsertVisits(db, {{2, 0, 1, 501, 102, 1}, {2, 1, 0, 500, 101, 5}, {2, 0, 0, 500, 101, 3}});
    InsertVisits(db, {{3, 4, 0, 500, 101, 3}, {3, 6, 0, 500, 101, 5}, {3, 4, 1, 501, 102, 1}});
    db.Exec(QStringLiteral(
        "INSERT INTO dailyredirects (nReportID,nVedID,nItem,nConsultKey,nCount) VALUES "
        "(3,7,900,4,2)"));
    QVERIFY(BuildCRC(nullptr, false, db.Connection()));
    QCOMPARE(Crc(db, 2), Crc(db, 1));
    QCOMPARE(Crc(db, 3), Crc(db, 1));
    QVERIFY(Crc(db, 1) != QStringLiteral("NULL"));
}

void TestDailyReportCrc::duplicateCount() {
    SchemaTestDatabase db(QStringLiteral("crcdup"));
    InsertReports(db, {ReportRow(1, 7, 3, -1, -1, "2024-03-15"),
                       ReportRow(2, 7, 3, -1, -1, "2024-03-15"),
                       ReportRow(3, 8, 3, -1, -1, "2024-03-15"),
                       // never given a checksum by the form: another organisation's
                       ReportRow(4, 9, 3, -1, -1, "2024-03-15", 5),
                       ReportRow(5, 9, 3, -1, -1, "2024-03-15", 5, "0")});
    InsertVisits(db, {{1, 0, 0, 500, 101, 3}, {2, 0, 0, 500, 101, 3}, {3, 0, 0, 500, 101, 3}});
    QVERIFY(BuildCRC(nullptr, false, db.Connection()));

    qint64 others = -1;
    QVERIFY(CountReportsWithSameCrc(1, &others, db.Connection()));
    QCOMPARE(others, 1);
    QVERIFY(CountReportsWithSameCrc(3, &others, db.Connection()));
    QCOMPARE(others, 0);
    // Another organisation's report with the same checksum counts.
    db.Exec(QStringLiteral("UPDATE dailyreport SET nCrc=(SELECT nCrc FROM (SELECT nCrc FROM "
                           "dailyreport WHERE ROWID=3) AS t) WHERE ROWID=4"));
    QVERIFY(CountReportsWithSameCrc(3, &others, db.Connection()));
    QCOMPARE(others, 1);
    // Without a checksum a report has no duplicates, though another has 0 too.
    db.Exec(QStringLiteral("UPDATE dailyreport SET nCrc=0 WHERE ROWID=4"));
    QVERIFY(CountReportsWithSameCrc(5, &others, db.Connection()));
    QCOMPARE(others, 0);

    CxSQLError error;
    QVERIFY(!CountReportsWithSameCrc(999, &others, db.Connection(), &error));
    QVERIFY(error.isSet());
}

void TestDailyReportCrc::progressAndCancel() {
    SchemaTestDatabase db(QStringLiteral("crcprog"));
    InsertReports(
        db, {ReportRow(1, 7, 3, -1, -1, "2024-03-15"), ReportRow(2, 7, 3, -1, -1, "2024-03-16")});
    QList<QList<int>> cells;
    for (int i = 0; i < 1500; ++i)
        cells.append({2, 0, i, 1000 + i, 101, 1});
    InsertVisits(db, cells);

    RecordingProgress cancelling;
    cancelling.cancel = true;
    CxSQLError error;
    QVERIFY(!BuildCRC(&cancelling, false, db.Connection(), &error));
    QVERIFY(!error.text.isEmpty());
    QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE nCrc IS NULL")),
             QStringLiteral("2"));

    RecordingProgress progress;
    QVERIFY(BuildCRC(&progress, false, db.Connection()));
    QCOMPARE(progress.log, (QStringList{QStringLiteral("begin Проверка контрольных сумм -1"),
                                        QStringLiteral("range 2 Расчет контрольных сумм"),
                                        QStringLiteral("end Ok")}));
    QCOMPARE(progress.stepped, 2);
    QCOMPARE(db.Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE nCrc IS NULL")),
             QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(TestDailyReportCrc)
#include "tst_daily_report_crc.moc"
