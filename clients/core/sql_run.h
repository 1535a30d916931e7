#pragma once
// Running the statements of the client register's data logic: a failure hands
// the server's text to the caller (the connection has already put the
// statement and the text on the application's error list).
#include "framework/core/sql_connection.h"

#include <QString>

// Runs one statement; false (with *error) when there is no connection or the
// statement fails. result and insertId may be null.
bool RunClientSQL(CxSQL* sql, const QString& statement, CxResult* result, QString* error,
                  qint64* insertId = nullptr);
// Sets *error (when given) and answers false.
bool FailClientSQL(QString* error, const QString& text);
// Answers true when clientId names a stored client (not a folder); false with
// *error otherwise, so that no row is written for a client that is not there.
bool CheckStoredClient(CxSQL* sql, qint64 clientId, QString* error);
