#pragma once
// Start and end of the SQL layer: the registered schema updater runs when the
// layer starts on a connection.
class CxSQL;
class CxSQLDBUpdater;

// Registers the schema updater (nullptr unregisters it).
void RegisterDBUpdater(CxSQLDBUpdater* updater);
CxSQLDBUpdater* GetDBUpdater();

// Runs the registered updater on the connection; answers 1 on success and 0
// when the connection is missing or the update failed (the reason is in the
// application's error list).
int InitSQL(CxSQL* sql, int flags);

// Closes and frees the base connection.
void ShutdownSQL();
