#pragma once
// The parameters the report windows have in common, built into a window's
// parameter panel: the period (two typed-date fields, so every report window
// takes a date typed by hand the same way), the service-point tree with its
// buttons (mark points by type, clear every mark, change the grouping) and
// the main social worker. A window builds the parts it uses where it wants
// them, each registered under its control number; the panel checks them
// before a build, hands them on and keeps them in the window's state.
#include <QDate>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class CPoshList;
class CRepView;
class CTypedDateEdit;
class CxSqlComboList;
class QLabel;
class QToolButton;
class QVBoxLayout;
struct CRepBaseParams;

class CRepParamsPanel : public QObject {
    Q_OBJECT
public:
    // `context` is the window's name in the keys of its texts.
    CRepParamsPanel(CRepView* view, const QString& context);

    // The row "caption from — to" at the end of `layout`; the fields hold
    // the last full month.
    void AddPeriod(QVBoxLayout* layout, const QString& caption);
    // The header (its label, then the three buttons) and the tree under it;
    // answers the header's label.
    QLabel* AddPoshTree(QVBoxLayout* layout);
    // The worker list; the window places it.
    CxSqlComboList* MakeWorker();
    // Under other keys than "FromDate" and "ToDate".
    void SetPeriodKeys(const char* from, const char* to);

    CTypedDateEdit* FromEdit() const { return m_from; }
    CTypedDateEdit* ToEdit() const { return m_to; }
    QLabel* PeriodDash() const { return m_dash; }
    CPoshList* Posh() const { return m_posh; }
    CxSqlComboList* Worker() const { return m_worker; }
    QDate From() const;
    QDate To() const;
    void SetPeriod(QDate from, QDate to);
    // The end of the period counts unless the report disabled or hid it.
    bool EndUsed() const;

    // Fills the tree and the worker list from the database (an error of the
    // tree goes to the application's messages).
    void Load();
    // Before a build: false (with a message, the focus on the control) for
    // a period date that is no date, a period that ends before it begins or
    // a worker that is not in the list.
    bool Check();
    // The ticked points become the application's selection.
    void StoreSelection();
    // The period (its end when used) and the worker.
    void ToParams(CRepBaseParams& params) const;

    // The dates, the worker (when enabled) and the ticked points.
    void StoreState(const QString& section) const;
    // As stored; the points, when the window has none stored, as the last
    // build chose them.
    void RestoreState(const QString& section);
    void CopyTicks(const CRepParamsPanel& source);

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

private:
    QString Tr(const char* text, const QString& where = QString()) const;
    QString PoshReadError(const QString& why) const;

    CRepView* m_view;
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
