#pragma once
// The pane that shows a report page: a browser engine (Qt WebEngine), since a
// report page is an HTML document (templates, saved pages, print) of any size,
// up to tens of thousands of rows, and the engine lays it out in a process of
// its own while the window goes on answering.
//
// The page goes to the engine through a file of the pane's own (the engine
// takes no more than 2 MB of HTML handed over in memory); the file lives
// while the page is shown and goes with the next page or the pane. It holds
// the page with a style of the pane's: charts off the screen are not laid
// out until they come near it.
//
// Clicked links do not navigate: the pane hands them on (linkClicked), except
// "#name" links of the page itself, which scroll it. Print and PDF go through
// the engine's own PDF of the page.
#include <QPageLayout>
#include <QPointF>
#include <QUrl>
#include <QWebEngineView>
#include <memory>

class QTemporaryFile;

class CRepPane : public QWebEngineView {
    Q_OBJECT
public:
    explicit CRepPane(QWidget* parent = nullptr);
    ~CRepPane() override;

    // The attribute of the page's root that lays every part of the page out
    // as printed, even what the pane leaves aside until it comes near the
    // screen: for a question about the whole page (its width, its text).
    static constexpr const char* kWholeLayout = "data-whole-layout";

    // What the engine needs before the application object is made: a
    // program that shows report panes calls it first thing in main().
    static void PrepareApplication();

    // Shows a page (a whole HTML document, in UTF-8 as it declares); the
    // engine loads it in the background and it shows scrolled to `scroll`.
    // False with the reason when its file could not be written.
    bool ShowPage(const QString& html, QPointF scroll = QPointF(), QString* error = nullptr);
    // Whether the page last given is still being loaded.
    bool IsLoading() const { return m_loading; }
    // Lets the event loop run, without user input, until the page is loaded;
    // false with the reason when the engine could not show it.
    bool WaitLoaded(QString* error = nullptr);

    // The width (CSS pixels) the page needs when laid out on a sheet whose
    // printable width is `width`: more than `width` when something does not
    // fit. Waits for the page as WaitLoaded does; 0 when it could not tell.
    double NeededWidth(double width);
    // The page as the engine prints it; waits as WaitLoaded does.
    bool WritePdf(const QString& path, const QPageLayout& layout, QString* error = nullptr);

    QPointF ScrollPosition() const;

signals:
    // A link of the page was clicked (not a "#name" link of the page itself).
    void linkClicked(const QUrl& url);
    // The page given last has been loaded (ok) or could not be.
    void pageLoaded(bool ok);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class CRepPanePage;
    // Whether a navigation to `url` stays on the page shown (a "#name").
    bool IsOwnPage(const QUrl& url) const;
    void OnLoaded(bool ok);

    std::unique_ptr<QTemporaryFile> m_file;
    QUrl m_url;
    QPointF m_scroll;
    bool m_loading = false;
    bool m_loadFailed = false;
};
