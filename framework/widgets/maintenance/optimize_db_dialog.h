#pragma once
// The optimisation window: says what optimisation does, runs it table by
// table with progress and a stop button, and lists the tables the server
// could not optimise.
#include "framework/widgets/wizard/simple_wizard.h"

class CxSQL;

class COptimizeDBDlg : public CSimpleWizardDialog {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit COptimizeDBDlg(CxSQL* sql = nullptr, QWidget* parent = nullptr);

    bool Process() override;

private:
    CxSQL* m_sql;
};
