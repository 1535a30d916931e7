#pragma once
// The pages of a wizard (CWizardDlg, wizard_dlg.h).
//
// CWizardPane is the base of every page: its title, whether the user may go
// on from it (IsValid), what it does when it comes into view and when the
// user leaves it forward, and the wizard's variables that pages share
// ("filename", ...).
//
// CWizardPanePreStart shows a text in the wizard's markup (below).
//
// CWizardPaneProcessor is the page that runs the wizard's job: before the
// run it shows a summary (what is about to happen); the run (Process) writes
// its lines to the page's message log and its progress to the wizard (a
// CvProgress). The page is at once a CvRunLog and a CSQLWizardLog, so every
// engine of the framework and of the program takes it as its log as it is.
//
// The wizard's markup is HTML with three additions: a line break in the
// text is a line break on the page, <warning>...</warning> is a warning in
// red, and <h1> is the page's heading. It is the caller's: data that came
// from users or from other installations must be escaped (toHtmlEscaped)
// before they go into it. Log lines are plain text: the log escapes them
// itself; "[bold]...[/bold]" marks bold words.
#include "framework/core/exchange/wizard_log.h"
#include "framework/core/run_log.h"

#include <QVariant>
#include <QWidget>

class CWizardDlg;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QTextBrowser;

// The HTML of a text in the wizard's markup.
QString CxWizardMarkupToHtml(const QString& markup);
// The HTML of one log line: the text escaped, "[bold]" marks kept as bold.
QString CxWizardLogLineToHtml(const QString& text);

class CWizardPane : public QWidget {
    Q_OBJECT
public:
    explicit CWizardPane(QWidget* parent = nullptr);

    // The title the wizard shows above the page.
    virtual QString GetPaneTitle() const;
    // Whether the user may go on from this page (the "Далее" button); a page
    // whose answer changes calls UpdateButtons.
    virtual bool IsValid() const { return true; }
    // The page came into view.
    virtual void OnSetActive() {}
    // The user goes on from the page; false keeps the page (it has told the
    // user why).
    virtual bool OnKillActive() { return true; }

    // The wizard that holds the page; null before it was registered.
    CWizardDlg* GetParent() const { return m_wizard; }
    // The wizard's variables (empty default when the page has no wizard).
    QVariant GetVar(const QString& name, const QVariant& defaultValue = QVariant()) const;
    void SetVar(const QString& name, const QVariant& value);
    // Asks the wizard to look at IsValid again.
    void UpdateButtons();

private:
    friend class CWizardDlg;
    CWizardDlg* m_wizard = nullptr;
};

class CWizardPanePreStart : public CWizardPane {
    Q_OBJECT
public:
    // markup: the page's text in the wizard's markup.
    explicit CWizardPanePreStart(const QString& markup = QString(), QWidget* parent = nullptr);

    QString GetPaneTitle() const override;
    void SetText(const QString& markup);

private:
    QTextBrowser* m_text;
};

class CWizardPaneProcessor : public CWizardPane, public CvRunLog, public CSQLWizardLog {
    Q_OBJECT
public:
    explicit CWizardPaneProcessor(QWidget* parent = nullptr);

    QString GetPaneTitle() const override;
    // The job, run once when the user starts it ("Выполнить"); true when it
    // succeeded. It reports through AddInfoMessage and AddWarning and through
    // the wizard's progress (GetParent()), and stops when the wizard's
    // IsCancelled answers true.
    virtual bool Process() = 0;
    // What the page says before the run, in the wizard's markup.
    virtual QString GetSummary() const { return m_summary; }
    void SetSummary(const QString& markup);
    // The text of the button that starts the run ("Выполнить").
    virtual QString GetRunText() const;

    // The log. Information: flag 1 starts a line of its own, 0 continues the
    // last line. Warnings: flag 1 a warning, 0 an error; each on its line.
    void AddInfoMessage(const QString& text, int flag = 1) override;
    void AddWarning(const QString& text, int flag = 1) override;
    // The log as plain text, one line per line.
    QString GetLogText() const;
    int WarningCount() const { return m_warnings; }
    int ErrorCount() const { return m_errors; }
    QPlainTextEdit* LogView() const { return m_log; }

    void OnSetActive() override;

    // The log keeps this many lines, the oldest going first.
    static constexpr int kMaxLogLines = 20000;

private:
    friend class CWizardDlg;
    void Append(const QString& html, bool newLine);
    // Before the run: the summary; from the run on: progress and log.
    void ShowRun(bool running);

    QString m_summary;
    QTextBrowser* m_summaryView;
    QWidget* m_runArea;
    QLabel* m_caption;
    QProgressBar* m_bar;
    QLabel* m_status;
    QPlainTextEdit* m_log;
    int m_warnings = 0;
    int m_errors = 0;
};
