// The visits and list reports on one small database whose figures are
// computed by hand (visits_fixture.h): every variant of the visits engine,
// the distribution of visits, the two period pivots and the trainings
// report, read back from their HTML; links; failures; repeated builds.
#include "db/schema/cache_tables.h"
#include "framework/core/progress.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "model/enums/client_enums.h"
#include "model/enums/directory_enums.h"
#include "model/options/kelda_options.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/tests/rep_test_support.h"
#include "reports/visits/core/rep_period_kelda_doc.h"
#include "reports/visits/core/rep_raspred_doc.h"
#include "reports/visits/core/rep_trainings_doc.h"
#include "reports/visits/core/rep_visits_variants.h"
#include "reports/visits/core/visits_columns.h"
#include "reports/visits/core/visits_templates.h"
#include "tests/support/schema_test_database.h"
#include "visits_fixture.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

namespace {
// The presets: P1 coverage with details and three tables; P2 one table by
// sex; P3 first point, town and region; P4 a detail id no column has; P5 a
// summary list of only a separator; P6 the age group both as a detail and
// as a grouping; P7 one table by sex and, below, the vulnerable group; P8
// every column of the catalogue a preset may list, in both lists.
QString Presets() {
    return QStringLiteral(
        "<KDREPORTPRESETS>"
        "<KDREPPRESET Title='P1'><DETAILED><Item ID='1062'/><Item ID='1039'/><Item ID='1010'/>"
        "<Item ID='20418'/><Item ID='1062'/></DETAILED><SUMMARY><Item ID='1797'/><Item ID='-1'/>"
        "<Item ID='1796'/><Item ID='-1'/><Item ID='-1'/><Item ID='3060'/><Item ID='-1'/></SUMMARY>"
        "</KDREPPRESET>"
        "<KDREPPRESET Title='P2'><SUMMARY><Item ID='1797'/></SUMMARY></KDREPPRESET>"
        "<KDREPPRESET Title='P3'><SUMMARY><Item ID='1919'/><Item ID='-1'/><Item ID='20456'/>"
        "<Item ID='-1'/><Item ID='20457'/></SUMMARY></KDREPPRESET>"
        "<KDREPPRESET Title='P4'><DETAILED><Item ID='-1'/></DETAILED></KDREPPRESET>"
        "<KDREPPRESET Title='P5'><SUMMARY><Item ID='-1'/></SUMMARY></KDREPPRESET>"
        "<KDREPPRESET Title='P6'><DETAILED><Item ID='1139'/></DETAILED><SUMMARY>"
        "<Item ID='1139'/></SUMMARY></KDREPPRESET>"
        "<KDREPPRESET Title='P7'><SUMMARY><Item ID='1797'/><Item ID='1796'/></SUMMARY>"
        "</KDREPPRESET>"
        "<KDREPPRESET Title='P8'><DETAILED><Item ID='1062'/><Item ID='1139'/><Item ID='3177'/>"
        "<Item ID='20418'/><Item ID='1035'/><Item ID='1811'/><Item ID='1087'/><Item ID='3060'/>"
        "<Item ID='1100'/><Item ID='1919'/><Item ID='2086'/><Item ID='1010'/><Item ID='1039'/>"
        "<Item ID='1520'/><Item ID='1789'/><Item ID='1475'/><Item ID='1377'/><Item ID='1394'/>"
        "<Item ID='1797'/><Item ID='1796'/></DETAILED><SUMMARY><Item ID='1797'/>"
        "<Item ID='1796'/><Item ID='-1'/><Item ID='1377'/><Item ID='1475'/><Item ID='1394'/>"
        "<Item ID='-1'/><Item ID='1520'/><Item ID='1789'/><Item ID='-1'/><Item ID='1087'/>"
        "<Item ID='1100'/><Item ID='3060'/><Item ID='-1'/><Item ID='1035'/><Item ID='1919'/>"
        "<Item ID='2086'/></SUMMARY></KDREPPRESET>"
        "</KDREPORTPRESETS>");
}

QString Text(QString html) {
    html.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    html.replace(QLatin1String("&nbsp;"), QString());
    html.replace(QLatin1String("&lt;"), QLatin1String("<"));
    html.replace(QLatin1String("&gt;"), QLatin1String(">"));
    html.replace(QLatin1String("&quot;"), QLatin1String("\""));
    html.replace(QLatin1String("&#39;"), QLatin1String("'"));
    html.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return html.trimmed();
}

// Every table row of the text as its cells' plain texts.
QList<QStringList> Rows(const QString& html) {
    QList<QStringList> rows;
    static const QRegularExpression row(QStringLiteral("<tr[^>]*>(.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    for (auto it = row.globalMatch(html); it.hasNext();) {
        const QString inner = it.next().captured(1);
        QStringList cells;
        for (auto c = cell.globalMatch(inner); c.hasNext();)
            cells << Text(c.next().captured(1));
        rows << cells;
    }
    return rows;
}

// The summary lines of the page (title cell class "b<n>"), in order:
// title, then the numbers.
QList<QStringList> SummaryLines(const QString& html) {
    QList<QStringList> lines;
    static const QRegularExpression row(
        QStringLiteral("<tr><td class=\"b\\d\"[^>]*>(.*?)</td>(.*?)</tr>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td class=\"a\\d\">(.*?)</td>"));
    for (auto it = row.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        QStringList line{Text(m.captured(1))};
        for (auto c = cell.globalMatch(m.captured(2)); c.hasNext();) {
            const QString v = Text(c.next().captured(1));
            line << (v.isEmpty() ? QStringLiteral("0") : v);
        }
        lines << line;
    }
    return lines;
}

// The detail rows: the cells of rows whose first cell is a client code.
QList<QStringList> DetailRows(const QString& html) {
    QList<QStringList> rows;
    static const QRegularExpression row(QStringLiteral("<tr>(<td class=\"Dcl\">.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    for (auto it = row.globalMatch(html); it.hasNext();) {
        const QList<QStringList> cells =
            Rows(QStringLiteral("<tr>") + it.next().captured(1) + QStringLiteral("</tr>"));
        rows << cells.value(0);
    }
    return rows;
}

QString Sex(long code) {
    return g_pSex->IDToString(code);
}
QString Group(long code) {
    QString text;
    g_pClientGroup->GetValueText(quint32(code), text);
    return text;
}

class StopNow : public CvProgress {
public:
    void BeginProgress(const QString&, int) override {}
    void SetRange(int, const QString&) override {}
    void Step(const QString&, int) override {}
    void EndProgress(const QString&) override {}
    bool IsCancelled() const override { return true; }
};
} // namespace

class TestVisitsReports : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void coverage();
    void variants_data();
    void variants();
    void summaryGroups_data();
    void summaryGroups();
    void figuresWithoutThePage_data();
    void figuresWithoutThePage();
    void everyColumnInOnePreset();
    void stateAtPeriodEnd_data();
    void stateAtPeriodEnd();
    void joinsOfOneTableUnderTwoAliases();
    void summaryByYears();
    void checksAndFailures();
    void distribution();
    void materialsPivot();
    void consultationsPivot();
    void trainings();
    void columnsReadValues();

private:
    void Prepare(CRepVisitsBaseDoc& doc, const QString& preset, QDate from, QDate to,
                 long worker = 0);
    QString Build(CRepDoc& doc);
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestVisitsReports::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("visits"));
    LoadVisitsFixture(*m_db);
}

void TestVisitsReports::init() {
    InstallConfig(VisitsFixtureLists() + Presets());
    CPoshSelection::Store({{1, QStringLiteral("Центр <b>")}, {2, QStringLiteral("Аптека")}});
    DropCacheTables(m_db->Connection());
    CTarvikApp::ClearErrorMessages();
}

void TestVisitsReports::Prepare(CRepVisitsBaseDoc& doc, const QString& preset, QDate from, QDate to,
                                long worker) {
    doc.SetSQL(m_db->Connection());
    doc.Params().from = from;
    doc.Params().to = to;
    doc.Params().workerId = worker;
    doc.Params().workerText = worker > 0 ? QStringLiteral("Иванов <И.>") : QString();
    doc.CreateColumns();
    doc.GetVisitsPresetList().Fill(-1);
    if (!preset.isEmpty())
        QVERIFY(doc.GetVisitsPresetList().SelectByName(preset));
}

QString TestVisitsReports::Build(CRepDoc& doc) {
    doc.SetSQL(m_db->Connection());
    if (!doc.Build(nullptr))
        return QString();
    return doc.GetHTML();
}

// Coverage with details and three summary tables: every number of the page.
void TestVisitsReports::coverage() {
    CRepVisitsDoc doc;
    Prepare(doc, QStringLiteral("P1"), QDate(2012, 1, 1), QDate(2012, 12, 31));
    const QString page = Build(doc);
    QVERIFY2(doc.GetCheckText().isEmpty(), qPrintable(doc.GetCheckText()));

    // Values: unique, clients, visits, syringes (510), needles (520),
    // consultations (580). A client without sex or without any client type
    // counts, uniquely too, on the line of the value 0; the client type is
    // the one at the period's end (c2's of 2012-03-01 for its visits of
    // January and February too); a client whose types all come later (c3's
    // of 2013) has none in the period and counts on the line of 0; the
    // volunteer's unique count is 1 on its line.
    const QList<QStringList> expected = {
        {QStringLiteral("Всего"), "6", "6", "29", "42", "12", "2"},
        {QStringLiteral("Ошибка"), "1", "1", "2", "6", "0", "2"},
        {Sex(1), "4", "4", "25", "33", "10", "0"},
        {Sex(2), "1", "1", "2", "3", "2", "0"},
        {QStringLiteral("Всего"), "6", "6", "29", "42", "12", "2"},
        {QString(), "3", "3", "4", "7", "4", "2"},
        {Group(1), "2", "2", "21", "22", "2", "0"},
        {Group(6), "1", "1", "4", "13", "6", "0"},
        {QStringLiteral("Всего"), "6", "6", "29", "42", "12", "2"},
        {QStringLiteral("Не волонтер"), "5", "5", "25", "29", "6", "2"},
        {QStringLiteral("Волонтер"), "1", "1", "4", "13", "6", "0"},
    };
    QCOMPARE(SummaryLines(page), expected);

    // Details: code, age at the period's end (once, though listed twice),
    // comment, first visit, old code, then the material columns.
    const auto date = [&](int y, int m, int d) {
        return QDate(y, m, d).toString(QStringLiteral("dd.MM.yyyy"));
    };
    const QList<QStringList> detail = {
        {"AAA0180M", "32", "<script>x</script> %TITLE%", date(2012, 1, 10), "", "13", "6", ""},
        {"BBB0290F", "22", "", date(2011, 12, 20), "", "3", "2", ""},
        {"CCC0300M`3", "12", "", date(2012, 1, 20), "CCC0300M", "", "4", ""},
        {"DDD0185F", "27", "", date(2012, 1, 10), "", "6", "", "2"},
        {"EEE0100M", "11", "", date(2012, 3, 15), "", "1", "", ""},
        {"FFF0170M", "42", "", date(2012, 1, 2), "", "19", "", ""},
    };
    QCOMPARE(DetailRows(page), detail);
    // Data texts are escaped; a placeholder in a value stays as typed.
    QVERIFY(page.contains(QStringLiteral("&lt;script&gt;x&lt;/script&gt; %TITLE%")));
    QVERIFY(!page.contains(QStringLiteral("<script>")));
    // Links open the client's card and the daily report of the first visit.
    QVERIFY(page.contains(QStringLiteral("<a href=\"sqledit:CDClients:1:2055\">AAA0180M</a>")));
    QVERIFY(page.contains(QStringLiteral("<a href=\"sqledit:CDClients:6:2055\">FFF0170M</a>")));
    QVERIFY(page.contains(QStringLiteral("href=\"sqledit:CDDiary:201:2055\"")));
    QVERIFY(page.contains(QStringLiteral("href=\"sqledit:CDDiary:5:2055\"")));
    QCOMPARE(doc.OnProcessURL(QStringLiteral("sqledit:CDClients:1:2055")), 1);
    // Footnotes: the age's (in the header) and the chosen points (in the title).
    QVERIFY(page.contains(QStringLiteral("Охват за период<sup>2 </sup>")));
    QVERIFY(page.contains(QStringLiteral("Возраст на конец периода")));
    QVERIFY(page.contains(QStringLiteral("Возраст клиента (лет)<sup>1</sup>")));

    // The option cuts codes at the back-quote.
    g_pOption_RepParam->m_ClipClientCode.Set(1);
    const QString clipped = Build(doc);
    g_pOption_RepParam->m_ClipClientCode.Set(0);
    QCOMPARE(DetailRows(clipped).value(2).value(0), QStringLiteral("CCC0300M"));

    // A second build gives the same page.
    QCOMPARE(Build(doc), page);
}

void TestVisitsReports::variants_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("worker");
    QTest::addColumn<QDate>("shownFrom");  // the period after the report adjusted it
    QTest::addColumn<QStringList>("root"); // the root line of the sex table

    // New clients: first visit in the period at a chosen point (c5's first
    // visit was at point 3, c2's in 2011).
    QTest::newRow("new") << 1 << QDate(2012, 1, 1) << QDate(2012, 12, 31) << 0 << QDate(2012, 1, 1)
                         << QStringList{"Всего", "4", "4", "26", "38", "10", "2"};
    // Regular: visits in all twelve months ending with the chosen month.
    QTest::newRow("regular") << 2 << QDate(2012, 5, 5) << QDate(2012, 12, 10) << 0
                             << QDate(2012, 1, 1)
                             << QStringList{"Всего", "1", "1", "19", "19", "0", "0"};
    QTest::newRow("regular-11-months")
        << 2 << QDate(2012, 5, 5) << QDate(2013, 1, 31) << 0 << QDate(2012, 2, 1)
        << QStringList{"Всего", "0", "0", "0", "0", "0", "0"};
    // Worker 50 gave reports 1, 3, 6 and 7.
    QTest::newRow("worker") << 0 << QDate(2012, 1, 1) << QDate(2012, 12, 31) << 50
                            << QDate(2012, 1, 1)
                            << QStringList{"Всего", "4", "4", "8", "21", "8", "2"};
    // Two records of one person (c1 and c7 in 2014): two clients, one unique.
    QTest::newRow("one-person-two-records")
        << 0 << QDate(2014, 1, 1) << QDate(2014, 12, 31) << 0 << QDate(2014, 1, 1)
        << QStringList{"Всего", "1", "2", "2", "2", "0", "0"};
    // Months: from the 15th to the 3rd of the next month, two columns; the
    // first counts the visits of January that fall in the period.
    QTest::newRow("months") << 3 << QDate(2012, 1, 15) << QDate(2012, 2, 3) << 0
                            << QDate(2012, 1, 15) << QStringList{"Всего", "4", "4", "5", "5", "0"};
}

void TestVisitsReports::variants() {
    QFETCH(int, kind);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, worker);
    QFETCH(QDate, shownFrom);
    QFETCH(QStringList, root);
    std::unique_ptr<CRepVisitsBaseDoc> doc;
    switch (kind) {
    case 0:
        doc = std::make_unique<CRepVisitsDoc>();
        break;
    case 1:
        doc = std::make_unique<CRepVisitsNewDoc>();
        break;
    case 2:
        doc = std::make_unique<CRepVisitsRegDoc>();
        break;
    default:
        doc = std::make_unique<CRep_Kelda_VisSummary>();
        break;
    }
    Prepare(*doc, QStringLiteral("P2"), from, to, worker);
    const QString page = Build(*doc);
    const QList<QStringList> lines = SummaryLines(page);
    QVERIFY2(!lines.isEmpty(), qPrintable(page.left(2000)));
    QCOMPARE(lines.first(), root);
    QCOMPARE(doc->Params().from, shownFrom);
    if (kind == 2)
        QVERIFY(!doc->GetViewSetup().periodStart);
    if (kind == 3) {
        QVERIFY(page.contains(QStringLiteral(">1.2012<sup>")));
        QVERIFY(page.contains(QStringLiteral(">2.2012<sup>")));
    }
    if (worker > 0)
        QVERIFY(page.contains(QStringLiteral("<b>Иванов &lt;И.&gt;</b>")));
}

void TestVisitsReports::summaryGroups_data() {
    QTest::addColumn<QString>("preset");
    QTest::addColumn<QList<QStringList>>("lines");
    QTest::addColumn<QString>("footnote"); // empty: the unique count is made

    // Only a separator: one table, the totals.
    QTest::newRow("separator-only")
        << QStringLiteral("P5")
        << QList<QStringList>{{QStringLiteral("Всего"), "6", "6", "29", "42", "12", "2"}}
        << QString();
    // The age group is no plain field, also when the details list it: no
    // unique count (0), never the count of the line above. Ages at the end
    // of 2012: c3 12 and c5 11 (no group), c2 22, c1 32 and c4 27, c6 42.
    QTest::newRow("age-group-in-both-lists")
        << QStringLiteral("P6")
        << QList<QStringList>{{QStringLiteral("Всего"), "0", "6", "29", "42", "12", "2"},
                              {QString(), "0", "2", "2", "1", "4", "0"},
                              {QStringLiteral("15-24"), "0", "1", "2", "3", "2", "0"},
                              {QStringLiteral("25-34"), "0", "2", "6", "19", "6", "2"},
                              {QStringLiteral("35 и старше"), "0", "1", "19", "19", "0", "0"}}
        << QStringLiteral("Расчет уникального количества клиентов невозможен из-за следующих "
                          "полей:Возрастная группа");
}

void TestVisitsReports::summaryGroups() {
    QFETCH(QString, preset);
    QFETCH(QList<QStringList>, lines);
    QFETCH(QString, footnote);
    CRepVisitsDoc doc;
    Prepare(doc, preset, QDate(2012, 1, 1), QDate(2012, 12, 31));
    const QString page = Build(doc);
    QCOMPARE(SummaryLines(page), lines);
    if (footnote.isEmpty())
        QVERIFY(!page.contains(QStringLiteral("невозможен")));
    else
        QVERIFY(page.contains(footnote));
}

void TestVisitsReports::figuresWithoutThePage_data() {
    QTest::addColumn<QString>("preset");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("table");
    QTest::addColumn<QList<long>>("line"); // group ids down to the line; none: the total
    // Unique, clients, visits, syringes (510), needles (520), consultations (580).
    QTest::addColumn<QList<double>>("figures");

    // The figures of the coverage page (see coverage()), read without it.
    QTest::newRow("total") << QStringLiteral("P1") << 2012 << 0 << QList<long>{}
                           << QList<double>{6, 6, 29, 42, 12, 2};
    QTest::newRow("sex-unknown") << QStringLiteral("P1") << 2012 << 0 << QList<long>{0}
                                 << QList<double>{1, 1, 2, 6, 0, 2};
    QTest::newRow("men") << QStringLiteral("P1") << 2012 << 0 << QList<long>{1}
                         << QList<double>{4, 4, 25, 33, 10, 0};
    QTest::newRow("group-at-period-end")
        << QStringLiteral("P1") << 2012 << 1 << QList<long>{1} << QList<double>{2, 2, 21, 22, 2, 0};
    QTest::newRow("no-group") << QStringLiteral("P1") << 2012 << 1 << QList<long>{0}
                              << QList<double>{3, 3, 4, 7, 4, 2};
    QTest::newRow("volunteers") << QStringLiteral("P1") << 2012 << 2 << QList<long>{1}
                                << QList<double>{1, 1, 4, 13, 6, 0};
    // Two records of one person (c1 of group 6, c7 of none) below one line:
    // the line's unique count is its own 1, not the sum of the lines below.
    QTest::newRow("one-person-two-lines")
        << QStringLiteral("P7") << 2014 << 0 << QList<long>{1} << QList<double>{1, 2, 2, 2, 0, 0};
    QTest::newRow("first-record") << QStringLiteral("P7") << 2014 << 0 << QList<long>{1, 6}
                                  << QList<double>{1, 1, 1, 1, 0, 0};
    QTest::newRow("second-record") << QStringLiteral("P7") << 2014 << 0 << QList<long>{1, 0}
                                   << QList<double>{1, 1, 1, 1, 0, 0};
    QTest::newRow("no-such-line") << QStringLiteral("P7") << 2014 << 0 << QList<long>{2, 1}
                                  << QList<double>{0, 0, 0, 0, 0, 0};
    // The age group is no plain field: no unique counts (c2, 22 at the end).
    QTest::newRow("no-unique-count")
        << QStringLiteral("P6") << 2012 << 0 << QList<long>{15} << QList<double>{0, 1, 2, 3, 2, 0};
}

void TestVisitsReports::figuresWithoutThePage() {
    QFETCH(QString, preset);
    QFETCH(int, year);
    QFETCH(int, table);
    QFETCH(QList<long>, line);
    QFETCH(QList<double>, figures);
    CRepVisitsDoc doc;
    Prepare(doc, preset, QDate(year, 1, 1), QDate(year, 12, 31));
    QVERIFY(!doc.Figures());
    QVERIFY(!Build(doc).isEmpty());
    const CVisitsFigures* f = doc.Figures();
    QVERIFY(f);
    QCOMPARE(f->valueTitles, (QStringList{"Уникальных клиентов", "Клиентов", "Визитов", "Шприцы",
                                          "Иглы", "Консультации"}));
    QCOMPARE(f->uniqueIndex, 0);
    QCOMPARE(f->unique, preset != QLatin1String("P6"));
    QCOMPARE(f->FindLine(table, line) != nullptr, figures != QList<double>(6, 0));
    QList<double> got;
    for (int column = 0; column < f->valueTitles.size(); ++column)
        got << f->Cell(table, line, column);
    QCOMPARE(got, figures);
    // The detail rows: one per client in code order, the code first; none
    // for a preset without details.
    const bool details = preset != QLatin1String("P7");
    QCOMPARE(f->detailList, details);
    QCOMPARE(f->detailRows.size(), details ? 6 : 0);
    if (details)
        QVERIFY(f->detailRows.first().first().contains(QStringLiteral(">AAA0180M<")));
}

// Every column a preset may name, in the detail list and as groupings: one
// valid query, a cell per column and client, the same totals in every table.
void TestVisitsReports::everyColumnInOnePreset() {
    CRepVisitsDoc doc;
    Prepare(doc, QStringLiteral("P8"), QDate(2012, 1, 1), QDate(2012, 12, 31));
    const QString page = Build(doc);
    QVERIFY2(!page.contains(QStringLiteral("Возникла ошибка")), qPrintable(page.left(3000)));
    // The client code, the 20 columns, the three material groups.
    const QList<QStringList> detail = DetailRows(page);
    QCOMPARE(detail.size(), 6);
    for (const QStringList& row : detail)
        QCOMPARE(row.size(), 24);
    const CVisitsFigures* f = doc.Figures();
    QVERIFY(f);
    QVERIFY(f->unique);
    QCOMPARE(int(f->tables.size()), 5);
    for (int table = 0; table < 5; ++table) {
        QList<double> total;
        for (int column = 0; column < f->valueTitles.size(); ++column)
            total << f->Cell(table, {}, column);
        QCOMPARE(total, (QList<double>{6, 6, 29, 42, 12, 2}));
    }
}

void TestVisitsReports::stateAtPeriodEnd_data() {
    QTest::addColumn<QDate>("end");
    QTest::addColumn<QStringList>("types"); // client:type, one per client

    // The latest record on or before the end; a client whose records all
    // come later has no row (never a state dated after the period).
    QTest::newRow("2012") << QDate(2012, 12, 31) << QStringList{"1:6", "2:1", "6:1"};
    QTest::newRow("before-most") << QDate(2011, 6, 30) << QStringList{"1:1"};
    QTest::newRow("after-all") << QDate(2013, 12, 31) << QStringList{"1:6", "2:4", "3:2", "6:1"};
}

void TestVisitsReports::stateAtPeriodEnd() {
    QFETCH(QDate, end);
    QFETCH(QStringList, types);
    CRepVisitsRunData run(m_db->Connection(), QDate(2000, 1, 1), end);
    const QString table = run.GetClientTypeStateTable();
    CxResult rows = m_db->Exec(QStringLiteral("SELECT nClientID,nClientType FROM ") + table +
                               QStringLiteral(" ORDER BY nClientID"));
    QVERIFY(rows.isValid());
    QStringList got;
    while (rows.FetchRow())
        got << rows.SFieldValue(0) + u':' + rows.SFieldValue(1);
    QCOMPARE(got, types);
}

// The first visit's point and the visit's point are two rows of one table:
// one preset may group by both.
void TestVisitsReports::joinsOfOneTableUnderTwoAliases() {
    CRepVisitsDoc doc;
    Prepare(doc, QStringLiteral("P3"), QDate(2012, 1, 1), QDate(2012, 12, 31));
    const QString page = Build(doc);
    // Rows are per client and visit point (c1 at both points). Towns and
    // regions are not plain fields: no unique count (0), a footnote says why.
    const QList<QStringList> expected = {
        {QStringLiteral("Всего"), "0", "7", "29", "42", "12", "2"},
        {QStringLiteral("Центр <b>"), "0", "4", "8", "22", "8", "2"},
        {QStringLiteral("Аптека"), "0", "2", "20", "19", "4", "0"},
        {QStringLiteral("Выезд"), "0", "1", "1", "1", "0", "0"},
        {QStringLiteral("Всего"), "0", "7", "29", "42", "12", "2"},
        {QStringLiteral("Ошибка"), "0", "3", "21", "21", "4", "0"},
        {QStringLiteral("Район Б"), "0", "4", "8", "21", "8", "2"},
        {QStringLiteral("Всего"), "0", "7", "29", "42", "12", "2"},
        {QStringLiteral("Город А"), "0", "7", "29", "42", "12", "2"},
    };
    QCOMPARE(SummaryLines(page), expected);
    QVERIFY(page.contains(
        QStringLiteral("Расчет уникального количества клиентов невозможен из-за следующих "
                       "полей:Город оказания услуг, Область оказания услуг")));

    // Towns renamed while the window stays open: the next build names them anew.
    m_db->Exec(QStringLiteral("UPDATE towns SET cShortName=CONCAT(cShortName,'+')"));
    const QList<QStringList> renamed = SummaryLines(Build(doc));
    m_db->Exec(QStringLiteral("UPDATE towns SET cShortName=TRIM(TRAILING '+' FROM cShortName)"));
    QCOMPARE(renamed.value(6).value(0), QStringLiteral("Район Б+"));
    QCOMPARE(renamed.value(8).value(0), QStringLiteral("Город А+"));
}

// Clients per sex and year, ordered; a second build is the same.
void TestVisitsReports::summaryByYears() {
    CRep_SvodnyiOtchetPoGodam doc;
    Prepare(doc, QStringLiteral("P2"), QDate(2011, 1, 1), QDate(2012, 12, 31));
    const QString page = Build(doc);
    QList<QStringList> rows;
    for (const QStringList& row : Rows(page))
        if (row.size() == 3)
            rows << row;
    const QList<QStringList> expected = {
        {QStringLiteral("Пол клиента"), QStringLiteral("Год"),
         QStringLiteral("Количество клиентов")},
        {QStringLiteral("Ошибка"), "2012", "1"},
        {Sex(1), "2012", "4"},
        {Sex(2), "2011", "1"},
        {Sex(2), "2012", "1"},
    };
    QCOMPARE(rows, expected);
    QCOMPARE(Build(doc), page);
    // Another period: the titles of the earlier build are gone.
    doc.Params().from = QDate(2011, 1, 1);
    doc.Params().to = QDate(2011, 12, 31);
    QList<QStringList> only2011;
    for (const QStringList& row : Rows(Build(doc)))
        if (row.size() == 3)
            only2011 << row;
    QCOMPARE(only2011.size(), 2);
    QCOMPARE(only2011.last(), (QStringList{Sex(2), "2011", "1"}));
}

void TestVisitsReports::checksAndFailures() {
    {
        CRepVisitsDoc doc;
        Prepare(doc, QString(), QDate(2012, 1, 1), QDate(2012, 12, 31));
        QVERIFY(Build(doc).isEmpty());
        QCOMPARE(doc.GetCheckTitle(), QStringLiteral("Не заданы настройки"));
    }
    {
        CRepVisitsDoc doc;
        Prepare(doc, QStringLiteral("P2"), QDate(2012, 1, 1), QDate(2012, 12, 31));
        CPoshSelection::Store({});
        QVERIFY(Build(doc).isEmpty());
        QCOMPARE(doc.GetCheckText(), QStringLiteral("Необходимо выбрать ПОУ"));
        CPoshSelection::Store({{1, QStringLiteral("Центр <b>")}});
    }
    {
        CRepVisitsDoc doc;
        Prepare(doc, QStringLiteral("P4"), QDate(2012, 1, 1), QDate(2012, 12, 31));
        QVERIFY(Build(doc).isEmpty());
        QCOMPARE(doc.GetCheckText(),
                 QStringLiteral("Отчет испорчен или некоторые поля были удалены из программы"));
        QVERIFY(!doc.Figures());
    }
    // A temporary table of someone else on the connection outlives builds.
    m_db->Exec(QStringLiteral("CREATE TEMPORARY TABLE someone_elses (n INT)"));
    {
        // The towns cannot be read: the error page, not lines titled
        // "Ошибка".
        m_db->Exec(QStringLiteral("RENAME TABLE towns TO towns_x"));
        CRepVisitsDoc doc;
        Prepare(doc, QStringLiteral("P3"), QDate(2012, 1, 1), QDate(2012, 12, 31));
        const QString page = Build(doc);
        m_db->Exec(QStringLiteral("RENAME TABLE towns_x TO towns"));
        QVERIFY2(page.contains(QStringLiteral("Возникла ошибка при формировании отчета")),
                 qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("towns")));
    }
    {
        // A work table that exists but is broken: the failing statement ends
        // on the error page.
        // (The build above made the work tables and their marker.)
        m_db->Exec(QStringLiteral("DROP TABLE _cache_fast,_cache_clients"));
        m_db->Exec(QStringLiteral("CREATE TABLE _cache_fast (x INT)"));
        CRepVisitsDoc doc;
        Prepare(doc, QStringLiteral("P2"), QDate(2012, 1, 1), QDate(2012, 12, 31));
        const QString page = Build(doc);
        QVERIFY2(page.contains(QStringLiteral("Возникла ошибка при формировании отчета")),
                 qPrintable(page));
        QVERIFY(page.contains(QStringLiteral("nClientID")));
        DropCacheTables(m_db->Connection());
    }
    {
        // A stopped distribution build leaves nothing that breaks the next.
        CRepRaspredDoc doc;
        doc.SetSQL(m_db->Connection());
        doc.Params().from = QDate(2012, 1, 1);
        StopNow stop;
        QVERIFY(doc.Build(&stop));
        QVERIFY(doc.GetHTML().contains(QStringLiteral("прервано")));
        QVERIFY(Build(doc).contains(QStringLiteral("Все пункты предоставления услуг")));
    }
    QVERIFY(m_db->Exec(QStringLiteral("SELECT * FROM someone_elses")).isValid());
    m_db->Exec(QStringLiteral("DROP TEMPORARY TABLE someone_elses"));
}

// January 2012 (the start date's month): per point, then all points, a
// chart per vulnerable group of the client's current record.
void TestVisitsReports::distribution() {
    CRepRaspredDoc doc;
    doc.SetSQL(m_db->Connection());
    doc.Params().from = QDate(2012, 1, 15);
    doc.Params().to = QDate(2012, 1, 16);
    const QString page = Build(doc);
    QCOMPARE(doc.Params().from, QDate(2012, 1, 1));
    QCOMPARE(doc.Params().to, QDate(2012, 1, 31));
    QVERIFY(!doc.GetViewSetup().worker && !doc.GetViewSetup().periodEnd);

    // point -> [chart title, the eight counts, the number of blue cells]
    QStringList sections = page.split(QStringLiteral("<h2"));
    sections.removeFirst();
    QStringList got;
    for (const QString& section : std::as_const(sections)) {
        got << Text(section.section(u'>', 1).section(QStringLiteral("</h2"), 0, 0));
        QStringList charts = section.split(QStringLiteral("<table class=\"chart\""));
        charts.removeFirst();
        for (const QString& chart : std::as_const(charts)) {
            const QList<QStringList> rows = Rows(chart);
            got << QStringLiteral("  ") + rows.first().join(u' ') + QStringLiteral(" | ") +
                       rows.at(26).join(u' ') + QStringLiteral(" | ") + rows.at(28).join(u' ') +
                       QStringLiteral(" | bars %1")
                           .arg(chart.count(QStringLiteral("<td class=\"bar\""))) +
                       QStringLiteral(" | ") + rows.at(29).join(u' ');
        }
    }
    const QString labels = QStringLiteral("<1 1 2 3 4 5 6 >=7");
    const QStringList expected = {
        QStringLiteral("Аптека"),
        QStringLiteral("  %1 | 0 0 0 0 0 0 0 1 | %2 | bars 25 | Итого:1").arg(Group(1), labels),
        QStringLiteral("  %1 | 0 2 0 0 0 0 0 0 | %2 | bars 25 | Итого:2").arg(Group(2), labels),
        QStringLiteral("  %1 | 0 1 0 0 0 0 0 0 | %2 | bars 25 | Итого:1").arg(Group(4), labels),
        QStringLiteral("Центр <b>"),
        QStringLiteral("  %1 | 0 0 1 0 0 0 0 0 | %2 | bars 25 | Итого:1").arg(Group(2), labels),
        QStringLiteral("  %1 | 0 1 1 0 0 0 0 0 | %2 | bars 50 | Итого:2").arg(Group(4), labels),
        QStringLiteral("Все пункты предоставления услуг"),
        QStringLiteral("  %1 | 0 0 0 0 0 0 0 1 | %2 | bars 25 | Итого:1").arg(Group(1), labels),
        QStringLiteral("  %1 | 0 1 0 1 0 0 0 0 | %2 | bars 50 | Итого:2").arg(Group(2), labels),
        QStringLiteral("  %1 | 0 1 0 1 0 0 0 0 | %2 | bars 50 | Итого:2").arg(Group(4), labels),
    };
    QCOMPARE(got, expected);
    QVERIFY(page.contains(QStringLiteral("50.00%")));
    // A chart whose largest bucket holds 3: a bucket of 1 has 9 blue rows.
    CRepRaspredDoc::Counts counts{0, 1, 0, 3, 0, 0, 0, 0};
    CHTMLTemplate tpl(kRaspredTemplateID);
    QCOMPARE(CRepRaspredDoc::ChartHTML(tpl, QStringLiteral("x"), counts)
                 .count(QStringLiteral("<td class=\"bar\"")),
             9 + 25);
    QCOMPARE(CRepRaspredDoc::Bucket(12, 1), 7);
    QCOMPARE(CRepRaspredDoc::Bucket(7, 1), 7);
    QCOMPARE(Build(doc), page);
}

namespace {
// The line of a side titled so, under a parent titled so (empty: at the top).
CxTabCalc::CLine* Line(CxTabCalc::CRoot* root, const QString& parent, const QString& title) {
    QList<CxTabCalc::CLine*> lines = root->Top();
    if (!parent.isEmpty()) {
        CxTabCalc::CLine* p = nullptr;
        for (CxTabCalc::CLine* line : std::as_const(lines))
            if (line->GetTitle() == parent)
                p = line;
        if (!p)
            return nullptr;
        lines = p->Children();
    }
    for (CxTabCalc::CLine* line : std::as_const(lines))
        if (line->GetTitle() == title)
            return line;
    return nullptr;
}

// Values of a row under the columns (parent, title) in order.
QList<double> Values(CxTabCalc& pivot, CxTabCalc::CLine* row,
                     const QList<QPair<QString, QString>>& columns) {
    QList<double> values;
    for (const auto& [parent, title] : columns) {
        CxTabCalc::CLine* col = Line(pivot.GetCols(), parent, title);
        values << (col ? pivot.GetValue(row->GetIndex(), col->GetIndex()) : -1);
    }
    return values;
}
} // namespace

void TestVisitsReports::materialsPivot() {
    CRepPeriodKeldaDoc doc;
    doc.SetSQL(m_db->Connection());
    doc.Params().from = QDate(2012, 1, 1);
    doc.Params().to = QDate(2012, 12, 31);
    const QString page = Build(doc);
    CxTabCalc& pivot = doc.GetPivot();
    CxTabCalc::CLine* total = Line(pivot.GetRows(), QString(), QStringLiteral("Всего"));
    QVERIFY(total);
    const QString sex = QStringLiteral("По полу");
    const QString age = QStringLiteral("По возрастной группе");
    const QString grp = QStringLiteral("По уязвимой группе");
    // Sex 0 and ages outside every group (12 and 11) go to "Другое", and
    // every grouping adds up to the same 54.
    const QList<QPair<QString, QString>> columns = {
        {QString(), sex},     {sex, Sex(1)},    {sex, Sex(2)},    {sex, Sex(3)},
        {sex, "Другое"},      {QString(), age}, {age, "15-24"},   {age, "25-34"},
        {age, "35 и старше"}, {age, "Другое"},  {QString(), grp}, {grp, QString()},
        {grp, Group(1)},      {grp, Group(2)},  {grp, Group(4)},  {grp, Group(6)}};
    QCOMPARE(Values(pivot, total, columns),
             (QList<double>{54, 43, 5, 0, 6, 54, 5, 25, 19, 5, 54, 7, 19, 4, 5, 19}));
    // The item row of the syringes, under its group and type rows.
    CxTabCalc::CLine* syringe = Line(pivot.GetRows(), QString(), QStringLiteral("Всего"));
    syringe = syringe->Children().value(0);
    QVERIFY(syringe);
    QCOMPARE(syringe->GetTitle(), QStringLiteral("Шприцы"));
    syringe = syringe->Children().value(0)->Children().value(0);
    QCOMPARE(syringe->GetTitle(), QStringLiteral("Шприц <2мл>"));
    QCOMPARE(Values(pivot, syringe, {{sex, Sex(1)}, {QString(), sex}}), (QList<double>{33, 42}));
    QVERIFY(page.contains(QStringLiteral("Шприцы")));
    QVERIFY(!page.contains(QStringLiteral("Консультация")));

    // A link opens the sex column and writes the page again; a second
    // click closes it; a new build keeps what the user opened.
    CxTabCalc::CLine* bySex = Line(pivot.GetCols(), QString(), sex);
    const QString link = QStringLiteral("tabcalc:col:%1").arg(bySex->GetIndex());
    QVERIFY(page.contains(link));
    QVERIFY(!page.contains(QStringLiteral(">") + Sex(2) + QStringLiteral("<")));
    QCOMPARE(doc.OnProcessURL(link), 1);
    const QString opened = doc.GetHTML();
    QVERIFY(opened.contains(QStringLiteral(">") + Sex(2) + QStringLiteral("<")));
    QVERIFY(Build(doc).contains(QStringLiteral(">") + Sex(2) + QStringLiteral("<")));
    QCOMPARE(doc.OnProcessURL(link), 1);
    QCOMPARE(doc.GetHTML(), page);
    QCOMPARE(doc.OnProcessURL(QStringLiteral("http://example.org/")), 0);
}

void TestVisitsReports::consultationsPivot() {
    CRepPeriodKeldaConsDoc doc;
    doc.SetSQL(m_db->Connection());
    doc.Params().from = QDate(2012, 1, 1);
    doc.Params().to = QDate(2012, 12, 31);
    const QString page = Build(doc);
    CxTabCalc& pivot = doc.GetPivot();
    CxTabCalc::CLine* total = Line(pivot.GetRows(), QString(), QStringLiteral("Всего"));
    QVERIFY(total);
    const QString sex = QStringLiteral("По полу");
    const QString age = QStringLiteral("По возрастной группе");
    const QString grp = QStringLiteral("По уязвимой группе");
    const QString none = QStringLiteral("Без кода");
    // The visit (kinds 2 and 32) counts once per kind; the redirection of
    // point 1 (kinds 4 and 8, 3 each) in the "Без кода" columns.
    QCOMPARE(Values(pivot, total,
                    {{QString(), sex},
                     {sex, "Другое"},
                     {sex, none},
                     {age, "25-34"},
                     {age, none},
                     {grp, QString()},
                     {grp, none}}),
             (QList<double>{8, 2, 6, 2, 6, 2, 6}));
    // Kind rows of the configured group 7 carry it for the banding.
    CxTabCalc::CLine* kind4 = total->Children().value(1);
    QVERIFY(kind4);
    QVERIFY(kind4->GetTitle().startsWith(QStringLiteral("Юрист, ")));
    QCOMPARE(kind4->GetData(), 7u);
    QCOMPARE(Values(pivot, kind4, {{QString(), sex}}), QList<double>{3});
    QVERIFY(page.contains(QStringLiteral("background-color:#d3d3d3")));
}

void TestVisitsReports::trainings() {
    CRepTrainingsDoc doc;
    doc.from = QDate(2012, 1, 1);
    doc.to = QDate(2012, 12, 31);
    const QString page = Build(doc);
    QString t1 = g_pTrainingFor->IDToString(1);
    QString t2 = g_pTrainingFor->IDToString(2);
    QList<QStringList> rows = Rows(page);
    rows.removeFirst(); // the headings
    const QList<QStringList> expected = {
        {"По теме, Всего", "3", "22", "3", "6"},
        {"Тема <A>", "2", "15", "3", "5"},
        {"Тема Б", "1", "7", "0", "1"},
        {"Целевая группа", "3", "22", "3", "6"},
        {t1, "2", "17", "2", "3"},
        {t2, "1", "5", "1", "3"},
    };
    QCOMPARE(rows, expected);
    QCOMPARE(Build(doc), page);
    // A period without trainings: the two total rows, all 0.
    doc.from = QDate(2000, 1, 1);
    doc.to = QDate(2000, 12, 31);
    rows = Rows(Build(doc));
    rows.removeFirst();
    QCOMPARE(rows, (QList<QStringList>{{"По теме, Всего", "0", "0", "0", "0"},
                                       {"Целевая группа", "0", "0", "0", "0"}}));
    // A failing statement ends on the error page.
    m_db->Exec(QStringLiteral("RENAME TABLE trainingssubdata TO trainingssubdata_x"));
    const QString failed = Build(doc);
    m_db->Exec(QStringLiteral("RENAME TABLE trainingssubdata_x TO trainingssubdata"));
    QVERIFY(failed.contains(QStringLiteral("Отчет не сформирован")));
    QVERIFY(!doc.GetError().isEmpty());

    CRepClientInfoDoc info;
    QVERIFY(Build(info).isEmpty());
}

// The region of a town walks its group chain; the repeat mark of the
// service-point column compares with the row before.
void TestVisitsReports::columnsReadValues() {
    QHash<long, long> parents{{1, 0}, {2, 1}, {3, 2}, {4, 99}};
    for (long t = 10; t <= 21; ++t)
        parents.insert(t, t == 10 ? 0 : t - 1); // 21 is 11 steps below 10
    const QHash<long, long> regions = CxrpOBL::RegionsOf(parents);
    QCOMPARE(regions.value(1), 1L);
    QCOMPARE(regions.value(3), 1L);
    QCOMPARE(regions.value(4), 0L);
    QCOMPARE(regions.value(20), 10L);
    QCOMPARE(regions.value(21), 0L);
    QCOMPARE(Cxrp::ClipAtBackQuote(QStringLiteral("ABC`17")), QStringLiteral("ABC"));
    QCOMPARE(Cxrp::ClipAtBackQuote(QStringLiteral("ABC")), QStringLiteral("ABC"));

    CxrpMat mat(QStringLiteral("m"), 65537);
    CxrpMonth month(QStringLiteral("3.2012"), QDate(2012, 3, 1));
    CSimpleSelect select;
    mat.AddToSelect(0, select, nullptr);
    month.AddToSelect(0, select, nullptr);
    QCOMPARE(mat.GetAlias(), QStringLiteral("SUM_m65537x"));
    QCOMPARE(month.GetAlias(), QStringLiteral("SUM_d3x_2012x"));

    m_db->Exec(QStringLiteral("CREATE TEMPORARY TABLE posh_rows (nClientID INT, nPoshID INT, "
                              "cPoshName VARCHAR(20))"));
    m_db->Exec(
        QStringLiteral("INSERT INTO posh_rows VALUES (1,2,'b'),(1,1,'a'),(2,1,'a'),(3,1,'a')"));
    CxrpPOSH posh;
    CSimpleSelect second;
    second.Select(QStringLiteral("*"));
    second.Order(QStringLiteral("nClientID"));
    posh.PreQuery(0, second, nullptr);
    CxResult rows = m_db->Connection()->Execute(second.Build(QStringLiteral("posh_rows")));
    posh.Bind(&rows);
    QList<int> marks;
    QStringList names;
    while (rows.FetchRow()) {
        marks << (posh.IsRepeatRow() ? 1 : 0);
        names << posh.GetSumTitle();
    }
    QCOMPARE(marks, (QList<int>{0, 1, 0, 0}));
    QCOMPARE(names, (QStringList{"a", "b", "a", "a"}));
    m_db->Exec(QStringLiteral("DROP TEMPORARY TABLE posh_rows"));
}

QTEST_GUILESS_MAIN(TestVisitsReports)
#include "test_visits_reports.moc"
