#pragma once
// The client journal: the project's clients with the newest entries of their
// vulnerable groups, risk behaviour, social status and drug use, in folders.
// The rows come from the journal's query (CClientJournalQuery) page by page,
// in code order; typing the beginning of a code narrows the list. Opening a
// row opens the client card, a new row a new client's card.
#include "framework/core/lists/sql_filter.h"
#include "framework/widgets/documents/form_view.h"
#include "framework/widgets/lists/sql_list_ctrl.h"

class QLineEdit;

class CJClients : public CxFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJClients(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    class CxSQLListCtrlEditThis : public CxSQLListCtrlEdit {
    public:
        using CxSQLListCtrlEdit::CxSQLListCtrlEdit;
    };

    bool OnInitialUpdate() override;
    void OnInitialSetTitle(CxDocument* document) override;
    // Arguments: a client's ROWID to show.
    void OnOpenArguments(const QStringList& arguments) override;
    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;
    void StoreState() override;
    void RestoreState() override;

    CxSQLListCtrlEditThis* List() const { return m_list; }
    QLineEdit* CodeFilter() const { return m_find; }
    // Shows only the clients whose code begins with the text (all for an
    // empty text).
    void SetCodeFilter(const QString& prefix);

private:
    CxSQLListCtrlEditThis* m_list;
    QLineEdit* m_find;
    CxSQLFilter m_filter;
};
