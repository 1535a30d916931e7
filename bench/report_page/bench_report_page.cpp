// The report pane alone with a made-up page of many rows (no database): the
// time to the first paint, the longest the window is blocked while the other
// rows come in parts (one event-loop turn each), the time until the page is
// whole, then a scroll to its end and a resize, beside the same page set in
// one piece.
//
// Usage: bench_report_page [ROWS | PAGE.html] [PICTURE.png]
//   a made-up page of ROWS rows (10000 when not given), or a saved page
//   (bench_visits_views leaves one in its OUTDIR); the picture shows the
//   middle of the whole page (where the parts meet).
// Run it under a display (xvfb-run) or with QT_QPA_PLATFORM=offscreen.
#include "framework/core/report/rep_doc.h"
#include "framework/widgets/report/rep_view.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QSet>
#include <QTextBrowser>
#include <QTextFrame>
#include <QTextTable>
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

double Ms(QElapsedTimer& clock) {
    const double ms = clock.nsecsElapsed() / 1e6;
    clock.restart();
    return ms;
}
} // namespace

int main(int argc, char** argv) {
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
    QTextBrowser* pane = view.HTMLCtrl();

    QElapsedTimer clock;
    clock.start();
    view.ShowReport();
    pane->viewport()->repaint();
    const double firstPaint = clock.nsecsElapsed() / 1e6;
    double longest = 0;
    int turns = 0;
    QElapsedTimer turn;
    // The event loop as the window runs it: each turn is one part.
    while (view.IsShowingParts()) {
        turn.start();
        QCoreApplication::processEvents();
        longest = std::max(longest, turn.nsecsElapsed() / 1e6);
        ++turns;
    }
    pane->viewport()->repaint();
    const double whole = Ms(clock);
    pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum());
    pane->viewport()->repaint();
    const double scroll = Ms(clock);
    view.resize(view.width() - 200, view.height());
    QCoreApplication::processEvents();
    pane->viewport()->repaint();
    const double resize = Ms(clock);
    const QString text = pane->toPlainText();
    // The parts should stand in line with the first rows: tables of the
    // same column count as the first part's should be as wide as it.
    QSet<int> widths;
    for (QTextFrame* frame : pane->document()->rootFrame()->childFrames())
        if (auto* table = qobject_cast<QTextTable*>(frame); table && table->columns() > 10) {
            widths.insert(
                qRound(pane->document()->documentLayout()->frameBoundingRect(table).width()));
            if (qEnvironmentVariableIsSet("BENCH_FORMATS"))
                std::printf("table %d: width %g (type %d), %lld shares\n", table->firstPosition(),
                            table->format().width().rawValue(), int(table->format().width().type()),
                            qlonglong(table->format().columnWidthConstraints().size()));
        }
    std::printf("widths of the wide tables: %s\n", qPrintable([&] {
                    QStringList list;
                    for (int w : widths)
                        list << QString::number(w);
                    return list.join(u' ');
                }()));
    const bool complete =
        !isNumber || (text.contains(QStringLiteral("Клиентова Мария Ивановна %1\n").arg(rows)) &&
                      text.count(QStringLiteral("Ивановна 77\n")) == 1);

    if (argc > 2) {
        pane->verticalScrollBar()->setValue(pane->verticalScrollBar()->maximum() / 2);
        QCoreApplication::processEvents();
        if (!view.grab().save(QString::fromLocal8Bit(argv[2])))
            std::fprintf(stderr, "could not write %s\n", argv[2]);
    }

    clock.restart();
    pane->setHtml(doc.GetHTML());
    pane->viewport()->repaint();
    const double onePiece = Ms(clock);
    std::printf("%d rows: first paint %.0f ms, %d turns, longest %.0f ms, whole after %.0f ms, "
                "scroll to end %.0f ms, resize %.0f ms%s (in one piece: %.0f ms)\n",
                rows, firstPaint, turns, longest, whole, scroll, resize,
                complete ? "" : ", PAGE NOT COMPLETE", onePiece);
    return complete ? 0 : 1;
}
