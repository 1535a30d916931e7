#pragma once
// The program as a user meets it: the real main window built from its menu
// resource, with its menus and tool bar, over a fresh database at the
// current schema; and the user's hands: menu items found by their visible
// text, buttons pressed by their text, text typed into a field. Modal windows
// are driven through the modal driver (the test's hands take the dialog the
// command opened), message boxes through the message answerer.
#include "app/command_ids.h"
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "framework/core/app/modules_info.h"
#include "framework/core/table/self_register.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>
#include <functional>
#include <memory>

class UserPathShell {
public:
    // `seed` fills the database before the program connects to it.
    bool Open(const QString& settingsDir, const QString& purpose, const QString& configuration,
              QString* error, const std::function<void(SchemaTestDatabase&)>& seed = {}) {
        CTarvikApp::SetAllUsersFile(QDir(settingsDir).filePath(QStringLiteral("AllUsers.conf")));
        m_db = std::make_unique<SchemaTestDatabase>(purpose);
        if (seed)
            seed(*m_db);
        if (!Connect(m_db->Info()))
            return Fail(error, QStringLiteral("no connection to the test database"));
        m_app = std::make_unique<CKelda2App>();
        auto config = std::make_unique<xKDConfiguration>();
        if (!config->ParseConfig(configuration, QStringLiteral("test")))
            return Fail(error, QStringLiteral("the configuration does not parse"));
        CTarvikApp::SetConfig(config.release());
        if (!InitTables())
            return Fail(error, QStringLiteral("the tables do not register"));
        m_frame = std::make_unique<CMainFrame>();
        if (!m_frame->LoadFrame(IDR_MAINFRAME))
            return Fail(error, QStringLiteral("the main window does not load"));
        m_app->SetMainWnd(m_frame.get());
        m_app->RegisterAppCommands();
        CGlobalRegisterObject::InitGroup(OBJGROUP_DOC_TEMPLATES);
        m_frame->resize(1100, 700);
        m_frame->show();
        CxDocManager::Instance()->SetFrame(m_frame.get());
        return true;
    }
    void Close() {
        SetModalDriver({});
        SetMessageAnswerer({});
        if (m_frame)
            m_frame->MDIArea()->closeAllSubWindows();
        CxDocManager::Instance()->SetFrame(nullptr);
        if (m_app)
            m_app->SetMainWnd(nullptr);
        m_frame.reset();
        m_app.reset();
        g_pBaseSQLConnection.reset();
        m_db.reset();
        CTarvikApp::SetAllUsersFile(QString());
    }
    // Makes the program's base connection one to `info`'s database.
    static bool Connect(SQLConnectXML info) {
        auto sql = std::make_unique<CxMySQL>();
        if (!sql->Connect(&info))
            return false;
        g_pBaseSQLConnection = std::move(sql);
        return true;
    }

    SchemaTestDatabase& Db() { return *m_db; }
    CKelda2App& App() { return *m_app; }
    CMainFrame& Frame() { return *m_frame; }

    // The main menu's item at the end of `path` (visible texts, without
    // the "&" of their keys); null when there is none.
    QAction* MenuItem(const QStringList& path) const {
        QList<QAction*> actions = m_frame->menuBar()->actions();
        QAction* found = nullptr;
        for (const QString& text : path) {
            found = nullptr;
            for (QAction* action : actions)
                if (Visible(action->text()) == text) {
                    found = action;
                    break;
                }
            if (!found)
                return nullptr;
            actions = found->menu() ? found->menu()->actions() : QList<QAction*>();
        }
        return found;
    }
    // Chooses the menu item as a user does: it must be there and enabled.
    // `modal` takes the modal window the command opens (if it opens one).
    bool Choose(const QStringList& path, const std::function<void(QDialog*)>& modal = {}) {
        m_frame->UpdateCommandUI();
        QAction* action = MenuItem(path);
        if (!action || !action->isEnabled())
            return false;
        SetModalDriver(modal);
        action->trigger();
        SetModalDriver({});
        QCoreApplication::processEvents();
        return true;
    }

    // The visible text of a caption: without the "&" of its key.
    static QString Visible(QString text) { return text.remove(u'&'); }
    // The enabled button of `window` with that visible text, or null.
    static QAbstractButton* Button(QWidget* window, const QString& text) {
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
            if (Visible(button->text()) == text && button->isVisible() && button->isEnabled())
                return button;
        return nullptr;
    }
    // Presses the button as a user does; false when there is none to press.
    static bool Press(QWidget* window, const QString& text) {
        QAbstractButton* button = Button(window, text);
        if (!button)
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }
    // Clears the field as a user does (select all, delete) and types `text`.
    static void Type(QWidget* field, const QString& text) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }

private:
    static bool Fail(QString* error, const QString& why) {
        if (error)
            *error = why;
        return false;
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CKelda2App> m_app;
    std::unique_ptr<CMainFrame> m_frame;
};
