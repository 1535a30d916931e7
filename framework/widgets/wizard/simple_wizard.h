#pragma once
// A wizard for one job: by default a single page that says what the job
// does (title, description and GetSummary) with the button that starts it,
// then its progress and log. A wizard that wants a start page first
// registers its own pages in OnInitPages (CPreStart, then CProcessor).
//
//   class CMyJob : public CSimpleWizardDialog {
//   public:
//       CMyJob() : CSimpleWizardDialog("Оптимизация", "Оптимизация базы данных",
//                                      "Таблицы будут перестроены.") {}
//       bool Process() override {
//           QString error;
//           return OptimizeDB(sql, this, Log(), &error);   // this: the progress
//       }
//   };
#include "wizard_dlg.h"
#include "wizard_pane.h"

class CSimpleWizardDialog : public CWizardDlg {
    Q_OBJECT
public:
    // caption: the window's title; title and description: what the first
    // page says, the description in the wizard's markup (wizard_pane.h).
    CSimpleWizardDialog(const QString& caption, const QString& title, const QString& description,
                        QWidget* parent = nullptr);

    QString GetWizardTitle() const override { return m_caption; }
    // The job; see CWizardPaneProcessor::Process.
    virtual bool Process() = 0;
    // Said on the processor page before the run (wizard markup); by default
    // nothing beyond the title and description.
    virtual QString GetSummary() const { return QString(); }
    // The text of the button that starts the job ("Выполнить").
    void SetRunText(const QString& text) { m_runText = text; }

    // The processor page's log.
    void AddInfoMessage(const QString& text, int flag = 1);
    void AddWarning(const QString& text, int flag = 1);
    CWizardPaneProcessor* Log() const { return GetProcessorPage(); }

    const QString& GetTitle() const { return m_title; }
    const QString& GetDescription() const { return m_description; }

    // A start page with a text in the wizard's markup.
    class CPreStart : public CWizardPanePreStart {
    public:
        using CWizardPanePreStart::CWizardPanePreStart;
    };
    // The page that runs the wizard's Process, titled with the wizard's
    // title. On its own (no page before it) it shows the description above
    // the summary.
    class CProcessor : public CWizardPaneProcessor {
    public:
        explicit CProcessor(CSimpleWizardDialog* wizard);
        bool Process() override { return m_wizard->Process(); }
        QString GetPaneTitle() const override;
        QString GetSummary() const override;
        QString GetRunText() const override;

    private:
        CSimpleWizardDialog* m_wizard;
    };

protected:
    void OnInitPages() override;

private:
    QString m_caption;
    QString m_title;
    QString m_description;
    QString m_runText;
};
