#include "sql_init.h"

#include "db_updater.h"
#include "framework/core/sql_connection.h"

namespace {
CxSQLDBUpdater* g_updater = nullptr;
}

void RegisterDBUpdater(CxSQLDBUpdater* updater) {
    g_updater = updater;
}

CxSQLDBUpdater* GetDBUpdater() {
    return g_updater;
}

int InitSQL(CxSQL* sql, int) {
    if (!sql || !sql->IsConnected())
        return 0;
    if (g_updater && !g_updater->Run(sql))
        return 0;
    return 1;
}

void ShutdownSQL() {
    if (g_pBaseSQLConnection)
        g_pBaseSQLConnection->Close();
    g_pBaseSQLConnection.reset();
}
