// Times the visits report (coverage over the whole data with a preset that
// lists every client, three summary tables) and the distribution of visits
// (the last whole month, every point and three points) on a generated
// database (build/bin/kelda_datagen): the first build, which
// makes the work tables, and the build that finds them (median of N runs);
// the size of the page and of its detail list, and the time to write the
// page of a list of about 10,000 clients.
//
// Usage: bench_visits [--socket PATH] [--database NAME] [--runs N] [--save DIR]
//   --save writes each page into DIR, to look at it in a browser.
#include "db/mysql_connection.h"
#include "db/schema/cache_tables.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "reports/base/core/posh_selection.h"
#include "reports/visits/core/rep_raspred_doc.h"
#include "reports/visits/core/rep_visits_variants.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>

namespace {
int Fail(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return 1;
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Builds the document and answers the seconds it took.
double Time(CRepDoc& doc) {
    QElapsedTimer t;
    t.start();
    doc.Build(nullptr);
    return t.nsecsElapsed() / 1e9;
}

// The last whole month of data ending on that date: the distribution covers
// one calendar month, and a month cut short would make its page smaller.
QDate DistributionMonth(const QDate& last) {
    const QDate month(last.year(), last.month(), 1);
    return last.day() == last.daysInMonth() ? month : month.addMonths(-1);
}

const char* kPreset =
    "<KDREPORTPRESETS><KDREPPRESET Title='Bench'><DETAILED><Item ID='1062'/><Item ID='1039'/>"
    "<Item ID='1010'/><Item ID='1797'/></DETAILED><SUMMARY><Item ID='1797'/><Item ID='-1'/>"
    "<Item ID='1796'/><Item ID='-1'/><Item ID='1139'/></SUMMARY></KDREPPRESET>"
    "<KDREPPRESET Title='BenchSummary'><SUMMARY><Item ID='1797'/><Item ID='-1'/><Item "
    "ID='1796'/><Item ID='-1'/><Item ID='1139'/></SUMMARY></KDREPPRESET></KDREPORTPRESETS>";
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    Q_INIT_RESOURCE(default_config);
    QString socket = qEnvironmentVariable("KELDA2_SOCKET");
    QString database = QStringLiteral("kelda_bench");
    int runs = 3;
    QString saveDir;
    const QStringList args = app.arguments();
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
            return Fail(QStringLiteral("unknown option ") + args[i]);
    }
    // The folder for the pages is made when missing.
    if (!saveDir.isEmpty() && !QDir().mkpath(saveDir))
        return Fail(QStringLiteral("cannot make the folder ") + saveDir);
    CTarvikApp::SetProfileManager(new CxProfileManager);
    auto* config = new xKDConfiguration;
    {
        QFile file(QStringLiteral(":/config/default_config.xml"));
        if (!file.open(QIODevice::ReadOnly))
            return Fail(QStringLiteral("no default configuration"));
        QString text = QString::fromUtf8(file.readAll());
        // The bench's presets stand in place of the configuration's own.
        static const QRegularExpression presets(
            QStringLiteral("<KDREPORTPRESETS>.*</KDREPORTPRESETS>"),
            QRegularExpression::DotMatchesEverythingOption);
        text.replace(presets, QString::fromLatin1(kPreset));
        if (!config->ParseConfig(text, file.fileName()))
            return Fail(QStringLiteral("the configuration does not read"));
    }
    CTarvikApp::SetConfig(config);

    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(socket);
    info.put_Database(database);
    CxMySQL sql;
    if (!sql.Connect(&info))
        return Fail(QStringLiteral("cannot open ") + database);
    CxResult span = sql.Execute(
        QStringLiteral("SELECT MIN(dDate),MAX(dDate),(SELECT COUNT(*) FROM dailyvisits) FROM "
                       "dailyreport"));
    if (!span.FetchRow())
        return Fail(QStringLiteral("no data"));
    const QDate first = QDate::fromString(span.SFieldValue(0), QStringLiteral("yyyy-MM-dd"));
    const QDate last = QDate::fromString(span.SFieldValue(1), QStringLiteral("yyyy-MM-dd"));
    std::printf("data: %s visit lines, %s .. %s\n", qPrintable(span.SFieldValue(2)),
                qPrintable(first.toString(Qt::ISODate)), qPrintable(last.toString(Qt::ISODate)));
    QList<QPair<long, QString>> allPoints;
    {
        QList<long> ids;
        QString error;
        if (!PoshPointsOfType(&sql, -1, ids, &error))
            return Fail(QStringLiteral("service points: ") + error);
        for (long id : std::as_const(ids))
            allPoints.append({id, QString::number(id)});
        CPoshSelection::Store(allPoints);
    }

    const auto visits = [&](const QString& preset, QDate from, QDate to) {
        auto doc = std::make_unique<CRepVisitsDoc>();
        doc->SetSQL(&sql);
        doc->Params().from = from;
        doc->Params().to = to;
        doc->CreateColumns();
        doc->GetVisitsPresetList().Fill(-1);
        doc->GetVisitsPresetList().SelectByName(preset);
        return doc;
    };
    int saved = 0;
    const auto report = [&](const char* name, CRepDoc& doc) {
        DropCacheTables(&sql);
        const double firstBuild = Time(doc);
        QList<double> cached;
        for (int i = 0; i < runs; ++i)
            cached << Time(doc);
        const QString page = doc.GetHTML();
        QString error;
        if (!saveDir.isEmpty() &&
            !doc.SaveHTML(saveDir + u'/' + QString::fromLatin1(name).section(u',', 0, 0) +
                              QStringLiteral("-%1.html").arg(++saved),
                          &error))
            std::fprintf(stderr, "the page was not saved: %s\n", qPrintable(error));
        std::printf("%-40s first %6.2f s   cached %6.2f s   page %7.0f KB, %lld detail rows\n",
                    name, firstBuild, Median(cached), page.toUtf8().size() / 1024.0,
                    qlonglong(page.count(QStringLiteral("<td class=\"Dcl\">"))));
    };

    // The coverage of the last year with the detail list, and of the whole
    // data with summaries only.
    auto year = visits(QStringLiteral("Bench"), last.addYears(-1).addDays(1), last);
    report("coverage, last year, details", *year);
    auto all = visits(QStringLiteral("BenchSummary"), first, last);
    report("coverage, all years, summaries", *all);
    // A detail list of about 10,000 clients: the period grows until it holds them.
    {
        QDate from = last;
        for (int days = 7; days < 3000; days *= 2) {
            from = last.addDays(-days);
            CxResult n =
                sql.Execute(QStringLiteral("SELECT COUNT(DISTINCT nClientID) FROM dailyreport "
                                           "JOIN dailyvisits ON nReportID=dailyreport.ROWID "
                                           "WHERE dDate BETWEEN '%1' AND '%2'")
                                .arg(from.toString(Qt::ISODate), last.toString(Qt::ISODate)));
            if (n.FetchRow() && n.LFieldValue(0) >= 10000)
                break;
        }
        auto big = visits(QStringLiteral("Bench"), from, last);
        report("coverage, ~10,000 detail rows", *big);
    }
    // The distribution of the last whole month of the data, for every point
    // and for the first three: the same choice bench_visits_views makes in
    // the window, so the two benches' figures differ only by the window.
    const QDate month = DistributionMonth(last);
    const auto distribution = [&](const char* name) {
        CRepRaspredDoc doc;
        doc.SetSQL(&sql);
        doc.Params().from = month;
        report(name, doc);
        std::printf("  %s .. %s, %lld charts, %lld table cells\n",
                    qPrintable(doc.Params().from.toString(Qt::ISODate)),
                    qPrintable(doc.Params().to.toString(Qt::ISODate)),
                    qlonglong(doc.GetHTML().count(QStringLiteral("<table class=\"chart\""))),
                    qlonglong(doc.GetHTML().count(QStringLiteral("<td"))));
    };
    distribution("distribution of visits, all points");
    CPoshSelection::Store(allPoints.mid(0, 3));
    distribution("distribution of visits, 3 points");
    return 0;
}
