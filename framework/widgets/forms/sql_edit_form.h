#pragma once
// A form view bound to one record of one table: the record form of a
// directory item, a client, a daily report. The document template opens it
// on a record (edit action 2055), on a new record (2056) or for deletion
// (2057); the form reads the record, exchanges it with its controls, and
// saves it (and every child form it holds) in one transaction when the user
// presses OK. Cancel, or closing the window, asks before changes are lost.
//
// A form names its table (GetDXTable) and the column that titles its record
// (GetTitleField); its subclass builds the controls in its constructor and
// binds them in DoDataExchange.
//
// Several copies of the program may have one record open: the form takes the
// fingerprint of the rows it shows (GuardedRows) before it reads them, and a
// save refuses, offering to open the record again, when another copy changed
// them meanwhile (rows_fingerprint.h).
#include "dx_form.h"
#include "framework/core/record/rows_fingerprint.h"
#include "framework/widgets/documents/form_view.h"

class CxTable;
class QPushButton;

class CxSQLEditForm : public CxFormView, public CDXForm {
    Q_OBJECT
public:
    explicit CxSQLEditForm(QWidget* parent = nullptr);
    ~CxSQLEditForm() override;

    // The table whose record the form edits.
    virtual CxTable* GetDXTable() const = 0;
    // The full name of the column that titles the record ("dir.cString");
    // by default the table's name column.
    virtual QString GetTitleField() const;
    // What the window title calls a record of the form ("<caption>: <name>");
    // by default the table's caption.
    virtual QString GetRecordCaption() const;

    // Reads the record the document names (or takes the one handed over)
    // and fills the controls; false when the record does not exist.
    bool OnInitialUpdate() override;
    // Binds the form to a record directly (a form used without a document).
    bool LoadRecord(std::unique_ptr<CDXRecordSQL> record, int mode);

    // Saves: the transaction of CDXForm::ApplyTransacted; answers whether the
    // data are stored.
    virtual bool Apply();
    // The default apply writes the record; a deletion first checks that no
    // other row refers to it.
    bool OnApply() override;
    // Takes the fingerprint of what the save wrote, then commits.
    bool CommitTransact() override;
    void OnAfterCommit() override;

    // The rows of a stored record that the form shows and saves, guarded
    // against other copies' changes: by default the record's row; a form
    // that also saves rows of other tables (participants, sheets) adds them.
    virtual QList<CxGuardedRows> GuardedRows(qint64 key) const;
    // The fingerprint taken when the record was loaded or last saved.
    const CxRowsFingerprint& Guard() const { return m_guard; }

    // A page of the form (a tab with rows of its own) found while saving that
    // another copy changed its rows meanwhile: the refused save then offers
    // to open the record again, as for the form's own rows.
    void NoteChangedMeanwhile() { m_changedMeanwhile = true; }

    bool CanCloseFrame() override;
    QWidget* DXWidget() override { return this; }

    // Whether the user changed something since the record was loaded or
    // saved.
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }
    // Watches the controls under the widget for user changes (done for the
    // form itself at loading; tabs and pages made later call it).
    void WatchChanges(QWidget* root);

    QPushButton* OKButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    // What the form's window title says about its record.
    QString RecordTitle() const;

signals:
    // The record is stored (a new record has its key from now on).
    void recordSaved(qint64 key);

protected:
    // OK saves and closes (also Enter in a line edit, Ctrl+Enter anywhere);
    // Cancel closes, asking about unsaved changes.
    void OnOK();
    void OnCancel();
    // After a save refused because another copy changed the record: asks
    // whether to open it again, and does (this window closes unsaved).
    void OfferReopen();
    // Closes this window without saving and opens the stored record anew.
    void ReopenRecord();
    // A form that saves by its own transaction (the daily report) hands
    // over what its save stored, and notes a refusal of that kind.
    void SetGuard(const CxRowsFingerprint& stored) { m_guard = stored; }

private:
    void UpdateTitle();
    bool TakeGuard(CxSQL* sql, qint64 key);

    QPushButton* m_ok;
    QPushButton* m_cancel;
    bool m_modified = false;
    bool m_loading = false;
    CxRowsFingerprint m_guard;
    CxRowsFingerprint m_saved; // what the running save wrote, until its COMMIT
    bool m_changedMeanwhile = false;
    bool m_guardTaken = false; // by OnInitialUpdate, before the record was read
};
