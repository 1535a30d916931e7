// The report pane on the browser engine: a page of any size shows whole (the
// engine would refuse more than 2 MB handed over in memory), its file goes
// with the next page and with the pane, links go to the program instead of
// navigating while the page's own anchors stay, the width a page needs
// decides the sheet, and the PDF of a page reaches the preview and a printer.
#include "framework/core/report/rep_screen_page.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/report_view/rep_pane.h"
#include "framework/widgets/report_view/rep_print.h"
#include "tests/support/pane_text.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfDocument>
#include <QPrinter>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>
#include <optional>

namespace {
QString Page(const QString& body) {
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body>") +
           body + QStringLiteral("</body></html>");
}

} // namespace

class TestRepPane : public QObject {
    Q_OBJECT
public:
    static void initMain() { CRepPane::PrepareApplication(); }

private slots:
    void bigPageShowsWhole();
    void pageFileGoesWithPage();
    void newerPageWins();
    void failedWriteReported();
    void longTableLooksTheSame();
    void narrowedPaneLeavesNoStrip();
    void links_data();
    void links();
    void neededWidth();
    void chartsOffScreen();
    void pdfToPreviewAndPrinter();
};

void TestRepPane::bigPageShowsWhole() {
    CRepPane pane;
    pane.resize(800, 600);
    pane.show();
    QString rows;
    for (int i = 0; i < 60000; ++i)
        rows += QStringLiteral("<tr><td>Клиент %1</td><td>%2</td></tr>").arg(i).arg(i * 7);
    const QString page = Page(QStringLiteral("<table>") + rows + QStringLiteral("</table>"));
    QVERIFY(page.toUtf8().size() > 2 * 1024 * 1024);
    pane.ShowPage(page);
    QVERIFY(pane.IsLoading());
    const QString text = PaneText(&pane);
    QVERIFY(!pane.IsLoading());
    QVERIFY2(text.startsWith(QStringLiteral("Клиент 0\t0\n")), qPrintable(text.left(100)));
    QVERIFY(text.contains(QStringLiteral("Клиент 59999\t419993")));
}

void TestRepPane::pageFileGoesWithPage() {
    QString first;
    {
        CRepPane pane;
        QSignalSpy loaded(&pane, &CRepPane::pageLoaded);
        pane.ShowPage(Page(QStringLiteral("<p>первая</p>")));
        QVERIFY(pane.WaitLoaded());
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded.first().first().toBool(), true);
        first = pane.url().toLocalFile();
        QVERIFY(QFileInfo::exists(first));
        // A page given while the one before still loads: the later shows.
        pane.ShowPage(Page(QStringLiteral("<p>вторая</p>")));
        pane.ShowPage(Page(QStringLiteral("<p>третья</p>")));
        QCOMPARE(PaneText(&pane), QStringLiteral("третья"));
        QVERIFY(!QFileInfo::exists(first));
        first = pane.url().toLocalFile();
        QVERIFY(QFileInfo::exists(first));
    }
    QVERIFY(!QFileInfo::exists(first));
}

// The pane's files go to a folder of the test's own while it lives.
class PageFolder {
public:
    explicit PageFolder(const QString& path) : m_old(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", path.toLocal8Bit());
    }
    ~PageFolder() { qputenv("TMPDIR", m_old); }

private:
    QByteArray m_old;
};

void TestRepPane::newerPageWins() {
    QTemporaryDir dir;
    PageFolder folder(dir.path());
    CRepPane pane;
    QSignalSpy loaded(&pane, &CRepPane::pageLoaded);
    // The long page takes longer to write than the short one given after it.
    QString rows;
    for (int i = 0; i < 60000; ++i)
        rows += QStringLiteral("<tr><td>Клиент %1</td></tr>").arg(i);
    pane.ShowPage(Page(QStringLiteral("<table>") + rows + QStringLiteral("</table>")));
    pane.ShowPage(Page(QStringLiteral("<p>короткая</p>")));
    QCOMPARE(PaneText(&pane), QStringLiteral("короткая"));
    QCOMPARE(loaded.size(), 1);
    QCOMPARE(loaded.first().first().toBool(), true);
    // The older page's file, written after all, is gone; the newer's stays.
    const QStringList files = {QStringLiteral("kelda-report-*")};
    QTRY_COMPARE_WITH_TIMEOUT(QDir(dir.path()).entryList(files, QDir::Files).size(), 1, 60000);
    QCOMPARE(QDir(dir.path()).filePath(QDir(dir.path()).entryList(files, QDir::Files).first()),
             pane.url().toLocalFile());
    QCOMPARE(PaneText(&pane), QStringLiteral("короткая"));
    QCOMPARE(loaded.size(), 1);
}

void TestRepPane::failedWriteReported() {
    QTemporaryDir dir;
    // A file where the folder should be: nothing can be written in it.
    QFile notFolder(dir.filePath(QStringLiteral("файл")));
    QVERIFY(notFolder.open(QIODevice::WriteOnly));
    notFolder.close();
    CRepPane pane;
    pane.ShowPage(Page(QStringLiteral("<p>первая</p>")));
    QVERIFY(pane.WaitLoaded());
    QSignalSpy failed(&pane, &CRepPane::pageFailed);
    QSignalSpy loaded(&pane, &CRepPane::pageLoaded);
    {
        PageFolder folder(notFolder.fileName());
        pane.ShowPage(Page(QStringLiteral("<p>вторая</p>")));
        QString error;
        QVERIFY(!pane.WaitLoaded(&error));
        QVERIFY2(error.startsWith(QStringLiteral("Не удалось записать временный файл страницы "
                                                 "отчета")),
                 qPrintable(error));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.first().first().toString(), error);
        QCOMPARE(loaded.size(), 1);
        QCOMPARE(loaded.first().first().toBool(), false);
    }
    // The page shown before stays, and the next page shows again.
    QVERIFY(QFileInfo::exists(pane.url().toLocalFile()));
    pane.ShowPage(Page(QStringLiteral("<p>третья</p>")));
    QVERIFY(pane.WaitLoaded());
    QCOMPARE(PaneText(&pane), QStringLiteral("третья"));
}

void TestRepPane::longTableLooksTheSame() {
    // A detail list cut into groups of rows on the screen: its columns and
    // rows stand where they stand in the page as saved, the wide cells far
    // down included; the text is the same.
    QString rows;
    for (int i = 1; i <= 5 * CRepScreenPage::kGroupRows; ++i)
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td align=\"right\">%3</td></tr>")
                    .arg(i == 777 ? QStringLiteral("ЖЖЖЖЖЖЖЖ`ШШШ") : QString::number(i))
                    .arg(i == 333 ? QStringLiteral("Клиентова Мария Ивановна")
                                  : QStringLiteral("Клиент"))
                    .arg(i % 97);
    const QString html =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
                       "table.rep { border-collapse: collapse; } table.rep td "
                       "{ border: 1px solid #808080; padding: 2px 4px; }</style></head><body>"
                       "<h2 align=\"center\">Клиенты</h2><table class=\"rep\" align=\"center\" "
                       "border=\"1\" cellspacing=\"0\"><tr><td>Код</td><td>Клиент</td>"
                       "<td>Визиты</td></tr>") +
        rows + QStringLiteral("</table><p>Итого</p></body></html>");
    // Where cells of some rows stand, the whole page laid out: left, width,
    // bottom, top.
    const QString where =
        QStringLiteral(
            "(function(){var e=document.documentElement;e.setAttribute('%1','');"
            "var rows=Array.from(document.querySelectorAll('tr')).filter(function(r){"
            "return !r.closest('tbody.%2')});var o=[rows.length];"
            "[0,1,199,200,201,332,333,600,776,777,999,1000].forEach(function(i){"
            "Array.from(rows[i].cells).forEach(function(c){var r=c.getBoundingClientRect();"
            "o.push([i,r.left,r.width,r.bottom+window.scrollY,r.top+window.scrollY].join(' '))"
            "})});"
            "e.removeAttribute('%1');return o.join('\\n')})()")
            .arg(QLatin1String(CRepPane::kWholeLayout), QLatin1String(CRepScreenPage::kSizerClass));
    CRepPane pane;
    pane.resize(500, 400);
    pane.show();
    pane.ShowPage(html);
    QVERIFY(pane.WaitLoaded());
    const QString screen = AskPane(&pane, where).toString();
    // The page as saved, in an engine's view of its own.
    QWebEngineView saved;
    saved.resize(500, 400);
    saved.show();
    QSignalSpy savedLoaded(&saved, &QWebEngineView::loadFinished);
    saved.setHtml(html);
    QVERIFY(savedLoaded.wait(60000));
    auto answer = std::make_shared<std::optional<QVariant>>();
    saved.page()->runJavaScript(where, QWebEngineScript::ApplicationWorld,
                                [answer](const QVariant& v) { *answer = v; });
    QTRY_VERIFY_WITH_TIMEOUT(answer->has_value(), 60000);
    const QStringList screenCells = screen.split(u'\n');
    const QStringList savedCells = (*answer)->toString().split(u'\n');
    QCOMPARE(screenCells.size(), savedCells.size());
    QCOMPARE(screenCells.first(), QStringLiteral("1001"));
    // The first row of a group draws no line above it (the row before
    // draws it): its box begins half the line lower, its text where it was.
    for (qsizetype i = 1; i < screenCells.size(); ++i) {
        QCOMPARE(screenCells[i].section(u' ', 0, 3), savedCells[i].section(u' ', 0, 3));
        QVERIFY2(qAbs(screenCells[i].section(u' ', 4).toDouble() -
                      savedCells[i].section(u' ', 4).toDouble()) <= 0.5,
                 qPrintable(screenCells[i] + QStringLiteral(" / ") + savedCells[i]));
    }
    const QString text = PaneText(&pane);
    QVERIFY(text.contains(QStringLiteral("ЖЖЖЖЖЖЖЖ`ШШШ\tКлиент\t1")));
    QCOMPARE(text.count(QStringLiteral("Клиентова Мария Ивановна")), 1);
}

void TestRepPane::narrowedPaneLeavesNoStrip() {
    // A long list whose text wraps to the pane's width, seen to its end in a
    // wide pane: narrowed, the page is no wider than the pane, though most of
    // its groups of rows were laid out at the old width and are off screen.
    QString rows;
    for (int i = 1; i <= 5 * CRepScreenPage::kGroupRows; ++i)
        rows += QStringLiteral("<tr><td>%1</td><td>Клиент получил шприцы, салфетки, "
                               "презервативы и консультацию социального работника</td></tr>")
                    .arg(i);
    const QString html =
        QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
                       "table.rep { border-collapse: collapse; }</style></head><body>"
                       "<table class=\"rep\" border=\"1\">") +
        rows + QStringLiteral("</table></body></html>");
    CRepPane pane;
    pane.resize(1200, 400);
    pane.show();
    pane.ShowPage(html);
    QVERIFY(pane.WaitLoaded());
    for (int y = 0; y < 20; ++y) {
        AskPane(&pane,
                QStringLiteral("window.scrollTo(0,%1*document.documentElement.scrollHeight/20)")
                    .arg(y));
        QTest::qWait(50);
    }
    AskPane(&pane, QStringLiteral("window.scrollTo(0,0)"));
    pane.resize(500, 400);
    QTRY_VERIFY_WITH_TIMEOUT(AskPane(&pane, QStringLiteral("window.innerWidth")).toInt() <= 500,
                             60000);
    QTest::qWait(200);
    const QString widths = AskPane(&pane, QStringLiteral("document.documentElement.scrollWidth+' '+"
                                                         "window.innerWidth"))
                               .toString();
    QVERIFY2(widths.section(u' ', 0, 0).toInt() <= widths.section(u' ', 1, 1).toInt(),
             qPrintable(widths));
}

void TestRepPane::links_data() {
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("handed"); // empty: the pane keeps it
    QTest::newRow("command address") << "opendoc:CDDirWorkPlace:1"
                                     << "opendoc:CDDirWorkPlace:1";
    QTest::newRow("message with escapes") << "messagebox:64:Скидка 50% на №1, #2?"
                                          << "messagebox:64:Скидка 50% на №1, #2?";
    QTest::newRow("web address") << "https://example.org/a?b=1"
                                 << "https://example.org/a?b=1";
    QTest::newRow("anchor of the page") << "#bottom"
                                        << "";
}

void TestRepPane::links() {
    QFETCH(QString, href);
    QFETCH(QString, handed);
    CRepPane pane;
    pane.resize(400, 200);
    pane.show();
    pane.ShowPage(Page(QStringLiteral("<a id=\"link\" href=\"%1\">ссылка</a>"
                                      "<div style=\"height:5000px\"></div>"
                                      "<a name=\"bottom\">конец</a>")
                           .arg(href.toHtmlEscaped())));
    QVERIFY(pane.WaitLoaded());
    const QUrl page = pane.url();
    QSignalSpy clicked(&pane, &CRepPane::linkClicked);
    QVERIFY(ClickInPane(&pane, QStringLiteral("#link")));
    if (handed.isEmpty()) {
        // The engine scrolls to the anchor itself and stays on the page.
        QTRY_VERIFY_WITH_TIMEOUT(pane.ScrollPosition().y() > 1000, 60000);
        QVERIFY(clicked.isEmpty());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(clicked.size(), 1, 60000);
        QCOMPARE(CxLinkAddress(clicked.first().first().toUrl()), handed);
    }
    QCOMPARE(pane.url().adjusted(QUrl::RemoveFragment), page);
    QVERIFY(PaneText(&pane).startsWith(QStringLiteral("ссылка")));
}

void TestRepPane::neededWidth() {
    CRepPane pane;
    pane.resize(400, 300);
    pane.ShowPage(Page(QStringLiteral("<p>Текст, который переносится по словам в любую "
                                      "ширину листа.</p>")));
    const double narrow = pane.NeededWidth(700);
    QVERIFY2(narrow > 0 && narrow <= 700, qPrintable(QString::number(narrow)));
    // Figures do not break: a row of many is as wide as they are.
    QString cells;
    for (int i = 0; i < 40; ++i)
        cells += QStringLiteral("<td>1234567890</td>");
    pane.ShowPage(Page(QStringLiteral("<table><tr>") + cells +
                       QStringLiteral("</tr></table><p>широкая</p>")));
    const double wide = pane.NeededWidth(700);
    QVERIFY2(wide > 1400, qPrintable(QString::number(wide)));
    // The page keeps the pane's width afterwards.
    QVERIFY(PaneText(&pane).endsWith(QStringLiteral("широкая")));
}

void TestRepPane::chartsOffScreen() {
    // Charts as the reports draw them, floated side by side; the last, far
    // below the screen, is a row of figures much wider than a sheet.
    const auto chart = [](int n, int columns) {
        QString cells;
        for (int i = 0; i < columns; ++i)
            cells += QStringLiteral("<td width=\"40\">1234567890</td>");
        return QStringLiteral("<table class=\"chart\" align=\"left\" style=\"float: left;\">"
                              "<tr><td colspan=\"%1\">График %2</td></tr><tr>%3</tr></table>")
            .arg(columns)
            .arg(n)
            .arg(cells);
    };
    QString charts;
    for (int n = 0; n < 300; ++n)
        charts += chart(n, n == 299 ? 40 : 8);
    CRepPane pane;
    pane.resize(800, 600);
    pane.show();
    pane.ShowPage(Page(charts));
    // The sheet is chosen for the charts not seen too.
    const double needed = pane.NeededWidth(700);
    QVERIFY2(needed > 1400, qPrintable(QString::number(needed)));
    // Every chart is in the page's text, and all of them in what a user copies.
    const QString text = PaneText(&pane);
    QVERIFY2(text.startsWith(QStringLiteral("График 0")), qPrintable(text.left(100)));
    QVERIFY(text.contains(QStringLiteral("График 299")));
    pane.page()->triggerAction(QWebEnginePage::SelectAll);
    QTRY_VERIFY_WITH_TIMEOUT(pane.page()->selectedText().contains(QStringLiteral("График 299")),
                             60000);
}

void TestRepPane::pdfToPreviewAndPrinter() {
    CRepPane pane;
    QString rows;
    for (int i = 0; i < 300; ++i)
        rows += QStringLiteral("<tr><td>строка %1</td></tr>").arg(i);
    pane.ShowPage(Page(QStringLiteral("<table>") + rows + QStringLiteral("</table>")));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("страница.pdf"));
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
    QString error;
    QVERIFY2(pane.WritePdf(pdf, a4, &error), qPrintable(error));
    QPdfDocument written;
    QCOMPARE(written.load(pdf), QPdfDocument::Error::None);
    const int sheets = written.pageCount();
    QVERIFY(sheets > 1);
    QCOMPARE(written.pagePointSize(0).toSize(), QPageSize(QPageSize::A4).sizePoints());

    CRepPreviewDlg preview;
    QVERIFY2(preview.Load(pdf, &error), qPrintable(error));
    QCOMPARE(preview.PageCount(), sheets);
    // Its buttons are on the screen, however small the screen is.
    QVERIFY(preview.height() <= QGuiApplication::primaryScreen()->availableGeometry().height());
    QVERIFY(!preview.Load(dir.filePath(QStringLiteral("нет.pdf")), &error));
    QVERIFY(!error.isEmpty());

    // A printer that writes a file: a sheet for every page.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString printed = dir.filePath(QStringLiteral("printed.pdf"));
    printer.setOutputFileName(printed);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QVERIFY2(PrintPdfPages(pdf, &printer, &error), qPrintable(error));
    QPdfDocument paper;
    QCOMPARE(paper.load(printed), QPdfDocument::Error::None);
    QCOMPARE(paper.pageCount(), sheets);
    QVERIFY(!PrintPdfPages(dir.filePath(QStringLiteral("нет.pdf")), &printer, &error));
}

QTEST_MAIN(TestRepPane)
#include "test_rep_pane.moc"
