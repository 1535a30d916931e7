#include "child_frames.h"

#include <QDockWidget>
#include <QMainWindow>

int CJFrame::OnCreate() {
    if (CxMDIChildWnd::OnCreate() != 0)
        return -1;
    if (!FrameEnableDocking())
        return -1;
    RestoreSizingBars();
    return 0;
}

bool CJFrame::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    if (id != ID_JOURNAL_BAR)
        return CxMDIChildWnd::OnCmdMsg(id, ui);
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

int CChildFrame::OnCreate() {
    return CxMDIChildWnd::OnCreate() != 0 ? -1 : 0;
}
