#include "directories_tabs.h"

#include "core/directory_kinds.h"
#include "framework/widgets/forms/dxx.h"
#include "model/tables/table_set.h"

bool CJDirectoriesTab::CreateInplaceWindow(QWidget* host) {
    if (!CxSQLListCtrlEdit::CreateInplaceWindow(host))
        return false;
    const QString name = QString::fromLatin1(metaObject()->className());
    const CxDirectoryTab tab = DirectoryTab(name);
    if (!tab.table)
        return false;
    Begin(tab.table, name);
    for (const CxField* field : tab.columns)
        RegisterField(field, QString(), -1);
    if (tab.folders)
        EnableFolders(tab.table->GetNameField(), tab.table->GetFolderMarkField(),
                      tab.table->GetParentField());
    End();
    // The form is found by its class name when it is used: a form that
    // arrives later serves its tab from then on.
    SetDXEditorClass(tab.formClass);
    return true;
}

void CJDirectoriesTab::OnPreCreateFolder(CDXX& dx) {
    if (dx.IsSave())
        dx.SetField(
            g_pDirTable->m_nDirType,
            QString::number(DirectoryTab(QString::fromLatin1(metaObject()->className())).dirType));
}
