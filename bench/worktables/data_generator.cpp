#include "data_generator.h"

#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"

#include <QStringList>
#include <algorithm>

namespace {
constexpr int kPoints = 30;
constexpr int kWorkers = 40;
constexpr int kLinesPerReport = 75; // 25 clients with 3 items each
constexpr int kDays = 1095;         // 2013-01-01 .. 2015-12-30

bool Run(CxSQL* sql, const QString& statement, QString* error) {
    CxResult res = sql->Execute(statement);
    if (res.isValid())
        return true;
    if (error)
        *error = statement.left(300) + QStringLiteral("\n") + res.Error().text;
    return false;
}
} // namespace

bool GenerateReportData(CxSQL* sql, long visits, QString* error) {
    const long reports = std::max(1L, visits / kLinesPerReport);
    const long clients = std::max(500L, visits / 40);
    // Materials: one item per configured material code with a group.
    QStringList materials;
    long item = 1000;
    if (xConfiguration* config = CurrentConfiguration()) {
        xLanguage* language = config->GetCurrentLanguage();
        POSITION pos = language->MatGroups.InitScan_sEnum2();
        while (language->MatGroups.ScanNext_sEnum2(pos)) {
            const sMatGroups* g = language->MatGroups.Current(pos);
            if (g->nGroup == 0)
                continue;
            ++item;
            const long configGroup = g->nCode == 266239 ? 1004 : 0;
            materials << QStringLiteral("(%1,0,0,0,0,'Материал %1',3,%2,%3,0)")
                             .arg(item)
                             .arg(g->nCode)
                             .arg(configGroup);
        }
    }
    ++item; // a consultation grouped by configuration only
    materials << QStringLiteral("(%1,0,0,0,0,'Консультация юриста',3,458753,7,0)").arg(item);
    const long firstItem = 1001;
    const long itemCount = item - 1000;

    const QStringList statements = {
        "SET SESSION sql_mode='NO_ENGINE_SUBSTITUTION'",
        "INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES (1,'ORG1','Первая'),(2,'ORG2','Вторая'),"
        "(3,'ORG3','Третья')",
        "INSERT INTO towns (ROWID,nGroupID,cShortName,cFullName) SELECT seq,IF(seq>3,seq%3+1,0),"
        "CONCAT('Город ',seq),CONCAT('Город ',seq) FROM seq_1_to_10",
        // Service points and workers.
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,nDirType,nType,"
        "nConfigGroup,nRegionDataID) SELECT seq,0,0,0,seq%10+1,CONCAT('ПОУ ',seq),1,"
        "IF(seq%5=0,3,1),0,seq%3+1 FROM seq_1_to_{POINTS}",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,nDirType,nType,"
        "nConfigGroup,nRegionDataID) SELECT 100+seq,0,0,0,0,CONCAT('Работник ',seq),2,0,0,0 FROM "
        "seq_1_to_{WORKERS}",
        "INSERT INTO dir (ROWID,nGroupID,bIsFolder,bHidden,nTown,cString,nDirType,nType,"
        "nConfigGroup,nRegionDataID) VALUES {MATERIALS}",
        // Clients: a code per client (three letters of the id, a day, a year,
        // a sex letter); one in twenty is a second record of the client
        // before it (same code before the back-quote, sex and year).
        "INSERT INTO clientdata (ROWID,cClientCode,cOClientCode,bNewCode,nSex,nBirthYear,"
        "bIsFolder,nRegionDataID,nEthnicity,nRelCount,bSecondary,bPDI) SELECT seq,"
        "IF(seq%20=0,CONCAT({CODE_OF_PREVIOUS},'`',seq),{CODE}),NULL,IF(seq%50=7,0,1),"
        "IF((seq-IF(seq%20=0,1,0))%2,1,2),1960+(seq-IF(seq%20=0,1,0))%45,0,seq%3+1,0,0,"
        "seq%11=0,seq%13=0 FROM seq_1_to_{CLIENTS}",
        // Reports: entered in about the order of their dates over the three
        // years (a week late at most), at any point, by any worker, for two
        // projects. CRC32 of the id stands for a random number.
        "INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,nProject,nRegionDataID,"
        "nGroupID,bIsFolder) SELECT seq,DATE_ADD('2013-01-01',INTERVAL GREATEST(0,FLOOR((seq-1)*"
        "{DAYS}/{REPORTS})-CRC32(CONCAT('d',seq))%7) DAY),CRC32(CONCAT('p',seq))%{POINTS}+1,"
        "101+CRC32(CONCAT('w',seq))%{WORKERS},seq%2+1,seq%3+1,0,0 FROM seq_1_to_{REPORTS}",
        // Visit lines: per report 25 clients with 3 items each. Some clients
        // come often (the cube of an even spread favours the low ids), so
        // that the regular-client rules find some.
        "INSERT INTO dailyvisits (nReportID,nClientID,nItem,nCount) SELECT r,c,it,"
        "IF((d.nType&458752)=458752,(s%7)*2+IF(s%3=0,32,0),1+s%10) FROM (SELECT s,r,"
        "1+FLOOR(POW((CRC32(CONCAT('c',r,'-',k))%1000000)/1000000,3)*{CLIENTS}) AS c,"
        "{FIRST_ITEM}+CRC32(CONCAT('i',s))%{ITEMS} AS it "
        "FROM (SELECT seq AS s,(seq-1) DIV {PER_REPORT}+1 AS r,((seq-1)%{PER_REPORT}) DIV 3 AS k "
        "FROM seq_1_to_{LINES}) AS q) AS v JOIN dir AS d ON d.ROWID=v.it",
        // Histories: every client a risk group in 2012, every third a change
        // in 2014; the other histories one row each, some undated.
        "INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nClientType2) SELECT seq,"
        "DATE_ADD('2012-01-01',INTERVAL seq%300 DAY),ELT(seq%4+1,1,2,4,8),0 FROM "
        "seq_1_to_{CLIENTS}",
        "INSERT INTO clientdatachanges (nClientID,dDate,nClientType,nClientType2) SELECT seq,"
        "DATE_ADD('2014-01-01',INTERVAL seq%300 DAY),ELT(seq%3+1,1,2,4),8192 FROM "
        "seq_1_to_{CLIENTS} WHERE seq%3=0",
        "INSERT INTO riskbehavior (ROWID,nClientID,dDate,nUseDirtySyr,nUsingCondom) SELECT seq,seq,"
        "IF(seq%17=0,NULL,DATE_ADD('2013-01-01',INTERVAL seq%700 DAY)),seq%3,seq%2 FROM "
        "seq_1_to_{CLIENTS}",
        "INSERT INTO drugusedata (nClientID,dDate,nBasicDrug,nUseFrequency) SELECT seq,"
        "DATE_ADD('2012-06-01',INTERVAL seq%900 DAY),seq%5+1,seq%4 FROM seq_1_to_{CLIENTS}",
        "INSERT INTO socialstatus (nClientID,dDate,nEploymentStatus,bRegPolice) SELECT seq,"
        "DATE_ADD('2013-03-01',INTERVAL seq%500 DAY),seq%6,IF(seq%9=0,'1','0') FROM "
        "seq_1_to_{CLIENTS}",
    };
    // The client code of an id, as an SQL expression.
    const auto codeOf = [](const QString& id) {
        return CxString::StrTr(
            QStringLiteral("CONCAT(CHAR(65+({ID})%26),CHAR(65+(({ID}) DIV 26)%26),CHAR(65+(({ID}) "
                           "DIV 676)%26),LPAD((({ID}) DIV 17576)%28+1,2,'0'),LPAD(({ID})%45+15,2,"
                           "'0'),IF(({ID})%2,'M','F'))"),
            {{QStringLiteral("{ID}"), id}});
    };
    const QList<CxString::Pair> values = {
        {QStringLiteral("{POINTS}"), QString::number(kPoints)},
        {QStringLiteral("{WORKERS}"), QString::number(kWorkers)},
        {QStringLiteral("{MATERIALS}"), materials.join(u',')},
        {QStringLiteral("{CODE_OF_PREVIOUS}"), codeOf(QStringLiteral("seq-1"))},
        {QStringLiteral("{CODE}"), codeOf(QStringLiteral("seq"))},
        {QStringLiteral("{CLIENTS}"), QString::number(clients)},
        {QStringLiteral("{DAYS}"), QString::number(kDays)},
        {QStringLiteral("{REPORTS}"), QString::number(reports)},
        {QStringLiteral("{PER_REPORT}"), QString::number(kLinesPerReport)},
        {QStringLiteral("{FIRST_ITEM}"), QString::number(firstItem)},
        {QStringLiteral("{ITEMS}"), QString::number(itemCount)},
        {QStringLiteral("{LINES}"), QString::number(reports * kLinesPerReport)},
    };
    for (const QString& statement : statements)
        if (!Run(sql, CxString::StrTr(statement, values), error))
            return false;
    return true;
}
