// Measures the materials list of the directories journal on a large
// directory: 100,000 materials at the root of the directory and 10,000 in a
// folder. For each it reports the time from setting the list up to its first
// rows painted, and the memory the process holds then, and once more after
// the user scrolled through the whole list. Then the package form over the
// same directory: opening a package of 40 materials (every material is
// offered in its chooser) and saving it with one more.
//
// Usage: bench_lists [socket] [runs]   (socket defaults to $KELDA2_SOCKET)
// The window is drawn offscreen unless QT_QPA_PLATFORM says otherwise.
#include "bench/common/bench_support.h"
#include "clients/directories/directories_tabs.h"
#include "clients/directories/material_pack_form.h"
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/self_register.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "model/config/configuration.h"
#include "model/orgs/org_keys.h"
#include "model/tables/table_set.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>
#include <cstdio>

namespace {
constexpr int kRootRows = 100000;
constexpr int kFolderRows = 10000;
constexpr int kPackage = 3; // ROWID of the package row

// The resident memory of the process in MiB.
double ResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The reference for scrolling through the list: one SELECT of the same
// columns of the same folder in the same order, every cell read as text.
double RawSelectMs(CxSQL* sql, const CxSQLListModel* model) {
    CxTable* table = model->GetTable();
    CxSelectOptions options;
    for (const CxColumnData& column : model->Columns())
        options.fields << column.field;
    options.folder = model->CurrentFolder();
    const CxField* sort = model->ColumnField(model->SortColumn());
    options.orderBy = table->GetFieldSQL(model->FolderMarkField()) + QStringLiteral(" DESC,") +
                      (sort ? table->GetFieldSQL(sort) + u',' : QString()) +
                      table->GetFieldSQL(table->GetKeyField());
    QElapsedTimer t;
    t.start();
    CxResult res = sql->Execute(table->BuildSelect(options));
    qint64 chars = 0;
    while (res.FetchRow())
        for (int c = 0; c < options.fields.size(); ++c)
            chars += res.SFieldValue(c).size();
    const double ms = t.nsecsElapsed() / 1e6;
    return chars > 0 ? ms : -1;
}

bool Fill(CxSQL* sql) {
    const char* setup[] = {
        "INSERT INTO orginf VALUES (0,'OWN','Своя','','','','','','','','','','','','','','')",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown) VALUES "
        "(1,0,1,'Папка',3,0,0,0),(2,0,0,'Донор',12,0,0,0)",
    };
    for (const char* s : setup)
        if (!sql->Execute(QString::fromUtf8(s)).isValid())
            return false;
    CDDirMatPackArray package;
    for (int i = 0; i < 40; ++i)
        package.append(10 + i * 2500);
    if (!sql->Execute(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,"
                                     "cOtherInfo) VALUES (%1,0,0,'Пакет',11,'%2')")
                          .arg(kPackage)
                          .arg(package.SaveToString()))
             .isValid())
        return false;
    const int types[] = {65537, 131073, 196611, 262143, 327685, 458751, 524289};
    int id = 10;
    for (int folder : {0, 1}) {
        const int count = folder ? kFolderRows : kRootRows;
        for (int first = 0; first < count; first += 2000) {
            QStringList rows;
            for (int i = first; i < std::min(count, first + 2000); ++i, ++id)
                rows << QStringLiteral("(%1,%2,0,'Материал %3-%4','описание %4',3,%5,0,0,2,%6,1)")
                            .arg(id)
                            .arg(folder)
                            .arg(folder)
                            .arg((i * 7919) % count, 6, 10, QLatin1Char('0'))
                            .arg(types[i % 7])
                            .arg(i % 3);
            if (!sql->Execute(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,"
                                             "cDescription,nDirType,nType,bHidden,nTown,nDonorID,"
                                             "nPubType,nAuditory) VALUES ") +
                              rows.join(u','))
                     .isValid())
                return false;
        }
    }
    return true;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString socket = BenchSocket(argc, argv);
    const int runs = BenchRuns(argc, argv, 5);
    const QString name = QStringLiteral("kelda_bench_lists");

    QString error;
    CxMySQL* sql = CreateBaseBenchDatabase(socket, name, &error);
    if (!sql)
        return BenchFail(error);
    QElapsedTimer fill;
    fill.start();
    if (!Fill(sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    std::printf("filled %d + %d materials in %.1f s\n", kRootRows, kFolderRows,
                fill.nsecsElapsed() / 1e9);
    auto* config = new xKDConfiguration;
    config->ParseConfig(QStringLiteral("<CONFIGURATION/>"), QStringLiteral("bench"));
    CTarvikApp::SetConfig(config);
    InitTables();

    std::printf("runs: %d; resident memory before: %.1f MiB\n", runs, ResidentMiB());
    // The first window of the process pays for widgets, fonts and styles.
    {
        const double before = ResidentMiB();
        auto* warmUp = new CJDirectoriesTab_Posh;
        warmUp->CreateInplaceWindow(nullptr);
        warmUp->show();
        QApplication::processEvents();
        delete warmUp;
        QApplication::processEvents();
        std::printf("first list window of the process: +%.1f MiB\n", ResidentMiB() - before);
    }
    for (int folder : {0, 1}) {
        QList<double> firstRows, memory;
        QList<double> allRows, rawSelect;
        double memoryAll = 0;
        for (int run = 0; run < runs; ++run) {
            const double before = ResidentMiB();
            QElapsedTimer t;
            t.start();
            auto* list = new CJDirectoriesTab_Mat;
            list->resize(1200, 700);
            list->CreateInplaceWindow(nullptr);
            if (run == 0 && !qEnvironmentVariableIsEmpty("KELDA_BENCH_KEEP"))
                std::printf("%s\n", qPrintable(list->Model()->BuildPageQuery(-1, 200)));
            if (folder)
                list->OpenFolder(1);
            list->show();
            // The first rows are on the screen once the window has painted.
            QApplication::processEvents();
            firstRows << t.nsecsElapsed() / 1e6;
            memory << ResidentMiB() - before;
            // Each run scrolls to the end beside the raw SELECT, so that a
            // busy machine shows in both medians alike.
            {
                t.restart();
                while (list->Model()->canFetchMore())
                    list->Model()->fetchMore();
                list->View()->scrollToBottom();
                QApplication::processEvents();
                allRows << t.nsecsElapsed() / 1e6;
                memoryAll = std::max(memoryAll, ResidentMiB() - before);
                rawSelect << RawSelectMs(sql, list->Model());
            }
            delete list;
            QApplication::processEvents();
        }
        std::printf("%s (%d rows): first rows shown median %.0f ms (min %.0f ms), memory after "
                    "opening +%.1f MiB (max over runs); all rows scrolled through %.0f ms, memory "
                    "+%.1f MiB; raw SELECT of the rows %.0f ms, ratio %.2f (target 3)\n",
                    folder ? "folder" : "root", folder ? kFolderRows : kRootRows + 1,
                    Median(firstRows), *std::min_element(firstRows.begin(), firstRows.end()),
                    *std::max_element(memory.begin(), memory.end()), Median(allRows), memoryAll,
                    Median(rawSelect),
                    Median(rawSelect) > 0 ? Median(allRows) / Median(rawSelect) : 0.0);
    }
    {
        QList<double> load;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            t.start();
            CxListSelOrderEntries entries;
            LoadMaterialList(entries, {10, 2510});
            load << t.nsecsElapsed() / 1e6;
        }
        std::printf("material list of the choosers (%d materials): median %.0f ms\n",
                    kRootRows + kFolderRows, Median(load));
        QList<double> open, save;
        for (int run = 0; run < runs; ++run) {
            QElapsedTimer t;
            t.start();
            auto* form = new CDDirMatPack;
            form->resize(900, 700);
            if (!form->LoadRecord(AllocateSQLDXRecord(QStringLiteral("dir"), kPackage, 1),
                                  EA_EDIT)) {
                std::fprintf(stderr, "the package did not open\n");
                return 1;
            }
            form->show();
            QApplication::processEvents();
            open << t.nsecsElapsed() / 1e6;
            CxListSelOrderModel* model = form->Chooser()->Model();
            model->setData(model->index(run, 0), Qt::Checked, Qt::CheckStateRole);
            t.restart();
            if (!form->Apply()) {
                std::fprintf(stderr, "the package was not saved\n");
                return 1;
            }
            save << t.nsecsElapsed() / 1e6;
            delete form;
            QApplication::processEvents();
        }
        std::printf("package form over %d materials: opened median %.0f ms, saved median %.1f ms\n",
                    kRootRows + kFolderRows, Median(open), Median(save));
    }
    // KELDA_BENCH_KEEP=1 keeps the database for a closer look at its queries.
    if (qEnvironmentVariableIsEmpty("KELDA_BENCH_KEEP"))
        g_pBaseSQLConnection->ExecuteCleanup(
            QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    g_pBaseSQLConnection.reset();
    return 0;
}
