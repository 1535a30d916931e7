// Measures the rebuild of every daily report's checksum (BuildCRC after all
// nCrc were cleared, as the database test does on a carried-over database)
// on a database made by kelda_datagen.
//
// Beside it the reference: the same query through the mariadb client, its
// rows folded by zlib.crc32 in Python. The peak resident memory shows whether
// the rows are held or streamed.
//
// Usage: bench_report_crc [database] [runs]   (database defaults to
// kelda_bench; the server comes from KELDA2_SOCKET / KELDA2_SERVER)
#include "db/mysql_connection.h"
#include "diary/core/daily_report_crc.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {
long PeakMemoryMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// The reference: the checksum pass's query, its rows through zlib.crc32.
double ReferenceSeconds(const QString& database) {
    const QString query = QStringLiteral(
        "SELECT dailyreport.nWorkPlace,dailyreport.nWorker1,dailyreport.nWorker2,"
        "dailyreport.nWorker3,dailyreport.dDate,dailyvisits.nItem,dailyvisits.nClientID,"
        "dailyvisits.nCount,dailyreport.ROWID FROM dailyreport LEFT JOIN dailyvisits ON "
        "dailyvisits.nReportID=dailyreport.ROWID WHERE dailyreport.nRegionDataID=0 ORDER BY "
        "dailyreport.ROWID,dailyvisits.nItem,dailyvisits.NPP,dailyvisits.nVedID,"
        "dailyvisits.ROWID");
    const QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    const QString command =
        QStringLiteral("mariadb -uroot %1 --quick --batch -N -e \"%2\" '%3' | python3 -c "
                       "'import sys,zlib\nc=0\nfor l in sys.stdin.buffer: c=zlib.crc32(l,c)\n"
                       "print(c)' >/dev/null")
            .arg(socket.isEmpty() ? QString() : QStringLiteral("--socket='%1'").arg(socket), query,
                 database);
    QElapsedTimer t;
    t.start();
    QProcess shell;
    shell.setProcessChannelMode(QProcess::ForwardedChannels);
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), command});
    if (!shell.waitForFinished(-1) || shell.exitCode() != 0)
        return -1;
    return t.nsecsElapsed() / 1e9;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString database =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("kelda_bench");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    SQLConnectXML info;
    info.put_Server(qEnvironmentVariable("KELDA2_SERVER", QStringLiteral("localhost")));
    info.put_Socket(qEnvironmentVariable("KELDA2_SOCKET"));
    info.put_User(QStringLiteral("root"));
    info.put_Database(database);
    CxMySQL sql;
    if (!sql.Connect(&info)) {
        std::fprintf(stderr, "%s\n", qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    auto scalar = [&](const QString& statement) {
        CxResult res = sql.Execute(statement);
        return res.FetchRow() ? res.SFieldValue(0) : QString();
    };
    const QString reports = scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport"));
    const QString cells = scalar(QStringLiteral("SELECT COUNT(*) FROM dailyvisits"));
    // A digest of every stored checksum, to see that each run gives the same.
    const QString digestQuery =
        QStringLiteral("SELECT SUM(CRC32(CONCAT(ROWID,':',IFNULL(nCrc,'-')))) FROM dailyreport");

    // Each run times BuildCRC and then its reference, so that a machine
    // whose load changes meanwhile weighs on both alike.
    QList<double> times, reference;
    QString digest;
    for (int i = 0; i < runs; ++i) {
        if (!sql.Execute(QStringLiteral("UPDATE dailyreport SET nCrc=NULL")).isValid())
            return 1;
        QElapsedTimer t;
        t.start();
        CxSQLError error;
        if (!BuildCRC(nullptr, false, &sql, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error.text));
            return 1;
        }
        times << t.nsecsElapsed() / 1e9;
        const QString now = scalar(digestQuery);
        if (!digest.isEmpty() && now != digest) {
            std::fprintf(stderr, "run %d stored other checksums\n", i + 1);
            return 1;
        }
        digest = now;
        reference << ReferenceSeconds(database);
    }
    std::sort(times.begin(), times.end());
    const long peak = PeakMemoryMB();
    std::sort(reference.begin(), reference.end());
    std::printf("%s reports, %s visit cells, %d runs\n", qPrintable(reports), qPrintable(cells),
                runs);
    std::printf("BuildCRC from NULL: median %.2f s, min %.2f s, max %.2f s\n",
                times[times.size() / 2], times.first(), times.last());
    std::printf("reference (same query + zlib.crc32 in Python): median %.2f s\n",
                reference[reference.size() / 2]);
    std::printf("ratio %.2f (target 1.10), peak resident memory %ld MB\n",
                times[times.size() / 2] / reference[reference.size() / 2], peak);
    std::printf("still without checksum: %s\n",
                qPrintable(scalar(
                    QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE IFNULL(nCrc,0)=0"))));
    return 0;
}
