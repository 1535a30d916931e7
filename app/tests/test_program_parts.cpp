// The program keeps the parts that register themselves from static
// libraries (the table set, the options page, the organisation card's
// settings page) and the database tests, though no code of the program names
// them. This test names none of them either: it links the program's code
// alone, as the program does.
#include "framework/core/app/modules_info.h"
#include "framework/core/dbtest/db_test.h"
#include "framework/core/table/self_register.h"

#include <QTest>

class TestProgramParts : public QObject {
    Q_OBJECT
private slots:
    void selfRegisteredPartsAreLinked() {
        CSelfRegisterObject::RegisterAll();
        QCOMPARE(CGlobalRegisterObject::Objects(SELFREG_TABLES).size(), 1);
        QCOMPARE(CGlobalRegisterObject::Objects(OBJGROUP_OPTIONS_PAGES).size(), 1);
        QCOMPARE(CGlobalRegisterObject::Objects(OBJGROUP_SETTINGS_PAGES).size(), 1);
        QCOMPARE(CvDBTest_Container::Registered().size(), 11);
    }
};

QTEST_GUILESS_MAIN(TestProgramParts)
#include "test_program_parts.moc"
