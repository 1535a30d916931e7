// The application's commands of organisations, exports and database care:
// each opens its window; a backup made through the command's wizard starts
// the start page's count of days again; the merge does not start while a
// window keeps unsaved changes.
#include "app/command_ids.h"
#include "app/start_page.h"
#include "app/tests/app_shell_fixture.h"
#include "exchange/widgets/configurator_form.h"
#include "exchange/widgets/org_info_view.h"
#include "exchange/widgets/restore_converter_kelda1.h"
#include "framework/core/app/program_marks.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/forms/file_edit.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "framework/widgets/wizard/wizard_dlg.h"

#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

class TestCareCommands : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    AppShellFixture m_shell;

    // Runs the command as the menu does; answers the class of the window it
    // opened (a modal one, or a document window).
    QString Opened(unsigned id, QStringList* children = nullptr) {
        QString opened;
        SetModalDriver([&](QDialog* dialog) {
            opened = QString::fromLatin1(dialog->metaObject()->className());
            if (children)
                for (QObject* child : dialog->findChildren<QWidget*>())
                    *children << QString::fromLatin1(child->metaObject()->className());
        });
        CxCmdUI ui;
        if (!CxAppCommands::OnCmdMsg(id, &ui) || !ui.enabled ||
            !CxAppCommands::OnCmdMsg(id, nullptr))
            return QStringLiteral("(not handled)");
        SetModalDriver({});
        if (opened.isEmpty())
            if (CxFormView* view = CxDocManager::Instance()->ActiveView())
                opened = QString::fromLatin1(view->metaObject()->className());
        return opened;
    }

private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(m_shell.Open(m_dir.path(), QStringLiteral("care"), BackupReminderConfiguration(0),
                              &error),
                 qPrintable(error));
        m_shell.App().RegisterAppCommands();
    }
    void cleanupTestCase() { m_shell.Close(); }
    void cleanup() {
        SetModalDriver({});
        m_shell.Frame().MDIArea()->closeAllSubWindows();
        SetMessageAnswerer({});
    }

    void commandOpensItsWindow_data() {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("window");
        QTest::newRow("1639 organisation card") << uint(ID_ORG_SETTINGS) << "CSettingsDialog";
        QTest::newRow("1643 configurator") << uint(ID_CONFIGURATOR) << "CConfiguratorFormAPP";
        QTest::newRow("1681 organisations") << uint(ID_ORGANISATIONS) << "CJOrgListView";
        QTest::newRow("3431 merge") << uint(ID_MERGE_ORGS) << "CMergeOrgsWizard";
        QTest::newRow("2117 backup") << uint(ID_BACKUP) << "CSQLBackupWizard";
        QTest::newRow("1661 restore") << uint(ID_RESTORE) << "CSQLRestoreWizard";
        QTest::newRow("1687 optimisation") << uint(ID_OPTIMIZE) << "COptimizeDBDlg";
        QTest::newRow("1840 database test") << uint(ID_TEST_DB) << "CTestDBDlg";
        QTest::newRow("3237 accounting export") << uint(ID_EXPORT_DBF) << "CDBFOut";
        QTest::newRow("1792 analytics export") << uint(ID_EXPORT_CSV) << "CExportCSV";
        QTest::newRow("1646 data export") << uint(ID_EXPORT_DATA) << "CSQLExportWizardDlg";
        QTest::newRow("1647 data import") << uint(ID_IMPORT_DATA) << "CSQLImportWizardDlg";
    }
    void commandOpensItsWindow() {
        QFETCH(uint, id);
        QFETCH(QString, window);
        QStringList children;
        QCOMPARE(Opened(id, &children), window);
        if (id == ID_ORG_SETTINGS)
            QVERIFY(children.contains(QStringLiteral("COrgInfoView")));
        if (id == ID_RESTORE)
            QVERIFY(children.contains(QStringLiteral("CSQLRestoreWizard_Converter_Kelda1")));
    }

    // The wizard of the command writes the backup, under the names by which
    // every installation knows the program's backups; the start page then
    // counts from the day of the backup and does not remind.
    void backupResetsTheReminder() {
        CTarvikApp::WriteAllUsersString(QStringLiteral("Backup"), QStringLiteral("nLastFromBackup"),
                                        QStringLiteral("7"));
        QVERIFY(UseBackupReminder(3));
        const QString path = m_dir.filePath(QStringLiteral("care.k2backup"));
        bool done = false;
        SetModalDriver([&](QDialog* dialog) {
            auto* wizard = qobject_cast<CWizardDlg*>(dialog);
            QVERIFY(wizard);
            wizard->findChild<CxFileEdit*>()->SetPath(path);
            QVERIFY(wizard->Next());
            done = wizard->Run();
            wizard->accept();
        });
        QVERIFY(CxAppCommands::OnCmdMsg(ID_BACKUP, nullptr));
        QVERIFY(done);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray bytes = written.readAll();
        QVERIFY(bytes.contains("Kelda2.Backup"));          // the header part's name
        QVERIFY(bytes.contains("Kelda2 database backup")); // the header's first bytes
        QCOMPARE(CTarvikApp::GetAllUsersString(QStringLiteral("Backup"),
                                               QStringLiteral("nLastFromBackup")),
                 QStringLiteral("0"));
        CTarvikApp::TakeAppQueries();
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CKelda2View")));
        QVERIFY(qobject_cast<CKelda2View*>(CxDocManager::Instance()->ActiveView()));
        QCOMPARE(CTarvikApp::GetAllUsersString(QStringLiteral("Backup"),
                                               QStringLiteral("nLastFromBackup")),
                 QStringLiteral("1"));
        QVERIFY(CTarvikApp::TakeAppQueries().isEmpty());
        QVERIFY(UseBackupReminder(0));
    }

    // Copies of the program that start on one server at once wait for each
    // other on a named lock; older copies know it by this name.
    void schemaLockKeepsItsName() {
        QCOMPARE(ProgramMarks().schemaLockPrefix, QStringLiteral("kelda2_schema:"));
    }

    // A window that keeps unsaved changes (the user cancels the question)
    // stops the merge before its wizard opens.
    void mergeWaitsForOpenWindows() {
        QCOMPARE(Opened(ID_CONFIGURATOR), QStringLiteral("CConfiguratorFormAPP"));
        auto* view = qobject_cast<CConfiguratorFormAPP*>(CxDocManager::Instance()->ActiveView());
        auto* page = qobject_cast<CConfiguratorBaseOrgInfo*>(view->Tab()->GetTabWindow(0));
        page->Card()->Grid()->SetItemText(0, 1, QStringLiteral("новый"));
        emit page->Card()->Grid()->itemChanged(0, 1);
        SetMessageAnswerer([](CxAskKind, const QString&) { return int(IDCANCEL); });
        QCOMPARE(Opened(ID_MERGE_ORGS), QStringLiteral("CConfiguratorFormAPP"));
        QCOMPARE(m_shell.Frame().MDIArea()->subWindowList().size(), 1);
        SetMessageAnswerer([](CxAskKind, const QString&) { return int(IDNO); });
    }
};

QTEST_MAIN(TestCareCommands)
#include "test_care_commands.moc"
