// The page the report pane shows is the saved page with the pane's style and
// its long tables cut into groups of rows, nothing else: undone, both are the
// same text. A table is cut only where it may be (rows alone, collapsed
// borders, no cell spanning across a cut), and every group carries the rows
// that make the table's columns as wide as the widest cells make them.
#include "framework/core/report/rep_doc.h"
#include "framework/core/report/rep_screen_page.h"

#include <QRegularExpression>
#include <QTest>
#include <functional>

namespace {
const QString kHead =
    QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>table.rep "
                   "{ border-collapse: collapse; }</style></head><body>");

// A table of `rows` rows under a heading row; `cell` gives a row's cells.
QString Table(const QString& start, int rows, const std::function<QString(int)>& cell) {
    QString table = start + QStringLiteral("<tr><td>Код</td><td>Клиент</td><td>Визиты</td></tr>\n");
    for (int i = 1; i <= rows; ++i)
        table += QStringLiteral("<tr>") + cell(i) + QStringLiteral("</tr>\n");
    return table + QStringLiteral("</table>");
}

QString Plain(int i) {
    return QStringLiteral("<td>%1</td><td>Клиент %1</td><td>%2</td>").arg(i).arg(i % 7);
}

const QString kRep = QStringLiteral("<table class=\"rep\" border=\"1\" cellspacing=\"0\">");

// The screen's page with the pane's parts taken out again.
QString Undone(const QString& screen) {
    QString page = screen;
    const QString group = QLatin1String(CRepScreenPage::kGroupClass);
    page.remove(QRegularExpression(QStringLiteral("<style>@media screen\\{html:not.*?</style>")));
    page.remove(QRegularExpression(QStringLiteral("<tbody class=\"%1\">.*?</tbody>")
                                       .arg(QLatin1String(CRepScreenPage::kSizerClass)),
                                   QRegularExpression::DotMatchesEverythingOption));
    // Where groups meet: the end of one, the start of the next with the
    // table's start tag again.
    page.remove(QRegularExpression(
        QStringLiteral("</table></div><div class=\"%1[^\"]*\"[^>]*><table[^>]*>").arg(group)));
    page.remove(QRegularExpression(QStringLiteral("<div class=\"%1[^\"]*\"[^>]*>").arg(group)));
    page.replace(QStringLiteral("</table></div>"), QStringLiteral("</table>"));
    return page;
}

int Groups(const QString& screen) {
    return int(screen.count(
        QStringLiteral("<div class=\"%1").arg(QLatin1String(CRepScreenPage::kGroupClass))));
}
} // namespace

class TestRepScreenPage : public QObject {
    Q_OBJECT
private slots:
    void onlyStyleAndGroups_data();
    void onlyStyleAndGroups();
    void widestCellsInEveryGroup();
};

void TestRepScreenPage::onlyStyleAndGroups_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("groups");
    const int rows = 5 * CRepScreenPage::kGroupRows + 17;
    QTest::newRow("detail list") << kHead + QStringLiteral("<h2>Охват</h2>") +
                                        Table(kRep, rows, Plain) +
                                        QStringLiteral("<p>Итого</p></body></html>")
                                 << 5;
    QTest::newRow("collapsed by the tag's own style")
        << kHead +
               Table(QStringLiteral("<table style=\"border-collapse:collapse\">"), rows, Plain) +
               QStringLiteral("</body></html>")
        << 5;
    QTest::newRow("two tables, one short")
        << kHead + Table(kRep, 20, Plain) + Table(kRep, rows, Plain) +
               QStringLiteral("</body></html>")
        << 5;
    // A cell spanning the rows where a group would begin moves the cut below.
    QTest::newRow("cells spanning rows")
        << kHead +
               Table(kRep, rows,
                     [](int i) {
                         if (i % CRepScreenPage::kGroupRows == CRepScreenPage::kGroupRows - 3)
                             return QStringLiteral("<td rowspan=\"6\">%1</td><td>Клиент</td>"
                                                   "<td>1</td>")
                                 .arg(i);
                         if (i % CRepScreenPage::kGroupRows > CRepScreenPage::kGroupRows - 3 ||
                             i % CRepScreenPage::kGroupRows < 3)
                             return QStringLiteral("<td>Клиент</td><td>1</td>");
                         return Plain(i);
                     }) +
               QStringLiteral("</body></html>")
        << 5;
    QTest::newRow("too few rows") << kHead +
                                         Table(kRep, 2 * CRepScreenPage::kGroupRows - 2, Plain) +
                                         QStringLiteral("</body></html>")
                                  << 0;
    // Borders not collapsed would be drawn twice where groups meet.
    QTest::newRow("borders apart")
        << kHead + Table(QStringLiteral("<table border=\"1\">"), rows, Plain) +
               QStringLiteral("</body></html>")
        << 0;
    QTest::newRow("parts of its own")
        << kHead +
               Table(kRep + QStringLiteral("<thead>"), rows, Plain)
                   .replace(QStringLiteral("</td></tr>\n<tr><td>1</td>"),
                            QStringLiteral("</td></tr></thead>\n<tr><td>1</td>")) +
               QStringLiteral("</body></html>")
        << 0;
    QTest::newRow("a table in a cell")
        << kHead +
               Table(kRep, rows,
                     [](int i) {
                         return i == 50 ? QStringLiteral("<td><table><tr><td>в</td></tr></table>"
                                                         "</td><td>a</td><td>1</td>")
                                        : Plain(i);
                     }) +
               QStringLiteral("</body></html>")
        << 0;
    QTest::newRow("no head, no charset") << QStringLiteral("<p>Пусто</p>") << 0;
}

void TestRepScreenPage::onlyStyleAndGroups() {
    QFETCH(QString, page);
    QFETCH(int, groups);
    const QString screen = QString::fromUtf8(CRepScreenPage::Make(page));
    QCOMPARE(Groups(screen), groups);
    const QString saved = CRepDoc::StandalonePage(page);
    QVERIFY(screen != saved);
    QCOMPARE(Undone(screen), saved);
    // No group begins where a cell of the rows above still spans.
    static const QRegularExpression groupStart(
        QStringLiteral("<div class=\"%1[^>]*><table[^>]*>(<tr>.*?</tr>)")
            .arg(QLatin1String(CRepScreenPage::kGroupClass)));
    for (QRegularExpressionMatchIterator it = groupStart.globalMatch(screen); it.hasNext();) {
        const QString first = it.next().captured(1);
        QVERIFY2(first.count(QStringLiteral("<td")) == 3, qPrintable(first));
    }
}

void TestRepScreenPage::widestCellsInEveryGroup() {
    // Far down in the table: the widest code, the widest name and the
    // longest word of the figures.
    const auto cells = [](int i) {
        if (i == 333)
            return QStringLiteral("<td>ЖЖЖШШШ</td><td>Клиент</td><td>1</td>");
        if (i == 777)
            return QStringLiteral("<td>1</td><td>Клиентова Мария Ивановна</td><td>1</td>");
        if (i == 1001)
            return QStringLiteral("<td>3</td><td>Клиент</td><td>1234567890&nbsp;1234</td>");
        return Plain(i % 100);
    };
    const QString screen = QString::fromUtf8(
        CRepScreenPage::Make(kHead + Table(kRep, 6 * CRepScreenPage::kGroupRows, cells) +
                             QStringLiteral("</body></html>")));
    QCOMPARE(Groups(screen), 6);
    static const QRegularExpression sizer(QStringLiteral("<tbody class=\"%1\">(.*?)</tbody>")
                                              .arg(QLatin1String(CRepScreenPage::kSizerClass)));
    int seen = 0;
    for (QRegularExpressionMatchIterator it = sizer.globalMatch(screen); it.hasNext(); ++seen) {
        const QString rows = it.next().captured(1);
        QVERIFY(rows.startsWith(QStringLiteral("<tr><td>Код</td>")));
        QVERIFY(rows.contains(QStringLiteral("ЖЖЖШШШ")));
        QVERIFY(rows.contains(QStringLiteral("Клиентова Мария Ивановна")));
        QVERIFY(rows.contains(QStringLiteral("1234567890&nbsp;1234")));
        // A few rows for each column, not the table again.
        QVERIFY(rows.count(QStringLiteral("<tr>")) <= 1 + 3 * 8);
    }
    QCOMPARE(seen, 6);
}

QTEST_GUILESS_MAIN(TestRepScreenPage)
#include "test_rep_screen_page.moc"
