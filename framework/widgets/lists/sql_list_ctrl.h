#pragma once
// The list of a table in a window: the rows of one folder of a table
// descriptor's list query (CxSQLListModel), shown in a table view that asks
// for more rows as the user scrolls, with a bar above it that shows the
// folder path and leads back up. A folder opens with a double click (or
// Enter); Backspace goes up. The list reloads when its table changes and
// keeps the current row.
//
// CxSQLListCtrlEdit adds the editing commands: open a row in its record form
// (2055), a new row (2056), delete (2057) and a new folder (2030), from the
// tool bar, the context menu and the keyboard (Enter, Insert, Delete).
//
// The search panel (2046) stands beside the rows: its criteria narrow the
// list on the server within the current folder, and are kept with the
// list's state (as is whether the panel is shown); a hidden panel narrows
// nothing.
#include "framework/core/lists/sql_list_model.h"
#include "framework/widgets/cmd_target.h"

#include <QSet>
#include <QWidget>
#include <memory>

class CDXRecordSQL;
class CDXX;
class CxSQLSearchPanel;
class CxFormView;
class QLabel;
class QMenu;
class QTableView;
class QToolButton;

// A window that a tab (or another host) makes from its run-time class and
// then lets set itself up.
class CxInplaceWindow {
public:
    virtual ~CxInplaceWindow() = default;
    // Sets the window up inside its host; false when it cannot be.
    virtual bool CreateInplaceWindow(QWidget* host) = 0;
};

// Command ids of the lists besides the edit actions 2055, 2056 and 2057.
enum : unsigned {
    ID_LIST_NEW_FOLDER = 2030,
    ID_LIST_SEARCH_PANEL = 2046,
};

class CxSQLListCtrl : public QWidget, public CxCmdTarget, public CxInplaceWindow {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxSQLListCtrl(QWidget* parent = nullptr);
    ~CxSQLListCtrl() override;

    // Set-up, as CxSQLListModel's: Begin, the columns, folders, filters,
    // grouping, End (which loads the first rows).
    void Begin(CxTable* table, const QString& name);
    int RegisterField(const CxField* field, const QString& caption = QString(), qint64 flags = -1);
    void EnableFolders(const CxField* name, const CxField* mark, const CxField* parent);
    void AddFilter(const CxSQLFilter* filter);
    void AddGroupBy(const CxField* field);
    CxColumnData* FindSColumnData(const CxField* field);
    bool End();

    bool CreateInplaceWindow(QWidget* host) override;

    CxSQLListModel* Model() const { return m_model; }
    QTableView* View() const { return m_view; }
    CxSQLSearchPanel* SearchPanel() const { return m_search; }
    // Shows or hides the search panel; the list is read again when that
    // changes what it shows.
    void ShowSearchPanel(bool show);
    CxTable* GetTable() const { return m_model->GetTable(); }

    // The key of the current row, -1 when there is none.
    qint64 CurrentKey() const;
    bool IsCurrentFolder() const;
    // Makes the row of that key current, opening its folder first; false
    // when there is no such row.
    bool SelectKey(qint64 key);
    // Opens a folder (0: the root), or the folder above the current one.
    bool OpenFolder(qint64 folder);
    bool FolderUp();

    // The name under which the column layout is kept ("State\<name>").
    void SetStateVariableName(const QString& name) { m_stateName = name; }
    void StoreState();
    void RestoreState();

    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override;
    // «Передать в MS Excel»: every row of the list as a workbook, opened;
    // answers its path, empty when cancelled or failed.
    QString ExportToExcel();
    virtual bool CanProcessCommand(unsigned id, CxCmdUI& ui);
    virtual bool ProcessCommand(unsigned id);

signals:
    void currentKeyChanged(qint64 key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A row was opened (double click, Enter): a folder opens; other rows
    // are the editing list's business.
    virtual void OnOpenRow(int row);
    virtual void OnCreateContextMenuBefore(QMenu* menu);
    virtual void OnCreateContextMenuAfter(QMenu* menu);

private:
    void UpdateFolderBar();
    void FitColumns(bool first);
    void ShowContextMenu(const QPoint& pos);
    void RememberCurrent();
    void RestoreCurrent();
    void OnSearchChanged();
    void ReadSearchResult();
    QString SearchStateKey() const { return QStringLiteral("State\\") + m_stateName; }

    CxSQLListModel* m_model;
    QTableView* m_view;
    CxSQLSearchPanel* m_search;
    QWidget* m_folderBar;
    QToolButton* m_up;
    QLabel* m_path;
    QString m_stateName;
    QSet<int> m_userSized; // columns whose width the user (or a saved layout) set
    bool m_fitting = false;
    qint64 m_rememberedKey = -1;
    int m_rememberedRow = -1;
};

// Editing through a record form: the form class that opens a row of the
// list (given by run-time class or by class name; a name resolves when it
// is used, so a form that joins later is found then).
class CDXList {
public:
    virtual ~CDXList() = default;
    void SetDXEditorClass(const QMetaObject* formClass);
    void SetDXEditorClass(const QString& formClassName);
    // The form class, null while none is known.
    const QMetaObject* GetDXEditorClass() const;
    bool HasDXEditor() const { return GetDXEditorClass() != nullptr; }

    // The record the form of a row opens on; null lets the form read its
    // own record of the key.
    virtual std::unique_ptr<CDXRecordSQL> AllocateDXRecord(qint64 key);
    // The form was opened for a row of the list.
    virtual void OnBeforeReleaseDXForm(CxFormView* form) { (void)form; }

private:
    QString m_editorName;
};

class CxSQLListCtrlEdit : public CxSQLListCtrl, public CDXList {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxSQLListCtrlEdit(QWidget* parent = nullptr);

    // Opens the record form on a row (2055), on a new row in the current
    // folder (2056, key -1); false when there is no form or it did not open.
    bool OpenRecord(qint64 key, int mode);
    // Makes a folder of that name in the current folder; false (with the
    // reason in the error list) when it could not be stored.
    bool NewFolder(const QString& name);
    // Deletes the current row after the user's confirmation (a folder only
    // when empty, a row only when nothing refers to it).
    bool DeleteCurrent();

    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;

protected:
    // A new folder is about to be stored: its record is in the exchange
    // (saving); a list sets what else a folder of its kind needs.
    virtual void OnPreCreateFolder(CDXX& dx);
    void OnOpenRow(int row) override;
    void OnCreateContextMenuBefore(QMenu* menu) override;

private:
    bool AskFolderName(QString* name);
};
