#include "old_archive_restore.h"

#include "dir_mapping_file.h"
#include "framework/core/exchange/wizard_log.h"
#include "framework/core/run_log.h"

namespace {
// The converter writes to a wizard log; the engine hands a run log.
class LogLink : public CSQLWizardLog {
public:
    explicit LogLink(CvRunLog* log) : m_log(log) {}
    void AddInfoMessage(const QString& text, int flag) override {
        if (m_log)
            m_log->AddInfoMessage(text, flag);
    }
    void AddWarning(const QString& text, int flag) override {
        if (!flag)
            m_lastError = text;
        if (m_log)
            m_log->AddWarning(text, flag);
    }
    const QString& LastError() const { return m_lastError; }

private:
    CvRunLog* m_log;
    QString m_lastError;
};
} // namespace

COldArchiveRestoreConverter::COldArchiveRestoreConverter()
    : m_inspector(nullptr, nullptr), m_mappingPath(CDirMappingFile::DefaultPath()) {}

QString COldArchiveRestoreConverter::GetFileFilter() {
    return COldArchiveConverter::FileFilter();
}

bool COldArchiveRestoreConverter::IsValid(const QString& path) {
    return m_inspector.IsValid(path);
}

QString COldArchiveRestoreConverter::GetFileInfo(const QString& path) {
    return m_inspector.FileInfoHtml(path);
}

bool COldArchiveRestoreConverter::Process(CSQLRestoreContext& context) {
    LogLink log(context.log);
    COldArchiveConverter converter(context.sql, &log);
    converter.SetMappingFilePath(m_mappingPath);
    QString error;
    if (!converter.Convert(context.path, context.progress, &error)) {
        // The reason, unless the run has just said it.
        if (!error.isEmpty() && error != log.LastError() && context.log)
            context.log->AddWarning(error, 0);
        return false;
    }
    return true;
}
