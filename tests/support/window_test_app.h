#pragma once
// What a window test stands on: a database at the current schema that the
// application's base connection uses, the configuration given, the table set,
// a main window whose MDI area takes the windows the document manager opens,
// and answers in place of the message boxes (the questions asked are kept).
// Header-only: it needs the widget libraries its tests link anyway.
#include "db/mysql_connection.h"
#include "framework/core/app/russian_language.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QMdiArea>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>

class WindowTestApp {
public:
    WindowTestApp(const QString& database, const char* configuration, QSize size)
        : m_db(std::make_unique<SchemaTestDatabase>(database)) {
        // What users see: Qt's texts, calendars and dates in Russian.
        InstallRussianLanguage();
        auto* config = new xKDConfiguration;
        config->ParseConfig(QString::fromUtf8(configuration), QStringLiteral("test"));
        CTarvikApp::SetConfig(config);
        auto* sql = new CxMySQL;
        SQLConnectXML info = m_db->Info();
        sql->Connect(&info);
        g_pBaseSQLConnection.reset(sql);
        InitTables();
        m_frame = std::make_unique<CxMDIFrameWnd>();
        m_frame->OnCreate();
        m_frame->resize(size);
        m_frame->show();
        CxDocManager::Instance()->SetFrame(m_frame.get());
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_questions << text;
            if (m_onQuestion)
                m_onQuestion(text);
            return m_answer;
        });
    }
    ~WindowTestApp() {
        m_frame->MDIArea()->closeAllSubWindows();
        SetMessageAnswerer({});
        CxDocManager::Instance()->SetFrame(nullptr);
        m_frame.reset();
        g_pBaseSQLConnection.reset();
        m_db.reset();
    }
    WindowTestApp(const WindowTestApp&) = delete;
    WindowTestApp& operator=(const WindowTestApp&) = delete;

    SchemaTestDatabase& Db() { return *m_db; }
    CxMDIFrameWnd* Frame() { return m_frame.get(); }
    int Windows() { return int(m_frame->MDIArea()->subWindowList().size()); }
    // The answer the next questions get (IDYES, IDNO, IDCANCEL), and the
    // questions asked so far.
    void Answer(int answer) { m_answer = answer; }
    QStringList& Questions() { return m_questions; }
    // Runs while a question is up, before it is answered (another copy of
    // the program acting meanwhile); an empty function removes it.
    void OnQuestion(std::function<void(const QString&)> action) {
        m_onQuestion = std::move(action);
    }

protected:
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CxMDIFrameWnd> m_frame;
    int m_answer = IDYES;
    QStringList m_questions;
    std::function<void(const QString&)> m_onQuestion;
};
