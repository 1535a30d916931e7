// Pictures of the program's windows, for a look by eye: the main window, the
// settings dialog, the about box, the connection dialog, the windows of
// organisations, exports, data exchange and database care (opened through
// their commands, with a few rows of their own in the database), the start
// page, the journals with and without their search panels, forms and
// directory editors, every report window as it opens and
// with its page built, saved as PNG files. It judges nothing;
// scripts/window-pictures.sh runs it offscreen on a private server.
//
// Usage: kelda2_window_pictures OUTDIR [sheets]
//   With "sheets" only the sheet loading wizard's pictures are taken.
//   The server comes from KELDA2_SERVER / KELDA2_SOCKET as for the program;
//   the database "app_kelda" is made there when it is missing.
#include "app/command_ids.h"
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "app/version.h"
#include "bench/common/window_grab.h"
#include "client_pictures.h"
#include "db/schema/sql_db_updater.h"
#include "exchange/widgets/compare_changes_view.h"
#include "exchange/widgets/org_list_view.h"
#include "framework/core/sql/sql_init.h"
#include "framework/widgets/about_dialog.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/maintenance/change_journal_view.h"
#include "framework/widgets/report_view/rep_pane.h"
#include "framework/widgets/settings_dialog.h"
#include "framework/widgets/sql_connect_dialog.h"
#include "framework/widgets/wizard/wizard_dlg.h"
#include "journal_pictures.h"
#include "report_pictures.h"
#include "sheet_pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// Rows the windows of organisations and database care show: the own card,
// a received organisation with a client, a history row without its client
// (which the database test repairs and journals).
void AddCareRows() {
    for (const char* statement : {
             "INSERT IGNORE INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cCity,cRegion) VALUES "
             "(0,'ORG-OWN','Фонд «Пример»','Снижение вреда','Город','Область'),"
             "(5,'ORG-5','Партнерская организация','Проект 2','Город 2','Область')",
             "INSERT IGNORE INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,"
             "nRelCount,nRegionDataID) VALUES (900,'АБВ0190Ч`5900',0,0,0,0,5)",
             "INSERT IGNORE INTO clientdatachanges (ROWID,nClientID,dDate) VALUES "
             "(900,99999,'2020-01-01')",
         })
        if (!g_pBaseSQLConnection->Execute(QString::fromUtf8(statement)).isValid())
            qWarning("Not added: %s", statement);
}

// Two loads of the received organisation for the comparison window: a
// report only in the first, one only in the second, one changed.
void AddCompareRows() {
    for (const char* statement : {
             "INSERT IGNORE INTO cmp_loadids (nLoadID,nRegionDataID,dDate) VALUES "
             "(9001,5,'2024-03-20'),(9002,5,'2024-03-27')",
             "INSERT IGNORE INTO cmp_dailyreport (ROWID,nLoadID,dDate,nWorker1,nWorker2,nWorker3,"
             "nWorkPlace,nCrc) VALUES (1,9001,'2024-03-01',3,-1,-1,2,10),"
             "(1,9002,'2024-03-01',3,-1,-1,2,11),(2,9001,'2024-03-04',3,4,-1,2,20),"
             "(3,9002,'2024-03-05',3,-1,-1,2,30)",
             "INSERT IGNORE INTO cmp_dir (ROWID,nLoadID,cString) VALUES (2,9001,'Пункт на "
             "вокзале'),"
             "(3,9001,'Иванова А.'),(4,9001,'Петров Б.'),(7,9001,'Шприц 2 мл'),"
             "(2,9002,'Пункт на вокзале'),(3,9002,'Иванова А.'),(7,9002,'Шприц 2 мл')",
             "INSERT IGNORE INTO cmp_clients (ROWID,nLoadID,cClientID) VALUES "
             "(1,9001,'АБВ0190Ч'),(1,9002,'АБВ0190Ч')",
             "INSERT IGNORE INTO cmp_visits (ROWID,nLoadID,nReportID,nClientID,nItem,nCount) "
             "VALUES (1,9001,1,1,7,10),(1,9002,1,1,7,12)",
         })
        if (!g_pBaseSQLConnection->Execute(QString::fromUtf8(statement)).isValid())
            qWarning("Not added: %s", statement);
}

// The exchange wizards (the export writes a package; the import of it is
// refused, as it comes from this very organisation) and the comparison of
// loads with its page.
bool ExchangeWindows(CMainFrame* frame, const QDir& out, const QString& folder) {
    AddCompareRows();
    bool saved = true;
    const auto shot = [&](QWidget* window, const char* name) {
        saved = SaveWindowPicture(window, out.filePath(QString::fromLatin1(name))) && saved;
    };
    const auto command = [&](unsigned id, std::function<void(CWizardDlg*)> drive) {
        SetModalDriver([&](QDialog* dialog) {
            dialog->resize(760, 560);
            if (auto* wizard = qobject_cast<CWizardDlg*>(dialog))
                drive(wizard);
        });
        frame->RouteCommand(id);
        SetModalDriver({});
    };
    const QString package = QDir(folder).filePath(QStringLiteral("ORG-OWN.k2x"));
    command(ID_EXPORT_DATA, [&](CWizardDlg* d) {
        shot(d, "export_file.png");
        d->findChild<CxFileEdit*>()->SetPath(package);
        d->Next();
        shot(d, "export_ready.png");
        d->Run();
        shot(d, "export_done.png");
    });
    command(ID_IMPORT_DATA, [&](CWizardDlg* d) {
        d->findChild<CxFileEdit*>()->SetPath(package);
        shot(d, "import_file.png");
        d->Next();
        shot(d, "import_ready.png");
        d->Run();
        shot(d, "import_refused.png");
    });
    CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CRepCompareChanges"));
    if (auto* view = qobject_cast<CRepCompareChanges*>(CxDocManager::Instance()->ActiveView())) {
        if (QMdiSubWindow* window = frame->MDIArea()->activeSubWindow())
            window->showMaximized();
        shot(frame, "compare_loads.png");
        for (int i = 0; i < view->TreeModel()->rowCount(); ++i)
            if (QStandardItem* org = view->TreeModel()->item(i); org->text() == "ORG-5")
                for (int j = 0; j < org->rowCount(); ++j)
                    org->child(j)->setCheckState(Qt::Checked);
        view->DateCtrl()->setDate(QDate(2024, 3, 15));
        view->OnBuild();
        shot(frame, "compare_loads_page.png");
    }
    frame->MDIArea()->closeAllSubWindows();
    return saved;
}

bool CareWindows(CMainFrame* frame, const QDir& out) {
    AddCareRows();
    QTemporaryDir files;
    bool saved = true;
    const auto shot = [&](QWidget* window, const char* name) {
        saved = SaveWindowPicture(window, out.filePath(QString::fromLatin1(name))) && saved;
    };
    // Runs a command; drive gets the modal window it opens.
    const auto command = [&](unsigned id, std::function<void(QDialog*)> drive) {
        SetModalDriver([&](QDialog* dialog) {
            dialog->resize(760, 560);
            drive(dialog);
        });
        frame->RouteCommand(id);
        SetModalDriver({});
    };
    const auto wizardOf = [](QDialog* dialog) { return qobject_cast<CWizardDlg*>(dialog); };

    command(ID_ORG_SETTINGS, [&](QDialog* d) { shot(d, "org_card.png"); });
    frame->RouteCommand(ID_CONFIGURATOR);
    shot(frame, "configurator.png");
    frame->MDIArea()->closeAllSubWindows();
    frame->RouteCommand(ID_ORGANISATIONS);
    shot(frame, "org_list.png");
    if (auto* list = qobject_cast<CJOrgListView*>(CxDocManager::Instance()->ActiveView())) {
        list->List()->SelectKey(5);
        SetModalDriver([&](QDialog* d) {
            d->resize(760, 560);
            shot(d, "org_remove.png");
        });
        list->OnCmdMsg(ID_RECORD_DELETE, nullptr);
        SetModalDriver({});
    }
    frame->MDIArea()->closeAllSubWindows();
    command(ID_MERGE_ORGS, [&](QDialog* d) {
        shot(d, "merge_start.png");
        wizardOf(d)->Next();
        shot(d, "merge_summary.png");
    });
    const QString backup = files.filePath(QStringLiteral("kelda2.k2backup"));
    command(ID_BACKUP, [&](QDialog* d) {
        shot(d, "backup_file.png");
        d->findChild<CxFileEdit*>()->SetPath(backup);
        wizardOf(d)->Next();
        shot(d, "backup_ready.png");
        wizardOf(d)->Run();
        shot(d, "backup_done.png");
    });
    const QString damaged = files.filePath(QStringLiteral("damaged.k2backup"));
    QFile::copy(backup, damaged);
    if (QFile file(damaged); file.open(QIODevice::ReadWrite)) {
        file.seek(file.size() / 2);
        file.write("xx");
    }
    // Named as an archive of the previous generation, but not one.
    const QString notOld = files.filePath(QStringLiteral("kldbkp.1.bkz"));
    if (QFile file(notOld); file.open(QIODevice::WriteOnly))
        file.write("not an archive");
    command(ID_RESTORE, [&](QDialog* d) {
        d->findChild<CxFileEdit*>()->SetPath(notOld);
        wizardOf(d)->Next();
        shot(d, "restore_old_refused.png");
        d->findChild<CxFileEdit*>()->SetPath(damaged);
        wizardOf(d)->Next();
        shot(d, "restore_damaged.png");
        d->findChild<CxFileEdit*>()->SetPath(backup);
        wizardOf(d)->Next();
        wizardOf(d)->Back();
        shot(d, "restore_file.png");
        wizardOf(d)->Next();
        shot(d, "restore_ready.png");
    });
    command(ID_OPTIMIZE, [&](QDialog* d) {
        shot(d, "optimize_start.png");
        wizardOf(d)->Run();
        shot(d, "optimize_done.png");
    });
    command(ID_TEST_DB, [&](QDialog* d) {
        shot(d, "testdb_start.png");
        wizardOf(d)->Run();
        shot(d, "testdb_done.png");
        CvLogRefView journal(nullptr, d);
        journal.show();
        shot(&journal, "change_journal.png");
    });
    command(ID_EXPORT_DBF, [&](QDialog* d) { shot(d, "dbf_start.png"); });
    command(ID_EXPORT_CSV, [&](QDialog* d) { shot(d, "csv_start.png"); });
    return ExchangeWindows(frame, out, files.path()) && saved;
}
} // namespace

int main(int argc, char* argv[]) {
    CRepPane::PrepareApplication();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelda2"));
    QApplication::setApplicationVersion(QLatin1String(kKeldaVersion));
    QApplication::setOrganizationName(QStringLiteral("Kelda2"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(out.path()))
        return 1;
    // Nobody is there to answer the connection dialog.
    SetSQLConnectAsk([](SQLConnectXML&, const QString& reason) {
        std::fprintf(stderr, "%s\n", qPrintable(reason));
        return false;
    });

    // Nobody is there to answer a message either: it goes to stderr.
    SetMessageAnswerer([](CxAskKind, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return int(IDOK);
    });
    CKelda2App app;
    RegisterDBUpdater(&SchemaUpdater());
    if (!app.InitInstance()) {
        std::fprintf(stderr, "the program did not start: %s\n",
                     qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    bool saved = true;
    CMainFrame* frame = app.MainFrame();
    frame->showNormal();
    frame->resize(1100, 700);
    if (argc > 2 && qstrcmp(argv[2], "sheets") == 0) {
        frame->resize(1280, 900);
        saved = SaveSheetPictures(frame, out);
        frame->close();
        app.ExitInstance();
        return saved ? 0 : 1;
    }
    saved = SaveWindowPicture(frame, out.filePath(QStringLiteral("main_frame.png"))) && saved;

    CSettingsDialog settings(frame);
    settings.Build();
    settings.show();
    saved = SaveWindowPicture(&settings, out.filePath(QStringLiteral("settings.png"))) && saved;

    CAppAboutDlg about(app.GetAppString(APPSTR_PRODUCT_NAME), app.GetAppString(APPSTR_VERSION_TEXT),
                       CKelda2App::CreditsText(), QString(), IDR_MAINFRAME, frame);
    about.show();
    saved = SaveWindowPicture(&about, out.filePath(QStringLiteral("about.png"))) && saved;

    CSQLConnectDlg connect(frame);
    if (const SQLConnectXML* info = g_pBaseSQLConnection->GetConnectInfo())
        connect.SetInfo(*info);
    connect.SetErrorText(QStringLiteral("Не удалось подключиться к серверу базы данных."));
    connect.show();
    saved = SaveWindowPicture(&connect, out.filePath(QStringLiteral("connect.png"))) && saved;
    connect.hide();

    saved = CareWindows(frame, out) && saved;
    frame->resize(1280, 900);
    saved = SaveReportPictures(app, frame, out) && saved;
    saved = SaveJournalPictures(app, frame, out) && saved;
    saved = SaveClientPictures(frame, out) && saved;
    saved = SaveSheetPictures(frame, out) && saved;

    frame->close();
    app.ExitInstance();
    if (saved)
        std::printf("pictures in %s\n", qPrintable(out.absolutePath()));
    return saved ? 0 : 1;
}
