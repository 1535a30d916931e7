#pragma once
// Start and end of the SQL layer: the registered schema updater runs when the
// layer starts on a connection.
class CxSQL;
class CxSQLDBUpdater;

// Registers the schema updater (nullptr unregisters it).
void RegisterDBUpdater(CxSQLDBUpdater* updater);
CxSQLDBUpdater* GetDBUpdater();

// Runs the registered updater on the connection; false when the connection
// is missing or the update failed (the reason is in the application's error
// list).
bool InitSQL(CxSQL* sql);

// Closes and frees the base connection.
void ShutdownSQL();
