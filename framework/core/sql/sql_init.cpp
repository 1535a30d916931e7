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

bool InitSQL(CxSQL* sql) {
    if (!sql || !sql->IsConnected())
        return false;
    return !g_updater || g_updater->Run(sql);
}

void ShutdownSQL() {
    if (g_pBaseSQLConnection)
        g_pBaseSQLConnection->Close();
    g_pBaseSQLConnection.reset();
}
