#pragma once
// The export for analytics programs: the client register, its histories,
// three directories and the visits by material group as ";"-separated files
// with caption files, written into a folder of the temporary folder, which
// opens once every file was written.
#include "framework/widgets/wizard/simple_wizard.h"

class CxSQL;

class CExportCSV : public CSimpleWizardDialog {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CExportCSV(QWidget* parent = nullptr, CxSQL* sql = nullptr);

    bool Process() override;
    QString GetFolder() const { return m_folder; }

private:
    CxSQL* m_sql;
    QString m_folder;
};
