// Measures what the connection's guard against altered text costs: the same
// writes through CxMySQL::Execute (each write undoable and its warnings
// looked at) and straight through the client library on the same server.
// Shapes: visit rows one by one outside a transaction (a form saving), one
// by one inside a transaction (an import), in batches of 1000 rows (a
// restore or a large sheet), and UPDATEs of single rows.
//
// Usage: bench_writes [socket] [rows]   (socket defaults to $KELDA2_SOCKET)
// Each shape runs five times each way, alternating; the medians are shown.
#include "db/mysql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
const char kCreate[] = "CREATE TABLE dailyvisits (nReportID INT NOT NULL DEFAULT 0, nClientID INT "
                       "NOT NULL DEFAULT 0, nItem INT NOT NULL DEFAULT 0, nCount INT NOT NULL "
                       "DEFAULT 0, cNote varchar(50), ROWID BIGINT PRIMARY KEY AUTO_INCREMENT) "
                       "ENGINE=InnoDB DEFAULT CHARSET=utf8";

QString Row(int i) {
    return QStringLiteral("(%1,%2,%3,%4,'выдано %5')")
        .arg(i / 40)
        .arg(i % 977)
        .arg(i % 31)
        .arg(1 + i % 5)
        .arg(i);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString socket =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("KELDA2_SOCKET");
    const int rows = argc > 2 ? std::max(1000, atoi(argv[2])) : 20000;
    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(socket);
    CxMySQL sql;
    if (!sql.Connect(&info)) {
        std::fprintf(stderr, "%s\n", qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    sql.ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS kelda_bench_writes"));
    if (!sql.Execute(QStringLiteral("CREATE DATABASE kelda_bench_writes")).isValid() ||
        !sql.SelectDatabase(QStringLiteral("kelda_bench_writes"))) {
        std::fprintf(stderr, "%s\n", qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    // The same session without the guard: the client library directly.
    MYSQL* raw = mysql_init(nullptr);
    if (!mysql_real_connect(raw, nullptr, "root", "", "kelda_bench_writes", 0,
                            socket.toLocal8Bit().constData(), 0))
        return 1;
    mysql_set_character_set(raw, "utf8");

    auto guarded = [&](const QString& s) {
        if (!sql.Execute(s).isValid())
            std::exit(1);
    };
    auto plain = [&](const QString& s) {
        const QByteArray utf8 = s.toUtf8();
        if (mysql_real_query(raw, utf8.constData(), utf8.size()) != 0)
            std::exit(1);
        if (MYSQL_RES* r = mysql_store_result(raw))
            mysql_free_result(r);
    };
    struct Shape {
        const char* name;
        int statements;
        bool filled; // the table holds the rows to update
        std::function<void(const std::function<void(const QString&)>&)> run;
    };
    const int single = rows / 10; // one by one is slow with or without the guard
    const Shape shapes[] = {
        {"INSERT one row, no transaction", single, false,
         [&](auto exec) {
             for (int i = 0; i < single; ++i)
                 exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,"
                                     "cNote) VALUES ") +
                      Row(i));
         }},
        {"INSERT one row, in a transaction", rows, false,
         [&](auto exec) {
             exec(QStringLiteral("START TRANSACTION"));
             for (int i = 0; i < rows; ++i)
                 exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,"
                                     "cNote) VALUES ") +
                      Row(i));
             exec(QStringLiteral("COMMIT"));
         }},
        {"INSERT 1000 rows per statement", rows / 1000, false,
         [&](auto exec) {
             for (int b = 0; b < rows / 1000; ++b) {
                 QStringList values;
                 for (int i = 0; i < 1000; ++i)
                     values << Row(b * 1000 + i);
                 exec(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,"
                                     "cNote) VALUES ") +
                      values.join(u','));
             }
         }},
        {"UPDATE one row, no transaction", single, true,
         [&](auto exec) {
             for (int i = 0; i < single; ++i)
                 exec(QStringLiteral("UPDATE dailyvisits SET nCount=nCount+1 WHERE ROWID=%1")
                          .arg(1 + i));
         }},
    };
    std::printf("rows: %d (one-by-one shapes: %d)\n", rows, single);
    constexpr int kRuns = 5; // alternating, the median of each
    for (const Shape& shape : shapes) {
        QList<double> times[2];
        for (int run = 0; run < 2 * kRuns; ++run) {
            const int guard = run % 2;
            plain(QStringLiteral("DROP TABLE IF EXISTS dailyvisits"));
            plain(QString::fromLatin1(kCreate));
            if (shape.filled) {
                QStringList values;
                for (int i = 0; i < single; ++i)
                    values << Row(i);
                plain(QStringLiteral("INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount,"
                                     "cNote) VALUES ") +
                      values.join(u','));
            }
            QElapsedTimer t;
            t.start();
            if (guard)
                shape.run(guarded);
            else
                shape.run(plain);
            times[guard] << t.nsecsElapsed() / 1e6;
        }
        double ms[2];
        for (int guard = 0; guard < 2; ++guard) {
            std::sort(times[guard].begin(), times[guard].end());
            ms[guard] = times[guard][kRuns / 2];
        }
        std::printf("%-34s plain %8.0f ms  guarded %8.0f ms  (%+.0f%%, %.1f us per statement)\n",
                    shape.name, ms[0], ms[1], 100 * (ms[1] - ms[0]) / ms[0],
                    1000 * (ms[1] - ms[0]) / shape.statements);
    }
    plain(QStringLiteral("DROP DATABASE kelda_bench_writes"));
    mysql_close(raw);
    return 0;
}
