#pragma once
// The client card: the form of one client of clientdata, in tabs — base data
// with the dated vulnerable groups, drug use, social status, risk behaviour,
// health and visits. A tab's page is made when the user first opens it; a tab
// never opened neither reads nor writes. OK saves the client and every opened
// tab in one transaction: the client's row first (so a new client's tabs
// write under its ROWID), then the tabs; any refusal rolls everything back
// and leaves the input on screen.
//
// Two copies editing one client: the form's guard refuses a save when
// another copy has changed or deleted the client's row since the card read
// it (rows_fingerprint.h); the tabs guard their own rows with the same
// fingerprints, a dated page row by row (client_history_store.h), the health
// tab the client's set (client_health_store.h). Either refusal offers to
// open the client again.
//
// The link "command:forceapply" of the error list (shown under a code that
// breaks the coding) saves again, this time asking whether to keep the code.
#include "framework/widgets/forms/sql_edit_form.h"

class CxTab;
class CDClientsBase;

class CDClients : public CxSQLEditForm {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClients(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
    // Makes the card's tab classes known by name.
    static void RegisterClasses();

    CxTable* GetDXTable() const override;
    QString GetTitleField() const override;
    void DoDataExchange(CDXX& dx) override;
    // "command:forceapply" (exactly) saves with the force flag set.
    int OnProcessURL(const QString& address) override;
    // The tab in front answers the commands it takes (the visits tab: the
    // export of its list), the form the rest.
    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override;

    // Set only while a save through "command:forceapply" runs.
    bool IsForceApply() const { return m_forceApply; }
    // The client's ROWID; -1 while the client is not stored.
    qint64 GetClientID() const;
    CxTab* Tab() const { return m_tab; }
    CDClientsBase* BaseTab() const;

private:
    void BuildTabs();

    CxTab* m_tab;
    int m_baseTab = -1;
    bool m_forceApply = false;
};
