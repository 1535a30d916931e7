#include "org_list_view.h"

#include "framework/core/app/record_commands.h"

#include "exchange/core/org_card.h"
#include "framework/core/documents/document.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/export/xlsx_export.h"
#include "model/tables/table_set.h"
#include "org_info_view.h"
#include "org_wizards.h"

#include <QVBoxLayout>

CJOrgListView::CxSQLListCtrlEditThis::CxSQLListCtrlEditThis(CJOrgListView* view)
    : CxSQLListCtrlEdit(view), m_view(view) {}

bool CJOrgListView::CxSQLListCtrlEditThis::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    return m_view->CanProcessCommand(id, ui) || CxSQLListCtrl::CanProcessCommand(id, ui);
}

bool CJOrgListView::CxSQLListCtrlEditThis::ProcessCommand(unsigned id) {
    CxCmdUI ui;
    if (m_view->CanProcessCommand(id, ui))
        return ui.enabled && m_view->ProcessCommand(id);
    return CxSQLListCtrl::ProcessCommand(id);
}

void CJOrgListView::CxSQLListCtrlEditThis::OnOpenRow(int) {
    ProcessCommand(ID_RECORD_EDIT);
}

CJOrgListView::CJOrgListView(QWidget* parent) : CxFormView(parent) {
    SetStateVariableName(QStringLiteral("OrgList"));
    m_list = new CxSQLListCtrlEditThis(this);
    m_list->setObjectName(QStringLiteral("OrgListCtrl"));
    Body()->addWidget(m_list);
}

bool CJOrgListView::OnInitialUpdate() {
    CxTable_OrgInf* table = g_pOrgInfTable;
    if (!table)
        return false;
    m_list->SetStateVariableName(QStringLiteral("OrgList"));
    m_list->Begin(table, QStringLiteral("CJOrgListView"));
    for (const CxField* field : {table->m_cOrgID, table->m_cOrgName, table->m_cPrjName,
                                 table->m_cCity, table->m_cRegion, table->m_cSogName})
        m_list->RegisterField(field);
    m_list->End();
    m_list->RestoreState();
    return CxFormView::OnInitialUpdate();
}

void CJOrgListView::OnInitialSetTitle(CxDocument* document) {
    if (document)
        document->SetTitle(CTarvikApp::TranslateString(
            QStringLiteral("Организации"), QStringLiteral("CJOrgListView::OnInitialSetTitle")));
}

bool CJOrgListView::HasOwnCard() const {
    return m_list->Model()->FindRow(0, 1000) >= 0;
}

bool CJOrgListView::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    switch (id) {
    case ID_RECORD_EDIT:
    case kOrgCmdOpenCard2:
    case ID_RECORD_NEW:
    case ID_RECORD_DELETE:
        // Only the list's own state decides: no dialog opens from here.
        ui.enabled = OrgListCommandEnabled(int(id), m_list->CurrentKey(), HasOwnCard());
        return true;
    case kOrgCmdSearchPanel:
    case kIdToExcel:
    case kIdFileToExcel:
        // The list's own search panel and export (past this view, which
        // routes the list's commands here).
        return m_list->CxSQLListCtrl::CanProcessCommand(id, ui);
    default:
        return CxFormView::CanProcessCommand(id, ui);
    }
}

bool CJOrgListView::ProcessCommand(unsigned id) {
    switch (id) {
    case ID_RECORD_EDIT:
    case kOrgCmdOpenCard2:
    case ID_RECORD_NEW:
        ShowOrgInfoSettings();
        m_list->Model()->Reload();
        m_list->SelectKey(0);
        return true;
    case kOrgCmdSearchPanel:
    case kIdToExcel:
    case kIdFileToExcel:
        return m_list->CxSQLListCtrl::ProcessCommand(id);
    case ID_RECORD_DELETE: {
        const qint64 key = m_list->CurrentKey();
        if (key < 1)
            return false;
        // The card as it is now: another copy of the program may have
        // removed it since the list was read.
        CxSQL* sql = m_list->Model()->GetConnection() ? m_list->Model()->GetConnection()
                                                      : g_pBaseSQLConnection.get();
        CxResult res = sql->Execute(QStringLiteral("SELECT ROWID,cOrgID FROM orginf WHERE ROWID=") +
                                    QString::number(key));
        if (res.isValid() && res.FetchRow() && res.LFieldValue(0) != 0) {
            CRemoveOrgWizard wizard(int(key), res.SFieldValue(1), this);
            wizard.DoModal();
        }
        m_list->Model()->Reload();
        return true;
    }
    default:
        return CxFormView::ProcessCommand(id);
    }
}
