// The dated histories on a database: a save leaves the stored rows alone
// unless their page was changed or removed, refuses a second row on a date,
// and keeps the newest-row mark right, for each of the four history tables.
#include "clients/core/client_history_store.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(EClientHistory)

namespace {
const QDate kToday(2025, 6, 1);

// The column each table's test writes through its pages.
QString ValueColumn(EClientHistory h) {
    switch (h) {
    case EClientHistory::ClientDataChanges:
        return "nClientType";
    case EClientHistory::DrugUseData:
        return "nDrugStartDate";
    case EClientHistory::RiskBehavior:
        return "nUseDirtySyr";
    case EClientHistory::SocialStatus:
        return "nChildCount";
    }
    return QString();
}

CHistoryPage Page(qint64 rowId, const QDate& date, bool modified,
                  QList<QPair<QString, QVariant>> values = {}) {
    CHistoryPage page;
    page.rowId = rowId;
    page.date = date;
    page.modified = modified;
    page.values = values;
    return page;
}
} // namespace

class TestClientHistory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void tables_data();
    void unchangedRowsSurvive_data() { tables_data(); }
    void unchangedRowsSurvive();
    void changedPageUpdatesInPlace_data() { tables_data(); }
    void changedPageUpdatesInPlace();
    void removedPagesOfThisClientOnly_data() { tables_data(); }
    void removedPagesOfThisClientOnly();
    void secondPageOnADateRefused_data() { tables_data(); }
    void secondPageOnADateRefused();
    void rowsChangedMeanwhile_data() { tables_data(); }
    void rowsChangedMeanwhile();
    void swappedDates_data() { tables_data(); }
    void swappedDates();
    void markFollowsDates_data() { tables_data(); }
    void markFollowsDates();
    void strayMarkCleared();
    void rowsWithoutDateNeverNewest();
    void textValuesQuoted();
    void badInputWritesNothing();
    void rollbackUndoesTheSave();

private:
    QString Table() const;
    QString Rows() const;
    QString Marks() const;
    bool Save(const QList<CHistoryPage>& pages, const QList<qint64>& removed = {},
              CRuleVerdict* refusal = nullptr, const CHistoryLoadedRows* loaded = nullptr);

    std::unique_ptr<SchemaTestDatabase> m_db;
    EClientHistory m_history = EClientHistory::ClientDataChanges;
};

void TestClientHistory::tables_data() {
    QTest::addColumn<EClientHistory>("history");
    QTest::newRow("clientdatachanges") << EClientHistory::ClientDataChanges;
    QTest::newRow("drugusedata") << EClientHistory::DrugUseData;
    QTest::newRow("riskbehavior") << EClientHistory::RiskBehavior;
    QTest::newRow("socialstatus") << EClientHistory::SocialStatus;
}

void TestClientHistory::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>("history");
    m_db->Exec("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount) "
               "VALUES (1,'Папка',1,0,0,0),(10,'АБВ0587ч',0,1,0,0),(11,'ГДЕ0190ж',0,0,0,0)");
}

void TestClientHistory::cleanupTestCase() {
    m_db.reset();
}

void TestClientHistory::init() {
    m_history = EClientHistory::ClientDataChanges;
    // Client 10: rows 1 and 2 (the newest); client 11: row 3 on the same date
    // as row 2. nRegionDataID stands for a column the pages do not show.
    for (EClientHistory h : {EClientHistory::ClientDataChanges, EClientHistory::DrugUseData,
                             EClientHistory::RiskBehavior, EClientHistory::SocialStatus}) {
        m_db->Exec("DELETE FROM " + ClientHistoryTable(h));
        m_db->Exec(QString("INSERT INTO %1 (ROWID,nClientID,dDate,nRegionDataID,nLastLinkID,%2) "
                           "VALUES (1,10,'2020-01-01',7,NULL,1),(2,10,'2021-01-01',7,10,2),"
                           "(3,11,'2021-01-01',0,11,3)")
                       .arg(ClientHistoryTable(h), ValueColumn(h)));
    }
}

QString TestClientHistory::Table() const {
    return ClientHistoryTable(m_history);
}

QString TestClientHistory::Rows() const {
    return m_db->Rows(QString("SELECT * FROM %1 ORDER BY ROWID").arg(Table()));
}

QString TestClientHistory::Marks() const {
    return m_db->Rows(QString("SELECT ROWID,nLastLinkID FROM %1 WHERE nLastLinkID IS NOT NULL "
                              "ORDER BY ROWID")
                          .arg(Table()));
}

bool TestClientHistory::Save(const QList<CHistoryPage>& pages, const QList<qint64>& removed,
                             CRuleVerdict* refusal, const CHistoryLoadedRows* loaded) {
    CRuleVerdict ignored;
    QString error;
    return CClientHistoryStore::Save(m_db->Connection(), m_history, 10, pages, removed, kToday,
                                     refusal ? refusal : &ignored, &error, loaded);
}

// The rows a tab read are checked before the save overwrites or deletes
// them: another copy moving only the newest-row mark or adding a page on
// another date is no conflict; another copy's change of a value refuses an
// update and a removal of that row, naming its date, and nothing is written;
// a row that came after the fingerprints were taken is not written over.
void TestClientHistory::rowsChangedMeanwhile() {
    QFETCH(EClientHistory, history);
    m_history = history;
    const QString client("nClientID=10");
    CHistoryLoadedRows loaded;
    QString error;
    QVERIFY(CClientHistoryStore::TakeLoaded(m_db->Connection(), m_history, 10, &loaded, &error));
    QCOMPARE(loaded.size(), 2);
    QCOMPARE(loaded.value(2).date, QDate(2021, 1, 1));
    m_db->Exec(QString("UPDATE %1 SET nLastLinkID=NULL WHERE %2").arg(Table(), client));
    m_db->Exec(QString("UPDATE %1 SET nLastLinkID=10 WHERE ROWID=1").arg(Table()));
    m_db->Exec(
        QString("INSERT INTO %1 (ROWID,nClientID,dDate) VALUES (4,10,'2019-01-01')").arg(Table()));
    const QList<QPair<QString, QVariant>> values{{ValueColumn(history), 16}};
    QVERIFY(Save({Page(1, QDate(2020, 1, 1), true, values), Page(2, QDate(2021, 1, 1), false)}, {},
                 nullptr, &loaded));
    QCOMPARE(
        m_db->Rows(QString("SELECT %1 FROM %2 WHERE ROWID=1").arg(ValueColumn(history), Table())),
        QString("16"));

    QVERIFY(CClientHistoryStore::TakeLoaded(m_db->Connection(), m_history, 10, &loaded, &error));
    m_db->Exec(QString("UPDATE %1 SET %2=8 WHERE ROWID=2").arg(Table(), ValueColumn(history)));
    const QString before = Rows();
    CRuleVerdict refusal;
    QVERIFY(!Save({Page(1, QDate(2020, 1, 1), false), Page(2, QDate(2021, 1, 1), true, values)}, {},
                  &refusal, &loaded));
    QCOMPARE(refusal.key, QString::fromLatin1(kHistoryChangedMeanwhileKey));
    QCOMPARE(refusal.row, 1);
    QVERIFY(refusal.text.contains("01.01.2021"));
    QVERIFY2(refusal.text.contains(CxRowsFingerprint::ChangedMeanwhileText()),
             qPrintable(refusal.text));
    QVERIFY(!Save({Page(1, QDate(2020, 1, 1), false)}, {2}, &refusal, &loaded));
    QCOMPARE(refusal.row, -1);
    QVERIFY(refusal.text.contains("01.01.2021"));
    // Row 5 came after the fingerprints: the tab cannot vouch for it.
    m_db->Exec(
        QString("INSERT INTO %1 (ROWID,nClientID,dDate) VALUES (5,10,'2018-01-01')").arg(Table()));
    const QString withFifth = Rows();
    QVERIFY(!Save({Page(5, QDate(2018, 1, 1), true, values)}, {}, &refusal, &loaded));
    QCOMPARE(refusal.key, QString::fromLatin1(kHistoryChangedMeanwhileKey));
    QVERIFY(refusal.text.contains("01.01.2018"));
    QCOMPARE(Rows(), withFifth);
    m_db->Exec(QString("DELETE FROM %1 WHERE ROWID=5").arg(Table()));
    QCOMPARE(Rows(), before);
}

void TestClientHistory::unchangedRowsSurvive() {
    QFETCH(EClientHistory, history);
    m_history = history;
    const QString before = Rows();
    // The tab shows both stored rows unchanged and adds an older page: the
    // stored rows stay exactly as they were (a rewrite would at least set
    // dUpdateDate), and the mark stays on row 2.
    QVERIFY(Save({Page(1, QDate(2020, 1, 1), false), Page(2, QDate(2021, 1, 1), false),
                  Page(-1, QDate(2019, 6, 1), true, {{ValueColumn(history), 8}})}));
    QCOMPARE(m_db->Rows(QString("SELECT * FROM %1 WHERE ROWID<=3 ORDER BY ROWID").arg(Table())),
             before);
    QCOMPARE(m_db->Rows(QString("SELECT nClientID,dDate,%2 FROM %1 WHERE ROWID>3")
                            .arg(Table(), ValueColumn(history))),
             QString("10|2019-06-01|8"));
    QCOMPARE(Marks(), QString("2|10;3|11"));
    // Without a change nothing at all is written.
    const QString after = Rows();
    QVERIFY(Save({Page(1, QDate(2020, 1, 1), false)}));
    QCOMPARE(Rows(), after);
}

void TestClientHistory::changedPageUpdatesInPlace() {
    QFETCH(EClientHistory, history);
    m_history = history;
    QVERIFY(Save({Page(1, QDate(2020, 1, 1), true, {{ValueColumn(history), 16}}),
                  Page(2, QDate(2021, 1, 1), false)}));
    const bool dated = history != EClientHistory::ClientDataChanges;
    QCOMPARE(m_db->Rows(QString("SELECT ROWID,nClientID,dDate,nRegionDataID,%2%3 FROM %1 WHERE "
                                "ROWID=1")
                            .arg(Table(), ValueColumn(history),
                                 dated ? QString(",dUpdateDate") : QString())),
             QString("1|10|2020-01-01|7|16") + (dated ? "|2025-06-01" : ""));
    QCOMPARE(Marks(), QString("2|10;3|11"));
}

void TestClientHistory::removedPagesOfThisClientOnly() {
    QFETCH(EClientHistory, history);
    m_history = history;
    // Row 3 is another client's: naming it among the removed does nothing.
    QVERIFY(Save({Page(1, QDate(2020, 1, 1), false)}, {2, 3, -1}));
    QCOMPARE(m_db->Rows(QString("SELECT ROWID,nClientID FROM %1 ORDER BY ROWID").arg(Table())),
             QString("1|10;3|11"));
    QCOMPARE(Marks(), QString("1|10;3|11"));
    // The last row gone: the client has no mark.
    QVERIFY(Save({}, {1}));
    QCOMPARE(Marks(), QString("3|11"));
}

void TestClientHistory::secondPageOnADateRefused() {
    QFETCH(EClientHistory, history);
    m_history = history;
    const QString before = Rows();
    CRuleVerdict refusal;
    // A second page dated today beside a new one dated today.
    QVERIFY(
        !Save({Page(1, QDate(2020, 1, 1), false), Page(-1, kToday, true), Page(-1, kToday, true)},
              {}, &refusal));
    QCOMPARE(refusal.key, QString("msgHistoryDateTaken"));
    QCOMPARE(refusal.row, 2);
    QVERIFY(refusal.text.contains("01.06.2025"));
    // A new page on the date of a stored row the tab shows unchanged.
    QVERIFY(!Save({Page(1, QDate(2020, 1, 1), false), Page(-1, QDate(2020, 1, 1), true)}, {},
                  &refusal));
    QCOMPARE(refusal.row, 1);
    QCOMPARE(Rows(), before);
    // The same date is free once its row is removed.
    QVERIFY(Save({Page(1, QDate(2020, 1, 1), false), Page(-1, QDate(2021, 1, 1), true)}, {2},
                 &refusal));
    QCOMPARE(m_db->Scalar(QString("SELECT COUNT(*) FROM %1 WHERE nClientID=10 AND "
                                  "dDate='2021-01-01' AND ROWID>3")
                              .arg(Table())),
             QString("1"));
}

void TestClientHistory::swappedDates() {
    QFETCH(EClientHistory, history);
    m_history = history;
    QVERIFY(Save({Page(1, QDate(2021, 1, 1), true), Page(2, QDate(2020, 1, 1), true)}));
    QCOMPARE(m_db->Rows(QString("SELECT ROWID,dDate,%2 FROM %1 WHERE nClientID=10 ORDER BY "
                                "ROWID")
                            .arg(Table(), ValueColumn(history))),
             QString("1|2021-01-01|1;2|2020-01-01|2"));
    QCOMPARE(Marks(), QString("1|10;3|11"));
}

void TestClientHistory::markFollowsDates() {
    QFETCH(EClientHistory, history);
    m_history = history;
    // A date edit that makes the older row the newest.
    QVERIFY(Save({Page(1, QDate(2022, 3, 4), true), Page(2, QDate(2021, 1, 1), false)}));
    QCOMPARE(Marks(), QString("1|10;3|11"));
    // A new page older than both leaves the mark where it is.
    QVERIFY(Save({Page(-1, QDate(2019, 1, 1), true)}));
    QCOMPARE(Marks(), QString("1|10;3|11"));
    // Removing the newest moves the mark to the next.
    QVERIFY(Save({}, {1}));
    QCOMPARE(Marks(), QString("2|10;3|11"));
}

void TestClientHistory::strayMarkCleared() {
    // Client 11's row carries client 10's mark (damaged data): the unique mark
    // would block client 10's own, so it goes.
    m_db->Exec("UPDATE clientdatachanges SET nLastLinkID=NULL WHERE ROWID=2");
    m_db->Exec("UPDATE clientdatachanges SET nLastLinkID=10 WHERE ROWID=3");
    QString error;
    QVERIFY(CClientHistoryStore::UpdateLastLinkID(m_db->Connection(),
                                                  EClientHistory::ClientDataChanges, 10, &error));
    QCOMPARE(m_db->Rows("SELECT ROWID,nLastLinkID FROM clientdatachanges WHERE nLastLinkID IS "
                        "NOT NULL"),
             QString("2|10"));
    // A client without rows gets nothing, and nothing else moves.
    QVERIFY(CClientHistoryStore::UpdateLastLinkID(m_db->Connection(),
                                                  EClientHistory::ClientDataChanges, 99, &error));
    QCOMPARE(m_db->Rows("SELECT ROWID,nLastLinkID FROM clientdatachanges WHERE nLastLinkID IS "
                        "NOT NULL"),
             QString("2|10"));
}

void TestClientHistory::rowsWithoutDateNeverNewest() {
    m_db->Exec("INSERT INTO drugusedata (ROWID,nClientID,dDate) VALUES (9,10,NULL)");
    QString error;
    QVERIFY(CClientHistoryStore::UpdateLastLinkID(m_db->Connection(), EClientHistory::DrugUseData,
                                                  10, &error));
    QCOMPARE(m_db->Scalar("SELECT ROWID FROM drugusedata WHERE nLastLinkID=10"), QString("2"));
    m_db->Exec("DELETE FROM drugusedata WHERE nClientID=10 AND dDate IS NOT NULL");
    QVERIFY(CClientHistoryStore::UpdateLastLinkID(m_db->Connection(), EClientHistory::DrugUseData,
                                                  10, &error));
    QCOMPARE(m_db->Scalar("SELECT COUNT(*) FROM drugusedata WHERE nLastLinkID=10"), QString("0"));
}

void TestClientHistory::textValuesQuoted() {
    m_history = EClientHistory::SocialStatus;
    QVERIFY(Save({Page(-1, kToday, true,
                       {{"cOtherEployment", QString("O'Brien \\ Ко")},
                        {"bRegPolice", QString("1")},
                        {"nEploymentStatus", QVariant()}})}));
    QCOMPARE(m_db->Rows("SELECT cOtherEployment,bRegPolice,nEploymentStatus,dUpdateDate FROM "
                        "socialstatus WHERE ROWID>3"),
             QString("O'Brien \\ Ко|1|NULL|2025-06-01"));
}

void TestClientHistory::badInputWritesNothing() {
    const QString before = Rows();
    CRuleVerdict refusal;
    QString error;
    // A column that is not the table's own.
    QVERIFY(!CClientHistoryStore::Save(m_db->Connection(), m_history, 10,
                                       {Page(-1, kToday, true, {{"nClientID=0,cAddress", 1}})}, {2},
                                       kToday, &refusal, &error));
    QVERIFY(refusal.ok);
    QVERIFY(error.contains("nClientID=0,cAddress"));
    // A client that is not there, and a folder.
    for (const qint64 client : {99, 1}) {
        error.clear();
        QVERIFY(!CClientHistoryStore::Save(m_db->Connection(), m_history, client,
                                           {Page(-1, kToday, true)}, {}, kToday, &refusal, &error));
        QVERIFY(!error.isEmpty());
    }
    QCOMPARE(Rows(), before);
}

void TestClientHistory::rollbackUndoesTheSave() {
    const QString before = Rows();
    CxMySQL* sql = m_db->Connection();
    QVERIFY(sql->BeginTransaction());
    QVERIFY(Save({Page(1, QDate(2023, 1, 1), true), Page(-1, kToday, true)}, {2}));
    QVERIFY(sql->RollbackTransaction());
    QCOMPARE(Rows(), before);
}

QTEST_GUILESS_MAIN(TestClientHistory)
#include "test_client_history.moc"
