#pragma once
// The document side of a report window, without widgets: it builds its page
// as HTML (OnInitHTML) when the view asks (Build), answers the page's links
// (OnProcessURL) and the view's report commands, and saves the page as a file
// any browser opens. The view shows GetHTML() and drives Build behind a modal
// progress dialog that implements CvProgress.
//
// A report is opened in a window by its document class: a class that a
// document template names has Q_OBJECT and a Q_INVOKABLE constructor taking
// the parent object.
#include "framework/core/containers/acc_string.h"
#include "framework/core/documents/document.h"

#include <QDate>
#include <QString>

class CvProgress;
class CxSQL;

// What a report document may ask of the view that shows it: controls are
// named by their numbers (the period end, the worker filter, ...).
class CRepViewLink {
public:
    virtual ~CRepViewLink() = default;
    // Enables or disables the control; false when the view has no such
    // control.
    virtual bool EnableControl(int id, bool enable) = 0;
};

class CRepDoc : public CxFormDocument {
    Q_OBJECT
public:
    explicit CRepDoc(QObject* parent = nullptr);
    ~CRepDoc() override;
    CRepDoc(const CRepDoc&) = delete;
    CRepDoc& operator=(const CRepDoc&) = delete;

    // The view that shows the document; null for a document without one
    // (tests, headless runs).
    CRepViewLink* GetView() const { return m_view; }
    void SetView(CRepViewLink* view) { m_view = view; }

    virtual QString GetReportTitle() = 0;
    // Writes the whole page into the buffer (which Build has emptied).
    virtual void OnInitHTML(CAccStringT<wchar_t>& html) = 0;
    // A link of the page. The default hands command addresses ("opendoc:",
    // "sqledit:", "command:", "messagebox:") to the application and answers 1;
    // 0 for any other link (the view then opens it itself).
    virtual int OnProcessURL(const QString& url);
    // A command of the view (query only: whether it may run now); 1 when
    // handled. The default handles none.
    virtual int ProcessRepViewCommand(unsigned id, int queryOnly);

    // Builds the page. Answers false without building when another build is
    // running (a build holds the connection's locks; nothing else may start
    // on it meanwhile), with the reason in `error`.
    bool Build(CvProgress* progress, QString* error = nullptr);
    // True while a build runs in this process.
    static bool IsBuilding();

    // The page as text, made from the page's buffer once after it changed:
    // a page is megabytes, and the window asks for it as it shows the page
    // (made at the end of a build, behind its progress, not then).
    QString GetHTML() const;
    CAccStringT<wchar_t>& HTMLBuffer() {
        m_textMade = false;
        return m_html;
    }
    // Replaces the page (a link that only rewrites it, such as a pivot's).
    void SetHTML(const QString& html);

    // A check of the inputs: when the condition is false, the title and text
    // are kept for the view to show as a message and the page stays empty.
    // Answers the condition.
    int RepCheckTrue(bool condition, const QString& text, const QString& title);
    QString GetCheckTitle() const { return m_checkTitle; }
    QString GetCheckText() const { return m_checkText; }

    // The progress of the running build (null outside a build or when the
    // caller gave none).
    CvProgress* GetProgress() const { return m_progress; }
    // Shows a line of progress.
    void SetProgessMessage(const QString& text, int flag = 1);

    // The connection reports run on: the base connection unless one is set.
    CxSQL* GetSQL() const;
    void SetSQL(CxSQL* sql) { m_sql = sql; }

    // Writes the page to a file in UTF-8 that declares its encoding, so a
    // browser shows it as it is shown here.
    [[nodiscard]] bool SaveHTML(const QString& path, QString* error = nullptr) const;
    // The page as a complete document: a charset declaration is added when
    // the page has none.
    static QString StandalonePage(const QString& html);

private:
    CAccStringT<wchar_t> m_html;
    mutable QString m_text; // the page as text, when made
    mutable bool m_textMade = false;
    CRepViewLink* m_view = nullptr;
    CvProgress* m_progress = nullptr;
    CxSQL* m_sql = nullptr;
    QString m_checkTitle;
    QString m_checkText;
};

// Marks a build (or another long run that holds the connection's locks) for
// its scope: the change watcher waits meanwhile, so its statements and the
// notices it would send (which drop work tables) come after the run. Nests.
class CRepBuildScope {
public:
    explicit CRepBuildScope(CxSQL* sql);
    ~CRepBuildScope();
    static int Depth();
    CRepBuildScope(const CRepBuildScope&) = delete;
    CRepBuildScope& operator=(const CRepBuildScope&) = delete;

private:
    CxSQL* m_sql;
};
