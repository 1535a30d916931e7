#pragma once
// Restore of a backup into the connection's database. The file is checked
// whole before anything is touched; its tables load into staging tables on a
// connection of their own; then one RENAME TABLE puts them in place of the
// live tables, which the server does completely or not at all. A damaged
// file, a full disk, a stop by the user or a killed program therefore leave
// the live database exactly as it was. A backup of an older schema version
// is upgraded by the program's usual start-up after the restart that every
// restore asks for.
//
// Archives of other formats go to the registered converters (AddConverter),
// which build their tables in a scratch database that replaces the live
// tables the same way.
#include "restore_converter.h"
#include "sql_backup.h"

#include <QString>
#include <memory>
#include <vector>

class CSQLRestore {
public:
    CSQLRestore();
    ~CSQLRestore();

    void AddConverter(std::unique_ptr<CSQLRestoreWizard_Converter> converter);
    // Backups of a newer schema than this are refused (-1: no limit).
    void SetSchemaVersion(int current) { m_schemaVersion = current; }

    // The file dialog's filter: the program's backups, then each converter's.
    QString GetFileFilter() const;
    // Looks at a file without touching the database: a backup of ours (info
    // filled, converter null), an archive a converter takes (converter set),
    // or neither (false, error says why; converter set when the file is
    // named as that converter's archives, whose GetFileInfo says why it
    // cannot take it).
    bool Inspect(const QString& path, CSQLBackupInfo* info, CSQLRestoreWizard_Converter** converter,
                 QString* error);
    // Restores the file into sql's database (see above); false with the
    // reason when the live database was left alone.
    bool Restore(CxSQL* sql, const QString& path, CvProgress* progress, CvRunLog* log,
                 QString* error);
    // Removes what a restore that died left in sql's database (its staging
    // tables), unless a restore of another copy runs now. `report` gets a
    // text for the user when something was removed. False when the server
    // failed.
    static bool CleanInterrupted(CxSQL* sql, QString* report);
    // True after a restore that replaced the live tables.
    bool NeedRestart() const { return m_needRestart; }

    CSQLRestore(const CSQLRestore&) = delete;
    CSQLRestore& operator=(const CSQLRestore&) = delete;

private:
    std::vector<std::unique_ptr<CSQLRestoreWizard_Converter>> m_converters;
    int m_schemaVersion = -1;
    bool m_needRestart = false;
};
