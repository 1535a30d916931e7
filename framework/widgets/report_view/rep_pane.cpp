#include "rep_pane.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <cctype>
#include <unistd.h>

namespace {
constexpr CxTr Tr;

// The escapes %XX of a text decoded; a "%" that starts none stays as it is.
QString DecodeEscapes(const QString& text) {
    const QByteArray in = text.toUtf8();
    QByteArray out;
    out.reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size() && isxdigit(uchar(in[i + 1])) &&
            isxdigit(uchar(in[i + 2]))) {
            out += char(QByteArray(in.constData() + i + 1, 2).toInt(nullptr, 16));
            i += 2;
        } else {
            out += in[i];
        }
    }
    return QString::fromUtf8(out);
}

// The address of a clicked link as the page wrote it. The engine escapes
// what is not ASCII in an address of a kind it does not know (a command
// address) and leaves a "%" of its text as it stands; QUrl then escapes
// every "%" once more when one of them starts no escape. Web addresses are
// the engine's own kind and stay.
QUrl PageAddress(const QUrl& url) {
    static const QStringList web = {QStringLiteral("http"), QStringLiteral("https"),
                                    QStringLiteral("mailto"), QStringLiteral("file")};
    if (web.contains(url.scheme().toLower()))
        return url;
    return QUrl(DecodeEscapes(QUrl::fromPercentEncoding(url.toEncoded())));
}

// The page as the pane shows it: its own, with a style of the pane's that is
// never in the page saved or printed. A chart is laid out and painted only
// when it comes near the screen, so a page of hundreds of charts shows its
// first screenful at once, is in place in a fraction of the time and memory,
// and scrolls and resizes without laying out what is not seen. A chart not
// laid out yet holds the place of one of the usual size; once seen it keeps
// its own. The engine contains no table box, so a chart is made a block for
// this; it looks the same. The root's CRepPane::kWholeLayout lays them all
// out.
QByteArray PageForScreen(const QString& html) {
    const QString style =
        QStringLiteral("<style>@media screen{html:not([%1]) table.chart{display:block;"
                       "content-visibility:auto;contain-intrinsic-size:auto 330px auto 200px}}"
                       "</style>")
            .arg(QLatin1String(CRepPane::kWholeLayout));
    static const QRegularExpression headEnd(QStringLiteral("</head\\s*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression body(QStringLiteral("<body[^>]*>"),
                                         QRegularExpression::CaseInsensitiveOption);
    QString page = html;
    if (const QRegularExpressionMatch m = headEnd.match(page); m.hasMatch())
        page.insert(m.capturedStart(), style);
    else if (const QRegularExpressionMatch b = body.match(page); b.hasMatch())
        page.insert(b.capturedEnd(), style);
    else
        page += style;
    return page.toUtf8();
}

QString RendererGone() {
    return Tr("Программа показа страниц отчета завершилась с ошибкой", "CRepPane::Renderer");
}
} // namespace

// The pane's page: a clicked link goes to the pane instead of navigating,
// and nothing but the pane's own page is ever loaded (no forms, no going
// back to a page whose file is gone).
class CRepPanePage : public QWebEnginePage {
public:
    explicit CRepPanePage(CRepPane* pane) : QWebEnginePage(pane), m_pane(pane) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        if (m_pane->IsOwnPage(url))
            return true;
        if (type == NavigationTypeLinkClicked && isMainFrame)
            emit m_pane->linkClicked(PageAddress(url));
        return false;
    }
    // A report page runs no scripts; what the engine says on the page's
    // console (its own notes on the page's layout) is no one's business.
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    CRepPane* m_pane;
};

CRepPane::CRepPane(QWidget* parent) : QWebEngineView(parent) {
    auto* page = new CRepPanePage(this);
    // A report page needs no scripts of its own; the pane's own questions
    // (scroll, width) run in a world of their own, which this does not stop.
    page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    page->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    setPage(page);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        // Only the end of the load of the page given last counts (not a page
        // given before it, not a move to an anchor of the page).
        if (!m_loading || info.url().adjusted(QUrl::RemoveFragment) != m_url ||
            info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            return;
        OnLoaded(info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        if (m_loading)
            OnLoaded(false);
    });
}

CRepPane::~CRepPane() = default;

void CRepPane::PrepareApplication() {
    // The engine draws through a graphics context shared with the windows'.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine's renderer refuses to start inside its sandbox as root (a
    // container, a build machine); there it runs without one.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

bool CRepPane::ShowPage(const QString& html, QPointF scroll, QString* error) {
    auto file = std::make_unique<QTemporaryFile>(
        QDir::temp().filePath(QStringLiteral("kelda-report-XXXXXX.html")));
    if (!file->open() || file->write(PageForScreen(html)) < 0 || !file->flush()) {
        if (error)
            *error = Tr("Не удалось записать временный файл страницы отчета: {error}",
                        "CRepPane::ShowPage")
                         .replace(QLatin1String("{error}"), file->errorString());
        return false;
    }
    file->close();
    m_url = QUrl::fromLocalFile(file->fileName());
    m_scroll = scroll;
    m_loading = true;
    m_loadFailed = false;
    load(m_url);
    // The page shown before is left now; its file may go.
    m_file = std::move(file);
    return true;
}

void CRepPane::OnLoaded(bool ok) {
    m_loading = false;
    m_loadFailed = !ok;
    if (ok && !m_scroll.isNull())
        page()->runJavaScript(
            QStringLiteral("window.scrollTo(%1,%2)").arg(m_scroll.x()).arg(m_scroll.y()),
            QWebEngineScript::ApplicationWorld);
    emit pageLoaded(ok);
}

bool CRepPane::IsOwnPage(const QUrl& url) const {
    return !m_url.isEmpty() && url.adjusted(QUrl::RemoveFragment) == m_url;
}

bool CRepPane::WaitLoaded(QString* error) {
    if (m_loading) {
        QEventLoop loop;
        connect(this, &CRepPane::pageLoaded, &loop, &QEventLoop::quit);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        // The user's input waits: what is asked of the page is asked of the
        // page as it is now.
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (m_loadFailed || m_url.isEmpty()) {
        if (error)
            *error = m_url.isEmpty()
                         ? Tr("Отчет еще не сформирован", "CRepPane::WaitLoaded")
                         : Tr("Не удалось показать страницу отчета", "CRepPane::WaitLoaded");
        return false;
    }
    return true;
}

double CRepPane::NeededWidth(double width) {
    if (!WaitLoaded())
        return 0;
    // The page laid out whole, as wide as the sheet: what overflows it shows
    // in the document's scroll width. The page's own width and the pane's
    // layout come back after.
    const QString script =
        QStringLiteral("(function(w,a){var e=document.documentElement,s=e.style.width;"
                       "e.setAttribute(a,'');e.style.width=w+'px';var n=e.scrollWidth;"
                       "e.style.width=s;e.removeAttribute(a);return n;})(%1,'%2')")
            .arg(width)
            .arg(QLatin1String(CRepPane::kWholeLayout));
    double needed = 0;
    bool done = false;
    QEventLoop loop;
    QPointer<QEventLoop> guard(&loop);
    page()->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                          [&needed, &done, guard](const QVariant& result) {
                              needed = result.toDouble();
                              done = true;
                              if (guard)
                                  guard->quit();
                          });
    connect(page(), &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    return needed;
}

bool CRepPane::WritePdf(const QString& path, const QPageLayout& layout, QString* error) {
    if (!WaitLoaded(error))
        return false;
    bool ok = false;
    bool done = false;
    QEventLoop loop;
    connect(page(), &QWebEnginePage::pdfPrintingFinished, &loop,
            [&](const QString& written, bool success) {
                if (written != path)
                    return;
                ok = success;
                done = true;
                loop.quit();
            });
    connect(page(), &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
    page()->printToPdf(path, layout);
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done && error)
        *error = RendererGone();
    return ok;
}

QPointF CRepPane::ScrollPosition() const {
    return page()->scrollPosition();
}

void CRepPane::contextMenuEvent(QContextMenuEvent* event) {
    // Only what a report page is for: copying its text.
    QMenu menu(this);
    QAction* copy = menu.addAction(Tr("Копировать", "CRepPane::Copy"), this,
                                   [this] { page()->triggerAction(QWebEnginePage::Copy); });
    copy->setEnabled(hasSelection());
    menu.addAction(Tr("Выделить все", "CRepPane::SelectAll"), this,
                   [this] { page()->triggerAction(QWebEnginePage::SelectAll); });
    menu.exec(event->globalPos());
}
