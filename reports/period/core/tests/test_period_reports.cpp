// The period reports built on the fixture of period_fixture.h: every figure
// of every page compared with the figure worked out by hand from the
// fixture's rows (see the comments there and at each case); each page built
// twice, the second time from the work tables the first left, must be the
// same page.
#include "db/schema/cache_tables.h"
#include "framework/core/tarvik_app.h"
#include "period_fixture.h"
#include "report_pages.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/tests/rep_test_support.h"
#include "reports/period/core/field_list.h"
#include "reports/period/core/ohvat_tables.h"
#include "reports/period/core/rep_ohvat.h"
#include "reports/period/core/rep_svod_kvart.h"
#include "reports/period/core/rep_trainings.h"
#include "reports/period/core/year_summaries.h"
#include "tests/support/schema_test_database.h"

#include <QLocale>
#include <QTest>
#include <algorithm>
#include <memory>

namespace {
QString Items(const QString& tag, const QString& ids) {
    QString xml = u'<' + tag + u'>';
    for (const QString& id : ids.split(u',', Qt::SkipEmptyParts))
        xml += QStringLiteral("<Item ID='") + id + QStringLiteral("'/>");
    return xml + QStringLiteral("</") + tag + u'>';
}

struct PresetSpec {
    QString rows;   // SUMROWS ids, "-1" between tables
    QString cols;   // SUMCOLS2 ids
    QString detail; // DETAILED ids
    QString group;  // SUMGROUP ids
    int pivot = 0;
    int period = 0;
};

QString PresetXML(const PresetSpec& p) {
    return QStringLiteral("<KDREPORTPRESETS2><KDREPPRESET2 Title='Тест' PivotMode='%1' "
                          "PeriodMode='%2'>")
               .arg(p.pivot)
               .arg(p.period) +
           Items(QStringLiteral("SUMROWS"), p.rows) + Items(QStringLiteral("SUMCOLS2"), p.cols) +
           Items(QStringLiteral("DETAILED"), p.detail) +
           Items(QStringLiteral("SUMGROUP"), p.group) +
           QStringLiteral("</KDREPPRESET2></KDREPORTPRESETS2>");
}

struct ViewChoice {
    int clientKind = 1;
    int newClientMode = 0;
    long worker = -1;
    QString workerText;
    long project = -1;
    bool exact = false;
};

// The groups and sexes of 2012 (see the fixture): one record per client.
const QStringList kGroupsAndSexes = {
    "Не заполнена|2", "Мужской|2", "ПИН|1",         "Мужской|1",  "РКС|2",     "Женский|2",
    "МСМ|2",          "Мужской|1", "Трансгендер|1", "РКС, МСМ|1", "Женский|1",
};
} // namespace

Q_DECLARE_METATYPE(PresetSpec)
Q_DECLARE_METATYPE(ViewChoice)

class TestPeriodReports : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void coverage_data();
    void coverage();
    void coverageDetail();
    void coverageSamePageWhateverThePaging();
    void coverageEmptyPeriod();
    void figuresWithoutThePage();
    void failingQueryShowsErrorPage();
    void quarterlySummary();
    void quarterlyMissingMaterialGroup();
    void quarterlyEmptyPeriod();
    void yearSummaries_data();
    void yearSummaries();
    void extendedConsultations();
    void trainings_data();
    void trainings();
    void reportsWithoutPresets();
    void viewSetUp();

private:
    // Builds the report over the period twice (the second time from the work
    // tables the first made) and answers the page; both must be the same.
    QString Build(CRepBase& doc, const QDate& from, const QDate& to);
    QString Coverage(const PresetSpec& preset, const QDate& from, const QDate& to,
                     const ViewChoice& view = {}, int pageRows = 0);

    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestPeriodReports::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("period"));
    LoadPeriodFixture(*m_db);
}

void TestPeriodReports::init() {
    InstallConfig(PeriodTestLists());
    CPoshSelection::Store(
        {{1, QStringLiteral("Центр")}, {2, QStringLiteral("Аптека")}, {3, QStringLiteral("Офис")}});
    DropCacheTables(m_db->Connection());
    CTarvikApp::ClearErrorMessages();
}

QString TestPeriodReports::Build(CRepBase& doc, const QDate& from, const QDate& to) {
    doc.SetSQL(m_db->Connection());
    doc.Params().from = from;
    doc.Params().to = to;
    DropCacheTables(m_db->Connection());
    if (!doc.Build(nullptr))
        qFatal("the build did not start");
    const QString first = doc.GetHTML();
    doc.Build(nullptr);
    const QString second = doc.GetHTML();
    if (first != second)
        qWarning("the second build differs:\n%s\n---\n%s", qPrintable(first), qPrintable(second));
    [&] { QCOMPARE(second, first); }();
    return first;
}

QString TestPeriodReports::Coverage(const PresetSpec& preset, const QDate& from, const QDate& to,
                                    const ViewChoice& view, int pageRows) {
    InstallConfig(PeriodTestLists() + PresetXML(preset));
    CRep_OhvatZaPeriod doc;
    if (pageRows)
        doc.SetPageRows(pageRows);
    doc.GetPresetList().Fill(-1);
    if (!doc.GetPresetList().SelectByName(QStringLiteral("Тест")))
        qFatal("the preset is not listed");
    doc.Params().clientKind = view.clientKind;
    doc.Params().newClientMode = view.newClientMode;
    doc.Params().workerId = view.worker;
    doc.Params().workerText = view.workerText;
    doc.Params().project = view.project;
    doc.Params().projectExact = view.exact;
    return Build(doc, from, to);
}

void TestPeriodReports::coverage_data() {
    QTest::addColumn<PresetSpec>("preset");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<ViewChoice>("view");
    QTest::addColumn<QStringList>("summary"); // the summary table's rows
    QTest::addColumn<QStringList>("texts");   // in the page as written

    const QDate jan(2012, 1, 1), dec(2012, 12, 31);
    // Per client in 2012 at the chosen points (clients 1 and 2 one person):
    // visits 3, 2, 3, 2, 5, 3, 1, 1 (clients 1-7, 9); syringes 11, 2, 0, 4,
    // 3, 0, 0, 2; community-centre services 1 (client 1) and 3 (client 6).
    QTest::newRow("groups and sexes")
        << PresetSpec{"20438,20439", "20441,20589,20568,20900,510,268435966,20603"} << jan << dec
        << ViewChoice{}
        << QStringList{"|Клиентов|Уникальных клиентов|Визитов|Визитов, %|Шприцы|Шприцы, "
                       "клиентов|Услуги комьюнити-центра",
                       "Всего|8|7|20|100|22|5|4",
                       "Не заполнена|2|2|3|15|2|1|",
                       "Мужской|2|2|3|15|2|1|",
                       "ПИН|1|1|3|15|11|1|1",
                       "Мужской|1|1|3|15|11|1|1",
                       "РКС|2|2|4|20|2|1|",
                       "Женский|2|2|4|20|2|1|",
                       "МСМ|2|2|7|35|7|2|",
                       "Мужской|1|1|2|10|4|1|",
                       "Трансгендер|1|1|5|25|3|1|",
                       "РКС, МСМ|1|1|3|15|||3",
                       "Женский|1|1|3|15|||3"}
        << QStringList{"Все клиенты за период"};
    // A client counted at every point he came to; a person once.
    QTest::newRow("service points")
        << PresetSpec{"20581", "20441,20589"} << jan << dec << ViewChoice{}
        << QStringList{"|Клиентов|Уникальных клиентов", "Всего|15|7", "Центр|8|7", "Аптека|4|4",
                       "Офис|3|3"}
        << QStringList{"Некоторые поля могут привести к дублированию количества клиентов"};
    // October: clients 4, 5, 6, 9; November: 3, 5, 6; December: 1, 2, 5, 7
    // (1 and 2 one person). Client 5 counts once in each month.
    QTest::newRow("months")
        << PresetSpec{"20439", "20441,20589,20902", "", "", 0, 1} << QDate(2012, 10, 15)
        << QDate(2012, 12, 10) << ViewChoice{}
        << QStringList{"|01.10.2012-31.10.2012|01.11.2012-30.11.2012|01.12.2012-31.12.2012",
                       "|Клиентов|Уникальных клиентов|Уникальных клиентов, %|Клиентов|Уникальных "
                       "клиентов|Уникальных клиентов, %|Клиентов|Уникальных клиентов|Уникальных "
                       "клиентов, %",
                       "Всего|4|4|100|3|3|100|4|3|100",
                       "Мужской|1|1|25||||3|2|66.67",
                       "Женский|2|2|50|2|2|66.67|||",
                       "Трансгендер|1|1|25|1|1|33.33|1|1|33.33"}
        << QStringList{"Дата начала периода принята 01.10.2012",
                       "Дата конца периода принята 31.12.2012", "по <b>31.12.2012</b>"};
    // Visits per month (4, 4 and 4) and each sex's share of its month.
    QTest::newRow("months, shares")
        << PresetSpec{"20439", "20568,20900", "", "", 0, 1} << QDate(2012, 10, 15)
        << QDate(2012, 12, 10) << ViewChoice{}
        << QStringList{"|01.10.2012-31.10.2012|01.11.2012-30.11.2012|01.12.2012-31.12.2012",
                       "|Визитов|Визитов, %|Визитов|Визитов, %|Визитов|Визитов, %",
                       "Всего|4|100|4|100|4|100",
                       "Мужской|1|25|||3|75",
                       "Женский|2|50|2|50||",
                       "Трансгендер|1|25|2|50|1|25"}
        << QStringList{};
    // One year from 2012-03-01 ends with the period, not in 2013 (whose
    // report 9 would add a visit of client 1).
    QTest::newRow("years") << PresetSpec{"", "20568", "", "", 0, 2} << QDate(2012, 3, 10) << dec
                           << ViewChoice{} << QStringList{"|Визитов", "Всего|12"}
                           << QStringList{"Дата начала периода принята 01.03.2012",
                                          "по <b>31.12.2012</b>"};
    // One record per person: clients 1 and 2 in one.
    QTest::newRow("records by client code")
        << PresetSpec{"20439", "20441,20568", "", "20437"} << jan << dec << ViewChoice{}
        << QStringList{"|Клиентов|Визитов", "Всего|8|20", "Мужской|4|8", "Женский|3|7",
                       "Трансгендер|1|5"}
        << QStringList{"Включена альтернативная группировка записей"};
    // A grouping field that adds no grouping term leaves one record per client.
    QTest::newRow("records by a field that does not group")
        << PresetSpec{"20439", "20441,20568", "", "20439"} << jan << dec << ViewChoice{}
        << QStringList{"|Клиентов|Визитов", "Всего|8|20", "Мужской|4|8", "Женский|3|7",
                       "Трансгендер|1|5"}
        << QStringList{"Включена альтернативная группировка записей"};
    QTest::newRow("pivot") << PresetSpec{"20438,20439", "20441", "", "", 1} << jan << dec
                           << ViewChoice{}
                           << QStringList{"|Пол|Клиентов",          "Всего||8",
                                          "Не заполнена|Мужской|2", "ПИН|Мужской|1",
                                          "РКС|Женский|2",          "МСМ|Мужской|1",
                                          "МСМ|Трансгендер|1",      "РКС, МСМ|Женский|1"}
                           << QStringList{};
    QTest::newRow("new clients") << PresetSpec{"", "20441"} << jan << dec << ViewChoice{2}
                                 << QStringList{"|Клиентов", "Всего|7"}
                                 << QStringList{"Только новые клиенты"};
    // Client 2's person came first in 2011 as client 1.
    QTest::newRow("new clients country-wide")
        << PresetSpec{"", "20441"} << jan << dec << ViewChoice{2, 2}
        << QStringList{"|Клиентов", "Всего|6"} << QStringList{"Новые клиенты в рамках страны"};
    QTest::newRow("regular clients")
        << PresetSpec{"", "20441"} << jan << dec << ViewChoice{3}
        << QStringList{"|Клиентов", "Всего|1"} << QStringList{"Только регулярные клиенты"};
    QTest::newRow("regular clients of a half-year")
        << PresetSpec{"", "20441"} << QDate(2012, 7, 1) << dec << ViewChoice{3}
        << QStringList{"|Клиентов", "Всего|1"}
        << QStringList{"Регулярные клиенты расчитаны для периода с 01.01.2012 по 31.12.2012"};
    QTest::newRow("one main worker")
        << PresetSpec{"", "20441"} << jan << dec << ViewChoice{1, 0, 51, "Петров"}
        << QStringList{"|Клиентов", "Всего|4"}
        << QStringList{"Показаны только визиты к социальному работнику <b>Петров</b>"};
    QTest::newRow("project, exact")
        << PresetSpec{"", "20441"} << jan << dec << ViewChoice{1, 0, -1, QString(), 2, true}
        << QStringList{"|Клиентов", "Всего|3"}
        << QStringList{"Обработаны только ведомости по проекту <b>РКС</b>. Точное соответствие"};
    QTest::newRow("project, partial")
        << PresetSpec{"", "20441"} << jan << dec << ViewChoice{1, 0, -1, QString(), 2, false}
        << QStringList{"|Клиентов", "Всего|4"}
        << QStringList{"Обработаны только ведомости по проекту <b>РКС</b>. Частичное "
                       "соответствие"};
}

void TestPeriodReports::coverage() {
    QFETCH(PresetSpec, preset);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(ViewChoice, view);
    QFETCH(QStringList, summary);
    QFETCH(QStringList, texts);
    const QString page = Coverage(preset, from, to, view);
    const QList<QStringList> tables = PageTables(page, QStringLiteral("class=\"rep\""));
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables.first(), summary);
    for (const QString& text : texts)
        QVERIFY2(page.contains(text), qPrintable(text));
    // A browser tab shows the report's plain name; the client kind and its
    // footnote mark stay in the heading below it.
    const qsizetype open = page.indexOf(QLatin1String("<title>")) + 7;
    QCOMPARE(page.mid(open, page.indexOf(QLatin1String("</title>")) - open),
             QStringLiteral("Охват за период"));
    QCOMPARE(CTarvikApp::GetErrorMessages(), QStringList());
}

void TestPeriodReports::coverageDetail() {
    // Ages at the end of 2012; client 7's group is recorded only in 2013,
    // client 2 has none; client 1 came first in 2011; client 5 is regular.
    const QString page = Coverage(PresetSpec{"", "20441", "20437,20439,20573,20438,20444,20560"},
                                  QDate(2012, 1, 1), QDate(2012, 12, 31));
    const QList<QStringList> tables = PageTables(page, QStringLiteral("class=\"rep\""));
    QCOMPARE(tables.size(), 2);
    QCOMPARE(tables.first(),
             (QStringList{"Код клиента|Пол|Возрастная группа|Основная уязвимая группа на конец "
                          "периода|Новый клиент|Регулярный клиент",
                          "AAA0180M|Мужской|30 и старше|ПИН|Старый клиент|Нет",
                          "AAA0180M|Мужской|30 и старше|Не заполнена|Новый клиент|Нет",
                          "BBB0290F|Женский|18-29|РКС|Новый клиент|Нет",
                          "CCC0395M|Мужской|0-17|МСМ|Новый клиент|Нет",
                          "DDD0485T|Трансгендер|18-29|МСМ|Новый клиент|Да",
                          "EEE0500F|Женский|0-17|РКС, МСМ|Новый клиент|Нет",
                          "FFF0170M|Мужской|30 и старше|Не заполнена|Новый клиент|Нет",
                          "GGG0388F|Женский|18-29|РКС|Новый клиент|Нет"}));
    QCOMPARE(tables.last(), (QStringList{"|Клиентов", "Всего|8"}));

    // A split period has no detail table, and says so.
    CTarvikApp::ClearErrorMessages();
    const QString split = Coverage(PresetSpec{"", "20441", "20437", "", 0, 1}, QDate(2012, 1, 1),
                                   QDate(2012, 12, 31));
    QCOMPARE(PageTables(split, QStringLiteral("class=\"rep\"")).size(), 1);
    QVERIFY(CTarvikApp::GetErrorMessages().contains(
        QStringLiteral("Детальный отчет недоступен при опции - разбивать на периоды")));
}

void TestPeriodReports::coverageSamePageWhateverThePaging() {
    const QDate jan(2012, 1, 1), dec(2012, 12, 31);
    const PresetSpec presets[] = {
        {"20438,20439", "20441,20589,20568,20900"},
        {"20581,-1,20579,20580", "20441,20589"},
        {"20439", "20441,20589,20902", "", "", 0, 1},
        {"20439", "20441", "20437,20439"},
    };
    for (const PresetSpec& preset : presets) {
        const QString whole = Coverage(preset, jan, dec);
        for (int rows : {1, 2, 3, 5})
            QCOMPARE(Coverage(preset, jan, dec, ViewChoice{}, rows), whole);
    }
}

void TestPeriodReports::coverageEmptyPeriod() {
    const QString page = Coverage(PresetSpec{"20438,20439", "20441,20589,20900"}, QDate(2014, 1, 1),
                                  QDate(2014, 12, 31));
    QVERIFY(!page.contains(QStringLiteral("Возникла ошибка")));
    QCOMPARE(PageTables(page, QStringLiteral("class=\"rep\"")),
             (QList<QStringList>{{"|Клиентов|Уникальных клиентов|Визитов, %", "Всего|||"}}));
}

void TestPeriodReports::figuresWithoutThePage() {
    // The figures the pages are written from, read without the pages.
    InstallConfig(PeriodTestLists() + PresetXML(PresetSpec{"20438,20439", "20441,20589,20568"}));
    CRep_OhvatZaPeriod coverage;
    coverage.GetPresetList().Fill(-1);
    QVERIFY(coverage.GetPresetList().SelectByName(QStringLiteral("Тест")));
    Build(coverage, QDate(2012, 1, 1), QDate(2012, 12, 31));
    COhvatFigures* f = coverage.Figures();
    QVERIFY(f);
    QCOMPARE(f->heading, QStringLiteral("Все клиенты за период"));
    QCOMPARE(f->periods.size(), 1);
    struct Line {
        QList<long> groupAndSex; // none: the total
        double clients, persons, visits;
    };
    // Clients 1 and 2 are one person; ПИН men, trans МСМ, women of РКС+МСМ.
    for (const Line& expected : {Line{{}, 8, 7, 20}, Line{{1, 1}, 1, 1, 3}, Line{{4, 3}, 1, 1, 5},
                                 Line{{6, 2}, 1, 1, 3}}) {
        const long line =
            expected.groupAndSex.isEmpty() ? 0 : f->tables->FindLine(0, expected.groupAndSex);
        QVERIFY(line >= 0);
        QCOMPARE(f->tables->CellValue(0, line, 0), expected.clients);
        QCOMPARE(f->tables->CellValue(0, line, 1), expected.persons);
        QCOMPARE(f->tables->CellValue(0, line, 2), expected.visits);
    }

    CRep_SvodnyeDannyDlyaKvart quarterly;
    Build(quarterly, QDate(2012, 12, 1), QDate(2012, 12, 15));
    const CSvodKvartFigures* q = quarterly.Figures();
    QVERIFY(q);
    QCOMPARE(q->end, QDate(2012, 12, 31));
    QCOMPARE(q->Cell(QStringLiteral("msgSumTot3"), {2}), 2L);
    QCOMPARE(q->Cell(QStringLiteral("msgSumTot12"), {4, 1}), 1L);
    QCOMPARE(q->Cell(QStringLiteral("msgSumReg12"), {4, 3}), 1L);
    QCOMPARE(q->Cell(QStringLiteral("msgSumReg12"), {1}), 0L);
    // MSM of the quarter: clients 4 and 5, of whom 5 (trans) is regular.
    const CSvodKvartFigures::Indicator* regular = q->Find(QStringLiteral("msgSumReg12"));
    QVERIFY(regular);
    QCOMPARE(regular->shares.size(), 8);
    QCOMPARE(regular->shares.at(6),
             (QPair<QString, double>(QStringLiteral("Регулярных клиентов МСМ (3 мес), %"), 50)));
    QCOMPARE(regular->shares.at(7),
             (QPair<QString, double>(QStringLiteral("трансгендеров (3 мес), %"), 100)));
}

void TestPeriodReports::failingQueryShowsErrorPage() {
    m_db->Exec(QStringLiteral("RENAME TABLE orginf TO orginf_away, towns TO towns_away"));
    const QString coverage =
        Coverage(PresetSpec{"20585", "20441"}, QDate(2012, 1, 1), QDate(2012, 12, 31));
    const QString byTown =
        Coverage(PresetSpec{"20579", "20441"}, QDate(2012, 1, 1), QDate(2012, 12, 31));
    CRep_SvodnyiPoGodam years;
    const QString yearPage = Build(years, QDate(2012, 1, 1), QDate(2012, 12, 31));
    CRepNewConsult consultations;
    const QString consultPage = Build(consultations, QDate(2012, 1, 1), QDate(2012, 12, 31));
    m_db->Exec(QStringLiteral("RENAME TABLE orginf_away TO orginf, towns_away TO towns"));
    m_db->Exec(QStringLiteral("RENAME TABLE dailyvisits TO dailyvisits_away"));
    CRep_SvodnyeDannyDlyaKvart quarterly;
    const QString quarterPage = Build(quarterly, QDate(2012, 12, 1), QDate(2012, 12, 31));
    m_db->Exec(QStringLiteral("RENAME TABLE dailyvisits_away TO dailyvisits"));
    m_db->Exec(QStringLiteral("RENAME TABLE trainingssubdata TO trainingssubdata_away"));
    // Built once: the statement on its error page names a temporary table
    // of its own build.
    CRep_Trainings trainings;
    trainings.SetSQL(m_db->Connection());
    trainings.Params().from = QDate(2012, 1, 1);
    trainings.Params().to = QDate(2012, 12, 31);
    QVERIFY(trainings.Build(nullptr));
    const QString trainingsPage = trainings.GetHTML();
    m_db->Exec(QStringLiteral("RENAME TABLE trainingssubdata_away TO trainingssubdata"));
    QVERIFY(trainingsPage.contains(QStringLiteral("trainingssubdata")));
    for (const QString& page :
         {coverage, byTown, yearPage, consultPage, quarterPage, trainingsPage}) {
        QVERIFY(page.contains(QStringLiteral("Возникла ошибка при формировании отчета")));
        QVERIFY(!page.contains(QStringLiteral("Всего")));
    }
    QVERIFY(coverage.contains(QStringLiteral("orginf")));
    QVERIFY(yearPage.contains(QStringLiteral("towns")));
    QVERIFY(consultPage.contains(QStringLiteral("towns")));
    QVERIFY(quarterPage.contains(QStringLiteral("dailyvisits")));
    QVERIFY(byTown.contains(QStringLiteral("towns")));
}

void TestPeriodReports::quarterlySummary() {
    CRep_SvodnyeDannyDlyaKvart doc;
    // The quarter of 2012-12-15 is October to December; the twelve months
    // are 2012.
    const QString page = Build(doc, QDate(2012, 12, 1), QDate(2012, 12, 15));
    const QString q = QStringLiteral(" (01.10.2012-31.12.2012)");
    const QString y = QStringLiteral(" (01.01.2012-31.12.2012)");
    QStringList expected;
    // In the quarter: clients 1, 2, 7 (reports 5, 7), 3, 5, 6 (report 6 at
    // the pharmacy), 4, 9 (report 5), 5 (reports 10, 11); groups at the end.
    expected << "|Клиентов"
             << "Общее количество людей, получивших услуги по профилактике ВИЧ за отчётный "
                "период" +
                    q + "|8"
             << kGroupsAndSexes;
    // New in the quarter: 7 (no group before 2013), 9.
    expected << "|Новый клиент"
             << "Из них - количество  новых людей, получивших услуги по профилактике ВИЧ за "
                "отчетный квартал" +
                    q + "|2"
             << "Не заполнена|1"
             << "Мужской|1"
             << "РКС|1"
             << "Женский|1";
    expected << "|Клиент был охвачен аптекой"
             << "Количество людей, получивших услуги по профилактике ВИЧ в АПТЕКАХ за отчётный "
                "период" +
                    q + "|3"
             << "РКС|1"
             << "Женский|1"
             << "МСМ|1"
             << "Трансгендер|1"
             << "РКС, МСМ|1"
             << "Женский|1";
    // Nobody new came first to a pharmacy: an all-zero table writes no line,
    // not even its title.
    expected << "|Клиент впервые пришел из аптеки";
    // One person (client 6) got three services of the community centre.
    expected << "|Клиентов"
             << "Количество людей, воспользовавшихся услугами комьюнити центра в течение "
                "отчётного квартала" +
                    q + "|1"
             << "Женский|1";
    expected << "|Новый клиент проекта PDI (IDU)";
    // Client 9: PDI, group 2, new in the quarter.
    expected << "|Новый клиент проекта PDI (WCS)"
             << "Количество РКС, привлеченных в рамках модели \"Внедрение силами равных\", за "
                "квартал" +
                    q + "|1"
             << "Женский|1";
    // Syringes 3 + 2 (report 5), 2 (6), 1 + 1 (7); needles 6 (7), 1 + 1 (10,
    // 11); booklets 2; nothing collected.
    expected << "|Количество"
             << "Количество распространённых шприцев за период" + q + "|17"
             << "Шприцы|9"
             << "Иглы|8";
    expected << "|Количество"; // nothing collected
    expected << "|Количество"
             << "Общее количество распространенных ИОМ" + q + "|2";
    expected << "|Количество"
             << "Количество распространенных мужских презервативов за период" + q + "|4"
             << "Основные группы риска|4";
    expected << "|Количество"; // no female condoms
    expected << "|Количество"
             << "Количество действующих пунктов предоставления услуг" + q + "|3"
             << "Мобильный|1"
             << "Офис|1"
             << "Аптека|1";
    // The twelve months of 2012.
    expected << "|Клиентов"
             << "Общее количество людей, охваченных профилактическими услугами за последние 12 "
                "месяцев" +
                    y + "|8"
             << kGroupsAndSexes;
    expected << "|Клиент был охвачен аптекой"
             << "Общее количество людей, охваченных профилактическими услугами в Аптеках за "
                "последние 12 месяцев" +
                    y + "|4"
             << "РКС|1"
             << "Женский|1"
             << "МСМ|2"
             << "Мужской|1"
             << "Трансгендер|1"
             << "РКС, МСМ|1"
             << "Женский|1";
    // Client 5 is regular; MSM of the quarter 2 (clients 4, 5), trans 1.
    expected << "|Регулярный клиент"
             << "Количество регулярных клиентов проекта|1"
             << "МСМ (01.10.2012-31.12.2012)|1"
             << "Трансгендер|1"
             << "Регулярных клиентов ПИН (12 мес), %|"
             << "мужчин (12 мес), %|"
             << "женщин (12 мес), %|"
             << "Регулярных клиентов РКС (3 мес), %|"
             << "мужчин (3 мес), %|"
             << "женщин (3 мес), %|"
             << "Регулярных клиентов МСМ (3 мес), %|50"
             << "трансгендеров (3 мес), %|100";
    const QList<QStringList> tables = PageTables(page, QStringLiteral("class=\"rep\""));
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables.first(), expected);
    QVERIFY(page.contains(QStringLiteral("На дату 31.12.2012")));
    QVERIFY(page.contains(QStringLiteral("Велмар<sup>1</sup></h2>")));
    QVERIFY(page.contains(
        QStringLiteral("<title>Сводные данные для квартального отчета в Велмар</title>")));
}

void TestPeriodReports::quarterlyMissingMaterialGroup() {
    // A configuration without the collected syringes (400): the reader is told,
    // and the indicator is not made of nothing.
    InstallConfig(
        QString(PeriodTestLists())
            .replace(QStringLiteral("<Item ID='400' Title='Собрано шприцев'/>"), QString())
            .replace(QStringLiteral("<Item ID='393217' Title='Собранный шприц' "
                                    "Group='400'/>"),
                     QString()));
    CRep_SvodnyeDannyDlyaKvart doc;
    const QString page = Build(doc, QDate(2012, 12, 1), QDate(2012, 12, 15));
    QVERIFY(page.contains(
        QStringLiteral("В конфигурации нет группы материалов 400 «Собрано шприцев»: в показателе "
                       "«Количество собранных шприцев за период (01.10.2012-31.12.2012)» она не "
                       "учтена")));
    QVERIFY(!PageTables(page, QStringLiteral("class=\"rep\""))
                 .first()
                 .contains(QStringLiteral("Количество собранных шприцев за период "
                                          "(01.10.2012-31.12.2012)|")));
    QVERIFY(PageTables(page, QStringLiteral("class=\"rep\""))
                .first()
                .contains(QStringLiteral("Шприцы|9")));
}

void TestPeriodReports::quarterlyEmptyPeriod() {
    CRep_SvodnyeDannyDlyaKvart doc;
    const QString page = Build(doc, QDate(2014, 6, 1), QDate(2014, 6, 30));
    QVERIFY(!page.contains(QStringLiteral("Возникла ошибка")));
    const QStringList rows = PageTables(page, QStringLiteral("class=\"rep\"")).first();
    // No indicator has a figure, so none writes a line (its column heading
    // stays); the shares are 0.
    QCOMPARE(rows.filter(QStringLiteral("(01.04.2014-30.06.2014)|")), QStringList());
    QCOMPARE(rows.filter(QStringLiteral("(01.07.2013-30.06.2014)|")), QStringList());
    QVERIFY(!rows.contains(QStringLiteral("Количество регулярных клиентов проекта|")));
    QVERIFY(rows.contains(QStringLiteral("|Клиентов")));
    // The shares of sex workers (three) and of MSM; no MSM row of a sex
    // without regular clients.
    QCOMPARE(rows.filter(QStringLiteral("(3 мес), %|")).size(), 4);
    QVERIFY(rows.contains(QStringLiteral("Регулярных клиентов МСМ (3 мес), %|")));
}

void TestPeriodReports::yearSummaries_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");
    // Clients per year, region, town of the point, group at the year's end and
    // sex. Clients 2 and 7 have no group at the end of 2012 (7 gets one in
    // 2013): they count as not filled; report 8 at the point not chosen adds
    // nothing.
    QTest::newRow("three years") << QDate(2011, 1, 1) << QDate(2013, 12, 31)
                                 << QStringList{"2011|Область А|Город Б|ПИН|Мужской|1",
                                                "2012|Область А|Город Б|Не заполнена|Мужской|2",
                                                "2012|Область А|Город Б|ПИН|Мужской|1",
                                                "2012|Область А|Город Б|РКС|Женский|2",
                                                "2012|Область А|Город Б|МСМ|Мужской|1",
                                                "2012|Область А|Город Б|МСМ|Трансгендер|1",
                                                "2012|Область А|Город Б|РКС, МСМ|Женский|1",
                                                "2012|Область А|Город В|ПИН|Мужской|1",
                                                "2012|Область А|Город В|МСМ|Трансгендер|1",
                                                "2012|Область А|Город В|РКС, МСМ|Женский|1",
                                                "2013|Область А|Город Б|ПИН|Мужской|1"};
    // The period ends before client 6 got a group (2012-03-01): the groups
    // are those of the period's end, client 6 has none yet.
    QTest::newRow("two months") << QDate(2012, 1, 1) << QDate(2012, 2, 29)
                                << QStringList{"2012|Область А|Город Б|Не заполнена|Мужской|1",
                                               "2012|Область А|Город Б|ПИН|Мужской|1",
                                               "2012|Область А|Город Б|РКС|Женский|1",
                                               "2012|Область А|Город Б|МСМ|Мужской|1",
                                               "2012|Область А|Город В|Не заполнена|Женский|1",
                                               "2012|Область А|Город В|ПИН|Мужской|1",
                                               "2012|Область А|Город В|МСМ|Трансгендер|1"};
    QTest::newRow("no visits") << QDate(2014, 1, 1) << QDate(2014, 12, 31) << QStringList{};
}

void TestPeriodReports::yearSummaries() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    CRep_SvodnyiPoGodam doc;
    const QString page = Build(doc, from, to);
    QVERIFY(page.contains(QStringLiteral("<table border=1>")));
    const QList<QStringList> tables = PageTables(page, QStringLiteral(" border=1"));
    QCOMPARE(tables.size(), 1);
    QCOMPARE(tables.first(), rows);
}

void TestPeriodReports::extendedConsultations() {
    // Client 4 (group 4, male): kinds 32+2; client 3 (group 2, female): 1+2.
    CRepNewConsult doc;
    QCOMPARE(
        PageTables(Build(doc, QDate(2012, 1, 1), QDate(2012, 12, 31)), QStringLiteral(" border=1"))
            .first(),
        (QStringList{"2012|Консультация|Область А|Город Б|РКС|Женский|1|1|0|0|0|0",
                     "2012|Консультация|Область А|Город Б|МСМ|Мужской|0|1|0|0|0|1"}));
    QVERIFY(Build(doc, QDate(2014, 1, 1), QDate(2014, 12, 31))
                .contains(QStringLiteral("<table border=1></table>")));
    // Only the chosen points: at the pharmacy alone, client 3's consultation.
    CPoshSelection::Store({{2, QStringLiteral("Аптека")}});
    QCOMPARE(
        PageTables(Build(doc, QDate(2012, 1, 1), QDate(2012, 12, 31)), QStringLiteral(" border=1"))
            .first(),
        (QStringList{"2012|Консультация|Область А|Город Б|РКС|Женский|1|1|0|0|0|0"}));
    CPoshSelection::Store(
        {{1, QStringLiteral("Центр")}, {2, QStringLiteral("Аптека")}, {3, QStringLiteral("Офис")}});
    // Client 3's group recorded only after the year: the consultation still
    // counts, under "Не заполнена".
    m_db->Exec(QStringLiteral("UPDATE clientdatachanges SET dDate='2013-06-01' WHERE nClientID=3"));
    const QString unfilled = Build(doc, QDate(2012, 1, 1), QDate(2012, 12, 31));
    m_db->Exec(QStringLiteral("UPDATE clientdatachanges SET dDate='2011-05-01' WHERE nClientID=3"));
    QCOMPARE(PageTables(unfilled, QStringLiteral(" border=1")).first(),
             (QStringList{"2012|Консультация|Область А|Город Б|Не заполнена|Женский|1|1|0|0|0|0",
                          "2012|Консультация|Область А|Город Б|МСМ|Мужской|0|1|0|0|0|1"}));
    // Without a configured consultation group the work tables still build.
    InstallConfig(QString(PeriodTestLists())
                      .replace(QStringLiteral("<Item ID='462847' Title='Консультация' "
                                              "Group='580'/>"),
                               QString()));
    QCOMPARE(
        PageTables(Build(doc, QDate(2012, 1, 1), QDate(2012, 12, 31)), QStringLiteral(" border=1"))
            .first()
            .size(),
        2);
}

void TestPeriodReports::trainings_data() {
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");
    const QString head = QStringLiteral("|Количество тренингов|Количество протренированных "
                                        "людей|Уникальное количество протренированных людей|"
                                        "Время в часах");
    // Trainings 1-4 and 8 (5 is of another organisation, 6 of 2013, 7 a
    // folder). People: (group 1: clients 1, 3, 4, 9), (group 2: 50, 1).
    QTest::newRow("2012") << QDate(2012, 1, 1) << QDate(2012, 12, 31)
                          << QStringList{head,
                                         "По теме, Всего|5|28|6|9",
                                         "Профилактика ВИЧ|2|15|3|5",
                                         "Снижение вреда|2|10|2|3",
                                         "|1|3|1|1",
                                         "Целевая группа|5|28|6|9",
                                         "для клиентов проекта|3|18|4|6",
                                         "для работников|2|10|2|3"};
    QTest::newRow("no trainings") << QDate(2014, 1, 1) << QDate(2014, 12, 31)
                                  << QStringList{head, "По теме, Всего|0|0|0|0",
                                                 "Целевая группа|0|0|0|0"};
}

void TestPeriodReports::trainings() {
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    CRep_Trainings doc;
    const QString page = Build(doc, from, to);
    QCOMPARE(PageTables(page, QStringLiteral("class=\"tr\"")), QList<QStringList>{rows});
    QVERIFY(page.contains(QStringLiteral("Отчет по тренингам в период с ") +
                          from.toString(QStringLiteral("dd.MM.yyyy"))));
}

void TestPeriodReports::reportsWithoutPresets() {
    // Nothing chosen in any preset list: the reports without presets build.
    CRep_Trainings trainings;
    CRep_SvodnyiPoGodam years;
    CRepNewConsult consultations;
    CRep_SvodnyeDannyDlyaKvart quarterly;
    for (CRepBase* doc :
         std::initializer_list<CRepBase*>{&trainings, &years, &consultations, &quarterly}) {
        QCOMPARE(doc->GetPresetList().GetChecked(), -1);
        const QString page = Build(*doc, QDate(2012, 1, 1), QDate(2012, 12, 31));
        QVERIFY2(!page.contains(QStringLiteral("Ошибка</td>")), qPrintable(page.left(300)));
        QVERIFY(!page.contains(QStringLiteral("Необходимо выбрать")));
        // Their windows keep the preset list off.
        QVERIFY(doc->GetPresetChoices().isEmpty());
    }
    // The coverage report runs on a preset: its editor offers the field
    // catalogue, with fields for every page.
    CRep_OhvatZaPeriod coverage;
    const QList<CRepPresetChoice> choices = coverage.GetPresetChoices();
    QCOMPARE(choices.size(), CRFList().GetSize());
    for (const unsigned page : {CRepField::kFlagSumRow, CRepField::kFlagDetail,
                                CRepField::kFlagSumColumn, CRepField::kFlagGrouping})
        QVERIFY(std::any_of(choices.begin(), choices.end(),
                            [page](const CRepPresetChoice& c) { return c.flags & page; }));
}

void TestPeriodReports::viewSetUp() {
    // The controls each report's view must not offer: the quarterly summary
    // takes its start from the end date and has no worker filter; trainings
    // have no worker; the coverage report and the yearly tables use them all.
    struct View : CRepViewLink {
        QList<int> disabled;
        bool EnableControl(int id, bool enable) override {
            if (!enable)
                disabled << id;
            return true;
        }
    };
    const auto disabled = [](CRepBase& doc) {
        View view;
        doc.SetView(&view);
        doc.OnSetupView();
        doc.SetView(nullptr);
        std::sort(view.disabled.begin(), view.disabled.end());
        return view.disabled;
    };
    CRep_SvodnyeDannyDlyaKvart quarterly;
    CRep_Trainings trainings;
    CRep_OhvatZaPeriod coverage;
    CRep_SvodnyiPoGodam years;
    CRepNewConsult consultations;
    QCOMPARE(disabled(quarterly), (QList<int>{kRepCtlWorker, kRepCtlFrom}));
    QCOMPARE(disabled(trainings), QList<int>{kRepCtlWorker});
    QCOMPARE(disabled(coverage), QList<int>{});
    QCOMPARE(disabled(years), QList<int>{});
    QCOMPARE(disabled(consultations), QList<int>{});
}

QTEST_GUILESS_MAIN(TestPeriodReports)
#include "test_period_reports.moc"
