#pragma once
// Archives of the previous program generation as a format of the restore
// engine (framework/core/backup/restore_converter.h): the engine asks about
// the user's file here and runs the conversion (COldArchiveConverter) on its
// scratch database, which replaces the live tables only when the conversion
// succeeded.
#include "framework/core/backup/restore_converter.h"
#include "old_archive_converter.h"

class COldArchiveRestoreConverter : public CSQLRestoreWizard_Converter {
public:
    COldArchiveRestoreConverter();

    // Where the mapping file is read and written back (default: the data
    // folder's, CDirMappingFile::DefaultPath()).
    void SetMappingFilePath(const QString& path) { m_mappingPath = path; }
    QString MappingFilePath() const { return m_mappingPath; }

    QString GetFileFilter() override;
    bool IsValid(const QString& path) override;
    QString GetFileInfo(const QString& path) override;
    bool Process(CSQLRestoreContext& context) override;

private:
    // Asks about files; the run has a converter of its own on the engine's
    // connection.
    COldArchiveConverter m_inspector;
    QString m_mappingPath;
};
