#pragma once
// Optimisation of the database: every table is rebuilt and its statistics
// renewed (OPTIMIZE TABLE; InnoDB recreates and analyses), so space freed by
// deletions returns and the server plans queries on fresh figures. The report
// work tables are left out: they are dropped and rebuilt anyway.
#include <QString>

class CxSQL;
class CvProgress;
class CvRunLog;

// Goes on past a table the server cannot optimise and answers false at the
// end, error naming every such table with the server's words. A stop through
// the progress ends the run before the next table.
bool OptimizeDB(CxSQL* sql, CvProgress* progress, CvRunLog* log, QString* error);
