// Work tables of the clients' state on a date: per history table the periods
// in which each recorded state held, the periods of the whole state, a snapshot of every client's
// state on one date, and the consultation totals per client, item, day and point. The visits
// reports do not read these tables: they keep their own state at a period's end
// (CRepVisitsRunData::CreateStateTable).
#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "rep_base_data.h"

#include <QSet>

namespace {
constexpr CxTr Tr;

struct HistoryTable {
    const char* table;
    const char* columns;
    const char* title;
    const char* key;
};

// The history tables in the order their columns enter the snapshot.
// The start of the period before a client's first recorded state.
constexpr char kBeforeAll[] = "1000-01-01";

const HistoryTable kHistories[] = {
    {"clientdatachanges", "nClientType,nClientType2", "Подготовка таблицы: уязвимые группы",
     "msgRiskGroupCreate"},
    {"riskbehavior",
     "nUseDirtySyr,nDesinfectionWay,nGivingUsed,nLastInjectWith,nUsingCondom,nLastSexualPart",
     "Подготовка таблицы: рискованное поведение", "msgRishBeh"},
    {"drugusedata",
     "nBasicDrug,nMainRoute,nSecondaryDrug,nUseFrequency,nParticipation,nDrugStartDate",
     "Подготовка таблицы: употребление наркотиков", "msgDrugUseData"},
    {"socialstatus",
     "nEploymentStatus,nPlaceOfLiving,nEducationLevel,nLegalProblem,bRegPolice,bNarcoDisp",
     "Подготовка таблицы: социальный статус", "msgSocStatus"},
};
} // namespace

QString CRepBaseData::PrepareHistoryPeriods(const QString& historyTable, const QString& columns,
                                            const QString& title) {
    const QString name = QStringLiteral("_cache_dp") + historyTable;
    return BuildTable(name, title, [&](const QString& part) {
        // Columns kept as text (a yes/no mark in a char(1) column) are read
        // as numbers only when they hold one; anything else is 0, stated
        // here rather than left to the server's conversion of the text.
        QSet<QString> textColumns;
        CxResult described = m_sql->Execute(QStringLiteral("SHOW COLUMNS FROM ") + historyTable);
        if (!described.isValid())
            throw CRepError{SafeHTML(described.Error().statement) + QStringLiteral("<br/><b>") +
                            SafeHTML(described.Error().text) + QStringLiteral("</b>")};
        while (described.FetchRow()) {
            const QString type = described.SFieldValue(1).toLower();
            if (type.contains(QLatin1String("char")) || type.contains(QLatin1String("text")))
                textColumns.insert(described.SFieldValue(0).toLower());
        }
        QString definitions;
        QString values;
        QString picked;
        for (const QString& column : columns.split(u',')) {
            definitions += u',' + column + QStringLiteral(" INT NOT NULL");
            values += u',' + column;
            if (textColumns.contains(column.toLower()))
                picked += QStringLiteral(",IF(TRIM(%1) REGEXP '^-?[0-9]+$',CAST(TRIM(%1) AS "
                                         "SIGNED),0) AS %1")
                              .arg(column);
            else
                picked += QStringLiteral(",IFNULL(%1,0) AS %1").arg(column);
        }
        ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                    QStringLiteral(" (nClientID INT NOT NULL,dStartDate DATE NOT NULL, dEndDate "
                                   "DATE NOT NULL") +
                    definitions + QStringLiteral(",UNIQUE INDEX i1 (nClientID,dStartDate)) ") +
                    LookupTableOptions());
        // Each recorded state holds from its own date to the day before the
        // client's next record (the newest to the end of time). Before its
        // first record a client has no state: a state recorded later is never
        // taken for an earlier date. Of two records on one day the one
        // entered last (the greater ROWID) holds, so the choice never depends
        // on the order the server reads rows in. Rows without a client or a
        // date belong to no period.
        ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                    QStringLiteral(" SELECT nClientID,dDate AS dStartDate,IFNULL(LEAD(dDate) OVER "
                                   "w - INTERVAL 1 DAY,'2998-12-31') AS dEndDate") +
                    values +
                    QStringLiteral(" FROM (SELECT nClientID,dDate,ROW_NUMBER() OVER (PARTITION BY "
                                   "nClientID,dDate ORDER BY ROWID DESC) AS nPick") +
                    picked + QStringLiteral(" FROM ") + historyTable +
                    QStringLiteral(" WHERE nClientID IS NOT NULL AND dDate IS NOT NULL) AS h "
                                   "WHERE nPick=1 WINDOW w AS (PARTITION BY nClientID ORDER BY "
                                   "dDate)"));
    });
}

QString CRepBaseData::PrepareRiskGroupTable() {
    const HistoryTable& risk = kHistories[0];
    return PrepareHistoryPeriods(QString::fromLatin1(risk.table), QString::fromLatin1(risk.columns),
                                 Tr(risk.title, risk.key));
}

QString CRepBaseData::PrepareStateClients() {
    // The history periods first, on every call (later calls only find them).
    QStringList periods;
    for (const HistoryTable& history : kHistories)
        periods << PrepareHistoryPeriods(QString::fromLatin1(history.table),
                                         QString::fromLatin1(history.columns),
                                         Tr(history.title, history.key));
    const QString name = QStringLiteral("_cache_dpclients") + QString::number(m_newClientMode);
    return BuildTable(
        name, Tr("Подготовка таблицы состояний клиентов", "msgClientStates"),
        [&](const QString& part) {
            const QString cl = PrepareClientTable();
            // The periods in which a client's whole state (all four
            // histories) held: a new one begins wherever any history has a
            // record. A state on a date is then one lookup per client, and a
            // report by sub-periods takes every sub-period's from this table.
            QString definitions;
            QString picked;
            QString zeros;
            QString starts; // every history's period starts, one column each
            QString latest; // per start, each history's latest start up to it
            QString joins;
            const int n = int(periods.size());
            for (int i = 0; i < n; ++i) {
                const QString& p = periods.at(i);
                const QString alias = QStringLiteral("h%1").arg(i);
                const QString column0 = QStringLiteral("s%1").arg(i);
                for (const QString& column :
                     QString::fromLatin1(kHistories[i].columns).split(u',')) {
                    definitions += u',' + column + QStringLiteral(" INT NOT NULL");
                    // A history without a record yet on that date gives 0.
                    picked +=
                        QStringLiteral(",IFNULL(") + alias + u'.' + column + QStringLiteral(",0)");
                    zeros += QStringLiteral(",0");
                }
                if (!starts.isEmpty())
                    starts += QStringLiteral(" UNION ALL ");
                starts += QStringLiteral("SELECT nClientID,dStartDate");
                // The first part of the union names the columns.
                for (int j = 0; j < n; ++j)
                    starts += (j == i ? QStringLiteral(",dStartDate") : QStringLiteral(",NULL")) +
                              (i == 0 ? QStringLiteral(" AS s%1").arg(j) : QString());
                starts += QStringLiteral(" FROM ") + p;
                latest += QStringLiteral(",MAX(MAX(") + column0 + QStringLiteral(")) OVER w AS ") +
                          column0;
                // The periods of one history follow each other without gap,
                // so the one that holds on a date is the one of the latest
                // start up to it: found by its key, not by a range.
                joins += QStringLiteral(" LEFT JOIN ") + p + QStringLiteral(" AS ") + alias +
                         QStringLiteral(" ON ") + alias +
                         QStringLiteral(".nClientID=k.nClientID AND ") + alias +
                         QStringLiteral(".dStartDate=k.") + column0;
            }
            ExecuteStep(
                QStringLiteral("CREATE TABLE ") + part +
                QStringLiteral(" (nClientID INT NOT NULL,dStartDate DATE NOT NULL,dEndDate DATE "
                               "NOT NULL,gROWID bigint(21) default NULL,`cGClientCode` char(64) "
                               "character set utf8 default NULL,`cOClientCode` char(64) character "
                               "set utf8 default NULL,`nFirstWorkplace` int(11) NOT NULL default "
                               "'-1',`nFirstWorker1` int(11) NOT NULL default '-1',`dFirstDate` "
                               "date default '1900-01-01',`nRegionDataID` int(11) default "
                               "'0',`nBirthYear` int(11) default NULL,`nSex` int(11) default "
                               "NULL,`bSecondary` tinyint(4) NOT NULL default '0',`bPDI` "
                               "tinyint(4) NOT NULL default '0'") +
                definitions + QStringLiteral(",UNIQUE INDEX i1 (nClientID,dEndDate)) ") +
                LookupTableOptions());
            const QString client = QStringLiteral(
                "c.gROWID,c.cGClientCode,c.cOClientCode,c.nFirstWorkplace,c.nFirstWorker1,"
                "c.dFirstDate,c.nRegionDataID,c.nBirthYear,c.nSex,c.bSecondary,c.bPDI");
            // Every client's periods cover all time: those of its state and,
            // before the first of them (or always, for a client without any
            // history), a period of no state, all 0. So a lookup on any date
            // finds exactly one row per client. A period ends where the
            // client's next begins: taken in the same window as the latest
            // starts, since a window over the joined rows would sort them all
            // once more.
            ExecuteStep(
                QStringLiteral("INSERT INTO ") + part +
                QStringLiteral(" SELECT k.nClientID,k.dStartDate,k.dEndDate,") + client + picked +
                QStringLiteral(" FROM ") + cl +
                QStringLiteral(" AS c JOIN (SELECT nClientID,dStartDate,IFNULL(LEAD(dStartDate) "
                               "OVER w - INTERVAL 1 DAY,'2998-12-31') AS dEndDate") +
                latest + QStringLiteral(" FROM (") + starts +
                QStringLiteral(") AS a GROUP BY nClientID,dStartDate WINDOW w AS (PARTITION BY "
                               "nClientID ORDER BY dStartDate ROWS UNBOUNDED PRECEDING)) AS k ON "
                               "k.nClientID=c.nClientID") +
                joins);
            ExecuteStep(QStringLiteral("INSERT INTO ") + part +
                        QStringLiteral(" SELECT c.nClientID,'") + QLatin1String(kBeforeAll) +
                        QStringLiteral("',IFNULL(f.dFirst - INTERVAL 1 DAY,'2998-12-31'),") +
                        client + zeros + QStringLiteral(" FROM ") + cl +
                        QStringLiteral(" AS c LEFT JOIN (SELECT nClientID,MIN(dStartDate) AS "
                                       "dFirst FROM (") +
                        starts +
                        QStringLiteral(") AS k GROUP BY nClientID) AS f ON f.nClientID=c.nClientID "
                                       "WHERE IFNULL(f.dFirst>'") +
                        QLatin1String(kBeforeAll) + QStringLiteral("',1)"));
        });
}

QString CRepBaseData::SnapshotHolds(const QString& alias, const QDate& date) {
    return SafeSQL(date.toString(QStringLiteral("yyyy-MM-dd"))) + QStringLiteral(" BETWEEN ") +
           alias + QStringLiteral(".dStartDate AND ") + alias + QStringLiteral(".dEndDate");
}

QString CRepBaseData::PrepareSnapshotTables(const QDate& date, const JoinFn& join) {
    // No table per date: the periods of every client's state, under an alias
    // of the date, each client's one period that holds on it.
    const QString table = PrepareStateClients();
    const QString alias = QStringLiteral("dpd") + date.toString(QStringLiteral("yyyyMMdd")) +
                          QString::number(m_newClientMode);
    if (join)
        join(QString(), table + QStringLiteral(" AS ") + alias,
             alias + QStringLiteral(".nClientID=") + PrepareSummaryTable() +
                 QStringLiteral(".nClientID AND ") + SnapshotHolds(alias, date));
    return alias;
}

QString CRepBaseData::PrepareConsCompactTable() {
    const QString name = QStringLiteral("_cache_conscompact");
    return BuildTable(
        name, Tr("Итоги по консультациям", "msgConsCompact"), [&](const QString& part) {
            QString definitions;
            QString values;
            for (int bit = 1; bit < 64; bit *= 2) {
                definitions += QStringLiteral(",val%1 INT NOT NULL").arg(bit);
                values += QStringLiteral(",SUM(IF(nCount&%1,1,0))").arg(bit);
            }
            ExecuteStep(QStringLiteral("CREATE TABLE ") + part +
                        QStringLiteral(" (nClientID INT NOT NULL,nItem INT NOT NULL,dDate DATE NOT "
                                       "NULL,nWorkPlace INT NOT NULL") +
                        definitions +
                        QStringLiteral(", nProject INT NOT NULL,UNIQUE INDEX i1 "
                                       "(nClientID,nItem,dDate,nWorkPlace,nProject)) ") +
                        WorkTableOptions());
            ExecuteStep(
                QStringLiteral("INSERT INTO ") + part +
                QStringLiteral(" SELECT dailyvisits.nClientID,dailyvisits.nItem,"
                               "dailyreport.dDate,dailyreport.nWorkPlace ") +
                values +
                QStringLiteral(" ,nProject FROM dailyreport JOIN dailyvisits ON "
                               "dailyvisits.nReportID=dailyreport.ROWID JOIN dir ON "
                               "dir.ROWID=dailyvisits.nItem WHERE dir.nType& 458752 = 458752 AND "
                               "dir.nDirType= 3 AND dailyreport.dDate IS NOT NULL GROUP BY "
                               "dailyvisits.nClientID,dailyvisits.nItem,dailyreport.dDate,"
                               "dailyreport.nWorkPlace,dailyreport.nProject"));
        });
}
