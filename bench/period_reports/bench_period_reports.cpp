// Times the coverage report and the quarterly summary on a generated
// database: the first build (every work table made from the data) and the
// cached build (the work tables found), for one year and for three years;
// then each task of the table below beside one SQL query over the data
// tables that gives the same figures, and checks that it does.
//
// The tasks print one line each, for scripts/bench.sh:
//   task<TAB>name<TAB>first ms<TAB>cached ms<TAB>reference ms<TAB>same|differs
//
// Usage: bench_period_reports --socket PATH [--database NAME] [--runs N]
//                             [--generate] [--save DIR]
//   --generate makes the database anew with the project's data generator
//   (its defaults: 50 points, 20,000 clients, 1,000,000 visit cells over
//   2023-2025); without it the database must hold such data already.
//   Each build is timed N times (3 by default); the medians are shown.
//   --save writes the pages of the last year (and those of the summaries by
//   years and by consultations and of the trainings report) into DIR, to be
//   looked at in a browser.
#include "bench/common/bench_support.h"
#include "bench/datagen/data_generator.h"
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "reports/base/core/posh_selection.h"
#include "reports/period/core/field_ids.h"
#include "reports/period/core/ohvat_tables.h"
#include "reports/period/core/rep_ohvat.h"
#include "reports/period/core/rep_svod_kvart.h"
#include "reports/period/core/rep_trainings.h"
#include "reports/period/core/year_summaries.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
QString Day(const QDate& date) {
    return QLatin1Char('\'') + date.toString(Qt::ISODate) + QLatin1Char('\'');
}

// The visit lines of a window that the reports count, one row each: the
// client, the sheet, its date, the person key (code up to its first
// back-quote, upper-cased, as the client table keeps it; one of its own for
// a code that breaks the rules or an unknown part), the sex and, when asked,
// the main vulnerable group on `stateDate` (the latest record up to it; of one
// day the one entered last).
QString ServedLines(const QDate& from, const QDate& to, const QDate& stateDate,
                    const QString& points, bool withGroup = true) {
    const QString code = QStringLiteral(
        "LEFT(CONCAT(UPPER(LEFT(cd.cClientCode,IF(LOCATE('`',cd.cClientCode),LOCATE('`',"
        "cd.cClientCode)-1,255))),IF(cd.bNewCode,'',CONCAT('`',cd.ROWID))),64)");
    // The group only when asked: a reference does no work its figures do not need.
    const QString group =
        withGroup
            ? QStringLiteral(
                  ",IFNULL(g.nClientType,0) AS nGroup FROM dailyvisits AS dv LEFT JOIN (SELECT "
                  "nClientID,nClientType FROM (SELECT nClientID,IFNULL(nClientType,0) AS "
                  "nClientType,ROW_NUMBER() OVER (PARTITION BY nClientID ORDER BY dDate DESC,ROWID "
                  "DESC) AS nPick FROM clientdatachanges WHERE nClientID IS NOT NULL AND "
                  "dDate<=%1) AS h WHERE nPick=1) AS g ON g.nClientID=dv.nClientID")
                  .arg(Day(stateDate))
            : QStringLiteral(" FROM dailyvisits AS dv");
    return QStringLiteral(
               "SELECT dv.nClientID,dv.nReportID,dr.dDate,IFNULL(cd.nSex,0) AS nSex,"
               "IF(cd.nSex IS NULL OR cd.nBirthYear IS NULL OR cd.cClientCode IS NULL,"
               "CONCAT('#',cd.ROWID),CONCAT_WS('|',%1,cd.nBirthYear,cd.nSex)) AS cPerson")
               .arg(code) +
           group +
           QStringLiteral(" JOIN dailyreport AS dr ON dr.ROWID=dv.nReportID JOIN dir AS it ON "
                          "it.ROWID=dv.nItem AND it.nDirType=3 AND NOT it.bIsFolder JOIN "
                          "clientdata AS cd ON cd.ROWID=dv.nClientID AND NOT cd.bIsFolder WHERE "
                          "dr.dDate BETWEEN %1 AND %2 AND dr.nWorkplace IN (%3)")
               .arg(Day(from), Day(to), points);
}

// A figure of the report beside the reference's; counts what differs and
// shows the first few.
struct Comparison {
    int compared = 0;
    int differing = 0;
    void Check(const QString& where, double ours, double reference) {
        ++compared;
        if (ours == reference)
            return;
        if (++differing <= 5)
            std::fprintf(stderr, "  %s: report %.0f, reference %.0f\n", qPrintable(where), ours,
                         reference);
    }
    QString Verdict() const {
        return differing == 0 && compared > 0
                   ? QStringLiteral("same (%1 figures)").arg(compared)
                   : QStringLiteral("differs (%1 of %2)").arg(differing).arg(compared);
    }
};

void AddPreset(xKDReportPresets2& list, const QString& title, const QList<long>& rows,
               const QList<long>& cols, long periodMode = 0) {
    KDRepPresetEx2 preset;
    preset.Title = title;
    preset.PeriodMode = periodMode;
    preset.SumRows.SetIDs(rows);
    preset.SumCols2.SetIDs(cols);
    list.AddCopy(preset);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(default_config);
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench");
    QString saveDir;
    int runs = 3;
    bool generate = false;
    QStringList args = app.arguments();
    if (args.removeAll(QStringLiteral("--generate")))
        generate = true;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--socket"))
            socket = args[i + 1];
        else if (args[i] == QLatin1String("--database"))
            database = args[i + 1];
        else if (args[i] == QLatin1String("--save"))
            saveDir = args[i + 1];
        else if (args[i] == QLatin1String("--runs"))
            runs = std::max(1, args[i + 1].toInt());
        else
            return BenchFail(QStringLiteral("unknown option ") + args[i]);
    }
    if (!UseDefaultConfiguration())
        return BenchFail(QStringLiteral("the default configuration does not read"));
    // The presets timed: groups, sexes, points and ages with persons and
    // shares; and the same persons month by month.
    xKDReportPresets2& presets = CurrentConfiguration()->GetCurrentLanguage()->KDReportPresets2;
    AddPreset(presets, QStringLiteral("Группы"),
              {kRFRiskGroup, kRFSex, -1, kRFPOU, -1, kRFAgeGroup},
              {kRFClients, kRFUniqClients, kRFVisits, kRFVisitsProc, 510, 510 + kRFConfigClients,
               kRFVirtKC});
    AddPreset(presets, QStringLiteral("По месяцам"), {kRFSex},
              {kRFClients, kRFUniqClients, kRFUniqClientsProc}, 1);
    // The tasks beside their references: groups and sexes with clients,
    // persons and visits.
    AddPreset(presets, QStringLiteral("Группы и пол"), {kRFRiskGroup, kRFSex},
              {kRFClients, kRFUniqClients, kRFVisits});

    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(socket);
    CxMySQL sql;
    QString error;
    if (generate) {
        CDataGenOptions options;
        QElapsedTimer t;
        t.start();
        if (!CreateBenchDatabase(&sql, info, database, true, &error) ||
            !CDataGenerator(options).Fill(&sql, &error))
            return BenchFail(error);
        std::printf("generated in %.1f s\n", t.elapsed() / 1000.0);
    } else {
        info.put_Database(database);
        if (!sql.Connect(&info))
            return BenchFail(QStringLiteral("cannot open ") + database);
    }
    CxResult counts = sql.Execute(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM dailyvisits),(SELECT COUNT(*) FROM dailyreport),(SELECT "
        "COUNT(*) FROM clientdata),(SELECT MAX(dDate) FROM dailyreport)"));
    if (!counts.FetchRow())
        return BenchFail(QStringLiteral("the database has no daily reports"));
    std::printf("data: %s visit cells, %s daily reports, %s clients, last day %s\n",
                qPrintable(counts.SFieldValue(0)), qPrintable(counts.SFieldValue(1)),
                qPrintable(counts.SFieldValue(2)), qPrintable(counts.SFieldValue(3)));
    const QDate last = QDate::fromString(counts.SFieldValue(3), Qt::ISODate);
    // The data tables are read once before anything is timed, so the first
    // build does not pay alone for bringing them into the server's buffers
    // while its reference, run after it, finds them there.
    for (const char* warm : {"SELECT SUM(nCount),SUM(nItem),SUM(nClientID) FROM dailyvisits",
                             "SELECT COUNT(*),MAX(dDate),SUM(nWorkplace) FROM dailyreport",
                             "SELECT COUNT(*),MAX(cClientCode) FROM clientdata"}) {
        CxResult warmed = sql.Execute(QString::fromLatin1(warm));
        while (warmed.FetchRow()) {
        }
    }
    QStringList pointIds;
    {
        QList<long> ids;
        QString error;
        if (!PoshPointsOfType(&sql, -1, ids, &error))
            return BenchFail(QStringLiteral("service points: ") + error);
        QList<QPair<long, QString>> points;
        for (long id : std::as_const(ids)) {
            points.append({id, QString::number(id)});
            pointIds << QString::number(id);
        }
        CPoshSelection::Store(points);
    }
    const QString chosenPoints = pointIds.join(u',');

    // One build of a document over a period: its time in milliseconds.
    const auto build = [&](CRepBase& doc, const QDate& from, const QDate& to) -> double {
        doc.SetSQL(&sql);
        doc.Params().from = from;
        doc.Params().to = to;
        QElapsedTimer t;
        t.start();
        if (!doc.Build(nullptr) ||
            doc.GetHTML().contains(QStringLiteral("Возникла ошибка при формировании")))
            std::fprintf(stderr, "build failed:\n%s\n", qPrintable(doc.GetHTML()));
        return t.nsecsElapsed() / 1e6;
    };
    const struct Period {
        const char* name;
        QDate from, to;
    } periods[] = {{"one year", QDate(last.year(), 1, 1), QDate(last.year(), 12, 31)},
                   {"three years", QDate(last.year() - 2, 1, 1), QDate(last.year(), 12, 31)}};
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CRepBase>()> make;
    };
    const Case cases[] = {
        {"coverage, groups",
         [] {
             auto doc = std::make_unique<CRep_OhvatZaPeriod>();
             doc->GetPresetList().Fill(-1);
             doc->GetPresetList().SelectByName(QStringLiteral("Группы"));
             return std::unique_ptr<CRepBase>(std::move(doc));
         }},
        {"coverage, by months",
         [] {
             auto doc = std::make_unique<CRep_OhvatZaPeriod>();
             doc->GetPresetList().Fill(-1);
             doc->GetPresetList().SelectByName(QStringLiteral("По месяцам"));
             return std::unique_ptr<CRepBase>(std::move(doc));
         }},
        {"quarterly summary",
         [] { return std::unique_ptr<CRepBase>(std::make_unique<CRep_SvodnyeDannyDlyaKvart>()); }},
    };
    // The tasks: each report's first and cached build beside its reference
    // query, whose figures are checked against the report's.
    const auto coverage = [](const char* preset) {
        auto doc = std::make_unique<CRep_OhvatZaPeriod>();
        doc->GetPresetList().Fill(-1);
        doc->GetPresetList().SelectByName(QString::fromUtf8(preset));
        return doc;
    };
    // Runs the reference (its time in ms); its rows go to `row`.
    const auto reference = [&](const QString& statement,
                               const std::function<void(CxResult&)>& row) -> double {
        QElapsedTimer t;
        t.start();
        CxResult result = sql.Execute(statement);
        if (!result.isValid()) {
            std::fprintf(stderr, "reference failed: %s\n%s\n", qPrintable(result.Error().text),
                         qPrintable(statement.left(400)));
            return -1;
        }
        while (result.FetchRow())
            row(result);
        return t.nsecsElapsed() / 1e6;
    };
    // The columns of a rolled-up row: NULL marks a total.
    const auto isTotal = [](CxResult& r, int column) { return r.SFieldValue(column).isNull(); };
    struct Timing {
        QList<double> first, cached, ref;
        Comparison same;
    };
    const auto print = [](const char* name, const Timing& t) {
        std::printf("task\t%s\t%.0f\t%.0f\t%.0f\t%s\n", name, Median(t.first), Median(t.cached),
                    Median(t.ref), qPrintable(t.same.Verdict()));
        std::fflush(stdout);
    };
    const Period& year = periods[0];

    // Coverage of one year: groups and sexes.
    {
        Timing t;
        for (int r = 0; r < runs; ++r) {
            auto doc = coverage("Группы и пол");
            DropCacheTables(&sql);
            t.first << build(*doc, year.from, year.to);
            t.cached << build(*doc, year.from, year.to);
            COhvatFigures* f = doc->Figures();
            Comparison same;
            t.ref << reference(
                QStringLiteral("SELECT nGroup,nSex,COUNT(DISTINCT nClientID),COUNT(DISTINCT "
                               "cPerson),COUNT(DISTINCT nClientID,nReportID) FROM (") +
                    ServedLines(year.from, year.to, year.to, chosenPoints) +
                    QStringLiteral(") AS s GROUP BY nGroup,nSex WITH ROLLUP"),
                [&](CxResult& row) {
                    QList<long> key;
                    if (!isTotal(row, 0))
                        key << row.LFieldValue(0);
                    if (!isTotal(row, 1))
                        key << row.LFieldValue(1);
                    const long line = key.isEmpty() ? 0 : f ? f->tables->FindLine(0, key) : -1;
                    const QString where = QStringLiteral("group/sex ") + row.SFieldValue(0) + u'/' +
                                          row.SFieldValue(1);
                    for (int c = 0; c < 3; ++c)
                        same.Check(where, line < 0 || !f ? -1 : f->tables->CellValue(0, line, c),
                                   row.DFieldValue(c + 2));
                });
            t.same = same;
        }
        print("coverage, 1 year, first build", t);
    }
    // Coverage by months: sexes, month by month.
    for (const Period& period : periods) {
        Timing t;
        for (int r = 0; r < runs; ++r) {
            auto doc = coverage("По месяцам");
            DropCacheTables(&sql);
            t.first << build(*doc, period.from, period.to);
            t.cached << build(*doc, period.from, period.to);
            COhvatFigures* f = doc->Figures();
            Comparison same;
            t.ref << reference(
                QStringLiteral(
                    "SELECT EXTRACT(YEAR_MONTH FROM dDate) AS nMonth,nSex,COUNT(DISTINCT "
                    "nClientID),COUNT(DISTINCT cPerson) FROM (") +
                    ServedLines(period.from, period.to, period.to, chosenPoints, false) +
                    QStringLiteral(") AS s GROUP BY nMonth,nSex WITH ROLLUP"),
                [&](CxResult& row) {
                    if (isTotal(row, 0))
                        return;
                    const long ym = row.LFieldValue(0);
                    const int month =
                        int((ym / 100 - period.from.year()) * 12 + ym % 100 - period.from.month());
                    const long line = isTotal(row, 1) ? 0
                                      : f             ? f->tables->FindLine(0, {row.LFieldValue(1)})
                                                      : -1;
                    const QString where = QStringLiteral("month/sex ") + row.SFieldValue(0) + u'/' +
                                          row.SFieldValue(1);
                    for (int c = 0; c < 2; ++c)
                        same.Check(where,
                                   line < 0 || !f ? -1
                                                  : f->tables->CellValue(0, line, month * 3 + c),
                                   row.DFieldValue(c + 2));
                });
            t.same = same;
        }
        print(period.from.year() == period.to.year() ? "coverage, 1 year by months"
                                                     : "coverage, 3 years by months",
              t);
    }
    // The quarterly summary for the year's end: the people of the quarter and
    // of the twelve months by group and sex, and the regular clients.
    {
        const QDate quarter = year.to.addDays(1).addMonths(-3);
        Timing t;
        for (int r = 0; r < runs; ++r) {
            CRep_SvodnyeDannyDlyaKvart doc;
            DropCacheTables(&sql);
            t.first << build(doc, year.from, year.to);
            t.cached << build(doc, year.from, year.to);
            const CSvodKvartFigures* f = doc.Figures();
            Comparison same;
            const QString month = QStringLiteral("EXTRACT(YEAR_MONTH FROM dDate)");
            const QString q = Day(quarter);
            t.ref << reference(
                QStringLiteral("WITH s AS (") +
                    ServedLines(year.from, year.to, year.to, chosenPoints) +
                    QStringLiteral(
                        ") (SELECT 'msgSumTot3',nGroup,nSex,COUNT(DISTINCT nClientID) FROM s WHERE "
                        "dDate>=%1 GROUP BY nGroup,nSex WITH ROLLUP) UNION ALL (SELECT "
                        "'msgSumTot12',nGroup,nSex,COUNT(DISTINCT nClientID) FROM s GROUP BY "
                        "nGroup,nSex WITH ROLLUP) UNION ALL (SELECT 'msgSumReg12',nGroup,nSex,"
                        "COUNT(*) FROM (SELECT nClientID,nGroup,nSex FROM s GROUP BY nClientID,"
                        "nGroup,nSex HAVING IF(nGroup IN (2,4),COUNT(DISTINCT IF(dDate>=%1,"
                        "nReportID,NULL))>3 AND COUNT(DISTINCT IF(dDate>=%1,%2,NULL))>1,"
                        "COUNT(DISTINCT %2)>11)) AS r GROUP BY nGroup,nSex WITH ROLLUP)")
                        .arg(q, month),
                [&](CxResult& row) {
                    if (isTotal(row, 1))
                        return;
                    QList<long> key{row.LFieldValue(1)};
                    if (!isTotal(row, 2))
                        key << row.LFieldValue(2);
                    const QString indicator = row.SFieldValue(0);
                    same.Check(indicator + QStringLiteral(" group/sex ") + row.SFieldValue(1) +
                                   u'/' + row.SFieldValue(2),
                               f ? double(f->Cell(indicator, key)) : -1, row.DFieldValue(3));
                });
            t.same = same;
        }
        print("quarterly summary, 1 year", t);
    }
    if (!saveDir.isEmpty()) {
        QDir().mkpath(saveDir);
        const Period& year = periods[0];
        int n = 0;
        const auto save = [&](CRepBase& doc) {
            build(doc, year.from, year.to);
            const QString path = saveDir + QStringLiteral("/%1.html").arg(++n);
            QString error;
            if (!doc.SaveHTML(path, &error))
                std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        };
        for (const Case& c : cases)
            save(*c.make());
        CRep_SvodnyiPoGodam years;
        CRepNewConsult consultations;
        CRep_Trainings trainings;
        save(years);
        save(consultations);
        save(trainings);
        std::printf("pages written to %s\n", qPrintable(saveDir));
    }
    return 0;
}
