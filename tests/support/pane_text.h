#pragma once
// A report pane's page read and clicked as a user does, once the engine has
// loaded it. Header-only: it needs the report view that its tests link
// anyway.
#include "framework/widgets/report_view/rep_pane.h"

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <memory>
#include <optional>

// Runs a script of the pane's own in the page and waits for its answer
// (invalid when none came).
inline QVariant AskPane(CRepPane* pane, const QString& script) {
    // Shared with the engine's answer, which may come after a timeout.
    auto answer = std::make_shared<std::optional<QVariant>>();
    pane->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [answer](const QVariant& v) { *answer = v; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, 60000))
        return QVariant();
    return **answer;
}

// The page's text, the whole page's as a user who reads it to its end sees
// it (the engine leaves out what it has not laid out yet): cells of a row
// stand apart by tabs, rows and blocks by line breaks.
inline QString PaneText(CRepPane* pane) {
    if (!pane->WaitLoaded())
        return QStringLiteral("<the page was not loaded>");
    const QString whole = QLatin1String(CRepPane::kWholeLayout);
    if (!AskPane(pane, QStringLiteral("document.documentElement.setAttribute('%1','');"
                                      "document.documentElement.scrollHeight")
                           .arg(whole))
             .isValid())
        return QStringLiteral("<the engine did not answer>");
    auto text = std::make_shared<std::optional<QString>>();
    pane->page()->toPlainText([text](const QString& plain) { *text = plain; });
    const bool read = QTest::qWaitFor([&] { return text->has_value(); }, 60000);
    AskPane(pane, QStringLiteral("document.documentElement.removeAttribute('%1')").arg(whole));
    if (!read)
        return QStringLiteral("<the engine gave no text>");
    return **text;
}

// Clicks with the mouse the element of the page that `selector` (CSS) finds,
// scrolled into sight first: the engine follows a command address only from
// a user's click. False when the page has no such element.
inline bool ClickInPane(CRepPane* pane, const QString& selector) {
    // A pane the window gives no room shows nothing to click.
    if (!pane->WaitLoaded() || pane->focusProxy()->height() < 20)
        return false;
    const QString script =
        QStringLiteral("(function(){var e=document.querySelector('%1');if(!e)return null;"
                       "e.scrollIntoView({block:'center'});var r=e.getBoundingClientRect();"
                       "return [r.left+r.width/2,r.top+r.height/2,window.scrollY];})()")
            .arg(QString(selector).replace(u'\'', QLatin1String("\\'")));
    auto answer = std::make_shared<std::optional<QVariant>>();
    pane->page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                                [answer](const QVariant& v) { *answer = v; });
    if (!QTest::qWaitFor([&] { return answer->has_value(); }, 60000))
        return false;
    const QVariantList point = (*answer)->toList();
    if (point.size() != 3)
        return false;
    // The click goes where the window shows the element: once the engine
    // has shown the page scrolled.
    const double scrolled = point[2].toDouble();
    if (!QTest::qWaitFor([&] { return qAbs(pane->ScrollPosition().y() - scrolled) < 1; }, 60000))
        return false;
    QTest::mouseClick(pane->focusProxy(), Qt::LeftButton, {},
                      QPoint(qRound(point[0].toDouble()), qRound(point[1].toDouble())));
    return true;
}
