// kelda_datagen: makes a benchmark database of the program, at the current
// schema, filled with realistic data that one seed always makes the same.
//
//   kelda_datagen --database kelda_bench --recreate            (the defaults:
//       50 points, 20,000 clients, 3 years, 1,000,000 visit cells)
//   kelda_datagen --database kelda_small --recreate --points 5 --clients 500
//       --years 1 --visits 20000 --history 5            (one line)
//
// The server comes from --server/--socket or KELDA2_SERVER/KELDA2_SOCKET, as
// for the program. See README.md, "Benchmark databases".
#include "data_generator.h"
#include "db/mysql_connection.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <cstdio>

namespace {
struct TableCount {
    const char* table;
    const char* where;
};
const TableCount kCounts[] = {
    {"dir", "NOT bIsFolder"},
    {"towns", "1"},
    {"clientdata", "NOT bIsFolder"},
    {"clientdatachanges", "1"},
    {"drugusedata", "1"},
    {"riskbehavior", "1"},
    {"socialstatus", "1"},
    {"healthstatus", "1"},
    {"dailyreport", "NOT bIsFolder"},
    {"dailyvisits", "1"},
    {"dailyvisitssubhdr", "1"},
    {"dailyredirects", "1"},
    {"traininglist", "NOT bIsFolder"},
    {"trainingssubdata", "1"},
};

int Fail(const QString& text) {
    std::fprintf(stderr, "kelda_datagen: %s\n", qPrintable(text));
    return 1;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kelda_datagen"));
    // The SQL layer also logs every error it meets, the expected "unknown
    // database" of a first creation included; failures are reported below.
    QLoggingCategory::setFilterRules(QStringLiteral("default.warning=false"));
    CDataGenOptions defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes a benchmark database of Kelda2 filled with realistic data."));
    parser.addHelpOption();
    auto number = [&](const char* name, const char* text, qint64 value) {
        QCommandLineOption option(QString::fromLatin1(name), QString::fromUtf8(text),
                                  QStringLiteral("n"), QString::number(value));
        parser.addOption(option);
        return option;
    };
    const QCommandLineOption database(QStringLiteral("database"),
                                      QStringLiteral("Database name (kelda_bench)."),
                                      QStringLiteral("name"), QStringLiteral("kelda_bench"));
    const QCommandLineOption server(QStringLiteral("server"),
                                    QStringLiteral("Server (KELDA2_SERVER, else localhost)."),
                                    QStringLiteral("host"));
    const QCommandLineOption socket(QStringLiteral("socket"),
                                    QStringLiteral("Unix socket (KELDA2_SOCKET)."),
                                    QStringLiteral("path"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("TCP port."),
                                  QStringLiteral("n"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User (root)."),
                                  QStringLiteral("name"), QStringLiteral("root"));
    const QCommandLineOption password(QStringLiteral("password"), QStringLiteral("Password."),
                                      QStringLiteral("text"));
    const QCommandLineOption recreate(QStringLiteral("recreate"),
                                      QStringLiteral("Drop the database first when it exists."));
    const QCommandLineOption noCrc(QStringLiteral("no-checksums"),
                                   QStringLiteral("Leave dailyreport.nCrc empty."));
    const QCommandLineOption lastDay(QStringLiteral("last-day"),
                                     QStringLiteral("Last day of the data (2025-12-31)."),
                                     QStringLiteral("yyyy-mm-dd"), QStringLiteral("2025-12-31"));
    parser.addOptions({database, server, socket, port, user, password, recreate, noCrc, lastDay});
    const auto points = number("points", "Service points.", defaults.points);
    const auto workers = number("workers", "Workers (0: two per point).", defaults.workers);
    const auto materials =
        number("materials", "Materials and services (0: the whole catalogue).", defaults.materials);
    const auto clients = number("clients", "Clients.", defaults.clients);
    const auto years = number("years", "Years of daily reports.", defaults.years);
    const auto visits =
        number("visits", "Visit cells (dailyvisits rows), exactly.", defaults.visits);
    const auto history = number(
        "history", "Rows per client in each dated history (0: one to three).", defaults.history);
    const auto trainings = number("trainings", "Trainings per year.", defaults.trainingsPerYear);
    const auto dirRows = number("dir-rows", "Pad the directory to this many rows.", 0);
    const auto seed = number("seed", "Seed of the data.", qint64(defaults.seed));
    parser.process(app);

    CDataGenOptions options;
    bool ok = true;
    auto read = [&](const QCommandLineOption& option, qint64 low) {
        bool good = false;
        const qint64 v = parser.value(option).toLongLong(&good);
        if (!good || v < low) {
            Fail(QStringLiteral("--%1 wants a number of at least %2")
                     .arg(option.names().first())
                     .arg(low));
            ok = false;
        }
        return v;
    };
    options.points = int(read(points, 1));
    options.workers = int(read(workers, 0));
    options.materials = int(read(materials, 0));
    options.clients = int(read(clients, 1));
    options.years = int(read(years, 1));
    options.visits = read(visits, 0);
    options.history = int(read(history, 0));
    options.trainingsPerYear = int(read(trainings, 0));
    options.dirRows = int(read(dirRows, 0));
    options.seed = quint64(read(seed, 0));
    options.checksums = !parser.isSet(noCrc);
    options.lastDay = QDate::fromString(parser.value(lastDay), Qt::ISODate);
    if (!options.lastDay.isValid())
        return Fail(QStringLiteral("--last-day wants a date as yyyy-mm-dd"));
    if (!ok)
        return 2;

    SQLConnectXML info;
    info.put_Server(parser.isSet(server)
                        ? parser.value(server)
                        : qEnvironmentVariable("KELDA2_SERVER", QStringLiteral("localhost")));
    info.put_Socket(parser.isSet(socket) ? parser.value(socket)
                                         : qEnvironmentVariable("KELDA2_SOCKET"));
    info.put_Port(parser.value(port));
    info.put_User(parser.value(user));
    info.put_Pass(parser.value(password));

    QElapsedTimer total;
    total.start();
    CxMySQL sql;
    QString error;
    const QString name = parser.value(database);
    if (!CreateBenchDatabase(&sql, info, name, parser.isSet(recreate), &error))
        return Fail(error);
    std::printf("database %s at the current schema: %.1f s\n", qPrintable(name),
                total.nsecsElapsed() / 1e9);

    CDataGenerator generator(options);
    generator.SetStageHandler([](const CDataGenerator::Stage& stage) {
        std::printf("%-36s %7.1f s\n", qPrintable(stage.name), stage.seconds);
        std::fflush(stdout);
    });
    if (!generator.Fill(&sql, &error))
        return Fail(error);
    std::printf("total %.1f s (seed %llu)\n\n", total.nsecsElapsed() / 1e9,
                static_cast<unsigned long long>(options.seed));
    for (const TableCount& count : kCounts) {
        CxResult res =
            sql.Execute(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2")
                            .arg(QLatin1String(count.table), QLatin1String(count.where)));
        if (res.FetchRow())
            std::printf("%-20s %10ld\n", count.table, res.LFieldValue(0));
    }
    return 0;
}
