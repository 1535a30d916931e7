// Command routing of the main frame: the active document's view first, then
// the frame, then the application's command map, last the application's
// command addresses; a command that nobody handles stays disabled, and the
// first handler also decides how its menu item shows.
#include "framework/core/app/cmd_handler_info.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/mdi_child_wnd.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/menu_resource.h"

#include <QAction>
#include <QMdiArea>
#include <QTest>

namespace {
// Command ids of the test: each is handled by the levels from its own down.
enum : unsigned {
    ID_BY_VIEW = 40001, // view, frame, application, address
    ID_BY_FRAME,        // frame, application, address
    ID_BY_APP,          // application, address
    ID_BY_ADDRESS,      // address only
    ID_BY_NOBODY,
    ID_VIEW_DISABLES, // the view handles it but disables it; the frame would enable it
};
constexpr int kMenu = 40100;

QStringList g_ran;

CxCommandMap::Run Record(const QString& who, unsigned id) {
    return [who, id] { g_ran << QStringLiteral("%1:%2").arg(who).arg(id); };
}

class View : public QWidget, public CxCmdTarget {
public:
    View() {
        m_map.Add(ID_BY_VIEW, Record("view", ID_BY_VIEW));
        m_map.Add(ID_VIEW_DISABLES, Record("view", ID_VIEW_DISABLES),
                  [](CxCmdUI& ui) { ui.enabled = false; });
    }
    bool OnCmdMsg(unsigned id, CxCmdUI* ui) override { return m_map.OnCmdMsg(id, ui); }

private:
    CxCommandMap m_map;
};

class App : public CTarvikApp {
public:
    bool OnProcessURL(const QString& address) override {
        g_ran << QStringLiteral("address:") + address;
        return true;
    }
};
} // namespace

class TestCommandRouting : public QObject {
    Q_OBJECT
    App m_app;
    std::unique_ptr<CxMDIFrameWnd> m_frame;

private slots:
    void initTestCase() {
        QList<CxMenuItem> items;
        for (unsigned id = ID_BY_VIEW; id <= ID_VIEW_DISABLES; ++id)
            items << CxMenuItem::Command(id, QStringLiteral("Команда %1").arg(id));
        CxMenuResources::Register(kMenu, {CxMenuItem::Popup(QStringLiteral("Тест"), items)});
        for (unsigned id : {ID_BY_VIEW, ID_BY_FRAME, ID_BY_APP, ID_BY_ADDRESS})
            CTarvikApp::RegisterCmdToURL(id, QStringLiteral("opendoc:%1").arg(id));
        for (unsigned id : {ID_BY_VIEW, ID_BY_FRAME, ID_BY_APP})
            CxAppCommands::Add(id, Record("app", id));

        m_frame = std::make_unique<CxMDIFrameWnd>();
        QVERIFY(m_frame->LoadFrame(kMenu));
        for (unsigned id : {ID_BY_VIEW, ID_BY_FRAME, ID_VIEW_DISABLES})
            m_frame->AddCommand(id, Record("frame", id));
        m_frame->show();
        auto* child = new CxMDIChildWnd;
        child->SetView(new View);
        m_frame->AddChild(child);
        m_frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
        m_frame->MDIArea()->setActiveSubWindow(child);
        QCOMPARE(m_frame->ActiveChild(), child);
    }

    void cleanupTestCase() {
        for (unsigned id : {ID_BY_VIEW, ID_BY_FRAME, ID_BY_APP})
            CxAppCommands::Remove(id);
        m_frame.reset();
    }

    void firstHandlerRuns_data() {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("ran");
        QTest::newRow("view") << uint(ID_BY_VIEW) << "view:40001";
        QTest::newRow("frame") << uint(ID_BY_FRAME) << "frame:40002";
        QTest::newRow("application") << uint(ID_BY_APP) << "app:40003";
        QTest::newRow("command address") << uint(ID_BY_ADDRESS) << "address:opendoc:40004";
    }
    void firstHandlerRuns() {
        QFETCH(uint, id);
        QFETCH(QString, ran);
        g_ran.clear();
        // As the user chooses it: the menu item.
        const QList<QAction*> actions = m_frame->CommandActions(id);
        QCOMPARE(actions.size(), 1);
        actions.first()->trigger();
        // A command address runs after the command returns.
        QTRY_COMPARE(g_ran, QStringList{ran});
    }

    void nobodyHandlesIt() {
        g_ran.clear();
        QVERIFY(!m_frame->RouteCommand(ID_BY_NOBODY));
        CxCmdUI ui;
        QVERIFY(!m_frame->RouteCommand(ID_BY_NOBODY, &ui));
        QCoreApplication::processEvents();
        QVERIFY(g_ran.isEmpty());
    }

    void menuItemStates_data() {
        QTest::addColumn<uint>("id");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("handled") << uint(ID_BY_VIEW) << true;
        QTest::newRow("claimed by its address") << uint(ID_BY_ADDRESS) << true;
        QTest::newRow("nobody handles it") << uint(ID_BY_NOBODY) << false;
        QTest::newRow("the first handler disables it") << uint(ID_VIEW_DISABLES) << false;
    }
    void menuItemStates() {
        QFETCH(uint, id);
        QFETCH(bool, enabled);
        g_ran.clear();
        m_frame->UpdateCommandUI();
        QCOMPARE(m_frame->CommandActions(id).first()->isEnabled(), enabled);
        // Asking runs nothing and queues no address.
        QCoreApplication::processEvents();
        QVERIFY(g_ran.isEmpty());
        QVERIFY(CTarvikApp::TakeAppQueries().isEmpty());
    }

    // Run without its menu item (a key, another window), a command the first
    // handler disables runs neither there nor further down.
    void aDisabledCommandRunsNowhere() {
        g_ran.clear();
        QVERIFY(m_frame->RouteCommand(ID_VIEW_DISABLES));
        QCoreApplication::processEvents();
        QVERIFY(g_ran.isEmpty());
    }

    void withoutADocumentTheFrameIsFirst() {
        m_frame->CloseAllWindows();
        QVERIFY(!m_frame->ActiveChild());
        g_ran.clear();
        QVERIFY(m_frame->RouteCommand(ID_BY_VIEW));
        QCOMPARE(g_ran, QStringList{"frame:40001"});
        CxCmdUI ui;
        QVERIFY(m_frame->RouteCommand(ID_VIEW_DISABLES, &ui));
        QVERIFY(ui.enabled);
    }
};

QTEST_MAIN(TestCommandRouting)
#include "test_command_routing.moc"
