#include "child_frames.h"

#include <QDockWidget>
#include <QMainWindow>

bool CJFrame::OnCreate() {
    if (!CxMDIChildWnd::OnCreate() || !FrameEnableDocking())
        return false;
    RestoreSizingBars();
    return true;
}

bool CJFrame::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    // The journal's list answers 2046 with its search panel; a docking bar
    // of that id serves a journal without one.
    if (id != ID_JOURNAL_BAR)
        return CxMDIChildWnd::OnCmdMsg(id, ui);
    if (CxMDIChildWnd::OnCmdMsg(id, ui))
        return true;
    QDockWidget* bar = nullptr;
    if (DockSite())
        for (QDockWidget* dock : DockSite()->findChildren<QDockWidget*>())
            if (dock->property("cxBarId").toUInt() == ID_JOURNAL_BAR)
                bar = dock;
    if (ui) {
        ui->enabled = bar != nullptr;
        ui->checkable = true;
        ui->checked = bar && bar->isVisible();
    } else if (bar) {
        bar->setVisible(!bar->isVisible());
    }
    return true;
}

bool CChildFrame::OnCreate() {
    return CxMDIChildWnd::OnCreate();
}
