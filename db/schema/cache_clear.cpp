#include "cache_clear.h"

#include "cache_tables.h"

CCacheClear::CCacheClear(CxSQL* sql) : m_sql(sql) {
    for (const char* table : {"dir", "dailyreport", "clientdata", "traininglist"})
        RequestForNotify(QStringLiteral("SQL"), QString::fromLatin1(table));
}

void CCacheClear::OnNotify(const QString&, const QString&) {
    DropCacheTables(m_sql);
}
