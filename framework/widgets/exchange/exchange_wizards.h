#pragma once
// The windows of the exchange wizards. The export wizard asks for the file
// of the package (a name with the own organisation and the day is offered in
// the folder used last) and writes it with its progress; the import wizard
// asks for a package, says what it holds (or why it cannot be received) and
// receives it with its progress and log, all or nothing. Both are built over
// the program's helper (CSQLImportWizard_Helper), which the caller owns and
// which outlives the wizard. A run can be stopped ("Отмена"): a stopped
// export leaves no file, a stopped import leaves the database as it was.
#include "framework/widgets/wizard/wizard_dlg.h"

#include <QDate>

class CSQLImportWizard_Helper;
class CxSQL;

class CSQLExportWizardDlg : public CWizardDlg {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CSQLExportWizardDlg(CSQLImportWizard_Helper* helper, CxSQL* sql = nullptr,
                                 QWidget* parent = nullptr);

    QString GetWizardTitle() const override;
    CSQLImportWizard_Helper* GetHelper() const { return m_helper; }
    CxSQL* GetSQL() const { return m_sql; }

    // The package's file name offered for an organisation on a day.
    static QString DefaultFileName(const QString& orgID, const QDate& day);

protected:
    void OnInitPages() override;

private:
    CSQLImportWizard_Helper* m_helper;
    CxSQL* m_sql;
};

class CSQLImportWizardDlg : public CWizardDlg {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CSQLImportWizardDlg(CSQLImportWizard_Helper* helper, CxSQL* sql = nullptr,
                                 QWidget* parent = nullptr);

    QString GetWizardTitle() const override;
    CSQLImportWizard_Helper* GetHelper() const { return m_helper; }
    CxSQL* GetSQL() const { return m_sql; }

protected:
    void OnInitPages() override;

private:
    CSQLImportWizard_Helper* m_helper;
    CxSQL* m_sql;
};

// Shared by both wizards: the file filter of packages, the settings entry of
// the folder used last, and the wizard variable of the chosen file.
namespace ExchangeWizards {
QString FileFilter();
constexpr char kFolderSection[] = "Exchange";
constexpr char kFolderEntry[] = "LastFolder";
constexpr char kFileVar[] = "filename";
} // namespace ExchangeWizards
