// Measures the daily report windows on a database made by kelda_datagen: the
// journal's first rows (the root, and the largest folder opened), a report of
// 200 clients by 40 columns opened in its form (header, tabs, the first
// sheet read and painted), and the same form saved unchanged through its OK
// path (header, sheet, checksums, duplicate count, in one transaction). The
// report is made for the run and deleted after it.
//
// Usage: bench_diary_windows [database] [runs]
// (database defaults to kelda_bench, runs to 10; the server comes from
// KELDA2_SOCKET / KELDA2_SERVER; the windows are drawn offscreen unless
// QT_QPA_PLATFORM says otherwise)
#include "bench/common/bench_support.h"
#include "db/mysql_connection.h"
#include "diary/core/daily_report_store.h"
#include "diary/core/sheet_columns.h"
#include "diary/daily_report_form.h"
#include "diary/diary_journal.h"
#include "diary/visits_grid.h"
#include "diary/visits_page.h"
#include "framework/core/documents/doc_template.h"
#include "framework/core/documents/document.h"
#include "framework/core/table/self_register.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QRandomGenerator>
#include <QTableView>
#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRows = 200;
constexpr int kColumns = 40;

bool TooFew(QString* error) {
    *error = QStringLiteral("The database holds too few clients or directory rows.");
    return false;
}

// The largest sheet the run makes: materials first, then consultations
// counted per client, until the sheet has its columns; 200 clients, half
// the cells filled.
bool MakeReport(CxSQL& sql, qint64* report, QString* error) {
    const QList<qint64> materials = ColumnOfNumbers(
        sql, QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=3 AND bIsFolder=0 AND "
                            "IFNULL(bHidden,0)=0 AND (nType&458752<>458752 OR nSpecFlags&1) "
                            "ORDER BY nType&458752=458752,nSortCode,ROWID"));
    const QList<qint64> places = ColumnOfNumbers(
        sql, QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=1 AND bIsFolder=0 LIMIT 1"));
    const QList<qint64> workers = ColumnOfNumbers(
        sql, QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=2 AND bIsFolder=0 LIMIT 1"));
    if (places.isEmpty() || workers.isEmpty())
        return TooFew(error);
    CVisitsSheet sheet;
    QList<qint32> items;
    for (const qint64 m : materials) {
        if (sheet.ColumnCount() > kColumns)
            break;
        items << qint32(m);
        if (!UpdateSheetColumns(&sql, &sheet, items, nullptr, error))
            return false;
    }
    QRandomGenerator rnd(7);
    CxResult codes = sql.Execute(
        QStringLiteral(
            "SELECT cClientCode FROM clientdata WHERE bIsFolder=0 ORDER BY ROWID LIMIT %1")
            .arg(kRows));
    while (codes.FetchRow()) {
        const int r = sheet.AppendRow();
        sheet.SetText(r, 0, codes.SFieldValue(0));
        for (int c = 1; c < sheet.ColumnCount(); ++c)
            if (rnd.bounded(100) < 50)
                sheet.SetText(r, c, QString::number(1 + rnd.bounded(10)));
    }
    if (sheet.RowCount() < kRows)
        return TooFew(error);
    CDailyReportSave save;
    save.action = EDailyReportAction::Insert;
    save.header.date = QDate(2099, 1, 1);
    save.header.workPlace = places.first();
    save.header.worker1 = workers.first();
    save.header.project = 1;
    save.header.comment = QStringLiteral("bench_diary_windows");
    save.pages = {{0, &sheet, nullptr}};
    CDiaryVerdict refusal;
    if (!SaveDailyReport(&sql, save, report, &refusal, error)) {
        *error += refusal.text;
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString database =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("kelda_bench");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;

    SQLConnectXML info;
    info.put_Server(qEnvironmentVariable("KELDA2_SERVER", QStringLiteral("localhost")));
    info.put_Socket(qEnvironmentVariable("KELDA2_SOCKET"));
    info.put_User(QStringLiteral("root"));
    info.put_Database(database);
    auto* sql = new CxMySQL;
    if (!sql->Connect(&info))
        return BenchFail(CTarvikApp::TakeErrorMessages());
    g_pBaseSQLConnection.reset(sql);
    auto* config = new xKDConfiguration;
    config->ParseConfig(QStringLiteral("<CONFIGURATION><LANGUAGE><PRJLIST><Item ID='1' "
                                       "Title='Основной проект'/></PRJLIST></LANGUAGE>"
                                       "</CONFIGURATION>"),
                        QStringLiteral("bench"));
    CTarvikApp::SetConfig(config);
    InitTables();
    SetMessageAnswerer([](CxAskKind, const QString&) { return int(IDYES); });

    CxMDIFrameWnd frame;
    frame.OnCreate();
    frame.resize(1366, 768);
    frame.show();
    CxDocManager::Instance()->SetFrame(&frame);
    CTarvikApp::RegisterDocTemplate(1293, CDDiary::GetThisClass(), &CxSQLDocument::staticMetaObject,
                                    nullptr);
    CTarvikApp::RegisterDocTemplate(1293, CJDiaryMain::GetThisClass(),
                                    CJDiaryMainDocument::GetThisClass(), nullptr);
    QApplication::processEvents();

    // The journal: the first window of the process pays for widgets, fonts
    // and styles once, so each run opens it anew after a first one.
    const qint64 folder =
        ColumnOfNumbers(
            *sql, QStringLiteral("SELECT nGroupID FROM dailyreport WHERE bIsFolder=0 GROUP BY "
                                 "nGroupID ORDER BY COUNT(*) DESC LIMIT 1"))
            .value(0, 0);
    const qint64 folderRows =
        ColumnOfNumbers(
            *sql, QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE nGroupID=%1").arg(folder))
            .value(0);
    QList<double> rootTimes, folderTimes;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer t;
        t.start();
        auto* journal = qobject_cast<CJDiaryMain*>(OpenDocument(QStringLiteral("CJDiaryMain")));
        if (!journal)
            return BenchFail(CTarvikApp::TakeErrorMessages());
        QApplication::processEvents();
        const double root = t.nsecsElapsed() / 1e9;
        auto* list = qobject_cast<CJDiary*>(journal->Tab()->GetTabWindow(0, false));
        t.restart();
        list->OpenFolder(folder);
        QApplication::processEvents();
        const double opened = t.nsecsElapsed() / 1e9;
        if (run > 0) {
            rootTimes << root;
            folderTimes << opened;
        }
        frame.MDIArea()->closeAllSubWindows();
        QApplication::processEvents();
    }

    qint64 report = -1;
    QString error;
    if (!MakeReport(*sql, &report, &error))
        return BenchFail(error);
    QList<double> opens, saves;
    for (int run = 0; run <= runs; ++run) {
        QElapsedTimer t;
        t.start();
        auto* form = qobject_cast<CDDiary*>(
            CxDocManager::Instance()->OpenSQLEditForm(QStringLiteral("CDDiary"), report, EA_EDIT));
        if (!form)
            return BenchFail(CTarvikApp::TakeErrorMessages());
        QApplication::processEvents();
        const double opened = t.nsecsElapsed() / 1e9;
        auto* page = qobject_cast<CDDiaryVisits*>(form->Page(0));
        if (!page || page->Sheet().RowCount() != kRows)
            return BenchFail(QStringLiteral("The report did not open whole."));
        t.restart();
        if (!form->Apply())
            return BenchFail(CTarvikApp::TakeErrorMessages());
        QApplication::processEvents();
        const double saved = t.nsecsElapsed() / 1e9;
        if (run > 0) {
            opens << opened;
            saves << saved;
        }
        form->CloseFrame();
        QApplication::processEvents();
    }

    std::printf("database %s: journal folder of %lld reports; report %lld of %d rows by %d "
                "columns; %d runs\n",
                qPrintable(database), folderRows, report, kRows, kColumns, runs);
    PrintTimes("journal opened, first rows shown", rootTimes, 0.3);
    PrintTimes("largest folder opened, first rows shown", folderTimes, 0.3);
    PrintTimes("report form opened, first sheet shown", opens, 0.3);
    PrintTimes("report saved unchanged through the form", saves, 0.5);

    CDailyReportSave remove;
    remove.action = EDailyReportAction::Delete;
    remove.header.rowId = report;
    CDiaryVerdict refusal;
    if (!SaveDailyReport(sql, remove, &report, &refusal, &error))
        return BenchFail(refusal.text + error);
    SetMessageAnswerer({});
    CxDocManager::Instance()->SetFrame(nullptr);
    return 0;
}
