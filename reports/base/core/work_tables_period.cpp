// The period work tables of a run: the chosen service points, the lists that
// turn directory items into material and consultation codes, the compact
// table of visit lines, the period summary per client, and the client table
// with the unique-person key gROWID.
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "posh_selection.h"
#include "rep_base_data.h"
#include "rep_config.h"

#include <QSet>

namespace {
// A consultation or redirection: all three bits of the type's low part set.
constexpr long kConsultMask = 458752; // 0x70000
// Items of type 0x40FFF ("other services") of configured group 1004 count
// under a code of their own as well: the community centre's services.
constexpr long kCommunityCode = 263148; // 0x403EC
constexpr long kOtherServices = 266239; // 0x40FFF
constexpr long kCommunityGroup = 1004;
// The logical name of the sums of a report's planned sub-periods.
const QString kSummarySetKey = QStringLiteral("SUMMARIES");

constexpr CxTr Tr;

QString Ymd(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString SqlDate(const QDate& date) {
    return QStringLiteral("STR_TO_DATE('") + Ymd(date) + QStringLiteral("','%Y%m%d')");
}
} // namespace

QString CRepBaseData::GroupCaseList(bool consultations) const {
    QString cases;
    for (const RepMatGroup& item : RepConfig::MaterialGroups()) {
        if (item.group == 0)
            continue;
        const bool consultation = (item.id & kConsultMask) == kConsultMask;
        if (consultation != consultations)
            continue;
        cases += QStringLiteral("WHEN %1 THEN %2 ").arg(item.id).arg(item.group);
    }
    return cases;
}

QString CRepBaseData::PrepareSelectedPOU() {
    auto known = m_tables.constFind(QStringLiteral("POU"));
    if (known != m_tables.constEnd())
        return *known;
    const QList<long> points = CPoshSelection::SelectedIDs();
    QStringList ids;
    for (long id : points)
        ids << QString::number(id);
    const long n = StrToID(ids.join(u','));
    const QString name = QStringLiteral("_cache_pou_%1").arg(n);
    return BuildTable(
        name, Tr("Подготовка списка выбранных ПОУ", "msgSelectedPOU"),
        [&](const QString& part) {
            ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                        QStringLiteral(" (ROWID INT NOT NULL PRIMARY KEY) ") + WorkTableOptions());
            // In batches, so a very long selection stays within the packet size.
            for (qsizetype at = 0; at < ids.size(); at += 1000) {
                const QStringList batch = ids.mid(at, 1000);
                ExecuteStep(QStringLiteral("INSERT INTO ") + part + QStringLiteral(" VALUES (") +
                            batch.join(QStringLiteral("),(")) + u')');
            }
        },
        QStringLiteral("POU"));
}

QString CRepBaseData::PrepareMatList() {
    const QString name = QStringLiteral("_cache_matlist");
    return BuildTable(name, Tr("Подготовка компактной таблицы материалов", "msgMatList"),
                      [&](const QString& part) {
                          const QString cases = GroupCaseList(false);
                          ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                                      QStringLiteral(" (`ROWID` int(11) NOT NULL DEFAULT '0', "
                                                     "`nType` int(11) NOT NULL,UNIQUE INDEX i3 "
                                                     "(ROWID,nType)) ") +
                                      WorkTableOptions());
                          const QString from = QStringLiteral(
                              " FROM dir WHERE dir.nDirType=3 AND NOT dir.bIsFolder AND "
                              "(458752&dir.nType)<>458752 HAVING nType");
                          // Each material under its group, when its code has one...
                          if (!cases.isEmpty())
                              ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                                          QStringLiteral(" SELECT ROWID,CASE nType ") + cases +
                                          QStringLiteral(" ELSE 0 END AS nType") + from);
                          // ...and under its own code.
                          ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                                      QStringLiteral(" SELECT ROWID,dir.nType AS nType") + from);
                      });
}

QString CRepBaseData::PrepareConsList() {
    const QString name = QStringLiteral("_cache_conslist");
    return BuildTable(
        name, Tr("Подготовка компактной таблицы консультаций", "msgConsList"),
        [&](const QString& part) {
            const QString cases = GroupCaseList(true);
            ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                        QStringLiteral(" (`ROWID` int(11) NOT NULL DEFAULT '0',  `nType` "
                                       "int(11) not null,UNIQUE INDEX i3 (ROWID,nType)) ") +
                        WorkTableOptions());
            // Each consultation under its group...
            if (!cases.isEmpty())
                ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                            QStringLiteral(" SELECT ROWID,CASE nType ") + cases +
                            QStringLiteral(" ELSE 0 END AS nType FROM dir WHERE dir.nDirType=3 "
                                           "AND NOT dir.bIsFolder AND "
                                           "(268369920&dir.nType)=458752 HAVING nType"));
            // ...and, with a configured group, under the negated group number.
            ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                        QStringLiteral(" SELECT ROWID,-nConfigGroup AS nType FROM dir WHERE "
                                       "dir.nDirType=3 AND NOT dir.bIsFolder AND "
                                       "dir.nConfigGroup>0 AND (268369920&dir.nType)=458752"));
        });
}

QString CRepBaseData::PrepareCompactTable() {
    const QString name = QStringLiteral("_cache_compacttable");
    return BuildTable(
        name, Tr("Подготовка компактной таблицы отчетов", "msgCompactDaily"),
        [&](const QString& part) {
            // No index: its readers take a range of dates or all of it, and a
            // scan of the whole table reads it in large blocks, faster than an
            // index that fetches each row of a month apart; building the index
            // cost as much again as filling the table.
            ExecuteStep(
                QStringLiteral("CREATE TABLE ") + part +
                QStringLiteral(
                    " (nReportID INT NOT NULL, `nType` int(11) NOT NULL,nRegionDataID "
                    "INT NOT NULL, `nClientID` int(11) NOT NULL, `dDate` DATE NOT NULL, "
                    "`nWorkplace` int(11) NOT NULL DEFAULT '-1', `nWorker1` int(11) NOT "
                    "NULL DEFAULT '-1', `nCount` int(11) NOT NULL, nProject INT NOT NULL) ") +
                WorkTableOptions());
            // The lists are made before the tables are locked: a build of its
            // own may not run under another's table locks.
            const QString m = PrepareMatList();
            const QString k = PrepareConsList();
            ExecuteStep(QStringLiteral("LOCK TABLE dir read,watchdog write,profiles write,") +
                        part + QStringLiteral(" write, ") + m + QStringLiteral(" read, ") + k +
                        QStringLiteral(" read,dailyvisits as dv read, dailyreport as dr read"));
            // One pass over the visit lines, each counted under every code of
            // its item: materials as they are; the community centre's services
            // also under their own code; a consultation 1 for each of the bits
            // 32 (project treatment) and 2 (project consultation) of its count.
            // A line of a report without a date lies in no period.
            ExecuteStep(
                QStringLiteral("INSERT INTO ") + part +
                QStringLiteral(
                    " SELECT STRAIGHT_JOIN dr.ROWID AS nReportID,l.nType,dr.nRegionDataID,"
                    "dv.nClientID,dr.dDate,dr.nWorkplace,dr.nWorker1,IF(l.bConsult,"
                    "IF(dv.nCount&32,1,0)+IF(dv.nCount&2,1,0),dv.nCount) AS nCount,"
                    "dr.nProject FROM dailyvisits AS dv JOIN dailyreport AS dr ON "
                    "dr.ROWID=dv.nReportID JOIN (SELECT ROWID,nType,0 AS bConsult FROM ") +
                m +
                QStringLiteral(" UNION ALL SELECT ROWID,%1,0 FROM dir WHERE dir.nDirType=3 AND "
                               "dir.nType=%2 AND dir.nConfigGroup=%3 UNION ALL SELECT "
                               "ROWID,nType,1 FROM ")
                    .arg(kCommunityCode)
                    .arg(kOtherServices)
                    .arg(kCommunityGroup) +
                k + QStringLiteral(") AS l ON l.ROWID=dv.nItem WHERE dr.dDate IS NOT NULL"));
            ExecuteStep(QStringLiteral("UNLOCK TABLES"));
        });
}

QList<long> CRepBaseData::SummaryCodes() {
    // One sum column per top-level material group, and the community
    // centre's code, each once.
    QList<long> codes;
    QSet<long> seen;
    for (const RepMatGroup& item : RepConfig::MaterialGroups())
        if (item.group == 0 && !seen.contains(item.id)) {
            seen.insert(item.id);
            codes << item.id;
        }
    if (!seen.contains(kCommunityCode))
        codes << kCommunityCode;
    return codes;
}

void CRepBaseData::PlanSummaries(const QList<std::pair<QDate, QDate>>& periods) {
    m_plannedPeriods.clear();
    m_tables.remove(kSummarySetKey);
    // Only sub-periods that follow each other without gap or overlap: each
    // line of the whole period then falls in exactly one of them.
    for (qsizetype i = 0; i < periods.size(); ++i)
        if (periods.at(i).first > periods.at(i).second ||
            (i > 0 && periods.at(i).first != periods.at(i - 1).second.addDays(1)))
            return;
    if (periods.size() > 1)
        m_plannedPeriods = periods;
}

QString CRepBaseData::PrepareSummarySet() {
    auto known = m_tables.constFind(kSummarySetKey);
    if (known != m_tables.constEnd())
        return *known;
    QStringList spans;
    for (const auto& [from, to] : std::as_const(m_plannedPeriods))
        spans << Ymd(from) + u'-' + Ymd(to);
    const QString name = QStringLiteral("_cache_summaries%1").arg(StrToID(spans.join(u',')));
    const QString title = CxString::StrTr(
        Tr("Подготовка итоговой таблицы за период с {startdate} по {enddate}", "msgSummaryTable"),
        {{QStringLiteral("{startdate}"), DisplayDate(m_plannedPeriods.first().first)},
         {QStringLiteral("{enddate}"), DisplayDate(m_plannedPeriods.last().second)}});
    return BuildTable(
        name, title,
        [&](const QString& part) {
            QString columns;
            QString values;
            for (long code : SummaryCodes()) {
                columns += u',' + SumColumn(code) + QStringLiteral(" INT NOT NULL");
                values +=
                    QStringLiteral(",SUM(IF(nType=%1,nCount,0)) AS ").arg(code) + SumColumn(code);
            }
            ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                        QStringLiteral(" (nPeriod INT NOT NULL,nClientID INT NOT NULL,nWorkPlace "
                                       "INT NOT NULL,nWorker1 INT NOT NULL,nVisits INT NOT NULL") +
                        columns +
                        QStringLiteral(",nProject INT NOT NULL,UNIQUE INDEX i1 "
                                       "(nPeriod,nClientID,nWorkPlace,nWorker1,nProject)) ") +
                        WorkTableOptions());
            // Each line under the number of the sub-period it falls in, and
            // the sums grouped by it first: one pass over the compact table
            // for all of them. The number is found among the sub-periods'
            // starts (as yyyymmdd numbers, the date's own value as a number)
            // by a binary search, not by a test per sub-period.
            QString which = QStringLiteral("INTERVAL(dDate+0");
            for (const auto& span : std::as_const(m_plannedPeriods))
                which += u',' + Ymd(span.first);
            which += QStringLiteral(")-1");
            const QString c = PrepareCompactTable();
            ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                        QStringLiteral(" SELECT SQL_BIG_RESULT nPeriod,nClientID,nWorkPlace,"
                                       "nWorker1,COUNT(DISTINCT nReportID) AS nVisits") +
                        values + QStringLiteral(",nProject FROM (SELECT ") + which +
                        QStringLiteral(" AS nPeriod,c.* FROM ") + c +
                        QStringLiteral(" AS c WHERE dDate BETWEEN ") +
                        SqlDate(m_plannedPeriods.first().first) + QStringLiteral(" AND ") +
                        SqlDate(m_plannedPeriods.last().second) +
                        QStringLiteral(") AS t GROUP BY nPeriod,nClientID,nWorkPlace,nWorker1,"
                                       "nProject"));
        },
        kSummarySetKey);
}

QString CRepBaseData::PrepareSummaryTable() {
    // A planned sub-period's rows are read where the pass over all of them
    // put them (SummaryRows picks them): a copy per sub-period cost more
    // than every query on it.
    if (m_plannedPeriods.contains(std::pair(m_from, m_to)))
        return PrepareSummarySet();
    const QString name = QStringLiteral("_cache_summary") + Ymd(m_from) + Ymd(m_to);
    const QString title = CxString::StrTr(
        Tr("Подготовка итоговой таблицы за период с {startdate} по {enddate}", "msgSummaryTable"),
        {{QStringLiteral("{startdate}"), DisplayDate(m_from)},
         {QStringLiteral("{enddate}"), DisplayDate(m_to)}});
    return BuildTable(name, title, [&](const QString& part) {
        // nVisits: the client's distinct reports (the client is one per
        // group).
        QString columns;
        QString values;
        for (long code : SummaryCodes()) {
            columns += u',' + SumColumn(code) + QStringLiteral(" INT NOT NULL");
            values += QStringLiteral(",SUM(IF(nType=%1,nCount,0)) AS ").arg(code) + SumColumn(code);
        }
        ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                    QStringLiteral(" (nClientID INT NOT NULL,nWorkPlace INT NOT NULL,nWorker1 "
                                   "INT NOT NULL,nVisits INT NOT NULL") +
                    columns +
                    QStringLiteral(",nProject INT NOT NULL,UNIQUE INDEX i1 "
                                   "(nClientID,nWorkPlace,nWorker1,nProject)) ") +
                    WorkTableOptions());
        const QString c = PrepareCompactTable();
        ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                    QStringLiteral(" SELECT SQL_BIG_RESULT nClientID,nWorkPlace,nWorker1, "
                                   "COUNT(DISTINCT nReportID) AS nVisits") +
                    values + QStringLiteral(",nProject FROM ") + c +
                    QStringLiteral(" WHERE dDate BETWEEN ") + SqlDate(m_from) +
                    QStringLiteral(" AND ") + SqlDate(m_to) +
                    QStringLiteral(" GROUP BY nClientID,nWorkPlace,nWorker1,nProject"));
    });
}

QString CRepBaseData::SummaryRows() {
    const qsizetype planned = m_plannedPeriods.indexOf(std::pair(m_from, m_to));
    if (planned < 0)
        return QString();
    return PrepareSummarySet() + QStringLiteral(".nPeriod=%1").arg(planned);
}

QString CRepBaseData::JoinClientTable(const JoinFn& join) {
    const QString table = PrepareClientTable();
    if (join)
        join(QString(), table,
             table + QStringLiteral(".nClientID=") + PrepareSummaryTable() +
                 QStringLiteral(".nClientID"));
    return table;
}

QString CRepBaseData::PrepareClientTable() {
    const QString name = QStringLiteral("_cache_clidata");
    const QString title = Tr("Расчитывается таблица клиентов", "msgClientsTable");
    BuildTable(name, title, [&](const QString& part) {
        const QString c = PrepareCompactTable();
        // The person key: the code up to its first back-quote, upper-cased; a
        // record whose code breaks the rules (bNewCode 0) keeps a key of its
        // own. One person = one key, sex and birth year; a record with an
        // unknown part is a person of its own.
        const QString key = QStringLiteral(
            "CONCAT(UPPER(LEFT(cd.cClientCode,if(locate('`',cd.cClientCode),locate('`',"
            "cd.cClientCode)-1,255))),IF(cd.bNewCode,'',CONCAT('`',convert( cast(cd.ROWID AS "
            "char ) using utf8 ))))");
        // The first visit in one pass: the earliest date and, on it, the
        // lowest report, as the least of date * 2^32 + report.
        ExecuteStep(
            QStringLiteral("CREATE TABLE ") + part +
            QStringLiteral(" (INDEX i1 (gROWID),UNIQUE INDEX i2 (nClientID),INDEX i3 "
                           "(cGClientCode)) ") +
            LookupTableOptions() +
            QStringLiteral(
                " SELECT DENSE_RANK() OVER (ORDER BY cGClientCode,nBirthYear,nSex,IF(cGClientCode "
                "IS NULL OR nBirthYear IS NULL OR nSex IS NULL,nClientID,0)) AS gROWID,"
                "nBirthYear,nSex,cGClientCode,cOClientCode,nClientID,nFirstWorkplace,"
                "nFirstWorker1,dFirstDate,nRegionDataID,bSecondary,bPDI FROM (SELECT "
                "cd.nSex,cd.nBirthYear,") +
            key +
            QStringLiteral(" AS cGClientCode,cd.cOClientCode,f.nClientID,dr.nWorkplace AS "
                           "nFirstWorkplace,dr.nWorker1 AS nFirstWorker1,dr.dDate AS "
                           "dFirstDate,cd.nRegionDataID,cd.bSecondary,cd.bPDI FROM (SELECT "
                           "nClientID,MIN(TO_DAYS(dDate)*4294967296+nReportID) AS nFirst FROM ") +
            c +
            QStringLiteral(" GROUP BY nClientID) AS f JOIN dailyreport AS dr ON "
                           "dr.ROWID=f.nFirst%4294967296 JOIN clientdata AS cd ON "
                           "cd.ROWID=f.nClientID WHERE NOT cd.bIsFolder) AS t1"));
    });
    if (m_newClientMode != 2)
        return name;
    // Country-wide new clients: every record of a person takes the person's
    // earliest first date.
    const QString name2 = name + QStringLiteral("ua");
    return BuildTable(name2, title, [&](const QString& part) {
        ExecuteStep(QStringLiteral("create table ") + part +
                    QStringLiteral(" (INDEX i1 (gROWID),UNIQUE INDEX i2 (nClientID),INDEX i3 "
                                   "(cGClientCode)) ") +
                    LookupTableOptions() +
                    QStringLiteral(" SELECT t0.gROWID,t0.nBirthYear,t0.nSex,t0.cGClientCode,"
                                   "t0.cOClientCode,t0.nClientID,t0.nFirstWorkplace,"
                                   "t0.nFirstWorker1,t1.dFirstDate,t0.nRegionDataID,t0.bSecondary,"
                                   "t0.bPDI FROM ") +
                    name +
                    QStringLiteral(" AS t0 JOIN (select min(dFirstDate) AS "
                                   "dFirstDate,gROWID FROM ") +
                    name + QStringLiteral(" group by gROWID) AS t1 ON t1.gROWID=t0.gROWID"));
    });
}
