#include "trainings_journal.h"

#include "training_form.h"

#include "framework/core/app/runtime_class.h"
#include "framework/core/documents/document.h"
#include "framework/core/tarvik_app.h"
#include "model/tables/table_set.h"

#include <QVBoxLayout>

CJTrainings::CJTrainings(QWidget* parent)
    : CxFormView(parent), m_list(new CxSQLListCtrlEditThis(this)) {
    setFocusProxy(m_list);
    CxClassRegistry::Register(CDTraining::GetThisClass());
    SetStateVariableName(QStringLiteral("Trainings"));
    m_list->setObjectName(QStringLiteral("trainingsList"));
    // The list has no state name of its own: its columns are kept with the
    // journal's state, under "Trainings".
    m_list->SetStateVariableName(GetStateVariableName());
    Body()->addWidget(m_list, 1);
}

bool CJTrainings::OnInitialUpdate() {
    CxTable_TrainingList* t = g_pTrainingListTable;
    if (!t)
        return false;
    m_list->Begin(t, QStringLiteral("CJTrainings"));
    for (const CxField* f :
         {t->m_ROWID, t->m_TRAININGS_cString, t->m_cName, t->m_nNumberOfClients, t->m_nTimeInHours,
          t->m_dDate, t->m_cTrainers, t->m_cComment, t->m_nForTypeText, t->m_DONORS_cString,
          t->m_cFCompanyName, t->m_RGCODE_cOrgName, t->m_RGCODE_cOrgID, t->m_nTrainingTypeText})
        m_list->RegisterField(f);
    m_list->EnableFolders(t->m_cName, t->m_bIsFolder, t->m_nGroupID);
    m_list->SetDXEditorClass(CDTraining::GetThisClass());
    if (!m_list->End())
        return false;
    return CxFormView::OnInitialUpdate();
}

void CJTrainings::OnInitialSetTitle(CxDocument* document) {
    if (document)
        document->SetTitle(CTarvikApp::TranslateString(QStringLiteral("Проведенные тренинги"),
                                                       QStringLiteral("msgTraningsProv"), 1));
}

void CJTrainings::OnOpenArguments(const QStringList& arguments) {
    bool ok = false;
    const qint64 key = arguments.value(0).toLongLong(&ok);
    if (ok && key > 0)
        m_list->SelectKey(key);
}

bool CJTrainings::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    return m_list->CanProcessCommand(id, ui) || CxFormView::CanProcessCommand(id, ui);
}

bool CJTrainings::ProcessCommand(unsigned id) {
    // The list runs its own commands, and only while they are enabled.
    return m_list->OnCmdMsg(id, nullptr) || CxFormView::ProcessCommand(id);
}

void CJTrainings::StoreState() {
    CxFormView::StoreState();
    m_list->StoreState();
}

void CJTrainings::RestoreState() {
    CxFormView::RestoreState();
    m_list->RestoreState();
}
