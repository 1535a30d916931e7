#pragma once
// A wizard: pages one after the other ("< Назад", "Далее >"), ending on the
// processor page, whose job the user starts ("Выполнить") and whose log and
// progress show while it runs ("Отмена" then asks the job to stop); at the
// end "Готово" closes the wizard.
//
// How to make one:
//   class CMyWizard : public CWizardDlg {
//       QString GetWizardTitle() const override { return "Загрузка"; }
//       void OnInitPages() override {
//           RegisterPage(new CMyStartPage);       // pages in order
//           SetProcessorPage(new CMyProcessor);   // the last page, runs the job
//       }
//   };
//   CMyWizard wizard(parent);
//   wizard.DoModal();
// For a job without pages of its own, CSimpleWizardDialog (simple_wizard.h)
// is shorter.
//
// The wizard is the job's CvProgress: BeginProgress / SetRange / Step /
// EndProgress move the bar on the processor page, SetCountText writes the
// line under it, IsCancelled answers the user's "Отмена". The job runs on the
// user-interface thread; progress calls let the window answer the user (at
// most every few tens of milliseconds), and while it runs the change watcher
// of the base connection waits, so nothing else runs statements on the
// connection between the job's own.
#include "framework/core/progress.h"
#include "framework/widgets/dialog.h"

#include <QElapsedTimer>
#include <QList>
#include <QVariantMap>

class CWizardPane;
class CWizardPaneProcessor;
class QLabel;
class QPushButton;
class QStackedWidget;

class CWizardDlg : public CxDialog, public CvProgress {
    Q_OBJECT
public:
    explicit CWizardDlg(QWidget* parent = nullptr);
    ~CWizardDlg() override;

    // The wizard's title (the window's caption and the heading above the
    // pages).
    virtual QString GetWizardTitle() const;

    // Pages, registered in OnInitPages (which runs once, before the wizard
    // first shows). The wizard owns them.
    void RegisterPage(CWizardPane* page);
    // The page that runs the job; may change until the run starts (a page
    // that chooses the kind of job sets the processor that does it). A page
    // given here that was not registered is kept too.
    void SetProcessorPage(CWizardPaneProcessor* page);
    CWizardPaneProcessor* GetProcessorPage() const { return m_processor; }
    const QList<CWizardPane*>& Pages() const { return m_pages; }
    CWizardPane* CurrentPage() const { return m_current; }

    // An extra button at the left of the wizard's buttons.
    QPushButton* AddButton(const QString& text);

    // The variables that pages share.
    QVariant GetVar(const QString& name, const QVariant& defaultValue = QVariant()) const;
    void SetVar(const QString& name, const QVariant& value);

    // What the buttons do (callable by programs and tests alike).
    // "Далее >": the next page, or the processor page after the last one;
    // false when the current page is not valid or refuses to be left.
    bool Next();
    // "< Назад"; false on the first page and once the job has started.
    bool Back();
    // "Выполнить": runs the processor page's job once; answers its result.
    bool Run();
    // "Отмена": stops the job while it runs, else closes the wizard.
    void Cancel();

    enum class State { Pages, Running, Done };
    State GetState() const { return m_state; }
    // After the run: whether the job succeeded (its own answer, even when the
    // user's stop came after the job's last look at it), and whether the
    // user asked it to stop.
    bool Succeeded() const { return m_succeeded; }
    bool WasCancelled() const { return m_cancelled; }

    // The line under the progress bar.
    void SetCountText(const QString& text);

    // Looks at the current page's IsValid again.
    void UpdateButtons();

    // CvProgress
    void BeginProgress(const QString& title, int count) override;
    void SetRange(int count, const QString& caption) override;
    void Step(const QString& text = QString(), int steps = 1) override;
    void EndProgress(const QString& text = QString()) override;
    bool IsCancelled() const override { return m_cancelled; }

    // The buttons, for looking at their state.
    QPushButton* BackButton() const { return m_back; }
    QPushButton* NextButton() const { return m_next; }
    QPushButton* RunButton() const { return m_run; }
    QPushButton* FinishButton() const { return m_finish; }
    QPushButton* CancelButton() const { return m_cancel; }

    void reject() override;

protected:
    virtual void OnInitPages() {}
    bool OnInitDialog() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Show(CWizardPane* page);
    void AddToStack(CWizardPane* page);
    int Index(CWizardPane* page) const;
    void SetBar(int maximum, int value);
    // Lets the window answer the user; at most every kPumpMs unless forced.
    void Pump(bool force);

    static constexpr int kPumpMs = 40;

    QList<CWizardPane*> m_pages;
    CWizardPaneProcessor* m_processor = nullptr;
    CWizardPane* m_current = nullptr;
    QVariantMap m_vars;
    State m_state = State::Pages;
    bool m_succeeded = false;
    bool m_cancelled = false;
    int m_barMax = 0;
    int m_barValue = 0;
    QElapsedTimer m_pump;

    QLabel* m_title;
    QLabel* m_paneTitle;
    QStackedWidget* m_stack;
    QWidget* m_extraButtons;
    QPushButton* m_back;
    QPushButton* m_next;
    QPushButton* m_run;
    QPushButton* m_finish;
    QPushButton* m_cancel;
};
