#pragma once
// Work tables are made with the configuration's material groups (their codes
// choose rows and name columns), and the databases of several copies may be
// shared by copies with different configurations. The digest of the material
// groups the work tables were made with (and the version of their layout) is
// kept beside them; when it differs from the current one, every work table is
// dropped first.
#include <QString>

class CxSQL;

// Call with the named lock "dblock" held. Answers false (with the reason)
// when the work tables could not be checked or dropped.
bool EnsureWorkTablesMatchConfig(CxSQL* sql, QString* error = nullptr);
