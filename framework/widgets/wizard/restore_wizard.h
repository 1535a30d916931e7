#pragma once
// The restore wizard: the user chooses a file, the wizard says what it holds
// (or why it cannot be restored) and, after the warning that every data of
// the database will be replaced, restores it with progress and log
// (CSQLRestore). A damaged file is refused before the database is touched;
// a restore that fails or is stopped leaves the live database as it was.
//
// Archives of other formats come with a converter page
// (CSQLRestoreWizard_ConverterPane): it is both the converter the restore
// engine asks about files and runs, and the processor page that shows that
// run. The wizard chooses the page of whoever takes the chosen file.
//
// After a restore that replaced the database the program must start again
// (NeedRestart); the engine's last log line says so.
#include "framework/core/backup/restore_converter.h"
#include "wizard_dlg.h"
#include "wizard_pane.h"

#include <QHash>
#include <memory>

class CSQLRestore;

class CSQLRestoreWizard_ConverterPane : public CWizardPaneProcessor,
                                        public CSQLRestoreWizard_Converter {
    Q_OBJECT
public:
    using CWizardPaneProcessor::CWizardPaneProcessor;
    // The conversion (CSQLRestoreWizard_Converter::Process) stays the
    // converter's; the page's run restores the chosen file through the
    // wizard, which calls the conversion.
    using CSQLRestoreWizard_Converter::Process;
    bool Process() override;
    // The restore's warning; a converter may add to it.
    QString GetSummary() const override;
};

class CSQLRestoreWizard : public CWizardDlg {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CSQLRestoreWizard(CxSQL* sql = nullptr, QWidget* parent = nullptr);
    ~CSQLRestoreWizard() override;

    QString GetWizardTitle() const override;
    // An archive format of another program; the wizard owns the page.
    void AddConverter(CSQLRestoreWizard_ConverterPane* converter);
    // Backups made by a newer program (a schema above this version) are
    // refused.
    void SetSchemaVersion(int version);

    // Restores the chosen file ("filename"), the page given logging it.
    bool RunRestore(CWizardPaneProcessor* page);
    // The live database was replaced: the program must start again.
    bool NeedRestart() const;
    // The warning shown before the restore runs.
    QString RestoreWarning() const;

protected:
    void OnInitPages() override;

private:
    friend class CRestoreFilePane;
    CxSQL* m_sql;
    std::unique_ptr<CSQLRestore> m_restore;
    // The engine's view of each converter page.
    QHash<const CSQLRestoreWizard_Converter*, CSQLRestoreWizard_ConverterPane*> m_pages;
    CWizardPaneProcessor* m_ownProcessor = nullptr;
    int m_schemaVersion = -1;
};
