#include "exchange_helper.h"

#include "clients/core/training_rules.h"
#include "framework/core/exchange/exchange_sql.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "model/orgs/org_keys.h"

namespace {

bool Is(const QString& a, const char* b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

QString Failed(const CxResult& res) {
    return res.Error().text + u'\n' + res.Error().statement.left(500);
}

// The organisation card columns that have no default: a new number is
// recorded with the identifier and empty texts until the sender's card comes.
const char kOrgCardColumns[] = "cOrgName,cPrjName,cSogName,cCity,cRegion,cAddress,cPhone,"
                               "cEMail,cWWW,cBoss,cBossPhone,cProjRuk,cProjRukPhone,cDonors,"
                               "cProjectDate";

} // namespace

QList<CSQLExchangeTable> CKeldaSQLImportWizard_Helper::GetExchangeTables() const {
    const QString dir = QStringLiteral("dir");
    const QString client = QStringLiteral("clientdata");
    const QString report = QStringLiteral("dailyreport");
    const QString key = QStringLiteral("ROWID");
    auto ref = [](const char* column, const QString& table) {
        return CSQLExchangeReference{QString::fromLatin1(column), table};
    };
    auto history = [&](const char* name) {
        return CSQLExchangeTable{
            QString::fromLatin1(name), key, {ref("nClientID", client), ref("nLastLinkID", client)}};
    };
    // Participants of a training point at a client, a worker or a free name by
    // the training's audience: GetFieldExpression moves them.
    return {
        {QStringLiteral("orginf"), key, {}},
        {dir, key, {ref("nGroupID", dir), ref("nDonorID", dir)}},
        {client, key, {ref("nGroupID", client), ref("nSocRab", dir)}},
        history("clientdatachanges"),
        history("riskbehavior"),
        history("socialstatus"),
        {QStringLiteral("drugusedata"),
         key,
         {ref("nClientID", client), ref("nLastLinkID", client), ref("nBasicDrug", dir),
          ref("nSecondaryDrug", dir), ref("nDonorID", dir)}},
        {QStringLiteral("healthstatus"), key, {ref("nClientID", client)}},
        {QStringLiteral("strtoid"), key, {}},
        {QStringLiteral("traininglist"),
         key,
         {ref("nGroupID", QStringLiteral("traininglist")), ref("nTopicID", dir),
          ref("nDonorID", dir)}},
        {QStringLiteral("trainingssubdata"),
         QString(),
         {ref("nTrainingID", QStringLiteral("traininglist"))},
         QStringLiteral("nTrainingID")},
        {report,
         key,
         {ref("nGroupID", report), ref("nWorker1", dir), ref("nWorker2", dir), ref("nWorker3", dir),
          ref("nWorkPlace", dir)}},
        {QStringLiteral("dailyvisitssubhdr"),
         QString(),
         {ref("nReportID", report), ref("nKeyFirst", dir)},
         QStringLiteral("nReportID")},
        {QStringLiteral("dailyredirects"),
         QString(),
         {ref("nReportID", report), ref("nItem", dir)},
         QStringLiteral("nReportID")},
        {QStringLiteral("dailyvisits"),
         key,
         {ref("nReportID", report), ref("nClientID", client), ref("nItem", dir)},
         QString(),
         true},
    };
}

QString CKeldaSQLImportWizard_Helper::GetOwnOrgID() {
    return ::GetOwnOrgID(m_pSQL);
}

int CKeldaSQLImportWizard_Helper::FindOrgNumber(const QString& orgID, const QString& prefix,
                                                QString* error) {
    CxResult res = m_pSQL->Execute(
        QStringLiteral("SELECT ROWID FROM %1orginf WHERE cOrgID=%2").arg(prefix, SafeSQL(orgID)));
    if (!res.isValid()) {
        Fail(error, Failed(res));
        return -1;
    }
    // A row without a number is no organisation: only a real number, never
    // the own organisation's 0 by default, names where the data go.
    if (!res.FetchRow() || res.FieldsCount() < 1 || res.IsNull(0))
        return -1;
    return int(res.LFieldValue(0));
}

int CKeldaSQLImportWizard_Helper::GetOrgNumber(const QString& orgID, const QString& prefix,
                                               QString* error) {
    // The look-up, the new number and its row all happen under one hold of
    // the lock, so two copies never hand out the same number.
    CxSQLLockGuard lock(m_pSQL, kLockSeconds);
    if (!lock.Locked()) {
        Fail(error,
             CTarvikApp::TranslateString(QStringLiteral("Не удалось заблокировать базу данных"),
                                         QStringLiteral("msgExchangeLockFailed")));
        return -1;
    }
    QString lookupError;
    int n = FindOrgNumber(orgID, prefix, &lookupError);
    if (!lookupError.isEmpty()) {
        Fail(error, lookupError);
        return -1;
    }
    if (n > 0)
        return n;
    if (n == 0) {
        Fail(error, CTarvikApp::TranslateString(
                        QStringLiteral("Пакет отправлен этой же организацией ({org}): свои данные "
                                       "повторно не загружаются"),
                        QStringLiteral("msgExchangeOwnPackage"))
                        .replace(QStringLiteral("{org}"), orgID));
        return -1;
    }
    CxResult res = m_pSQL->Execute(QStringLiteral("SELECT MAX(ROWID) FROM %1orginf").arg(prefix));
    if (!res.isValid() || !res.FetchRow()) {
        Fail(error, Failed(res));
        return -1;
    }
    n = int(std::max<long>(res.LFieldValue(0), 0)) + 1;
    QString values;
    for (int i = QString::fromLatin1(kOrgCardColumns).count(u',') + 1; i > 0; --i)
        values += QStringLiteral(",''");
    CxResult insert = m_pSQL->Execute(QStringLiteral("INSERT INTO %1orginf (ROWID,cOrgID,%2) "
                                                     "VALUES (%3,%4%5)")
                                          .arg(prefix, QString::fromLatin1(kOrgCardColumns))
                                          .arg(n)
                                          .arg(SafeSQL(orgID), values));
    if (!insert.isValid()) {
        Fail(error, Failed(insert));
        return -1;
    }
    return n;
}

QString CKeldaSQLImportWizard_Helper::MakeOrgUniqueKey(const QString& column) const {
    const QString region = QString::number(m_nRegionID);
    return QStringLiteral("IF(ISNULL(") + column + QStringLiteral("),NULL,concat_ws('`") + region +
           kOrgSuffixSeparator + QStringLiteral("',rtrim( substr( substring_index(") + column +
           QStringLiteral(",'`',1),1,230)),convert( cast( ") + QStringLiteral("ROWID") +
           QStringLiteral(" AS char ) using utf8 )))");
}

QString CKeldaSQLImportWizard_Helper::GetOriginRowExpression(const QString& table,
                                                             bool load) const {
    const char* identity = Is(table, "dir")          ? "cString"
                           : Is(table, "clientdata") ? "cClientCode"
                                                     : nullptr;
    if (!identity)
        return QString();
    // "<text>`<number>.<ROWID>": the part after the last full stop of a
    // well-formed suffix; a row of the sender without one was made there.
    const QString key = QString::fromLatin1(identity);
    return QStringLiteral("IF(LOCATE('`',%2)>0 AND SUBSTRING_INDEX(%2,'`',-1) REGEXP "
                          "'^[0-9]+[.][0-9]+$',CAST(SUBSTRING_INDEX(%2,'.',-1) AS SIGNED),"
                          "%1)")
        .arg(load ? QStringLiteral("IF(nRegionDataID=%1,ROWID,NULL)").arg(m_nRegionID)
                  : QStringLiteral("NULL"),
             key);
}

QString CKeldaSQLImportWizard_Helper::MakeOriginUniqueKey(const QString& table,
                                                          const QString& column) const {
    return QStringLiteral("IF(nRegionDataID=%1,%2,IF(ISNULL(%3),NULL,CONCAT(rtrim(substr("
                          "substring_index(%3,'`',1),1,230)),'`',nRegionDataID,'%4',IFNULL(%5,"
                          "ROWID))))")
        .arg(m_nRegionID)
        .arg(MakeOrgUniqueKey(column), column)
        .arg(QString(QChar(kOrgSuffixSeparator)), GetOriginRowExpression(table, true));
}

bool CKeldaSQLImportWizard_Helper::GetOrigins(QMap<int, QString>* origins, QString* error) {
    origins->clear();
    CxResult res = m_pSQL->Execute(
        QStringLiteral("SELECT ROWID,cOrgID FROM orginf WHERE TRIM(IFNULL(cOrgID,''))<>''"));
    if (!res.isValid())
        return Fail(error, Failed(res));
    while (res.FetchRow())
        origins->insert(int(res.LFieldValue(0)), res.SFieldValue(1).trimmed());
    return true;
}

QString CKeldaSQLImportWizard_Helper::GetFieldExpression(const QString& table,
                                                         const QString& column,
                                                         const QString& proposed) {
    if (Is(column, "nGroupID"))
        return QStringLiteral("IF(IFNULL(nGroupID,0)=0,0,") + proposed + u')';
    if ((Is(table, "dir") && (Is(column, "cString") || Is(column, "cFlatCode"))) ||
        (Is(table, "clientdata") && (Is(column, "cGlobalCode") || Is(column, "cClientCode"))))
        return MakeOriginUniqueKey(table, column);
    if (Is(table, "trainingssubdata") && Is(column, "nClientID")) {
        // The participant is a client, a worker or a free name by the
        // training's audience, read from the load's training.
        return QStringLiteral("IF(IFNULL(nClientID,0)<=0,nClientID,nClientID+CASE (SELECT "
                              "t.nForType FROM %1 AS t WHERE t.ROWID=trainingssubdata.nTrainingID) "
                              "WHEN %2 THEN %3 WHEN %4 THEN %5 ELSE %6 END)")
            .arg(LoadTable(QStringLiteral("traininglist")))
            .arg(kAudienceClients)
            .arg(RowIdOffset(QStringLiteral("clientdata")))
            .arg(kAudienceWorkers)
            .arg(RowIdOffset(QStringLiteral("dir")))
            .arg(RowIdOffset(QStringLiteral("strtoid")));
    }
    return proposed;
}

bool CKeldaSQLImportWizard_Helper::QueryInsert(const QString& table, QString& select,
                                               const QString& insertHead, QString* error) {
    if (Is(table, "clientdatachanges")) {
        const QString changes = LoadTable(QStringLiteral("clientdatachanges"));
        const QString clients = LoadTable(QStringLiteral("clientdata"));
        QString warning =
            CTarvikApp::TranslateString(QStringLiteral("Исправление ошибок в таблице {table}"),
                                        QStringLiteral("msgTableChanged"))
                .replace(QStringLiteral("{table}"),
                         CTarvikApp::TranslateString(
                             QStringLiteral("Клиенты. Последние данные"),
                             QStringLiteral("CKeldaSQLImportWizard_Helper::QueryInsert")));
        auto warnOnce = [&]() {
            if (!warning.isEmpty() && m_pLog)
                m_pLog->AddWarning(warning, 1);
            warning.clear();
        };
        auto orphans = [&](const char* link, const char* more) {
            return m_pSQL->Execute(
                QStringLiteral("SELECT clientdatachanges.ROWID FROM %1 AS clientdatachanges LEFT "
                               "JOIN %2 AS clientdata ON clientdatachanges.%3=clientdata.ROWID "
                               "WHERE ISNULL(clientdata.ROWID)%4")
                    .arg(changes, clients, QString::fromLatin1(link), QString::fromLatin1(more)));
        };
        // History rows of a client the load lacks (or of none) go; a
        // newest-row mark that names a missing client is cleared. Rows that
        // are not the newest carry no mark and need nothing.
        CxResult lost = orphans("nClientID", "");
        if (!lost.isValid())
            return Fail(error, Failed(lost));
        while (lost.FetchRow()) {
            warnOnce();
            CxResult res = m_pSQL->Execute(QStringLiteral("DELETE FROM %1 WHERE ROWID=%2")
                                               .arg(changes)
                                               .arg(lost.LFieldValue(0)));
            if (!res.isValid())
                return Fail(error, Failed(res));
        }
        CxResult unlinked =
            orphans("nLastLinkID", " AND NOT ISNULL(clientdatachanges.nLastLinkID)");
        if (!unlinked.isValid())
            return Fail(error, Failed(unlinked));
        while (unlinked.FetchRow()) {
            warnOnce();
            CxResult res =
                m_pSQL->Execute(QStringLiteral("UPDATE %1 SET nLastLinkID=NULL WHERE ROWID=%2")
                                    .arg(changes)
                                    .arg(unlinked.LFieldValue(0)));
            if (!res.isValid())
                return Fail(error, Failed(res));
            if (m_pLog)
                m_pLog->AddInfoMessage(QStringLiteral("."), 0);
        }
    }
    if (Is(table, "orginf"))
        select += QStringLiteral(" WHERE orginf.ROWID=0");
    return CSQLImportWizard_Helper::QueryInsert(table, select, insertHead, error);
}

void CKeldaSQLImportWizard_Helper::FillTableMap(QHash<QString, int>& map) {
    map[QStringLiteral("orginf")] = kExchangeOrganisationTable;
}

void CKeldaSQLImportWizard_Helper::SetAppID(CSQLExchangeAttributes& attributes) {
    attributes.insert(QStringLiteral("SCAppID"), AppKey());
}

bool CKeldaSQLImportWizard_Helper::SaveLoadSnapshot(int regionNumber,
                                                    const CSQLExchangeAttributes& package,
                                                    int* loadId, QString* error) {
    // Runs inside the import's transaction: the load and its snapshot are
    // kept or dropped together. A load without daily reports is dated by the
    // day it came.
    // A package read again keeps the load it became the first time (the
    // framework's settings table remembers it), so reading it twice leaves
    // what reading it once left.
    const QString variable =
        QStringLiteral("ExchangePackage.") + package.value(QStringLiteral("PackageID"));
    CxResult known = m_pSQL->Execute(
        QStringLiteral("SELECT l.nLoadID FROM dbsettings AS s JOIN cmp_loadids AS l ON "
                       "l.nLoadID=s.cValue WHERE s.cVariable=%1 AND l.nRegionDataID=%2")
            .arg(SafeSQL(variable))
            .arg(regionNumber));
    if (!known.isValid())
        return Fail(error, Failed(known));
    if (known.FetchRow()) {
        if (loadId)
            *loadId = int(known.LFieldValue(0));
        return true;
    }
    const QString reports = LoadTable(QStringLiteral("dailyreport"));
    // The load takes the number after the highest, never the table's
    // AUTO_INCREMENT counter: an import killed before its COMMIT moves that
    // counter, and the next import must number its load as if it had not run.
    // The wizard holds "dblock", so no other load takes the number meanwhile.
    CxResult last = m_pSQL->Execute(QStringLiteral("SELECT IFNULL(MAX(nLoadID),0)+1 FROM "
                                                   "cmp_loadids"));
    if (!last.isValid() || !last.FetchRow())
        return Fail(error, Failed(last));
    const qint64 id = last.SFieldValue(0).toLongLong();
    // Only the sender's own rows make its load: rows it passes on from other
    // organisations are theirs.
    const QString own = QStringLiteral("nRegionDataID=%1").arg(regionNumber);
    CxResult head = m_pSQL->Execute(
        QStringLiteral("INSERT INTO cmp_loadids (nLoadID,nRegionDataID,dDate) SELECT %1,%2,"
                       "IFNULL(MAX(dDate),CURDATE()) FROM %3 WHERE %4")
            .arg(id)
            .arg(regionNumber)
            .arg(reports, own));
    if (!head.isValid() || id <= 0)
        return Fail(error, Failed(head));
    const QString L = QString::number(id);
    const std::pair<QString, QString> copies[] = {
        {QStringLiteral("cmp_dailyreport"),
         QStringLiteral("INSERT INTO cmp_dailyreport (`ROWID`,nLoadID,dDate,nWorker1,nWorker2,"
                        "nWorker3,nWorkPlace,nCrc) SELECT `ROWID`,%1,IFNULL(dDate,'1900-01-01'),"
                        "nWorker1,nWorker2,nWorker3,nWorkPlace,IFNULL(nCrc,0) FROM %2 WHERE "
                        "IFNULL(bIsFolder,0)=0 AND %3")
             .arg(L, reports, own)},
        {QStringLiteral("cmp_visits"),
         QStringLiteral("INSERT INTO `cmp_visits`(ROWID,nLoadID,nReportID,nClientID,nItem,nCount) "
                        "SELECT DV.ROWID,%1,DV.nReportID,DV.nClientID,DV.nItem,DV.nCount FROM %2 "
                        "AS DV  JOIN %3 AS DR ON DR.ROWID=DV.nReportID WHERE "
                        "IFNULL(DR.bIsFolder,0)=0 AND DR.%4")
             .arg(L, LoadTable(QStringLiteral("dailyvisits")), reports, own)},
        {QStringLiteral("cmp_dir"),
         QStringLiteral("INSERT INTO `cmp_dir`(ROWID,nLoadID,cString) SELECT ROWID,%1,"
                        "IFNULL(cString,'') FROM %2 WHERE IFNULL(bIsFolder,0)=0 AND %3")
             .arg(L, LoadTable(QStringLiteral("dir")), own)},
        {QStringLiteral("cmp_clients"),
         QStringLiteral("INSERT INTO `cmp_clients`(ROWID,nLoadID,cClientID) SELECT ROWID,%1,"
                        "IFNULL(cClientCode,'') FROM %2 WHERE IFNULL(bIsFolder,0)=0 AND %3")
             .arg(L, LoadTable(QStringLiteral("clientdata")), own)},
    };
    for (const auto& [table, copy] : copies) {
        // The first load fills the snapshot tables in bulk.
        const ExchangeSQL::CBulkInsertScope bulk(
            m_pSQL, ExchangeSQL::BulkInsertAllowed(m_pSQL, table, QString()));
        CxResult res = m_pSQL->Execute(copy);
        if (!res.isValid())
            return Fail(error, Failed(res));
    }
    const QString remember =
        QStringLiteral("REPLACE INTO dbsettings (cVariable,cValue) VALUES (%1,%2)")
            .arg(SafeSQL(variable), SafeSQL(L));
    CxResult res = m_pSQL->Execute(remember);
    if (!res.isValid())
        return Fail(error, Failed(res));
    if (loadId)
        *loadId = int(id);
    return true;
}
