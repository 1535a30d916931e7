// A visits sheet on the database: what a save stores as dailyvisits cells and
// dailyvisitssubhdr columns, what a load gives back, and what the save refuses
// without touching the stored sheet.
#include "diary/core/material_pack.h"
#include "diary/core/sheet_columns.h"
#include "diary/core/visits_sheet_store.h"
#include "diary_test_data.h"

#include "framework/core/tarvik_app.h"

#include <QTest>

using namespace diarytest;

Q_DECLARE_METATYPE(EDiaryField)

namespace {
CVisitsSheet Sheet(CxSQL* sql, const QList<qint32>& items, const QStringList& rows) {
    return diarytest::SheetOf(sql, items, rows);
}

QStringList Rows(const CVisitsSheet& sheet) {
    QStringList rows;
    for (int r = 0; r < sheet.RowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < sheet.ColumnCount(); ++c)
            cells << sheet.Text(r, c);
        rows << cells.join(u'|');
    }
    return rows;
}

QString Keys(const CVisitsSheet& sheet) {
    QStringList keys;
    for (int c = 0; c < sheet.ColumnCount(); ++c)
        keys << QStringLiteral("%1/%2").arg(sheet.Column(c).key.item).arg(sheet.Column(c).key.flag);
    return keys.join(u' ');
}
} // namespace

class TestVisitsSheetStore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void roundTrip_data();
    void roundTrip();
    void refusalsLeaveTheStoredSheet_data();
    void refusalsLeaveTheStoredSheet();
    void secondCountForARowAndItemRefused();
    void serviceForEveryClient();
    void layoutAndOrganisation();
    void loadNotesWhatItCannotShow();
    void packageRead_data();
    void packageRead();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
    CxSQL* m_sql = nullptr;
};

void TestVisitsSheetStore::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("sheet"));
    m_sql = m_db->Connection();
    FillDirectory(*m_db);
    AddReport(*m_db, 1);
}

void TestVisitsSheetStore::init() {
    m_db->Exec(QStringLiteral("DELETE FROM dailyvisits"));
    m_db->Exec(QStringLiteral("DELETE FROM dailyvisitssubhdr"));
    CTarvikApp::ClearErrorMessages();
}

void TestVisitsSheetStore::cleanupTestCase() {
    m_db.reset();
}

void TestVisitsSheetStore::roundTrip_data() {
    QTest::addColumn<QList<qint32>>("items");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("reloaded");
    QTest::newRow("materials") << QList<qint32>{kSyringe, kCondom}
                               << QStringList{"АБВ0190Ч|3|", "ГДЕ1585Ж|0|12"}
                               << "0:201:101:3;1:202:102:12"
                               << QStringList{"АБВ0190Ч|3|", "ГДЕ1585Ж||12"};
    QTest::newRow("service 0/1") << QList<qint32>{kMeal, kSyringe}
                                 << QStringList{"АБВ0190Ч|5|", "ГДЕ1585Ж|0|1"}
                                 << "0:201:103:1;1:202:101:1"
                                 << QStringList{"АБВ0190Ч|1|", "ГДЕ1585Ж||1"};
    QTest::newRow("consultation kinds OR-ed")
        << QList<qint32>{kHivConsult} << QStringList{"АБВ0190Ч|1|1", "ГДЕ1585Ж|0|1", "O'Brien|1|"}
        << "0:201:104:18;1:202:104:16;2:203:104:2"
        << QStringList{"АБВ0190Ч|1|1", "ГДЕ1585Ж|0|1", "O'Brien|1|0"};
    QTest::newRow("empty and zero cells")
        << QList<qint32>{kSyringe, kMeal, kHivConsult}
        << QStringList{"АБВ0190Ч|||0|0", "ГДЕ1585Ж|0|0||", "O'Brien|2|||", "|||0|"} << "2:203:101:2"
        << QStringList{"O'Brien|2"};
    QTest::newRow("one client on two rows")
        << QList<qint32>{kSyringe, kCondom} << QStringList{"АБВ0190Ч|1|", "АБВ0190Ч||2"}
        << "0:201:101:1;1:201:102:2" << QStringList{"АБВ0190Ч|1|", "АБВ0190Ч||2"};
    QTest::newRow("code typed in other case, with blanks")
        << QList<qint32>{kSyringe} << QStringList{" абв0190ч |5"} << "0:201:101:5"
        << QStringList{"АБВ0190Ч|5"};
    QTest::newRow("empty rows between")
        << QList<qint32>{kSyringe} << QStringList{"|", "ГДЕ1585Ж|4", "", "|"} << "1:202:101:4"
        << QStringList{"ГДЕ1585Ж|4"};
    QTest::newRow("nothing counted")
        << QList<qint32>{kSyringe} << QStringList{"АБВ0190Ч|0"} << "" << QStringList{};
}

void TestVisitsSheetStore::roundTrip() {
    QFETCH(QList<qint32>, items);
    QFETCH(QStringList, typed);
    QFETCH(QString, stored);
    QFETCH(QStringList, reloaded);
    const CVisitsSheet sheet = Sheet(m_sql, items, typed);
    CDiaryVerdict refusal;
    QString error;
    QVERIFY2(CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error),
             qPrintable(refusal.text + error));
    QCOMPARE(Cells(*m_db, 1, 0), stored);

    CVisitsSheet back;
    QStringList notes;
    QVERIFY(CVisitsSheetStore::Load(m_sql, 1, 0, &back, &notes, &error));
    QVERIFY2(notes.isEmpty(), qPrintable(notes.join(u'\n')));
    QCOMPARE(Rows(back), reloaded);
    // Loaded rows know their clients; saved unchanged, the sheet loads the same.
    QVERIFY(CVisitsSheetStore::Save(m_sql, 1, 0, back, &refusal, &error));
    QVERIFY(CVisitsSheetStore::Load(m_sql, 1, 0, &back, &notes, &error));
    QCOMPARE(Rows(back), reloaded);
}

void TestVisitsSheetStore::refusalsLeaveTheStoredSheet_data() {
    QTest::addColumn<QList<qint32>>("items");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<int>("service");
    QTest::addColumn<EDiaryField>("field");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("message");
    const auto cell = EDiaryField::SheetCell;
    const auto service = EDiaryField::SheetService;
    QTest::newRow("unknown code") << QList<qint32>{kSyringe}
                                  << QStringList{"АБВ0190Ч|1", "ЖЖЖ0000Ч|"} << -1 << cell << 1 << 0
                                  << "Код клиента не найден в базе";
    QTest::newRow("a folder's name") << QList<qint32>{kSyringe} << QStringList{"ПАПКА|1"} << -1
                                     << cell << 0 << 0 << "Код клиента не найден в базе";
    QTest::newRow("code that would end the literal")
        << QList<qint32>{kSyringe} << QStringList{"x'); DELETE FROM dailyvisits; --|1"} << -1
        << cell << 0 << 0 << "Код клиента не найден в базе";
    QTest::newRow("counts without a client")
        << QList<qint32>{kSyringe, kMeal} << QStringList{"АБВ0190Ч|1|", "||1"} << -1 << cell << 1
        << 0 << "Пропущен код клиента";
    QTest::newRow("number too large")
        << QList<qint32>{kSyringe} << QStringList{"АБВ0190Ч|99999999999"} << -1 << cell << 0 << 1
        << "«99999999999» слишком велико";
    // A count that came in with a sign (a sheet filled outside the program,
    // an old row) is refused as the form refuses it, not stored.
    QTest::newRow("negative count")
        << QList<qint32>{kSyringe, kMeal} << QStringList{"АБВ0190Ч|2|", "ГДЕ1585Ж|-3|"} << -1
        << cell << 1 << 1 << "Количество не может быть отрицательным: «-3»";
    QTest::newRow("clients but no service") << QList<qint32>{} << QStringList{"АБВ0190Ч"} << -1
                                            << service << -1 << -1 << "Не найдена услуга";
    QTest::newRow("service not in the directory")
        << QList<qint32>{} << QStringList{"АБВ0190Ч"} << 555 << service << -1 << -1
        << "Не найдена услуга";
    QTest::newRow("service counted in people")
        << QList<qint32>{} << QStringList{"АБВ0190Ч"} << int(kTbReferral) << service << -1 << -1
        << "не отмечен учет по коду";
    QTest::newRow("service with several kinds")
        << QList<qint32>{} << QStringList{"АБВ0190Ч"} << int(kHivConsult) << service << -1 << -1
        << "отмечено несколько полей";
}

void TestVisitsSheetStore::refusalsLeaveTheStoredSheet() {
    QFETCH(QList<qint32>, items);
    QFETCH(QStringList, typed);
    QFETCH(int, service);
    QFETCH(EDiaryField, field);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, message);
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(CVisitsSheetStore::Save(m_sql, 1, 0, Sheet(m_sql, {kCondom}, {"ГДЕ1585Ж|7"}), &refusal,
                                    &error));
    const QString before = Cells(*m_db, 1, 0) + Layout(*m_db, 1, 0);

    CVisitsSheet sheet = Sheet(m_sql, items, typed);
    sheet.SetServiceItem(service);
    QVERIFY(!CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!refusal.ok);
    QVERIFY2(refusal.text.contains(message), qPrintable(refusal.text));
    QCOMPARE(refusal.field, field);
    QCOMPARE(refusal.row, row);
    QCOMPARE(refusal.column, column);
    QCOMPARE(Cells(*m_db, 1, 0) + Layout(*m_db, 1, 0), before);
}

// A layout that holds a count column beside kind columns of one consultation
// (the item became a consultation after the sheet was made): a count and a
// tick of one row used to leave one of them out while the save went on.
void TestVisitsSheetStore::secondCountForARowAndItemRefused() {
    m_db->Exec(QStringLiteral(
        "INSERT INTO dailyvisitssubhdr (nReportID,nVedID,nKeyFirst,nKeySecond,nWidth,nPos) "
        "VALUES (1,0,-1,-1,120,0),(1,0,104,-1,60,1),(1,0,104,2,60,2),(1,0,104,16,60,3)"));
    m_db->Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,"
                              "nCount) VALUES (1,0,0,201,104,2),(1,0,1,202,104,16)"));
    CVisitsSheet sheet;
    QStringList notes;
    QString error;
    QVERIFY(CVisitsSheetStore::Load(m_sql, 1, 0, &sheet, &notes, &error));
    QCOMPARE(Keys(sheet), QStringLiteral("-1/-1 104/-1 104/2 104/16"));
    QCOMPARE(Rows(sheet), (QStringList{"АБВ0190Ч||1|0", "ГДЕ1585Ж||0|1"}));

    sheet.SetText(0, 1, QStringLiteral("5"));
    CDiaryVerdict refusal;
    QVERIFY(!CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error));
    QCOMPARE(refusal.key, QStringLiteral("msgCorruptedVedomost"));
    QCOMPARE(refusal.text, QStringLiteral("Ведомость испорчена"));
    QCOMPARE(refusal.row, 0);
    QCOMPARE(refusal.column, 2);
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:104:2;1:202:104:16"));

    // A count in a row without ticks is one value: it is stored.
    sheet.SetText(0, 1, QString());
    sheet.SetText(1, 1, QString());
    const int r = sheet.AppendRow();
    sheet.SetText(r, 0, QStringLiteral("O'Brien"));
    sheet.SetText(r, 1, QStringLiteral("3"));
    QVERIFY2(CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error),
             qPrintable(refusal.text + error));
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:104:2;1:202:104:16;2:203:104:3"));
}

// With only the client column the sheet records one service for every client
// listed. Every row receives it, so a row without a client (the grid's row for
// typing a new client is no row of the sheet) is refused, never left out.
void TestVisitsSheetStore::serviceForEveryClient() {
    CVisitsSheet sheet = Sheet(m_sql, {}, {"АБВ0190Ч", "", "ГДЕ1585Ж"});
    QVERIFY(sheet.ServiceAllowed());
    sheet.SetServiceItem(kMeal);
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(!CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(refusal.text, QStringLiteral("Пропущен код клиента"));
    QCOMPARE(refusal.row, 1);
    QCOMPARE(refusal.column, sheet.ClientColumn());
    QCOMPARE(Cells(*m_db, 1, 0), QString());

    sheet.RemoveRows(1, 1);
    QVERIFY2(CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error),
             qPrintable(refusal.text + error));
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:103:1;1:202:103:1"));

    // A consultation with one kind stores the kind.
    sheet.SetServiceItem(kLawyer);
    QVERIFY(CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error));
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:105:4;1:202:105:4"));
    CVisitsSheet back;
    QVERIFY(CVisitsSheetStore::Load(m_sql, 1, 0, &back, nullptr, &error));
    QCOMPARE(Keys(back), QStringLiteral("-1/-1 105/4"));
    QCOMPARE(Rows(back), (QStringList{"АБВ0190Ч|1", "ГДЕ1585Ж|1"}));

    // Once the sheet shows an item's column the service is not read.
    CVisitsSheet counted = Sheet(m_sql, {kSyringe}, {"АБВ0190Ч|2"});
    counted.SetServiceItem(kMeal);
    QVERIFY(CVisitsSheetStore::Save(m_sql, 1, 0, counted, &refusal, &error));
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:101:2"));
}

void TestVisitsSheetStore::layoutAndOrganisation() {
    AddReport(*m_db, 5, "2024-03-16", kPlace, kWorker, 7);
    CVisitsSheet sheet =
        Sheet(m_sql, {kSyringe, kCondom, kHivConsult}, {"АБВ0190Ч|1|2|1|", "ГДЕ1585Ж|0|0||"});
    sheet.SetColumnWidth(0, 150);
    sheet.SetColumnWidth(2, 45);
    sheet.MoveColumn(2, 1);
    CDiaryVerdict refusal;
    QString error;
    QVERIFY(CVisitsSheetStore::Save(m_sql, 5, 2, sheet, &refusal, &error));
    QCOMPARE(Layout(*m_db, 5, 2), QStringLiteral("-1/-1@150;102/-1@45;101/-1@0;104/2@0;104/16@0"));
    // The rows belong to the report's organisation.
    QCOMPARE(m_db->Scalar(QStringLiteral(
                 "SELECT GROUP_CONCAT(DISTINCT nRegionDataID) FROM dailyvisits WHERE nReportID=5")),
             QStringLiteral("7"));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT GROUP_CONCAT(DISTINCT nRegionDataID) FROM "
                                         "dailyvisitssubhdr WHERE nReportID=5")),
             QStringLiteral("7"));

    CVisitsSheet back;
    QVERIFY(CVisitsSheetStore::Load(m_sql, 5, 2, &back, nullptr, &error));
    QCOMPARE(Keys(back), QStringLiteral("-1/-1 102/-1 101/-1 104/2 104/16"));
    QCOMPARE(back.Column(0).width, 150);
    QCOMPARE(back.Column(1).width, 45);
    QCOMPARE(back.Column(1).Caption(), QStringLiteral("Презервативы"));
    QCOMPARE(Rows(back), (QStringList{"АБВ0190Ч|2|1|1|0"}));

    // Emptied, the sheet stores neither cells nor columns.
    back.SetText(0, 1, QStringLiteral("0"));
    back.SetText(0, 2, QString());
    back.SetText(0, 3, QStringLiteral("0"));
    QVERIFY(CVisitsSheetStore::Save(m_sql, 5, 2, back, &refusal, &error));
    QCOMPARE(Cells(*m_db, 5, 2), QString());
    QCOMPARE(Layout(*m_db, 5, 2), QString());

    // A report that is gone takes no rows.
    QVERIFY(!CVisitsSheetStore::Save(m_sql, 77, 0, sheet, &refusal, &error));
    QVERIFY(error.contains(QStringLiteral("не найден")));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyvisits WHERE nReportID=77")),
             QStringLiteral("0"));
}

void TestVisitsSheetStore::loadNotesWhatItCannotShow() {
    // A material that left the directory, and a client that left the register.
    m_db->Exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nVedID,NPP,nClientID,nItem,"
                              "nCount) VALUES (1,0,0,201,555,4),(1,0,0,201,101,2),"
                              "(1,0,1,299,101,1)"));
    CVisitsSheet sheet;
    QStringList notes;
    QString error;
    QVERIFY(CVisitsSheetStore::Load(m_sql, 1, 0, &sheet, &notes, &error));
    QCOMPARE(Keys(sheet), QStringLiteral("-1/-1 555/-1 101/-1"));
    QCOMPARE(sheet.Column(1).kind, ESheetColumnKind::Text);
    QCOMPARE(Rows(sheet), (QStringList{"АБВ0190Ч|4|2", "299||1"}));
    QVERIFY(notes.contains(QStringLiteral("Ошибка определения типа материала")));
    QVERIFY(notes.join(u'\n').contains(QStringLiteral("кодом 555\n(позиция ошибки 18151)")));

    CDiaryVerdict refusal;
    QVERIFY(!CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error));
    QCOMPARE(refusal.text, QStringLiteral("Код клиента не найден в базе"));
    QCOMPARE(refusal.row, 1);

    // Once the row names a client again, the sheet saves what it showed.
    sheet.SetText(1, 0, QStringLiteral("ГДЕ1585Ж"));
    QVERIFY(CVisitsSheetStore::Save(m_sql, 1, 0, sheet, &refusal, &error));
    QCOMPARE(Cells(*m_db, 1, 0), QStringLiteral("0:201:101:2;0:201:555:4;1:202:101:1"));
}

Q_DECLARE_METATYPE(EPackageRead)

void TestVisitsSheetStore::packageRead_data() {
    QTest::addColumn<int>("package");
    QTest::addColumn<QString>("stored"); // "NULL" for NULL
    QTest::addColumn<EPackageRead>("outcome");
    QTest::addColumn<QList<qint32>>("items");
    QTest::addColumn<QString>("message");
    const QString three =
        CDDirMatPackArray(QList<qint32>{kHivConsult, kSyringe, kCondom}).SaveToString();
    QTest::newRow("three materials")
        << int(kPackage) << three << EPackageRead::Loaded
        << QList<qint32>{kHivConsult, kSyringe, kCondom} << "Загружен пакет 'Базовый набор'";
    QTest::newRow("never filled") << int(kPackage) << "NULL" << EPackageRead::Loaded
                                  << QList<qint32>{} << "Загружен пакет 'Базовый набор'";
    QTest::newRow("cut short") << int(kPackage) << three.left(6) << EPackageRead::Unreadable
                               << QList<qint32>{} << "Ошибка распаковки пакета 'Базовый набор'";
    QTest::newRow("not a package") << int(kSyringe) << three << EPackageRead::Missing
                                   << QList<qint32>{} << "Ошибка загрузки пакета материлов";
}

void TestVisitsSheetStore::packageRead() {
    QFETCH(int, package);
    QFETCH(QString, stored);
    QFETCH(EPackageRead, outcome);
    QFETCH(QList<qint32>, items);
    QFETCH(QString, message);
    m_db->Exec(QStringLiteral("UPDATE dir SET cOtherInfo=%1 WHERE ROWID IN (%2,%3)")
                   .arg(stored == QStringLiteral("NULL")
                            ? stored
                            : QLatin1Char('\'') + stored + QLatin1Char('\''))
                   .arg(int(kPackage))
                   .arg(int(kSyringe)));
    CMaterialPackage read;
    QString text, error;
    QCOMPARE(ReadMaterialPackage(m_sql, package, &read, &text, &error), outcome);
    QCOMPARE(QList<qint32>(read.items), items);
    QCOMPARE(text, message);
}

QTEST_GUILESS_MAIN(TestVisitsSheetStore)
#include "tst_visits_sheet_store.moc"
