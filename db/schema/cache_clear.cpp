#include "cache_clear.h"

#include "cache_tables.h"

CCacheClear::CCacheClear(CxSQL* sql) : m_sql(sql) {
    // Every table a work table is made from: the reports' data, the
    // clients' dated histories, the towns and organisations the reports group by.
    for (const char* table :
         {"dir", "dailyreport", "dailyvisits", "clientdata", "traininglist", "clientdatachanges",
          "drugusedata", "riskbehavior", "socialstatus", "healthstatus", "towns", "orginf"})
        RequestForNotify(QStringLiteral("SQL"), QString::fromLatin1(table));
}

void CCacheClear::OnNotify(const QString&, const QString&) {
    DropCacheTables(m_sql);
}
