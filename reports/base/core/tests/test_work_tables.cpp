// The work tables on a small fixture whose rows are computed by hand (see
// work_table_fixture.h): the period tables, the person key, the history
// periods and snapshots, the consultation totals, the regular clients; their
// reuse, their drop on change notices and on a change of the configuration's
// material groups, and what a failure half way leaves (nothing).
#include "db/mysql_connection.h"
#include "db/schema/cache_clear.h"
#include "framework/core/progress.h"
#include "framework/core/tarvik_app.h"
#include "rep_test_support.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"
#include "tests/support/schema_test_database.h"
#include "work_table_fixture.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

namespace {
// A connection of its own that stops the run once it has run a statement
// that begins with a text, as the user's cancel button does: the next
// statement is refused.
class CancelAfter : public CxMySQL, public CvProgress {
public:
    explicit CancelAfter(const QString& statement) : m_statement(statement) {}
    CxResult Execute(const QString& statement, qint64* insertId = nullptr) override {
        CxResult res = CxMySQL::Execute(statement, insertId);
        if (statement.startsWith(m_statement))
            m_cancelled = true;
        return res;
    }
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString&, int) override {}
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return m_cancelled; }

private:
    QString m_statement;
    bool m_cancelled = false;
};

// Everything the progress was told to show.
class ShownProgress : public CvProgress {
public:
    void BeginProgress(const QString& title, int) override { texts << title; }
    void SetRange(int, const QString& caption) override { texts << caption; }
    void Step(const QString& text, int) override { texts << text; }
    void EndProgress(const QString& text) override { texts << text; }
    QStringList texts;
};

QString CacheTables(const TestDatabase& db) {
    return db.Rows(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE "
                                  "table_schema=DATABASE() AND table_name LIKE '\\_cache\\_%' "
                                  "ORDER BY table_name"));
}
} // namespace

class TestWorkTables : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void periodTables();
    void plannedSummariesMatchSingleBuilds_data();
    void plannedSummariesMatchSingleBuilds();
    void clientTableCountryWide();
    void historyPeriodsAndSnapshots();
    void consultationTotals();
    void selectedPoints();
    void regularClients();
    void dateArithmetic();
    void secondBuildReusesTables();
    void changeNoticesDropTables_data();
    void changeNoticesDropTables();
    void materialGroupsChangeDropsTables();
    void failureHalfWayLeavesNothing();
    void progressShowsCaptionsNotStatements();
    void failingStatementNamesTableAndServerText();
    void numberOfATextChecksItsStatements();

private:
    std::unique_ptr<CRepBaseData> Run(const QDate& from = QDate(2012, 1, 1),
                                      const QDate& to = QDate(2012, 12, 31),
                                      CvProgress* progress = nullptr) {
        return std::make_unique<CRepBaseData>(m_db->Connection(), from, to, progress);
    }
    bool LockIsFree() {
        // No connection of this database holds it, the build's own among them
        // (it could take it again, the lock nests; another copy could not).
        return !m_db->HoldsDbLock();
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestWorkTables::initTestCase() {
    SchemaTestDatabase::EnsureTemplate();
}

void TestWorkTables::init() {
    InstallConfig(TestMatGroups());
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("wt"));
    LoadWorkTableFixture(*m_db);
    CPoshSelection::Store({{1, QStringLiteral("Центр")}, {2, QStringLiteral("Аптека")}});
}

void TestWorkTables::cleanup() {
    m_db.reset();
    CTarvikApp::ClearErrorMessages();
}

void TestWorkTables::periodTables() {
    auto run = Run();
    QCOMPARE(run->PrepareSummaryTable(), QStringLiteral("_cache_summary2012010120121231"));
    // Each material under its group (when it has one) and under its own code.
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_matlist ORDER BY ROWID,nType")),
             QStringLiteral("100|510;100|65538;101|131073;102|266239"));
    // Consultations under their group, and under the negated configured group.
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_conslist ORDER BY ROWID,nType")),
             QStringLiteral("103|580;104|-7"));
    // One row per visit line and list code; consultations count a bit 32 and
    // a bit 2 each (34 -> 2, 4 -> 0, 3 -> 1); the report without a date is left out.
    QCOMPARE(m_db->Rows(QStringLiteral(
                 "SELECT nReportID,nType,nRegionDataID,nClientID,dDate,nWorkplace,nWorker1,"
                 "nCount,nProject FROM _cache_compacttable ORDER BY nReportID,nClientID,nType")),
             QStringLiteral("1|510|1|1|2012-01-10|1|50|10|1;1|580|1|1|2012-01-10|1|50|2|1;"
                            "1|65538|1|1|2012-01-10|1|50|10|1;1|131073|1|2|2012-01-10|1|50|5|1;"
                            "2|510|1|2|2012-01-10|2|51|3|1;2|65538|1|2|2012-01-10|2|51|3|1;"
                            "2|263148|1|3|2012-01-10|2|51|1|1;2|266239|1|3|2012-01-10|2|51|1|1;"
                            "3|510|1|1|2012-03-05|1|50|2|2;3|65538|1|1|2012-03-05|1|50|2|2;"
                            "3|-7|1|4|2012-03-05|1|50|0|2;"
                            "4|510|5|1|2012-12-31|3|50|1|1;4|65538|5|1|2012-12-31|3|50|1|1;"
                            "4|580|5|5|2012-12-31|3|50|1|1;"
                            "5|131073|1|2|2011-12-31|1|50|1|1;5|510|1|4|2011-12-31|1|50|7|1;"
                            "5|65538|1|4|2011-12-31|1|50|7|1;"
                            "7|510|1|6|2013-01-01|2|51|1|1;7|65538|1|6|2013-01-01|2|51|1|1;"
                            "7|131073|1|7|2013-01-01|2|51|2|1;"
                            "8|131073|1|1|2012-06-01|1|50|1|1"));
    // Per client, point, worker and project of the year (both end days
    // included): distinct reports, then one sum per top-level group and the
    // community centre's code.
    QCOMPARE(m_db->Rows(QStringLiteral("SHOW COLUMNS FROM _cache_summary2012010120121231"))
                 .split(u';')
                 .replaceInStrings(QRegularExpression(QStringLiteral("\\|.*")), QString())
                 .join(u','),
             QStringLiteral("nClientID,nWorkPlace,nWorker1,nVisits,sum510,sum580,sum263148,"
                            "nProject"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_summary2012010120121231 ORDER BY "
                                       "nClientID,nWorkPlace,nWorker1,nProject")),
             QStringLiteral("1|1|50|2|10|2|0|1;1|1|50|1|2|0|0|2;1|3|50|1|1|0|0|1;"
                            "2|1|50|1|0|0|0|1;2|2|51|1|3|0|0|1;3|2|51|1|0|0|1|1;"
                            "4|1|50|1|0|0|0|2;5|3|50|1|0|1|0|1"));

    // The person key: code to the first back-quote, upper-cased; 1 and 2 are
    // one person, 3 (code against the rules) and 5 (another year) are not;
    // 6 and 7 have no sex and are two persons. First visit: earliest date,
    // on it the lowest report.
    QCOMPARE(run->PrepareClientTable(), QStringLiteral("_cache_clidata"));
    QCOMPARE(m_db->Rows(QStringLiteral(
                 "SELECT gROWID,nBirthYear,IFNULL(nSex,'-'),cGClientCode,IFNULL(cOClientCode,'-'),"
                 "nClientID,nFirstWorkplace,nFirstWorker1,dFirstDate,nRegionDataID,bSecondary,"
                 "bPDI FROM _cache_clidata ORDER BY nClientID")),
             QStringLiteral("1|1980|1|ABC0180M|X1|1|1|50|2012-01-10|1|1|0;"
                            "1|1980|1|ABC0180M|-|2|1|50|2011-12-31|1|0|0;"
                            "2|1980|1|ABC0180M`3|-|3|2|51|2012-01-10|1|0|0;"
                            "3|1990|2|DEF0290F|-|4|1|50|2011-12-31|1|0|1;"
                            "4|1991|2|DEF0290F|-|5|3|50|2012-12-31|5|0|0;"
                            "5|2000|-|GHI0000M|-|6|2|51|2013-01-01|1|0|0;"
                            "6|2000|-|GHI0000M|-|7|2|51|2013-01-01|1|0|0"));
    // Nothing of the builds is left but the tables themselves.
    QCOMPARE(CacheTables(*m_db),
             QStringLiteral("_cache_clidata;_cache_compacttable;_cache_config;_cache_conslist;"
                            "_cache_matlist;_cache_summary2012010120121231"));
    QVERIFY(LockIsFree());
}

using Spans = QList<std::pair<QDate, QDate>>;

void TestWorkTables::plannedSummariesMatchSingleBuilds_data() {
    QTest::addColumn<Spans>("spans");
    QTest::addColumn<bool>("together"); // made in one pass
    Spans months;
    for (int month = 1; month <= 12; ++month) {
        const QDate first(2012, month, 1);
        months.append({first, first.addMonths(1).addDays(-1)});
    }
    // Lines on the last day of a span, the first of the next, before the
    // first and after the last lie in the fixture's data. Spans with a gap
    // or an overlap are made one by one.
    QTest::newRow("months") << months << true;
    QTest::newRow("halves") << Spans{{QDate(2011, 12, 31), QDate(2012, 5, 31)},
                                     {QDate(2012, 6, 1), QDate(2012, 12, 31)}}
                            << true;
    QTest::newRow("gap") << Spans{{QDate(2011, 12, 1), QDate(2012, 1, 31)},
                                  {QDate(2012, 6, 1), QDate(2013, 1, 1)}}
                         << false;
    QTest::newRow("overlap") << Spans{{QDate(2011, 1, 1), QDate(2012, 6, 30)},
                                      {QDate(2012, 6, 1), QDate(2012, 12, 31)}}
                             << false;
}

void TestWorkTables::plannedSummariesMatchSingleBuilds() {
    QFETCH(Spans, spans);
    QFETCH(bool, together);
    // Each summary alone, its rows in the order they are stored.
    QStringList alone;
    QStringList names;
    for (const auto& [from, to] : spans) {
        names << Run(from, to)->PrepareSummaryTable();
        alone << m_db->Rows(QStringLiteral("SELECT * FROM ") + names.last());
    }
    QVERIFY(alone.join(QString()).contains(u'|'));
    for (const QString& name : names)
        m_db->Exec(QStringLiteral("DROP TABLE ") + name);

    const auto run = Run();
    run->PlanSummaries(spans);
    static const QRegularExpression period(QStringLiteral("(^|;)\\d+\\|"));
    for (qsizetype i = 0; i < spans.size(); ++i) {
        run->From() = spans.at(i).first;
        run->To() = spans.at(i).second;
        const QString table = run->PrepareSummaryTable();
        const QString rows = run->SummaryRows();
        if (!together) {
            QCOMPARE(table, names.at(i));
            QVERIFY(rows.isEmpty());
            QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM ") + table), alone.at(i));
            continue;
        }
        // The sub-period's rows of the sums of all, in the order they are
        // stored, without the sub-period's number.
        QVERIFY(table.startsWith(QLatin1String("_cache_summaries")));
        QCOMPARE(rows, table + QStringLiteral(".nPeriod=%1").arg(i));
        QCOMPARE(
            m_db->Rows(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE ") + rows)
                .replace(period, QStringLiteral("\\1")),
            alone.at(i));
    }
    QCOMPARE(CacheTables(*m_db).contains(QLatin1String("_cache_summaries")), together);
    QVERIFY(LockIsFree());
}

void TestWorkTables::clientTableCountryWide() {
    auto run = Run();
    run->SetNewClientMode(2);
    QCOMPARE(run->PrepareClientTable(), QStringLiteral("_cache_clidataua"));
    // Client 1 takes the earlier first date of client 2, the same person.
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT nClientID,dFirstDate FROM _cache_clidataua WHERE "
                                       "gROWID=1 ORDER BY nClientID")),
             QStringLiteral("1|2011-12-31;2|2011-12-31"));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM _cache_clidataua")),
             QStringLiteral("7"));
}

void TestWorkTables::historyPeriodsAndSnapshots() {
    auto run = Run();
    QCOMPARE(run->PrepareSnapshotTables(QDate(2012, 12, 31)), QStringLiteral("dpd201212310"));
    // Each state from its own date to the day before the next, the newest to
    // 2998-12-31; no NULL in the columns.
    QCOMPARE(m_db->Rows(QStringLiteral(
                 "SELECT * FROM _cache_dpclientdatachanges ORDER BY nClientID,dStartDate")),
             QStringLiteral("1|2010-05-01|2011-03-14|1|0;1|2011-03-15|2998-12-31|2|8192;"
                            "4|2012-06-01|2998-12-31|4|0;5|2012-01-01|2998-12-31|2|0"));
    // The risk-behaviour row without a date is left out.
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_dpriskbehavior")),
             QStringLiteral("1|2012-02-01|2998-12-31|1|0|0|0|0|0"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_dpsocialstatus")),
             QStringLiteral("1|2012-01-01|2998-12-31|0|0|0|0|1|0"));
    const QString stateColumns = QStringLiteral(
        "nClientType,nClientType2,nUseDirtySyr,nBasicDrug,bRegPolice,nEploymentStatus");
    // The state on a date: every client's one period that holds on it.
    const auto onDate = [&](const QString& columns, const QString& table, const char* date,
                            const QString& where = QString()) {
        return m_db->Rows(
            QStringLiteral("SELECT ") + columns + QStringLiteral(" FROM ") + table +
            QStringLiteral(" AS d WHERE ") +
            CRepBaseData::SnapshotHolds(QStringLiteral("d"),
                                        QDate::fromString(QLatin1String(date), Qt::ISODate)) +
            where + QStringLiteral(" ORDER BY nClientID"));
    };
    QCOMPARE(onDate(QStringLiteral("nClientID,gROWID,") + stateColumns,
                    QStringLiteral("_cache_dpclients0"), "2012-12-31"),
             QStringLiteral("1|1|2|8192|1|5|1|0;2|1|0|0|0|0|0|0;3|2|0|0|0|0|0|0;"
                            "4|3|4|0|0|0|0|0;5|4|2|0|0|0|0|0;6|5|0|0|0|0|0|0;7|6|0|0|0|0|0|0"));
    // Before its first record a history gives no state: only the drug use,
    // recorded in 2009, holds on 2009-12-31; before any record, none does.
    QCOMPARE(run->PrepareSnapshotTables(QDate(2009, 12, 31)), QStringLiteral("dpd200912310"));
    QCOMPARE(onDate(stateColumns, QStringLiteral("_cache_dpclients0"), "2009-12-31",
                    QStringLiteral(" AND nClientID=1")),
             QStringLiteral("0|0|0|5|0|0"));
    QCOMPARE(onDate(stateColumns, QStringLiteral("_cache_dpclients0"), "1990-01-01",
                    QStringLiteral(" AND nClientID=1")),
             QStringLiteral("0|0|0|0|0|0"));
    // Each client's periods follow one another without gap or overlap from
    // the first day to the last, so any date finds each client once.
    QCOMPARE(m_db->Scalar(QStringLiteral(
                 "SELECT COUNT(*) FROM _cache_dpclients0 AS a JOIN _cache_dpclients0 AS b ON "
                 "b.nClientID=a.nClientID AND b.dStartDate>a.dStartDate AND b.dStartDate<="
                 "a.dEndDate")),
             QStringLiteral("0"));
    QCOMPARE(m_db->Rows(QStringLiteral(
                 "SELECT MIN(dStartDate),MAX(dEndDate),SUM(DATEDIFF(dEndDate,dStartDate)+1)="
                 "DATEDIFF(MAX(dEndDate),MIN(dStartDate))+1 FROM _cache_dpclients0 GROUP BY "
                 "nClientID")),
             QStringLiteral("1000-01-01|2998-12-31|1;1000-01-01|2998-12-31|1;1000-01-01|2998-12-"
                            "31|1;1000-01-01|2998-12-31|1;1000-01-01|2998-12-31|1;1000-01-01|2998-"
                            "12-31|1;1000-01-01|2998-12-31|1"));
    // Another counting mode is another table, from the country-wide clients.
    auto country = Run();
    country->SetNewClientMode(2);
    QCOMPARE(country->PrepareSnapshotTables(QDate(2012, 12, 31)), QStringLiteral("dpd201212312"));
    QCOMPARE(onDate(QStringLiteral("dFirstDate"), QStringLiteral("_cache_dpclients2"), "2012-12-31",
                    QStringLiteral(" AND nClientID=1")),
             QStringLiteral("2011-12-31"));
    // Asked with a select, the snapshot joins the period summary by client.
    QStringList joins;
    country->PrepareSnapshotTables(
        QDate(2012, 12, 31),
        [&](const QString& kind, const QString& table, const QString& condition) {
            joins << kind + u'|' + table + u'|' + condition;
        });
    QCOMPARE(joins, QStringList(QStringLiteral(
                        "|_cache_dpclients2 AS dpd201212312|dpd201212312.nClientID=_cache_"
                        "summary2012010120121231.nClientID AND '2012-12-31' BETWEEN "
                        "dpd201212312.dStartDate AND dpd201212312.dEndDate")));
}

void TestWorkTables::consultationTotals() {
    auto run = Run();
    QCOMPARE(run->PrepareConsCompactTable(), QStringLiteral("_cache_conscompact"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT * FROM _cache_conscompact ORDER BY nClientID")),
             QStringLiteral("1|103|2012-01-10|1|0|1|0|0|0|1|1;4|104|2012-03-05|1|0|0|1|0|0|0|2;"
                            "5|103|2012-12-31|3|1|1|0|0|0|0|1"));
}

void TestWorkTables::selectedPoints() {
    CPoshSelection::Store(
        {{3, QStringLiteral("Выезд")}, {0, QStringLiteral("ORG1")}, {1, QStringLiteral("Центр")}});
    auto run = Run();
    const QString name = run->PrepareSelectedPOU();
    QVERIFY(name.startsWith(QStringLiteral("_cache_pou_")));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT ROWID FROM ") + name), QStringLiteral("1;3"));
    QCOMPARE(
        m_db->Scalar(QStringLiteral("SELECT cStr FROM _cache_strtoid WHERE ROWID=") + name.mid(11)),
        QStringLiteral("1,3"));
    // The same points ticked in another grouping, in another order: one table.
    CPoshSelection::Store({{1, QStringLiteral("Центр")}, {3, QStringLiteral("Выезд")}});
    QCOMPARE(Run()->PrepareSelectedPOU(), name);
    CPoshSelection::Store({{1, QStringLiteral("Центр")}});
    QVERIFY(Run()->PrepareSelectedPOU() != name);
    // Texts above 250 characters are kept by their digests.
    const QString longText(251, u'x');
    const long id = run->StrToID(longText);
    QCOMPARE(run->StrToID(longText), id);
    QCOMPARE(m_db->Scalar(
                 QStringLiteral("SELECT LENGTH(cStr) FROM _cache_strtoid WHERE ROWID=%1").arg(id)),
             QStringLiteral("96"));
    const QString edge(250, u'y');
    const long edgeId = run->StrToID(edge);
    QCOMPARE(
        m_db->Scalar(QStringLiteral("SELECT cStr FROM _cache_strtoid WHERE ROWID=%1").arg(edgeId)),
        edge);
    QVERIFY(LockIsFree());
}

void TestWorkTables::regularClients() {
    // Client 20 (group 1) visits in every month of 2012: regular. Client 21
    // (group 1) in 11 months: not. Client 22 (group 2) has 4 reports over
    // November and December: regular. Client 23 (group 4) has 4 reports in
    // December alone: not. Client 24 (group 2) had 4 reports in September
    // and December, outside the quarter but for one: not.
    QStringList clients, reports, visits, groups;
    int report = 100;
    const auto visit = [&](int client, const QDate& date) {
        ++report;
        reports
            << QStringLiteral("(%1,'%2',1,50,1,1,0,0)").arg(report).arg(date.toString(Qt::ISODate));
        visits << QStringLiteral("(%1,%2,100,1)").arg(report).arg(client);
    };
    for (int c = 20; c <= 24; ++c) {
        clients << QStringLiteral("(%1,'R%1',1,1,1980,0,1,0,0)").arg(c);
        groups << QStringLiteral("(%1,'2011-01-01',%2)").arg(c).arg(c <= 21 ? 1 : c == 23 ? 4 : 2);
    }
    for (int m = 1; m <= 12; ++m) {
        visit(20, QDate(2012, m, 15));
        if (m != 7)
            visit(21, QDate(2012, m, 28));
    }
    for (const QDate& d :
         {QDate(2012, 11, 1), QDate(2012, 11, 2), QDate(2012, 12, 1), QDate(2012, 12, 31)})
        visit(22, d);
    for (int day : {1, 2, 3, 4})
        visit(23, QDate(2012, 12, day));
    for (const QDate& d :
         {QDate(2012, 9, 1), QDate(2012, 9, 2), QDate(2012, 9, 30), QDate(2012, 12, 5)})
        visit(24, d);
    m_db->Exec(QStringLiteral("INSERT INTO clientdata (ROWID,cClientCode,bNewCode,nSex,"
                              "nBirthYear,bIsFolder,nRegionDataID,nEthnicity,nRelCount) VALUES ") +
               clients.join(u','));
    m_db->Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nProject,"
                              "nRegionDataID,nGroupID,bIsFolder) VALUES ") +
               reports.join(u','));
    m_db->Exec(
        QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) VALUES ") +
        visits.join(u','));
    m_db->Exec(
        QStringLiteral("INSERT INTO clientdatachanges (nClientID,dDate,nClientType) VALUES ") +
        groups.join(u','));

    auto run = Run(QDate(2012, 7, 1), QDate(2012, 12, 31));
    // The window ends with To whatever the period's start.
    QCOMPARE(run->PrepareRegularClients(), QStringLiteral("_cache_regc2012010120121231"));
    QCOMPARE(m_db->Rows(QStringLiteral("SELECT nClientID FROM _cache_regc2012010120121231 ORDER "
                                       "BY nClientID")),
             QStringLiteral("20;22"));
    QStringList joins;
    run->PrepareRegularClients([&](const QString& kind, const QString& table, const QString& on) {
        joins << kind + u'|' + table + u'|' + on;
    });
    QCOMPARE(joins, QStringList(QStringLiteral(
                        "LEFT|_cache_regc2012010120121231|_cache_regc2012010120121231.nClientID="
                        "_cache_summary2012070120121231.nClientID")));
}

void TestWorkTables::dateArithmetic() {
    CRepBaseData run(nullptr, QDate(2013, 1, 15), QDate(2013, 2, 28));
    run.SetStartMonthsBack(12);
    QCOMPARE(run.From(), QDate(2012, 3, 1));
    run.SetStartMonthsBack(3);
    QCOMPARE(run.From(), QDate(2012, 12, 1));
    QCOMPARE(run.RegularYearStart(), QDate(2012, 2, 29));
    QCOMPARE(run.RegularQuarterStart(), QDate(2012, 12, 1));
    run.To() = QDate(2012, 2, 10);
    run.SetEndToMonthEnd();
    QCOMPARE(run.To(), QDate(2012, 2, 29));
    run.To() = QDate(2013, 5, 30);
    QCOMPARE(run.RegularQuarterStart(), QDate(2013, 2, 28));
    run.To() = QDate(2012, 12, 31);
    QCOMPARE(run.RegularYearStart(), QDate(2012, 1, 1));
    QCOMPARE(run.RegularQuarterStart(), QDate(2012, 10, 1));
}

void TestWorkTables::secondBuildReusesTables() {
    Run()->PrepareSummaryTable();
    // A row no build would make: it survives while the table is reused.
    m_db->Exec(QStringLiteral("INSERT INTO _cache_summary2012010120121231 VALUES "
                              "(999,0,0,0,0,0,0,0)"));
    auto again = Run();
    QCOMPARE(again->PrepareSummaryTable(), QStringLiteral("_cache_summary2012010120121231"));
    QCOMPARE(m_db->Scalar(QStringLiteral(
                 "SELECT COUNT(*) FROM _cache_summary2012010120121231 WHERE nClientID=999")),
             QStringLiteral("1"));
    // Within a run a builder answers from the run's map without a statement.
    QCOMPARE(again->PrepareCompactTable(), QStringLiteral("_cache_compacttable"));
}

void TestWorkTables::changeNoticesDropTables_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("drops");
    for (const char* table :
         {"dir", "dailyreport", "dailyvisits", "clientdata", "traininglist", "clientdatachanges",
          "drugusedata", "riskbehavior", "socialstatus", "healthstatus", "towns", "orginf"})
        QTest::newRow(table) << QString::fromLatin1(table).toUpper() << true;
    QTest::newRow("profiles") << QStringLiteral("PROFILES") << false;
}

void TestWorkTables::changeNoticesDropTables() {
    QFETCH(QString, table);
    QFETCH(bool, drops);
    CCacheClear clear(m_db->Connection());
    Run()->PrepareRiskGroupTable();
    QCOMPARE(CacheTables(*m_db), QStringLiteral("_cache_config;_cache_dpclientdatachanges"));
    CTarvikApp::SendForNotify(QStringLiteral("SQL"), table);
    QCOMPARE(CacheTables(*m_db).isEmpty(), drops);
    QVERIFY(LockIsFree());
}

void TestWorkTables::materialGroupsChangeDropsTables() {
    Run()->PrepareSummaryTable();
    // A new top-level group changes the summary's columns: the tables made
    // with the old groups go, the next build makes them anew.
    InstallConfig(TestMatGroups().replace(QStringLiteral("</MATGROUPS>"),
                                          QStringLiteral("<Item ID='520' Title='Буклеты'/>"
                                                         "</MATGROUPS>")));
    Run()->PrepareSummaryTable();
    QVERIFY(m_db->Rows(QStringLiteral("SHOW COLUMNS FROM _cache_summary2012010120121231"))
                .contains(QStringLiteral("sum520|")));
    // Unchanged groups keep the tables.
    m_db->Exec(QStringLiteral("INSERT INTO _cache_matlist VALUES (999,1)"));
    Run()->PrepareSummaryTable();
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM _cache_matlist WHERE ROWID=999")),
             QStringLiteral("1"));
}

void TestWorkTables::failureHalfWayLeavesNothing() {
    // Stopped in the material list (made, not yet renamed) and inside the
    // compact table's LOCK TABLE (its insert done).
    const char* stops[] = {"INSERT INTO _cache_part_matlist SELECT ROWID,dir.nType",
                           "INSERT INTO _cache_part_compacttable"};
    for (const char* stop : stops) {
        CancelAfter cancel(QString::fromLatin1(stop));
        SQLConnectXML info = m_db->Info();
        QVERIFY(cancel.Connect(&info));
        auto run = std::make_unique<CRepBaseData>(&cancel, QDate(2012, 1, 1), QDate(2012, 12, 31),
                                                  &cancel);
        bool thrown = false;
        try {
            run->PrepareSummaryTable();
        } catch (const CRepError& error) {
            thrown = true;
            QVERIFY(error.cancelled);
        }
        QVERIFY(thrown);
        const QString tables = CacheTables(*m_db);
        QVERIFY2(!tables.contains(QStringLiteral("compact")), qPrintable(tables));
        QVERIFY2(!tables.contains(QStringLiteral("summary")), qPrintable(tables));
        QVERIFY2(!tables.contains(QStringLiteral("part")), qPrintable(tables));
        QVERIFY(LockIsFree());
        // No table lock is left on the build's connection either.
        CxResult count = cancel.Execute(QStringLiteral("SELECT COUNT(*) FROM clientdata"));
        QVERIFY(count.FetchRow());
        QCOMPARE(count.SFieldValue(0), QStringLiteral("9"));
    }
    // The next run builds everything whole.
    QCOMPARE(Run()->PrepareSummaryTable(), QStringLiteral("_cache_summary2012010120121231"));
    QCOMPARE(m_db->Scalar(QStringLiteral("SELECT COUNT(*) FROM _cache_compacttable")),
             QStringLiteral("21"));
}

void TestWorkTables::progressShowsCaptionsNotStatements() {
    ShownProgress progress;
    Run(QDate(2012, 1, 1), QDate(2012, 12, 31), &progress)->PrepareSummaryTable();
    QVERIFY(progress.texts.contains(QStringLiteral("Подготовка компактной таблицы материалов")));
    QVERIFY(progress.texts.contains(QStringLiteral("Создание таблицы _cache_matlist")));
    static const QRegularExpression statement(
        QStringLiteral("\\b(SELECT|INSERT|CREATE|RENAME|DROP|LOCK|UNLOCK|SHOW)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    for (const QString& text : std::as_const(progress.texts))
        QVERIFY2(!statement.match(text).hasMatch(), qPrintable(text));
}

void TestWorkTables::failingStatementNamesTableAndServerText() {
    m_db->Exec(QStringLiteral("ALTER TABLE socialstatus DROP COLUMN bNarcoDisp"));
    auto run = Run();
    QString html;
    try {
        run->PrepareSnapshotTables(QDate(2012, 12, 31));
    } catch (const CRepError& error) {
        html = error.html;
    }
    QVERIFY(html.startsWith(QStringLiteral("_cache_dpsocialstatus: INSERT INTO "
                                           "_cache_part_dpsocialstatus")));
    QVERIFY2(html.contains(QStringLiteral("<br/><b>")) &&
                 html.contains(QStringLiteral("bNarcoDisp")),
             qPrintable(html));
    // The period tables made before the failure are whole; the failed one
    // and the snapshot are not there.
    QCOMPARE(CacheTables(*m_db),
             QStringLiteral("_cache_config;_cache_dpclientdatachanges;_cache_dpdrugusedata;"
                            "_cache_dpriskbehavior"));
    QVERIFY(LockIsFree());
}

void TestWorkTables::numberOfATextChecksItsStatements() {
    Run()->PrepareMatList(); // the work tables now match the configuration
    // A table of that name that cannot answer: the run stops, no number 0.
    m_db->Exec(QStringLiteral("CREATE TABLE _cache_strtoid (x INT)"));
    auto run = Run();
    QString html;
    try {
        run->StrToID(QStringLiteral("1,2"));
    } catch (const CRepError& error) {
        html = error.html;
    }
    QVERIFY2(html.startsWith(QStringLiteral("_cache_strtoid: SELECT ROWID FROM _cache_strtoid")),
             qPrintable(html));
    QVERIFY(LockIsFree());
}

QTEST_GUILESS_MAIN(TestWorkTables)
#include "test_work_tables.moc"
