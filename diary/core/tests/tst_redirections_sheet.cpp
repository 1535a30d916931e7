// The redirections sheet on the database: the lines a new sheet offers, what a
// save stores, and what a stored sheet shows again.
#include "diary/core/redirections_sheet.h"
#include "diary_test_data.h"

#include <QTest>

using namespace diarytest;

namespace {
QString Lines(const CRedirectionsSheet& sheet) {
    QStringList lines;
    for (const CRedirectionRow& row : sheet.rows)
        lines << QStringLiteral("%1/%2:%3").arg(row.item).arg(row.flag).arg(row.count);
    return lines.join(u';');
}

QString Stored(const TestDatabase& db, int report, int sheet) {
    return db.Rows(QStringLiteral("SELECT CONCAT(nItem,'/',nConsultKey,':',nCount,'@',"
                                  "nRegionDataID) FROM dailyredirects WHERE nReportID=%1 AND "
                                  "nVedID=%2 ORDER BY nItem,nConsultKey")
                       .arg(report)
                       .arg(sheet));
}
} // namespace

class TestRedirectionsSheet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void newSheetOffersTheDirectory();
    void saveStoresNonZeroCounts();
    void storedSheetShowsItsOwnLines();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
    CxSQL* m_sql = nullptr;
};

void TestRedirectionsSheet::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("redir"));
    m_sql = m_db->Connection();
    FillDirectory(*m_db);
    AddReport(*m_db, 1);
    AddReport(*m_db, 2, "2024-03-16", kPlace, kWorker, 4);
}

void TestRedirectionsSheet::cleanupTestCase() {
    m_db.reset();
}

void TestRedirectionsSheet::newSheetOffersTheDirectory() {
    CRedirectionsSheet sheet;
    QString error;
    QVERIFY(CRedirectionsSheetStore::Load(m_sql, 1, 1, &sheet, &error));
    // Items by sort code; kinds in the order 2, 8, 16, 4, 32, 64; neither the
    // hidden item nor those counted per client.
    QCOMPARE(Lines(sheet), QStringLiteral("107/2:;107/32:;107/64:;106/8:;106/4:"));
    QCOMPARE(sheet.rows[0].Caption(),
             QStringLiteral("Консультация по ИППП\n") + sheet.rows[0].flagText);
    QVERIFY(!sheet.rows[0].flagText.isEmpty());
}

void TestRedirectionsSheet::saveStoresNonZeroCounts() {
    CRedirectionsSheet sheet;
    QString error;
    CDiaryVerdict refusal;
    QVERIFY(CRedirectionsSheetStore::Load(m_sql, 2, 1, &sheet, &error));
    sheet.rows[0].count = QStringLiteral("3");
    sheet.rows[1].count = QStringLiteral("abc");
    sheet.rows[2].count = QStringLiteral("0");
    sheet.rows[3].count = QStringLiteral(" -3");
    QVERIFY(CRedirectionsSheetStore::Save(m_sql, 2, 1, sheet, &refusal, &error));
    // Rows carry the report's organisation.
    QCOMPARE(Stored(*m_db, 2, 1), QStringLiteral("106/8:-3@4;107/2:3@4"));
    QVERIFY(CRedirectionsSheetStore::Save(m_sql, 2, 1, sheet, &refusal, &error));
    QCOMPARE(Stored(*m_db, 2, 1), QStringLiteral("106/8:-3@4;107/2:3@4"));

    CRedirectionsSheet back;
    QVERIFY(CRedirectionsSheetStore::Load(m_sql, 2, 1, &back, &error));
    QCOMPARE(Lines(back), QStringLiteral("107/2:3;106/8:-3"));

    back.rows[0].count = QStringLiteral("5000000000");
    QVERIFY(!CRedirectionsSheetStore::Save(m_sql, 2, 1, back, &refusal, &error));
    QCOMPARE(refusal.row, 0);
    QCOMPARE(refusal.column, 1);
    QCOMPARE(Stored(*m_db, 2, 1), QStringLiteral("106/8:-3@4;107/2:3@4"));

    // Emptied, the sheet offers the whole directory list again.
    back.rows[0].count.clear();
    back.rows[1].count = QStringLiteral("0");
    QVERIFY(CRedirectionsSheetStore::Save(m_sql, 2, 1, back, &refusal, &error));
    QCOMPARE(Stored(*m_db, 2, 1), QString());
    QVERIFY(CRedirectionsSheetStore::Load(m_sql, 2, 1, &back, &error));
    QCOMPARE(back.rows.size(), 5);
}

void TestRedirectionsSheet::storedSheetShowsItsOwnLines() {
    // A kind the item no longer carries, and an item gone from the directory.
    m_db->Exec(QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,nConsultKey,"
                              "nCount) VALUES (1,3,106,16,2),(1,3,555,4,1)"));
    CRedirectionsSheet sheet;
    QString error;
    QVERIFY(CRedirectionsSheetStore::Load(m_sql, 1, 3, &sheet, &error));
    QCOMPARE(Lines(sheet), QStringLiteral("555/4:1;106/16:2"));
    QCOMPARE(sheet.rows[0].itemName, QString());
    CDiaryVerdict refusal;
    QVERIFY(CRedirectionsSheetStore::Save(m_sql, 1, 3, sheet, &refusal, &error));
    QCOMPARE(Stored(*m_db, 1, 3), QStringLiteral("106/16:2@0;555/4:1@0"));
}

QTEST_GUILESS_MAIN(TestRedirectionsSheet)
#include "tst_redirections_sheet.moc"
