#include "report_generator.h"

#include "directory_generator.h"
#include "row_batch.h"

#include <QSet>

namespace {
// Cells a report holds on average at least; with fewer cells asked for, the
// points go out on fewer days.
constexpr int kMinMeanCells = 6;
// Items one client takes at most at one visit.
constexpr int kMaxItemsPerClient = 5;
// The share of clients met at a point other than their own.
constexpr double kVisitElsewhere = 0.15;
constexpr double kSecondSheet = 0.04;
constexpr double kRedirections = 0.2;
constexpr int kClientColumnWidth = 120;
constexpr int kItemColumnWidth = 70;
// The client column's key in dailyvisitssubhdr.
constexpr int kClientColumnKey = -1;
// The kinds a consultation records, one column each (xConsAndDir, ByCode aside).
constexpr int kConsultationFlags[] = {2, 4, 8, 16, 32, 64};
constexpr int kByCode = 1;

const char* const kComments[] = {"Выезд в район", "Профилактическая акция",
                                 "Совместно с поликлиникой", "Работа в ночную смену"};

struct PlannedReport {
    int day;
    int point;
    qint64 cells = 0;
};

// A line of a visits sheet: a client and what the client received.
struct SheetLine {
    int client;                   // index into world.clients
    QList<QPair<int, int>> cells; // (material index, count)
};

QString Str(const char* text) {
    return QString::fromUtf8(text);
}

int CountFor(CDataGenRandom& rnd, const CGenMaterial& m) {
    switch (m.Kind()) {
    case 0x10000: // syringes
    case 0x20000: // needles
        return 1 + rnd.Below(10) + rnd.Below(10);
    case 0x40000: // services
        return 1;
    case 0x50000: // booklets
        return rnd.Range(1, 2);
    case 0x60000: // returned materials
        return rnd.Range(1, 30);
    case 0x70000: { // a consultation counted by client: the kinds ticked
        const int kinds = m.specFlags & ~kByCode;
        int ticked = 0;
        for (int flag : kConsultationFlags) {
            if ((kinds & flag) && rnd.Chance(0.5))
                ticked |= flag;
        }
        return ticked ? ticked : (kinds & -kinds);
    }
    case 0x80000: // condoms
        return rnd.Range(1, 10);
    default:
        return rnd.Range(1, 5);
    }
}

// The clients known on a day are a prefix of each list; days only grow, so
// the prefixes only grow.
class KnownClients {
public:
    explicit KnownClients(const CDataGenWorld& world)
        : m_world(world), m_pointPrefix(world.points.size(), 0) {}

    void AdvanceTo(int day) {
        while (m_allPrefix < m_world.clientsByEntry.size() &&
               m_world.clients[m_world.clientsByEntry[m_allPrefix]].enterDay <= day)
            ++m_allPrefix;
        for (int p = 0; p < m_world.points.size(); ++p) {
            const QList<int>& list = m_world.clientsByPoint[p];
            qsizetype& prefix = m_pointPrefix[p];
            while (prefix < list.size() && m_world.clients[list[prefix]].enterDay <= day)
                ++prefix;
        }
    }
    // A client known on the day, mostly one of the point's own.
    int Pick(CDataGenRandom& rnd, int point) const {
        const qsizetype own = m_pointPrefix[point];
        if (own > 0 && (m_allPrefix == 0 || !rnd.Chance(kVisitElsewhere)))
            return m_world.clientsByPoint[point][rnd.Below(int(own))];
        if (m_allPrefix > 0)
            return m_world.clientsByEntry[rnd.Below(int(m_allPrefix))];
        return rnd.Below(int(m_world.clients.size()));
    }

private:
    const CDataGenWorld& m_world;
    QList<qsizetype> m_pointPrefix;
    qsizetype m_allPrefix = 0;
};

bool Failed(const CRowBatch& batch, QString* error) {
    *error = DescribeSQLError(batch.Error());
    return false;
}

QList<PlannedReport> PlanReports(const CDataGenOptions& options, CDataGenRandom& rnd,
                                 const CDataGenWorld& world) {
    const int firstDay = int(options.FirstDay().toJulianDay());
    const int lastDay = int(options.lastDay.toJulianDay());
    QList<PlannedReport> plan;
    for (int day = firstDay; day <= lastDay; ++day) {
        const bool weekend = QDate::fromJulianDay(day).dayOfWeek() >= Qt::Saturday;
        for (int p = 0; p < world.points.size(); ++p) {
            const CGenPoint& point = world.points[p];
            if (weekend ? point.weekends && rnd.Chance(0.3) : rnd.Chance(point.workChance))
                plan.append({day, p});
        }
    }
    if (!plan.isEmpty() && options.visits < qint64(plan.size()) * kMinMeanCells) {
        const double keep = double(options.visits) / (double(plan.size()) * kMinMeanCells);
        QList<PlannedReport> kept;
        for (const PlannedReport& r : plan) {
            if (rnd.Chance(keep))
                kept.append(r);
        }
        if (kept.isEmpty())
            kept.append(plan.first());
        plan = kept;
    }
    // Share the cells out by how busy each report's point is, with the day's
    // chance on top; rounding the running sums makes the total exact.
    QList<double> weights(plan.size());
    double total = 0;
    for (qsizetype i = 0; i < plan.size(); ++i) {
        weights[i] = world.points[plan[i].point].weight * (0.6 + 0.8 * rnd.Unit());
        total += weights[i];
    }
    double running = 0;
    qint64 given = 0;
    for (qsizetype i = 0; i < plan.size(); ++i) {
        running += weights[i];
        const qint64 upTo = i + 1 == plan.size()
                                ? options.visits
                                : qint64(double(options.visits) * running / total + 0.5);
        plan[i].cells = qMax<qint64>(0, upTo - given);
        given += plan[i].cells;
    }
    return plan;
}
} // namespace

bool GenerateDailyReports(CxSQL* sql, const CDataGenOptions& options, CDataGenRandom rnd,
                          const CDataGenWorld& world, QString* error) {
    if (world.points.isEmpty() || world.clients.isEmpty()) {
        if (options.visits > 0) {
            *error = QStringLiteral("Visits need at least one service point and one client.");
            return false;
        }
        return true;
    }
    const QList<PlannedReport> plan = PlanReports(options, rnd, world);

    CRowBatch reports(sql, "dailyreport",
                      {"ROWID", "dDate", "nWorker1", "nWorker2", "nWorker3", "nWorkPlace",
                       "cComment", "nGroupID", "bIsFolder", "nRegionDataID", "nProject"});
    CRowBatch visits(
        sql, "dailyvisits",
        {"ROWID", "nReportID", "nVedID", "NPP", "nClientID", "nItem", "nCount", "nRegionDataID"});
    CRowBatch columns(
        sql, "dailyvisitssubhdr",
        {"nReportID", "nVedID", "nKeyFirst", "nKeySecond", "nWidth", "nPos", "nRegionDataID"});
    CRowBatch redirects(sql, "dailyredirects",
                        {"nReportID", "nVedID", "nItem", "nConsultKey", "nCount", "nRegionDataID"});

    // A folder per year, as users keep their reports.
    int nextId = 1;
    QHash<int, int> yearFolders;
    for (int year = options.FirstDay().year(); year <= options.lastDay.year(); ++year) {
        yearFolders.insert(year, nextId);
        reports.BeginRow();
        reports.Int(nextId++);
        reports.Date(QDate(1900, 1, 1));
        for (int i = 0; i < 4; ++i)
            reports.Int(-1);
        reports.Text(QStringLiteral("Отчеты за %1 год").arg(year));
        reports.Int(0);
        reports.Int(1);
        reports.Int(0);
        reports.Int(0);
        reports.EndRow();
    }

    // Consultations not counted by client go to the redirections sheet.
    QList<int> redirectItems;
    for (int m = 0; m < world.materials.size(); ++m) {
        const CGenMaterial& material = world.materials[m];
        if (material.IsConsultation() && !material.ByCode() && !material.hidden &&
            (material.specFlags & ~kByCode))
            redirectItems.append(m);
    }

    KnownClients known(world);
    qint64 visitId = 1;
    for (const PlannedReport& planned : plan) {
        const int reportId = nextId++;
        const CGenPoint& point = world.points[planned.point];
        const QDate date = QDate::fromJulianDay(planned.day);
        known.AdvanceTo(planned.day);

        const QList<int>& staff = point.workers.isEmpty() ? world.workers : point.workers;
        int worker1 = -1, worker2 = -1, worker3 = -1;
        if (!staff.isEmpty()) {
            worker1 = rnd.Pick(staff);
            if (staff.size() > 1 && rnd.Chance(0.4)) {
                do
                    worker2 = rnd.Pick(staff);
                while (worker2 == worker1);
                if (staff.size() > 2 && rnd.Chance(0.12)) {
                    do
                        worker3 = rnd.Pick(staff);
                    while (worker3 == worker1 || worker3 == worker2);
                }
            }
        }
        reports.BeginRow();
        reports.Int(reportId);
        reports.Date(date);
        reports.Int(worker1);
        reports.Int(worker2);
        reports.Int(worker3);
        reports.Int(point.id);
        if (rnd.Chance(0.08))
            reports.Text(Str(kComments[rnd.Below(int(std::size(kComments)))]));
        else
            reports.Null();
        reports.Int(yearFolders.value(date.year()));
        reports.Int(0);
        reports.Int(0);
        reports.Int(point.project);
        if (!reports.EndRow())
            return Failed(reports, error);

        // The lines of the day: clients, each with a few of the sheet's items.
        const QList<int>& set = point.sheetSet;
        int setWeight = 0;
        for (int m : set)
            setWeight += world.materials[m].weight;
        QList<SheetLine> lines;
        QSet<int> met;
        qint64 left = planned.cells;
        while (left > 0) {
            const int most = int(qMin<qint64>(left, qMin(kMaxItemsPerClient, int(set.size()))));
            const int take = qMin(most, 1 + rnd.Below(3) + (rnd.Chance(0.3) ? 1 : 0));
            SheetLine line;
            // A client comes once a day, unless the point has met everyone.
            for (int attempt = 0; attempt < 8; ++attempt) {
                line.client = known.Pick(rnd, planned.point);
                if (!met.contains(line.client))
                    break;
            }
            met.insert(line.client);
            QSet<int> taken;
            while (line.cells.size() < take) {
                int at = rnd.Below(setWeight);
                int m = set.last();
                for (int candidate : set) {
                    at -= world.materials[candidate].weight;
                    if (at < 0) {
                        m = candidate;
                        break;
                    }
                }
                if (taken.contains(m))
                    continue;
                taken.insert(m);
                line.cells.append({m, CountFor(rnd, world.materials[m])});
            }
            left -= line.cells.size();
            lines.append(line);
        }

        // Sheets: now and then the day's lines fill two sheets.
        QList<QList<SheetLine>> sheets;
        if (lines.size() >= 8 && rnd.Chance(kSecondSheet)) {
            sheets.append(lines.mid(0, lines.size() / 2));
            sheets.append(lines.mid(lines.size() / 2));
        } else if (!lines.isEmpty()) {
            sheets.append(lines);
        }
        for (int sheet = 0; sheet < sheets.size(); ++sheet) {
            const QList<SheetLine>& rows = sheets[sheet];
            for (int npp = 0; npp < rows.size(); ++npp) {
                for (const auto& cell : rows[npp].cells) {
                    visits.BeginRow();
                    visits.Int(visitId++);
                    visits.Int(reportId);
                    visits.Int(sheet);
                    visits.Int(npp);
                    visits.Int(world.clients[rows[npp].client].id);
                    visits.Int(world.materials[cell.first].id);
                    visits.Int(cell.second);
                    visits.Int(0);
                    if (!visits.EndRow())
                        return Failed(visits, error);
                }
            }
            // The sheet's columns: the client, then the point's items; a
            // consultation has a column per kind it records.
            int pos = 0;
            auto column = [&](int first, int second, int width) {
                columns.BeginRow();
                columns.Int(reportId);
                columns.Int(sheet);
                columns.Int(first);
                columns.Int(second);
                columns.Int(width);
                columns.Int(pos++);
                columns.Int(0);
                return columns.EndRow();
            };
            if (!column(kClientColumnKey, kClientColumnKey, kClientColumnWidth))
                return Failed(columns, error);
            for (int m : set) {
                const CGenMaterial& material = world.materials[m];
                bool ok = true;
                if (material.IsConsultation()) {
                    for (int flag : kConsultationFlags) {
                        if (material.specFlags & flag)
                            ok = ok && column(material.id, flag, kItemColumnWidth);
                    }
                } else {
                    ok = column(material.id, kClientColumnKey, kItemColumnWidth);
                }
                if (!ok)
                    return Failed(columns, error);
            }
        }

        // A redirections sheet after the visits sheets.
        if (!redirectItems.isEmpty() && rnd.Chance(kRedirections)) {
            QSet<QPair<int, int>> counted;
            const int entries = rnd.Range(1, 3);
            for (int e = 0; e < entries; ++e) {
                const CGenMaterial& item = world.materials[rnd.Pick(redirectItems)];
                QList<int> kinds;
                for (int flag : kConsultationFlags) {
                    if (item.specFlags & flag)
                        kinds.append(flag);
                }
                const int kind = rnd.Pick(kinds);
                if (counted.contains({item.id, kind}))
                    continue;
                counted.insert({item.id, kind});
                redirects.BeginRow();
                redirects.Int(reportId);
                redirects.Int(int(sheets.size()));
                redirects.Int(item.id);
                redirects.Int(kind);
                redirects.Int(rnd.Range(1, 5));
                redirects.Int(0);
                if (!redirects.EndRow())
                    return Failed(redirects, error);
            }
        }
    }
    for (CRowBatch* batch : {&reports, &visits, &columns, &redirects}) {
        if (!batch->Finish())
            return Failed(*batch, error);
    }
    return true;
}

bool GenerateTrainings(CxSQL* sql, const CDataGenOptions& options, CDataGenRandom rnd,
                       const CDataGenWorld& world, QString* error) {
    if (options.trainingsPerYear <= 0 || world.trainingTypes.isEmpty())
        return true;
    CRowBatch trainings(sql, "traininglist",
                        {"ROWID", "nTopicID", "nNumberOfClients", "nTimeInHours", "dDate",
                         "cTrainers", "cComment", "nForType", "cName", "nGroupID", "bIsFolder",
                         "cFCompanyName", "nDonorID", "nRegionDataID", "nTrainingType"});
    CRowBatch participants(sql, "trainingssubdata", {"nTrainingID", "nClientID", "nRegionDataID"});
    static const char* const kMonths[] = {"январь",   "февраль", "март",   "апрель",
                                          "май",      "июнь",    "июль",   "август",
                                          "сентябрь", "октябрь", "ноябрь", "декабрь"};
    // xTrainingFor: clients, workers, then the other audiences.
    static const CWeighted kAudience[] = {{1, 65}, {2, 15}, {3, 4}, {4, 4}, {5, 3}, {6, 5}, {7, 4}};
    static const CWeighted kKind[] = {{1, 50}, {2, 30}, {4, 20}}; // xTrainingType

    const QDate first = options.FirstDay();
    int nextId = 1;
    for (int year = first.year(); year <= options.lastDay.year(); ++year) {
        const QDate from = qMax(first, QDate(year, 1, 1));
        const QDate to = qMin(options.lastDay, QDate(year, 12, 31));
        const int folder = nextId++;
        trainings.BeginRow();
        trainings.Int(folder);
        for (int i = 0; i < 7; ++i) // topic, numbers, date, trainers, comment, audience
            trainings.Null();
        trainings.Text(QString::number(year));
        trainings.Int(0);
        trainings.Int(1);
        trainings.Null();
        trainings.Null();
        trainings.Int(0);
        trainings.Int(1);
        trainings.EndRow();

        const int count =
            int(double(options.trainingsPerYear) * (from.daysTo(to) + 1) / 365.0 + 0.5);
        for (int t = 0; t < count; ++t) {
            QDate date = from.addDays(rnd.Below(int(from.daysTo(to)) + 1));
            while (date.dayOfWeek() >= Qt::Saturday && date > from)
                date = date.addDays(-1);
            const int topic = rnd.Below(int(world.trainingTypes.size()));
            const int audience = PickWeighted(rnd, kAudience);
            QList<int> people;
            if (audience == 1) {
                // Clients known by the day of the training.
                qsizetype known = 0;
                const int day = int(date.toJulianDay());
                while (known < world.clientsByEntry.size() &&
                       world.clients[world.clientsByEntry[known]].enterDay <= day)
                    ++known;
                const int wanted = qMin<qsizetype>(known, rnd.Range(6, 18));
                QSet<int> chosen;
                while (chosen.size() < wanted) {
                    const int c = world.clients[world.clientsByEntry[rnd.Below(int(known))]].id;
                    if (!chosen.contains(c)) {
                        chosen.insert(c);
                        people.append(c);
                    }
                }
            } else if (audience == 2 && !world.workers.isEmpty()) {
                const int wanted = qMin<qsizetype>(world.workers.size(), rnd.Range(3, 8));
                QSet<int> chosen;
                while (chosen.size() < wanted) {
                    const int w = rnd.Pick(world.workers);
                    if (!chosen.contains(w)) {
                        chosen.insert(w);
                        people.append(w);
                    }
                }
            }
            const int id = nextId++;
            trainings.BeginRow();
            trainings.Int(id);
            trainings.Int(world.trainingTypes[topic]);
            trainings.Int(people.isEmpty() ? rnd.Range(5, 25) : int(people.size()));
            trainings.Int(2 * rnd.Range(1, 8));
            trainings.Date(date);
            trainings.Text(world.workerNames.isEmpty() ? QString() : rnd.Pick(world.workerNames),
                           true);
            trainings.Text(QStringLiteral("Программа: вводная часть, обсуждение, раздача "
                                          "материалов."));
            trainings.Int(audience);
            trainings.Text(QStringLiteral("Занятие №%1, %2 %3")
                               .arg(t + 1)
                               .arg(Str(kMonths[date.month() - 1]))
                               .arg(year));
            trainings.Int(folder);
            trainings.Int(0);
            trainings.Null();
            trainings.Int(rnd.Pick(world.donors));
            trainings.Int(0);
            trainings.Int(PickWeighted(rnd, kKind));
            if (!trainings.EndRow())
                return Failed(trainings, error);
            for (int person : people) {
                participants.BeginRow();
                participants.Int(id);
                participants.Int(person);
                participants.Int(0);
                if (!participants.EndRow())
                    return Failed(participants, error);
            }
        }
    }
    for (CRowBatch* batch : {&trainings, &participants}) {
        if (!batch->Finish())
            return Failed(*batch, error);
    }
    return true;
}
