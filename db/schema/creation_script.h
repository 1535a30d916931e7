#pragma once
// The script that makes an empty database at schema version 66, from which
// the schema steps go on. "$$$DATABASENAME$$$" stands for the database name.
extern const char kDatabaseCreationScript[];
