#pragma once
// The report work tables "_cache_…" hold results derived from the data; they
// are dropped whenever the data under them may have changed.
#include <QString>

class CxSQL;

// Whether a table is a work table (its name begins with "_cache_", any case).
bool IsCacheTableName(const QString& name);

// Drops every work table of the database (the base connection when none is
// given). It first takes the named lock "dblock", under which other copies
// build work tables, so a table in the making is not taken from under them.
// Answers false when the lock was not had or a drop failed (the connection
// reports the failure).
bool DropCacheTables(CxSQL* sql = nullptr);
