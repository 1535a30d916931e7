#include "rep_pane.h"

#include "framework/core/report/rep_doc.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryFile>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QtConcurrent/QtConcurrentRun>
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

QString RendererGone() {
    return Tr("Программа показа страниц отчета завершилась с ошибкой", "CRepPane::Renderer");
}

// A page's file that could not be written, with the system's reason.
QString PageFileFailed(const QString& reason) {
    return Tr("Не удалось записать временный файл страницы отчета: {error}", "CRepPane::ShowPage")
        .replace(QLatin1String("{error}"), reason);
}

// The empty page the engine starts with.
QUrl Blank() {
    return QUrl(QStringLiteral("about:blank"));
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
        if (info.url() == Blank()) {
            // The engine has started; a page written meanwhile waited for it
            // (a load given while the empty page still loads is lost).
            if (info.status() != QWebEngineLoadingInfo::LoadStartedStatus && !m_started) {
                m_started = true;
                if (m_loading && !m_url.isEmpty())
                    load(m_url);
            }
            return;
        }
        // Only the end of the load of the page given last counts (not a page
        // given before it, not a move to an anchor of the page).
        if (!m_loading || m_url.isEmpty() || info.url().adjusted(QUrl::RemoveFragment) != m_url ||
            info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
            return;
        if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus)
            OnLoaded(true);
        else
            OnLoaded(false, Tr("Не удалось показать страницу отчета", "CRepPane::WaitLoaded"));
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        if (m_loading && !m_url.isEmpty() && m_started)
            OnLoaded(false, RendererGone());
        // A renderer that ended before the empty page was shown starts
        // again with the page written meanwhile.
        if (!m_started) {
            m_started = true;
            if (m_loading && !m_url.isEmpty())
                load(m_url);
        }
    });
    // The engine's renderer takes a second or two to start: it starts now,
    // while the user chooses what to build, not when the first page comes.
    load(Blank());
}

CRepPane::~CRepPane() {
    // A file still being written goes as soon as it is.
    for (QFutureWatcher<Written>* watcher : std::as_const(m_writing)) {
        watcher->disconnect(this);
        watcher->waitForFinished();
        if (const QString path = watcher->result().path; !path.isEmpty())
            QFile::remove(path);
    }
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

void CRepPane::PrepareApplication() {
    // The engine draws through a graphics context shared with the windows'.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine's renderer refuses to start inside its sandbox as root (a
    // container, a build machine); there it runs without one.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

CRepPane::Written CRepPane::WritePage(const QString& html) {
    // Written once and closed: the file outlives this object, and the pane
    // removes it when the page goes.
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("kelda-report-XXXXXX.html")));
    file.setAutoRemove(false);
    Written written;
    if (!file.open() || file.write(CRepScreenPage::Make(html)) < 0 || !file.flush()) {
        // The system's reason; the message around it is made on the
        // window's thread, where the dictionary is.
        written.error = file.errorString();
        if (file.isOpen())
            file.remove();
        return written;
    }
    file.close();
    written.path = file.fileName();
    return written;
}

void CRepPane::ShowPage(const QString& html, QPointF scroll) {
    const quint64 serial = ++m_serial;
    m_html = html;
    m_scroll = scroll;
    m_loading = true;
    m_error.clear();
    auto* watcher = new QFutureWatcher<Written>(this);
    m_writing.append(watcher);
    connect(watcher, &QFutureWatcherBase::finished, this,
            [this, watcher, serial] { OnWritten(watcher, serial); });
    // The text goes to the worker shared, not copied: it is only read there.
    watcher->setFuture(QtConcurrent::run(&CRepPane::WritePage, html));
}

void CRepPane::OnWritten(QFutureWatcher<Written>* watcher, quint64 serial) {
    m_writing.removeOne(watcher);
    watcher->deleteLater();
    const Written written = watcher->result();
    if (serial != m_serial) {
        // A later page was given meanwhile: this one is never shown.
        if (!written.path.isEmpty())
            QFile::remove(written.path);
        return;
    }
    if (written.path.isEmpty()) {
        OnLoaded(false, PageFileFailed(written.error));
        return;
    }
    // The page shown before is left now; its file may go.
    if (!m_path.isEmpty())
        QFile::remove(m_path);
    m_path = written.path;
    m_url = QUrl::fromLocalFile(m_path);
    if (m_started)
        load(m_url);
}

void CRepPane::OnLoaded(bool ok, const QString& error) {
    m_loading = false;
    m_error = ok ? QString() : error;
    if (ok && !m_scroll.isNull())
        page()->runJavaScript(
            QStringLiteral("window.scrollTo(%1,%2)").arg(m_scroll.x()).arg(m_scroll.y()),
            QWebEngineScript::ApplicationWorld);
    if (!ok)
        emit pageFailed(m_error);
    emit pageLoaded(ok);
}

bool CRepPane::IsOwnPage(const QUrl& url) const {
    if (m_url.isEmpty())
        return url == Blank();
    return url.adjusted(QUrl::RemoveFragment) == m_url;
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
    if (!m_error.isEmpty() || m_url.isEmpty()) {
        if (error)
            *error = m_error.isEmpty() ? Tr("Отчет еще не сформирован", "CRepPane::WaitLoaded")
                                       : m_error;
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
    // The sheets of a long report take the engine a while (a minute for
    // hundreds of them), and its print gives no progress to show.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
    // The sheets come from the page as saved, not from the screen's, whose
    // tables are cut into groups: a page of its own, loaded from a file of
    // its own, for as long as it prints.
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("kelda-print-XXXXXX.html")));
    if (!file.open() || file.write(CRepDoc::StandalonePage(m_html).toUtf8()) < 0 || !file.flush()) {
        if (error)
            *error = PageFileFailed(file.errorString());
        return false;
    }
    file.close();
    QWebEnginePage sheets(page()->profile());
    sheets.settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    sheets.settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    bool ok = false;
    bool done = false;
    QEventLoop loop;
    connect(&sheets, &QWebEnginePage::loadFinished, &loop, [&](bool loaded) {
        if (!loaded) {
            done = true;
            loop.quit();
            return;
        }
        sheets.printToPdf(path, layout);
    });
    connect(&sheets, &QWebEnginePage::pdfPrintingFinished, &loop,
            [&](const QString& written, bool success) {
                if (written != path)
                    return;
                ok = success;
                done = true;
                loop.quit();
            });
    connect(&sheets, &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
    sheets.load(QUrl::fromLocalFile(file.fileName()));
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
