#pragma once
// The pane that shows a report page: a browser engine (Qt WebEngine), since a
// report page is an HTML document (templates, saved pages, print) of any size,
// up to tens of thousands of rows, and the engine lays it out in a process of
// its own while the window goes on answering.
//
// The page goes to the engine through a file of the pane's own (the engine
// takes no more than 2 MB of HTML handed over in memory), written on a worker
// thread so that the window goes on answering however long the page; the
// file lives while the page is shown and goes with the next page or the
// pane. It holds the page as the screen shows it (CRepScreenPage): what is
// off the screen is not laid out until it comes near it. The engine is
// started with an empty page as soon as the pane is made, so the first page
// does not wait for it.
//
// Clicked links do not navigate: the pane hands them on (linkClicked), except
// "#name" links of the page itself, which scroll it. Print and PDF go through
// the engine's own PDF of the page as saved.
#include "framework/core/report/rep_screen_page.h"

#include <QList>
#include <QPageLayout>
#include <QPointF>
#include <QUrl>
#include <QWebEngineView>

template <typename T> class QFutureWatcher;

class CRepPane : public QWebEngineView {
    Q_OBJECT
public:
    explicit CRepPane(QWidget* parent = nullptr);
    ~CRepPane() override;

    // The attribute of the page's root that lays every part of the page out
    // as printed, even what the pane leaves aside until it comes near the
    // screen: for a question about the whole page (its width, its text).
    static constexpr const char* kWholeLayout = CRepScreenPage::kWholeLayout;

    // What the engine needs before the application object is made: a
    // program that shows report panes calls it first thing in main().
    static void PrepareApplication();

    // Shows a report's page (CRepDoc's HTML); its file is written and the
    // engine loads it in the background, and it shows scrolled to `scroll`.
    // A page given later wins over one still being written or loaded. When
    // the page cannot be shown (its file not written, the engine failed),
    // pageFailed says why.
    void ShowPage(const QString& html, QPointF scroll = QPointF());
    // Whether the page last given is still being written or loaded.
    bool IsLoading() const { return m_loading; }
    // Lets the event loop run, without user input, until the page is loaded;
    // false with the reason when it could not be shown.
    bool WaitLoaded(QString* error = nullptr);

    // The width (CSS pixels) the page needs when laid out on a sheet whose
    // printable width is `width`: more than `width` when something does not
    // fit. Waits for the page as WaitLoaded does; 0 when it could not tell.
    double NeededWidth(double width);
    // The page as the engine prints it, from the page as saved (the
    // screen's cuts its long tables); waits as WaitLoaded does.
    bool WritePdf(const QString& path, const QPageLayout& layout, QString* error = nullptr);

    QPointF ScrollPosition() const;

signals:
    // A link of the page was clicked (not a "#name" link of the page itself).
    void linkClicked(const QUrl& url);
    // The page given last has been loaded (ok) or could not be.
    void pageLoaded(bool ok);
    // The page given last could not be shown, for the reason given (a text
    // for the user); pageLoaded(false) follows.
    void pageFailed(const QString& error);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class CRepPanePage;
    // The page's file written on a worker: its path, or why it is not (the
    // system's reason).
    struct Written {
        QString path;
        QString error;
    };
    static Written WritePage(const QString& html);

    // Whether a navigation to `url` stays on the page shown (a "#name") or
    // is the pane's start with an empty page.
    bool IsOwnPage(const QUrl& url) const;
    void OnWritten(QFutureWatcher<Written>* watcher, quint64 serial);
    void OnLoaded(bool ok, const QString& error = QString());

    QList<QFutureWatcher<Written>*> m_writing; // files still being written
    quint64 m_serial = 0;                      // the number of the page given last
    QString m_path;                            // the file of the page shown or loading
    QString m_html;                            // the report's HTML given last
    QUrl m_url;
    QPointF m_scroll;
    bool m_loading = false;
    bool m_started = false; // the engine has shown its empty page
    QString m_error;        // why the page given last could not be shown
};
