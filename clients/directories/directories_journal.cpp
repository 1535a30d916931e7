#include "directories_journal.h"

#include "core/directory_kinds.h"
#include "directories_tabs.h"
#include "framework/core/app/runtime_class.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/pages/tab.h"

namespace {
// The page classes, so that the tabs can be made by name.
const QList<const QMetaObject*>& TabClasses() {
    static const QList<const QMetaObject*> classes{
        CJDirectoriesTab_Mat::GetThisClass(),     CJDirectoriesTab_Posh::GetThisClass(),
        CJDirectoriesTab_Drug::GetThisClass(),    CJDirectoriesTab_Training::GetThisClass(),
        CJDirectoriesTab_MatPack::GetThisClass(), CJDirectoriesTab_Soc::GetThisClass(),
        CJDirectoriesTab_Donors::GetThisClass(),  CJDirectoriesTab_MatGroup::GetThisClass(),
    };
    return classes;
}
} // namespace

CJDirectories::CJDirectories(QWidget* parent) : CxTabFormView(parent) {
    SetStateVariableName(QStringLiteral("Directories"));
    for (const QMetaObject* cls : TabClasses())
        CxClassRegistry::Register(cls);
}

QString CJDirectories::GetTitleFormatString() const {
    return CTarvikApp::TranslateString(QStringLiteral("Справочники: %s"),
                                       QStringLiteral("msgDirectories"), 1);
}

void CJDirectories::AddTabs() {
    for (const CxDirectoryTab& tab : DirectoryTabs())
        if (tab.shown)
            Tab()->AddTab(DirectoryTabTitle(tab), CxClassRegistry::Find(tab.pageClass), tab.icon);
}

bool CJDirectories::OnInitialUpdate() {
    AddTabs();
    return CxTabFormView::OnInitialUpdate();
}

void CJDirectories::OnSettingsChanged() {
    const QMetaObject* current = Tab()->GetTabClass(Tab()->GetCurSel());
    while (Tab()->GetCount() != 0)
        Tab()->RemoveTab(0);
    AddTabs();
    if (current)
        Tab()->SetCurSel(Tab()->FindTabByClass(QString::fromLatin1(current->className())));
    OnInitialSetTitle(GetDocument());
}
