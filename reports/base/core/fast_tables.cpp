#include "fast_tables.h"

#include "cache_config.h"
#include "db/schema/cache_tables.h"
#include "framework/core/progress.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "rep_base_data.h"
#include "rep_config.h"

#include <QStringList>

namespace {
constexpr int kLockWaitSeconds = 999999;
constexpr long kConsultMask = 458752; // 0x70000

const char* const kTables[CFastTables::kSteps] = {"_cache_mat", "_cache_cons", "_cache_fast",
                                                  "_cache_clients"};

QString Table(int step) {
    return QString::fromLatin1(kTables[step]);
}

// "WHEN code THEN group " for the items of the groups of one kind.
QString GroupCases(bool consultations) {
    QString cases;
    for (const RepMatGroup& item : RepConfig::MaterialGroups()) {
        if (item.group == 0 || ((item.id & kConsultMask) == kConsultMask) != consultations)
            continue;
        cases += QStringLiteral("WHEN %1 THEN %2 ").arg(item.id).arg(item.group);
    }
    return cases;
}
} // namespace

CFastTables::CFastTables(CxSQL* sql) : m_sql(sql ? sql : g_pBaseSQLConnection.get()) {}

QString CFastTables::StepTitle(int step) {
    static const char* const titles[kSteps] = {
        "Создание таблицы материлов", "Создание таблицы консультаций", "Создание таблицы итогов.",
        "Расчет даты и пункта первого визита и таблицы клиентов"};
    return CTarvikApp::TranslateString(QString::fromUtf8(titles[step]),
                                       QStringLiteral("CFastTables::Exec"));
}

bool CFastTables::TableExists(const QString& name) {
    CxResult res = m_sql->Execute(QStringLiteral("SHOW TABLES LIKE '") +
                                  QString(name).replace(u'_', QStringLiteral("\\\\_")) + u'\'');
    return res.isValid() && res.FetchRow();
}

QStringList CFastTables::Statements(int step, bool* exists) {
    const QString name = Table(step);
    *exists = TableExists(name);
    if (*exists)
        return {};
    const QString part = CRepBaseData::PartName(name);
    const QString options = CRepBaseData::WorkTableOptions();
    QStringList s;
    if (TableExists(part)) // left by a build that never ended
        s << QStringLiteral("DROP TABLE IF EXISTS ") + part;
    switch (step) {
    case 0:
    case 1: {
        const bool consultations = step == 1;
        s << QStringLiteral("CREATE TABLE ") + part +
                 QStringLiteral(" (`ROWID` int(11) NOT NULL DEFAULT '0',  `nType` int(11) not "
                                "null,UNIQUE INDEX i3 (ROWID,nType)) ") +
                 options;
        const QString cases = GroupCases(consultations);
        // Items whose code has no group are left out; without any group the
        // table stays empty.
        if (!cases.isEmpty())
            s << QStringLiteral("INSERT INTO ") + part +
                     QStringLiteral(" SELECT ROWID,CASE nType ") + cases +
                     QStringLiteral(" ELSE 0 END AS nType FROM dir WHERE dir.nDirType=3 AND NOT "
                                    "dir.bIsFolder AND (458752&dir.nType)") +
                     (consultations ? QStringLiteral("=") : QStringLiteral("<>")) +
                     QStringLiteral("458752 HAVING nType");
        break;
    }
    case 2: {
        const QString m = Table(0);
        const QString k = Table(1);
        s << QStringLiteral("CREATE TABLE ") + part +
                 QStringLiteral(" (nReportID INT NOT NULL, `nType` int(11) NOT NULL,nRegionDataID "
                                "INT NOT NULL, `nClientID` int(11) NOT NULL, `dDate` DATE NOT "
                                "NULL, `nWorkplace` int(11) NOT NULL DEFAULT '-1', `nWorker1` "
                                "int(11) NOT NULL DEFAULT '-1', `nCount` int(11) NOT NULL, INDEX "
                                "i1 (nType),INDEX i2 (nClientID,nWorkplace),INDEX i3 "
                                "(`dDate`,`nClientID`,`nReportID`),INDEX i4 (nWorkplace)) ") +
                 options;
        s << QStringLiteral("LOCK TABLE watchdog write,") + part + QStringLiteral(" write, ") + m +
                 QStringLiteral(" read, ") + k +
                 QStringLiteral(" read,dailyvisits as dv read, dailyreport as dr read");
        // One pass over the visit lines: materials with their count, a
        // consultation 1 for each of the bits 32 (project treatment) and 2
        // (project consultation) of its count.
        s << QStringLiteral("INSERT INTO ") + part +
                 QStringLiteral(
                     " SELECT STRAIGHT_JOIN SQL_NO_CACHE dr.ROWID AS nReportID,l.nType,"
                     "dr.nRegionDataID,dv.nClientID,dr.dDate,dr.nWorkplace,dr.nWorker1,"
                     "IF(l.bConsult,IF(dv.nCount&32,1,0)+IF(dv.nCount&2,1,0),dv.nCount) "
                     "AS nCount FROM dailyvisits AS dv JOIN dailyreport AS dr ON "
                     "dr.ROWID=dv.nReportID JOIN (SELECT ROWID,nType,0 AS bConsult FROM ") +
                 m + QStringLiteral(" UNION ALL SELECT ROWID,nType,1 FROM ") + k +
                 QStringLiteral(") AS l ON l.ROWID=dv.nItem WHERE dr.dDate IS NOT NULL");
        s << QStringLiteral("UNLOCK TABLES");
        break;
    }
    case 3: {
        const QString f = Table(2);
        // The person key: the code up to its first back-quote, upper-cased;
        // a record whose cut code equals its cOClientCode keeps a key of its
        // own. A record without a code is a person of its own. The first
        // visit: the earliest date and, on it, the lowest report, as the
        // least of date * 2^32 + report.
        const QString cut = QStringLiteral(
            "LEFT(cd.cClientCode,if(locate('`',cd.cClientCode),locate('`',cd.cClientCode)-1,255))");
        s << QStringLiteral("CREATE TABLE ") + part +
                 QStringLiteral(" (INDEX i1 (gROWID),UNIQUE INDEX i2 (nClientID),INDEX i3 "
                                "(cGClientCode)) ") +
                 options +
                 QStringLiteral(" SELECT DENSE_RANK() OVER (ORDER BY cGClientCode,IF(cGClientCode "
                                "IS NULL,nClientID,0)) AS gROWID,cGClientCode,cOClientCode,"
                                "nClientID,nWorkPlace,nWorker1,dFirstDate,nRegionDataID,"
                                "nBirthYear,nSex,bSecondary,bPDI FROM (SELECT CONCAT(UPPER(") +
                 cut + QStringLiteral("),IF(") + cut +
                 QStringLiteral("=cd.cOClientCode,CONCAT('`',convert( cast(cd.ROWID AS char ) "
                                "using utf8 )),'')) AS cGClientCode,cd.cOClientCode,f.nClientID,"
                                "dr.nWorkPlace,dr.nWorker1,dr.dDate AS dFirstDate,"
                                "cd.nRegionDataID,cd.nBirthYear,cd.nSex,cd.bSecondary,cd.bPDI "
                                "FROM (SELECT nClientID,MIN(TO_DAYS(dDate)*4294967296+nReportID) "
                                "AS nFirst FROM ") +
                 f +
                 QStringLiteral(" GROUP BY nClientID) AS f JOIN dailyreport AS dr ON "
                                "dr.ROWID=f.nFirst%4294967296 JOIN clientdata AS cd ON "
                                "cd.ROWID=f.nClientID WHERE NOT cd.bIsFolder) AS b1");
        break;
    }
    }
    s << QStringLiteral("RENAME TABLE ") + part + QStringLiteral(" TO ") + name;
    return s;
}

int CFastTables::CountStatements() {
    int count = 0;
    for (int step = 0; step < kSteps; ++step) {
        bool exists = false;
        count += 1 + int(Statements(step, &exists).size()); // each step first unlocks
    }
    return count;
}

bool CFastTables::RunStep(int step, CvProgress* progress, QString* error) {
    CxSQLLockGuard lock(m_sql, kLockWaitSeconds);
    if (!lock.Locked()) {
        if (error)
            *error = CTarvikApp::TranslateString(
                QStringLiteral("Не удалось получить блокировку базы данных для построения таблицы"),
                QStringLiteral("msgCantLockForTable"));
        return false;
    }
    if (step == 0 && !EnsureWorkTablesMatchConfig(m_sql, error))
        return false;
    bool exists = false;
    QStringList statements = Statements(step, &exists);
    statements.prepend(QStringLiteral("UNLOCK TABLES"));
    for (const QString& statement : std::as_const(statements)) {
        QString failure;
        if (progress && progress->IsCancelled()) {
            failure = CTarvikApp::TranslateString(
                QStringLiteral("Формирование отчета прервано пользователем"),
                QStringLiteral("msgReportCancelled"));
        } else {
            CxResult res = m_sql->Execute(statement);
            if (progress)
                progress->Step();
            if (res.isValid())
                continue;
            failure = res.Error().statement + u'\n' + res.Error().text;
        }
        if (error)
            *error = failure;
        // Nothing half-built stays, and no table lock outlives the step.
        m_sql->ExecuteCleanup(QStringLiteral("UNLOCK TABLES"));
        m_sql->ExecuteCleanup(QStringLiteral("DROP TABLE IF EXISTS ") +
                              CRepBaseData::PartName(Table(step)));
        return false;
    }
    return true;
}

bool CFastTables::Process(CvProgress* progress, QString* error) {
    CRepBuildScope scope(m_sql);
    if (progress) {
        progress->BeginProgress(
            CTarvikApp::TranslateString(QStringLiteral("Подготовка таблиц ускорения"),
                                        QStringLiteral("CFastTables::Process")),
            -1);
        progress->SetRange(CountStatements(), QString());
    }
    // The steps read the tables of the steps before them.
    CCacheHold hold(m_sql);
    bool ok = hold.Acquire(progress, error);
    for (int step = 0; step < kSteps && ok; ++step) {
        if (m_observer)
            m_observer(step, kStepRunning);
        ok = RunStep(step, progress, error);
        if (ok && m_observer)
            m_observer(step, kStepDone);
    }
    if (progress)
        progress->EndProgress();
    return ok;
}
