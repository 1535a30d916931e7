// A client's visit written from the client card into the day's daily report:
// which report, which sheet and rows, the columns, the redirections, the
// checksum, and what is refused before anything is written.
#include "diary/core/client_visit_writer.h"
#include "diary/core/daily_report_crc.h"
#include "diary_test_data.h"

#include "framework/core/tarvik_app.h"

#include <QTest>

using namespace diarytest;

Q_DECLARE_METATYPE(EDiaryField)
Q_DECLARE_METATYPE(CClientVisitLine)
Q_DECLARE_METATYPE(CClientVisit)

namespace {
CClientVisit Visit(const QList<CClientVisitLine>& lines, int worker = kWorker) {
    CClientVisit v;
    v.clientId = kClientA;
    v.date = QDate(2024, 3, 15);
    v.workPlace = kPlace;
    v.worker = worker;
    v.lines = lines;
    return v;
}

QString Redirects(const TestDatabase& db, qint64 report) {
    return db.Rows(QStringLiteral("SELECT CONCAT(nVedID,':',nItem,'/',nConsultKey,':',nCount) "
                                  "FROM dailyredirects WHERE nReportID=%1 ORDER BY nVedID,nItem")
                       .arg(report));
}
} // namespace

class TestClientVisitWriter : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void linesWithNothingWriteNothing();
    void refusals_data();
    void refusals();
    void newReportForTheDay();
    void repeatedMaterialsOpenRows_data();
    void repeatedMaterialsOpenRows();
    void addedAfterTheRowsOfTheOwnReport();

private:
    QString Everything() const {
        return m_db->Rows(QStringLiteral("SELECT COUNT(*) FROM dailyreport")) + Cells(*m_db, 1, 0) +
               m_db->Rows(QStringLiteral("SELECT COUNT(*) FROM dailyredirects"));
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
    CxSQL* m_sql = nullptr;
};

void TestClientVisitWriter::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("visit"));
    m_sql = m_db->Connection();
    FillDirectory(*m_db);
}

void TestClientVisitWriter::init() {
    for (const char* table : {"dailyreport", "dailyvisits", "dailyvisitssubhdr", "dailyredirects"})
        m_db->Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    CTarvikApp::ClearErrorMessages();
}

void TestClientVisitWriter::cleanupTestCase() {
    m_db.reset();
}

void TestClientVisitWriter::linesWithNothingWriteNothing() {
    CClientVisit visit = Visit({{-1, QString()},
                                {kSyringe, QStringLiteral("0")},
                                {kMeal, QStringLiteral("0")},
                                {kCondom, QString()}});
    visit.workPlace = -1;
    visit.date = QDate();
    qint64 report = 0;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(WriteClientVisit(m_sql, visit, &report, &refusal, &error));
    QCOMPARE(report, -1);
    QCOMPARE(Everything(), QStringLiteral("00"));
}

void TestClientVisitWriter::refusals_data() {
    QTest::addColumn<CClientVisit>("visit");
    QTest::addColumn<EDiaryField>("field");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    const CClientVisitLine syringe{kSyringe, QStringLiteral("2")};
    QTest::newRow("material not in the directory")
        << Visit({syringe, {555, QStringLiteral("1")}}) << EDiaryField::VisitMaterial << 1
        << "Ошибка запроса из базы";
    QTest::newRow("service without a value")
        << Visit({{kMeal, QString()}}) << EDiaryField::VisitValue << 0 << "Ошибка";
    QTest::newRow("consultation without a kind")
        << Visit({syringe, {kHivConsult, QString()}}) << EDiaryField::VisitValue << 1 << "Ошибка";
    QTest::newRow("consultation kind it does not carry")
        << Visit({{kHivConsult, QStringLiteral("8")}}) << EDiaryField::VisitValue << 0 << "Ошибка";
    QTest::newRow("consultation two kinds at once")
        << Visit({{kHivConsult, QStringLiteral("18")}}) << EDiaryField::VisitValue << 0 << "Ошибка";
    QTest::newRow("count not a number")
        << Visit({{kSyringe, QStringLiteral("много")}}) << EDiaryField::VisitValue << 0 << "Ошибка";
    CClientVisit v = Visit({syringe});
    v.workPlace = -1;
    v.worker = -1;
    QTest::newRow("no service point") << v << EDiaryField::WorkPlace << -1 << "Пункт";
    v = Visit({syringe}, -1);
    QTest::newRow("no worker") << v << EDiaryField::Worker1 << -1 << "Работник";
    v = Visit({syringe});
    v.date = QDate();
    QTest::newRow("no date") << v << EDiaryField::Date << -1 << "Дата";
}

void TestClientVisitWriter::refusals() {
    QFETCH(CClientVisit, visit);
    QFETCH(EDiaryField, field);
    QFETCH(int, row);
    QFETCH(QString, text);
    qint64 report = 0;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(!WriteClientVisit(m_sql, visit, &report, &refusal, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(refusal.field, field);
    QCOMPARE(refusal.row, row);
    QVERIFY(refusal.text == text || refusal.title == text);
    QCOMPARE(Everything(), QStringLiteral("00"));
}

void TestClientVisitWriter::newReportForTheDay() {
    qint64 report = 0;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY2(WriteClientVisit(m_sql,
                              Visit({{kSyringe, QStringLiteral("3")},
                                     {kMeal, QStringLiteral("1")},
                                     {kHivConsult, QStringLiteral("16")},
                                     {kTbReferral, QStringLiteral("4")}}),
                              &report, &refusal, &error),
             qPrintable(refusal.text + error));
    QVERIFY(report > 0);
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT dDate,nWorkPlace,nWorker1,nWorker2,nGroupID,"
                                       "bIsFolder,nRegionDataID,nCrc IS NOT NULL FROM dailyreport "
                                       "WHERE ROWID=%1")
                            .arg(report)),
             QStringLiteral("2024-03-15|11|21|-1|0|0|0|1"));
    // Sheet 0 for the visit; the consultation counted in people goes to a
    // redirections sheet of its own number.
    QCOMPARE(Cells(*m_db, int(report), 0), QStringLiteral("0:201:101:3;0:201:103:1;0:201:104:16"));
    QCOMPARE(Layout(*m_db, int(report), 0), QString());
    QCOMPARE(Redirects(*m_db, report), QStringLiteral("1:106/4:1"));

    // The stored checksum is the one a fresh computation gives.
    const QString crc =
        m_db->Scalar(QStringLiteral("SELECT nCrc FROM dailyreport WHERE ROWID=%1").arg(report));
    m_db->Exec(QStringLiteral("UPDATE dailyreport SET nCrc=NULL"));
    QVERIFY(BuildCRC(nullptr, false, m_sql));
    QCOMPARE(
        m_db->Scalar(QStringLiteral("SELECT nCrc FROM dailyreport WHERE ROWID=%1").arg(report)),
        crc);
}

// A line naming an item that an earlier line of the visit already wrote goes
// one row further, and the lines after it stay on that row or further still.
void TestClientVisitWriter::repeatedMaterialsOpenRows_data() {
    QTest::addColumn<QList<CClientVisitLine>>("lines");
    QTest::addColumn<QString>("cells");
    const auto line = [](int item, int value) {
        return CClientVisitLine{item, QString::number(value)};
    };
    QTest::newRow("each once") << QList<CClientVisitLine>{line(kSyringe, 2), line(kCondom, 1)}
                               << "0:201:101:2;0:201:102:1";
    QTest::newRow("one repeated, a new one after it")
        << QList<CClientVisitLine>{line(kSyringe, 2), line(kCondom, 1), line(kSyringe, 4),
                                   line(kLawyer, 4)}
        << "0:201:101:2;0:201:102:1;1:201:101:4;1:201:105:4";
    QTest::newRow("two repeated in turn")
        << QList<CClientVisitLine>{line(kSyringe, 2), line(kCondom, 1), line(kSyringe, 4),
                                   line(kCondom, 3)}
        << "0:201:101:2;0:201:102:1;1:201:101:4;2:201:102:3";
    QTest::newRow("repeated in reverse")
        << QList<CClientVisitLine>{line(kSyringe, 1), line(kCondom, 1), line(kCondom, 2),
                                   line(kSyringe, 2)}
        << "0:201:101:1;0:201:102:1;1:201:102:2;2:201:101:2";
}

void TestClientVisitWriter::repeatedMaterialsOpenRows() {
    QFETCH(QList<CClientVisitLine>, lines);
    QFETCH(QString, cells);
    qint64 report = 0;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY2(WriteClientVisit(m_sql, Visit(lines), &report, &refusal, &error),
             qPrintable(refusal.text + error));
    QCOMPARE(Cells(*m_db, int(report), 0), cells);
}

void TestClientVisitWriter::addedAfterTheRowsOfTheOwnReport() {
    // Another organisation's report of the same day, point and worker comes
    // first; it is not ours to add to.
    AddReport(*m_db, 1, "2024-03-15", kPlace, kWorker, 5);
    AddReport(*m_db, 2, "2024-03-15", kPlace, kWorker);
    m_db->Exec(QStringLiteral("UPDATE dailyreport SET nCrc=77 WHERE ROWID=2"));
    m_db->Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,"
                              "nCount) VALUES (2,1,0,202,101,1),(2,1,2,203,101,5)"));
    m_db->Exec(QStringLiteral(
        "INSERT INTO dailyvisitssubhdr (nReportID,nVedID,nKeyFirst,nKeySecond,nWidth,nPos) VALUES "
        "(2,1,-1,-1,120,0),(2,1,101,-1,60,1)"));
    m_db->Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,nConsultKey,"
                              "nCount) VALUES (2,0,106,4,1)"));

    qint64 report = 0;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY2(WriteClientVisit(m_sql,
                              Visit({{kSyringe, QStringLiteral("2")},
                                     {kCondom, QStringLiteral("1")},
                                     {kTbReferral, QStringLiteral("4")},
                                     {kSyringe, QStringLiteral("4")},
                                     {kTbReferral, QStringLiteral("4")},
                                     {kLawyer, QStringLiteral("4")}}),
                              &report, &refusal, &error),
             qPrintable(refusal.text + error));
    QCOMPARE(report, 2);
    // After the sheet's last row; the second syringe line opens the next row.
    QCOMPARE(Cells(*m_db, 2, 1), QStringLiteral("0:202:101:1;2:203:101:5;3:201:101:2;3:201:102:1;"
                                                "4:201:101:4;4:201:105:4"));
    QCOMPARE(Layout(*m_db, 2, 1), QStringLiteral("-1/-1@120;101/-1@60;102/-1@0;105/4@0"));
    // One more person on the report's redirections sheet.
    QCOMPARE(Redirects(*m_db, 2), QStringLiteral("0:106/4:2"));
    QVERIFY(m_db->Scalar(QStringLiteral("SELECT nCrc FROM dailyreport WHERE ROWID=2")) !=
            QStringLiteral("77"));
    QCOMPARE(Cells(*m_db, 1, 0) + Cells(*m_db, 1, 1), QString());

    // Another main worker: another report.
    QVERIFY(WriteClientVisit(m_sql, Visit({{kSyringe, QStringLiteral("1")}}, kOtherWorker), &report,
                             &refusal, &error));
    QVERIFY(report > 2);
}

QTEST_GUILESS_MAIN(TestClientVisitWriter)
#include "tst_client_visit_writer.moc"
