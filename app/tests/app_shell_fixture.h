#pragma once
// The program's shell as the command tests need it: a fresh database at the
// current schema as the program's base connection, the application object
// with a configuration, the tables and document templates registered, and a
// shown main frame the document manager opens its windows in. The users'
// settings file goes to a folder the test owns, so no test reads another's.
// OpenMainWindow stands the program's own main window instead (CMainFrame
// with the menus of its menu resource, the tool bar, the status bar and the
// application's commands) and the change watcher, as the program starts.
#include "app/kelda2_app.h"
#include "app/main_frame.h"
#include "framework/core/app/modules_info.h"
#include "framework/core/table/self_register.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QDir>
#include <QMdiArea>
#include <functional>
#include <memory>

// Makes `xml` the program's configuration; false when it does not parse.
inline bool UseConfiguration(const QString& xml) {
    auto config = std::make_unique<xKDConfiguration>();
    if (!config->ParseConfig(xml, QStringLiteral("test")))
        return false;
    CTarvikApp::SetConfig(config.release());
    return true;
}

// A configuration that reminds of a backup after `days` days (0: never).
inline QString BackupReminderConfiguration(int days) {
    return QStringLiteral("<CONFIGURATION><PERIODS BACKUPREMINDER='%1'/></CONFIGURATION>")
        .arg(days);
}
inline bool UseBackupReminder(int days) {
    return UseConfiguration(BackupReminderConfiguration(days));
}

class AppShellFixture {
public:
    // `seed` fills the database before the program connects to it.
    bool Open(const QString& settingsDir, const QString& purpose, const QString& configuration,
              QString* error, const std::function<void(SchemaTestDatabase&)>& seed = {}) {
        if (!Prepare(settingsDir, purpose, configuration, error, seed))
            return false;
        CGlobalRegisterObject::InitGroup(OBJGROUP_DOC_TEMPLATES);
        m_ownFrame = std::make_unique<CxMDIFrameWnd>();
        m_ownFrame->OnCreate();
        m_ownFrame->show();
        m_frame = m_ownFrame.get();
        CxDocManager::Instance()->SetFrame(m_frame);
        return true;
    }
    // As Open, with the program's own main window and commands; the start
    // page is not opened.
    bool OpenMainWindow(const QString& settingsDir, const QString& purpose,
                        const QString& configuration, QString* error,
                        const std::function<void(SchemaTestDatabase&)>& seed = {}) {
        if (!Prepare(settingsDir, purpose, configuration, error, seed))
            return false;
        // As at start: the change watcher tells the open lists of changes.
        g_pBaseSQLConnection->StartWatchdog();
        if (!m_app->CreateMainFrame())
            return Fail(error, QStringLiteral("the main window cannot be built"));
        m_frame = m_app->MainFrame();
        return true;
    }
    void Close() {
        if (m_frame)
            m_frame->MDIArea()->closeAllSubWindows();
        CxDocManager::Instance()->SetFrame(nullptr);
        m_ownFrame.reset();
        m_frame = nullptr;
        // The application deletes its own main window.
        m_app.reset();
        g_pBaseSQLConnection.reset();
        m_db.reset();
        CTarvikApp::SetAllUsersFile(QString());
    }

    SchemaTestDatabase& Db() { return *m_db; }
    CKelda2App& App() { return *m_app; }
    CxMDIFrameWnd& Frame() { return *m_frame; }
    // The program's main window (OpenMainWindow only).
    CMainFrame& MainFrame() { return *m_app->MainFrame(); }

private:
    bool Prepare(const QString& settingsDir, const QString& purpose, const QString& configuration,
                 QString* error, const std::function<void(SchemaTestDatabase&)>& seed) {
        CTarvikApp::SetAllUsersFile(QDir(settingsDir).filePath(QStringLiteral("AllUsers.conf")));
        m_db = std::make_unique<SchemaTestDatabase>(purpose);
        if (seed)
            seed(*m_db);
        auto sql = std::make_unique<CxMySQL>();
        SQLConnectXML info = m_db->Info();
        if (!sql->Connect(&info))
            return Fail(error, QStringLiteral("no connection to the test database"));
        g_pBaseSQLConnection = std::move(sql);
        m_app = std::make_unique<CKelda2App>();
        if (!UseConfiguration(configuration))
            return Fail(error, QStringLiteral("the configuration does not parse"));
        if (!InitTables())
            return Fail(error, QStringLiteral("the tables do not register"));
        return true;
    }
    static bool Fail(QString* error, const QString& why) {
        if (error)
            *error = why;
        return false;
    }

    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CKelda2App> m_app;
    std::unique_ptr<CxMDIFrameWnd> m_ownFrame;
    CxMDIFrameWnd* m_frame = nullptr;
};
