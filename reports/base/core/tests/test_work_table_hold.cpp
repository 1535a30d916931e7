// Builds and change notices of several copies on one database: a build holds
// the work tables it reads, so another copy's change notice marks them stale
// instead of dropping them from under it; they go once no build holds them,
// and a build that starts meanwhile waits for that and then starts afresh.
#include "db/mysql_connection.h"
#include "db/schema/cache_clear.h"
#include "db/schema/cache_tables.h"
#include "framework/core/progress.h"
#include "framework/core/tarvik_app.h"
#include "rep_test_support.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"
#include "tests/support/schema_test_database.h"
#include "work_table_fixture.h"

#include <QTest>
#include <functional>
#include <memory>

namespace {
// Calls `action` once, when the run is about to run a statement that begins
// with `statement` (given as the run's connection) or shows a text that does
// (given as its progress): the progress shows captions, never statements.
class ActAt : public CxMySQL, public CvProgress {
public:
    ActAt(const QString& statement, std::function<void()> action)
        : m_statement(statement), m_action(std::move(action)) {}
    CxResult Execute(const QString& statement, qint64* insertId = nullptr) override {
        Reached(statement);
        return CxMySQL::Execute(statement, insertId);
    }
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString& text, int steps) override {
        if (steps == 0)
            Reached(text);
    }
    void EndProgress(const QString&) override {}
    bool Done() const { return m_done; }

private:
    void Reached(const QString& text) {
        if (!m_done && text.startsWith(m_statement)) {
            m_done = true;
            m_action();
        }
    }

    QString m_statement;
    std::function<void()> m_action;
    bool m_done = false;
};

const QString kSummary = QStringLiteral("_cache_summary2012010120121231");
// A change of the data the summary counts: ten more syringes on report 1.
const QString kChange =
    QStringLiteral("UPDATE dailyvisits SET nCount=nCount+10 WHERE nReportID=1 AND nItem=100");
} // namespace

class TestWorkTableHold : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SchemaTestDatabase::EnsureTemplate(); }
    void init();
    void cleanup();
    void changeDuringBuildKeepsItsTables();
    void buildAfterChangeWaitsForHoldersAndStartsAfresh();
    void holdOfADeadCopyHoldsNothing();

private:
    // Another copy of the program: a connection of its own on the database.
    std::unique_ptr<CxMySQL> OtherCopy() {
        auto other = std::make_unique<CxMySQL>();
        SQLConnectXML info = m_db->Info();
        return other->Connect(&info) ? std::move(other) : nullptr;
    }
    QString Summary() {
        return m_db->Rows(QStringLiteral("SELECT * FROM ") + kSummary +
                          QStringLiteral(" ORDER BY 1,2,3,4,5"));
    }
    QString CacheTables() {
        return m_db->Rows(QStringLiteral(
            "SELECT table_name FROM information_schema.tables WHERE table_schema=DATABASE() AND "
            "table_name LIKE '\\_cache\\_%' ORDER BY table_name"));
    }
    // The summary as a whole build makes it from the data as they are now.
    QString CleanSummary() {
        DropCacheTables(m_db->Connection());
        auto run = std::make_unique<CRepBaseData>(m_db->Connection(), QDate(2012, 1, 1),
                                                  QDate(2012, 12, 31));
        run->HoldWorkTables();
        run->PrepareSummaryTable();
        const QString rows = Summary();
        run.reset();
        DropCacheTables(m_db->Connection());
        return rows;
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestWorkTableHold::init() {
    InstallConfig(TestMatGroups());
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("wth"));
    LoadWorkTableFixture(*m_db);
    CPoshSelection::Store({{1, QStringLiteral("Центр")}, {2, QStringLiteral("Аптека")}});
}

void TestWorkTableHold::cleanup() {
    m_db.reset();
    CTarvikApp::ClearErrorMessages();
}

// The summary is made from the compact table; another copy saves a report and
// its change notice arrives between the two. The build finishes on the
// tables it started with; they go when it ends; the next build counts the
// change.
void TestWorkTableHold::changeDuringBuildKeepsItsTables() {
    const QString before = CleanSummary();
    auto other = OtherCopy();
    QVERIFY(other);
    CCacheClear otherClear(other.get());
    ActAt change(QStringLiteral("INSERT INTO _cache_part_summary"), [&] {
        QVERIFY(other->Execute(kChange).isValid());
        CTarvikApp::SendForNotify(QStringLiteral("SQL"), QStringLiteral("DAILYVISITS"));
    });
    SQLConnectXML info = m_db->Info();
    QVERIFY(change.Connect(&info));
    {
        CRepBaseData run(&change, QDate(2012, 1, 1), QDate(2012, 12, 31), &change);
        run.HoldWorkTables();
        try {
            QCOMPARE(run.PrepareSummaryTable(), kSummary);
        } catch (const CRepError& error) {
            QFAIL(qPrintable(error.html));
        }
        QVERIFY(change.Done());
        QCOMPARE(Summary(), before);
        QVERIFY(CacheTablesStale(m_db->Connection()));
        QVERIFY(CacheTables().contains(QStringLiteral("_cache_compacttable")));
    }
    QCOMPARE(CacheTables(), QString());
    const QString after = CleanSummary();
    QVERIFY(after != before);
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyvisits WHERE nReportID=1 AND "
                                         "nItem=100 AND nCount=20")),
             QStringLiteral("1"));
    QCOMPARE(CTarvikApp::TakeErrorMessages(), QString());
}

// Another copy's build holds the tables when the change notice comes; a
// build that starts now must neither read the stale tables nor drop them
// from under that build: it waits, and goes on with fresh tables once the
// other build has ended.
void TestWorkTableHold::buildAfterChangeWaitsForHoldersAndStartsAfresh() {
    const QString before = CleanSummary();
    auto builder = OtherCopy();
    QVERIFY(builder);
    auto otherRun =
        std::make_unique<CRepBaseData>(builder.get(), QDate(2012, 1, 1), QDate(2012, 12, 31));
    otherRun->HoldWorkTables();
    otherRun->PrepareSummaryTable();
    QCOMPARE(Summary(), before);

    QVERIFY(builder->Execute(kChange).isValid());
    QVERIFY(DropCacheTables(m_db->Connection())); // this copy's change notice
    QVERIFY(CacheTablesStale(m_db->Connection()));
    QVERIFY(CacheTables().contains(kSummary));

    QString seenWhileWaiting;
    ActAt waiting(QStringLiteral("Ожидание окончания отчетов"), [&] {
        seenWhileWaiting = CacheTables();
        otherRun.reset(); // the other build ends
    });
    CRepBaseData run(m_db->Connection(), QDate(2012, 1, 1), QDate(2012, 12, 31), &waiting);
    run.HoldWorkTables();
    QVERIFY(waiting.Done());
    QVERIFY(seenWhileWaiting.contains(kSummary));
    QVERIFY(!CacheTablesStale(m_db->Connection()));
    QCOMPARE(CacheTables(), QString());
    run.PrepareSummaryTable();
    QVERIFY(Summary() != before);
}

// A copy killed during its build leaves no hold: its lock went with its
// connection, so stale tables go at the next build.
void TestWorkTableHold::holdOfADeadCopyHoldsNothing() {
    auto killed = OtherCopy();
    QVERIFY(killed);
    {
        CRepBaseData run(killed.get(), QDate(2012, 1, 1), QDate(2012, 12, 31));
        run.HoldWorkTables();
        run.PrepareSummaryTable();
        QVERIFY(DropCacheTables(m_db->Connection()));
        QVERIFY(CacheTablesStale(m_db->Connection()));
        killed->Close();
    }
    CRepBaseData run(m_db->Connection(), QDate(2012, 1, 1), QDate(2012, 12, 31));
    run.HoldWorkTables();
    QCOMPARE(CacheTables(), QString());
}

QTEST_GUILESS_MAIN(TestWorkTableHold)
#include "test_work_table_hold.moc"
