#include "watched_tables.h"

#include "framework/core/sql_connection.h"

QStringList WatchedDataTables() {
    return {QStringLiteral("clientdata"),
            QStringLiteral("clientdatachanges"),
            QStringLiteral("riskbehavior"),
            QStringLiteral("drugusedata"),
            QStringLiteral("socialstatus"),
            QStringLiteral("healthstatus"),
            QStringLiteral("traininglist"),
            QStringLiteral("trainingssubdata"),
            QStringLiteral("dailyreport"),
            QStringLiteral("dailyvisitssubhdr"),
            QStringLiteral("dailyredirects"),
            QStringLiteral("dailyvisits"),
            QStringLiteral("dir"),
            QStringLiteral("strtoid"),
            QStringLiteral("towns"),
            QStringLiteral("orginf")};
}

void RegisterWatchedTables(CxSQL* sql) {
    if (!sql)
        return;
    for (const QString& table : WatchedDataTables())
        sql->WatchTable(table);
}
