#pragma once
// What the directory tests stand on: a database at the current schema that
// the application's base connection uses, a configuration with the lists the
// forms offer, the table set, a main window whose MDI area takes the
// windows, and answers in place of the message boxes.
#include "framework/core/documents/doc_template.h"
#include "framework/core/table/self_register.h"
#include "tests/support/window_test_app.h"

#include <QStringList>
#include <QTest>

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

class DirectoryFixture : public WindowTestApp {
public:
    DirectoryFixture()
        : WindowTestApp(QStringLiteral("dirs"), kDirectoryConfiguration, QSize(1000, 700)) {
        m_db->Exec(QStringLiteral("INSERT INTO orginf VALUES "
                                  "(0,'OWN','Своя','','','','','','','','','','','','','','')"));
        m_db->Exec(QStringLiteral("INSERT INTO towns VALUES (1,0,'Область','Область'),"
                                  "(2,1,'Одесса','Одесса, Одесская обл.'),"
                                  "(3,1,'Измаил','Измаил, Одесская обл.')"));
    }
};
