// The services the report writers stand on: placeholder replacement, HTML
// escaping, cell numbers, sectioned templates, age groups and the pivot.
#include "framework/core/app/html_template.h"
#include "framework/core/report/age_groups.h"
#include "framework/core/report/tab_calc.h"
#include "framework/core/strings/cx_string.h"

#include <QStringEncoder>
#include <QTest>

class TestReportServices : public QObject {
    Q_OBJECT
private slots:
    void strTr_data();
    void strTr();
    void safeHTML();
    void doubleToString_data();
    void doubleToString();
    void templateSections();
    void templateInUtf16();
    void ageGroups();
    void pivotSumsAndLinks();
    void pivotKeepsOpenStates();
};

void TestReportServices::strTr_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("each placeholder") << "<b>%TITLE%</b> %FROM%-%TO%"
                                      << "<b>T</b> 1-2";
    // A value is never searched again: a title holding a placeholder stays.
    QTest::newRow("value holds a placeholder") << "%BODY%|%TITLE%"
                                               << "%TITLE%|T";
    QTest::newRow("repeated") << "%TO%%TO%"
                              << "22";
    QTest::newRow("lone percent signs") << "100% of %x %TO"
                                        << "100% of %x %TO";
    QTest::newRow("adjacent") << "%FROM%%TO%"
                              << "12";
}

void TestReportServices::strTr() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(CxString::StrTr(text, {{QStringLiteral("%TITLE%"), QStringLiteral("T")},
                                    {QStringLiteral("%BODY%"), QStringLiteral("%TITLE%")},
                                    {QStringLiteral("%FROM%"), QStringLiteral("1")},
                                    {QStringLiteral("%TO%"), QStringLiteral("2")}}),
             expected);
}

void TestReportServices::safeHTML() {
    QCOMPARE(SafeHTML(QStringLiteral("a<b & 'c' \"d\">")),
             QStringLiteral("a&lt;b &amp; &#39;c&#39; &quot;d&quot;&gt;"));
    QCOMPARE(SafeHTML(QStringLiteral("one\ntwo")), QStringLiteral("one\ntwo"));
    QCOMPARE(SafeHTML(QStringLiteral("one\r\ntwo\nthree"), kSafeHTMLBreaks),
             QStringLiteral("one<br/>two<br/>three"));
    // An XML attribute keeps its line breaks and tabs only as references.
    QCOMPARE(SafeHTML(QStringLiteral("a'b\r\n\tc<"), kSafeHTMLXmlAttribute),
             QStringLiteral("a&apos;b&#13;&#10;&#9;c&lt;"));
}

void TestReportServices::doubleToString_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 12.0 << "12";
    QTest::newRow("fraction") << 2.5 << "2.5";
    QTest::newRow("three places") << 1.0 / 3 << "0.333";
    QTest::newRow("zero") << 0.0 << "&nbsp;";
    QTest::newRow("negative") << -4.25 << "-4.25";
    QTest::newRow("rounds to zero") << -0.0001 << "&nbsp;";
}

void TestReportServices::doubleToString() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(DoubleToString(value, QStringLiteral("%.3f"), kDoubleTrimZeros | kDoubleTrimPoint,
                            QStringLiteral("&nbsp;")),
             expected);
}

void TestReportServices::templateSections() {
    CHTMLTemplate t;
    t.SetText(
        QStringLiteral("[SM.ROW]\n<tr class=\"b%CLASS%\">[x] a[href]</tr>\n[]\n"
                       "[SM.NOHEADER]\n[]\n  [FATAL]  \n<p>!</p>\n[]\n{--}\n[NOTE]\nnot read\n"));
    QCOMPARE(t.SectionNames(), QStringList({QStringLiteral("SM.ROW"), QStringLiteral("SM.NOHEADER"),
                                            QStringLiteral("FATAL")}));
    // Brackets inside a line are text, not markers.
    QCOMPARE(t.GetSection(QStringLiteral("SM.ROW")),
             QStringLiteral("<tr class=\"b%CLASS%\">[x] a[href]</tr>"));
    QVERIFY(t.HasSection(QStringLiteral("SM.NOHEADER")));
    QCOMPARE(t.GetSection(QStringLiteral("SM.NOHEADER")), QString());
    QCOMPARE(t.GetTemplate(QStringLiteral("FATAL")), QStringLiteral("<p>!</p>"));
    QVERIFY(!t.HasSection(QStringLiteral("NOTE")));
}

void TestReportServices::templateInUtf16() {
    const QString text = QStringLiteral("[BODY]\r\nПривет, %NAME%\r\n[]\r\n");
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringEncoder::Flag::WriteBom);
    CHTMLTemplate t;
    t.SetData(encoder.encode(text));
    QCOMPARE(t.GetSection(QStringLiteral("BODY")), QStringLiteral("Привет, %NAME%"));
    t.SetData(text.toUtf8());
    QCOMPARE(t.GetSection(QStringLiteral("BODY")), QStringLiteral("Привет, %NAME%"));
}

void TestReportServices::ageGroups() {
    CAgeGroups groups;
    groups.Add(18, QStringLiteral("%d-%d"));
    groups.Add(0, QStringLiteral("дети"));
    groups.Add(25, QStringLiteral("%d-%d"));
    groups.Add(60, QStringLiteral("%d и старше"));
    groups.ReformatTitles();
    QCOMPARE(groups.GetAt(0).title, QStringLiteral("18-24"));
    QCOMPARE(groups.GetAt(2).title, QStringLiteral("25-59"));
    QCOMPARE(groups.GetAt(3).title, QStringLiteral("60 и старше"));
    QCOMPARE(groups.GetAgeGroup(17), 0L);
    QCOMPARE(groups.GetAgeGroup(18), 18L);
    QCOMPARE(groups.GetAgeGroup(59), 25L);
    QCOMPARE(groups.GetAgeGroup(200), 60L);
    QCOMPARE(groups.GetAgeGroup(-3), -1L);
    QCOMPARE(groups.GetGroupNameFromAge(30), QStringLiteral("25-59"));
    CAgeGroups last;
    last.Add(50, QStringLiteral("%d-%d"));
    last.ReformatTitles();
    QCOMPARE(last.GetAt(0).title, QStringLiteral("50"));
}

void TestReportServices::pivotSumsAndLinks() {
    CxTabCalc pivot;
    pivot.GetRows()->Map(1, 0)->SetTitle(QStringLiteral("Всего"))->Expand();
    pivot.GetRows()->Map(2, 1)->SetTitle(QStringLiteral("Шприцы"));
    pivot.GetRows()->Map(3, 2)->SetTitle(QStringLiteral("Шприц 2мл"));
    pivot.GetRows()->Map(4, 2)->SetTitle(QStringLiteral("Шприц 5мл"));
    pivot.GetCols()->Map(10, 0)->SetTitle(QStringLiteral("По полу"));
    pivot.GetCols()->Map(11, 10)->SetTitle(QStringLiteral("Мужской"));
    pivot.GetCols()->Map(12, 10)->SetTitle(QStringLiteral("Женский"));
    pivot.Add(3, 11, 5);
    pivot.Add(4, 11, 2);
    pivot.Add(4, 12, 7);
    pivot.Add(-1, 11, 100); // an index without a line adds nothing
    pivot.Add(3, 99, 100);
    QCOMPARE(pivot.GetValue(1, 10), 14.0);
    QCOMPARE(pivot.GetValue(2, 11), 7.0);
    QCOMPARE(pivot.GetValue(4, 10), 9.0);
    QCOMPARE(pivot.GetValue(3, 12), 0.0);

    pivot.GetReformater()->SetFloatDigitCount(0);
    CAccStringT<wchar_t> closed;
    pivot.BuildHTML(closed);
    QString html = closed.ToString();
    // Closed: the "Шприцы" row and the sex column show, their lines below not.
    QVERIFY(html.contains(QStringLiteral("<a href='tabcalc:row:2'>+</a>&nbsp;Шприцы")));
    QVERIFY(html.contains(QStringLiteral("<a href='tabcalc:col:10'>+</a>&nbsp;По полу")));
    QVERIFY(!html.contains(QStringLiteral("Шприц 2мл")));
    QVERIFY(!html.contains(QStringLiteral("Мужской")));
    QVERIFY(html.contains(QStringLiteral(">14</td>")));

    QCOMPARE(pivot.OnProcessURL(QStringLiteral("tabcalc:row:2")), 1);
    QCOMPARE(pivot.OnProcessURL(QStringLiteral("tabcalc:col:10")), 1);
    QCOMPARE(pivot.OnProcessURL(QStringLiteral("opendoc:CRepVisitsDoc")), 0);
    QCOMPARE(pivot.OnProcessURL(QStringLiteral("tabcalc:row:77")), 0);
    CAccStringT<wchar_t> open;
    pivot.BuildHTML(open);
    html = open.ToString();
    QVERIFY(html.contains(QStringLiteral("Шприц 2мл")));
    QVERIFY(html.contains(QStringLiteral("Мужской")));
    QVERIFY(html.contains(QStringLiteral("<a href='tabcalc:row:2'>&minus;</a>")));
    // The open sex column spans its own total and its two values.
    QVERIFY(html.contains(QStringLiteral("colspan='3'")));
    QCOMPARE(html.count(QStringLiteral("<tr>")), 2 + 4); // two header rows, four rows
}

void TestReportServices::pivotKeepsOpenStates() {
    CxTabCalc pivot;
    pivot.GetRows()->Map(1, 0)->SetTitle(QStringLiteral("A"));
    pivot.GetRows()->Map(2, 1)->SetTitle(QStringLiteral("B"));
    pivot.OnProcessURL(QStringLiteral("tabcalc:row:1"));
    QVERIFY(pivot.GetRows()->Find(1)->IsExpanded());
    pivot.KeepExpanded();
    pivot.Reset();
    QVERIFY(!pivot.GetRows()->Find(1));
    pivot.GetRows()->Map(1, 0)->SetTitle(QStringLiteral("A"));
    pivot.GetRows()->Map(2, 1)->SetTitle(QStringLiteral("B"));
    QVERIFY(!pivot.GetRows()->Find(1)->IsExpanded());
    pivot.RestoreExpanded();
    QVERIFY(pivot.GetRows()->Find(1)->IsExpanded());
    pivot.ClearExpanded();
    pivot.Reset();
    pivot.GetRows()->Map(1, 0);
    pivot.RestoreExpanded();
    QVERIFY(!pivot.GetRows()->Find(1)->IsExpanded());
}

QTEST_GUILESS_MAIN(TestReportServices)
#include "test_report_services.moc"
