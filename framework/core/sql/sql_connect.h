#pragma once
// Connecting to the configured database, making it from the program's
// creation script when the server does not have it. The connection dialog of
// the widget layer builds on this.
#include "framework/core/sql_connection.h"

#include <QByteArray>
#include <QString>

enum class SQLConnectResult {
    Connected,       // connected to the database of the description
    DatabaseMissing, // the server answered that the database does not exist
    Failed,          // no connection; the text says why
};

// Connects `sql` with the description. When the database does not exist and a
// creation script is given, the script runs on the server with its
// "$$$DATABASENAME$$$" placeholder replaced by the database name, and the
// connection then opens the new database. A creation that fails half way
// drops the database it began, so the next attempt starts clean. A creation
// cut off half way (the program killed) is finished at the next connection:
// a database with the creation's marker table, or with no table at all, gets
// the script's tables made anew. Creation runs under the database's schema
// lock (CxSchemaWorkLock), so two copies starting at once make it once.
SQLConnectResult SQLConnectOrCreate(CxSQL* sql, const SQLConnectXML& info,
                                    const QByteArray& creationScript, QString* errorText);

// Runs the creation script for the database of the description on a
// connection to its server (no database selected).
bool SQLCreateDatabase(CxSQL* server, const QString& database, const QByteArray& creationScript,
                       QString* errorText);
