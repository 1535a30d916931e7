// Measures backup and restore of a large database against the reference of
// "mariadb-dump | gzip" and its restore through the mariadb client, on the
// same data and server.
//
// Usage: bench_backup --socket PATH --database NAME [--fill VISITS] [--dir FOLDER]
//                     [--runs N]
//   --fill VISITS  first makes NAME afresh at the current schema and fills it
//                  with VISITS visit rows (plus clients, reports, histories and
//                  directories in proportion); without it NAME is used as it is
//                  (for example a database of the data generator).
// The restores go into NAME_restore and NAME_reference, which are dropped at
// the end; the files into FOLDER (default: the system's temporary folder).
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/backup/sql_backup.h"
#include "framework/core/backup/sql_restore.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

namespace {

SQLConnectXML g_server;

[[noreturn]] void Die(const QString& text) {
    std::fprintf(stderr, "%s\n%s\n", qPrintable(text), qPrintable(CTarvikApp::TakeErrorMessages()));
    std::exit(1);
}

SQLConnectXML Info(const QString& database) {
    SQLConnectXML info = g_server;
    info.put_Database(database);
    return info;
}

void Exec(CxSQL& sql, const QString& statement) {
    if (!sql.Execute(statement).isValid())
        Die(statement);
}

// A database like a few years of a project's work: visits spread over daily
// reports of service points and workers, clients with their histories.
void Fill(const QString& name, qint64 visits) {
    CxMySQL server;
    if (!server.Connect(&g_server))
        Die(QStringLiteral("server"));
    Exec(server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    CxMySQL sql;
    QString error;
    CSQLDBUpdater updater;
    if (SQLConnectOrCreate(&sql, Info(name), kDatabaseCreationScript, &error) !=
            SQLConnectResult::Connected ||
        !updater.Run(&sql))
        Die(QStringLiteral("creating %1: %2").arg(name, error));
    const qint64 reports = (visits + 29) / 30;
    const qint64 clients = std::max<qint64>(1, visits / 50);
    const char* statements[] = {
        // 20 service points, 40 workers, 60 materials.
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID) SELECT seq,0,0,CONCAT('Пункт ',seq),1,1+seq%4,0,1,0 FROM seq_1_to_20",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID) SELECT 100+seq,0,0,CONCAT('Работник ',seq),2,0,0,0,0 FROM seq_1_to_40",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
        "nRegionDataID) SELECT 200+seq,0,0,CONCAT('Материал «',seq,'»'),3,"
        "((1+seq%8)<<16)+seq%5,0,0,0 FROM seq_1_to_60",
        "INSERT INTO clientdata (ROWID,cClientCode,nBirthYear,dBirthDate,nSex,bIsFolder,nGroupID,"
        "nRegionDataID,nEthnicity,nRelCount,cComment,dEnterDate) SELECT seq,"
        "CONCAT(ELT(1+seq%5,'АБВ','ГДЕ','ЖЗИ','КЛМ','НОП'),LPAD(1+seq%28,2,'0'),"
        "LPAD(seq%100,2,'0'),ELT(1+seq%2,'Ч','Ж'),'`',seq),1950+seq%50,"
        "DATE_ADD('1950-01-01',INTERVAL seq%18000 DAY),1+seq%2,0,0,0,0,0,"
        "IF(seq%7=0,CONCAT('Заметка о клиенте ',seq),NULL),"
        "DATE_ADD('2015-01-01',INTERVAL seq%3000 DAY) FROM seq_1_to_{CLIENTS}",
        "INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,nWorkPlace,cComment,"
        "nGroupID,bIsFolder,nRegionDataID,nCrc,nProject) SELECT seq,DATE_ADD('2015-01-01',"
        "INTERVAL seq%3500 DAY),101+seq%40,IF(seq%3,101+(seq+7)%40,-1),-1,1+seq%20,"
        "CONCAT('Выезд ',seq),0,0,0,seq*7919,0 FROM seq_1_to_{REPORTS}",
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,NPP,nVedID,nRegionDataID) "
        "SELECT 1+seq DIV 30,1+(seq*7)%{CLIENTS},201+seq%60,1+seq%9,seq%30,seq%2,0 "
        "FROM seq_0_to_{LASTVISIT}",
        "INSERT INTO dailyredirects (nReportID,nItem,nCount,nVedID,nConsultKey,nRegionDataID) "
        "SELECT seq,201+seq%60,1+seq%3,0,seq%7,0 FROM seq_1_to_{REPORTS}",
        "INSERT INTO clientdatachanges (ROWID,nClientID,dDate,nClientType,nClientType2,"
        "nLastLinkID) SELECT seq,1+seq%{CLIENTS},DATE_ADD('2015-01-01',INTERVAL seq%3000 DAY),"
        "1+seq%4,seq%64,NULL FROM seq_1_to_{CLIENTS2}",
        "INSERT INTO drugusedata (ROWID,nClientID,dDate,nBasicDrug,nMainRoute,nUseFrequency) "
        "SELECT seq,seq,'2016-05-05',1+seq%6,1+seq%4,1+seq%3 FROM seq_1_to_{CLIENTS}",
        "INSERT INTO socialstatus (ROWID,nClientID,dDate,nEploymentStatus,cOtherEployment,"
        "nPlaceOfLiving) SELECT seq,seq,'2016-05-05',1+seq%5,IF(seq%9=0,'временная работа',"
        "NULL),1+seq%3 FROM seq_1_to_{CLIENTS}",
        "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr,nUsingCondom) "
        "SELECT seq,seq,'2016-05-05',seq%3,seq%2 FROM seq_1_to_{CLIENTS}",
    };
    for (const char* text : statements) {
        QString s = QString::fromUtf8(text);
        s.replace(QStringLiteral("{CLIENTS2}"), QString::number(clients * 2))
            .replace(QStringLiteral("{CLIENTS}"), QString::number(clients))
            .replace(QStringLiteral("{REPORTS}"), QString::number(reports))
            .replace(QStringLiteral("{LASTVISIT}"), QString::number(visits - 1));
        Exec(sql, s);
    }
}

double Seconds(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e9;
}

QString ClientBinary(const QStringList& names) {
    for (const QString& name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    Die(QStringLiteral("missing program: ") + names.join(QStringLiteral(", ")));
}

double RunShell(const QString& command) {
    QElapsedTimer t;
    t.start();
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    shell.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-o"), QStringLiteral("pipefail"), QStringLiteral("-c"), command});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        Die(QStringLiteral("failed: ") + command);
    return Seconds(t);
}

// CHECKSUM TABLE of every table, to compare a restored copy with its source.
QMap<QString, QString> Checksums(const QString& database) {
    CxMySQL sql;
    SQLConnectXML info = Info(database);
    if (!sql.Connect(&info))
        Die(database);
    QMap<QString, QString> out;
    QStringList tables;
    sql.ListTables(tables);
    for (const QString& t : tables) {
        if (t.startsWith(QLatin1String("_cache_"), Qt::CaseInsensitive))
            continue;
        CxResult r = sql.Execute(QStringLiteral("CHECKSUM TABLE `%1`").arg(t));
        out.insert(t.toLower(), r.FetchRow() ? r.SFieldValue(1) : QStringLiteral("?"));
    }
    return out;
}

double Median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString socket = qEnvironmentVariable("KELDA2_SOCKET"), database, folder = QDir::tempPath();
    qint64 fill = 0;
    int runs = 1;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--socket"))
            socket = args[i + 1];
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--fill"))
            fill = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--dir"))
            folder = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else
            Die(QStringLiteral("unknown argument ") + args[i]);
    }
    if (database.isEmpty())
        Die(QStringLiteral("usage: bench_backup --socket PATH --database NAME [--fill VISITS] "
                           "[--dir FOLDER] [--runs N]"));
    g_server.put_Server(QStringLiteral("localhost"));
    g_server.put_User(QStringLiteral("root"));
    g_server.put_Socket(socket);

    if (fill > 0) {
        QElapsedTimer t;
        t.start();
        Fill(database, fill);
        std::printf("filled %s with %lld visits in %.1f s\n", qPrintable(database), fill,
                    Seconds(t));
    }
    CxMySQL server;
    if (!server.Connect(&g_server))
        Die(QStringLiteral("server"));
    CxMySQL source;
    SQLConnectXML sourceInfo = Info(database);
    if (!source.Connect(&sourceInfo))
        Die(database);
    const QString restored = database + QStringLiteral("_restore");
    const QString reference = database + QStringLiteral("_reference");
    const QString ours = QDir(folder).filePath(CSQLBackup::DefaultFileName(database));
    const QString dump = QDir(folder).filePath(database + QStringLiteral(".sql.gz"));
    const QString dumpBinary =
        ClientBinary({QStringLiteral("mariadb-dump"), QStringLiteral("mysqldump")});
    const QString clientBinary = ClientBinary({QStringLiteral("mariadb"), QStringLiteral("mysql")});
    const QString connection = QStringLiteral("--no-defaults --socket='%1' -uroot").arg(socket);

    QList<double> backup, restore, refBackup, refRestore;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer t;
        t.start();
        QString error;
        if (!CSQLBackup::Backup(&source, ours, nullptr, nullptr, &error))
            Die(error);
        backup << Seconds(t);

        Exec(server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(restored));
        Exec(server, QStringLiteral("CREATE DATABASE `%1`").arg(restored));
        CxMySQL target;
        SQLConnectXML targetInfo = Info(restored);
        if (!target.Connect(&targetInfo))
            Die(restored);
        t.restart();
        CSQLRestore restorer;
        if (!restorer.Restore(&target, ours, nullptr, nullptr, &error))
            Die(error);
        restore << Seconds(t);

        refBackup << RunShell(QStringLiteral("'%1' %2 --single-transaction '%3' | gzip > '%4'")
                                  .arg(dumpBinary, connection, database, dump));
        Exec(server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(reference));
        Exec(server, QStringLiteral("CREATE DATABASE `%1`").arg(reference));
        refRestore << RunShell(QStringLiteral("gunzip -c '%1' | '%2' %3 '%4'")
                                   .arg(dump, clientBinary, connection, reference));
    }
    const bool same = Checksums(restored) == Checksums(database);
    const bool refSame = Checksums(reference) == Checksums(database);
    CxResult rows = source.Execute(QStringLiteral("SELECT COUNT(*) FROM dailyvisits"));
    rows.FetchRow();
    std::printf("database %s: %s visit rows\n", qPrintable(database),
                qPrintable(rows.SFieldValue(0)));
    std::printf("%-32s %10s %10s %12s\n", "", "backup s", "restore s", "file MB");
    std::printf("%-32s %10.2f %10.2f %12.1f\n", "Kelda2 backup", Median(backup), Median(restore),
                QFileInfo(ours).size() / 1048576.0);
    std::printf("%-32s %10.2f %10.2f %12.1f\n", "mariadb-dump | gzip (reference)",
                Median(refBackup), Median(refRestore), QFileInfo(dump).size() / 1048576.0);
    std::printf("backup / reference: %.2f (target <= 1), restore / reference: %.2f (target <= 2)\n",
                Median(backup) / Median(refBackup), Median(restore) / Median(refRestore));
    std::printf("restored copy equals the source: %s; reference copy: %s\n", same ? "yes" : "NO",
                refSame ? "yes" : "NO");
    Exec(server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(restored));
    Exec(server, QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(reference));
    QFile::remove(ours);
    QFile::remove(dump);
    return same ? 0 : 1;
}
