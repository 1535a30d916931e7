#include "mdi_child_wnd.h"

#include "framework/core/tarvik_app.h"

#include <QCloseEvent>
#include <QMainWindow>

namespace {
QString LayoutSection() {
    return QStringLiteral("Settings\\Frames");
}
} // namespace

CxMDIChildWnd::CxMDIChildWnd(QWidget* parent) : QMdiSubWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
}

void CxMDIChildWnd::SetView(QWidget* view) {
    m_view = view;
    if (m_dockSite)
        m_dockSite->setCentralWidget(view);
    else
        setWidget(view);
    if (view && !view->windowTitle().isEmpty())
        setWindowTitle(view->windowTitle());
}

bool CxMDIChildWnd::FrameEnableDocking() {
    if (m_dockSite)
        return true;
    m_dockSite = new QMainWindow(this);
    m_dockSite->setWindowFlags(Qt::Widget);
    m_dockSite->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    if (m_view)
        m_dockSite->setCentralWidget(m_view);
    setWidget(m_dockSite);
    return true;
}

bool CxMDIChildWnd::RestoreSizingBars() {
    if (!m_dockSite || objectName().isEmpty())
        return false;
    const QByteArray state = QByteArray::fromBase64(
        CTarvikApp::GetProfileString(LayoutSection(), objectName()).toLatin1());
    return !state.isEmpty() && m_dockSite->restoreState(state);
}

void CxMDIChildWnd::SaveSizingBars() {
    if (m_dockSite && !objectName().isEmpty())
        CTarvikApp::WriteProfileString(LayoutSection(), objectName(),
                                       QString::fromLatin1(m_dockSite->saveState().toBase64()));
}

bool CxMDIChildWnd::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    if (auto* target = dynamic_cast<CxCmdTarget*>(m_view.data()))
        return target->OnCmdMsg(id, ui);
    return false;
}

void CxMDIChildWnd::closeEvent(QCloseEvent* event) {
    // A view that refuses to close (unsaved data) keeps its window open.
    if (m_view && !m_view->close()) {
        event->ignore();
        return;
    }
    SaveSizingBars();
    QMdiSubWindow::closeEvent(event);
}
