#pragma once
// Restore of a backup archive of the previous program generation ("kldbkp.*.bkz"),
// without windows. It is at once the loader's callback (every statement of
// the archive loader Brennock comes back here and runs on the connection) and
// the run that replaces the database with the converted archive:
//
//  1. the database's tables are set aside under saved names, in one rename;
//  2. the current schema is made in their place, as a new database gets it
//     (creation script and schema steps);
//  3. the loader copies every archived table into a staging table
//     "orvel_<table>", through its checks of names, definitions and values;
//  4. the mapping file is checked: an entry that is missing or still -999
//     stops the run with the file written back for the user;
//  5. the staging tables are converted into the current tables
//     (old_data_conversion.h) and dropped, and so are the saved tables.
//
// Any stop after step 1 drops what the run made and puts the saved tables
// back under their names, so the database is as it was. A run that the end
// of the program interrupted is undone in the same way at the start of the
// next run. The run holds the
// lock "dblock" throughout; at its end the change watcher resumes and the
// other running copies are told that every table changed. The program must
// restart afterwards (NeedRestart).
#include "brennock_callback.h"
#include "framework/core/sql_connection.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

class CBrennock;
class CSQLWizardLog;
class CvProgress;
class QLibrary;

class COldArchiveConverter : public CBrennock_Callback {
public:
    // log receives the lines of the run (the wizard page); may be null.
    COldArchiveConverter(CxSQL* sql, CSQLWizardLog* log);
    ~COldArchiveConverter();

    // --- what the restore wizard asks while the user picks a file ---
    // "Предыдущие версии данных Kelda1 (kldbkp.*.bkz)|kldbkp.*.bkz"
    static QString FileFilter();
    // Whether the archive can be converted (the loader is there and reads it).
    bool IsValid(const QString& path);
    // HTML about the archive for the wizard's page; every text is escaped.
    QString FileInfoHtml(const QString& path);

    // --- the run ---
    bool Convert(const QString& path, CvProgress* progress, QString* error);
    // Set when a run has replaced the database: the program must restart. A
    // run that stops puts the database back and leaves it unset.
    bool NeedRestart() const { return m_needRestart; }

    // Where the mapping file is read and written back (default:
    // CDirMappingFile::DefaultPath()).
    void SetMappingFilePath(const QString& path) { m_mappingPath = path; }
    QString MappingFilePath() const { return m_mappingPath; }
    // The file name of the loader library (default "Brennock").
    void SetLoaderLibrary(const QString& name) { m_libraryName = name; }

    // Runs one statement; a failure is shown as an error line with the
    // statement. Every 17th success moves the "Выполнение..." text.
    CxResult Query(const QString& statement);

    // The prefix of the tables set aside during a run, and the one they take
    // when the run has succeeded, until they are dropped.
    static QString SavedPrefix() { return QStringLiteral("__saved__"); }
    static QString DroppedPrefix() { return QStringLiteral("__dropped__"); }
    // How long the run waits for "dblock".
    static constexpr int kLockSeconds = 60;

    // CBrennock_Callback
    void Message(const char16_t* text, int level) override;
    const char16_t* Translate(const char16_t* text) override;
    void SetProgressRange(int lower, int upper) override;
    void StepProgress(const char16_t* text) override;
    bool Execute(const char16_t* sql) override;

    // Lines of the run: information, and warnings (flag 1) or errors (0).
    void Info(const QString& text);
    void Warning(const QString& text, int flag);
    bool IsCancelled() const;

private:
    struct Run;
    bool StartLoader(const QString& path);
    void StopLoader();

    CxSQL* m_sql;
    CSQLWizardLog* m_log;
    CvProgress* m_progress = nullptr;
    QString m_mappingPath;
    QString m_libraryName = QStringLiteral("Brennock");
    std::unique_ptr<QLibrary> m_library;
    CBrennock* m_loader = nullptr;
    QString m_loaderPath;
    std::u16string m_translated;
    QString m_lastLoaderError;
    int m_counter = 0;
    bool m_needRestart = false;
};
