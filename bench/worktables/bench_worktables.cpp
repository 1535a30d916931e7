// Measures the build of every report work table on a generated database,
// each beside one hand-written aggregate query that gives the same headline
// figure straight from the data tables (the figures are compared too), for
// a period of one year and of three years; then the run that finds every
// table built (the second build of a report over unchanged data).
//
// Usage: bench_worktables --socket PATH [--database NAME] [--generate VISITS]
//                         [--runs N] [--prepare]
//   --generate makes the database anew (current schema, VISITS visit lines
//   over 2013-2015); without it the database must hold such data already
//   (for example one the project's data generator made). The periods are
//   the last year the daily reports reach and the three years up to it. Each table is
//   made N times (3 by default) from nothing; the medians are shown. --prepare only
//   makes the tables of one year and leaves them, to study their queries.
#include "bench/common/bench_support.h"
#include "data_generator.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "reports/base/core/fast_tables.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/core/rep_config.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
QString Rows(CxResult res) {
    QStringList rows;
    while (res.FetchRow()) {
        QStringList cells;
        for (int i = 0; i < res.FieldsCount(); ++i)
            cells << (res.IsNull(i) ? QStringLiteral("NULL") : res.SFieldValue(i));
        rows << cells.join(u'|');
    }
    return rows.join(u';');
}

double Ms(QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e6;
}

struct Measure {
    QString table;
    std::function<QString()> build; // builds the table, answers its name
    QString figure;                 // the headline from the table ({T} its name)
    QString reference;              // the same figure from the data tables
};

QString CodesOfGroups(bool consultations, long onlyGroup = 0) {
    QStringList codes;
    for (const RepMatGroup& g : RepConfig::MaterialGroups()) {
        if (g.group == 0 || ((g.id & 458752) == 458752) != consultations)
            continue;
        if (onlyGroup && g.group != onlyGroup)
            continue;
        codes << QString::number(g.id);
    }
    return codes.isEmpty() ? QStringLiteral("-1") : codes.join(u',');
}

const char* kKey = "CONCAT(UPPER(LEFT(cd.cClientCode,IF(LOCATE('`',cd.cClientCode),LOCATE('`',"
                   "cd.cClientCode)-1,255))),IF(cd.bNewCode,'',CONCAT('`',cd.ROWID)))";

// The risk group of each client with visits on {TO}: its latest record up to
// that day, else 0.
const char* kTypeOnDate =
    "SELECT c.nClientID,IFNULL(t.nClientType,0) AS g FROM (SELECT DISTINCT dv.nClientID FROM "
    "dailyvisits dv JOIN dailyreport dr ON dr.ROWID=dv.nReportID WHERE dr.dDate IS NOT NULL) c "
    "LEFT JOIN (SELECT nClientID,nClientType FROM (SELECT nClientID,nClientType,ROW_NUMBER() "
    "OVER (PARTITION BY nClientID ORDER BY dDate DESC,ROWID DESC) AS rn FROM clientdatachanges "
    "WHERE dDate<={TO}) x WHERE rn=1) t ON t.nClientID=c.nClientID";
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(default_config);
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench_reports");
    long generate = 0;
    int runs = 3;
    bool prepareOnly = false;
    QStringList args = app.arguments();
    if (args.removeAll(QStringLiteral("--prepare")))
        prepareOnly = true; // makes the tables of one year and stops, to study them
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--socket"))
            socket = args[i + 1];
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--generate"))
            generate = args[i + 1].toLong();
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else
            return BenchFail(QStringLiteral("unknown option ") + args[i]);
    }
    if (!UseDefaultConfiguration())
        return BenchFail(QStringLiteral("the default configuration does not read"));

    SQLConnectXML info = BenchServerInfo(socket);
    CxMySQL sql;
    if (generate > 0) {
        QString error;
        if (!CreateBenchDatabase(&sql, socket, database, &error))
            return BenchFail(error);
        QElapsedTimer t;
        t.start();
        if (!GenerateReportData(&sql, generate, &error))
            return BenchFail(error);
        std::printf("generated in %.1f s\n", Ms(t) / 1000);
    } else {
        info.put_Database(database);
        if (!sql.Connect(&info))
            return BenchFail(QStringLiteral("cannot open ") + database);
    }
    std::printf("data: %s visit lines, %s daily reports, %s clients\n",
                qPrintable(Rows(sql.Execute(QStringLiteral("SELECT COUNT(*) FROM dailyvisits")))),
                qPrintable(Rows(sql.Execute(QStringLiteral("SELECT COUNT(*) FROM dailyreport")))),
                qPrintable(Rows(sql.Execute(QStringLiteral("SELECT COUNT(*) FROM clientdata")))));
    {
        QList<long> ids;
        QString error;
        if (!PoshPointsOfType(&sql, -1, ids, &error))
            return BenchFail(QStringLiteral("service points: ") + error);
        QList<QPair<long, QString>> points;
        for (long id : std::as_const(ids))
            points.append({id, QString::number(id)});
        CPoshSelection::Store(points);
    }

    // The periods end with the last year the daily reports reach: 2015 for
    // the data made by --generate, the latest years for the project's data
    // generator.
    CxResult span = sql.Execute(QStringLiteral("SELECT YEAR(MAX(dDate)) FROM dailyreport"));
    if (!span.FetchRow() || span.IsNull(0))
        return BenchFail(QStringLiteral("the database holds no daily reports"));
    const int lastYear = int(span.LFieldValue(0));
    const QDate yearStart(lastYear, 1, 1);
    const QDate yearEnd(lastYear, 12, 31);

    if (prepareOnly) {
        DropCacheTables(&sql);
        CRepBaseData run(&sql, yearStart, yearEnd);
        try {
            run.PrepareSummaryTable();
            run.PrepareRegularClients();
            run.PrepareConsCompactTable();
        } catch (const CRepError& e) {
            return BenchFail(e.html);
        }
        return 0;
    }

    const struct Period {
        const char* name;
        QDate from, to;
    } periods[] = {{"one year", yearStart, yearEnd},
                   {"three years", QDate(lastYear - 2, 1, 1), yearEnd}};
    bool allMatch = true;
    double worstRatio = 0;
    for (const Period& period : periods) {
        QList<QList<double>> builds, queries;
        QStringList names, figures, references;
        for (int r = 0; r < runs; ++r) {
            DropCacheTables(&sql);
            CRepBaseData run(&sql, period.from, period.to);
            CRepBaseData country(&sql, period.from, period.to);
            country.SetNewClientMode(2);
            const QList<CxString::Pair> dates = {
                {QStringLiteral("{FROM}"),
                 QStringLiteral("'") + period.from.toString(Qt::ISODate) + u'\''},
                {QStringLiteral("{TO}"),
                 QStringLiteral("'") + period.to.toString(Qt::ISODate) + u'\''},
                {QStringLiteral("{Y}"),
                 QStringLiteral("'") + run.RegularYearStart().toString(Qt::ISODate) + u'\''},
                {QStringLiteral("{Q}"),
                 QStringLiteral("'") + run.RegularQuarterStart().toString(Qt::ISODate) + u'\''},
                {QStringLiteral("{KEY}"), QString::fromLatin1(kKey)},
                {QStringLiteral("{MATCODES}"), CodesOfGroups(false)},
                {QStringLiteral("{CONSCODES}"), CodesOfGroups(true)},
                {QStringLiteral("{SYRINGES}"), CodesOfGroups(false, 510)},
            };
            // A history's headline: the clients with a state on {TO} and the sum
            // of its first column, from the period table and from the history.
            const auto history = [&](const char* table, const char* columns) {
                const QString first = QString::fromLatin1(columns).section(u',', 0, 0);
                return Measure{
                    QStringLiteral("_cache_dp") + QString::fromLatin1(table),
                    [&run, table, columns] {
                        return run.PrepareHistoryPeriods(QString::fromLatin1(table),
                                                         QString::fromLatin1(columns),
                                                         QString::fromLatin1(table));
                    },
                    QStringLiteral("SELECT COUNT(*),SUM(") + first +
                        QStringLiteral(") FROM {T} WHERE {TO} BETWEEN dStartDate AND dEndDate"),
                    QStringLiteral("SELECT COUNT(*),SUM(IFNULL(") + first +
                        QStringLiteral(",0)) FROM (SELECT ") + first +
                        QStringLiteral(
                            ",ROW_NUMBER() OVER (PARTITION BY nClientID ORDER BY "
                            "dDate<={TO} DESC,IF(dDate<={TO},dDate,NULL) DESC,dDate) AS rn "
                            "FROM ") +
                        QString::fromLatin1(table) +
                        QStringLiteral(
                            " WHERE nClientID IS NOT NULL AND dDate IS NOT NULL) x WHERE "
                            "rn=1")};
            };
            const QList<Measure> measures = {
                {QStringLiteral("_cache_pou_N"), [&] { return run.PrepareSelectedPOU(); },
                 QStringLiteral("SELECT COUNT(*) FROM {T}"),
                 QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=1 AND NOT bIsFolder")},
                {QStringLiteral("_cache_matlist"), [&] { return run.PrepareMatList(); },
                 QStringLiteral("SELECT COUNT(DISTINCT ROWID),COUNT(*) FROM {T}"),
                 QStringLiteral(
                     "SELECT COUNT(*),COUNT(*)+SUM(nType IN ({MATCODES})) FROM dir WHERE "
                     "nDirType=3 AND NOT bIsFolder AND (458752&nType)<>458752 AND nType")},
                {QStringLiteral("_cache_conslist"), [&] { return run.PrepareConsList(); },
                 QStringLiteral("SELECT COUNT(DISTINCT ROWID),COUNT(*) FROM {T}"),
                 QStringLiteral(
                     "SELECT COUNT(*),SUM(nType IN ({CONSCODES}))+SUM(nConfigGroup>0) FROM "
                     "dir WHERE nDirType=3 AND NOT bIsFolder AND (268369920&nType)=458752 "
                     "AND (nType IN ({CONSCODES}) OR nConfigGroup>0)")},
                {QStringLiteral("_cache_compacttable"), [&] { return run.PrepareCompactTable(); },
                 QStringLiteral(
                     "SELECT COUNT(DISTINCT nClientID),SUM(IF(nType=510,nCount,0)) FROM {T}"),
                 QStringLiteral(
                     "SELECT COUNT(DISTINCT dv.nClientID),SUM(IF(d.nType IN ({SYRINGES}),"
                     "dv.nCount,0)) FROM dailyvisits dv JOIN dailyreport dr ON "
                     "dr.ROWID=dv.nReportID JOIN dir d ON d.ROWID=dv.nItem WHERE dr.dDate "
                     "IS NOT NULL AND d.nDirType=3")},
                {QStringLiteral("_cache_summary<from><to>"),
                 [&] { return run.PrepareSummaryTable(); },
                 QStringLiteral("SELECT nWorkPlace,COUNT(DISTINCT nClientID),SUM(nVisits) FROM {T} "
                                "GROUP BY nWorkPlace ORDER BY nWorkPlace"),
                 QStringLiteral(
                     "SELECT dr.nWorkPlace,COUNT(DISTINCT dv.nClientID),COUNT(DISTINCT "
                     "dv.nClientID,dr.ROWID) FROM dailyvisits dv JOIN dailyreport dr ON "
                     "dr.ROWID=dv.nReportID WHERE dr.dDate BETWEEN {FROM} AND {TO} GROUP BY "
                     "dr.nWorkPlace ORDER BY dr.nWorkPlace")},
                {QStringLiteral("_cache_clidata"), [&] { return run.PrepareClientTable(); },
                 QStringLiteral("SELECT COUNT(*),COUNT(DISTINCT gROWID) FROM {T}"),
                 QStringLiteral(
                     "SELECT COUNT(*),COUNT(DISTINCT {KEY},cd.nBirthYear,cd.nSex) FROM "
                     "clientdata cd JOIN (SELECT DISTINCT dv.nClientID FROM dailyvisits dv "
                     "JOIN dailyreport dr ON dr.ROWID=dv.nReportID WHERE dr.dDate IS NOT "
                     "NULL) v ON v.nClientID=cd.ROWID WHERE NOT cd.bIsFolder")},
                {QStringLiteral("_cache_clidataua"), [&] { return country.PrepareClientTable(); },
                 QStringLiteral("SELECT COUNT(DISTINCT gROWID) FROM {T} WHERE dFirstDate BETWEEN "
                                "{FROM} AND {TO}"),
                 QStringLiteral(
                     "SELECT COUNT(*) FROM (SELECT MIN(dr.dDate) AS f FROM dailyvisits dv "
                     "JOIN dailyreport dr ON dr.ROWID=dv.nReportID JOIN clientdata cd ON "
                     "cd.ROWID=dv.nClientID WHERE dr.dDate IS NOT NULL AND NOT cd.bIsFolder "
                     "GROUP BY {KEY},cd.nBirthYear,cd.nSex) p WHERE f BETWEEN {FROM} AND "
                     "{TO}")},
                history("clientdatachanges", "nClientType,nClientType2"),
                history("riskbehavior", "nUseDirtySyr,nDesinfectionWay,nGivingUsed,nLastInjectWith,"
                                        "nUsingCondom,nLastSexualPart"),
                history("drugusedata", "nBasicDrug,nMainRoute,nSecondaryDrug,nUseFrequency,"
                                       "nParticipation,nDrugStartDate"),
                history("socialstatus", "nEploymentStatus,nPlaceOfLiving,nEducationLevel,"
                                        "nLegalProblem,bRegPolice,bNarcoDisp"),
                {QStringLiteral("_cache_dpclients0"), [&] { return run.PrepareStateClients(); },
                 QStringLiteral("SELECT nClientType,COUNT(*) FROM {T} WHERE {TO} BETWEEN "
                                "dStartDate AND dEndDate GROUP BY nClientType ORDER BY 1"),
                 QStringLiteral("SELECT g,COUNT(*) FROM (") + QString::fromLatin1(kTypeOnDate) +
                     QStringLiteral(") s GROUP BY g ORDER BY 1")},
                {QStringLiteral("_cache_conscompact"),
                 [&] { return run.PrepareConsCompactTable(); },
                 QStringLiteral("SELECT COUNT(*),SUM(val2),SUM(val32) FROM {T}"),
                 QStringLiteral(
                     "SELECT COUNT(DISTINCT dv.nClientID,dv.nItem,dr.dDate,dr.nWorkPlace,"
                     "dr.nProject),SUM(dv.nCount&2>0),SUM(dv.nCount&32>0) FROM dailyvisits "
                     "dv JOIN dailyreport dr ON dr.ROWID=dv.nReportID JOIN dir d ON "
                     "d.ROWID=dv.nItem WHERE (d.nType&458752)=458752 AND d.nDirType=3 AND "
                     "dr.dDate IS NOT NULL")},
                {QStringLiteral("_cache_regc<y><to>"), [&] { return run.PrepareRegularClients(); },
                 QStringLiteral("SELECT COUNT(*) FROM {T}"),
                 QStringLiteral("SELECT COUNT(*) FROM (SELECT v.nClientID FROM dailyvisits v JOIN "
                                "dailyreport r ON r.ROWID=v.nReportID JOIN (") +
                     QString::fromLatin1(kTypeOnDate) +
                     QStringLiteral(") g ON g.nClientID=v.nClientID WHERE r.dDate BETWEEN {Y} AND "
                                    "{TO} AND g.g NOT IN (2,4) GROUP BY v.nClientID HAVING "
                                    "COUNT(DISTINCT DATE_FORMAT(r.dDate,'%Y-%m'))>11 UNION SELECT "
                                    "v.nClientID FROM dailyvisits v JOIN dailyreport r ON "
                                    "r.ROWID=v.nReportID JOIN (") +
                     QString::fromLatin1(kTypeOnDate) +
                     QStringLiteral(
                         ") g ON g.nClientID=v.nClientID WHERE r.dDate BETWEEN {Q} AND "
                         "{TO} AND g.g IN (2,4) GROUP BY v.nClientID HAVING COUNT(DISTINCT "
                         "r.ROWID)>3 AND COUNT(DISTINCT DATE_FORMAT(r.dDate,'%Y-%m'))>1) u")},
            };
            for (int m = 0; m < measures.size(); ++m) {
                const Measure& measure = measures.at(m);
                QElapsedTimer t;
                t.start();
                QString name;
                try {
                    name = measure.build();
                } catch (const CRepError& e) {
                    return BenchFail(measure.table + QStringLiteral(": ") + e.html);
                }
                const double build = Ms(t);
                const QString figure = Rows(sql.Execute(CxString::StrTr(
                    measure.figure, dates + QList<CxString::Pair>{{QStringLiteral("{T}"), name}})));
                t.restart();
                const QString reference =
                    Rows(sql.Execute(CxString::StrTr(measure.reference, dates)));
                const double query = Ms(t);
                if (r == 0) {
                    builds.append(QList<double>());
                    queries.append(QList<double>());
                    names << measure.table;
                    figures << figure;
                    references << reference;
                }
                builds[m] << build;
                queries[m] << query;
            }
        }
        std::printf("\n%s (%s .. %s), median of %d builds\n", period.name,
                    qPrintable(period.from.toString(Qt::ISODate)),
                    qPrintable(period.to.toString(Qt::ISODate)), runs);
        std::printf("%-28s %10s %10s %7s  %s\n", "table", "build ms", "query ms", "ratio",
                    "headline figure");
        for (int m = 0; m < names.size(); ++m) {
            const double build = Median(builds[m]);
            const double query = Median(queries[m]);
            const bool same = figures[m] == references[m];
            allMatch = allMatch && same;
            const double ratio = query > 0 ? build / query : 0;
            worstRatio = std::max(worstRatio, ratio);
            std::printf("%-28s %10.1f %10.1f %7.2f  %s%s\n", qPrintable(names[m]), build, query,
                        ratio, qPrintable(figures[m].left(60)),
                        same ? ""
                             : qPrintable(QStringLiteral("  MISMATCH, query gives ") +
                                          references[m].left(60)));
        }
        // A second build over unchanged data: every table is found.
        QElapsedTimer t;
        t.start();
        {
            CRepBaseData again(&sql, period.from, period.to);
            CRepBaseData againCountry(&sql, period.from, period.to);
            againCountry.SetNewClientMode(2);
            again.PrepareSelectedPOU();
            again.PrepareSummaryTable();
            again.PrepareClientTable();
            againCountry.PrepareClientTable();
            again.PrepareStateClients();
            again.PrepareConsCompactTable();
            again.PrepareRegularClients();
        }
        std::printf("cached rebuild (every table found): %.1f ms\n", Ms(t));
    }

    // The fast tables of the visits reports, step by step.
    std::printf("\nfast tables, median of %d builds\n", runs);
    CFastTables fast(&sql);
    QElapsedTimer t;
    QList<double> stepTimes[CFastTables::kSteps];
    int step = 0;
    fast.SetStepObserver([&](int s, int state) {
        step = s;
        if (state == CFastTables::kStepRunning)
            t.restart();
        else
            stepTimes[step] << Ms(t);
    });
    for (int r = 0; r < runs; ++r) {
        DropCacheTables(&sql);
        QString error;
        if (!fast.Process(nullptr, &error))
            return BenchFail(error);
    }
    const QString listed = CodesOfGroups(false) + u',' + CodesOfGroups(true);
    const struct {
        const char* table;
        QString figure;
        QString reference;
    } fastMeasures[CFastTables::kSteps] = {
        {"_cache_mat", QStringLiteral("SELECT COUNT(*) FROM _cache_mat"),
         QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=3 AND NOT bIsFolder AND nType "
                        "IN (") +
             CodesOfGroups(false) + u')'},
        {"_cache_cons", QStringLiteral("SELECT COUNT(*) FROM _cache_cons"),
         QStringLiteral("SELECT COUNT(*) FROM dir WHERE nDirType=3 AND NOT bIsFolder AND nType "
                        "IN (") +
             CodesOfGroups(true) + u')'},
        {"_cache_fast",
         QStringLiteral("SELECT COUNT(DISTINCT nClientID),SUM(IF(nType=510,nCount,0)) FROM "
                        "_cache_fast"),
         QStringLiteral("SELECT COUNT(DISTINCT dv.nClientID),SUM(IF(d.nType IN (") +
             CodesOfGroups(false, 510) +
             QStringLiteral("),dv.nCount,0)) FROM dailyvisits dv JOIN dailyreport dr ON "
                            "dr.ROWID=dv.nReportID JOIN dir d ON d.ROWID=dv.nItem WHERE dr.dDate "
                            "IS NOT NULL AND d.nType IN (") +
             listed + u')'},
        {"_cache_clients", QStringLiteral("SELECT COUNT(*) FROM _cache_clients"),
         QStringLiteral("SELECT COUNT(DISTINCT dv.nClientID) FROM dailyvisits dv JOIN dailyreport "
                        "dr ON dr.ROWID=dv.nReportID JOIN dir d ON d.ROWID=dv.nItem JOIN "
                        "clientdata cd ON cd.ROWID=dv.nClientID WHERE dr.dDate IS NOT NULL AND "
                        "NOT cd.bIsFolder AND d.nType IN (") +
             listed + u')'},
    };
    std::printf("%-28s %10s %10s %7s  %s\n", "table", "build ms", "query ms", "ratio",
                "headline figure");
    for (int i = 0; i < CFastTables::kSteps; ++i) {
        const QString figure = Rows(sql.Execute(fastMeasures[i].figure));
        QList<double> queryTimes;
        QString reference;
        for (int r = 0; r < runs; ++r) {
            t.restart();
            reference = Rows(sql.Execute(fastMeasures[i].reference));
            queryTimes << Ms(t);
        }
        const double build = Median(stepTimes[i]);
        const double query = Median(queryTimes);
        const bool same = figure == reference;
        allMatch = allMatch && same;
        const double ratio = query > 0 ? build / query : 0;
        worstRatio = std::max(worstRatio, ratio);
        std::printf(
            "%-28s %10.1f %10.1f %7.2f  %s%s\n", fastMeasures[i].table, build, query, ratio,
            qPrintable(figure.left(60)),
            same ? ""
                 : qPrintable(QStringLiteral("  MISMATCH, query gives ") + reference.left(60)));
    }
    t.restart();
    fast.Process();
    std::printf("cached rebuild (every table found): %.1f ms\n", Ms(t));
    std::printf("\nworst ratio %.2f; figures %s\n", worstRatio,
                allMatch ? "all equal" : "DIFFER (see MISMATCH)");
    return allMatch ? 0 : 2;
}
