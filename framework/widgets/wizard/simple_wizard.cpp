#include "simple_wizard.h"

CSimpleWizardDialog::CSimpleWizardDialog(const QString& caption, const QString& title,
                                         const QString& description, QWidget* parent)
    : CWizardDlg(parent), m_caption(caption), m_title(title), m_description(description) {}

void CSimpleWizardDialog::OnInitPages() {
    SetProcessorPage(new CProcessor(this));
}

void CSimpleWizardDialog::AddInfoMessage(const QString& text, int flag) {
    if (CWizardPaneProcessor* log = GetProcessorPage())
        log->AddInfoMessage(text, flag);
}

void CSimpleWizardDialog::AddWarning(const QString& text, int flag) {
    if (CWizardPaneProcessor* log = GetProcessorPage())
        log->AddWarning(text, flag);
}

CSimpleWizardDialog::CProcessor::CProcessor(CSimpleWizardDialog* wizard) : m_wizard(wizard) {}

QString CSimpleWizardDialog::CProcessor::GetPaneTitle() const {
    return m_wizard->GetTitle().isEmpty() ? CWizardPaneProcessor::GetPaneTitle()
                                          : m_wizard->GetTitle();
}

QString CSimpleWizardDialog::CProcessor::GetSummary() const {
    const QString summary = m_wizard->GetSummary();
    if (!m_wizard->Pages().isEmpty() || m_wizard->GetDescription().isEmpty())
        return summary;
    return m_wizard->GetDescription() +
           (summary.isEmpty() ? QString() : QStringLiteral("\n\n") + summary);
}

QString CSimpleWizardDialog::CProcessor::GetRunText() const {
    return m_wizard->m_runText.isEmpty() ? CWizardPaneProcessor::GetRunText() : m_wizard->m_runText;
}
