#pragma once
// The backup wizard: the user chooses the file (a name with the database and
// the time is offered in the folder used last), then the backup runs with its
// progress and log (CSQLBackup). A completed backup resets the start page's
// count of days since the last backup.
#include "wizard_dlg.h"

class CxSQL;

class CSQLBackupWizard : public CWizardDlg {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CSQLBackupWizard(CxSQL* sql = nullptr, QWidget* parent = nullptr);

    QString GetWizardTitle() const override;
    // The connection the backup reads.
    CxSQL* GetSQL() const { return m_sql; }

    // The settings entry of the folder used last.
    static constexpr char kFolderSection[] = "Backup";
    static constexpr char kFolderEntry[] = "LastFolder";

protected:
    void OnInitPages() override;

private:
    CxSQL* m_sql;
};
