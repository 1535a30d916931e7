#pragma once
// The conversion of the staging tables "orvel_<table>" that the loader made
// from an old archive into the tables of the current schema. Each step reads
// one staging table (old column names), writes the current table with the
// old values moved to the columns that hold them now, applies the value
// rules of the conversion and of the later schema steps, and drops the
// staging table when it ends. Statements run through the converter, so every
// failure is shown with its statement.
#include "dir_mapping_file.h"

#include <QHash>
#include <QString>

#include <functional>

class COldArchiveConverter;
class CvProgress;

class COldDataConversion {
public:
    COldDataConversion(COldArchiveConverter* host, CDirMappingFile* mapping)
        : m_host(host), m_mapping(mapping) {}

    // Looks every key the conversion will need up in the mapping file: the
    // old directory entries of kinds 5 and 6 and the daily general rows with
    // a count. False when one is missing or still -999; those are added to
    // the mapping (with -999) for the caller to write back.
    bool CheckMappings(QString* error);

    // Converts everything, in the order the tables depend on each other.
    bool Run(CvProgress* progress, QString* error);

    // The names of the staging tables that are dropped without conversion.
    static const QStringList& UnconvertedTables();

private:
    class CConvertingTable;
    bool Exec(const QString& statement);
    // Exec for the batches of rows a step writes.
    std::function<bool(const QString&)> Executor();
    bool OrgInfo();
    bool TrainingList();
    bool Directories();
    bool DailyGeneral();
    bool DailyVisits();
    bool Clients();
    bool DrugUse();
    bool RiskBehavior();
    bool SocialStatus();
    bool HealthStatus();
    bool DailyReports();
    bool Profiles();
    bool OwnOrganisationCard();
    bool WriteDirectoryMap();

    COldArchiveConverter* m_host;
    CDirMappingFile* m_mapping;
    QString* m_error = nullptr;
    // The current table the running step writes.
    QString m_target;
    // Old directory ROWID of kinds 5 and 6 -> the id the mapping gives.
    QHash<qint64, int> m_directoryMap;
    // The generated materials take the ids above it. It starts at 0, not
    // below: in dir 0 is the root and -1 "none", never an entry's id, so an
    // archive without entries still gives its materials 1 and up.
    qint64 m_highestOldId = 0;
    int m_syringesItem = 0;
    int m_needlesItem = 0;
};
