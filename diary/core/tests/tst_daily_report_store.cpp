// A daily report's header rules and its save as one transaction: header,
// opened sheets, checksum and the duplicate question; the delete with its
// sheets' rows; and that a refusal, a failure or a "no" leaves nothing.
#include "diary/core/daily_report_crc.h"
#include "diary/core/daily_report_store.h"
#include "diary/core/redirections_sheet.h"
#include "diary/core/sheet_columns.h"
#include "diary/core/visits_sheet_store.h"
#include "diary_test_data.h"

#include "db/mysql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QTest>

using namespace diarytest;

Q_DECLARE_METATYPE(EDiaryField)
Q_DECLARE_METATYPE(CDailyReportHeader)

namespace {
CDailyReportHeader Header(const QDate& date = QDate(2024, 3, 15)) {
    CDailyReportHeader h;
    h.date = date;
    h.workPlace = kPlace;
    h.worker1 = kWorker;
    h.project = 1;
    return h;
}

CVisitsSheet Sheet(CxSQL* sql, const QList<qint32>& items, const QStringList& rows) {
    return diarytest::SheetOf(sql, items, rows);
}

// Everything the save touches, to see that a failed save left it all as it was.
QString Everything(const TestDatabase& db) {
    return db.Rows(QStringLiteral("SELECT ROWID,dDate,nWorkPlace,nWorker1,nWorker2,nProject,"
                                  "IFNULL(cComment,'-'),IFNULL(nCrc,'-') FROM dailyreport ORDER "
                                  "BY ROWID")) +
           QLatin1Char('#') +
           db.Rows(QStringLiteral("SELECT nReportID,nVedID,NPP,nClientID,nItem,nCount FROM "
                                  "dailyvisits ORDER BY nReportID,nVedID,NPP,nItem")) +
           QLatin1Char('#') +
           db.Rows(QStringLiteral("SELECT nReportID,nVedID,nKeyFirst,nKeySecond,nPos FROM "
                                  "dailyvisitssubhdr ORDER BY nReportID,nVedID,nPos")) +
           QLatin1Char('#') +
           db.Rows(QStringLiteral("SELECT nReportID,nVedID,nItem,nConsultKey,nCount FROM "
                                  "dailyredirects ORDER BY nReportID,nVedID,nItem,nConsultKey"));
}
} // namespace

class TestDailyReportStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void headerRules_data();
    void headerRules();
    void sheetTitles_data();
    void sheetTitles();
    void newReportWithSheets();
    void duplicateQuestion();
    void refusedSheetLeavesEverything();
    void unopenedSheetsKeepTheirRows();
    void deleteTakesTheSheetsAlong();
    void reportGoneMeanwhile();
    void twoCopiesSaveOneReport();
    void otherCopysChange_data();
    void otherCopysChange();

private:
    // A stored report with a visits sheet (two columns, one client) and a
    // redirections sheet; its ROWID.
    qint64 StoredReport();
    // An update of the report by the store, from the fingerprint given.
    bool SaveComment(CxSQL* sql, qint64 id, const QString& comment, const QString& count,
                     const CxRowsFingerprint* loaded, CxRowsFingerprint* stored,
                     CDiaryVerdict* refusal, QString* error);

    std::unique_ptr<SchemaTestDatabase> m_db;
    CxSQL* m_sql = nullptr;
};

void TestDailyReportStore::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("report"));
    m_sql = m_db->Connection();
    FillDirectory(*m_db);
}

void TestDailyReportStore::init() {
    for (const char* table : {"dailyreport", "dailyvisits", "dailyvisitssubhdr", "dailyredirects"})
        m_db->Exec(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
    CTarvikApp::ClearErrorMessages();
}

void TestDailyReportStore::cleanupTestCase() {
    m_db.reset();
}

void TestDailyReportStore::headerRules_data() {
    QTest::addColumn<CDailyReportHeader>("header");
    QTest::addColumn<EDiaryField>("field");
    QTest::addColumn<QString>("title");
    CDailyReportHeader h = Header();
    QTest::newRow("complete, second and third worker empty") << h << EDiaryField::None << "";
    h.worker2 = kOtherWorker;
    h.comment = QString(50, u'к');
    QTest::newRow("comment of 50") << h << EDiaryField::None << "";
    h.comment += u'к';
    QTest::newRow("comment of 51") << h << EDiaryField::Comment << "";
    h = Header(QDate());
    h.workPlace = kNoDirRow;
    QTest::newRow("no date, first") << h << EDiaryField::Date << "Дата предоставления услуг";
    h = Header();
    h.workPlace = kNoDirRow;
    h.worker1 = kNoDirRow;
    QTest::newRow("no service point")
        << h << EDiaryField::WorkPlace << "Пункт предоставления услуг";
    h = Header();
    h.worker1 = 0;
    QTest::newRow("no main worker") << h << EDiaryField::Worker1 << "Основной предоставитель услуг";
    h = Header();
    h.project = 0;
    QTest::newRow("no project") << h << EDiaryField::Project << "Проект";
}

void TestDailyReportStore::headerRules() {
    QFETCH(CDailyReportHeader, header);
    QFETCH(EDiaryField, field);
    QFETCH(QString, title);
    const CDiaryVerdict verdict = CheckDailyReportHeader(header);
    QCOMPARE(verdict.ok, field == EDiaryField::None);
    QCOMPARE(verdict.field, field);
    QCOMPARE(verdict.title, title);
    if (!title.isEmpty())
        QCOMPARE(verdict.text, QStringLiteral("Поле должно быть заполнено."));

    // A refused header writes nothing.
    if (!verdict.ok) {
        CDailyReportSave save;
        save.action = EDailyReportAction::Insert;
        save.header = header;
        qint64 id = 0;
        CDiaryVerdict refusal;
        QString error;
        QVERIFY(!SaveDailyReport(m_sql, save, &id, &refusal, &error));
        QCOMPARE(refusal.field, field);
        QCOMPARE(id, -1);
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport")),
                 QStringLiteral("0"));
    }
}

void TestDailyReportStore::sheetTitles_data() {
    QTest::addColumn<bool>("visits");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("title");
    QTest::newRow("visits 0") << true << 0 << "Визиты";
    QTest::newRow("visits 1") << true << 1 << "Визиты 2";
    QTest::newRow("visits 4") << true << 4 << "Визиты 5";
    QTest::newRow("redirections 0") << false << 0 << "Переадресация";
    QTest::newRow("redirections 2") << false << 2 << "Переадресация 3";
}

void TestDailyReportStore::sheetTitles() {
    QFETCH(bool, visits);
    QFETCH(int, number);
    QFETCH(QString, title);
    QCOMPARE(DailyReportSheetTitle(visits ? EDiarySheetKind::Visits : EDiarySheetKind::Redirections,
                                   number),
             title);
}

void TestDailyReportStore::newReportWithSheets() {
    const CVisitsSheet visits = Sheet(m_sql, {kSyringe, kMeal}, {"АБВ0190Ч|3|1"});
    CRedirectionsSheet redirections;
    QString error;
    QVERIFY(CRedirectionsSheetStore::Load(m_sql, 0, 1, &redirections, &error));
    redirections.rows[1].count = QStringLiteral("2");

    CDailyReportSave save;
    save.action = EDailyReportAction::Insert;
    save.header = Header();
    save.header.worker3 = kOtherWorker;
    save.header.comment = QStringLiteral("O'Neil \\ «выезд»");
    save.header.groupId = 9;
    save.pages = {{0, &visits, nullptr}, {1, nullptr, &redirections}};
    int asked = 0;
    save.confirmDuplicate = [&](qint64) { return ++asked, true; };
    qint64 id = -1;
    CDiaryVerdict refusal;
    QVERIFY2(SaveDailyReport(m_sql, save, &id, &refusal, &error), qPrintable(refusal.text + error));
    QVERIFY(id > 0);
    QCOMPARE(asked, 0);
    QCOMPARE(Cells(*m_db, int(id), 0), QStringLiteral("0:201:101:3;0:201:103:1"));
    QVERIFY(m_db->Scalar(
                QStringLiteral("SELECT IFNULL(nCrc,0) FROM dailyreport WHERE ROWID=%1").arg(id)) !=
            QStringLiteral("0"));

    CDailyReportHeader header;
    CDailyReportSheets sheets;
    QVERIFY(LoadDailyReport(m_sql, id, &header, &sheets, &error));
    QCOMPARE(header.date, QDate(2024, 3, 15));
    QCOMPARE(header.workPlace, kPlace);
    QCOMPARE(header.worker1, kWorker);
    QCOMPARE(header.worker2, kNoDirRow);
    QCOMPARE(header.worker3, kOtherWorker);
    QCOMPARE(header.project, 1);
    QCOMPARE(header.comment, save.header.comment);
    QCOMPARE(header.groupId, 9);
    QCOMPARE(sheets.visits, QList<int>{0});
    QCOMPARE(sheets.redirections, QList<int>{1});
    QCOMPARE(sheets.highest, 1);
}

// A second report with the sheet data of another asks once; "no" leaves
// nothing of the save, header included; "yes" stores it.
void TestDailyReportStore::duplicateQuestion() {
    const CVisitsSheet visits = Sheet(m_sql, {kSyringe}, {"АБВ0190Ч|3"});
    CDailyReportSave save;
    save.action = EDailyReportAction::Insert;
    save.header = Header();
    save.pages = {{0, &visits, nullptr}};
    QList<qint64> asked;
    bool answer = true;
    save.confirmDuplicate = [&](qint64 others) {
        asked << others;
        return answer;
    };
    qint64 first = -1, id = -1;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(SaveDailyReport(m_sql, save, &first, &refusal, &error));
    QVERIFY(asked.isEmpty());
    const QString before = Everything(*m_db);

    // The comment and the project do not make it another report.
    save.header.comment = QStringLiteral("другой");
    save.header.project = 2;
    answer = false;
    QVERIFY(!SaveDailyReport(m_sql, save, &id, &refusal, &error));
    QVERIFY(refusal.ok);
    QVERIFY(error.isEmpty());
    QCOMPARE(asked, QList<qint64>{1});
    QCOMPARE(Everything(*m_db), before);

    answer = true;
    QVERIFY(SaveDailyReport(m_sql, save, &id, &refusal, &error));
    QCOMPARE(asked, (QList<qint64>{1, 1}));
    QVERIFY(id != first);
    QCOMPARE(Cells(*m_db, int(id), 0), QStringLiteral("0:201:101:3"));

    // Saving the first again finds the second.
    CDailyReportSave again = save;
    again.action = EDailyReportAction::Update;
    again.header.rowId = first;
    answer = false;
    QVERIFY(!SaveDailyReport(m_sql, again, &id, &refusal, &error));
    QCOMPARE(asked, (QList<qint64>{1, 1, 1}));
    QCOMPARE(
        m_db->Scalar(QStringLiteral("SELECT IFNULL(cComment,'-') FROM dailyreport WHERE ROWID=%1")
                         .arg(first)),
        QStringLiteral("-"));
}

void TestDailyReportStore::refusedSheetLeavesEverything() {
    AddReport(*m_db, 1);
    m_db->Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,"
                              "nCount) VALUES (1,0,0,201,101,3),(1,1,0,202,102,4)"));
    QString error;
    QVERIFY(BuildCRC(nullptr, false, m_sql));
    const QString before = Everything(*m_db);

    const CVisitsSheet good = Sheet(m_sql, {kCondom}, {"ГДЕ1585Ж|5"});
    const CVisitsSheet bad = Sheet(m_sql, {kSyringe}, {"ЖЖЖ0000Ч|1"});
    CDailyReportSave save;
    save.header = Header();
    save.header.rowId = 1;
    save.header.comment = QStringLiteral("изменено");
    save.pages = {{1, &good, nullptr}, {0, &bad, nullptr}};
    qint64 id = -1;
    CDiaryVerdict refusal;
    QVERIFY(!SaveDailyReport(m_sql, save, &id, &refusal, &error));
    QCOMPARE(refusal.field, EDiaryField::SheetCell);
    QCOMPARE(refusal.sheet, 0);
    QCOMPARE(refusal.row, 0);
    QCOMPARE(Everything(*m_db), before);
}

void TestDailyReportStore::unopenedSheetsKeepTheirRows() {
    AddReport(*m_db, 1);
    m_db->Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,"
                              "nCount) VALUES (1,0,0,201,101,3),(1,2,0,202,102,4)"));
    m_db->Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,nConsultKey,"
                              "nCount) VALUES (1,1,106,4,2)"));
    CVisitsSheet sheet;
    QString error;
    QVERIFY(CVisitsSheetStore::Load(m_sql, 1, 0, &sheet, nullptr, &error));
    sheet.SetText(0, 1, QStringLiteral("9"));
    CDailyReportSave save;
    save.header = Header();
    save.header.rowId = 1;
    save.pages = {{0, &sheet, nullptr}};
    qint64 id = -1;
    CDiaryVerdict refusal;
    QVERIFY2(SaveDailyReport(m_sql, save, &id, &refusal, &error), qPrintable(refusal.text + error));
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:101:9"));
    QCOMPARE(Cells(*m_db, 1, 2), QStringLiteral("0:202:102:4"));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyredirects")),
             QStringLiteral("1"));

    CDailyReportHeader header;
    CDailyReportSheets sheets;
    QVERIFY(LoadDailyReport(m_sql, 1, &header, &sheets, &error));
    QCOMPARE(sheets.visits, (QList<int>{0, 2}));
    QCOMPARE(sheets.redirections, QList<int>{1});
    QCOMPARE(sheets.highest, 2);
}

// Deleting a report used to leave its sheets' rows behind and the form's open
// pages wrote them again under the deleted ROWID.
void TestDailyReportStore::deleteTakesTheSheetsAlong() {
    AddReport(*m_db, 1);
    AddReport(*m_db, 2, "2024-03-16");
    const CVisitsSheet visits = Sheet(m_sql, {kSyringe}, {"АБВ0190Ч|3"});
    QString error;
    CDiaryVerdict refusal;
    for (const int report : {1, 2})
        QVERIFY(CVisitsSheetStore::Save(m_sql, report, 0, visits, &refusal, &error));
    m_db->Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,nConsultKey,"
                              "nCount) VALUES (1,1,106,4,2),(2,1,106,4,1)"));

    CDailyReportSave save;
    save.action = EDailyReportAction::Delete;
    save.header.rowId = 1;
    save.pages = {{0, &visits, nullptr}};
    int asked = 0;
    save.confirmDuplicate = [&](qint64) { return ++asked, false; };
    qint64 id = -1;
    QVERIFY2(SaveDailyReport(m_sql, save, &id, &refusal, &error), qPrintable(refusal.text + error));
    QCOMPARE(asked, 0);
    for (const char* table : {"dailyvisits", "dailyvisitssubhdr", "dailyredirects"})
        QCOMPARE(m_db->Scalar(QStringLiteral("SELECT GROUP_CONCAT(DISTINCT nReportID) FROM %1")
                                  .arg(QLatin1String(table))),
                 QStringLiteral("2"));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT GROUP_CONCAT(ROWID) FROM dailyreport")),
             QStringLiteral("2"));

    // A row that other rows name as their folder stays, with its sheets.
    m_db->Exec(QStringLiteral("UPDATE dailyreport SET nGroupID=2 WHERE ROWID=2"));
    const QString before = Everything(*m_db);
    save.header.rowId = 2;
    QVERIFY(!SaveDailyReport(m_sql, save, &id, &refusal, &error));
    QCOMPARE(refusal.field, EDiaryField::Report);
    QCOMPARE(refusal.text, QStringLiteral("Папка не пуста."));
    QCOMPARE(Everything(*m_db), before);
}

void TestDailyReportStore::reportGoneMeanwhile() {
    const CVisitsSheet visits = Sheet(m_sql, {kSyringe}, {"АБВ0190Ч|3"});
    CDailyReportSave save;
    save.header = Header();
    save.header.rowId = 42;
    save.pages = {{0, &visits, nullptr}};
    qint64 id = -1;
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(!SaveDailyReport(m_sql, save, &id, &refusal, &error));
    QCOMPARE(error, QStringLiteral("Ежедневный отчет не найден."));
    QCOMPARE(Everything(*m_db), QStringLiteral("###"));
}

qint64 TestDailyReportStore::StoredReport() {
    const CVisitsSheet visits = Sheet(m_sql, {kSyringe, kMeal}, {"АБВ0190Ч|3|1"});
    CRedirectionsSheet redirections;
    QString error;
    if (!CRedirectionsSheetStore::Load(m_sql, 0, 1, &redirections, &error))
        return -1;
    redirections.rows[1].count = QStringLiteral("2");
    CDailyReportSave save;
    save.action = EDailyReportAction::Insert;
    save.header = Header();
    save.pages = {{0, &visits, nullptr}, {1, nullptr, &redirections}};
    qint64 id = -1;
    CDiaryVerdict refusal;
    return SaveDailyReport(m_sql, save, &id, &refusal, &error) ? id : -1;
}

bool TestDailyReportStore::SaveComment(CxSQL* sql, qint64 id, const QString& comment,
                                       const QString& count, const CxRowsFingerprint* loaded,
                                       CxRowsFingerprint* stored, CDiaryVerdict* refusal,
                                       QString* error) {
    const CVisitsSheet visits =
        Sheet(sql, {kSyringe, kMeal}, {QStringLiteral("АБВ0190Ч|%1|1").arg(count)});
    CDailyReportSave save;
    save.header = Header();
    save.header.rowId = id;
    save.header.comment = comment;
    save.pages = {{0, &visits, nullptr}};
    save.loaded = loaded;
    save.stored = stored;
    qint64 saved = -1;
    return SaveDailyReport(sql, save, &saved, refusal, error);
}

// Two copies of the program open one report; the first saves its comment
// and counts, the second's save is refused with a message and leaves the
// first's work whole; the second opens the report anew and saves; each
// copy's own stored fingerprint lets its next save through.
void TestDailyReportStore::twoCopiesSaveOneReport() {
    const qint64 id = StoredReport();
    QVERIFY(id > 0);
    CxMySQL other;
    SQLConnectXML info = m_db->Info();
    QVERIFY(other.Connect(&info));
    CxRowsFingerprint first, second;
    QString error;
    QVERIFY(first.Take(m_sql, DailyReportGuardedRows(id), &error));
    QVERIFY(second.Take(&other, DailyReportGuardedRows(id), &error));

    CxRowsFingerprint firstStored;
    CDiaryVerdict refusal;
    QVERIFY2(SaveComment(m_sql, id, QStringLiteral("первая копия"), QStringLiteral("7"), &first,
                         &firstStored, &refusal, &error),
             qPrintable(refusal.text + error));
    const QString afterFirst = Everything(*m_db);

    QVERIFY(!SaveComment(&other, id, QStringLiteral("вторая копия"), QStringLiteral("9"), &second,
                         nullptr, &refusal, &error));
    QCOMPARE(refusal.key, QString::fromLatin1(kReportChangedMeanwhileKey));
    QCOMPARE(refusal.field, EDiaryField::Report);
    QVERIFY2(refusal.text.contains(QStringLiteral("в другом окне")), qPrintable(refusal.text));
    QCOMPARE(Everything(*m_db), afterFirst);
    QCOMPARE(
        m_db->Scalar(QStringLiteral("SELECT cComment FROM dailyreport WHERE ROWID=%1").arg(id)),
        QStringLiteral("первая копия"));

    // Opened anew, the second copy saves, twice in a row.
    CxRowsFingerprint secondStored;
    QVERIFY(second.Take(&other, DailyReportGuardedRows(id), &error));
    QVERIFY2(SaveComment(&other, id, QStringLiteral("вторая копия"), QStringLiteral("9"), &second,
                         &secondStored, &refusal, &error),
             qPrintable(refusal.text + error));
    QVERIFY2(SaveComment(&other, id, QStringLiteral("ещё раз"), QStringLiteral("9"), &secondStored,
                         &secondStored, &refusal, &error),
             qPrintable(refusal.text + error));
    // The first copy's next save now meets the second's.
    const QString afterSecond = Everything(*m_db);
    QVERIFY(!SaveComment(m_sql, id, QStringLiteral("первая копия"), QStringLiteral("7"),
                         &firstStored, nullptr, &refusal, &error));
    QCOMPARE(Everything(*m_db), afterSecond);
}

// What another copy may change while a report is open: every row of the
// report counts, its checksum and other reports' rows do not.
void TestDailyReportStore::otherCopysChange_data() {
    QTest::addColumn<QString>("statement"); // {id}: the report, {other}: another report
    QTest::addColumn<bool>("saved");
    QTest::newRow("header comment")
        << "UPDATE dailyreport SET cComment='чужой' WHERE ROWID={id}" << false;
    QTest::newRow("header date") << "UPDATE dailyreport SET dDate='2024-03-16' WHERE ROWID={id}"
                                 << false;
    QTest::newRow("a cell's count")
        << "UPDATE dailyvisits SET nCount=nCount+1 WHERE nReportID={id} LIMIT 1" << false;
    QTest::newRow("a visit row added")
        << "INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,nCount) SELECT "
           "nReportID,nVedID,NPP+1,nClientID+1000,nItem,nCount FROM dailyvisits WHERE "
           "nReportID={id} LIMIT 1"
        << false;
    QTest::newRow("a visit row removed")
        << "DELETE FROM dailyvisits WHERE nReportID={id} LIMIT 1" << false;
    QTest::newRow("the sheet's columns")
        << "UPDATE dailyvisitssubhdr SET nPos=nPos+10 WHERE nReportID={id}" << false;
    QTest::newRow("a redirection")
        << "UPDATE dailyredirects SET nCount=nCount+1 WHERE nReportID={id}" << false;
    QTest::newRow("the report deleted") << "DELETE FROM dailyreport WHERE ROWID={id}" << false;
    QTest::newRow("its checksum recomputed")
        << "UPDATE dailyreport SET nCrc=12345 WHERE ROWID={id}" << true;
    QTest::newRow("another report's cells")
        << "UPDATE dailyvisits SET nCount=nCount+5 WHERE nReportID={other}" << true;
}

void TestDailyReportStore::otherCopysChange() {
    QFETCH(QString, statement);
    QFETCH(bool, saved);
    const qint64 id = StoredReport();
    QVERIFY(id > 0);
    m_db->Exec(QStringLiteral("UPDATE dailyreport SET dDate='2024-01-01' WHERE ROWID=%1").arg(id));
    const qint64 otherReport = StoredReport(); // the same day would be a duplicate
    QVERIFY(otherReport > 0);
    m_db->Exec(QStringLiteral("UPDATE dailyreport SET dDate='2024-03-15' WHERE ROWID=%1").arg(id));
    CxRowsFingerprint loaded;
    QString error;
    QVERIFY(loaded.Take(m_sql, DailyReportGuardedRows(id), &error));

    CxMySQL other;
    SQLConnectXML info = m_db->Info();
    QVERIFY(other.Connect(&info));
    QVERIFY(other
                .Execute(QString(statement)
                             .replace(QLatin1String("{id}"), QString::number(id))
                             .replace(QLatin1String("{other}"), QString::number(otherReport)))
                .isValid());
    const QString before = Everything(*m_db);
    CDiaryVerdict refusal;
    QCOMPARE(SaveComment(m_sql, id, QStringLiteral("моя"), QStringLiteral("4"), &loaded, nullptr,
                         &refusal, &error),
             saved);
    if (!saved) {
        QVERIFY2(refusal.key == QLatin1String(kReportChangedMeanwhileKey) ||
                     error == QStringLiteral("Ежедневный отчет не найден."),
                 qPrintable(refusal.text + error));
        QCOMPARE(Everything(*m_db), before);
    }
}

QTEST_GUILESS_MAIN(TestDailyReportStore)
#include "tst_daily_report_store.moc"
