#pragma once
// The program's schema updater: takes any database, from one just made by the
// creation script (version 66) or an older one, to the current version by the
// numbered steps, and at every start checks and repairs what older versions
// or interrupted work left behind.
#include "cache_clear.h"
#include "framework/core/sql/db_updater.h"

#include <memory>

class CSQLDBUpdater : public CxSQLDBUpdater {
public:
    void OnUpdate() override;
    void OnDataUpdated(int flags) override;
    QString GetAppKey() const override;

    // Dated history of a client: no record without a date, and the newest
    // record of each client carries the link (owner id) in `keyField`.
    void CheckMultiRecord(const QString& table, const QString& ownerField, const QString& keyField,
                          const QString& dateField);
    // Removes the rows whose link column holds the placeholder -1.
    void RemoveIncorrect(const QString& table, const QString& column);

    // Texts for the user that do not stop the start (a table left outside
    // InnoDB).
    QStringList Warnings() const { return m_warnings; }

    // The cache-clear listener made at the end of the last update; the
    // application takes it into its own keeping.
    CCacheClear* CacheClear() const { return m_cacheClear.get(); }
    std::unique_ptr<CCacheClear> TakeCacheClear() { return std::move(m_cacheClear); }

private:
    void Steps(int from, int to);
    void RepairDirectoryOrder();
    void MigrateOrganisationCard();
    void CheckStorageEngines();
    // The staging tables of an archive load and of a restore that died (the
    // latter told in the error list).
    void DropStagingTables();

    QStringList m_warnings;
    std::unique_ptr<CCacheClear> m_cacheClear;
};

// The updater that the program registers with the SQL layer.
CSQLDBUpdater& SchemaUpdater();
