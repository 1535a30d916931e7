#include "error_list.h"

#include "framework/widgets/open_external.h"

#include "framework/core/app/error_log.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
QPointer<CxErrorListWnd> g_list;

QString AsHtml(const QString& text, bool html) {
    return html ? text : SafeHTML(text, kSafeHTMLBreaks);
}

// The window the list reports on stays whole above the list: a window the
// list would cover (its OK and Отмена buttons at the bottom) moves up and,
// when taller than the room left, shrinks to it.
void KeepActiveWindowInView(QMainWindow* frame) {
    auto* area = qobject_cast<QMdiArea*>(frame->centralWidget());
    if (!area)
        return;
    // The dock's new height applies to the window area now, not later.
    QCoreApplication::sendPostedEvents(frame, QEvent::LayoutRequest);
    if (frame->layout())
        frame->layout()->activate();
    QMdiSubWindow* sub = area->activeSubWindow();
    if (!sub || sub->isMaximized() || sub->isMinimized())
        return;
    const QRect room = area->viewport()->rect();
    QRect place = sub->geometry();
    if (place.height() > room.height())
        place.setHeight(room.height());
    if (place.bottom() > room.bottom())
        place.moveBottom(room.bottom());
    if (place.top() < room.top())
        place.moveTop(room.top());
    if (place != sub->geometry())
        sub->setGeometry(place);
}
} // namespace

CxErrorListWnd::CxErrorListWnd(QWidget* parent)
    : QDockWidget(CTarvikApp::TranslateString(QStringLiteral("Сообщения"),
                                              QStringLiteral("CxErrorListWnd"), 1),
                  parent),
      m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("ErrorList"));
    m_browser->setObjectName(QStringLiteral("errorListText"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &CxErrorListWnd::OpenLink);
    auto* holder = new QWidget(this);
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* clear = new QToolButton(holder);
    clear->setObjectName(QStringLiteral("errorListClear"));
    clear->setText(CTarvikApp::TranslateString(QStringLiteral("Очистить"),
                                               QStringLiteral("CxErrorListWnd"), 1));
    clear->setAutoRaise(true);
    connect(clear, &QToolButton::clicked, this, &CxErrorListWnd::Clear);
    layout->addWidget(clear, 0, Qt::AlignRight);
    layout->addWidget(m_browser, 1);
    setWidget(holder);
    for (const CxErrorLine& line : CTarvikApp::GetErrorLines())
        Append(line.text, line.html);
    connect(CxErrorLog::Instance(), &CxErrorLog::messageAdded, this, &CxErrorListWnd::Append);
}

CxErrorListWnd* CxErrorListWnd::Get() {
    if (!g_list) {
        CTarvikApp* app = CTarvikApp::Instance();
        if (auto* frame = qobject_cast<QMainWindow*>(app ? app->GetMainWnd() : nullptr))
            Install(frame);
    }
    return g_list;
}

void CxErrorListWnd::Install(QMainWindow* frame) {
    if (!frame || g_list)
        return;
    g_list = new CxErrorListWnd(frame);
    frame->addDockWidget(Qt::BottomDockWidgetArea, g_list);
    g_list->hide();
}

void CxErrorListWnd::ShowList() {
    if (CxErrorListWnd* list = Get()) {
        const bool wasHidden = list->isHidden();
        list->show();
        // A few lines high: the window it reports on (and its OK button)
        // stays in view.
        if (wasHidden)
            if (auto* frame = qobject_cast<QMainWindow*>(list->parentWidget())) {
                const int lines = list->fontMetrics().lineSpacing() * 6 + 40;
                if (list->height() > lines || list->height() < 40)
                    frame->resizeDocks({list}, {qMin(lines, frame->height() / 3)}, Qt::Vertical);
                KeepActiveWindowInView(frame);
            }
        list->raise();
        list->m_browser->verticalScrollBar()->setValue(
            list->m_browser->verticalScrollBar()->maximum());
    }
}

void CxErrorListWnd::Append(const QString& text, bool html) {
    if (html) {
        QTextDocument plain;
        plain.setHtml(text);
        m_lines << plain.toPlainText();
    } else {
        m_lines << text;
    }
    m_browser->append(AsHtml(text, html));
    m_browser->verticalScrollBar()->setValue(m_browser->verticalScrollBar()->maximum());
}

void CxErrorListWnd::Clear() {
    m_lines.clear();
    m_browser->clear();
    CTarvikApp::ClearErrorMessages();
}

void CxErrorListWnd::OpenLink(const QUrl& url) {
    // The address as the page wrote it: a "%" in its text stays a "%".
    const QString address = CxLinkAddress(url);
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https") ||
        url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (!CxDocManager::Instance()->ProcessAddress(address))
        CTarvikApp::AddAppQuery(address);
}
