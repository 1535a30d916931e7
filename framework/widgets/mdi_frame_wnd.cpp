#include "mdi_frame_wnd.h"

#include "dialog.h"

#include "documents/doc_manager.h"
#include "errors/error_list.h"
#include "framework/core/app/cmd_handler_info.h"
#include "framework/core/tarvik_app.h"
#include "icons.h"
#include "main_menu_ext.h"
#include "mdi_child_wnd.h"
#include "menu_resource.h"
#include "settings_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>

namespace {
const QString kLayoutSection = QStringLiteral("Settings\\MainFrame");

void CollectActions(const QList<QAction*>& actions, QList<QAction*>& out) {
    for (QAction* action : actions) {
        if (QMenu* menu = action->menu())
            CollectActions(menu->actions(), out);
        else if (!action->isSeparator() && action->data().toUInt() != 0)
            out << action;
    }
}
} // namespace

CxMDIFrameWnd::CxMDIFrameWnd(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Command states follow the idle moments of the event loop, as often as
    // the user can notice.
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CxMDIFrameWnd::UpdateCommandUI);
    timer->start(250);
}

CxMDIFrameWnd::~CxMDIFrameWnd() {
    // The menus and their actions go after this class's members: they must
    // not reach the action list any more.
    for (QAction* action : std::as_const(m_actions))
        disconnect(action, nullptr, this, nullptr);
    m_actions.clear();
    // Closing the windows in the base's destructor still activates the next
    // one: the MDI area must not call into the part of the frame already gone.
    if (m_mdiArea)
        disconnect(m_mdiArea, nullptr, this, nullptr);
}

bool CxMDIFrameWnd::LoadFrame(int resourceId) {
    m_mainMenu = CxMenuResources::Load(resourceId, this);
    if (!m_mainMenu)
        return false;
    CMainMenuExt::BuildMenu(m_mainMenu);
    for (QAction* action : m_mainMenu->actions())
        menuBar()->addAction(action);
    if (CxIcons::Has(resourceId))
        setWindowIcon(CxIcons::Get(resourceId));
    if (!OnCreate())
        return false;
    BindActions();
    UpdateCommandUI();
    return true;
}

bool CxMDIFrameWnd::OnCreate() {
    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("MDIArea"));
    m_mdiArea->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CxMDIFrameWnd::UpdateCommandUI);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &CxMDIFrameWnd::UpdateFrameTitle);
    // A window that names where its keys go (a journal: its list) gets them
    // back when it comes forward again (a form closed over it), unless the
    // user had put them in one of its fields; its tab bar is no such field.
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* sub) {
        auto* child = qobject_cast<CxMDIChildWnd*>(sub);
        QPointer<QWidget> view = child ? child->View() : nullptr;
        if (!view || !view->focusProxy())
            return;
        QTimer::singleShot(0, view, [view] {
            // Never from a dialog in front of the main window.
            if (!view || !view->isActiveWindow())
                return;
            QWidget* focus = QApplication::focusWidget();
            if (view && (!focus || !view->isAncestorOf(focus) || qobject_cast<QTabBar*>(focus)))
                view->setFocus(Qt::OtherFocusReason);
        });
    });

    AddCommand(ID_APP_EXIT, [this] { close(); });
    AddCommand(ID_APP_OPTIONS, [this] {
        CSettingsDialog dialog(this);
        dialog.Build();
        // Open windows follow a change of language or translations.
        if (CxDoModal(&dialog) == IDOK)
            CxDocManager::Instance()->NotifySettingsChanged();
    });
    CxErrorListWnd::Install(this);
    AddCommand(
        ID_FILE_CLOSE,
        [this] {
            if (QMdiSubWindow* child = m_mdiArea->activeSubWindow())
                child->close();
        },
        [this](CxCmdUI& ui) { ui.enabled = m_mdiArea->activeSubWindow() != nullptr; });
    const auto hasChildren = [this](CxCmdUI& ui) {
        ui.enabled = !m_mdiArea->subWindowList().isEmpty();
    };
    AddCommand(
        ID_WINDOW_CASCADE,
        [this] {
            m_mdiArea->setViewMode(QMdiArea::SubWindowView);
            m_mdiArea->cascadeSubWindows();
        },
        hasChildren);
    AddCommand(
        ID_WINDOW_TILE_VERT, [this] { Tile(Qt::Horizontal); }, hasChildren);
    AddCommand(
        ID_WINDOW_TILE_HORZ, [this] { Tile(Qt::Vertical); }, hasChildren);
    AddCommand(
        ID_WINDOW_ARRANGE,
        [this] {
            // Lines up the minimised windows along the bottom edge.
            m_mdiArea->setViewMode(QMdiArea::SubWindowView);
            int x = 0;
            for (QMdiSubWindow* child : m_mdiArea->subWindowList())
                if (child->isMinimized()) {
                    child->move(x, m_mdiArea->viewport()->height() - child->height());
                    x += child->width();
                }
        },
        hasChildren);
    const auto barToggle = [](auto findBar) {
        return std::make_pair(
            [findBar] {
                if (QWidget* bar = findBar())
                    bar->setVisible(!bar->isVisible());
            },
            [findBar](CxCmdUI& ui) {
                QWidget* bar = findBar();
                ui.enabled = bar != nullptr;
                ui.checkable = true;
                ui.checked = bar && bar->isVisible();
            });
    };
    auto toolbar = barToggle([this]() -> QWidget* {
        return findChild<QToolBar*>(QString(), Qt::FindDirectChildrenOnly);
    });
    AddCommand(ID_VIEW_TOOLBAR, toolbar.first, toolbar.second);
    auto status = barToggle([this]() -> QWidget* {
        return findChild<QStatusBar*>(QString(), Qt::FindDirectChildrenOnly);
    });
    AddCommand(ID_VIEW_STATUS_BAR, status.first, status.second);
    return true;
}

void CxMDIFrameWnd::SetFrameTitle(const QString& title) {
    m_frameTitle = title;
    UpdateFrameTitle();
}

void CxMDIFrameWnd::UpdateFrameTitle() {
    QMdiSubWindow* child = m_mdiArea ? m_mdiArea->activeSubWindow() : nullptr;
    setWindowTitle(child && !child->windowTitle().isEmpty()
                       ? m_frameTitle + QStringLiteral(" - ") + child->windowTitle()
                       : m_frameTitle);
}

CxMDIChildWnd* CxMDIFrameWnd::ActiveChild() const {
    return m_mdiArea ? qobject_cast<CxMDIChildWnd*>(m_mdiArea->activeSubWindow()) : nullptr;
}

void CxMDIFrameWnd::AddChild(CxMDIChildWnd* child) {
    m_mdiArea->addSubWindow(child);
    if (!child->OnCreate()) {
        child->deleteLater();
        return;
    }
    child->show();
}

void CxMDIFrameWnd::EnableMDITabs(bool enable) {
    m_mdiArea->setViewMode(enable ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    m_mdiArea->setDocumentMode(true);
    m_mdiArea->setTabsClosable(true);
    m_mdiArea->setTabsMovable(true);
}

bool CxMDIFrameWnd::CloseAllWindows() {
    m_mdiArea->closeAllSubWindows();
    return m_mdiArea->subWindowList().isEmpty();
}

void CxMDIFrameWnd::Tile(Qt::Orientation orientation) {
    m_mdiArea->setViewMode(QMdiArea::SubWindowView);
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* child : m_mdiArea->subWindowList())
        if (!child->isMinimized() && child->isVisible())
            windows << child;
    if (windows.isEmpty())
        return;
    const QRect area = m_mdiArea->viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* child = windows[i];
        child->showNormal();
        if (orientation == Qt::Horizontal) {
            const int w = area.width() / n;
            child->setGeometry(i * w, 0, w, area.height());
        } else {
            const int h = area.height() / n;
            child->setGeometry(0, i * h, area.width(), h);
        }
    }
}

void CxMDIFrameWnd::AddCommand(unsigned id, CxAppCommands::Run run, CxAppCommands::Update update) {
    m_handlers.Add(id, std::move(run), std::move(update));
}

bool CxMDIFrameWnd::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    return m_handlers.OnCmdMsg(id, ui);
}

bool CxMDIFrameWnd::RouteCommand(unsigned id, CxCmdUI* ui) {
    if (CxMDIChildWnd* child = ActiveChild())
        if (child->OnCmdMsg(id, ui))
            return true;
    if (OnCmdMsg(id, ui))
        return true;
    if (CxAppCommands::OnCmdMsg(id, ui))
        return true;
    if (CTarvikApp* app = CTarvikApp::Instance()) {
        CxCmdHandlerInfo info;
        if (app->OnMapCmdToURL(id, 0, ui ? &info : nullptr))
            return true;
    }
    return false;
}

void CxMDIFrameWnd::BindActions() {
    QList<QAction*> actions;
    CollectActions(menuBar()->actions(), actions);
    for (QToolBar* bar : findChildren<QToolBar*>())
        CollectActions(bar->actions(), actions);
    for (QAction* action : actions) {
        if (m_actions.contains(action))
            continue;
        m_actions << action;
        connect(action, &QAction::triggered, this, &CxMDIFrameWnd::ActionTriggered);
        connect(action, &QObject::destroyed, this, [this, action] { m_actions.removeAll(action); });
    }
}

void CxMDIFrameWnd::ActionTriggered() {
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    // The check mark follows the handler's state in UpdateCommandUI.
    RouteCommand(action->data().toUInt());
    UpdateCommandUI();
}

void CxMDIFrameWnd::UpdateCommandUI() {
    for (QAction* action : std::as_const(m_actions)) {
        CxCmdUI ui;
        const bool handled = RouteCommand(action->data().toUInt(), &ui);
        action->setEnabled(handled && ui.enabled);
        if (ui.checkable != action->isCheckable())
            action->setCheckable(ui.checkable);
        if (ui.checkable && action->isChecked() != ui.checked)
            action->setChecked(ui.checked);
    }
}

QList<QAction*> CxMDIFrameWnd::CommandActions(unsigned id) const {
    QList<QAction*> list;
    for (QAction* action : m_actions)
        if (action->data().toUInt() == id)
            list << action;
    return list;
}

bool CxMDIFrameWnd::RestoreSizingBars() {
    const QByteArray geometry = QByteArray::fromBase64(
        CTarvikApp::GetProfileString(kLayoutSection, QStringLiteral("Geometry")).toLatin1());
    const QByteArray state = QByteArray::fromBase64(
        CTarvikApp::GetProfileString(kLayoutSection, QStringLiteral("State")).toLatin1());
    bool restored = false;
    if (!geometry.isEmpty())
        restored = restoreGeometry(geometry);
    if (!state.isEmpty())
        restored = restoreState(state) && restored;
    return restored;
}

void CxMDIFrameWnd::SaveSizingBars() {
    CTarvikApp::WriteProfileString(kLayoutSection, QStringLiteral("Geometry"),
                                   QString::fromLatin1(saveGeometry().toBase64()));
    CTarvikApp::WriteProfileString(kLayoutSection, QStringLiteral("State"),
                                   QString::fromLatin1(saveState().toBase64()));
}

void CxMDIFrameWnd::closeEvent(QCloseEvent* event) {
    if (m_mdiArea && !CloseAllWindows()) {
        event->ignore();
        return;
    }
    SaveSizingBars();
    QMainWindow::closeEvent(event);
}

bool CxMDIFrameWnd::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        UpdateCommandUI();
    return QMainWindow::event(event);
}
