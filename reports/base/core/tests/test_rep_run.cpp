// One build of a report: the checks and their pages, the error page of a
// failed work table, a cancelled build, the report's own page, the run's
// fields and footnotes, links and the saved file.
#include "db/schema/cache_tables.h"
#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "rep_test_support.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/core/rep_base_summary.h"
#include "tests/support/schema_test_database.h"
#include "work_table_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

namespace {
class TestReport : public CRepBase {
public:
    QString GetReportTitle() override { return QStringLiteral("Тестовый отчет"); }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override {
        generated = true;
        if (body)
            body(html);
    }
    int CheckPreset() override { return usePreset ? CRepBase::CheckPreset() : 1; }
    CRepBaseData* CreateReportData() override;

    std::function<void(CAccStringT<wchar_t>&)> body;
    bool generated = false;
    bool usePreset = true;
};

// A run of a report's own kind, which counts its instances: the report
// deletes it through the base class, and its own destructor must run.
class CountedRun : public CRepBaseData {
public:
    CountedRun(CxSQL* sql, const QDate& from, const QDate& to, CvProgress* progress)
        : CRepBaseData(sql, from, to, progress) {
        ++alive;
    }
    ~CountedRun() override { --alive; }
    static int alive;
};
int CountedRun::alive = 0;

CRepBaseData* TestReport::CreateReportData() {
    return new CountedRun(GetSQL(), Params().from, Params().to, GetProgress());
}

class StopNow : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString&, int) override {}
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return true; }
};

// A field that counts its instances, to see the run delete them.
class CountedField : public CTestField {
public:
    explicit CountedField(long id) : CTestField(id, QStringLiteral("f")) { ++alive; }
    ~CountedField() override { --alive; }
    static int alive;
};
int CountedField::alive = 0;

const QString kPreset =
    QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='Все' ProjectStartDate='01.03.2011'/>"
                   "</KDREPORTPRESETS2>");
} // namespace

class TestRepRun : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void noServicePoint();
    void noPreset();
    void reportPage();
    void failedWorkTable();
    void cancelledBuild();
    void fieldsOncePerId();
    void runEndsWithItsBuild_data();
    void runEndsWithItsBuild();
    void footnotes();
    void oneBuildAtATime();
    void linksAndSavedPage();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<TestReport> m_doc;
};

void TestRepRun::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("run"));
    LoadWorkTableFixture(*m_db);
}

void TestRepRun::init() {
    InstallConfig(TestMatGroups() + kPreset, QStringLiteral("15.01.2010"));
    CPoshSelection::Store({{1, QStringLiteral("Центр")}});
    m_doc = std::make_unique<TestReport>();
    m_doc->SetSQL(m_db->Connection());
    m_doc->Params().from = QDate(2012, 1, 1);
    m_doc->Params().to = QDate(2012, 12, 31);
    m_doc->GetPresetList().Fill(0);
    DropCacheTables(m_db->Connection()); // every test builds from the data
    CTarvikApp::ClearErrorMessages();
}

void TestRepRun::noServicePoint() {
    CPoshSelection::Store({});
    QVERIFY(m_doc->Build(nullptr));
    const QString page = m_doc->GetHTML();
    QVERIFY(page.contains(QStringLiteral("Вы должны отметить хотя бы один ПОУ")));
    // The way out names the list and the button the window has.
    QVERIFY(page.contains(QStringLiteral("«Пункты предоставления услуг»")));
    QVERIFY(page.contains(QStringLiteral("«Формировать»")));
    QVERIFY(!page.contains(QStringLiteral("«Изменить»")));
    QVERIFY(page.contains(QStringLiteral(">Ошибка<")));
    QVERIFY(!m_doc->generated);
}

void TestRepRun::noPreset() {
    m_doc->GetPresetList().SetItemCheck(0, false);
    m_doc->Build(nullptr);
    QVERIFY(m_doc->GetHTML().contains(
        QStringLiteral("Необходимо выбрать один из вариантов формирования отчета")));
    QVERIFY(!m_doc->generated);
    // A report without presets builds with nothing chosen.
    m_doc->usePreset = false;
    m_doc->Build(nullptr);
    QVERIFY(m_doc->generated);
}

void TestRepRun::reportPage() {
    m_doc->body = [this](CAccStringT<wchar_t>& html) {
        CRepBaseData* run = m_doc->GetRunData();
        QVERIFY(run);
        // The preset's project start wins over the configuration's.
        QCOMPARE(run->GetPreset().Title, QStringLiteral("Все"));
        QCOMPARE(run->GetProjectStart(), QDate(2011, 3, 1));
        const QString summary = run->PrepareSummaryTable();
        CxResult res = run->GetSQL()->Execute(QStringLiteral("SELECT nWorkPlace,SUM(nVisits) AS "
                                                             "n FROM ") +
                                              summary + QStringLiteral(" GROUP BY nWorkPlace"));
        CTestField point(1, QStringLiteral("ПОУ"));
        CTestField visits(2, QStringLiteral("Визитов"));
        auto* table = new CRepBaseSummary;
        m_doc->GetSummaries().Add(table);
        table->AddRowField(&point);
        table->AddColumnField(&visits);
        table->LoadTemplates(run);
        while (res.FetchRow()) {
            point.group = res.LFieldValue(0);
            point.text = QStringLiteral("Пункт %1").arg(point.group);
            visits.value = res.DFieldValue(1);
            table->GetRowForCurrentRecord();
        }
        CAccStringT<wchar_t> rows;
        table->GetHTML(rows, run, false);
        const CHTMLTemplate& t = run->GetReportTemplate();
        html.Add(CxString::StrTr(t.GetSection(QStringLiteral("REPORT")),
                                 {{QStringLiteral("%TITLE%"), SafeHTML(m_doc->GetReportTitle())},
                                  {QStringLiteral("%FROM%"), QStringLiteral("01.01.2012")},
                                  {QStringLiteral("%TO%"), QStringLiteral("31.12.2012")},
                                  {QStringLiteral("%HEADING%"), QString()},
                                  {QStringLiteral("%DETAIL%"), QString()},
                                  {QStringLiteral("%SUMMARY%"),
                                   CxString::StrTr(t.GetSection(QStringLiteral("SM.REPORT")),
                                                   {{QStringLiteral("%BODY%"), rows.ToString()}})},
                                  {QStringLiteral("%COMMENT%"), run->GetFootnotesHTML()}}));
    };
    QVERIFY(m_doc->Build(nullptr));
    const QString page = m_doc->GetHTML();
    QVERIFY(page.contains(QStringLiteral("<h2 align=\"center\">Тестовый отчет</h2>")));
    // 9 visits of 2012 (a client's distinct reports per point, worker and
    // project): 5 at point 1, 2 at point 2, 2 at point 3.
    QVERIFY(page.contains(QStringLiteral("Всего</td><td class=\"a6\">9</td>")));
    QVERIFY(page.contains(QStringLiteral("Пункт 1</td><td class=\"a7\">5</td>")));
    QCOMPARE(m_doc->GetSummaries().GetSize(), 0); // emptied at the end of the build
    QVERIFY(!m_doc->GetRunData());
}

void TestRepRun::failedWorkTable() {
    m_db->Exec(QStringLiteral("CREATE TABLE dailyvisits_saved LIKE dailyvisits"));
    m_db->Exec(QStringLiteral("INSERT INTO dailyvisits_saved SELECT * FROM dailyvisits"));
    m_db->Exec(QStringLiteral("ALTER TABLE dailyvisits DROP COLUMN nCount"));
    m_doc->body = [this](CAccStringT<wchar_t>&) {
        m_doc->GetSummaries().Add(new CRepBaseSummary);
        m_doc->GetRunData()->PrepareSummaryTable();
    };
    m_doc->Build(nullptr);
    m_db->Exec(QStringLiteral("DROP TABLE dailyvisits"));
    m_db->Exec(QStringLiteral("RENAME TABLE dailyvisits_saved TO dailyvisits"));
    const QString page = m_doc->GetHTML();
    QVERIFY(page.contains(QStringLiteral("Возникла ошибка при формировании отчета")));
    // The tables in the way, then the statement and the server's text,
    // escaped for HTML.
    QVERIFY2(page.contains(QStringLiteral("_cache_summary2012010120121231: _cache_compacttable: "
                                          "INSERT INTO _cache_part_compacttable")),
             qPrintable(page));
    QVERIFY(page.contains(QStringLiteral("IF(dv.nCount&amp;32,1,0)")));
    QVERIFY(page.contains(QStringLiteral("<br/><b>Unknown column")));
    QCOMPARE(m_doc->GetSummaries().GetSize(), 0);
    QVERIFY(!m_db->Rows(QStringLiteral("SHOW TABLES LIKE '\\_cache\\_%compact%'")).size());
    QVERIFY(!m_db->HoldsDbLock());
}

void TestRepRun::cancelledBuild() {
    StopNow stop;
    m_doc->body = [this](CAccStringT<wchar_t>&) { m_doc->GetRunData()->PrepareCompactTable(); };
    m_doc->Build(&stop);
    QVERIFY(
        m_doc->GetHTML().contains(QStringLiteral("Формирование отчета прервано пользователем")));
    QVERIFY(m_db->Rows(QStringLiteral("SHOW TABLES LIKE '\\_cache\\_compact%'")).isEmpty());
}

void TestRepRun::runEndsWithItsBuild_data() {
    QTest::addColumn<QString>("outcome");
    QTest::newRow("built") << QStringLiteral("built");
    QTest::newRow("refused") << QStringLiteral("refused");
    QTest::newRow("cancelled") << QStringLiteral("cancelled");
}

void TestRepRun::runEndsWithItsBuild() {
    QFETCH(QString, outcome);
    StopNow stop;
    if (outcome == QStringLiteral("refused"))
        CPoshSelection::Store({});
    m_doc->body = [](CAccStringT<wchar_t>&) { QCOMPARE(CountedRun::alive, 1); };
    m_doc->Build(outcome == QStringLiteral("cancelled") ? &stop : nullptr);
    QCOMPARE(m_doc->generated, outcome == QStringLiteral("built"));
    QCOMPARE(CountedRun::alive, 0);
}

void TestRepRun::fieldsOncePerId() {
    m_doc->body = [this](CAccStringT<wchar_t>&) {
        CRepField* first = m_doc->AddField(new CountedField(7));
        QCOMPARE(CountedField::alive, 1);
        QCOMPARE(m_doc->AddField(new CountedField(7)), first);
        QCOMPARE(CountedField::alive, 1);
        m_doc->AddField(new CountedField(8));
        QCOMPARE(m_doc->GetRunData()->GetFields().GetSize(), 2);
    };
    m_doc->Build(nullptr);
    QVERIFY(m_doc->generated);
    QCOMPARE(CountedField::alive, 0); // the run deleted its fields
}

void TestRepRun::footnotes() {
    CRepBaseData run(nullptr, QDate(2012, 1, 1), QDate(2012, 12, 31));
    QCOMPARE(run.GetFootnotesHTML(), QString());
    QCOMPARE(run.AddFootnote(QStringLiteral("первая")), QStringLiteral("1"));
    QCOMPARE(run.AddFootnote(QStringLiteral("вторая")), QStringLiteral("2"));
    QCOMPARE(run.AddFootnote(QStringLiteral("первая")), QStringLiteral("1"));
    QCOMPARE(run.GetFootnotesHTML(),
             QStringLiteral("<br><sup>1</sup>первая<br><sup>2</sup>вторая"));
}

void TestRepRun::oneBuildAtATime() {
    TestReport other;
    other.SetSQL(m_db->Connection());
    QString refused;
    m_doc->body = [&](CAccStringT<wchar_t>&) {
        QVERIFY(CRepDoc::IsBuilding());
        QVERIFY(!other.Build(nullptr, &refused));
    };
    m_doc->Build(nullptr);
    QVERIFY(!refused.isEmpty());
    QVERIFY(!other.generated);
    QVERIFY(!CRepDoc::IsBuilding());
}

void TestRepRun::linksAndSavedPage() {
    CTarvikApp::TakeAppQueries();
    QCOMPARE(m_doc->OnProcessURL(QStringLiteral("sqledit:CDDiary:5:0:wait")), 1);
    QCOMPARE(m_doc->OnProcessURL(QStringLiteral("https://example.org/")), 0);
    QCOMPARE(CTarvikApp::TakeAppQueries(), QStringList(QStringLiteral("sqledit:CDDiary:5:0:wait")));

    QTemporaryDir dir;
    m_doc->SetHTML(QStringLiteral("<html><head><title>x</title></head><body>Привет</body></html>"));
    const QString path = dir.filePath(QStringLiteral("rep.html"));
    QString error;
    QVERIFY2(m_doc->SaveHTML(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("<html><head><meta charset=\"utf-8\"><title>x</title></head>"
                            "<body>Привет</body></html>"));
    // A page with a declaration is written as it is; a bare fragment becomes a page.
    QCOMPARE(
        CRepDoc::StandalonePage(QStringLiteral("<html><head><meta charset='utf-8'></head></html>")),
        QStringLiteral("<html><head><meta charset='utf-8'></head></html>"));
    QVERIFY(
        CRepDoc::StandalonePage(QStringLiteral("<p>x</p>"))
            .startsWith(QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">")));
    QVERIFY(!m_doc->SaveHTML(dir.filePath(QStringLiteral("missing/rep.html")), &error));
    QVERIFY(!error.isEmpty());
}

QTEST_GUILESS_MAIN(TestRepRun)
#include "test_rep_run.moc"
