#include "client_generator.h"

#include "directory_generator.h"
#include "row_batch.h"

#include <QSet>
#include <algorithm>

namespace {
// xSex codes.
enum Sex { SexMale = 1, SexFemale = 2, SexTrans = 3 };

// xClientGroup bits.
enum ClientGroup {
    GroupIDU = 1,
    GroupWCS = 2,
    GroupMSM = 4,
    GroupPRIS = 8,
    GroupLJV = 0x10,
    GroupSTIM = 0x400,
    GroupDETULIC = 0x1000,
    GroupOTHERRISK = 0x4000,
    GroupPCIDU = 0x8000,
};

// The share of clients already known when the period begins.
constexpr double kKnownBefore = 0.25;
constexpr int kDiseases = 5; // xDiseases codes 1 to 5, one row each
constexpr int kDiseaseHIV = 1;
constexpr int kKnowsPositive = 4;

// Letters of the code: first letters of given names; those that begin no
// name are left out.
const QString kCodeLetters = QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЭЮЯ");

// Main groups a card offers, by sex (MSM is never a woman's).
const CWeighted kMainGroupMale[] = {{GroupIDU, 55},  {GroupMSM, 15},  {GroupPRIS, 6},
                                    {GroupSTIM, 12}, {GroupPCIDU, 6}, {GroupOTHERRISK, 6}};
const CWeighted kMainGroupFemale[] = {
    {GroupIDU, 45}, {GroupWCS, 30}, {GroupSTIM, 10}, {GroupPCIDU, 10}, {GroupDETULIC, 5}};
const CWeighted kMainGroupTrans[] = {{GroupWCS, 50}, {GroupIDU, 30}, {GroupOTHERRISK, 20}};
// Further groups of a row (bit set); 0 for none.
const CWeighted kExtraGroups[] = {
    {0, 70},        {GroupLJV, 10}, {GroupPRIS, 8}, {GroupSTIM, 6}, {GroupLJV | GroupPRIS, 3},
    {GroupPCIDU, 3}};

// Values of the history pages, as the client card stores them.
const CWeighted kRoute[] = {{1, 70}, {1 | 4, 10}, {2, 8}, {4, 6}, {8, 6}}; // xMainRouteEnum
const CWeighted kParticipation[] = {{1, 80}, {2, 8}, {3, 4}, {4, 3}, {99, 5}};
const CWeighted kYesNoUnknown[] = {{0, 55}, {1, 30}, {99, 15}};
const CWeighted kDesinfection[] = {{1, 20}, {2, 10}, {3, 15}, {4, 10}, {5, 30}, {99, 10}, {100, 5}};
const CWeighted kLastInjection[] = {{1, 60}, {2, 15}, {3, 5}, {4, 5}, {99, 10}, {100, 5}};
const CWeighted kCondom[] = {{1, 45}, {0, 35}, {2, 5}, {99, 15}};      // xCondYesNoNosex
const CWeighted kLastPartner[] = {{1, 50}, {0, 30}, {2, 5}, {99, 15}}; // xLastSexual
const CWeighted kEmployment[] = {{1, 15}, {2, 25}, {3, 3}, {4, 40},
                                 {5, 5},  {6, 4},  {7, 3}, {99, 5}}; // xEployment
const CWeighted kLiving[] = {{2, 70}, {3, 15}, {1, 10}, {99, 5}};    // xLivingPlaceEnum
const CWeighted kEducation[] = {{1, 10}, {2, 40}, {3, 30}, {4, 8}, {5, 7}, {6, 2}, {99, 3}};
const CWeighted kLegal[] = {{1, 55}, {2, 15}, {3, 25}, {99, 5}};         // xLegalProblemsEnum
const CWeighted kOtherReg[] = {{0, 80}, {1, 8}, {2, 5}, {4, 4}, {8, 3}}; // xSocOtherReg
// xDiseaseStates bit sets a health row holds (knowing a result implies a test).
const CWeighted kHealthStatus[] = {{0, 35},        {1, 20},    {1 | 2, 15},   {1 | 8, 15},
                                   {1 | 2 | 8, 8}, {1 | 4, 5}, {1 | 2 | 4, 2}};

QString SexLetter(int sex) {
    return sex == SexFemale ? QStringLiteral("ж")
                            : (sex == SexTrans ? QStringLiteral("т") : QStringLiteral("ч"));
}

// The days of a client's history rows: the first entry and later days up to
// the last day, all different, ascending.
QList<int> HistoryDays(CDataGenRandom& rnd, int enterDay, int lastDay, int count) {
    const int first = qMin(enterDay, lastDay - count + 1);
    QList<int> days{first};
    QSet<int> taken{first};
    const int span = lastDay - first;
    while (days.size() < count) {
        const int day = first + 1 + rnd.Below(span);
        if (!taken.contains(day)) {
            taken.insert(day);
            days.append(day);
        }
    }
    std::sort(days.begin(), days.end());
    return days;
}

bool Failed(const CRowBatch& batch, QString* error) {
    *error = DescribeSQLError(batch.Error());
    return false;
}
} // namespace

QString MakeClientCode(const QString& letters, int birthDay, int birthYear, int sex) {
    return letters +
           QStringLiteral("%1%2")
               .arg(birthDay, 2, 10, QLatin1Char('0'))
               .arg(birthYear % 100, 2, 10, QLatin1Char('0')) +
           SexLetter(sex);
}

bool GenerateClients(CxSQL* sql, const CDataGenOptions& options, CDataGenRandom rnd,
                     CDataGenWorld& world, QString* error) {
    const int firstDay = int(options.FirstDay().toJulianDay());
    const int lastDay = int(options.lastDay.toJulianDay());
    const int lastYear = options.lastDay.year();

    CRowBatch clients(sql, "clientdata",
                      {"ROWID", "cClientCode", "cOClientCode", "dEnterDate", "dUpdateDate",
                       "dStartInPrjDate", "nBirthYear", "dBirthDate", "nSex", "bSecondary", "bPDI",
                       "bIsFolder", "nGroupID", "nSocRab", "nRegionDataID", "bNewCode",
                       "nEthnicity", "nRelCount"});
    // Client folders, one per region that has service points.
    int nextId = 1;
    QList<int> regionFolders;
    for (const QString& region : world.regions) {
        regionFolders.append(nextId);
        clients.BeginRow();
        clients.Int(nextId++);
        clients.Text(QStringLiteral("Клиенты: ") + region);
        for (int i = 0; i < 7; ++i) // old code, dates, birth year and date, sex
            clients.Null();
        clients.Int(0); // bSecondary
        clients.Int(0); // bPDI
        clients.Int(1); // bIsFolder
        clients.Int(0); // nGroupID
        clients.Null(); // nSocRab
        clients.Int(0); // nRegionDataID
        clients.Int(0); // bNewCode
        clients.Int(0); // nEthnicity
        clients.Int(0); // nRelCount
        clients.EndRow();
    }

    CRowBatch changes(
        sql, "clientdatachanges",
        {"nClientID", "dDate", "nClientType", "nClientType2", "nLastLinkID", "nRegionDataID"});
    CRowBatch drugs(sql, "drugusedata",
                    {"nClientID", "dDate", "dUpdateDate", "nBasicDrug", "nMainRoute",
                     "nSecondaryDrug", "nUseFrequency", "nParticipation", "nDrugStartDate",
                     "nDonorID", "nRecordType", "nLastLinkID", "nRegionDataID"});
    CRowBatch risks(sql, "riskbehavior",
                    {"nClientID", "dDate", "dUpdateDate", "nUseDirtySyr", "nDesinfectionWay",
                     "nGivingUsed", "nLastInjectWith", "nUsingCondom", "nLastSexualPart",
                     "nLastLinkID", "nRegionDataID"});
    CRowBatch social(sql, "socialstatus",
                     {"nClientID", "dDate", "dUpdateDate", "nEploymentStatus", "cOtherEployment",
                      "nPlaceOfLiving", "nEducationLevel", "nLegalProblem", "nChildCount",
                      "bRegPolice", "bNarcoDisp", "bVolonter", "nOtherReg", "nLastLinkID",
                      "nRegionDataID"});
    CRowBatch health(sql, "healthstatus",
                     {"nClientID", "nDisease", "nStatus", "nTreatmentStartDate", "dUpdateDate",
                      "nRegionDataID"});

    QSet<QString> codes;
    double weightSum = 0;
    for (const CGenPoint& p : world.points)
        weightSum += p.weight;
    world.clientsByPoint.resize(world.points.size());

    for (int i = 0; i < options.clients; ++i) {
        CGenClient client;
        client.id = nextId++;
        // Every point knows a client from the start; the others go to points
        // as busy as they are.
        if (i < world.points.size()) {
            client.point = i;
        } else {
            double at = rnd.Unit() * weightSum;
            client.point = int(world.points.size()) - 1;
            for (int p = 0; p < world.points.size(); ++p) {
                at -= world.points[p].weight;
                if (at < 0) {
                    client.point = p;
                    break;
                }
            }
        }
        const int sexDraw = rnd.Below(100);
        client.sex = sexDraw < 62 ? SexMale : (sexDraw < 98 ? SexFemale : SexTrans);
        client.birthYear = lastYear - rnd.Range(18, 35) - rnd.Below(26);
        const QDate birth(client.birthYear, rnd.Range(1, 12), 1);
        const int birthDay = rnd.Range(1, birth.daysInMonth());
        if (i < world.points.size() || rnd.Chance(kKnownBefore))
            client.enterDay = firstDay - rnd.Below(3 * 365);
        else
            client.enterDay = firstDay + rnd.Below(qMax(1, lastDay - firstDay - 7));

        QString code;
        do {
            QString letters;
            for (int k = 0; k < 3; ++k)
                letters += kCodeLetters[rnd.Below(int(kCodeLetters.size()))];
            code = MakeClientCode(letters, birthDay, client.birthYear, client.sex);
        } while (codes.contains(code));
        codes.insert(code);

        const int history = options.history > 0 ? options.history
                                                : (rnd.Chance(0.4) ? 1 : (rnd.Chance(0.6) ? 2 : 3));
        const QList<int> days = HistoryDays(rnd, client.enterDay, lastDay, history);
        const CGenPoint& point = world.points[client.point];
        const QDate enter = QDate::fromJulianDay(client.enterDay);

        clients.BeginRow();
        clients.Int(client.id);
        clients.Text(code);
        clients.Text(code);
        clients.Date(enter);
        clients.Date(QDate::fromJulianDay(days.last()));
        clients.Date(enter);
        clients.Int(client.birthYear);
        // The card keeps the birth date as the first day of the birth year.
        clients.Date(QDate(client.birthYear, 1, 1));
        clients.Int(client.sex);
        clients.Int(rnd.Chance(0.08) ? 1 : 0);
        clients.Int(0);
        clients.Int(0);
        clients.Int(rnd.Chance(0.7) ? regionFolders[point.regionIndex] : 0);
        if (point.workers.isEmpty())
            clients.Null();
        else
            clients.Int(rnd.Pick(point.workers));
        clients.Int(0);
        clients.Int(1);
        clients.Int(0);
        clients.Int(0);
        if (!clients.EndRow())
            return Failed(clients, error);

        // One set of dates for the four histories: the worker fills the card's
        // pages at the same interviews.
        int mainGroup = 0;
        if (client.sex == SexMale)
            mainGroup = PickWeighted(rnd, kMainGroupMale);
        else if (client.sex == SexFemale)
            mainGroup = PickWeighted(rnd, kMainGroupFemale);
        else
            mainGroup = PickWeighted(rnd, kMainGroupTrans);
        const bool injects = mainGroup == GroupIDU || rnd.Chance(0.2);
        const int basicDrug = injects ? world.drugs[rnd.Below(3)]
                                      : world.drugs[3 + rnd.Below(int(world.drugs.size()) - 3)];
        const int drugStart = qMin(lastYear, client.birthYear + rnd.Range(14, 25));
        for (int h = 0; h < days.size(); ++h) {
            const QDate day = QDate::fromJulianDay(days[h]);
            const bool newest = h == days.size() - 1;
            auto lastLink = [&](CRowBatch& batch) {
                if (newest)
                    batch.Int(client.id);
                else
                    batch.Null();
                batch.Int(0);
            };
            int extra = PickWeighted(rnd, kExtraGroups);
            if (client.sex == SexFemale)
                extra &= ~GroupMSM;
            changes.BeginRow();
            changes.Int(client.id);
            changes.Date(day);
            changes.Int(mainGroup);
            changes.Int(extra);
            lastLink(changes);
            if (!changes.EndRow())
                return Failed(changes, error);

            const int participation = PickWeighted(rnd, kParticipation);
            drugs.BeginRow();
            drugs.Int(client.id);
            drugs.Date(day);
            drugs.Date(day);
            drugs.Int(basicDrug);
            drugs.Int(injects ? PickWeighted(rnd, kRoute) : (rnd.Chance(0.5) ? 2 : 8));
            if (rnd.Chance(0.4))
                drugs.Int(rnd.Pick(world.drugs));
            else
                drugs.Null();
            drugs.Int(rnd.Range(1, 5));
            drugs.Int(participation);
            drugs.Int(qMin(drugStart, day.year()));
            if (participation == 2 || participation == 3)
                drugs.Int(world.donors.first());
            else
                drugs.Null();
            drugs.Int(1);
            lastLink(drugs);
            if (!drugs.EndRow())
                return Failed(drugs, error);

            risks.BeginRow();
            risks.Int(client.id);
            risks.Date(day);
            risks.Date(day);
            risks.Int(PickWeighted(rnd, kYesNoUnknown));
            risks.Int(PickWeighted(rnd, kDesinfection));
            risks.Int(PickWeighted(rnd, kYesNoUnknown));
            risks.Int(injects ? PickWeighted(rnd, kLastInjection) : 100);
            risks.Int(PickWeighted(rnd, kCondom));
            risks.Int(PickWeighted(rnd, kLastPartner));
            lastLink(risks);
            if (!risks.EndRow())
                return Failed(risks, error);

            const int employment = PickWeighted(rnd, kEmployment);
            social.BeginRow();
            social.Int(client.id);
            social.Date(day);
            social.Date(day);
            social.Int(employment);
            social.Text(employment == 6 ? QStringLiteral("Разнорабочий") : QString(), true);
            social.Int(PickWeighted(rnd, kLiving));
            social.Int(PickWeighted(rnd, kEducation));
            social.Int(PickWeighted(rnd, kLegal));
            social.Int(rnd.Below(4));
            social.Text(rnd.Chance(0.1) ? QStringLiteral("1") : QStringLiteral("0"));
            social.Text(rnd.Chance(0.2) ? QStringLiteral("1") : QStringLiteral("0"));
            social.Int(rnd.Chance(0.03) ? 1 : 0);
            social.Int(PickWeighted(rnd, kOtherReg));
            lastLink(social);
            if (!social.EndRow())
                return Failed(social, error);
        }

        // The health tab writes one row per disease, or none at all.
        if (rnd.Chance(0.6)) {
            for (int disease = 1; disease <= kDiseases; ++disease) {
                const int status = PickWeighted(rnd, kHealthStatus);
                health.BeginRow();
                health.Int(client.id);
                health.Int(disease);
                health.Int(status);
                health.Int(disease == kDiseaseHIV && (status & kKnowsPositive)
                               ? QDate::fromJulianDay(days.first()).year() - rnd.Below(5)
                               : 0);
                health.Date(QDate::fromJulianDay(days.last()));
                health.Int(0);
                if (!health.EndRow())
                    return Failed(health, error);
            }
        }
        world.clients.append(client);
    }

    for (CRowBatch* batch : {&clients, &changes, &drugs, &risks, &social, &health}) {
        if (!batch->Finish())
            return Failed(*batch, error);
    }

    // The clients known on a day are a prefix of these lists.
    QList<int> order(world.clients.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return world.clients[a].enterDay < world.clients[b].enterDay;
    });
    world.clientsByEntry = order;
    for (int i : order)
        world.clientsByPoint[world.clients[i].point].append(i);
    return true;
}
