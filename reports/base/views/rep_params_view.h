#pragma once
// The report window with the parameters the report windows have in common:
// the period (two typed-date fields, so every report window takes a date
// typed by hand the same way), the service-point tree with its buttons
// (mark points by type, clear every mark, change the grouping) and the main
// social worker. A derived window builds the parts it uses where it wants
// them (AddPeriod, AddPoshTree, MakeWorker), each registered under its
// control number; this class checks them before a build, hands them to a
// CRepBase document, keeps them in the window's state and copies the ticks
// to a cloned window. The derived window adds its own controls and calls
// these overrides before its own work.
#include "framework/widgets/report_view/rep_view.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class CPoshList;
class CRepBase;
class CTypedDateEdit;
class CxSqlComboList;
class QLabel;
class QToolButton;

class CRepParamsView : public CRepView {
    Q_OBJECT
public:
    // False (with a message, the focus on the control) for a period date
    // that is no date, a period that ends before it begins or a worker that
    // is not in the list. Else the ticked points become the application's
    // selection and a CRepBase document gets the period (its end when used)
    // and the worker.
    bool OnPreBuild() override;
    // The dates, the worker (when enabled) and the ticked points; the
    // points, when the window has none stored, as the last build chose them
    // (every point when none has chosen any yet).
    void StoreState() override;
    void RestoreState() override;
    // The ticks of the source window, as they stand.
    void OnCloned(CRepView* source) override;

    CPoshList* GetPoshList() const { return m_posh; }
    CxSqlComboList* GetWorkerList() const { return m_worker; }
    QDate GetFrom() const;
    QDate GetTo() const;
    void SetPeriod(QDate from, QDate to);

    // The menu of the marks: "Все", then one item per point type in use
    // (text and type code; -1 for "Все"). False (with the reason) when the
    // types could not be read; the items then hold "Все" alone.
    bool MarkMenuItems(QList<QPair<QString, long>>& items, QString* error = nullptr) const;
    // The buttons of the tree: the marks menu, whose items add to the marks
    // (MarkByType, -1 for every point), clearing, the grouping menu.
    void OnCheck();
    void MarkByType(long type);
    void OnUnmarkAll();
    void OnGroupingMenu();
    // Regroups the tree, keeping the ticks.
    void SetGrouping(int mode);

protected:
    // `context` is the window's name in the keys of its texts.
    CRepParamsView(QWidget* parent, const QString& context);

    // The row "caption from — to" at the end of the parameters; the fields
    // hold the last full month.
    void AddPeriod(const QString& caption);
    // The header (its label, then the three buttons) and the tree under it;
    // answers the header's label.
    QLabel* AddPoshTree();
    // The worker list; the window places it.
    CxSqlComboList* MakeWorker();
    // Fills the tree and the worker list from the database (an error of the
    // tree goes to the application's messages).
    void LoadParams();
    // The period kept under other keys than "FromDate" and "ToDate".
    void SetPeriodKeys(const char* from, const char* to);

    CTypedDateEdit* FromEdit() const { return m_from; }
    CTypedDateEdit* ToEdit() const { return m_to; }
    QLabel* PeriodDash() const { return m_dash; }
    // The end of the period counts unless the report disabled or hid it.
    bool EndUsed() const;
    CRepBase* GetRepBase() const;
    // An entry of the window's state (a null string when none is kept).
    void WriteStateEntry(const QString& entry, const QString& value) const;
    QString ReadStateEntry(const QString& entry) const;

private:
    // The text in this window's keys ("Window" or "Window::where").
    QString ParamText(const char* text, const QString& where = QString()) const;
    QString PoshReadError(const QString& why) const;

    QString m_context;
    CTypedDateEdit* m_from = nullptr;
    CTypedDateEdit* m_to = nullptr;
    QLabel* m_dash = nullptr;
    CPoshList* m_posh = nullptr;
    QToolButton* m_markAll = nullptr;
    QToolButton* m_grouping = nullptr;
    CxSqlComboList* m_worker = nullptr;
    QString m_fromKey = QStringLiteral("FromDate");
    QString m_toKey = QStringLiteral("ToDate");
};
