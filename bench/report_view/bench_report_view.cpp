// The report window on a realistic database, for a look by eye and for its
// timings: a report of visits and clients per service point and month is
// built through the window over a year of a generated database, first with
// every work table to make, then again over unchanged data; pictures of the
// window, the grouped tree, the progress dialog, the preset editor, the
// chooser and the fast-tables window are saved with the page as HTML and PDF.
//
// Usage: bench_report_view OUTDIR [--socket PATH] [--database NAME]
//                          [--generate VISITS]
//   --generate makes the database anew (VISITS visit lines over 2013-2015);
//   without it the database must hold such data (bench_worktables makes the
//   same). Run it under a display (xvfb-run) for pictures of real windows.
#include "../worktables/data_generator.h"
#include "bench/common/bench_support.h"
#include "bench/common/window_grab.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/self_register.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/report/rep_progress_dlg.h"
#include "framework/widgets/report_view/rep_pane.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/views/fast_tables_dlg.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_edit.h"
#include "reports/base/views/preset_sel.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/base/views/rep_base_view.h"

#include "framework/widgets/forms/date_edit.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {
QDir g_out;

void Save(QWidget* window, const char* name) {
    SaveWindowPicture(window, g_out.filePath(QString::fromLatin1(name)));
}

// Visits and clients per service point and month of the period.
class DemoReport : public CRepBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit DemoReport(QObject* parent = nullptr) : CRepBase(parent) {}
    QString GetReportTitle() override {
        return QStringLiteral("Визиты и клиенты по пунктам и месяцам");
    }
    QList<CRepPresetChoice> GetPresetChoices() override {
        return {{20581, QStringLiteral("*Пункт предоставления услуг"), 0x7},
                {20439, QStringLiteral("Пол"), 0x7},
                {20573, QStringLiteral("Возрастная группа"), 0x7},
                {20441, QStringLiteral("Клиентов"), 0x8},
                {20568, QStringLiteral("Визитов"), 0xC},
                {20437, QStringLiteral("Код клиента"), 0x14},
                {20578, QStringLiteral("**Количетсво пунктов"), 0x8}};
    }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override {
        CRepBaseData* run = GetRunData();
        if (hook)
            hook();
        const QString summary = run->PrepareSummaryTable();
        const QString points = run->PrepareSelectedPOU();
        const QString compact = run->PrepareCompactTable();
        CxResult res = run->GetSQL()->Execute(
            QStringLiteral("SELECT p.cString,MONTH(c.dDate) AS m,COUNT(DISTINCT c.nReportID,"
                           "c.nClientID) AS v,COUNT(DISTINCT c.nClientID) AS k FROM ") +
            compact + QStringLiteral(" AS c JOIN ") + points +
            QStringLiteral(" AS s ON s.ROWID=c.nWorkPlace JOIN dir AS p ON p.ROWID=c.nWorkPlace "
                           "WHERE c.dDate BETWEEN '") +
            run->From().toString(Qt::ISODate) + QStringLiteral("' AND '") +
            run->To().toString(Qt::ISODate) +
            QStringLiteral("' GROUP BY p.cString,m ORDER BY p.cString,m"));
        QMap<QString, QMap<int, QPair<long, long>>> cells;
        while (res.FetchRow())
            cells[res.SFieldValue(0)][int(res.LFieldValue(1))] = {res.LFieldValue(2),
                                                                  res.LFieldValue(3)};
        (void)summary;
        QString table = QStringLiteral("<table class=\"rep\"><tr><td class=\"Hd\">Пункт</td>");
        for (int m = 1; m <= 12; ++m)
            table += QStringLiteral("<td class=\"Hnum\">%1</td>").arg(m);
        table += QStringLiteral("</tr>");
        int row = 0;
        for (auto it = cells.constBegin(); it != cells.constEnd(); ++it, ++row) {
            table += QStringLiteral("<tr><td class=\"b7\"><a href=\"opendoc:CDDirWorkPlace\">") +
                     SafeHTML(it.key().section(u'`', 0, 0)) + QStringLiteral("</a></td>");
            for (int m = 1; m <= 12; ++m) {
                const auto v = it.value().value(m);
                table += QStringLiteral("<td class=\"%1\">%2 / %3</td>")
                             .arg(row % 2 ? QStringLiteral("a6") : QStringLiteral("a7"))
                             .arg(v.first)
                             .arg(v.second);
            }
            table += QStringLiteral("</tr>");
        }
        table += QStringLiteral("</table>");
        const CHTMLTemplate& t = run->GetReportTemplate();
        html.Add(CxString::StrTr(
            t.GetSection(QStringLiteral("REPORT")),
            {{QStringLiteral("%TITLE%"), GetReportTitle()},
             {QStringLiteral("%FROM%"), run->From().toString(QStringLiteral("dd.MM.yyyy"))},
             {QStringLiteral("%TO%"), run->To().toString(QStringLiteral("dd.MM.yyyy"))},
             {QStringLiteral("%HEADING%"), QString()},
             {QStringLiteral("%DETAIL%"),
              QStringLiteral("<p>Визитов / клиентов в месяц. Вариант: <b>") +
                  SafeHTML(run->GetPreset().Title) + QStringLiteral("</b></p>")},
             {QStringLiteral("%SUMMARY%"), table},
             {QStringLiteral("%COMMENT%"), QStringLiteral("<sup>1</sup> Клиент считается в "
                                                          "каждом пункте, где он был.")}}));
    }
    static inline std::function<void()> hook;
};
} // namespace

int main(int argc, char** argv) {
    CRepPane::PrepareApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelda2"));
    Q_INIT_RESOURCE(default_config);
    QStringList args = app.arguments();
    if (args.size() < 2)
        return BenchFail(QStringLiteral("usage: bench_report_view OUTDIR [--socket PATH] "
                                        "[--database NAME] [--generate VISITS]"));
    g_out = QDir(args[1]);
    QDir().mkpath(g_out.path());
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench_reports");
    long generate = 0;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--socket"))
            socket = args[i + 1];
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--generate"))
            generate = args[i + 1].toLong();
        else
            return BenchFail(QStringLiteral("unknown option ") + args[i]);
    }
    if (!UseDefaultConfiguration())
        return BenchFail(QStringLiteral("the default configuration does not read"));

    SQLConnectXML info = BenchServerInfo(socket);
    auto* sql = new CxMySQL;
    if (generate > 0) {
        QString error;
        if (!CreateBenchDatabase(sql, socket, database, &error))
            return BenchFail(error);
        if (!GenerateReportData(sql, generate, &error))
            return BenchFail(error);
    } else {
        info.put_Database(database);
        if (!sql->Connect(&info))
            return BenchFail(QStringLiteral("cannot open ") + database);
    }
    g_pBaseSQLConnection.reset(sql);
    if (!InitTables())
        return BenchFail(QStringLiteral("the table set did not start"));
    DropCacheTables(sql);
    SetMessageAnswerer([](CxAskKind, const QString& text) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return IDOK;
    });

    CxMDIFrameWnd frame;
    frame.OnCreate();
    frame.EnableMDITabs(true);
    frame.resize(1280, 760);
    frame.show();
    CxDocManager::Instance()->SetFrame(&frame);
    CTarvikApp::RegisterDocTemplate(0, &CRepBaseView::staticMetaObject,
                                    &DemoReport::staticMetaObject, nullptr);
    // A user preset beside the configuration's.
    {
        xKDReportPresets2 user;
        KDRepPresetEx2 mine;
        mine.Title = QStringLiteral("Мой отчет по пунктам");
        mine.Comment = QStringLiteral("визиты и клиенты, без деления на периоды");
        mine.SumRows.SetIDs({20581, -1, 20439});
        mine.SumCols2.SetIDs({20441, 20568});
        user.AddCopy(mine);
        user.SaveToProfile();
    }

    auto* view = qobject_cast<CRepBaseView*>(OpenDocument(QStringLiteral("DemoReport")));
    if (!view)
        return BenchFail(QStringLiteral("the report window did not open"));
    view->GetPoshList()->CheckByType(true, -1);
    view->findChild<CTypedDateEdit*>(QStringLiteral("fromDate"))->setDate(QDate(2015, 1, 1));
    view->findChild<CTypedDateEdit*>(QStringLiteral("toDate"))->setDate(QDate(2015, 12, 31));
    CRepPresetSelList2* presets = view->GetPresetList();
    emit presets->clicked(presets->model()->index(0, 0));

    CRepProgressDlg::SetDefaultShowDelay(0);
    bool progressShot = false;
    DemoReport::hook = [&] {
        if (progressShot)
            return;
        progressShot = true;
        // Let the first work table begin, then look at the dialog.
        if (QWidget* dialog = QApplication::activeModalWidget())
            Save(dialog, "progress.png");
    };
    QElapsedTimer clock;
    clock.start();
    if (!view->OnBuild())
        return BenchFail(QStringLiteral("the build failed"));
    const double first = clock.nsecsElapsed() / 1e6;
    clock.restart();
    view->OnBuild();
    const double second = clock.nsecsElapsed() / 1e6;
    clock.restart();
    view->ShowReport();
    const double show = clock.nsecsElapsed() / 1e6;
    std::printf("first build %.0f ms (work tables made), second build %.0f ms (tables reused), "
                "page shown again in %.0f ms, page %lld characters\n",
                first, second, show, qlonglong(view->GetRepDoc()->GetHTML().size()));
    Save(&frame, "report_view.png");
    view->SaveReport(g_out.filePath(QStringLiteral("report.html")));
    view->ExportPDF(g_out.filePath(QStringLiteral("report.pdf")));

    view->SetGrouping(kPoshByTypeTownOrg);
    Save(&frame, "report_view_grouped.png");
    view->SetGrouping(kPoshByOrg);

    {
        KDRepPresetEx2 preset;
        xKDReportPresets2 user;
        user.LoadFromProfile();
        preset.Copy(*user.GetAt(0));
        CRepPresetEdit2 editor(preset, DemoReport().GetPresetChoices(), false, &frame);
        editor.show();
        Save(&editor, "preset_editor.png");
        editor.Tabs()->setCurrentIndex(3);
        Save(&editor, "preset_editor_more.png");
    }
    {
        QList<CRepPresetChoice> columns = {{3001, QStringLiteral("Код клиента"), 1},
                                           {3002, QStringLiteral("Пункт"), 3}};
        CRepPresetSel chooser(columns, &frame);
        chooser.show();
        chooser.List()->setCurrentIndex(chooser.List()->model()->index(0, 0));
        Save(&chooser, "preset_chooser.png");
    }
    {
        DropCacheTables(sql);
        CFastTablesDlg fast(&frame);
        QElapsedTimer t;
        t.start();
        fast.Process();
        std::printf("fast tables %.0f ms\n", t.nsecsElapsed() / 1e6);
        Save(&fast, "fast_tables.png");
    }
    frame.MDIArea()->closeAllSubWindows();
    g_SelfTablesKelda.Init(0);
    std::printf("pictures in %s\n", qPrintable(g_out.absolutePath()));
    return 0;
}

#include "bench_report_view.moc"
