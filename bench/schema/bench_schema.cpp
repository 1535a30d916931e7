// Measures the program's start on its database: the first start on a server
// without the database (made from the creation script and taken to the
// current version) and a start on a current database.
//
// Usage: bench_schema [socket] [runs]   (socket defaults to $KELDA2_SOCKET)
#include "bench/common/bench_support.h"
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString socket = BenchSocket(argc, argv);
    const int runs = BenchRuns(argc, argv, 5);
    const QString name = QStringLiteral("kelda_bench_schema");
    const SQLConnectXML info = BenchServerInfo(socket, name);

    QList<double> first, again;
    for (int i = 0; i < runs; ++i) {
        DropBenchDatabase(socket, name);
        QElapsedTimer t;
        t.start();
        {
            CxMySQL sql;
            QString error;
            if (!CreateBenchDatabase(&sql, socket, name, &error))
                return BenchFail(error);
        }
        first << t.nsecsElapsed() / 1e6;
        t.restart();
        {
            CxMySQL sql;
            QString error;
            CSQLDBUpdater updater;
            if (SQLConnectOrCreate(&sql, info, kDatabaseCreationScript, &error) !=
                    SQLConnectResult::Connected ||
                !updater.Run(&sql))
                return 1;
        }
        again << t.nsecsElapsed() / 1e6;
    }
    DropBenchDatabase(socket, name);
    std::printf("runs: %d\n", runs);
    std::printf("first start (create + 420 steps to 486): median %.0f ms, min %.0f ms\n",
                Median(first), *std::min_element(first.begin(), first.end()));
    std::printf("start on a current database:             median %.0f ms, min %.0f ms\n",
                Median(again), *std::min_element(again.begin(), again.end()));
    return 0;
}
