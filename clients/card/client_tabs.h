#pragma once
// What the tabs of the client card stand on. Every tab but the visits tab is
// a CDClientsTabBase: a form that shares the card's record (the client's
// clientdata row), finds the card and the client's ROWID, and takes part in
// the card's save: its exchange checks what the user entered, its OnApply
// writes, after the card has written the client's row, so even a new client's
// tabs write under the client's ROWID.
//
// A dated history (vulnerable groups, drug use, risk behaviour, social status)
// is a CClientHistoryHost: one page per stored row and date, chosen in a
// drop-down of dates, with buttons that add a page (dated today), remove the
// current one and open a stored page for editing (stored pages show read-only
// until then). Its save goes through CClientHistoryStore: stored rows whose
// page the user neither changed nor removed are left as they are, columns the
// page does not show keep their values, and a second page on one date is
// refused before anything is written.
#include "clients/core/client_history_store.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dx_form.h"
#include "framework/widgets/pages/multi_page.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QVariant>
#include <QWidget>

class CDClients;
class CDateTimeEditCtrl;
class CxSQL;
class CxSQLEditForm;
class QLabel;
class QPushButton;
class CClientHistoryHost;

class CDClientsTabBase : public QWidget, public CDXForm {
    Q_OBJECT
public:
    explicit CDClientsTabBase(QWidget* parent = nullptr);

    // The card that holds the tab (null outside a card).
    CDClients* GetClientCard();
    // The client's ROWID; -1 while the client is not stored.
    qint64 GetClientID() const;
    // The connection of the card's record.
    CxSQL* Connection() const;
    QWidget* DXWidget() override { return this; }
    // The edit form that holds the tab, which watches its controls for
    // changes.
    CxSQLEditForm* EditForm() const;

    // Fails the save with the verdict's text at the control.
    bool FailAt(QWidget* control, const QString& text);
    // Fails the save because another copy changed the tab's rows since they
    // were read: the card then offers to open the client again.
    bool FailChangedMeanwhile(QWidget* control, const QString& text);

private:
    CDClients* m_card = nullptr;
};

// One dated page: its date, its stored row (ROWID -1 for a page not stored
// yet) with the values the row held, and its controls.
class CDClientTabDynDyn : public QWidget {
    Q_OBJECT
public:
    explicit CDClientTabDynDyn(QWidget* parent = nullptr);

    virtual EClientHistory History() const = 0;
    // Shows a stored row's values (columns in lower case, null for NULL).
    virtual void LoadValues(const QHash<QString, QString>& row) = 0;
    // Reads the page's controls into the values to store (the columns the
    // page shows); a refusal names the control at which to show it.
    virtual CRuleVerdict CollectValues(QList<QPair<QString, QVariant>>* values,
                                       QWidget** control) = 0;

    qint64 RowId() const { return m_rowId; }
    QDate Date() const { return m_date; }
    bool IsStored() const { return m_rowId != -1; }
    // A stored page opened for editing; new pages are always editable.
    bool IsEditable() const { return !IsStored() || m_editing; }
    void SetEditing(bool editing);
    // The page's date; the title of the page follows it.
    void SetDate(const QDate& date);
    void SetOwner(CClientHistoryHost* owner) { m_owner = owner; }
    CClientHistoryHost* Owner() const { return m_owner; }
    // Fills the page from a stored row.
    void LoadFromRow(const QHash<QString, QString>& row);
    // The stored text of a column (null: NULL or not stored).
    QString Stored(const QString& column) const { return m_stored.value(column.toLower()); }
    bool HasStored(const QString& column) const { return m_stored.contains(column.toLower()); }
    // Whether the values differ from the stored row (or the date does).
    bool DiffersFromStored(const QList<QPair<QString, QVariant>>& values) const;

private:
    qint64 m_rowId = -1;
    QDate m_date;
    bool m_editing = false;
    QHash<QString, QString> m_stored;
    CClientHistoryHost* m_owner = nullptr;
};

class CClientHistoryHost : public QWidget, public CxMultiPageCoClass {
    Q_OBJECT
public:
    CClientHistoryHost(EClientHistory history, const QMetaObject* pageClass,
                       QWidget* parent = nullptr);

    EClientHistory History() const { return m_history; }
    // Reads the client's rows (none for -1): one page per row, oldest first,
    // the newest shown.
    bool Load(CxSQL* sql, qint64 clientId, QString* error);
    // A page dated today, shown and ready for typing; its index.
    int AddPage() override;
    // Removes the shown page; a stored one is deleted at the next save.
    bool RemovePage() override;
    CDClientTabDynDyn* Page(int index) const;
    CDClientTabDynDyn* CurrentPage() const;
    const QList<qint64>& RemovedRowIds() const { return m_removed; }

    // Reads every page to write; false with the control and text of the
    // first refusal (its page shown).
    bool Collect(QList<CHistoryPage>* pages, QWidget** control, QString* text);
    // Writes the pages (in the caller's transaction); regionId is the
    // organisation new rows take (the client's). False with the control and
    // text of a refusal, or the server's text; *changedMeanwhile tells a
    // refusal because another copy changed a row since it was read.
    bool Save(CxSQL* sql, qint64 clientId, qint64 regionId, QWidget** control, QString* text,
              bool* changedMeanwhile);

    CDateTimeEditCtrl* DateEdit() const { return m_date; }
    CxComboMultiPageCoClassSelector* DateList() const { return m_selector; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* EditButton() const { return m_edit; }
    QPushButton* FillButton() const { return m_fill; }

    void MultiPageCoClass_OnUpdate() override;
    void MultiPageCoClass_OnShow() override;
    // The host's Tab stops in the order the user meets them: the date list,
    // the date, the buttons, then the pages' controls page by page.
    QList<QWidget*> TabOrder() const;

signals:
    // The shown page changed (or became editable).
    void pageShown();

private:
    void OnDateChanged(const QDate& date);
    void OnEdit();

    EClientHistory m_history;
    CxComboMultiPageCoClassSelector* m_selector;
    CDateTimeEditCtrl* m_date;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_edit;
    QPushButton* m_fill;
    QWidget* m_place;
    QList<qint64> m_removed;
    // The client's rows as read, by ROWID: the save refuses to overwrite a
    // row another copy of the program changed since.
    CHistoryLoadedRows m_loadedRows;
    bool m_updating = false;
};

// A tab of one dated history (drug use, risk behaviour, social status).
class CDClientTabDyn : public CDClientsTabBase {
    Q_OBJECT
public:
    explicit CDClientTabDyn(QWidget* parent = nullptr);

    virtual EClientHistory History() const = 0;
    virtual const QMetaObject* GetSubPageClass() const = 0;
    CClientHistoryHost* Host() const { return m_host; }

    void DoDataExchange(CDXX& dx) override;
    bool OnApply() override;
    void OnAfterCommit() override;

protected:
    // Called by the subclass's constructor (the host needs the page class).
    void InitHost();

private:
    CClientHistoryHost* m_host = nullptr;
    bool m_loaded = false;
};

// Widgets made after the window join its focus chain at the end (the pages
// of a dated tab come after the card's buttons). These put a tab's controls
// back in the order the user meets them.
// The widgets inside root that Tab stops at, in the order of the focus chain.
QList<QWidget*> TabStops(QWidget* root);
// Chains the widgets in the order given (each one's focus proxy standing for
// it).
void ChainTabOrder(const QList<QWidget*>& order);

// A text of the card in the user's language, in the context given at each call.
inline constexpr CxTr ClientTabText;
// The value a radio group of a page stores: the chosen button's value; none
// chosen: the stored value where the page shows a stored row, else the
// group's default (QVariant() for NULL).
QVariant RadioValue(const QList<QPair<class QAbstractButton*, int>>& buttons,
                    const CDClientTabDynDyn* page, const QString& column, const QVariant& fallback);
void ShowRadioValue(const QList<QPair<QAbstractButton*, int>>& buttons, const QString& stored);
