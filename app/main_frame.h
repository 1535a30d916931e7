#pragma once
// The program's main window: title with the connection in use, the tool bar
// of command groups, the status bar and the MDI area with documents as tabs.
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/tool_bar.h"

class CxStatusBar;

class CMainFrame : public CxMDIFrameWnd {
    Q_OBJECT
public:
    class CxToolBarThis : public CxToolBar {
    public:
        using CxToolBar::CxToolBar;
        ~CxToolBarThis() override;
    };

    explicit CMainFrame(QWidget* parent = nullptr);
    bool OnCreate() override;

    CxToolBarThis* ToolBar() const { return m_wndToolBar; }
    CxStatusBar* StatusBar() const { return m_wndStatusBar; }

    // "Kelda2 (<connection name>/<user>)".
    static QString MakeTitle(const QString& connectionName, const QString& user);

private:
    CxToolBarThis* m_wndToolBar = nullptr;
    CxStatusBar* m_wndStatusBar = nullptr;
};
