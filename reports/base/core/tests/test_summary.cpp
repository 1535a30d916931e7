// Summary tables: lines and totals, row keys of result rows, and the HTML
// the summary writes with the report template.
#include "framework/core/tarvik_app.h"
#include "rep_test_support.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/core/rep_base_summary.h"
#include "reports/base/core/rep_templates.h"

#include <QTest>

namespace {
// The tree in display order (sorted), one "indent title: totals" per line.
QString Dump(CSummaryLine<CDoubleArr>* line, int level = 0) {
    line->Sort();
    QStringList totals;
    for (int i = 0; i < line->GetTotals().GetSize(); ++i)
        totals << QString::number(line->GetTotals().GetAt(i));
    QString text = QString(level * 2, u' ') + line->GetTitle() + QStringLiteral(": ") +
                   totals.join(u',') + u'\n';
    for (auto* child : line->GetChildren())
        text += Dump(child, level + 1);
    return text;
}
} // namespace

class TestSummary : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void linesAndTotals();
    void rowKeys_data();
    void rowKeys();
    void keyHash();
    void writerOfASmallSummary();
    void rowClassesByDepth();

private:
    CRepBaseData* NewRun();
};

void TestSummary::initTestCase() {
    InstallConfig(QString());
    InitReportTemplates();
}

CRepBaseData* TestSummary::NewRun() {
    auto* run = new CRepBaseData(nullptr, QDate(2012, 1, 1), QDate(2012, 12, 31));
    run->GetReportTemplate().Load(kReportTemplateID);
    return run;
}

void TestSummary::linesAndTotals() {
    CSummaryLines<CDoubleArr> lines;
    lines.SetRootTitle(QStringLiteral("all"));
    QCOMPARE(lines.AddLine(1, 0, QStringLiteral("b"), 0, 20), 1);
    QCOMPARE(lines.AddLine(2, 0, QStringLiteral("a"), 0, 10), 1);
    QCOMPARE(lines.AddLine(3, 0, QStringLiteral("a2"), 0, 10), 1);
    QCOMPARE(lines.AddLine(4, 1, QStringLiteral("b1"), 0, 1), 1);
    QCOMPARE(lines.AddLine(5, 99, QStringLiteral("lost"), 0, 1), 0); // no such parent
    CDoubleArr one;
    one.Append(1);
    CDoubleArr two;
    two.Append(2);
    two.Append(5);
    QCOMPARE(lines.AddValues(4, two), 1);
    QCOMPARE(lines.AddValues(4, one), 1);
    QCOMPARE(lines.AddValues(2, one), 1);
    QCOMPARE(lines.AddValues(0, one), 1);
    QCOMPARE(lines.AddValues(42, one), 0);
    QVERIFY(!lines.TotalsValid());
    lines.CalcTotals();
    // Equal sort keys keep the order first met; the root grows to the
    // totals' length.
    QCOMPARE(Dump(&lines), QStringLiteral("all: 5,5\n"
                                          "  a: 1\n"
                                          "  a2: \n"
                                          "  b: 3,5\n"
                                          "    b1: 3,5\n"));
    QCOMPARE(lines.GetValues().GetSize(), 2);
    QCOMPARE(lines.GetDepth(), 3);
}

// Records of (first group, second group, value) added through two row
// fields; the expected tree in display order.
void TestSummary::rowKeys_data() {
    QTest::addColumn<QList<QList<long>>>("records");
    QTest::addColumn<QString>("expected");
    QTest::newRow("same keys share a line")
        << QList<QList<long>>{{1, 7, 2}, {1, 7, 3}} << "Всего: 5\n  g1: 5\n    g7: 5\n";
    QTest::newRow("children by group value, not first seen")
        << QList<QList<long>>{{3, 1, 1}, {1, 2, 10}, {3, 0, 100}, {1, 1, 1000}}
        << "Всего: 1111\n  g1: 1010\n    g1: 1000\n    g2: 10\n  g3: 101\n    g0: 100\n    g1: 1\n";
    QTest::newRow("a parent key shared by two children")
        << QList<QList<long>>{{2, 5, 1}, {2, 6, 1}, {2, 5, 1}}
        << "Всего: 3\n  g2: 3\n    g5: 2\n    g6: 1\n";
}

void TestSummary::rowKeys() {
    QFETCH(QList<QList<long>>, records);
    QFETCH(QString, expected);
    CTestField first(1, QStringLiteral("first"));
    CTestField second(2, QStringLiteral("second"));
    CTestField value(3, QStringLiteral("value"));
    CRepBaseSummary summary;
    summary.AddRowField(&first);
    summary.AddRowField(&second);
    summary.AddColumnField(&value);
    std::unique_ptr<CRepBaseData> run(NewRun());
    summary.LoadTemplates(run.get());
    for (const QList<long>& r : records) {
        first.group = r[0];
        first.text = QStringLiteral("g%1").arg(r[0]);
        second.group = r[1];
        second.text = QStringLiteral("g%1").arg(r[1]);
        value.value = r[2];
        QCOMPARE(summary.GetRowForCurrentRecord(), 1);
    }
    summary.GetLines().CalcTotals();
    QCOMPARE(Dump(&summary.GetLines()), expected);
    CMemNDX<long> key;
    key.Add(records.first()[0]);
    QVERIFY(summary.FindRow(key) > 0);
    key.Add(-12345);
    QCOMPARE(summary.FindRow(key), -1L);
}

void TestSummary::keyHash() {
    CMemNDX<long> key;
    QCOMPARE(key.CalcHash(), 0u);
    key.Add(1);  // (0*2) ^ 2 = 2
    key.Add(-1); // (2*2) ^ 0 = 4
    key.Add(5);  // (4*2) ^ 6 = 14
    QCOMPARE(key.CalcHash(), 14u);
    key.SetCount(1);
    QCOMPARE(key.CalcHash(), 2u);
    CMemNDX<long> same;
    same.Add(1);
    QVERIFY(same == key);
}

void TestSummary::writerOfASmallSummary() {
    CTestField town(1, QStringLiteral("Город"));
    CTestField clients(2, QStringLiteral("Клиентов"));
    CTestField visits(3, QStringLiteral("Визитов <всего>"), QStringLiteral("cent"));
    CRepBaseSummary summary;
    summary.AddRowField(&town);
    summary.AddColumnField(&clients);
    summary.AddColumnField(&visits);
    std::unique_ptr<CRepBaseData> run(NewRun());
    summary.LoadTemplates(run.get());
    const struct {
        long town;
        const char* name;
        double clients;
        double visits;
    } rows[] = {{2, "Б & Ко", 3, 1}, {1, "А", 5, 0}, {3, "В", 0, 0}, {2, "Б & Ко", 1, 1.5}};
    for (const auto& r : rows) {
        town.group = r.town;
        town.text = QString::fromUtf8(r.name);
        clients.value = r.clients;
        visits.value = r.visits;
        summary.GetRowForCurrentRecord();
    }
    CAccStringT<wchar_t> html;
    summary.GetHTML(html, run.get(), false);
    // Two levels: the total in class 6, the towns in class 7 (white); the
    // town without numbers writes no row.
    const QString expected = QStringLiteral(
        "<tr><td class=\"gap\" colspan=\"3\" style=\"font-size:2pt\">&nbsp;</td></tr>\n\n"
        "<tr><td class=\"c1\">&nbsp;</td><td class=\"Hnum\">Клиентов</td>"
        "<td class=\"Hcent\">Визитов &lt;всего&gt;</td></tr>"
        "<tr><td class=\"b6\" style=\"padding-left:0px\">Всего</td><td class=\"a6\">9</td>"
        "<td class=\"a6\">2.5</td></tr>"
        "<tr><td class=\"b7\" style=\"padding-left:20px\">А</td><td class=\"a7\">5</td>"
        "<td class=\"a7\">&nbsp;</td></tr>"
        "<tr><td class=\"b7\" style=\"padding-left:20px\">Б &amp; Ко</td><td class=\"a7\">4</td>"
        "<td class=\"a7\">2.5</td></tr>");
    QCOMPARE(html.ToString(), expected);
    QVERIFY(summary.GetLines().TotalsValid());

    CAccStringT<wchar_t> single;
    summary.AddValueRow(single, QStringLiteral("Итого"), 7);
    QCOMPARE(single.ToString(),
             QStringLiteral("<tr><td class=\"b3\" style=\"padding-left:0px\">Итого</td>"
                            "<td class=\"a3\">7</td></tr>"));
}

void TestSummary::rowClassesByDepth() {
    std::unique_ptr<CRepBaseData> run(NewRun());
    for (int levels : {2, 7}) {
        QList<CTestField*> fields;
        CTestField value(100, QStringLiteral("v"));
        value.value = 1;
        CRepBaseSummary summary;
        for (int i = 0; i < levels; ++i) {
            fields << new CTestField(i + 1, QStringLiteral("f"));
            fields.last()->group = i;
            fields.last()->text = QStringLiteral("L%1").arg(i + 1);
            summary.AddRowField(fields.last());
        }
        summary.AddColumnField(&value);
        summary.LoadTemplates(run.get());
        summary.GetRowForCurrentRecord();
        CAccStringT<wchar_t> html;
        summary.GetHTML(html, run.get(), true);
        const QString text = html.ToString();
        QStringList classes;
        for (const QString& row : text.split(QStringLiteral("</tr>"), Qt::SkipEmptyParts))
            classes << row.section(QStringLiteral("class=\"b"), 1).left(1);
        // Three lines (two levels and the total): 5, 6, 7. Eight lines:
        // 1 to 6 by level, then 7 from the seventh level down.
        if (levels == 2)
            QCOMPARE(classes.join(u','), QStringLiteral("5,6,7"));
        else
            QCOMPARE(classes.join(u','), QStringLiteral("1,2,3,4,5,6,7,7"));
        qDeleteAll(fields);
    }
}

QTEST_GUILESS_MAIN(TestSummary)
#include "test_summary.moc"
