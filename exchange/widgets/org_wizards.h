#pragma once
// The wizards over the organisations whose data the database holds: the
// merge of all of them into the own organisation, and the removal of one
// received organisation with all its data. Each runs in one transaction
// (exchange/core/org_merge.h) and cannot be undone once done, which their
// texts say before the user starts them.
#include "framework/widgets/wizard/simple_wizard.h"

class CxSQL;

class CMergeOrgsWizard : public CSimpleWizardDialog {
    Q_OBJECT
public:
    // sql null: the application's base connection.
    explicit CMergeOrgsWizard(QWidget* parent = nullptr, CxSQL* sql = nullptr);

    bool Process() override;
    QString GetSummary() const override;

protected:
    void OnInitPages() override;

private:
    CxSQL* m_sql;
};

class CRemoveOrgWizard : public CSimpleWizardDialog {
    Q_OBJECT
public:
    // orgId: the organisation's orginf.ROWID; orgCode: its identifier
    // (cOrgID) as received, shown escaped.
    CRemoveOrgWizard(int orgId, const QString& orgCode, QWidget* parent = nullptr,
                     CxSQL* sql = nullptr);

    bool Process() override;

private:
    int m_orgId;
    CxSQL* m_sql;
};
