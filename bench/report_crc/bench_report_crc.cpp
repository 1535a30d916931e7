// Measures the rebuild of every daily report's checksum (BuildCRC after all
// nCrc were cleared, as the database test does on a carried-over database)
// on a database made by kelda_datagen.
//
// Usage: bench_report_crc [database] [runs]   (database defaults to
// kelda_bench; the server comes from KELDA2_SOCKET / KELDA2_SERVER)
#include "db/mysql_connection.h"
#include "diary/core/daily_report_crc.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

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

    QList<double> times;
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
    }
    std::sort(times.begin(), times.end());
    std::printf("%s reports, %s visit cells, %d runs\n", qPrintable(reports), qPrintable(cells),
                runs);
    std::printf("BuildCRC from NULL: median %.2f s, min %.2f s, max %.2f s\n",
                times[times.size() / 2], times.first(), times.last());
    std::printf("still without checksum: %s\n",
                qPrintable(scalar(
                    QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE IFNULL(nCrc,0)=0"))));
    return 0;
}
