#include "clients_journal.h"

#include "client_card.h"

#include "clients/core/client_journal_query.h"
#include "framework/core/documents/document.h"
#include "framework/core/lists/sql_auto_complete.h"
#include "framework/core/tarvik_app.h"
#include "model/tables/table_set.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

CJClients::CJClients(QWidget* parent)
    : CxFormView(parent), m_list(new CxSQLListCtrlEditThis(this)), m_find(new QLineEdit(this)) {
    setFocusProxy(m_list);
    CDClients::RegisterClasses();
    SetStateVariableName(QStringLiteral("Clients"));
    m_list->setObjectName(QStringLiteral("clientsList"));
    m_list->SetStateVariableName(QStringLiteral("ClientsLst"));
    m_find->setObjectName(QStringLiteral("codeFilter"));
    m_find->setClearButtonEnabled(true);
    m_find->setPlaceholderText(CTarvikApp::TranslateString(QStringLiteral("начало кода клиента"),
                                                           QStringLiteral("CJClients"), 1));
    // Wide enough for its hint and the clear button: the hint tells what to type.
    m_find->setMinimumWidth(m_find->fontMetrics().horizontalAdvance(m_find->placeholderText()) +
                            m_find->fontMetrics().height() * 3);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(
        CTarvikApp::TranslateString(QStringLiteral("Найти код:"), QStringLiteral("CJClients"), 1),
        this));
    bar->addWidget(m_find);
    bar->addStretch(1);
    Body()->addLayout(bar);
    Body()->addWidget(m_list, 1);
    connect(m_find, &QLineEdit::textChanged, this, &CJClients::SetCodeFilter);
}

bool CJClients::OnInitialUpdate() {
    CxTable_ClientJournal* journal = CClientJournalQuery::Table();
    if (!journal)
        return false;
    CxTable_ClientData* c = g_pClientDataTable;
    m_list->Begin(journal, QStringLiteral("CJClients"));
    const QList<CxField*>& fields = journal->JournalFields();
    // The key and the code, the code in its colour, then the folders and the
    // other columns.
    m_list->RegisterField(fields[0]);
    m_list->RegisterField(fields[1]);
    if (CxColumnData* code = m_list->FindSColumnData(fields[1]))
        code->SetColor(0xFF0000);
    m_list->EnableFolders(journal->ClientField(c->m_cClientCode),
                          journal->ClientField(c->m_bIsFolder),
                          journal->ClientField(c->m_nGroupID));
    for (int i = 2; i < fields.size(); ++i)
        m_list->RegisterField(fields[i]);
    m_list->AddFilter(&m_filter);
    m_list->SetDXEditorClass(CDClients::GetThisClass());
    if (!m_list->End())
        return false;
    return CxFormView::OnInitialUpdate();
}

void CJClients::SetCodeFilter(const QString& prefix) {
    m_filter.ClearFilter();
    const QString text = prefix.trimmed();
    if (!text.isEmpty())
        m_filter.AddSQLFilter(QStringLiteral("{TABLE}.cClientCode LIKE ") +
                              CSQLAutoComplete::LikePrefix(text));
    // Back to the first page of the rows that pass.
    m_list->Model()->SetFolder(m_list->Model()->CurrentFolder());
}

void CJClients::OnInitialSetTitle(CxDocument* document) {
    if (document)
        document->SetTitle(CTarvikApp::TranslateString(
            QStringLiteral("Клиенты проекта"), QStringLiteral("CJClients::OnInitialSetTitle"), 1));
}

void CJClients::OnOpenArguments(const QStringList& arguments) {
    bool ok = false;
    const qint64 key = arguments.value(0).toLongLong(&ok);
    if (ok && key > 0)
        m_list->SelectKey(key);
}

bool CJClients::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    return m_list->CanProcessCommand(id, ui) || CxFormView::CanProcessCommand(id, ui);
}

bool CJClients::ProcessCommand(unsigned id) {
    // The list runs its own commands, and only while they are enabled.
    return m_list->OnCmdMsg(id, nullptr) || CxFormView::ProcessCommand(id);
}

void CJClients::StoreState() {
    CxFormView::StoreState();
    m_list->StoreState();
}

void CJClients::RestoreState() {
    CxFormView::RestoreState();
    m_list->RestoreState();
}
