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

// The page's text: cells of a row stand apart by tabs, rows and blocks by
// line breaks.
inline QString PaneText(CRepPane* pane) {
    if (!pane->WaitLoaded())
        return QStringLiteral("<the page was not loaded>");
    // Shared with the engine's answer, which may come after a timeout.
    auto text = std::make_shared<std::optional<QString>>();
    pane->page()->toPlainText([text](const QString& plain) { *text = plain; });
    if (!QTest::qWaitFor([&] { return text->has_value(); }, 60000))
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
