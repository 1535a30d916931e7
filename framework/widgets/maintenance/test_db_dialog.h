#pragma once
// The database test window: says which tests will run, runs them all (TestDB)
// with progress and a stop button, and lists each test's outcome in its log:
// a test that failed (a repair the server refused, a stop) shows as an error
// with its reason. "Журнал изменений" shows what the repairs changed.
#include "framework/core/dbtest/db_test.h"
#include "framework/widgets/wizard/simple_wizard.h"

class CxSQL;

class CTestDBDlg : public CSimpleWizardDialog {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CTestDBDlg(CxSQL* sql = nullptr, QWidget* parent = nullptr);

    bool Process() override;
    // The outcome of each test of the last run.
    const QList<CvDBTestResult>& Results() const { return m_results; }
    // Opens the change journal.
    void ShowJournal();

private:
    CxSQL* m_sql;
    QList<CvDBTestResult> m_results;
};
