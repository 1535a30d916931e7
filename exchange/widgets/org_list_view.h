#pragma once
// The journal of the organisations whose data the database holds: the own
// card (row 0) and one card per organisation whose data were received. The
// own card opens in the settings dialog (open, or new while it is missing);
// a received organisation can be removed with all its data.
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/lists/sql_list_ctrl.h"

class CJOrgListView;

class CJOrgListView : public CxFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJOrgListView(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    // The list: its commands are the journal's.
    class CxSQLListCtrlEditThis : public CxSQLListCtrlEdit {
    public:
        explicit CxSQLListCtrlEditThis(CJOrgListView* view);
        bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
        bool ProcessCommand(unsigned id) override;

    protected:
        void OnOpenRow(int row) override;

    private:
        CJOrgListView* m_view;
    };

    bool OnInitialUpdate() override;
    void OnInitialSetTitle(CxDocument* document) override;
    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;

    CxSQLListCtrlEditThis* List() const { return m_list; }
    // Whether the list holds the own card (row 0).
    bool HasOwnCard() const;

private:
    CxSQLListCtrlEditThis* m_list;
};
