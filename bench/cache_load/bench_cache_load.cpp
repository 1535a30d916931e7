// Report builds of several copies while another copy saves: four builders
// and one writer, each a process of its own on one database (as copies of
// the program in an office): the builders alone (first keeping the work
// tables, as copies that change nothing do, then each build afresh, as
// every build is while a copy writes), the writer alone, then all five
// together. A builder builds the work tables of a year's report and reads
// them afterwards, as a report does; it starts builds for N seconds and
// finishes the one under way. The writer changes a visit line and sends the
// change notice that drops the work tables; together with the builders it
// writes until the last build has finished, so every build runs against the
// writer. Rates are taken over each copy's own running time. Prints builds
// per minute and saves per second of each phase, the together figures
// against the builders alone and the writer alone, and every build that
// failed; exits 1 unless every build finished.
//
// Usage: bench_cache_load [--socket PATH] [--database NAME] [--seconds N]
//                         [--save-every-ms M]
//   The database must hold data (kelda_datagen --visits 1000000 for the
//   figures of the 1M database); N seconds per phase (60 by default); M
//   milliseconds between two saves (0, as fast as it goes, by default).
#include "bench/common/bench_support.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "framework/core/tarvik_app.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

namespace {
constexpr int kBuilders = 4;

struct Options {
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench");
    int seconds = 60;
    int saveEveryMs = 0;
    QString stopFile;    // the writer's: it writes until this file is there
    bool afresh = false; // the builder's: drops the work tables before each build
};

QStringList ChildArguments(const Options& o, const QString& role, const QString& stopFile) {
    QStringList args{
        QStringLiteral("--role"),          role,
        QStringLiteral("--afresh"),        o.afresh ? QStringLiteral("1") : QStringLiteral("0"),
        QStringLiteral("--socket"),        o.socket,
        QStringLiteral("--database"),      o.database,
        QStringLiteral("--seconds"),       QString::number(o.seconds),
        QStringLiteral("--save-every-ms"), QString::number(o.saveEveryMs)};
    if (!stopFile.isEmpty())
        args << QStringLiteral("--stop-file") << stopFile;
    return args;
}

// One year up to the last day with reports.
bool Period(CxMySQL& sql, QDate* from, QDate* to) {
    CxResult res = sql.Execute(QStringLiteral("SELECT MAX(dDate) FROM dailyreport"));
    if (!res.FetchRow() || res.IsNull(0))
        return false;
    *to = QDate::fromString(res.SFieldValue(0), Qt::ISODate);
    *from = to->addYears(-1).addDays(1);
    return to->isValid();
}

// A report's build: its tables, then its reading of them.
int Builder(CxMySQL& sql, const Options& o) {
    QList<long> ids;
    if (!PoshPointsOfType(&sql, -1, ids))
        return BenchFail(QStringLiteral("service points"));
    QList<QPair<long, QString>> points;
    for (long id : std::as_const(ids))
        points.append({id, QString::number(id)});
    CPoshSelection::Store(points);
    QDate from, to;
    if (!Period(sql, &from, &to))
        return BenchFail(QStringLiteral("no reports"));
    int done = 0;
    int failed = 0;
    QElapsedTimer running;
    running.start();
    QDeadlineTimer end(o.seconds * 1000);
    while (!end.hasExpired()) {
        if (o.afresh && !DropCacheTables(&sql))
            return BenchFail(QStringLiteral("the work tables were not dropped"));
        try {
            CRepBaseData run(&sql, from, to);
            run.HoldWorkTables();
            const QString summary = run.PrepareSummaryTable();
            run.PrepareClientTable();
            run.PrepareRegularClients();
            for (const QString& read : {QStringLiteral("SELECT SUM(nVisits) FROM ") + summary,
                                        QStringLiteral("SELECT COUNT(*) FROM _cache_compacttable"),
                                        QStringLiteral("SELECT COUNT(*) FROM _cache_clidata")}) {
                CxResult res = sql.Execute(read);
                if (!res.isValid())
                    throw CRepError{res.Error().text};
            }
            ++done;
        } catch (const CRepError& e) {
            ++failed;
            std::fprintf(stderr, "build failed: %s\n", qPrintable(e.html.left(300)));
        }
        CTarvikApp::ClearErrorMessages();
    }
    std::printf("result %d %d %lld\n", done, failed, running.elapsed());
    return 0;
}

// Saves of visit lines, each followed by its change notice.
int Writer(CxMySQL& sql, const Options& o) {
    CxResult range = sql.Execute(QStringLiteral("SELECT MIN(ROWID),MAX(ROWID) FROM dailyvisits"));
    if (!range.FetchRow())
        return BenchFail(QStringLiteral("no visits"));
    const qint64 low = range.SFieldValue(0).toLongLong();
    const qint64 high = range.SFieldValue(1).toLongLong();
    QRandomGenerator random(7);
    int saves = 0;
    int failed = 0;
    QElapsedTimer running;
    running.start();
    QDeadlineTimer end(o.seconds * 1000);
    // With a stop file it writes on, past its time, until the builders are done.
    while (!end.hasExpired() || (!o.stopFile.isEmpty() && !QFile::exists(o.stopFile))) {
        const qint64 row = low + qint64(random.bounded(quint64(high - low + 1)));
        const bool ok =
            sql.BeginTransaction() &&
            sql.Execute(
                   QStringLiteral("UPDATE dailyvisits SET nCount=nCount+1 WHERE ROWID=%1").arg(row))
                .isValid() &&
            sql.CommitTransaction() && DropCacheTables(&sql);
        ok ? ++saves : ++failed;
        if (o.saveEveryMs > 0)
            QThread::msleep(o.saveEveryMs);
    }
    std::printf("result %d %d %lld\n", saves, failed, running.elapsed());
    return 0;
}

struct Figures {
    int builds = 0;
    int buildFailures = 0;
    double buildsPerMinute = 0; // the builders' rates summed
    int saves = 0;
    int saveFailures = 0;
    double savesPerSecond = 0;
};

// Runs the copies of one phase to their end: the builders first; a writer
// beside builders writes until they are done.
bool Phase(const Options& o, int builders, bool writer, Figures* f) {
    QTemporaryDir folder;
    const QString stopFile =
        writer && builders > 0 ? folder.filePath(QStringLiteral("stop")) : QString();
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int i = 0; i < builders + (writer ? 1 : 0); ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const bool builder = i < builders;
        p->start(QCoreApplication::applicationFilePath(),
                 ChildArguments(o, builder ? QStringLiteral("builder") : QStringLiteral("writer"),
                                builder ? QString() : stopFile));
        copies.push_back(std::move(p));
    }
    for (size_t i = 0; i < copies.size(); ++i) {
        if (int(i) == builders && !stopFile.isEmpty())
            QFile(stopFile).open(QIODevice::WriteOnly);
        QProcess& p = *copies[i];
        if (!p.waitForFinished(o.seconds * 1000 + 30 * 60 * 1000) || p.exitCode() != 0)
            return false;
        const QList<QByteArray> words = p.readAllStandardOutput().trimmed().split(' ');
        if (words.size() != 4 || words[0] != "result")
            return false;
        const double minutes = std::max<qint64>(1, words[3].toLongLong()) / 60000.0;
        if (int(i) < builders) {
            f->builds += words[1].toInt();
            f->buildFailures += words[2].toInt();
            f->buildsPerMinute += words[1].toInt() / minutes;
        } else {
            f->saves += words[1].toInt();
            f->saveFailures += words[2].toInt();
            f->savesPerSecond = words[1].toInt() / (minutes * 60);
        }
    }
    return true;
}

double Percent(double part, double whole) {
    return whole > 0 ? 100 * part / whole : 0;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(default_config);
    Options o;
    QString role;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--socket"))
            o.socket = args[i + 1];
        else if (args[i] == QLatin1String("--database"))
            o.database = args[i + 1];
        else if (args[i] == QLatin1String("--seconds"))
            o.seconds = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--save-every-ms"))
            o.saveEveryMs = std::max(0, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--role"))
            role = args[i + 1];
        else if (args[i] == QLatin1String("--stop-file"))
            o.stopFile = args[i + 1];
        else if (args[i] == QLatin1String("--afresh"))
            o.afresh = args[i + 1] == QLatin1String("1");
        else
            return BenchFail(QStringLiteral("unknown option ") + args[i]);
    }
    if (!UseDefaultConfiguration())
        return BenchFail(QStringLiteral("the default configuration does not read"));
    CxMySQL sql;
    SQLConnectXML info = BenchServerInfo(o.socket, o.database);
    if (!sql.Connect(&info))
        return BenchFail(QStringLiteral("cannot open ") + o.database);
    if (role == QLatin1String("builder"))
        return Builder(sql, o);
    if (role == QLatin1String("writer"))
        return Writer(sql, o);

    CxResult cells = sql.Execute(QStringLiteral("SELECT COUNT(*) FROM dailyvisits"));
    std::printf("%s visit cells; %d s per phase; a save every %d ms\n",
                qPrintable(cells.FetchRow() ? cells.SFieldValue(0) : QString()), o.seconds,
                o.saveEveryMs);
    DropCacheTables(&sql);
    Figures kept, afresh, writing, together;
    Options everyBuildAfresh = o;
    everyBuildAfresh.afresh = true;
    if (!Phase(o, kBuilders, false, &kept) || !Phase(everyBuildAfresh, kBuilders, false, &afresh) ||
        !Phase(o, 0, true, &writing) || !Phase(o, kBuilders, true, &together))
        return BenchFail(QStringLiteral("a copy did not end well"));
    std::printf("builders alone, work tables kept:  %8.1f builds/min (%d builds, %d failed)\n",
                kept.buildsPerMinute, kept.builds, kept.buildFailures);
    std::printf("builders alone, each build afresh: %8.1f builds/min (%d builds, %d failed)\n",
                afresh.buildsPerMinute, afresh.builds, afresh.buildFailures);
    std::printf("writer alone:                      %8.1f saves/s (%d saves, %d failed)\n",
                writing.savesPerSecond, writing.saves, writing.saveFailures);
    std::printf("together:                          %8.1f builds/min (%d builds, %d failed), "
                "%.1f saves/s (%d saves, %d failed)\n",
                together.buildsPerMinute, together.builds, together.buildFailures,
                together.savesPerSecond, together.saves, together.saveFailures);
    std::printf("together against alone:           builds %.0f%% of the builders alone afresh "
                "(%.1f%% of them keeping the tables), saves %.0f%% of the writer alone\n",
                Percent(together.buildsPerMinute, afresh.buildsPerMinute),
                Percent(together.buildsPerMinute, kept.buildsPerMinute),
                Percent(together.savesPerSecond, writing.savesPerSecond));
    const bool everyBuild =
        together.buildFailures == 0 && kept.buildFailures == 0 && afresh.buildFailures == 0;
    std::printf("every build finished: %s\n", everyBuild ? "yes" : "no");
    return everyBuild ? 0 : 1;
}
