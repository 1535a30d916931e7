// Pictures of the report windows, each reached through its item of the main
// menu's "Отчеты" (numbered in menu order): the window as it opens, and its
// page built with every service point ticked over the period of the data's
// daily reports (the first variant chosen where the report has variants).
#include "report_pictures.h"
#include "bench/common/window_grab.h"

#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "framework/core/sql_connection.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/documents/form_view.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/base/views/rep_base_view.h"
#include "reports/base/views/rep_params_view.h"

#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <cstdio>

namespace {
// The period of the data's daily reports; this year when there are none.
std::pair<QDate, QDate> DataPeriod() {
    CxResult r = g_pBaseSQLConnection->Execute(
        QStringLiteral("SELECT MIN(dDate),MAX(dDate) FROM dailyreport WHERE bIsFolder=0"));
    const QDate today = QDate::currentDate();
    if (!r.FetchRow() || r.SFieldValue(0).isEmpty())
        return {QDate(today.year(), 1, 1), today};
    return {QDate::fromString(r.SFieldValue(0).left(10), Qt::ISODate),
            QDate::fromString(r.SFieldValue(1).left(10), Qt::ISODate)};
}

// The actions of the report items of the menu, in order (popups walked).
void ReportItems(QMenu* menu, QList<QAction*>* items) {
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            continue;
        if (action->menu())
            ReportItems(action->menu(), items);
        else
            items->append(action);
    }
}
} // namespace

bool SaveReportPictures(CKelda2App& app, CMainFrame* frame, const QDir& out) {
    QMenu* reports = nullptr;
    for (QAction* action : frame->menuBar()->actions())
        if (action->text().remove(u'&') == QStringLiteral("Отчеты"))
            reports = action->menu();
    if (!reports) {
        std::fprintf(stderr, "the menu has no reports\n");
        return false;
    }
    QList<QAction*> items;
    ReportItems(reports, &items);
    const auto [from, to] = DataPeriod();
    bool saved = true;
    int number = 0;
    QString name;
    // A window a report opens modally is pictured and left (cancelled).
    SetModalDriver([&](QDialog* dialog) {
        saved =
            SaveWindowPicture(dialog, out.filePath(name + QStringLiteral("dialog.png"))) && saved;
    });
    for (QAction* item : std::as_const(items)) {
        ++number;
        name = QStringLiteral("report_%1_").arg(number, 2, 10, QLatin1Char('0'));
        frame->UpdateCommandUI();
        if (!item->isEnabled())
            continue;
        item->trigger();
        app.ProcessAppQueries();
        CxFormView* view = CxDocManager::Instance()->ActiveView();
        if (!view) {
            std::fprintf(stderr, "«%s» opened no window\n", qPrintable(item->text()));
            continue;
        }
        if (QMdiSubWindow* window = frame->MDIArea()->activeSubWindow())
            window->showMaximized();
        saved = SaveWindowPicture(frame, out.filePath(name + QStringLiteral("open.png"))) && saved;
        if (auto* params = qobject_cast<CRepParamsView*>(view)) {
            params->SetPeriod(from, to);
            if (params->GetPoshList())
                params->GetPoshList()->CheckByType(true, -1);
            if (auto* base = qobject_cast<CRepBaseView*>(view))
                if (CRepPresetSelList2* presets = base->GetPresetList();
                    presets && presets->model() && presets->model()->rowCount() > 0)
                    emit presets->clicked(presets->model()->index(0, 0));
        }
        if (auto* report = qobject_cast<CRepView*>(view)) {
            if (!report->OnBuild())
                std::fprintf(stderr, "«%s» did not build\n", qPrintable(item->text()));
            saved =
                SaveWindowPicture(frame, out.filePath(name + QStringLiteral("built.png"))) && saved;
        }
        frame->MDIArea()->closeAllSubWindows();
    }
    SetModalDriver({});
    return saved;
}
