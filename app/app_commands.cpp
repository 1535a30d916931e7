// The application's commands: the table of commands that open a document by
// its command address, and the application's own command handlers.
#include "command_ids.h"
#include "exchange/transfer/exchange_helper.h"
#include "export_check.h"
#include "framework/core/app/cmd_handler_info.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/exchange/exchange_wizards.h"
#include "framework/widgets/message_box.h"
#include "kelda2_app.h"

namespace {
struct CommandAddress {
    unsigned id;
    const char* address;
};

const CommandAddress kCommandAddresses[] = {
    {ID_CLIENTS, "opendoc:CJClients"},
    {ID_DIARY, "opendoc:CJDiaryMain"},
    {ID_TRAININGS, "opendoc:CJTrainings"},
    {ID_DIRECTORIES, "opendoc:CJDirectories"},
    {ID_DIR_MATERIALS, "opendoc:CJDirectories:CJDirectoriesTab_Mat"},
    {ID_DIR_POINTS, "opendoc:CJDirectories:CJDirectoriesTab_Posh"},
    {ID_DIR_DRUGS, "opendoc:CJDirectories:CJDirectoriesTab_Drug"},
    {ID_DIR_TRAININGS, "opendoc:CJDirectories:CJDirectoriesTab_Training"},
    {ID_DIR_MATPACK, "opendoc:CJDirectories:CJDirectoriesTab_MatPack"},
    {ID_DIR_STAFF, "opendoc:CJDirectories:CJDirectoriesTab_Soc"},
    {ID_DIR_DONORS, "opendoc:CJDirectories:CJDirectoriesTab_Donors"},
    {ID_REP_PERIOD_MAT, "opendoc:CRepPeriodKeldaDoc"},
    {ID_REP_PERIOD_CONS, "opendoc:CRepPeriodKeldaConsDoc"},
    {ID_REP_COVERAGE, "opendoc:CRep_OhvatZaPeriod"},
    {ID_REP_DISTRIBUTION, "opendoc:CRepRaspredDoc"},
    {ID_REP_VISITS_SUMMARY, "opendoc:CRep_Kelda_VisSummary"},
    {ID_REP_QUARTER, "opendoc:CRep_SvodnyeDannyDlyaKvart"},
    {ID_REP_COMPARE, "opendoc:CRepCompareChanges"},
    {ID_REP_VISITS, "opendoc:CRepVisitsDoc"},
    {ID_REP_VISITS_NEW, "opendoc:CRepVisitsNewDoc"},
    {ID_REP_VISITS_REGULAR, "opendoc:CRepVisitsRegDoc"},
    {ID_REP_YEARS, "opendoc:CRep_SvodnyiPoGodam"},
    {ID_REP_NEW_CONSULT, "opendoc:CRepNewConsult"},
    {ID_REP_CLIENT_INFO, "opendoc:CRepClientInfoDoc"},
};
} // namespace

QString CKelda2App::CommandAddress(unsigned id) {
    for (const ::CommandAddress& c : kCommandAddresses)
        if (c.id == id)
            return QString::fromLatin1(c.address);
    return QString();
}

bool CKelda2App::OnMapCmdToURL(unsigned id, int code, CxCmdHandlerInfo* info) {
    const QString address = CommandAddress(id);
    // A command whose window is not part of the program yet stays disabled.
    if (code != 0 || address.isEmpty() || !CxDocManager::Instance()->CanOpen(address))
        return CPavoApp::OnMapCmdToURL(id, code, info);
    // Asked only whether the command is handled: say so without running it.
    if (info)
        return true;
    AddAppQuery(address, 0);
    return true;
}

void CKelda2App::OnExportData() {
    QString error;
    if (HasServicePointWithoutTown(nullptr, &error)) {
        CxMessage(GetMainWnd(), CxMessageIcon::None, WorkplaceTownNotFilledText());
        return;
    }
    if (!error.isEmpty()) {
        CxMessage(GetMainWnd(), CxMessageIcon::Error, error);
        return;
    }
    CKeldaSQLImportWizard_Helper helper;
    CSQLExportWizardDlg wizard(&helper, nullptr, GetMainWnd());
    wizard.DoModal();
}

void CKelda2App::OnImportData() {
    CKeldaSQLImportWizard_Helper helper;
    CSQLImportWizardDlg wizard(&helper, nullptr, GetMainWnd());
    wizard.DoModal();
}

void CKelda2App::RegisterAppCommands() {
    CxAppCommands::Add(ID_APP_ABOUT, [this] { OnAppAbout(); });
    CxAppCommands::Add(ID_START_PAGE, [] { OpenDocument(QStringLiteral("CKelda2View")); });
    CxAppCommands::Add(ID_EXPORT_DATA, [this] { OnExportData(); });
    CxAppCommands::Add(ID_IMPORT_DATA, [this] { OnImportData(); });
    RegisterCareCommands();
    RegisterSheetCommands();
}
