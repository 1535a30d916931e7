#pragma once
// Forms bound to a record. A CDXForm holds (or shares) a record and the edit
// action it was opened with, exchanges its controls with the record in
// DoDataExchange, and takes part in a save:
//
//   start transaction;
//   exchange (save direction) of the form and of every child form created
//   so far, in tree order;
//   OnApply of each, in the same order (the default writes the form's own
//   record with its edit action);
//   OnPreCommit of each;
//   commit.
//
// The first failure rolls everything back: the database, and the records
// and edit actions as they were before the save; the controls keep what the
// user typed. The failure names the control that shows it.
#include "framework/core/record/dx_record.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <memory>

class CDXX;
class QWidget;

// What stopped an exchange or a save: the control to show it at, the user's
// text, and the record or statement failure behind it (if any).
struct CxDXFailure {
    QPointer<QWidget> control;
    QString text;
    CxDXError error;
    bool isSet() const { return !text.isEmpty() || error.isSet(); }
};

class CDXForm {
public:
    CDXForm();
    virtual ~CDXForm();

    // The record the form edits: its own, or the one of the form it shares
    // with (a tab or a kind page of a form).
    CDXRecordSQL* GetDXRecord() const;
    int GetDXEditMode() const;
    void SetDXRecord(std::unique_ptr<CDXRecordSQL> record, int mode);
    void SetDXRecord(CDXForm* owner);
    void SetDXEditMode(int mode);
    bool OwnsDXRecord() const { return m_own != nullptr; }

    // The exchange between controls and record.
    virtual void DoDataExchange(CDXX& dx) = 0;
    // Runs the exchange in one direction; false when it failed (see
    // LastFailure, and the tip shown at the control).
    bool UpdateData(bool save);
    const CxDXFailure& LastFailure() const { return m_failure; }
    // Marks the exchange or save as failed at that control; answers false.
    bool Fail(QWidget* control, const QString& text, const CxDXError& error = CxDXError());

    // The steps of a save after the exchange; false stops the save (after
    // calling Fail, so the user learns why).
    virtual bool OnApply();
    virtual bool OnPreCommit();
    // The transaction of a save, on the record's connection.
    virtual bool StartTransact();
    virtual bool CommitTransact();
    virtual void RollbackTransact();

    // The whole save as above; on failure the tip goes to the control that
    // failed (on its tab), the message to the error list, which is shown.
    bool ApplyTransacted();
    // Runs after a save was committed (the records are stored now).
    virtual void OnAfterCommit() {}

    // Child forms (tabs, pages) take part in this form's saves once they are
    // made; they leave when they go.
    void RegisterChildForm(CDXForm* child);
    void UnregisterChildForm(CDXForm* child);
    const QList<CDXForm*>& ChildForms() const { return m_children; }
    CDXForm* ParentForm() const { return m_parent; }
    // The nearest form among the widget's ancestors (the widget included).
    static CDXForm* FindForm(QWidget* widget);

    // The widget of the form (for tips and as parent of questions).
    virtual QWidget* DXWidget() = 0;

    // Which control shows which field (as the last exchange bound them), so
    // that a failure about a field is shown at its control.
    void NoteBinding(const QString& field, QWidget* control);
    QWidget* FieldControl(const QString& field) const;

protected:
    void ClearFailure() { m_failure = CxDXFailure(); }

private:
    QList<CDXForm*> FormTree();
    void ShowFailure(const CxDXFailure& failure);

    std::unique_ptr<CDXRecordSQL> m_own;
    int m_mode = 0;
    CDXForm* m_sharedFrom = nullptr;
    QList<CDXForm*> m_children;
    CDXForm* m_parent = nullptr;
    QHash<QString, QPointer<QWidget>> m_bindings;
    CxDXFailure m_failure;
};
