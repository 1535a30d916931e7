// Times the coverage report and the quarterly summary on a generated
// database: the first build (every work table made from the data) and the
// cached build (the work tables found), for one year and for three years.
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
    std::printf("%-22s %-12s %12s %12s\n", "report", "period", "first, ms", "cached, ms");
    for (const Period& period : periods) {
        for (const Case& c : cases) {
            QList<double> first, cached;
            for (int r = 0; r < runs; ++r) {
                auto doc = c.make();
                DropCacheTables(&sql);
                first << build(*doc, period.from, period.to);
                cached << build(*doc, period.from, period.to);
            }
            std::printf("%-22s %-12s %12.0f %12.0f\n", c.name, period.name, Median(first),
                        Median(cached));
            std::fflush(stdout);
        }
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
