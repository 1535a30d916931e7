// The visits windows on a generated database (build/bin/kelda_datagen):
// the coverage report with its detail list and the distribution of visits
// built through their windows, the first build (work tables made) and the
// build that finds the tables, and how much of a build is showing the page;
// then how the window shows a detail page of about 10,000 clients and the
// distribution over every point (bench/common/pane_timing.h); both pages are
// saved for bench_report_page. Pictures of the windows before and after a
// build go to OUTDIR.
//
// Usage: bench_visits_views OUTDIR [--socket PATH] [--database NAME]
// Run it under a display (xvfb-run) or with QT_QPA_PLATFORM=offscreen.
#include "bench/common/bench_support.h"
#include "bench/common/pane_timing.h"
#include "bench/common/window_grab.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/report/rep_progress_dlg.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/visits/core/rep_raspred_doc.h"
#include "reports/visits/core/rep_trainings_doc.h"
#include "reports/visits/core/rep_visits_variants.h"
#include "reports/visits/views/period_poshlist_view.h"
#include "reports/visits/views/period_views.h"
#include "reports/visits/views/visits_view.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QRegularExpression>
#include <QWebEngineScript>
#include <algorithm>
#include <cstdio>

namespace {
QDir g_out;

void Save(QWidget* window, const char* name) {
    SaveWindowPicture(window, g_out.filePath(QString::fromLatin1(name)));
}

// The last whole month of data ending on that date: the distribution covers
// one calendar month, and a month cut short would make its page smaller.
QDate DistributionMonth(const QDate& last) {
    const QDate month(last.year(), last.month(), 1);
    return last.day() == last.daysInMonth() ? month : month.addMonths(-1);
}

// Two presets of the bench before those of the configuration.
const char* kPresets =
    "<KDREPPRESET Title='Клиенты по пунктам' Comment='список клиентов и "
    "итоги по полу, группам и пунктам'><DETAILED><Item ID='1062'/><Item ID='1039'/>"
    "<Item ID='1010'/><Item ID='1797'/></DETAILED><SUMMARY><Item ID='1797'/><Item ID='-1'/>"
    "<Item ID='1796'/><Item ID='-1'/><Item ID='1139'/></SUMMARY></KDREPPRESET>"
    "<KDREPPRESET Title='Итоги' Comment='без списка клиентов'><SUMMARY><Item ID='1797'/>"
    "<Item ID='-1'/><Item ID='1796'/></SUMMARY></KDREPPRESET>";

bool UseConfiguration() {
    QFile file(QStringLiteral(":/config/default_config.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    const QString list = QStringLiteral("<KDREPORTPRESETS>");
    const qsizetype at = text.indexOf(list);
    if (at < 0)
        return false;
    text.insert(at + list.size(), QString::fromUtf8(kPresets));
    auto* config = new xKDConfiguration;
    if (!config->ParseConfig(text, file.fileName()))
        return false;
    CTarvikApp::SetConfig(config);
    CTarvikApp::SetProfileManager(new CxProfileManager);
    return true;
}

double Ms(QElapsedTimer& clock) {
    const double ms = clock.nsecsElapsed() / 1e6;
    clock.restart();
    return ms;
}

// Times a build through the window: first with every work table to make,
// then with the tables there (median of three). A build through the window
// ends by showing the page; that part is timed on its own too (the page
// shown again, median of three), so what is left is the document's build,
// the figure bench_visits gives.
void TimeBuilds(const char* what, CRepView* view) {
    DropCacheTables(g_pBaseSQLConnection.get());
    QElapsedTimer clock;
    clock.start();
    if (!view->OnBuild())
        std::fprintf(stderr, "%s: the build failed\n", what);
    const double first = Ms(clock);
    view->HTMLCtrl()->WaitLoaded();
    QList<double> cached;
    for (int i = 0; i < 3; ++i) {
        clock.restart();
        view->OnBuild();
        cached << Ms(clock);
        view->HTMLCtrl()->WaitLoaded();
    }
    // Handing the page to the pane; the engine loads it in the background.
    QList<double> shown;
    for (int i = 0; i < 3; ++i) {
        clock.restart();
        view->ShowReport();
        shown << Ms(clock);
        view->HTMLCtrl()->WaitLoaded();
    }
    const QString page = view->GetRepDoc()->GetHTML();
    std::printf("%-36s first build %7.0f ms   cached build %7.0f ms   of which the page shown "
                "%7.0f ms   page %6lld KB, %lld table cells\n",
                what, first, Median(cached), Median(shown), qlonglong(page.toUtf8().size() / 1024),
                qlonglong(page.count(QStringLiteral("<td"))));
}

// How the window shows its page (bench/common/pane_timing.h).
void TimeShow(const char* what, CRepView* view) {
    std::printf("%-36s %s\n", what, qPrintable(PaneTimingLine(TimePane(view))));
}
} // namespace

int main(int argc, char** argv) {
    CRepPane::PrepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelda2"));
    Q_INIT_RESOURCE(default_config);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return BenchFail(QStringLiteral("usage: bench_visits_views OUTDIR [--socket PATH] "
                                        "[--database NAME]"));
    g_out = QDir(args[1]);
    QDir().mkpath(g_out.path());
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench");
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--socket"))
            socket = args[i + 1];
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else
            return BenchFail(QStringLiteral("unknown option ") + args[i]);
    }
    if (!UseConfiguration())
        return BenchFail(QStringLiteral("the configuration does not read"));
    SQLConnectXML info = BenchServerInfo(socket, database);
    auto* sql = new CxMySQL;
    if (!sql->Connect(&info))
        return BenchFail(QStringLiteral("cannot open ") + database);
    g_pBaseSQLConnection.reset(sql);
    if (!InitTables())
        return BenchFail(QStringLiteral("the table set did not start"));
    SetMessageAnswerer([](CxAskKind, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return IDOK;
    });
    CxResult span = sql->Execute(QStringLiteral("SELECT MAX(dDate) FROM dailyreport"));
    if (!span.FetchRow())
        return BenchFail(QStringLiteral("no daily reports"));
    const QDate last = QDate::fromString(span.SFieldValue(0), QStringLiteral("yyyy-MM-dd"));

    CxMDIFrameWnd frame;
    frame.OnCreate();
    frame.resize(1280, 800);
    frame.show();
    CxDocManager::Instance()->SetFrame(&frame);
    CTarvikApp::RegisterDocTemplate(0, &CRepVisitsView::staticMetaObject,
                                    &CRepVisitsDoc::staticMetaObject, nullptr);
    CTarvikApp::RegisterDocTemplate(0, &CRepPeriodPoshlistView::staticMetaObject,
                                    &CRepRaspredDoc::staticMetaObject, nullptr);
    CTarvikApp::RegisterDocTemplate(0, &CRepTrainings::staticMetaObject,
                                    &CRepTrainingsDoc::staticMetaObject, nullptr);
    CTarvikApp::RegisterDocTemplate(0, &CRepClientInfo::staticMetaObject,
                                    &CRepClientInfoDoc::staticMetaObject, nullptr);
    CRepProgressDlg::SetDefaultShowDelay(0);
    const auto open = [&](const char* doc) {
        auto* view = qobject_cast<CRepView*>(
            CxDocManager::Instance()->OpenNewDocument(QString::fromLatin1(doc)));
        if (view) {
            // The window fills the frame, as a user sets it for a long page.
            QWidget* sub = view->parentWidget();
            while (sub && !sub->inherits("QMdiSubWindow"))
                sub = sub->parentWidget();
            if (sub)
                sub->setGeometry(QRect(QPoint(0, 0), frame.MDIArea()->viewport()->size()));
        }
        return view;
    };

    // The coverage with its detail list: the period grows until it holds
    // about 10,000 clients.
    auto* coverage = qobject_cast<CRepVisitsView*>(open("CRepVisitsDoc"));
    if (!coverage)
        return BenchFail(QStringLiteral("the visits window did not open"));
    Save(&frame, "visits_view.png");
    QDate from = last;
    for (int days = 7; days < 4000; days *= 2) {
        from = last.addDays(-days);
        CxResult n = sql->Execute(QStringLiteral("SELECT COUNT(DISTINCT nClientID) FROM "
                                                 "dailyreport JOIN dailyvisits ON "
                                                 "nReportID=dailyreport.ROWID WHERE dDate "
                                                 "BETWEEN '%1' AND '%2'")
                                      .arg(from.toString(Qt::ISODate), last.toString(Qt::ISODate)));
        if (n.FetchRow() && n.LFieldValue(0) >= 10000)
            break;
    }
    coverage->GetPoshList()->CheckByType(true, -1);
    coverage->SetPeriod(from, last);
    if (!coverage->GetPresetList()->SelectByName(QStringLiteral("Клиенты по пунктам")))
        return BenchFail(QStringLiteral("the preset with the detail list is not there"));
    TimeBuilds("coverage with details", coverage);
    Save(&frame, "visits_view_built.png");
    coverage->HTMLCtrl()->page()->runJavaScript(
        QStringLiteral("window.scrollTo(0, document.documentElement.scrollHeight / 2)"),
        QWebEngineScript::ApplicationWorld);
    Save(&frame, "visits_view_details.png");
    std::printf("  detail rows: %lld\n", qlonglong(coverage->GetRepDoc()->GetHTML().count(
                                             QStringLiteral("<td class=\"Dcl\">"))));
    if (QFile page(g_out.filePath(QStringLiteral("visits_detail_page.html")));
        !page.open(QIODevice::WriteOnly) ||
        page.write(coverage->GetRepDoc()->GetHTML().toUtf8()) < 0)
        std::fprintf(stderr, "could not write %s\n", qPrintable(page.fileName()));
    TimeShow("coverage page (detail list)", coverage);

    // The distribution of the last whole month, for every point and for the
    // first three, as bench_visits builds it.
    auto* distribution = qobject_cast<CRepVisitsView*>(open("CRepRaspredDoc"));
    if (!distribution)
        return BenchFail(QStringLiteral("the distribution window did not open"));
    CPoshList* points = distribution->GetPoshList();
    points->CheckByType(true, -1);
    distribution->SetPeriod(DistributionMonth(last), distribution->GetTo());
    Save(&frame, "distribution_view.png");
    TimeBuilds("distribution, all points", distribution);
    Save(&frame, "distribution_view_built.png");
    if (QFile page(g_out.filePath(QStringLiteral("distribution_page.html")));
        !page.open(QIODevice::WriteOnly) ||
        page.write(distribution->GetRepDoc()->GetHTML().toUtf8()) < 0)
        std::fprintf(stderr, "could not write %s\n", qPrintable(page.fileName()));
    TimeShow("distribution page, all points", distribution);
    QList<long> firstPoints = points->TickedPoints().values();
    std::sort(firstPoints.begin(), firstPoints.end());
    points->SetTickedPoints(QSet<long>(
        firstPoints.begin(), firstPoints.begin() + std::min<qsizetype>(3, firstPoints.size())));
    TimeBuilds("distribution, 3 points", distribution);
    Save(&frame, "distribution_view_3_points.png");

    auto* trainings = qobject_cast<CRepTrainings*>(open("CRepTrainingsDoc"));
    trainings->SetPeriod(last.addYears(-3), last);
    Save(&frame, "trainings_view.png");
    trainings->OnBuild();
    Save(&frame, "trainings_view_built.png");
    auto* clientInfo = open("CRepClientInfoDoc");
    Save(&frame, "client_info_view.png");
    clientInfo->OnBuild();
    Save(&frame, "client_info_view_built.png");
    frame.MDIArea()->closeAllSubWindows();
    return 0;
}
