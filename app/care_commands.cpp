// The application's commands of organisations, exports and database care:
// the organisation card, the configurator and the organisation list, the
// merge of organisations, backup and restore, optimisation, the database
// tests, and the exports for the accounting and analytics programs.
#include "command_ids.h"
#include "db/schema/schema_steps.h"
#include "exchange/widgets/dbf_out.h"
#include "exchange/widgets/export_csv.h"
#include "exchange/widgets/org_info_view.h"
#include "exchange/widgets/org_wizards.h"
#include "exchange/widgets/restore_converter_kelda1.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/maintenance/optimize_db_dialog.h"
#include "framework/widgets/maintenance/test_db_dialog.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/wizard/backup_wizard.h"
#include "framework/widgets/wizard/restore_wizard.h"
#include "kelda2_app.h"

#include <QCoreApplication>
#include <QProcess>

namespace {
// Work that changes the data under every window (merge, restore) starts
// only when they are all closed; a window that keeps unsaved changes stops
// it.
std::function<void()>& Restarter() {
    static auto* restarter = new std::function<void()>;
    return *restarter;
}

bool CloseAllWindows() {
    CxMDIFrameWnd* frame = CxDocManager::Instance()->Frame();
    return !frame || frame->CloseAllWindows();
}
} // namespace

void CKelda2App::OnRestore() {
    if (!CloseAllWindows())
        return;
    CSQLRestoreWizard wizard(nullptr, GetMainWnd());
    wizard.SetSchemaVersion(kCurrentSchemaVersion);
    wizard.AddConverter(new CSQLRestoreWizard_Converter_Kelda1);
    wizard.DoModal();
    if (!wizard.NeedRestart())
        return;
    CxMessage(GetMainWnd(), CxMessageIcon::Information,
              TranslateString(QStringLiteral("База данных восстановлена. Программа будет "
                                             "перезапущена."),
                              QStringLiteral("msgRestartAfterRestore"), 1));
    RestartProgram();
}

void CKelda2App::SetRestarter(std::function<void()> restarter) {
    Restarter() = std::move(restarter);
}

void CKelda2App::RestartProgram() {
    if (Restarter()) {
        Restarter()();
        return;
    }
    // This copy ends (its windows are closed already); a new one starts on
    // the restored database and brings it to the current schema.
    QWidget* main = GetMainWnd();
    if (main && !main->close())
        return;
    QProcess::startDetached(QCoreApplication::applicationFilePath(),
                            QCoreApplication::arguments().mid(1));
    QCoreApplication::quit();
}

void CKelda2App::RegisterCareCommands() {
    CxAppCommands::Add(ID_ORG_SETTINGS, [] { ShowOrgInfoSettings(); });
    CxAppCommands::Add(ID_CONFIGURATOR,
                       [] { OpenDocument(QStringLiteral("CConfiguratorFormAPP")); });
    CxAppCommands::Add(ID_ORGANISATIONS, [] { OpenDocument(QStringLiteral("CJOrgListView")); });
    CxAppCommands::Add(ID_MERGE_ORGS, [this] {
        if (!CloseAllWindows())
            return;
        CMergeOrgsWizard wizard(GetMainWnd());
        wizard.DoModal();
    });
    CxAppCommands::Add(ID_BACKUP, [this] {
        CSQLBackupWizard wizard(nullptr, GetMainWnd());
        wizard.DoModal();
    });
    CxAppCommands::Add(ID_RESTORE, [this] { OnRestore(); });
    CxAppCommands::Add(ID_OPTIMIZE, [this] {
        COptimizeDBDlg dialog(nullptr, GetMainWnd());
        dialog.DoModal();
    });
    CxAppCommands::Add(ID_TEST_DB, [this] {
        CTestDBDlg dialog(nullptr, GetMainWnd());
        dialog.DoModal();
    });
    CxAppCommands::Add(ID_EXPORT_DBF, [] {
        CDBFOut dialog;
        dialog.DoModal();
    });
    CxAppCommands::Add(ID_EXPORT_CSV, [this] {
        CExportCSV wizard(GetMainWnd());
        wizard.DoModal();
    });
}
