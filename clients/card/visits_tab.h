#pragma once
// The visits tab of the client card: the client's visits as the daily
// reports record them, one line per report (grouped) or one line per item
// received (detailed). Opening a line opens its daily report in the daily
// report form, with the client's row selected there.
//
// "Добавить визит" adds a page on which the user records a visit without
// opening a report (date, service point, main worker, what the client
// received); the card's save writes every such page into the daily report of
// that day, point and worker the way the report form writes sheets
// (WriteClientVisit), in the card's transaction.
#include "client_tabs.h"

#include "framework/core/lists/sql_filter.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/lists/sql_list_ctrl.h"

class CDateTimeEditCtrl;
struct CxCmdUI;
class CxSqlComboList;
class QPushButton;
class QTabWidget;

// Command ids of the tab.
enum : unsigned {
    ID_VISITS_SWITCH_MODE = 2033,
    ID_VISITS_OPEN_REPORT = 2059,
};

class CDClientsVisitsAdd : public QWidget {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsVisitsAdd(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CDateTimeEditCtrl* DateEdit() const { return m_date; }
    CxSqlComboList* WorkPlace() const { return m_workPlace; }
    CxSqlComboList* Worker() const { return m_worker; }
    CGridCtrl* Grid() const { return m_grid; }

    // Writes the visit into its daily report (in the caller's transaction);
    // false with the control and text of the refusal or failure.
    bool Write(CxSQL* sql, qint64 clientId, QWidget** control, QString* text);

    // The grid: the value editor follows the kind of the item chosen in the
    // row (a count, "Предоставлена" for a service, the kinds a consultation
    // carries).
    class CGridCtrlThis : public CGridCtrl {
    public:
        explicit CGridCtrlThis(QWidget* parent);
        QWidget* CreateInplaceObject(int row, int column, QWidget* parent) override;
        void OnItemChanged(int row, int column) override;

    private:
        // The item's kind (dir.nType & the group mask) and nSpecFlags; false
        // when the row names no item.
        bool ItemKind(int row, int* kind, int* specFlags) const;
        QList<QPair<int, QString>> ValueChoices(int kind, int specFlags) const;
    };

signals:
    void dateChanged(const QDate& date);

private:
    CDateTimeEditCtrl* m_date;
    CxSqlComboList* m_workPlace;
    CxSqlComboList* m_worker;
    CGridCtrlThis* m_grid;
};

class CDClientsVisits : public CDClientsTabBase, public CxSQLFilter {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CDClientsVisits(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    // The list of visits (a report is opened from its lines).
    class CxSQLListCtrlThis : public CxSQLListCtrlEdit {
    public:
        explicit CxSQLListCtrlThis(CDClientsVisits* tab);

    protected:
        void OnOpenRow(int row) override;

    private:
        CDClientsVisits* m_tab;
    };

    void DoDataExchange(CDXX& dx) override;
    bool OnApply() override;
    void OnAfterCommit() override;

    bool CanProcessCommand(unsigned id) const;
    bool ProcessCommand(unsigned id);
    // The main window's commands, which the card passes to the tab in
    // front: «Передать в MS Excel» writes this tab's list of visits.
    bool OnCmdMsg(unsigned id, CxCmdUI* ui);

    // 1: one line per report; 0: one line per item received.
    bool IsGrouped() const { return m_grouped; }
    CxSQLListCtrlThis* List() const { return m_list; }
    QTabWidget* AddPages() const { return m_pages; }
    // Adds an add-visit page; answers it.
    CDClientsVisitsAdd* AddVisitPage();
    // Opens the daily report of a list line with the client selected there;
    // false when it cannot be opened (the report form is not part of the
    // program, or the line is gone).
    bool OpenReportOfLine(qint64 visitRowId);

private:
    void SetUpList();

    CxSQLListCtrlThis* m_list;
    QTabWidget* m_pages;
    QPushButton* m_open;
    QPushButton* m_mode;
    QPushButton* m_add;
    bool m_grouped = true;
    qint64 m_listedClient = -2;
};
