#include "pane_timing.h"

#include "framework/widgets/report_view/rep_view.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QtTest/QTest>
#include <algorithm>
#include <memory>
#include <optional>

namespace {
double ResidentMb(qint64 pid) {
    QFile status(pid > 0 ? QStringLiteral("/proc/%1/status").arg(pid)
                         : QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// The wall clock, which the engine's own records count from.
double NowMs() {
    return double(QDateTime::currentMSecsSinceEpoch());
}

// Runs a script in the page and waits for its answer.
QVariant Ask(CRepPane* pane, const QString& script) {
    auto answer = std::make_shared<std::optional<QVariant>>();
    pane->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [answer](const QVariant& v) { *answer = v; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, 600000))
        return QVariant();
    return answer->value_or(QVariant());
}

// The longest gap between turns of the event loop while it is watched.
class BlockWatch {
public:
    BlockWatch() {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_since.nsecsElapsed() / 1e6);
            m_since.restart();
        });
        m_since.start();
        m_timer.start();
    }
    // The longest gap since the watch began or was last asked.
    double TakeLongest() {
        m_longest = std::max(m_longest, m_since.nsecsElapsed() / 1e6);
        const double longest = std::max(0.0, m_longest - 5);
        m_longest = 0;
        return longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_longest = 0;
};
} // namespace

PaneTiming TimePane(CRepView* view) {
    PaneTiming t;
    CRepPane* pane = view->HTMLCtrl();
    BlockWatch watch;
    QElapsedTimer clock;
    const double start = NowMs();
    clock.start();
    view->ShowReport();
    if (!pane->WaitLoaded())
        return t;
    // The whole page laid out: its height needs every row placed.
    const QVariantList figures =
        Ask(pane, QStringLiteral("(function(){var h=document.documentElement.scrollHeight;"
                                 "var p=performance.getEntriesByName('first-contentful-paint');"
                                 "return [performance.timeOrigin, p.length?p[0].startTime:-1, h];"
                                 "})()"))
            .toList();
    t.whole = clock.nsecsElapsed() / 1e6;
    t.loadBlock = watch.TakeLongest();
    if (figures.size() == 3 && figures[1].toDouble() >= 0)
        t.firstScreenful = figures[0].toDouble() + figures[1].toDouble() - start;

    clock.restart();
    const double bottom = figures.value(2).toDouble();
    pane->page()->runJavaScript(QStringLiteral("window.scrollTo(0, %1)").arg(bottom),
                                QWebEngineScript::ApplicationWorld);
    const bool scrolled = QTest::qWaitFor(
        [&] { return pane->ScrollPosition().y() > bottom / 2 || bottom < 2000; }, 600000);
    t.scroll = scrolled ? clock.nsecsElapsed() / 1e6 : -1;
    t.scrollBlock = watch.TakeLongest();

    clock.restart();
    QWidget* window = view->window();
    window->resize(window->width() - 200, window->height());
    QTest::qWait(0);
    Ask(pane, QStringLiteral("document.documentElement.scrollHeight"));
    t.resize = clock.nsecsElapsed() / 1e6;
    window->resize(window->width() + 200, window->height());

    t.resizeBlock = watch.TakeLongest();
    t.longestBlock = std::max({t.loadBlock, t.scrollBlock, t.resizeBlock});
    t.rendererMb = ResidentMb(pane->page()->renderProcessPid());
    t.programMb = ResidentMb(0);
    auto text = std::make_shared<std::optional<QString>>();
    pane->page()->toPlainText([text](const QString& plain) { *text = plain; });
    if (QTest::qWaitFor([&] { return text->has_value(); }, 600000))
        t.text = text->value_or(QString());
    return t;
}

QString PaneTimingLine(const PaneTiming& t) {
    return QStringLiteral("first screenful %1 ms   whole page %2 ms   longest block %3 ms "
                          "(load %8, scroll %9, resize %10)   scroll to end %4 ms   resize %5 ms   "
                          "renderer %6 MB, program %7 MB")
        .arg(t.firstScreenful, 0, 'f', 0)
        .arg(t.whole, 0, 'f', 0)
        .arg(t.longestBlock, 0, 'f', 0)
        .arg(t.scroll, 0, 'f', 0)
        .arg(t.resize, 0, 'f', 0)
        .arg(t.rendererMb, 0, 'f', 0)
        .arg(t.programMb, 0, 'f', 0)
        .arg(t.loadBlock, 0, 'f', 0)
        .arg(t.scrollBlock, 0, 'f', 0)
        .arg(t.resizeBlock, 0, 'f', 0);
}
