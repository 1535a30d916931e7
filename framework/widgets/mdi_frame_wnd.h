#pragma once
// The main window of an MDI program: menu bar built from a menu resource,
// tool bars, status bar and the MDI area holding document windows, by
// default as tabs. It routes every command of its menus and tool bars (see
// cmd_target.h) and keeps their enabled and checked states current.
#include "cmd_target.h"
#include "framework/core/app/base_class.h"

#include <QHash>
#include <QMainWindow>

class CxMDIChildWnd;
class QMdiArea;
class QMenu;

class CxMDIFrameWnd : public QMainWindow, public CBaseClass, public CxCmdTarget {
    Q_OBJECT
public:
    explicit CxMDIFrameWnd(QWidget* parent = nullptr);
    ~CxMDIFrameWnd() override;

    // Builds the main menu from the menu resource (letting the menu
    // extensions adjust it), takes the icon of the same number and runs
    // OnCreate; false when the menu is unknown or OnCreate fails.
    bool LoadFrame(int resourceId);
    // False when the frame could not be set up; the base sets up the MDI area.
    virtual bool OnCreate();

    // The frame's own title; the active document's title follows it.
    void SetFrameTitle(const QString& title);
    QString FrameTitle() const { return m_frameTitle; }

    QMdiArea* MDIArea() const { return m_mdiArea; }
    QMenu* MainMenu() const { return m_mainMenu; }
    CxMDIChildWnd* ActiveChild() const;
    void AddChild(CxMDIChildWnd* child);
    // Documents as tabs (true) or as overlapping windows.
    void EnableMDITabs(bool enable);
    // Closes every document window; false when one stayed open.
    bool CloseAllWindows();

    // The frame's own command handlers.
    void AddCommand(unsigned id, CxAppCommands::Run run, CxAppCommands::Update update = {});
    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override;
    // Routes a command the way menus and buttons do; false when nobody
    // handles it. With ui set only asks for its state.
    bool RouteCommand(unsigned id, CxCmdUI* ui = nullptr);
    // Connects every command action of the menu bar and the tool bars.
    void BindActions();
    void UpdateCommandUI();
    // Every menu item and button that carries the command id.
    QList<QAction*> CommandActions(unsigned id) const;

    // The saved window and bar layout.
    bool RestoreSizingBars();
    void SaveSizingBars();

    // Standard command ids of the frame.
    enum : unsigned {
        ID_FILE_CLOSE = 57602,
        ID_APP_EXIT = 57665,
        ID_APP_OPTIONS = 1881, // the settings dialog with every options page
        ID_WINDOW_ARRANGE = 57649,
        ID_WINDOW_CASCADE = 57650,
        ID_WINDOW_TILE_HORZ = 57651,
        ID_WINDOW_TILE_VERT = 57652,
        ID_VIEW_TOOLBAR = 59392,
        ID_VIEW_STATUS_BAR = 59393,
    };

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void Tile(Qt::Orientation orientation);
    void UpdateFrameTitle();
    void ActionTriggered();

    QMdiArea* m_mdiArea = nullptr;
    QMenu* m_mainMenu = nullptr;
    QString m_frameTitle;
    QList<QAction*> m_actions;
    CxCommandMap m_handlers;
};
