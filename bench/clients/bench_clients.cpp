// Measures the client register's data logic on a database of realistic size:
// the client journal's query (first page, a folder, every row), marking the
// newest history rows, saving a dated tab and the health tab of one client,
// and saving a long participant list.
//
// Usage: bench_clients [socket] [clients]   (socket defaults to $KELDA2_SOCKET,
// clients to 20000; every client gets 3 rows in each of the 4 histories and
// 5 health rows)
#include "bench/common/bench_support.h"
#include "clients/core/client_health_store.h"
#include "clients/core/client_history_store.h"
#include "clients/core/client_journal_query.h"
#include "clients/core/training_rules.h"
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {
// Milliseconds of one run of f.
template <class F> double Time(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
}

qint64 FetchAll(CxSQL& sql, const QString& statement) {
    CxResult r = sql.Execute(statement);
    qint64 rows = 0;
    while (r.FetchRow()) {
        r.SFieldValue(0);
        ++rows;
    }
    return rows;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString socket = BenchSocket(argc, argv);
    const int clients = argc > 2 ? qMax(100, atoi(argv[2])) : 20000;
    const QString name = QStringLiteral("kelda_bench_clients");

    CxMySQL sql;
    QString error;
    if (!CreateBenchDatabase(&sql, socket, name, &error))
        return BenchFail(error);

    // Clients in 20 folders, three dated rows per history, drugs, health.
    const QString n = QString::number(clients);
    const QString tables[] = {"clientdatachanges", "drugusedata", "riskbehavior", "socialstatus"};
    QElapsedTimer fill;
    fill.start();
    bool ok =
        BenchExec(sql, "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,bHidden,nTown) "
                       "SELECT seq,0,0,CONCAT('Наркотик ',seq),4,0,0 FROM seq_1_to_20") &&
        BenchExec(sql,
                  "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nSex,nBirthYear,"
                  "nEthnicity,nRelCount) SELECT seq,CONCAT('Папка ',seq),1,0,NULL,NULL,0,0 FROM "
                  "seq_1_to_20") &&
        BenchExec(sql,
                  "INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nSex,nBirthYear,"
                  "nEthnicity,nRelCount) SELECT 100+seq,CONCAT('АБВ',LPAD(seq,5,'0')),0,1+seq%20,"
                  "1+seq%2,1960+seq%40,0,0 FROM seq_1_to_" +
                      n);
    for (const QString& t : tables)
        ok = ok &&
             BenchExec(sql, "INSERT INTO " + t +
                                " (nClientID,dDate) SELECT 100+c.seq,DATE('2015-01-01')+INTERVAL "
                                "(k.seq*400+c.seq%300) DAY FROM seq_1_to_" +
                                n + " c, seq_1_to_3 k");
    ok = ok &&
         BenchExec(sql,
                   "UPDATE drugusedata SET nBasicDrug=1+ROWID%20,nMainRoute=1,nUseFrequency=2") &&
         BenchExec(sql,
                   "INSERT INTO healthstatus (nClientID,nDisease,nStatus) SELECT 100+c.seq,d.seq,"
                   "d.seq%4 FROM seq_1_to_" +
                       n + " c, seq_1_to_5 d") &&
         BenchExec(sql, "INSERT INTO traininglist (ROWID,cName,nForType) VALUES (1,'Тренинг',1)");
    if (!ok)
        return 1;
    const double fillMs = fill.nsecsElapsed() / 1e6;

    // The newest-row marks as a save sets them, one client and table at a
    // time, for the first clients; the rest in one statement per table.
    const int marked = qMin(clients, 2000);
    const double markSome = Time([&] {
        for (const EClientHistory h :
             {EClientHistory::ClientDataChanges, EClientHistory::DrugUseData,
              EClientHistory::RiskBehavior, EClientHistory::SocialStatus})
            for (int c = 1; c <= marked; ++c)
                if (!CClientHistoryStore::UpdateLastLinkID(&sql, h, 100 + c, &error))
                    std::fprintf(stderr, "%s\n", qPrintable(error));
    });
    for (const QString& t : tables)
        if (!BenchExec(sql,
                       "UPDATE " + t +
                           " AS h JOIN (SELECT ROWID,ROW_NUMBER() OVER (PARTITION BY nClientID "
                           "ORDER BY dDate DESC,ROWID DESC) AS n FROM " +
                           t + ") AS r ON r.ROWID=h.ROWID AND r.n=1 SET h.nLastLinkID=h.nClientID"))
            return 1;

    auto* config = new xKDConfiguration;
    config->ParseConfig(QStringLiteral("<CONFIGURATION><LANGUAGE/></CONFIGURATION>"),
                        QStringLiteral("bench"));
    CTarvikApp::SetConfig(config);
    g_SelfTablesKelda.Init(0);

    const QString journal = CClientJournalQuery::Select();
    qint64 rows = 0;
    const double firstPage = Time([&] { FetchAll(sql, journal + " LIMIT 100"); });
    const double laterPage = Time([&] { FetchAll(sql, journal + " LIMIT 100 OFFSET 15000"); });
    const double folder = Time([&] { rows = FetchAll(sql, CClientJournalQuery::Select(7)); });
    const qint64 folderRows = rows;
    const double everything = Time([&] { rows = FetchAll(sql, journal); });

    // One client's save: a new dated page and the health tab, in a transaction.
    CRuleVerdict refusal;
    double historySave = 0, healthSave = 0;
    const int saves = 200;
    for (int i = 0; i < saves; ++i) {
        const qint64 client = 101 + i;
        CHistoryPage page;
        page.date = QDate(2030, 1, 1);
        page.values = {{QStringLiteral("nUseDirtySyr"), 1}};
        CClientHealth health;
        health.filled = true;
        for (const int d : HealthDiseases())
            health.rows.append({d, 1, 0});
        bool saved = sql.BeginTransaction();
        historySave += Time([&] {
            saved =
                saved && CClientHistoryStore::Save(&sql, EClientHistory::RiskBehavior, client,
                                                   {page}, {}, QDate(2030, 1, 1), &refusal, &error);
        });
        healthSave +=
            Time([&] { saved = saved && CClientHealthStore::Save(&sql, client, health, &error); });
        if (!saved || !sql.CommitTransaction())
            return BenchFail(error.isEmpty() ? sql.GetSqlErrorString() : error);
    }

    // A training of 500 clients, 20 of them typed twice and 20 unknown.
    QStringList codes;
    for (int i = 1; i <= 500; ++i)
        codes << QStringLiteral("АБВ%1").arg(i, 5, 10, QChar(u'0'));
    for (int i = 1; i <= 20; ++i)
        codes << codes[i] << QStringLiteral("ЯЯЯ%1").arg(i);
    CSQLEditListCore list;
    SetupTrainingParticipants(&list, kAudienceClients);
    list.SetText(codes.join(QStringLiteral("; ")));
    const double check = Time([&] { list.CheckList(&sql, &error); });
    bool saved = false;
    const double participants = Time([&] { saved = list.Save(&sql, 1, &error); });
    if (!saved)
        return BenchFail(error);

    DropBenchDatabase(socket, name);
    std::printf("clients: %d (history rows %d, health rows %d), filled in %.0f ms\n", clients,
                clients * 12, clients * 5, fillMs);
    std::printf("newest-row mark of one client and history: %.3f ms (mean of %d)\n",
                markSome / (4.0 * marked), 4 * marked);
    std::printf("journal: first page of 100 %.1f ms, page at 15000 %.1f ms, folder of %lld rows "
                "%.1f ms, all %lld rows %.0f ms\n",
                firstPage, laterPage, folderRows, folder, rows, everything);
    std::printf("one client's save: dated tab %.2f ms, health tab %.2f ms (mean of %d)\n",
                historySave / saves, healthSave / saves, saves);
    std::printf("participants: check of %lld entries %.1f ms, save %.1f ms\n", qint64(codes.size()),
                check, participants);
    return 0;
}
