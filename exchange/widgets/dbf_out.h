#pragma once
// The export for the accounting program: one button writes the 17 files into
// the folder "1cOut" of the user's data folder (after building the report
// work tables the client file reads), with progress and a stop button, and
// opens the folder once every file was written; a file that could not be
// written is named in the log and the folder is not opened.
#include "framework/widgets/wizard/simple_wizard.h"

class CxSQL;

class CDBFOut : public CSimpleWizardDialog {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CDBFOut(QWidget* parent = nullptr, CxSQL* sql = nullptr);

    bool Process() override;
    QString GetSummary() const override;
    QString GetFolder() const { return m_folder; }

private:
    CxSQL* m_sql;
    QString m_folder;
};
