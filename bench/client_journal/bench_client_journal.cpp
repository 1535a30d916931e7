// Measures the client journal and the client card on a large register:
// 100,000 clients (in 20 folders and at the root), 5 dated rows per client in
// each of the four histories, 5 health rows each. It reports the time from
// setting the journal up to its first rows painted, to the rows of a code
// prefix, and to a client's card standing with its base tab loaded (and with
// every tab opened).
//
// Usage: bench_client_journal [socket] [clients] [runs]
//   (socket defaults to $KELDA2_SOCKET, clients to 100000, runs to 5)
// The windows are drawn offscreen unless QT_QPA_PLATFORM says otherwise.
#include "bench/common/bench_support.h"
#include "clients/card/client_card.h"
#include "clients/card/clients_journal.h"
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/lists/sql_list_ctrl.h"
#include "framework/widgets/lists/sql_search_panel.h"
#include "framework/widgets/pages/tab.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>
#include <cstdio>

namespace {
// Milliseconds until f's window has painted.
template <class F> double Time(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString socket = BenchSocket(argc, argv);
    const int clients = argc > 2 ? qMax(100, atoi(argv[2])) : 100000;
    const int runs = argc > 3 ? qMax(1, atoi(argv[3])) : 5;
    const QString name = QStringLiteral("kelda_bench_client_journal");

    QString error;
    CxMySQL* sql = CreateBaseBenchDatabase(socket, name, &error);
    if (!sql)
        return BenchFail(error);

    const QString n = QString::number(clients);
    QElapsedTimer fill;
    fill.start();
    bool ok =
        BenchExec(*sql,
                  "INSERT INTO orginf VALUES (0,'OWN','Своя','','','','','','','','','','','','',"
                  "'','')") &&
        BenchExec(*sql, "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) "
                        "SELECT seq,0,0,CONCAT('Наркотик ',seq),4,0,0 FROM seq_1_to_20") &&
        BenchExec(*sql,
                  "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nSex,nBirthYear,"
                  "nEthnicity,nRelCount) SELECT seq,CONCAT('Папка ',seq),1,0,NULL,NULL,0,0 FROM "
                  "seq_1_to_20") &&
        // Nine clients of ten at the root, the others in the folders; codes
        // spread over the alphabet.
        BenchExec(*sql,
                  "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bIsFolder,nGroupID,nSex,"
                  "nBirthYear,dEnterDate,nEthnicity,nRelCount,nRegionDataID) SELECT 100+seq,"
                  "CONCAT(ELT(1+seq%12,'А','Б','В','Г','Д','Е','Ж','З','И','К','Л','М'),"
                  "ELT(1+(seq DIV 12)%10,'А','О','И','Е','У','Я','Ю','Э','Ы','Ё'),'В',"
                  "LPAD(1+seq%28,2,'0'),LPAD(seq%100,2,'0'),IF(seq%2,'ч','ж'),'`',seq),"
                  "NULL,0,IF(seq%10=0,1+seq%20,0),1+seq%2,1960+seq%40,'2020-01-01',0,0,0 FROM "
                  "seq_1_to_" +
                      n);
    for (const char* t : {"clientdatachanges", "drugusedata", "riskbehavior", "socialstatus"})
        ok =
            ok &&
            BenchExec(*sql, QStringLiteral("INSERT INTO %1 (nClientID,dDate) SELECT 100+c.seq,"
                                           "DATE('2015-01-01')+INTERVAL (k.seq*300+MOD(c.seq,300)) "
                                           "DAY FROM seq_1_to_%2 c, seq_1_to_5 k")
                                .arg(QLatin1String(t), n));
    for (const char* t : {"clientdatachanges", "drugusedata", "riskbehavior", "socialstatus"})
        ok = ok &&
             BenchExec(*sql, QStringLiteral("UPDATE %1 AS h JOIN (SELECT ROWID,ROW_NUMBER() OVER "
                                            "(PARTITION BY nClientID ORDER BY dDate DESC,ROWID "
                                            "DESC) AS n FROM %1) AS r ON r.ROWID=h.ROWID AND "
                                            "r.n=1 SET h.nLastLinkID=h.nClientID")
                                 .arg(QLatin1String(t)));
    ok =
        ok &&
        BenchExec(*sql, "UPDATE drugusedata SET nBasicDrug=1+ROWID%20,nMainRoute=1,nUseFrequency=2,"
                        "dUpdateDate=dDate") &&
        BenchExec(*sql, "UPDATE clientdatachanges SET nClientType=1<<(ROWID%4)") &&
        BenchExec(*sql, "UPDATE riskbehavior SET nUseDirtySyr=ROWID%2,nUsingCondom=99,"
                        "dUpdateDate=dDate") &&
        BenchExec(*sql,
                  "INSERT INTO healthstatus (nClientID,nDisease,nStatus) SELECT 100+c.seq,d.seq,"
                  "d.seq%4 FROM seq_1_to_" +
                      n + " c, seq_1_to_5 d") &&
        BenchExec(*sql, "ANALYZE TABLE clientdata,clientdatachanges,drugusedata,riskbehavior,"
                        "socialstatus,healthstatus");
    if (!ok)
        return 1;
    const double fillMs = fill.nsecsElapsed() / 1e6;

    auto* config = new xKDConfiguration;
    config->ParseConfig(QStringLiteral("<CONFIGURATION><LANGUAGE/></CONFIGURATION>"),
                        QStringLiteral("bench"));
    CTarvikApp::SetConfig(config);
    InitTables();

    QList<double> first, filter, clear, card, allTabs;
    QList<double> pages, searchFirst, searchPages;
    int shown = 0, filtered = 0, searched = 0;
    // Ten more pages, as a user scrolling down reads them.
    const auto scroll = [](CxSQLListModel* model) {
        for (int i = 0; i < 10 && model->canFetchMore(); ++i)
            model->fetchMore();
    };
    for (int run = 0; run < runs; ++run) {
        auto* journal = new CJClients;
        journal->resize(1200, 800);
        first << Time([&] {
            journal->OnInitialUpdate();
            journal->show();
        });
        shown = journal->List()->Model()->rowCount();
        // A code prefix typed into the journal's find field.
        const QString prefix = QStringLiteral("ГЕВ1");
        filter << Time([&] { journal->CodeFilter()->setText(prefix); });
        filtered = journal->List()->Model()->rowCount();
        clear << Time([&] { journal->CodeFilter()->clear(); });
        CxSQLListModel* model = journal->List()->Model();
        pages << Time([&] { scroll(model); });
        // The search panel: codes that hold an Е (or Ё) and a birth decade,
        // neither served by an index.
        journal->List()->ShowSearchPanel(true);
        QList<QLineEdit*> code, year;
        for (QLineEdit* edit : journal->List()->SearchPanel()->findChildren<QLineEdit*>()) {
            if (edit->toolTip() == QStringLiteral("Код клиента"))
                code << edit;
            if (edit->toolTip() == QStringLiteral("Год рождения"))
                year << edit;
        }
        if (code.size() != 1 || year.size() != 2)
            return BenchFail(QStringLiteral("no search fields"));
        searchFirst << Time([&] {
            code[0]->setText(QStringLiteral("е"));
            year[0]->setText(QStringLiteral("1970"));
            year[1]->setText(QStringLiteral("1979"));
            emit year[1]->returnPressed();
        });
        searched = model->rowCount();
        searchPages << Time([&] { scroll(model); });
        journal->List()->SearchPanel()->ClearAll();
        journal->List()->ShowSearchPanel(false);
        delete journal;

        const qint64 id = 100 + (run + 1) * clients / (runs + 1);
        auto* form = new CDClients;
        form->resize(900, 700);
        card << Time([&] {
            std::unique_ptr<CDXRecordSQL> record = AllocateSQLDXRecord("clientdata", id, 1);
            form->LoadRecord(std::move(record), EA_EDIT);
            form->show();
        });
        allTabs << Time([&] {
            for (int i = 1; i < form->Tab()->count(); ++i)
                form->Tab()->SetCurSel(i);
        });
        delete form;
    }

    DropBenchDatabase(socket, name);
    std::printf("clients: %d, 5 rows in each of 4 histories, 5 health rows; filled in %.0f ms\n",
                clients, fillMs);
    std::printf("journal: first %d rows painted %.1f ms; code prefix (%d rows) %.1f ms; prefix "
                "cleared %.1f ms (medians of %d)\n",
                shown, Median(first), filtered, Median(filter), Median(clear), runs);
    std::printf("paging: 10 more pages %.1f ms; with a search (code contains \"е\", born "
                "1970-1979): first %d rows %.1f ms, 10 more pages %.1f ms\n",
                Median(pages), searched, Median(searchFirst), Median(searchPages));
    std::printf("card: base tab standing %.1f ms; the other five tabs opened %.1f ms\n",
                Median(card), Median(allTabs));
    return 0;
}
