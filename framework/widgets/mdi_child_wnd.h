#pragma once
// A document window inside the main frame's MDI area. Its view (the widget)
// may be a command target; a child that enables docking holds an inner main
// window, so that its view can carry docking bars.
#include "cmd_target.h"
#include "framework/core/app/base_class.h"

#include <QMdiSubWindow>
#include <QPointer>

class QMainWindow;

class CxMDIChildWnd : public QMdiSubWindow, public CBaseClass, public CxCmdTarget {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CxMDIChildWnd(QWidget* parent = nullptr);

    // Runs once the window is put up; false when it could not be set up.
    virtual bool OnCreate() { return true; }
    // The view of the document.
    void SetView(QWidget* view);
    QWidget* View() const { return m_view; }

    // Gives the window an inner main window for docking bars (on all sides).
    bool FrameEnableDocking();
    QMainWindow* DockSite() const { return m_dockSite; }
    // Restores the saved layout of the docking bars; false when none is saved.
    bool RestoreSizingBars();
    void SaveSizingBars();

    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Guarded: while the window goes, its view goes first, and the frame may
    // still route a command to the window in between.
    QPointer<QWidget> m_view;
    QMainWindow* m_dockSite = nullptr;
};
