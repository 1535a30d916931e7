// The report pane alone with a made-up page of many rows (no database) or a
// saved page: the time to the first screenful, until the page is laid out
// whole, the longest the window is blocked while it loads, scrolls to its end
// and is resized, and the memory of the engine; beside it, headless Chromium
// on the same file (when the machine has it), from its start until the page
// is laid out and painted.
//
// Usage: bench_report_page [ROWS | PAGE.html] [PICTURE.png]
//   a made-up page of ROWS rows (10000 when not given), or a saved page
//   (bench_visits_views leaves some in its OUTDIR); the picture shows the
//   window with the page.
// Run it under a display (xvfb-run) or with QT_QPA_PLATFORM=offscreen.
#include "bench/common/pane_timing.h"
#include "framework/core/report/rep_doc.h"
#include "framework/widgets/report_view/rep_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

namespace {
class PageDoc : public CRepDoc {
public:
    QString GetReportTitle() override { return QStringLiteral("Страница"); }
    void OnInitHTML(CAccStringT<wchar_t>&) override {}
};

// A detail list as the reports write it: a heading, a table of linked codes,
// names and figures, then the totals.
QString Page(int rows) {
    QString page = QStringLiteral("<h2>Клиенты</h2><p>Период: 01.01.2015 - 31.12.2015</p>"
                                  "<table class=\"rep\" border=\"1\" cellspacing=\"0\">"
                                  "<tr><th>Код</th><th>Клиент</th><th>Пол</th><th>Визиты</th>"
                                  "<th>Сумма</th></tr>");
    for (int i = 1; i <= rows; ++i)
        page += QStringLiteral("<tr><td><a href=\"sqledit:CDClients:%1:2055\">%1</a></td>"
                               "<td>Клиентова Мария Ивановна %1</td><td>ж</td>"
                               "<td align=\"right\">%2</td><td align=\"right\">%3,00</td></tr>")
                    .arg(i)
                    .arg(i % 17)
                    .arg(i * 13 % 9000);
    page += QStringLiteral("</table><p><b>Итого:</b> %1 клиентов</p>").arg(rows);
    return page;
}

// Headless Chromium on the saved page: the median of three runs, from the
// start of the browser until it has laid the page out and painted its
// first screen (a screenshot), and until it has the document (the DOM).
void Chromium(const QString& page) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        std::printf("chromium: not on this machine\n");
        return;
    }
    QTemporaryDir dir;
    const auto run = [&](const QStringList& what) {
        QList<double> times;
        for (int i = 0; i < 3; ++i) {
            QProcess browser;
            QElapsedTimer clock;
            clock.start();
            browser.start(chromium,
                          QStringList{QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                                      QStringLiteral("--disable-gpu"),
                                      QStringLiteral("--window-size=1280,800")} +
                              what + QStringList{page});
            browser.waitForFinished(-1);
            browser.readAllStandardOutput();
            times << clock.nsecsElapsed() / 1e6;
        }
        std::sort(times.begin(), times.end());
        return times[1];
    };
    const double shot = run({QStringLiteral("--screenshot=") + dir.filePath("shot.png")});
    const double dom = run({QStringLiteral("--dump-dom")});
    std::printf("chromium: page laid out and painted %.0f ms, document read %.0f ms\n", shot, dom);
}
} // namespace

int main(int argc, char** argv) {
    CRepPane::PrepareApplication();
    QApplication app(argc, argv);
    const QString arg = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("10000");
    bool isNumber = false;
    int rows = arg.toInt(&isNumber);
    PageDoc doc;
    if (isNumber) {
        doc.SetHTML(Page(rows));
    } else {
        QFile file(arg);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "could not read %s\n", qPrintable(arg));
            return 1;
        }
        doc.SetHTML(QString::fromUtf8(file.readAll()));
        rows = int(doc.GetHTML().count(QStringLiteral("<tr")));
    }
    CRepView view;
    view.SetDocument(&doc);
    view.resize(1280, 800);
    view.show();
    QCoreApplication::processEvents();

    const PaneTiming t = TimePane(&view);
    const bool complete =
        !isNumber || (t.text.contains(QStringLiteral("Клиентова Мария Ивановна %1\t").arg(rows)) &&
                      t.text.count(QStringLiteral("Ивановна 77\t")) == 1);
    std::printf("%d rows, %lld KB: %s%s\n", rows, qlonglong(doc.GetHTML().toUtf8().size() / 1024),
                qPrintable(PaneTimingLine(t)), complete ? "" : ", PAGE NOT COMPLETE");
    // The same page again in the same pane (the engine running already).
    const PaneTiming again = TimePane(&view);
    std::printf("again: %s\n", qPrintable(PaneTimingLine(again)));
    if (argc > 2 && !view.grab().save(QString::fromLocal8Bit(argv[2])))
        std::fprintf(stderr, "could not write %s\n", argv[2]);

    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("page.html"));
    QString error;
    if (!doc.SaveHTML(saved, &error))
        std::fprintf(stderr, "%s\n", qPrintable(error));
    else
        Chromium(saved);
    return complete ? 0 : 1;
}
