#include "bench_support.h"

#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/app/profile_manager.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {
bool DatabaseExists(CxSQL* server, const QString& name, bool* exists, QString* error) {
    CxResult res = server->Execute(
        QStringLiteral("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME=%1")
            .arg(SafeSQL(name)));
    if (!res.isValid() || !res.FetchRow()) {
        *error = DescribeSQLError(res.Error());
        return false;
    }
    *exists = res.LFieldValue(0) > 0;
    return true;
}
} // namespace

int BenchFail(const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    const QString pending = CTarvikApp::TakeErrorMessages();
    if (!pending.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(pending));
    return 1;
}

double Median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

void PrintTimes(const char* what, QList<double> times, double target) {
    if (times.isEmpty())
        return;
    std::sort(times.begin(), times.end());
    std::printf("%-40s median %.3f s, min %.3f s, max %.3f s (target %.1f s)\n", what,
                times[times.size() / 2], times.first(), times.last(), target);
}

QString BenchSocket(int argc, char** argv) {
    return argc > 1 ? QString::fromLocal8Bit(argv[1]) : qEnvironmentVariable("KELDA2_SOCKET");
}

int BenchRuns(int argc, char** argv, int fallback) {
    return argc > 2 ? std::max(1, std::atoi(argv[2])) : fallback;
}

SQLConnectXML BenchServerInfo(const QString& socket, const QString& database) {
    SQLConnectXML info;
    info.put_Server(QStringLiteral("localhost"));
    info.put_User(QStringLiteral("root"));
    info.put_Socket(socket);
    if (!database.isEmpty())
        info.put_Database(database);
    return info;
}

CxMySQL* CreateBaseBenchDatabase(const QString& socket, const QString& name, QString* error) {
    auto* sql = new CxMySQL;
    g_pBaseSQLConnection.reset(sql);
    return CreateBenchDatabase(sql, socket, name, error) ? sql : nullptr;
}

bool DropBenchDatabase(const QString& socket, const QString& name) {
    SQLConnectXML info = BenchServerInfo(socket);
    CxMySQL server;
    return server.Connect(&info) &&
           server.Execute(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name)).isValid();
}

bool BenchExec(CxSQL& sql, const QString& statement) {
    if (sql.Execute(statement).isValid())
        return true;
    BenchFail(statement.left(200));
    return false;
}

QList<qint64> ColumnOfNumbers(CxSQL& sql, const QString& statement) {
    QList<qint64> values;
    CxResult r = sql.Execute(statement);
    while (r.FetchRow())
        values << r.LFieldValue(0);
    return values;
}

bool UseDefaultConfiguration() {
    CTarvikApp::SetProfileManager(new CxProfileManager);
    auto config = std::make_unique<xKDConfiguration>();
    QFile file(QStringLiteral(":/config/default_config.xml"));
    if (!file.open(QIODevice::ReadOnly) ||
        !config->ParseConfig(QString::fromUtf8(file.readAll()), file.fileName()))
        return false;
    CTarvikApp::SetConfig(config.release());
    return true;
}

bool CreateBenchDatabase(CxSQL* sql, const SQLConnectXML& server, const QString& name,
                         bool recreate, QString* error) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!plain.match(name).hasMatch()) {
        *error = QStringLiteral("A database name of letters, digits and '_' only: %1").arg(name);
        return false;
    }
    {
        std::unique_ptr<CxSQL> admin(sql->Clone(&server));
        if (!admin) {
            *error = CTarvikApp::TakeErrorMessages();
            return false;
        }
        bool exists = false;
        if (!DatabaseExists(admin.get(), name, &exists, error))
            return false;
        if (exists && !recreate) {
            *error =
                QStringLiteral("Database %1 exists; --recreate drops and makes it anew.").arg(name);
            return false;
        }
        if (exists) {
            CxResult drop = admin->Execute(QStringLiteral("DROP DATABASE `%1`").arg(name));
            if (!drop.isValid()) {
                *error = DescribeSQLError(drop.Error());
                return false;
            }
        }
    }
    SQLConnectXML info = server;
    info.put_Database(name);
    QString text;
    if (SQLConnectOrCreate(sql, info, QByteArray(kDatabaseCreationScript), &text) !=
        SQLConnectResult::Connected) {
        *error = text + u'\n' + CTarvikApp::TakeErrorMessages();
        return false;
    }
    CSQLDBUpdater updater;
    if (!updater.Run(sql)) {
        *error = CTarvikApp::TakeErrorMessages();
        return false;
    }
    return true;
}
