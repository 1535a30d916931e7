// Report builds of several copies while another copy saves: four builders
// and one writer, each a process of its own on one database (as copies of
// the program in an office), for a while alone and then together. A builder
// builds the work tables of a year's report and reads them afterwards, as a
// report does; the writer changes a visit line and sends the change notice
// that drops the work tables. Prints builds per minute, saves per second and
// every build that failed.
//
// Usage: bench_cache_load [--socket PATH] [--database NAME] [--seconds N]
//                         [--save-every-ms M]
//   The database must hold data (kelda_datagen's defaults: 1,000,000 visit
//   cells); N seconds per phase (60 by default); M milliseconds between two
//   saves (0, as fast as it goes, by default).
#include "bench/common/bench_support.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "framework/core/tarvik_app.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>

namespace {
constexpr int kBuilders = 4;

struct Options {
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench");
    int seconds = 60;
    int saveEveryMs = 0;
};

QStringList ChildArguments(const Options& o, const QString& role) {
    return {QStringLiteral("--role"),          role,
            QStringLiteral("--socket"),        o.socket,
            QStringLiteral("--database"),      o.database,
            QStringLiteral("--seconds"),       QString::number(o.seconds),
            QStringLiteral("--save-every-ms"), QString::number(o.saveEveryMs)};
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
    QDeadlineTimer end(o.seconds * 1000);
    while (!end.hasExpired()) {
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
    std::printf("result %d %d\n", done, failed);
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
    QDeadlineTimer end(o.seconds * 1000);
    while (!end.hasExpired()) {
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
    std::printf("result %d %d\n", saves, failed);
    return 0;
}

struct Figures {
    int builds = 0;
    int buildFailures = 0;
    int saves = 0;
    int saveFailures = 0;
};

// Runs the copies of one phase to their end.
bool Phase(const Options& o, int builders, bool writer, Figures* f) {
    std::vector<std::unique_ptr<QProcess>> copies;
    for (int i = 0; i < builders + (writer ? 1 : 0); ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(
            QCoreApplication::applicationFilePath(),
            ChildArguments(o, i < builders ? QStringLiteral("builder") : QStringLiteral("writer")));
        copies.push_back(std::move(p));
    }
    for (size_t i = 0; i < copies.size(); ++i) {
        QProcess& p = *copies[i];
        if (!p.waitForFinished(o.seconds * 1000 + 30 * 60 * 1000) || p.exitCode() != 0)
            return false;
        const QList<QByteArray> words = p.readAllStandardOutput().trimmed().split(' ');
        if (words.size() != 3 || words[0] != "result")
            return false;
        if (int(i) < builders) {
            f->builds += words[1].toInt();
            f->buildFailures += words[2].toInt();
        } else {
            f->saves += words[1].toInt();
            f->saveFailures += words[2].toInt();
        }
    }
    return true;
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
    const double minutes = o.seconds / 60.0;
    Figures alone, writing, together;
    if (!Phase(o, kBuilders, false, &alone) || !Phase(o, 0, true, &writing) ||
        !Phase(o, kBuilders, true, &together))
        return BenchFail(QStringLiteral("a copy did not end well"));
    std::printf("builders alone:    %6.1f builds/min (%d builds, %d failed)\n",
                alone.builds / minutes, alone.builds, alone.buildFailures);
    std::printf("writer alone:      %6.1f saves/s (%d saves, %d failed)\n",
                writing.saves / double(o.seconds), writing.saves, writing.saveFailures);
    std::printf("together:          %6.1f builds/min (%d builds, %d failed), %.1f saves/s (%d "
                "saves, %d failed)\n",
                together.builds / minutes, together.builds, together.buildFailures,
                together.saves / double(o.seconds), together.saves, together.saveFailures);
    return together.buildFailures == 0 && alone.buildFailures == 0 ? 0 : 1;
}
