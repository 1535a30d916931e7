// Measures opening a large daily report (its header, sheet list and a visits
// sheet of 200 clients by 40 columns) and saving it unchanged (the form's
// whole save: header, sheet, checksums, duplicate count, in one transaction)
// on a database made by kelda_datagen. The report is made for the run and
// deleted after it.
//
// Usage: bench_diary_sheet [database] [runs] [filled percent]
// (database defaults to kelda_bench, runs to 10, filled cells to 50; the
// server comes from KELDA2_SOCKET / KELDA2_SERVER)
#include "bench/common/bench_support.h"
#include "db/mysql_connection.h"
#include "diary/core/daily_report_store.h"
#include "diary/core/sheet_columns.h"
#include "diary/core/visits_sheet_store.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRows = 200;
constexpr int kColumns = 40;
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString database =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("kelda_bench");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 10;
    const int filled = argc > 3 ? std::clamp(atoi(argv[3]), 1, 100) : 50;

    SQLConnectXML info;
    info.put_Server(qEnvironmentVariable("KELDA2_SERVER", QStringLiteral("localhost")));
    info.put_Socket(qEnvironmentVariable("KELDA2_SOCKET"));
    info.put_User(QStringLiteral("root"));
    info.put_Database(database);
    CxMySQL sql;
    if (!sql.Connect(&info))
        return BenchFail(CTarvikApp::TakeErrorMessages());

    // Materials first, then consultations counted per client, until the sheet
    // has its columns.
    const QList<qint64> materials = ColumnOfNumbers(
        sql, QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=3 AND bIsFolder=0 AND "
                            "IFNULL(bHidden,0)=0 AND (nType&458752<>458752 OR nSpecFlags&1) "
                            "ORDER BY nType&458752=458752,nSortCode,ROWID"));
    const QList<qint64> clients = ColumnOfNumbers(
        sql,
        QStringLiteral("SELECT ROWID FROM clientdata WHERE bIsFolder=0 ORDER BY ROWID LIMIT %1")
            .arg(kRows));
    const QList<qint64> places = ColumnOfNumbers(
        sql, QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=1 AND bIsFolder=0 LIMIT 1"));
    const QList<qint64> workers = ColumnOfNumbers(
        sql, QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=2 AND bIsFolder=0 LIMIT 1"));
    if (clients.size() < kRows || places.isEmpty() || workers.isEmpty())
        return BenchFail(QStringLiteral("The database holds too few clients or directory rows."));

    CVisitsSheet sheet;
    QString error;
    QList<qint32> items;
    for (const qint64 m : materials) {
        if (sheet.ColumnCount() > kColumns)
            break;
        items << qint32(m);
        if (!UpdateSheetColumns(&sql, &sheet, items, nullptr, &error))
            return BenchFail(error);
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
            if (int(rnd.bounded(100)) < filled)
                sheet.SetText(r, c, QString::number(1 + rnd.bounded(10)));
    }

    CDailyReportSave save;
    save.action = EDailyReportAction::Insert;
    save.header.date = QDate(2099, 1, 1);
    save.header.workPlace = places.first();
    save.header.worker1 = workers.first();
    save.header.project = 1;
    save.header.comment = QStringLiteral("bench_diary_sheet");
    save.pages = {{0, &sheet, nullptr}};
    qint64 report = -1;
    CDiaryVerdict refusal;
    if (!SaveDailyReport(&sql, save, &report, &refusal, &error))
        return BenchFail(refusal.text + error);
    const qint64 cells =
        ColumnOfNumbers(
            sql, QStringLiteral("SELECT COUNT(*) FROM dailyvisits WHERE nReportID=%1").arg(report))
            .value(0);

    QList<double> loads, saves;
    CVisitsSheet loaded;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        CDailyReportHeader header;
        CDailyReportSheets sheets;
        QStringList notes;
        if (!LoadDailyReport(&sql, report, &header, &sheets, &error) ||
            !CVisitsSheetStore::Load(&sql, report, sheets.visits.value(0), &loaded, &notes, &error))
            return BenchFail(error);
        loads << t.nsecsElapsed() / 1e9;
        save.action = EDailyReportAction::Update;
        save.header = header;
    }
    save.pages = {{0, &loaded, nullptr}};
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!SaveDailyReport(&sql, save, &report, &refusal, &error))
            return BenchFail(refusal.text + error);
        saves << t.nsecsElapsed() / 1e9;
    }

    std::printf("report %lld: %d rows, %d columns, %lld cells; %d runs\n", report,
                loaded.RowCount(), loaded.ColumnCount() - 1, cells, runs);
    PrintTimes("open (header, sheets, load)", loads, 0.3);
    PrintTimes("save unchanged", saves, 0.5);

    save.action = EDailyReportAction::Delete;
    save.pages.clear();
    if (!SaveDailyReport(&sql, save, &report, &refusal, &error))
        return BenchFail(refusal.text + error);
    return 0;
}
