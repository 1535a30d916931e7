#include "schema_test_database.h"

#include "db/schema/creation_script.h"
#include "db/schema/schema_steps.h"
#include "db/schema/sql_db_updater.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/tarvik_app.h"

#include <stdexcept>

namespace {
constexpr int kTemplateLockSeconds = 900;

std::runtime_error Failure(const QString& what) {
    return std::runtime_error((what + u'\n' + CTarvikApp::TakeErrorMessages()).toStdString());
}

// The template is being made or checked by one test program at a time.
class TemplateLock {
public:
    explicit TemplateLock(CxMySQL* sql) : m_sql(sql) {
        CxResult res = m_sql->Execute(QStringLiteral("SELECT GET_LOCK('kelda_schema_template',%1)")
                                          .arg(kTemplateLockSeconds));
        if (!res.isValid() || !res.FetchRow() || res.LFieldValue(0) != 1)
            throw Failure(QStringLiteral("schema template lock"));
    }
    ~TemplateLock() {
        m_sql->ExecuteCleanup(QStringLiteral("SELECT RELEASE_LOCK('kelda_schema_template')"));
    }

private:
    CxMySQL* m_sql;
};

std::unique_ptr<CxMySQL> ServerConnection() {
    auto sql = std::make_unique<CxMySQL>();
    SQLConnectXML info = TestDatabase::ServerInfo();
    if (!sql->Connect(&info))
        throw Failure(QStringLiteral("test server"));
    return sql;
}

bool TemplateReady(CxMySQL* server) {
    CxResult res = server->Execute(
        QStringLiteral("SELECT cValue FROM `%1`.dbsettings WHERE cVariable='DatabaseVersion'")
            .arg(SchemaTestDatabase::TemplateName()));
    return res.isValid() && res.FetchRow() && res.LFieldValue(0) == kCurrentSchemaVersion;
}

void Build(CxMySQL* server) {
    const QString name = SchemaTestDatabase::TemplateName();
    server->ExecuteCleanup(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
    CxMySQL sql;
    SQLConnectXML info = TestDatabase::ServerInfo();
    info.put_Database(name);
    QString error;
    if (SQLConnectOrCreate(&sql, info, QByteArray(kDatabaseCreationScript), &error) !=
        SQLConnectResult::Connected)
        throw Failure(QStringLiteral("schema template creation: ") + error);
    CSQLDBUpdater updater;
    if (!updater.Run(&sql))
        throw Failure(QStringLiteral("schema template update"));
}
} // namespace

QString SchemaTestDatabase::TemplateName() {
    return QStringLiteral("kelda_schema_template");
}

void SchemaTestDatabase::BuildTemplate() {
    auto server = ServerConnection();
    TemplateLock lock(server.get());
    Build(server.get());
}

void SchemaTestDatabase::EnsureTemplate() {
    auto server = ServerConnection();
    TemplateLock lock(server.get());
    if (!TemplateReady(server.get()))
        Build(server.get());
}

SchemaTestDatabase::SchemaTestDatabase(const QString& purpose) : TestDatabase(purpose) {
    EnsureTemplate();
    // The program's databases default to ucs2, which tables made later rely on.
    Exec(QStringLiteral("ALTER DATABASE `%1` CHARACTER SET ucs2 COLLATE ucs2_unicode_ci")
             .arg(Name()));
    CxResult tables =
        Exec(QStringLiteral("SHOW FULL TABLES FROM `%1` WHERE Table_type='BASE TABLE'")
                 .arg(TemplateName()));
    QStringList names;
    while (tables.FetchRow())
        names << tables.SFieldValue(0);
    for (const QString& t : names) {
        Exec(
            QStringLiteral("CREATE TABLE `%1`.`%3` LIKE `%2`.`%3`").arg(Name(), TemplateName(), t));
        Exec(QStringLiteral("INSERT INTO `%1`.`%3` SELECT * FROM `%2`.`%3`")
                 .arg(Name(), TemplateName(), t));
    }
}
