#pragma once
// The daily report form: one working day at one service point (a dailyreport
// row: date, point, up to three workers, project, comment) with its numbered
// sheets, each a tab: visits sheets (CDDiaryVisits) and redirections sheets
// (CDDiaryRedir). A stored report shows all its visits sheets, then all its
// redirections sheets; a new report starts with one visits sheet. A sheet
// added later takes the highest number used so far plus one.
//
// OK saves the header and every sheet whose tab was opened in one
// transaction (SaveDailyReport): a refusal shows its tip at the field or
// cell and leaves the database and the typed values as they were; when
// another report holds the same data the user is asked first. A delete
// removes the report with all its sheets. When another copy of the program
// saved the report (header, a sheet, a cell) after this form opened it, the
// save is refused and the form offers to open the report again.
//
// A new report may also be opened filled from elsewhere (the sheets read from
// a spreadsheet file): OpenDraft shows the header and sheets in a new form
// and writes nothing until the user saves.
#include "diary/core/daily_report_draft.h"
#include "diary/core/daily_report_header.h"
#include "diary/core/visits_sheet.h"
#include "framework/widgets/forms/sql_edit_form.h"

class CDDiaryPage;
class CDateTimeEditCtrl;
class CxComboList;
class CxSqlComboList;
class CxTab;
class QLineEdit;
struct CDiaryVerdict;

class CDDiary : public CxSQLEditForm {
    Q_OBJECT
public:
    // The commands that add a sheet.
    enum : unsigned { ID_ADD_VISITS_SHEET = 1663, ID_ADD_REDIRECTIONS_SHEET = 1667 };
    // The menu of the add-sheet button.
    enum : int { IDR_ADD_SHEET_MENU = 1240 };

    Q_INVOKABLE explicit CDDiary(QWidget* parent = nullptr);
    ~CDDiary() override;
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    CxTable* GetDXTable() const override;
    QString GetTitleField() const override;
    // The header, every sheet's cells and layout and the redirections.
    QList<CxGuardedRows> GuardedRows(qint64 key) const override;
    void DoDataExchange(CDXX& dx) override;
    // The whole save (see above); false keeps the form open with its values.
    bool Apply() override;

    // The sheets keep their own column widths; the form keeps no state.
    void StoreState() override {}
    void RestoreState() override {}

    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;

    // The stored report's ROWID, -1 while it is new.
    qint64 ReportKey() const;

    // Tab titles: "Визиты" for sheet 0, "Визиты 2" for sheet 1; -1 stands for
    // the highest sheet number.
    QString GetVisitsName(int number) const;
    QString GetRedirName(int number) const;
    int HighestSheet() const { return m_highest; }

    CxTab* Tabs() const { return m_tabs; }
    int PageCount() const;
    CDDiaryPage* Page(int index) const;

    // Makes the first row of the client current, on the first visits sheet
    // that has one (reading the sheets on the way); false when none has.
    // Called by name by the client card once it has opened the form.
    Q_INVOKABLE bool SelectClient(int clientId);

    // Opens a new report form filled from the draft; nothing is written
    // until the user saves. Null when the form could not be opened.
    static CDDiary* OpenDraft(const CDailyReportDraft& draft);
    // Fills this (new) form from the draft in place of its defaults.
    void LoadDraft(const CDailyReportDraft& draft);

    // The menu of sheets to add, at the add-sheet button.
    void OnAddSheet();
    // Remembers the service point, main worker and project chosen last.
    void SaveLastState();

private:
    void BuildTabs();
    CDDiaryPage* AddPage(CDDiaryPage* page, const QString& title);
    CDDiaryPage* AddSheet(bool visits);
    void PageShown(int index);
    CDailyReportHeader Header() const;
    QWidget* FieldControl(const CDiaryVerdict& verdict) const;
    void ShowFailure(QWidget* control, const QString& text, const QString& title = QString());
    void ShowErrorList(const QString& line);
    void ShowRefusal(const CDiaryVerdict& verdict);
    void UpdateTitle();

    CDateTimeEditCtrl* m_date;
    CxSqlComboList* m_place;
    CxSqlComboList* m_worker1;
    CxSqlComboList* m_worker2;
    CxSqlComboList* m_worker3;
    CxComboList* m_project;
    QLineEdit* m_comment;
    CxTab* m_tabs;
    QPushButton* m_addSheet;
    int m_highest = 0;
    bool m_tabsBuilt = false;
    bool m_loadingDraft = false;
};
