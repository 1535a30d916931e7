// Pictures of the journals of daily reports and of directories, opened
// through their tool-bar commands on the data there is: the start page; the
// daily report journal, a new daily report form and the latest stored one;
// the search panel of each journal that has one; every tab of the
// directories journal, and each directory's editor empty and with its first
// stored item. Forms are closed unsaved.
#include "journal_pictures.h"
#include "bench/common/window_grab.h"

#include "app/command_ids.h"
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql_connection.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "framework/widgets/pages/tab_form_view.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
qint64 FirstKey(const QString& statement) {
    CxResult r = g_pBaseSQLConnection->Execute(statement);
    return r.FetchRow() && !r.SFieldValue(0).isEmpty() ? r.LFieldValue(0) : -1;
}

void Maximise(CMainFrame* frame) {
    if (QMdiSubWindow* window = frame->MDIArea()->activeSubWindow())
        window->showMaximized();
}
} // namespace

bool SaveJournalPictures(CKelda2App& app, CMainFrame* frame, const QDir& out) {
    bool saved = true;
    const auto shot = [&](const QString& name) {
        Maximise(frame);
        saved = SaveWindowPicture(frame, out.filePath(name + QStringLiteral(".png"))) && saved;
    };
    const auto command = [&](unsigned id) {
        frame->RouteCommand(id);
        app.ProcessAppQueries();
    };
    // Forms are left unsaved: "save the changes?" is answered no.
    SetMessageAnswerer([](CxAskKind, const QString&) { return int(IDNO); });
    CxDocManager* docs = CxDocManager::Instance();

    command(ID_START_PAGE);
    shot(QStringLiteral("start_page"));
    frame->MDIArea()->closeAllSubWindows();

    // The search panel switched on from the tool bar, and off again.
    const struct {
        unsigned id;
        const char* name;
    } journals[] = {{ID_CLIENTS, "clients"},
                    {ID_DIARY, "diary"},
                    {ID_TRAININGS, "trainings"},
                    {ID_ORGANISATIONS, "org_list"}};
    for (const auto& journal : journals) {
        command(journal.id);
        command(ID_SEARCH_PANEL);
        shot(QStringLiteral("%1_search").arg(QLatin1String(journal.name)));
        command(ID_SEARCH_PANEL);
        frame->MDIArea()->closeAllSubWindows();
    }

    command(ID_DIARY);
    shot(QStringLiteral("diary_journal"));
    if (docs->OpenSQLEditForm(QStringLiteral("CDDiary"), -1, EA_NEW))
        shot(QStringLiteral("diary_form_new"));
    if (const qint64 report = FirstKey(QStringLiteral(
            "SELECT MAX(ROWID) FROM dailyreport WHERE bIsFolder=0 AND nRegionDataID=0"));
        report > 0 && docs->OpenSQLEditForm(QStringLiteral("CDDiary"), report, EA_EDIT))
        shot(QStringLiteral("diary_form"));
    frame->MDIArea()->closeAllSubWindows();

    command(ID_DIRECTORIES);
    if (auto* journal = qobject_cast<CxTabFormView*>(docs->ActiveView()))
        for (int i = 0; i < journal->Tab()->count(); ++i) {
            journal->Tab()->SetCurSel(i);
            shot(QStringLiteral("directories_tab%1").arg(i + 1));
        }
    frame->MDIArea()->closeAllSubWindows();
    // Each directory's editor, and the directory type of its stored items
    // (0: only the new one).
    const struct {
        const char* form;
        int dirType;
    } editors[] = {{"CDDirMat", 3},     {"CDDirWorkPlace", 1}, {"CDDirDrugs", 4},
                   {"CDDirTrainig", 7}, {"CDDirMatPack", 0},   {"CDDirWorkers", 2},
                   {"CDDirDonors", 0}};
    for (const auto& editor : editors) {
        const QString form = QString::fromLatin1(editor.form);
        if (docs->OpenSQLEditForm(form, -1, EA_NEW))
            shot(QStringLiteral("dir_%1_new").arg(form));
        const qint64 item = editor.dirType
                                ? FirstKey(QStringLiteral("SELECT MIN(ROWID) FROM dir WHERE "
                                                          "nDirType=%1 AND bIsFolder=0")
                                               .arg(editor.dirType))
                                : -1;
        if (item > 0 && docs->OpenSQLEditForm(form, item, EA_EDIT))
            shot(QStringLiteral("dir_%1").arg(form));
        frame->MDIArea()->closeAllSubWindows();
    }
    SetMessageAnswerer({});
    return saved;
}
