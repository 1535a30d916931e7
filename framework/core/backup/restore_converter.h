#pragma once
// An extra archive format for the restore: a converter recognises its files
// and turns one into the current database. The restore engine runs it on a
// connection to an empty scratch database and, when it succeeds, puts the
// tables it made in place of the live ones in one step (as it does with its
// own backups), so a converter that stops half way leaves the live database
// as it was.
#include <QString>

class CxSQL;
class CvProgress;
class CvRunLog;

// What the engine hands a converter for one run.
struct CSQLRestoreContext {
    CxSQL* sql = nullptr; // connected to the scratch database
    QString path;         // the archive the user chose
    CvProgress* progress = nullptr;
    CvRunLog* log = nullptr;
};

class CSQLRestoreWizard_Converter {
public:
    virtual ~CSQLRestoreWizard_Converter() = default;
    // The file dialog's filter: "description (mask)|mask".
    virtual QString GetFileFilter() = 0;
    // Whether the file is an archive this converter takes.
    virtual bool IsValid(const QString& path) = 0;
    // HTML about the file for the wizard's page.
    virtual QString GetFileInfo(const QString& path) = 0;
    // Builds the current tables from the archive in context.sql's database;
    // false (after telling the log why) when it could not.
    virtual bool Process(CSQLRestoreContext& context) = 0;
};
