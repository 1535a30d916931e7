// Measures the program's start on its database: the first start on a server
// without the database (made from the creation script and taken to the
// current version) and a start on a current database.
//
// Usage: bench_schema [socket] [runs]   (socket defaults to $KELDA2_SOCKET)
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {
double Median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString socket =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("KELDA2_SOCKET");
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const QString name = QStringLiteral("kelda_bench_schema");

    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(socket);
    CxMySQL server;
    if (!server.Connect(&info)) {
        std::fprintf(stderr, "%s\n", qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    info.put_Database(name);

    QList<double> first, again;
    for (int i = 0; i < runs; ++i) {
        server.Execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        QElapsedTimer t;
        t.start();
        {
            CxMySQL sql;
            QString error;
            CSQLDBUpdater updater;
            if (SQLConnectOrCreate(&sql, info, kDatabaseCreationScript, &error) !=
                    SQLConnectResult::Connected ||
                !updater.Run(&sql)) {
                std::fprintf(stderr, "%s\n%s\n", qPrintable(error),
                             qPrintable(CTarvikApp::TakeErrorMessages()));
                return 1;
            }
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
    server.Execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    std::printf("runs: %d\n", runs);
    std::printf("first start (create + 420 steps to 486): median %.0f ms, min %.0f ms\n",
                Median(first), *std::min_element(first.begin(), first.end()));
    std::printf("start on a current database:             median %.0f ms, min %.0f ms\n",
                Median(again), *std::min_element(again.begin(), again.end()));
    return 0;
}
