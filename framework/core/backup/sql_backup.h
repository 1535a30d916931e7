#pragma once
// Backup of the connection's database into one file (format in
// docs/backup-format.md): every table but the report work tables, schema and
// rows, read in one consistent snapshot on a connection of its own. The file
// is written under a temporary name beside the target, read back and checked
// part by part, and only then renamed to the target, so a target name never
// holds an incomplete or damaged backup.
#include <QDateTime>
#include <QString>

class CxSQL;
class CvProgress;
class CvRunLog;

// What a backup file holds, for the wizards' pages.
struct CSQLBackupInfo {
    int formatVersion = 0;
    int schemaVersion = -1;
    QDateTime created; // UTC
    QString server;
    QString database;
    int tables = 0;
    qint64 rows = 0;
};

class CSQLBackup {
public:
    // Writes the backup of sql's database to path (replacing a file there
    // once the new one is verified). The progress may stop it; then, and on
    // any failure, nothing is left at path or beside it and error says why.
    // A completed backup resets the start page's backup reminder.
    static bool Backup(CxSQL* sql, const QString& path, CvProgress* progress, CvRunLog* log,
                       QString* error);

    // The file dialog's filter and a file name for a database's backup now.
    static QString FileFilter();
    static QString DefaultFileName(const QString& database);
};
