#include "tab_form_view.h"

#include "framework/core/documents/document.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/lists/sql_list_ctrl.h"
#include "tab.h"

#include <QVBoxLayout>

CxTabFormView::CxTabFormView(QWidget* parent) : CxFormView(parent), m_tab(new CxTab(this)) {
    m_tab->setObjectName(QStringLiteral("tabs"));
    Body()->addWidget(m_tab, 1);
    connect(m_tab, &QTabWidget::currentChanged, this, &CxTabFormView::UpdateTitle);
    // The keys given to the window go to the list of the tab shown.
    connect(m_tab, &QTabWidget::currentChanged, this,
            [this](int index) { setFocusProxy(m_tab->GetTabWindow(index, false)); });
}

QString CxTabFormView::GetTitleFormatString() const {
    return QString();
}

void CxTabFormView::OnInitialSetTitle(CxDocument*) {
    UpdateTitle();
}

void CxTabFormView::UpdateTitle() {
    const QString format = GetTitleFormatString();
    const int current = m_tab->currentIndex();
    const QString tab = current >= 0 ? m_tab->tabText(current) : QString();
    const QString title =
        format.isEmpty() ? windowTitle() : QString(format).replace(QStringLiteral("%s"), tab);
    setWindowTitle(title);
    if (GetDocument())
        GetDocument()->SetTitle(title);
}

void CxTabFormView::OnOpenArguments(const QStringList& arguments) {
    if (arguments.isEmpty())
        return;
    const int index = m_tab->FindTabByClass(arguments.first());
    if (index < 0)
        return;
    m_tab->SetCurSel(index);
    if (arguments.size() < 2)
        return;
    bool ok = false;
    const qint64 key = arguments[1].toLongLong(&ok);
    if (auto* list = qobject_cast<CxSQLListCtrl*>(m_tab->GetTabWindow(index)); list && ok)
        list->SelectKey(key);
}

bool CxTabFormView::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    if (auto* target = dynamic_cast<CxCmdTarget*>(m_tab->GetTabWindow(m_tab->GetCurSel(), false)))
        if (target->OnCmdMsg(id, &ui))
            return true;
    return CxFormView::CanProcessCommand(id, ui);
}

bool CxTabFormView::ProcessCommand(unsigned id) {
    if (auto* target = dynamic_cast<CxCmdTarget*>(m_tab->GetTabWindow(m_tab->GetCurSel(), false)))
        if (target->OnCmdMsg(id, nullptr))
            return true;
    return CxFormView::ProcessCommand(id);
}

void CxTabFormView::StoreState() {
    CxFormView::StoreState();
    if (GetStateVariableName().isEmpty())
        return;
    const QMetaObject* cls = m_tab->GetTabClass(m_tab->GetCurSel());
    CTarvikApp::WriteProfileString(StateSection(), QStringLiteral("Tab"),
                                   cls ? QString::fromLatin1(cls->className()) : QString());
    for (int i = 0; i < m_tab->GetCount(); ++i)
        if (auto* list = qobject_cast<CxSQLListCtrl*>(m_tab->GetTabWindow(i, false)))
            list->StoreState();
}

void CxTabFormView::RestoreState() {
    CxFormView::RestoreState();
    if (GetStateVariableName().isEmpty())
        return;
    const int index =
        m_tab->FindTabByClass(CTarvikApp::GetProfileString(StateSection(), QStringLiteral("Tab")));
    if (index >= 0)
        m_tab->SetCurSel(index);
}
