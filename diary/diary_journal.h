#pragma once
// The journal of daily reports ("opendoc:CJDiaryMain"): a window with one tab,
// the list CJDiary of every dailyreport row in folders (a folder's name is its
// comment). A row opens in the daily report form (CDDiary); a new row is made
// in the folder shown; deleting a report deletes its sheets with it. The
// list's menu loads sheets filled in a spreadsheet into the folder shown,
// once the sheet import has said how (SetSheetLoader).
#include "framework/core/documents/document.h"
#include "framework/widgets/lists/sql_list_ctrl.h"
#include "framework/widgets/pages/tab_form_view.h"

#include <functional>

class CJDiaryMainDocument : public CxTabFormDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDiaryMainDocument(QObject* parent = nullptr) : CxTabFormDoc(parent) {}
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }
};

class CJDiaryMain : public CxTabFormView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CJDiaryMain(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    QString GetTitleFormatString() const override;
    bool OnInitialUpdate() override;
    // Titles follow a change of language: the tab is made again.
    void OnSettingsChanged() override;
    // Adds the journal's tab and shows it.
    void OnLoadTab();
};

class CJDiary : public CxSQLListCtrlEdit {
    Q_OBJECT
public:
    // The menu command that loads sheets into the folder shown.
    enum : unsigned { ID_LOAD_SHEETS_HERE = 2533 };
    // What loads sheets into a folder (the sheet import wizard, shown with the
    // list as parent).
    using SheetLoader = std::function<void(QWidget* parent, qint64 folder)>;
    static void SetSheetLoader(SheetLoader loader);

    Q_INVOKABLE explicit CJDiary(QWidget* parent = nullptr);
    static const QMetaObject* GetThisClass() { return &staticMetaObject; }

    bool CreateInplaceWindow(QWidget* host) override;
    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;

    // Asks, then loads sheets into the folder shown (the root when it is
    // gone); false when nothing was loaded.
    bool LoadSheetsHere();
    // Asks, then deletes the current report with its sheets; false when it
    // was not deleted.
    bool DeleteReport();

protected:
    void OnCreateContextMenuAfter(QMenu* menu) override;

private:
    QString RowName(int row) const;
};
