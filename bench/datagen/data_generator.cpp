#include "data_generator.h"

#include "client_generator.h"
#include "datagen_random.h"
#include "db/schema/creation_script.h"
#include "db/schema/sql_db_updater.h"
#include "diary/core/daily_report_crc.h"
#include "directory_generator.h"
#include "framework/core/sql/sql_connect.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "report_generator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <memory>

namespace {
// Streams of chance, one per part of the data.
enum Stream { StreamDirectories = 1, StreamClients, StreamReports, StreamTrainings };

} // namespace

bool CDataGenerator::Fill(CxSQL* sql, QString* error) {
    QElapsedTimer timer;
    timer.start();
    auto stage = [&](const QString& name) {
        if (m_onStage)
            m_onStage({name, timer.nsecsElapsed() / 1e9});
        timer.restart();
    };

    xKDConfiguration config;
    QFile file(QStringLiteral(":/config/default_config.xml"));
    if (!file.open(QIODevice::ReadOnly) ||
        !config.ParseConfig(QString::fromUtf8(file.readAll()), file.fileName())) {
        *error = QStringLiteral("The default configuration cannot be read.");
        return false;
    }

    const CDataGenRandom seed(m_options.seed);
    CDataGenWorld world;
    if (!GenerateOrganisation(sql, m_options, config, world, error) ||
        !GenerateDirectories(sql, m_options, config, seed.Stream(StreamDirectories), world, error))
        return false;
    stage(QStringLiteral("organisation, towns, directories"));
    if (!GenerateClients(sql, m_options, seed.Stream(StreamClients), world, error))
        return false;
    stage(QStringLiteral("clients and their histories"));
    if (!GenerateDailyReports(sql, m_options, seed.Stream(StreamReports), world, error))
        return false;
    stage(QStringLiteral("daily reports and sheets"));
    if (!GenerateTrainings(sql, m_options, seed.Stream(StreamTrainings), world, error))
        return false;
    stage(QStringLiteral("trainings"));

    if (m_options.checksums) {
        CxSQLError failure;
        if (!BuildCRC(nullptr, false, sql, &failure)) {
            *error = DescribeSQLError(failure);
            return false;
        }
        stage(QStringLiteral("report checksums"));
    }
    return true;
}
