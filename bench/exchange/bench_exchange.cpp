// Data exchange and old-archive restore on realistic volumes. Each command
// runs in a process of its own, so the peak memory it prints is that of the
// one operation.
//
//   bench_exchange export  --database kelda_bench --out a.k2x
//   bench_exchange receiver --database kelda_recv          (an empty database
//                                                          of organisation B)
//   bench_exchange import  --database kelda_recv --in a.k2x
//   bench_exchange archive --visits 1000000 --out kldbkp.1.bkz --mapping dir3converter.txt
//   bench_exchange restore --database kelda_old --in kldbkp.1.bkz --mapping dir3converter.txt
//   bench_exchange compare --database kelda_bench --visits 1000000 --dir FOLDER [--runs N]
//
// compare runs the three operations beside their references on the same
// rows, each operation in a process of its own: the export beside
// "mariadb-dump | gzip" of the exchanged tables, the import beside
// "mariadb <" of the dump of those tables into an empty database, the
// restore of a generated old archive (--visits cells) beside "mariadb <" of
// the dump of the database it made. Its lines "compare <what>: ..." give
// ours, the reference, the ratio and the peak resident memory; the files go
// into FOLDER, the databases it makes (the sender's name with _recv, _old,
// _ref_import, _ref_restore) are dropped at the end.
// The sender is a database of the generator (bench/datagen: kelda_datagen
// --database kelda_bench --recreate); export gives it the organisation
// identifier "BENCH-A" when it has none. The server comes from --socket or
// KELDA2_SOCKET (else the default socket), user root.
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "exchange/oldarchive/old_archive_converter.h"
#include "exchange/transfer/exchange_helper.h"
#include "framework/core/exchange/sql_export_wizard.h"
#include "framework/core/exchange/sql_import_wizard.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"
#include "indexed_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

QString g_socket;

long PeakMemoryMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

int Fail(const QString& text) {
    std::fprintf(stderr, "bench_exchange: %s\n", qPrintable(text));
    return 1;
}

SQLConnectXML Info(const QString& database) {
    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(g_socket.isEmpty() ? qEnvironmentVariable("KELDA2_SOCKET") : g_socket);
    info.put_Database(database);
    return info;
}

void Report(const char* what, double seconds, qint64 rows, const QString& file = QString()) {
    std::printf("%-8s %9.2f s  %9lld rows  %8.0f rows/s  peak memory %5ld MB", what, seconds,
                (long long)rows, rows / std::max(seconds, 0.001), PeakMemoryMB());
    if (!file.isEmpty())
        std::printf("  file %.1f MB", QFileInfo(file).size() / 1048576.0);
    std::printf("\n");
}

qint64 Total(const QMap<QString, qint64>& rows) {
    qint64 total = 0;
    for (qint64 n : rows)
        total += n;
    return total;
}

int Export(const QString& database, const QString& out) {
    CxMySQL sql;
    SQLConnectXML info = Info(database);
    if (!sql.Connect(&info))
        return Fail(sql.GetSqlErrorString());
    if (!sql.Execute(QStringLiteral("INSERT IGNORE INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,"
                                    "cSogName,cCity,cRegion,cAddress,cPhone,cEMail,cWWW,cBoss,"
                                    "cBossPhone,cProjRuk,cProjRukPhone,cDonors,cProjectDate) "
                                    "VALUES (0,'BENCH-A','Bench A','','','','','','','','','','',"
                                    "'','','','')"))
             .isValid() ||
        !sql.Execute(
                QStringLiteral("UPDATE orginf SET cOrgID='BENCH-A' WHERE ROWID=0 AND cOrgID=''"))
             .isValid())
        return Fail(sql.GetSqlErrorString());
    CKeldaSQLImportWizard_Helper helper;
    CSQLExportWizard wizard(&helper);
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!wizard.Export(&sql, out, nullptr, &error))
        return Fail(error);
    Report("export", timer.elapsed() / 1000.0, Total(wizard.RowCounts()), out);
    return 0;
}

int Receiver(const QString& database) {
    CxMySQL server;
    SQLConnectXML info = Info(QString());
    if (!server.Connect(&info))
        return Fail(server.GetSqlErrorString());
    server.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(database));
    CxMySQL sql;
    QString error;
    if (SQLConnectOrCreate(&sql, Info(database), QByteArray(kDatabaseCreationScript), &error) !=
        SQLConnectResult::Connected)
        return Fail(error);
    CSQLDBUpdater updater;
    if (!updater.Run(&sql))
        return Fail(CTarvikApp::TakeErrorMessages());
    if (!sql.Execute(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID,cOrgName,cPrjName,cSogName,"
                                    "cCity,cRegion,cAddress,cPhone,cEMail,cWWW,cBoss,cBossPhone,"
                                    "cProjRuk,cProjRukPhone,cDonors,cProjectDate) VALUES "
                                    "(0,'BENCH-B','Bench B','','','','','','','','','','','','',"
                                    "'','')"))
             .isValid())
        return Fail(sql.GetSqlErrorString());
    std::printf("receiver %s ready\n", qPrintable(database));
    return 0;
}

int Import(const QString& database, const QString& in) {
    CxMySQL sql;
    SQLConnectXML info = Info(database);
    if (!sql.Connect(&info))
        return Fail(sql.GetSqlErrorString());
    CKeldaSQLImportWizard_Helper helper;
    CSQLImportWizard wizard(&helper);
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!wizard.Import(&sql, in, nullptr, nullptr, &error))
        return Fail(error);
    Report("import", timer.elapsed() / 1000.0, Total(wizard.RowCounts()), in);
    return 0;
}

// --- a generated old archive ---------------------------------------------------

struct OldTable {
    const char* name;
    const char* columns; // for the CREATE text
    int count;           // columns
    qint64 rows;
};

class ArchiveWriter {
public:
    explicit ArchiveWriter(CIndexedFile& file) : m_file(file) {}
    void Null() {
        m_file.WriteInt(0);
        m_file.WriteInt(0);
    }
    void Number(qint64 n) {
        const std::string s = std::to_string(n);
        m_file.WriteInt(2);
        m_file.WriteString(s);
    }
    // ASCII or code page 1251 bytes.
    void Text(const std::string& s) {
        m_file.WriteInt(1);
        m_file.WriteString(s);
    }
    void Date(int year, int month, int day) {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", year, month, day);
        Text(buffer);
    }

private:
    CIndexedFile& m_file;
};

int Archive(qint64 visits, const QString& out, const QString& mappingPath) {
    QElapsedTimer timer;
    timer.start();
    const qint64 perReport = 20;
    const qint64 reports = std::max<qint64>(1, visits / perReport);
    const qint64 clients = std::max<qint64>(10, visits / 50);
    const qint64 general = std::max<qint64>(1, visits / 1000);
    // Old directory ids: roots 1..7, then points, workers, materials, drugs,
    // diseases (kind 5), programmes (kind 6), training topics.
    struct Kind {
        int kind;
        int first, count;
    };
    const Kind kinds[] = {{1, 100, 50}, {2, 200, 100}, {3, 400, 60}, {4, 500, 10},
                          {5, 600, 20}, {6, 700, 5},   {7, 800, 10}};
    const OldTable tables[] = {
        {"orginfo",
         "`ROWID` int, `cParameter` text, `cValue` text, `nRegionID` int, `nUpdateID` int", 5, 2},
        {"traininglist",
         "`ROWID` int, `nTopicID` int, `nNumberOfClients` int, `nTimeInHours` int, `dDate` date, "
         "`cTrainers` text, `cComment` text, `nForType` int, `nGroupID` int, `bIsFolder` "
         "tinyint, `cName` varchar(200), `nRegionID` int",
         12, 100},
        {"directories",
         "`ROWID` int, `nGroupID` int, `bIsFolder` tinyint, `cString` varchar(100), "
         "`cDescription` text, `cOtherInfo` text, `nDirectoryType` int, `nWorkplaceType` int, "
         "`nType` int, `nMaxValue` int, `nDefValue` int, `nMinValue` int, `nCircul` int",
         13, 7 + 255},
        {"dailygeneral", "`ROWID` int, `nGroupID` int, `nCount` int", 3, general},
        {"dailyvisits", "`nReportID` int, `nClientID` int, `nItem` int, `nCount` int, `NPP` int", 5,
         visits},
        {"clientdata",
         "`ROWID` int, `cClientCode` varchar(64), `dFirstDate` date, `dUpdateDate` date, "
         "`nBirthYear` int, `dStartInPrjDate` date, `nSex` int, `cComment` text, `nGroupID` int, "
         "`bIsFolder` tinyint, `nClientType` int, `bSecondary` tinyint, `bFromOther` tinyint",
         13, clients},
        {"drugusedata",
         "`ROWID` int, `dUpdateDate` date, `nBasicDrug` int, `nMainRoute` int, `nSecondaryDrug` "
         "int, `nUseFrequency` int, `nParticipation` int, `nDrugStartDate` int",
         8, clients},
        {"riskbehavior",
         "`ROWID` int, `nUseDirtySyr` int, `nDesinfectionWay` int, `nGivingUsed` int, "
         "`nLastInjectWith` int, `nUsingCondom` int, `nLastSexualPart` int, `dFirstDate` date, "
         "`dUpdateDate` date",
         9, clients},
        {"socialstatus",
         "`ROWID` int, `nEploymentStatus` int, `cOtherEployment` varchar(30), `nPlaceOfLiving` "
         "int, `nEducationLevel` int, `nLegalProblem` int, `nChildCount` int, `dUpdateDate` date, "
         "`bRegPolice` char(1), `bNarcoDisp` char(1)",
         10, clients},
        {"healthstatus",
         "`nClientID` int, `nStatus` int, `nTreatmentStartDate` varchar(20), `nDisease` int", 4,
         clients * 2},
        {"dailyreport",
         "`ROWID` int, `dDate` date, `nWorker1` int, `nWorker2` int, `nWorker3` int, `nWorkPlace` "
         "int, `cComment` varchar(50), `nGroupID` int, `bIsFolder` tinyint",
         9, reports},
    };

    CIndexedFile file;
    if (!file.Open(QFile::encodeName(out).toStdString(), CIndexedFile::modeCreate))
        return Fail(QStringLiteral("cannot write ") + out);
    file.SeekToPart("Backup.Version");
    file.WriteInt(101);
    file.SeekToPart("Backup", true);
    file.WriteInt(int(std::size(tables)));
    for (const OldTable& t : tables)
        file.WriteString(t.name);
    for (const OldTable& t : tables) {
        file.WriteString(std::string("CREATE TABLE `") + t.name + "` (" + t.columns +
                         ") ENGINE=InnoDB");
        file.WriteInt(int(t.rows));
    }
    QRandomGenerator rng(20250601);
    ArchiveWriter w(file);
    QFile mapping(mappingPath);
    if (!mapping.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Fail(QStringLiteral("cannot write ") + mappingPath);
    for (const OldTable& t : tables) {
        file.WriteInt(int(t.rows));
        file.WriteInt(t.count);
        const std::string name = t.name;
        for (qint64 r = 1; r <= t.rows; ++r) {
            if (name == "orginfo") {
                w.Number(r == 1 ? 2147483640 : 2);
                w.Null();
                w.Text(r == 1 ? "BENCH-OLD" : "Bench project");
                w.Number(0);
                w.Number(-1);
            } else if (name == "traininglist") {
                w.Number(r);
                w.Number(800 + rng.bounded(10));
                w.Number(rng.bounded(5, 30));
                w.Number(rng.bounded(1, 8));
                w.Date(2004, 1 + rng.bounded(12), 1 + rng.bounded(28));
                w.Text("Trainer");
                w.Null();
                w.Number(1);
                w.Number(0);
                w.Number(0);
                w.Text("Training " + std::to_string(r));
                w.Number(0);
            } else if (name == "directories") {
                int id, group, kind;
                std::string text;
                if (r <= 7) {
                    id = group = 0;
                    id = int(r);
                    kind = int(r);
                    text = "Root " + std::to_string(r);
                } else {
                    int index = int(r - 8);
                    const Kind* k = kinds;
                    while (index >= k->count) {
                        index -= k->count;
                        ++k;
                    }
                    id = k->first + index;
                    kind = k->kind;
                    group = kind;
                    text = "Entry " + std::to_string(kind) + "-" + std::to_string(index);
                    if (kind == 5 || kind == 6)
                        mapping.write(QStringLiteral("%1:%2\t%3\r\n")
                                          .arg(kind)
                                          .arg(QString::fromStdString(text))
                                          .arg(kind == 5 ? 1 + index : 196608 + index)
                                          .toUtf8());
                }
                w.Number(id);
                w.Number(r <= 7 ? 0 : group);
                w.Number(r <= 7 ? 1 : 0);
                w.Text(text);
                w.Null();
                w.Null();
                w.Number(kind);
                w.Number(kind == 1 ? 1 + rng.bounded(6) : 0);
                w.Number(kind == 3 ? 0x10000 * (1 + rng.bounded(8)) + 1 : 0);
                w.Null();
                w.Null();
                w.Null();
                w.Null();
            } else if (name == "dailygeneral") {
                w.Number(r);
                w.Number(1 + rng.bounded(int(reports)));
                w.Number(1 + rng.bounded(9));
                mapping.write(QStringLiteral("DG.%1\t%2\r\n")
                                  .arg(r)
                                  .arg((1 + r % 4) << 16 | 1 << (r % 6))
                                  .toUtf8());
            } else if (name == "dailyvisits") {
                const qint64 report = 1 + (r - 1) / perReport;
                w.Number(report);
                w.Number(1 + rng.bounded(int(clients)));
                const int item = rng.bounded(100);
                w.Number(item < 3 ? -3 : item < 5 ? -2 : 400 + rng.bounded(60));
                w.Number(1 + rng.bounded(20));
                w.Number((r - 1) % perReport + 1);
            } else if (name == "clientdata") {
                char code[32];
                const int year = 1950 + rng.bounded(50);
                std::snprintf(code, sizeof code, "C%06lld%02d", (long long)r, year % 100);
                w.Number(r);
                w.Text(code);
                w.Date(2003, 1 + rng.bounded(12), 1 + rng.bounded(28));
                w.Null();
                w.Number(year);
                w.Date(2003, 1 + rng.bounded(12), 1 + rng.bounded(28));
                w.Number(1 + rng.bounded(2));
                w.Null();
                w.Number(0);
                w.Number(0);
                w.Number(1 << rng.bounded(8));
                w.Number(0);
                w.Number(0);
            } else if (name == "drugusedata") {
                w.Number(r);
                w.Null();
                w.Number(500 + rng.bounded(10));
                w.Number(1 << rng.bounded(4));
                w.Number(-1);
                w.Number(1 + rng.bounded(4));
                w.Number(rng.bounded(3) ? -1 : 700 + rng.bounded(5));
                w.Number(1990 + rng.bounded(14));
            } else if (name == "riskbehavior") {
                w.Number(r);
                for (int i = 0; i < 5; ++i)
                    w.Number(rng.bounded(3));
                w.Number(rng.bounded(3));
                w.Date(2003, 1 + rng.bounded(12), 1 + rng.bounded(28));
                w.Null();
            } else if (name == "socialstatus") {
                w.Number(r);
                w.Number(rng.bounded(4));
                w.Null();
                w.Number(rng.bounded(4));
                w.Number(rng.bounded(4));
                w.Number(rng.bounded(3));
                w.Number(rng.bounded(3));
                w.Null();
                w.Text("0");
                w.Text("0");
            } else if (name == "healthstatus") {
                w.Number(1 + (r - 1) / 2);
                w.Number(1 + rng.bounded(2));
                w.Text(rng.bounded(2) ? "12.05.2005" : "");
                w.Number(600 + (r - 1) % 2 + 2 * rng.bounded(10));
            } else if (name == "dailyreport") {
                w.Number(r);
                w.Date(2003 + int(r * 3 / std::max<qint64>(reports, 1)), 1 + rng.bounded(12),
                       1 + rng.bounded(28));
                w.Number(200 + rng.bounded(100));
                w.Number(-1);
                w.Number(-1);
                w.Number(100 + rng.bounded(50));
                w.Null();
                w.Number(0);
                w.Number(0);
            }
        }
    }
    if (!file.Close())
        return Fail(QStringLiteral("cannot write ") + out);
    Report("archive", timer.elapsed() / 1000.0, visits, out);
    return 0;
}

int Restore(const QString& database, const QString& in, const QString& mapping) {
    // A database of the program to be replaced (made fresh).
    if (int rc = Receiver(database))
        return rc;
    CxMySQL sql;
    SQLConnectXML info = Info(database);
    if (!sql.Connect(&info))
        return Fail(sql.GetSqlErrorString());
    COldArchiveConverter converter(&sql, nullptr);
    converter.SetMappingFilePath(mapping);
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!converter.Convert(in, nullptr, &error))
        return Fail(error + u'\n' + CTarvikApp::TakeErrorMessages().left(2000));
    CxResult res = sql.Execute(QStringLiteral("SELECT COUNT(*) FROM dailyvisits"));
    res.FetchRow();
    Report("restore", timer.elapsed() / 1000.0, res.SFieldValue(0).toLongLong(), in);
    return 0;
}

// --- the operations beside their references ------------------------------------

struct Figures {
    double seconds = -1;
    long peakMB = -1;
};

// Runs one command of this program in a process of its own and reads the
// figures of its last line.
bool RunOwn(const QStringList& arguments, Figures* figures) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList all = arguments;
    if (!g_socket.isEmpty())
        all << QStringLiteral("--socket") << g_socket;
    child.start(QCoreApplication::applicationFilePath(), all);
    if (!child.waitForFinished(-1) || child.exitCode() != 0) {
        Fail(QStringLiteral("failed: ") + arguments.join(u' '));
        return false;
    }
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    std::fputs(qPrintable(out), stdout);
    static const QRegularExpression line(
        QStringLiteral("^\\w+\\s+([0-9.]+) s .*peak memory\\s+(\\d+) MB"),
        QRegularExpression::MultilineOption);
    QRegularExpressionMatch last;
    for (auto it = line.globalMatch(out); it.hasNext();)
        last = it.next();
    if (figures && last.hasMatch()) {
        figures->seconds = last.captured(1).toDouble();
        figures->peakMB = last.captured(2).toLong();
    }
    return true;
}

QString ClientBinary(const QStringList& names) {
    for (const QString& name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

// A shell pipeline's wall time; -1 when it failed.
double RunShell(const QString& command) {
    QElapsedTimer t;
    t.start();
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    shell.start(QStringLiteral("/bin/bash"),
                {QStringLiteral("-o"), QStringLiteral("pipefail"), QStringLiteral("-c"), command});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0) {
        Fail(QStringLiteral("failed: ") + command);
        return -1;
    }
    return t.nsecsElapsed() / 1e9;
}

QString ShellQuoted(const QString& text) {
    QString out = text;
    out.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + out + u'\'';
}

bool ServerStatement(const QString& statement) {
    CxMySQL server;
    SQLConnectXML info = Info(QString());
    return server.Connect(&info) && server.Execute(statement).isValid();
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

void PrintComparison(const char* what, const QList<double>& ours, const QList<double>& reference,
                     long peakMB, double target) {
    const double o = Median(ours), r = Median(reference);
    std::printf("compare %s: ours %.2f s, reference %.2f s, ratio %.2f (target %.2f), peak "
                "memory %ld MB\n",
                what, o, r, r > 0 ? o / r : 0.0, target, peakMB);
}

int Compare(const QString& database, qint64 visits, const QString& folder, int runs) {
    constexpr double kTarget = 1.5;
    const QString dumpBinary =
        ClientBinary({QStringLiteral("mariadb-dump"), QStringLiteral("mysqldump")});
    const QString clientBinary = ClientBinary({QStringLiteral("mariadb"), QStringLiteral("mysql")});
    if (dumpBinary.isEmpty() || clientBinary.isEmpty())
        return Fail(QStringLiteral("the mariadb client and mariadb-dump are needed"));
    QDir().mkpath(folder);
    const QDir dir(folder);
    const QString socket = g_socket.isEmpty() ? qEnvironmentVariable("KELDA2_SOCKET") : g_socket;
    const QString connection =
        QStringLiteral("--no-defaults -uroot") +
        (socket.isEmpty() ? QString() : QStringLiteral(" --socket=") + ShellQuoted(socket));
    QStringList tables;
    CKeldaSQLImportWizard_Helper helper;
    for (const CSQLExchangeTable& table : helper.GetExchangeTables())
        tables << table.name;
    const QString package = dir.filePath(QStringLiteral("bench.k2x"));
    const QString dump = dir.filePath(QStringLiteral("exchange.sql"));
    const QString receiver = database + QStringLiteral("_recv");
    const QString old = database + QStringLiteral("_old");
    const QString refImport = database + QStringLiteral("_ref_import");
    const QString refRestore = database + QStringLiteral("_ref_restore");
    const QString archive = dir.filePath(QStringLiteral("kldbkp.1.bkz"));
    const QString mapping = dir.filePath(QStringLiteral("dir3converter.txt"));
    const QString restoredDump = dir.filePath(QStringLiteral("restored.sql"));
    auto load = [&](const QString& target, const QString& file) {
        if (!ServerStatement(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(target)) ||
            !ServerStatement(QStringLiteral("CREATE DATABASE `%1`").arg(target)))
            return -1.0;
        return RunShell(QStringLiteral("%1 %2 %3 < %4")
                            .arg(ShellQuoted(clientBinary), connection, ShellQuoted(target),
                                 ShellQuoted(file)));
    };

    QList<double> exportOurs, exportRef, importOurs, importRef, restoreOurs, restoreRef;
    long exportPeak = 0, importPeak = 0, restorePeak = 0;
    for (int run = 0; run < runs; ++run) {
        Figures f;
        if (!RunOwn({QStringLiteral("export"), QStringLiteral("--database"), database,
                     QStringLiteral("--out"), package},
                    &f))
            return 1;
        exportOurs << f.seconds;
        exportPeak = std::max(exportPeak, f.peakMB);
        const double ref =
            RunShell(QStringLiteral("%1 %2 --single-transaction %3 %4 | gzip > %5")
                         .arg(ShellQuoted(dumpBinary), connection, ShellQuoted(database),
                              tables.join(u' '), ShellQuoted(dump + QStringLiteral(".gz"))));
        if (ref < 0)
            return 1;
        exportRef << ref;

        if (!RunOwn({QStringLiteral("receiver"), QStringLiteral("--database"), receiver},
                    nullptr) ||
            !RunOwn({QStringLiteral("import"), QStringLiteral("--database"), receiver,
                     QStringLiteral("--in"), package},
                    &f))
            return 1;
        importOurs << f.seconds;
        importPeak = std::max(importPeak, f.peakMB);
        // The same rows as the package carries, loaded from a plain dump.
        if (RunShell(QStringLiteral("gunzip -c %1 > %2")
                         .arg(ShellQuoted(dump + QStringLiteral(".gz")), ShellQuoted(dump))) < 0)
            return 1;
        const double refLoad = load(refImport, dump);
        if (refLoad < 0)
            return 1;
        importRef << refLoad;
    }
    Figures archived;
    if (!RunOwn({QStringLiteral("archive"), QStringLiteral("--visits"), QString::number(visits),
                 QStringLiteral("--out"), archive, QStringLiteral("--mapping"), mapping},
                &archived))
        return 1;
    for (int run = 0; run < runs; ++run) {
        Figures f;
        if (!RunOwn({QStringLiteral("restore"), QStringLiteral("--database"), old,
                     QStringLiteral("--in"), archive, QStringLiteral("--mapping"), mapping},
                    &f))
            return 1;
        restoreOurs << f.seconds;
        restorePeak = std::max(restorePeak, f.peakMB);
        // The rows the restore made, loaded from a plain dump.
        if (RunShell(QStringLiteral("%1 %2 %3 > %4")
                         .arg(ShellQuoted(dumpBinary), connection, ShellQuoted(old),
                              ShellQuoted(restoredDump))) < 0)
            return 1;
        const double refLoad = load(refRestore, restoredDump);
        if (refLoad < 0)
            return 1;
        restoreRef << refLoad;
    }
    std::printf("\npackage %.1f MB, dump | gzip %.1f MB, plain dump %.1f MB; archive %.1f MB, "
                "dump of the restored database %.1f MB\n",
                QFileInfo(package).size() / 1048576.0,
                QFileInfo(dump + QStringLiteral(".gz")).size() / 1048576.0,
                QFileInfo(dump).size() / 1048576.0, QFileInfo(archive).size() / 1048576.0,
                QFileInfo(restoredDump).size() / 1048576.0);
    PrintComparison("export (mariadb-dump | gzip of the same tables)", exportOurs, exportRef,
                    exportPeak, kTarget);
    PrintComparison("import (mariadb < dump of the same rows)", importOurs, importRef, importPeak,
                    kTarget);
    PrintComparison("restore (mariadb < dump of the same rows)", restoreOurs, restoreRef,
                    restorePeak, kTarget);
    for (const QString& name : {receiver, old, refImport, refRestore})
        ServerStatement(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    for (const QString& file :
         {package, dump, dump + QStringLiteral(".gz"), archive, mapping, restoredDump})
        QFile::remove(file);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
    QCommandLineParser parser;
    parser.addPositionalArgument(
        QStringLiteral("command"),
        QStringLiteral("export, receiver, import, archive, restore or compare"));
    const QCommandLineOption database(QStringLiteral("database"), QStringLiteral("Database."),
                                      QStringLiteral("name"));
    const QCommandLineOption socket(QStringLiteral("socket"), QStringLiteral("Unix socket."),
                                    QStringLiteral("path"));
    const QCommandLineOption in(QStringLiteral("in"), QStringLiteral("File read."),
                                QStringLiteral("path"));
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("File written."),
                                 QStringLiteral("path"));
    const QCommandLineOption mapping(QStringLiteral("mapping"), QStringLiteral("Mapping file."),
                                     QStringLiteral("path"));
    const QCommandLineOption visits(QStringLiteral("visits"), QStringLiteral("Visits."),
                                    QStringLiteral("n"), QStringLiteral("1000000"));
    const QCommandLineOption dir(QStringLiteral("dir"), QStringLiteral("Folder of the files."),
                                 QStringLiteral("path"), QDir::tempPath());
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Runs."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    parser.addOptions({database, socket, in, out, mapping, visits, dir, runs});
    parser.addHelpOption();
    parser.process(app);
    g_socket = parser.value(socket);
    const QString command = parser.positionalArguments().value(0);
    if (command == QLatin1String("export"))
        return Export(parser.value(database), parser.value(out));
    if (command == QLatin1String("receiver"))
        return Receiver(parser.value(database));
    if (command == QLatin1String("import"))
        return Import(parser.value(database), parser.value(in));
    if (command == QLatin1String("archive"))
        return Archive(parser.value(visits).toLongLong(), parser.value(out), parser.value(mapping));
    if (command == QLatin1String("restore"))
        return Restore(parser.value(database), parser.value(in), parser.value(mapping));
    if (command == QLatin1String("compare"))
        return Compare(parser.value(database), parser.value(visits).toLongLong(), parser.value(dir),
                       std::max(1, parser.value(runs).toInt()));
    parser.showHelp(1);
}
