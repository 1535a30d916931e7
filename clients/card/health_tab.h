#pragma once
// The health tab: per disease, the tests the client has had and what the
// client knows of the result, and for HIV/AIDS the year treatment started.
// It works only by the client's ROWID through CClientHealthStore (never by a
// row's ROWID), reads the client's rows once and writes them once per save;
// unticking "Заполнить раздел" removes the client's rows.
#include "client_tabs.h"

#include "clients/core/client_health_store.h"
#include "framework/widgets/grid/grid_ctrl.h"

class QCheckBox;
class QFrame;

class CDClientsHealth : public CDClientsTabBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsHealth(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    void DoDataExchange(CDXX& dx) override;
    bool OnApply() override;
    void OnAfterCommit() override;

    CGridCtrl* Grid() const { return m_grid; }
    QCheckBox* FillBox() const { return m_fill; }

    // The grid, accepting every value (the check on save says what is
    // wrong).
    class CxThisGrid : public CGridCtrl {
    public:
        using CGridCtrl::CGridCtrl;
        bool CheckValue(int, int, QString&) override { return true; }
    };

private:
    void Load();
    QList<CHealthGridRow> GridRows() const;

    QCheckBox* m_fill;
    QFrame* m_section;
    CxThisGrid* m_grid;
    bool m_loaded = false;
    CxRowsFingerprint m_guard; // of the client's rows, taken before they were read
    CClientHealth m_stored;    // the client's rows as read
    CClientHealth m_toSave;
};
