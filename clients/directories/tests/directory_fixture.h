#pragma once
// What the directory tests stand on: a database at the current schema that
// the application's base connection uses, a configuration with the lists the
// forms offer, the table set, a main window whose MDI area takes the
// windows, and answers in place of the message boxes.
#include "db/mysql_connection.h"
#include "framework/core/documents/doc_template.h"
#include "framework/core/table/self_register.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/documents/doc_manager.h"
#include "framework/widgets/mdi_frame_wnd.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"
#include "tests/support/schema_test_database.h"

#include <QMdiArea>
#include <QStringList>
#include <QTest>
#include <memory>

inline const char kDirectoryConfiguration[] =
    "<CONFIGURATION><PERIODS BACKUPREMINDER='3'/><LANGUAGE>\n"
    "<WORKERTYPE><Item ID='1' Title='Аутрич-работник'/><Item ID='2' Title='Врач'/></WORKERTYPE>\n"
    "<DONORS><Item ID='1' Title='Глобальный фонд'/><Item ID='2' Title='Местный бюджет'/>"
    "</DONORS>\n"
    "<TOOLTIPS><Item ID='1' Name='Opiate' Title='Героин, опий, метадон'/></TOOLTIPS>\n"
    "<SERVICES><Item ID='1' Title='Социальные услуги'/><Item ID='3' Title='Юридические услуги'/>"
    "<Item ID='2' Title='Медицинские услуги'/></SERVICES>\n"
    "<DIRECTIONANDCONSULTING><Item ID='1' Title='Консультация по ВИЧ/СПИДу'/>"
    "<Item ID='2' Title='Тестирование на ВИЧ'/></DIRECTIONANDCONSULTING>\n"
    "</LANGUAGE></CONFIGURATION>\n";

class DirectoryFixture {
public:
    DirectoryFixture() : m_db(std::make_unique<SchemaTestDatabase>(QStringLiteral("dirs"))) {
        auto* config = new xKDConfiguration;
        config->ParseConfig(QString::fromUtf8(kDirectoryConfiguration), QStringLiteral("test"));
        CTarvikApp::SetConfig(config);
        auto* sql = new CxMySQL;
        SQLConnectXML info = m_db->Info();
        sql->Connect(&info);
        g_pBaseSQLConnection.reset(sql);
        InitTables();
        m_frame = std::make_unique<CxMDIFrameWnd>();
        m_frame->OnCreate();
        m_frame->resize(1000, 700);
        m_frame->show();
        CxDocManager::Instance()->SetFrame(m_frame.get());
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_questions << text;
            return m_answer;
        });
        m_db->Exec(QStringLiteral("INSERT INTO orginf VALUES "
                                  "(0,'OWN','Своя','','','','','','','','','','','','','','')"));
        m_db->Exec(QStringLiteral("INSERT INTO towns VALUES (1,0,'Область','Область'),"
                                  "(2,1,'Одесса','Одесса, Одесская обл.'),"
                                  "(3,1,'Измаил','Измаил, Одесская обл.')"));
    }
    ~DirectoryFixture() {
        m_frame->MDIArea()->closeAllSubWindows();
        SetMessageAnswerer({});
        CxDocManager::Instance()->SetFrame(nullptr);
        m_frame.reset();
        g_pBaseSQLConnection.reset();
        m_db.reset();
    }

    SchemaTestDatabase& Db() { return *m_db; }
    CxMDIFrameWnd* Frame() { return m_frame.get(); }
    // The answer the next questions get (IDYES, IDNO, IDCANCEL), and the
    // questions asked so far.
    void Answer(int answer) { m_answer = answer; }
    QStringList& Questions() { return m_questions; }

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<CxMDIFrameWnd> m_frame;
    int m_answer = IDYES;
    QStringList m_questions;
};
