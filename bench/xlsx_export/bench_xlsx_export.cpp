// Measures «Передать в MS Excel»: the workbook of a list of 100,000 rows (a
// directory at its root: key, name, kind, order, date) read from the server
// page by page, and the workbook of a report page of 13,713 table rows (the
// size of the coverage report with detail pages on the generated database of
// a million visits: a two-row header with merged cells, twelve columns of
// figures and dates). The database is made for the run and dropped after it.
//
// Usage: bench_xlsx_export [socket] [runs=3]   (socket defaults to $KELDA2_SOCKET)
#include "bench/common/bench_support.h"
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/tests/test_dir_table.h"
#include "framework/widgets/export/xlsx_export.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {
constexpr int kListRows = 100000;
constexpr int kPageRows = 13713;
constexpr int kInsertBatch = 5000;

bool Fill(CxSQL* sql) {
    for (int first = 0; first < kListRows; first += kInsertBatch) {
        QStringList rows;
        for (int i = first; i < first + kInsertBatch; ++i)
            rows << QStringLiteral("(%1,0,0,'Материал «%2»',3,%3,0,0,%4)")
                        .arg(100 + i)
                        .arg(i * 7919 % kListRows, 6, 10, QLatin1Char('0'))
                        .arg(i % 3 == 0 ? 65537 : 131073)
                        .arg(i % 50);
        if (!BenchExec(*sql, QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,"
                                            "nDirType,nType,bHidden,nTown,nSortCode) VALUES ") +
                                 rows.join(u',')))
            return false;
    }
    return true;
}

QString Page() {
    QString html = QStringLiteral(
        "<html><body><h2>Охват за период</h2><table border=1><tr><th rowspan=2>Клиент</th>"
        "<th rowspan=2>Первый визит</th><th colspan=5>Визиты</th><th colspan=5>Материалы</th>"
        "</tr><tr>");
    for (int i = 0; i < 10; ++i)
        html += QStringLiteral("<th>Столбец %1</th>").arg(i + 1);
    html += QStringLiteral("</tr>");
    for (int r = 0; r < kPageRows; ++r) {
        html +=
            QStringLiteral("<tr><td>ЦЕНТР-%1</td><td>%2</td>")
                .arg(r, 6, 10, QLatin1Char('0'))
                .arg(QDate(2020, 1, 1).addDays(r % 1500).toString(QStringLiteral("dd.MM.yyyy")));
        for (int c = 0; c < 10; ++c)
            html += QStringLiteral("<td>%1</td>").arg((r * 31 + c * 17) % 97);
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table></body></html>");
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString socket = BenchSocket(argc, argv);
    const int runs = BenchRuns(argc, argv, 3);
    const QString name = QStringLiteral("kelda_bench_xlsx");
    QString error;
    CxMySQL* sql = CreateBaseBenchDatabase(socket, name, &error);
    if (!sql)
        return BenchFail(error);
    if (!Fill(sql))
        return BenchFail(QStringLiteral("filling the directory failed"));
    QTemporaryDir dir;

    TestMaterials table;
    CxField* date = table.RegisterField(
        9, QStringLiteral("DATE_ADD('2020-01-01',INTERVAL {TABLE}.ROWID MOD 2000 DAY)"),
        QStringLiteral("Дата"), FF_DATE);
    CxSQLListModel model;
    model.Begin(&table, QStringLiteral("Materials"));
    model.RegisterField(table.m_ROWID);
    model.RegisterField(table.m_cString);
    model.RegisterField(table.m_nKindText);
    model.RegisterField(table.m_nSortCode);
    model.RegisterField(date);
    model.EnableFolders(table.m_cString, table.m_bIsFolder, table.m_nGroupID);
    if (!model.End())
        return BenchFail(QStringLiteral("the list did not open"));
    QList<double> listTimes;
    for (int run = 0; run < runs; ++run) {
        const QString path = dir.filePath(QStringLiteral("list.xlsx"));
        QElapsedTimer timer;
        timer.start();
        if (!WriteListXlsx(model, QStringLiteral("Материалы"), path, nullptr, &error))
            return BenchFail(error);
        listTimes << timer.nsecsElapsed() / 1e9;
        if (run == 0)
            std::printf("list workbook: %.1f MiB\n", QFile(path).size() / 1048576.0);
    }
    PrintTimes("list of 100,000 rows to .xlsx", listTimes, 10);

    const QString page = Page();
    QList<double> pageTimes;
    for (int run = 0; run < runs; ++run) {
        const QString path = dir.filePath(QStringLiteral("page.xlsx"));
        QElapsedTimer timer;
        timer.start();
        if (!WriteHtmlXlsx(page, QStringLiteral("Охват"), path, nullptr, &error))
            return BenchFail(error);
        pageTimes << timer.nsecsElapsed() / 1e9;
    }
    PrintTimes("report page of 13,713 rows to .xlsx", pageTimes, 10);
    DropBenchDatabase(socket, name);
    return 0;
}
