#pragma once
// What the benchmark programs share: their command line, their figures and a
// database of their own at the current schema on the developer's server.
#include "db/mysql_connection.h"
#include "framework/core/sql/sql_connect.h"

#include <QList>
#include <QString>

// Prints the text and whatever the error list holds to stderr; answers the
// program's exit code 1.
int BenchFail(const QString& text);

// The middle of the figures (0 for none).
double Median(QList<double> values);

// One line: median, least and most of the runs in seconds, with the target.
void PrintTimes(const char* what, QList<double> times, double target);

// The server's socket (first argument, else $KELDA2_SOCKET) and the number of
// runs (second argument, else `fallback`).
QString BenchSocket(int argc, char** argv);
int BenchRuns(int argc, char** argv, int fallback);

// Connection facts for root on the socket, with the database when given.
SQLConnectXML BenchServerInfo(const QString& socket, const QString& database = {});

// Makes the database at the current schema the way the program does (the
// creation script, then the schema updater) and connects `sql` to it. An
// existing database is dropped first when recreate is set, else refused.
bool CreateBenchDatabase(CxSQL* sql, const SQLConnectXML& server, const QString& name,
                         bool recreate, QString* error);
// The same, as root on the socket, always anew.
inline bool CreateBenchDatabase(CxSQL* sql, const QString& socket, const QString& name,
                                QString* error) {
    return CreateBenchDatabase(sql, BenchServerInfo(socket), name, true, error);
}

// The same, connected as the program's base connection (the schema updater
// works through it); null when the database cannot be made.
CxMySQL* CreateBaseBenchDatabase(const QString& socket, const QString& name, QString* error);

// Drops `name`; answers the server's verdict.
bool DropBenchDatabase(const QString& socket, const QString& name);

// Runs a statement; when it fails, says on stderr which statement (its
// beginning) and what the server answered.
bool BenchExec(CxSQL& sql, const QString& statement);

// The first column of every row the statement answers, as numbers.
QList<qint64> ColumnOfNumbers(CxSQL& sql, const QString& statement);

// Settings kept in memory and the program's default configuration (the
// caller has run Q_INIT_RESOURCE(default_config)); false when it does not
// read.
bool UseDefaultConfiguration();
