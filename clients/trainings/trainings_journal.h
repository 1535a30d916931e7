#pragma once
// The trainings journal: the trainings and events the project held
// (traininglist), in folders; opening a row opens the training form.
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/lists/sql_list_ctrl.h"

class CJTrainings : public CxFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJTrainings(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    class CxSQLListCtrlEditThis : public CxSQLListCtrlEdit {
    public:
        using CxSQLListCtrlEdit::CxSQLListCtrlEdit;
    };

    bool OnInitialUpdate() override;
    void OnInitialSetTitle(CxDocument* document) override;
    void OnOpenArguments(const QStringList& arguments) override;
    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;
    void StoreState() override;
    void RestoreState() override;

    CxSQLListCtrlEditThis* List() const { return m_list; }

private:
    CxSQLListCtrlEditThis* m_list;
};
