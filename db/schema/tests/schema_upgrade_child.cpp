// The first start's database work on its own, for the test that kills it:
// connects to (or makes) the database and upgrades it, then exits 0; on a
// failure it prints the error list and exits 1.
//
// Usage: schema_upgrade_child <socket> <database>
#include "db/mysql_connection.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(QString::fromLocal8Bit(argv[1]));
    info.put_Database(QString::fromLocal8Bit(argv[2]));
    CxMySQL sql;
    QString error;
    CSQLDBUpdater updater;
    if (SQLConnectOrCreate(&sql, info, kDatabaseCreationScript, &error) !=
            SQLConnectResult::Connected ||
        !updater.Run(&sql)) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(error),
                     qPrintable(CTarvikApp::TakeErrorMessages()));
        return 1;
    }
    return 0;
}
