// The application's commands of daily sheets: the stencil command writes a
// closed, readable stencil, says so and only then opens it, and a stencil it
// cannot write is reported with neither the message nor the file opened; the
// loading command and the journal's load into a folder run the loading
// wizard modally with their folder.
#include "app/command_ids.h"
#include "app/tests/app_shell_fixture.h"
#include "diary/diary_journal.h"
#include "diary/excel/excel_xml.h"
#include "diary/excel/stencil_layout.h"
#include "diary/xml_load.h"
#include "framework/widgets/cmd_target.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/open_external.h"
#include "framework/widgets/pages/tab.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QTemporaryDir>
#include <QTest>

class TestSheetCommands : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    AppShellFixture m_shell;
    QStringList m_messages;

    // Runs the command as the menu does; answers the wizard it showed
    // modally ("" when none) and the folder it was made for.
    QString Wizard(const std::function<void()>& run, qint64* folder, QString* folderName) {
        QString shown;
        SetModalDriver([&](QDialog* dialog) {
            shown = QString::fromLatin1(dialog->metaObject()->className());
            if (auto* wizard = qobject_cast<CXMLLoad*>(dialog)) {
                *folder = wizard->Folder();
                *folderName = wizard->findChild<QLineEdit*>(QStringLiteral("folder"))->text();
            }
        });
        run();
        SetModalDriver({});
        return shown;
    }

private slots:
    void initTestCase() {
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        QString error;
        QVERIFY2(m_shell.Open(m_dir.path(), QStringLiteral("sheetcmd"),
                              QStringLiteral("<CONFIGURATION><LANGUAGE><PRJLIST>"
                                             "<Item ID='1' Title='Проект'/></PRJLIST>"
                                             "</LANGUAGE></CONFIGURATION>"),
                              &error,
                              [](SchemaTestDatabase& db) {
                                  db.Exec(QStringLiteral(
                                      "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,"
                                      "nDirType,nType,bHidden,nSpecFlags) "
                                      "VALUES (1,0,0,'Пункт 1',1,1,0,0),(5,0,0,'Иванова',2,0,0,0),"
                                      "(9,0,0,'Шприц',3,65537,0,0)"));
                                  db.Exec(QStringLiteral(
                                      "INSERT INTO dailyreport (ROWID,cComment,bIsFolder,nGroupID,"
                                      "nRegionDataID) VALUES (900,'Март',1,0,0)"));
                              }),
                 qPrintable(error));
        m_shell.App().RegisterAppCommands();
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_messages << text;
            return int(IDYES);
        });
    }
    void cleanupTestCase() {
        SetMessageAnswerer({});
        SetExternalOpener({});
        m_shell.Close();
    }
    void init() {
        m_messages.clear();
        CTarvikApp::TakeAppQueries();
    }

    // The file is whole when it is opened: the reader finds its header.
    void stencilIsWrittenThenOpened() {
        QStringList opened;
        int headerRow = -1;
        SetExternalOpener([&](const QUrl& url) {
            opened << url.toLocalFile();
            CExcelXML sheet;
            if (sheet.Load(url.toLocalFile()))
                headerRow = StencilLayout::FindSignatureRow(sheet);
            return true;
        });
        CxCmdUI ui;
        QVERIFY(CxAppCommands::OnCmdMsg(ID_SHEET_STENCIL, &ui) && ui.enabled);
        QVERIFY(CxAppCommands::OnCmdMsg(ID_SHEET_STENCIL, nullptr));
        SetExternalOpener({});
        QCOMPARE(opened.size(), 1);
        QVERIFY2(opened[0].startsWith(QDir(m_dir.path()).filePath("Kelda2/Report2")),
                 qPrintable(opened[0]));
        QVERIFY(headerRow > 0);
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(CTarvikApp::TakeAppQueries(),
                 QStringList{"messagebox:64:Сформирован файл-трафарет. Используйте его для "
                             "заполнения"});
    }

    // The stencil's folder cannot be made (a file stands in its place): the
    // user is told why, and nothing says it was made or opens it.
    void stencilWriteFailureIsReported() {
        QTemporaryDir blocked;
        QFile blocker(QDir(blocked.path()).filePath(QStringLiteral("Kelda2")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("TMPDIR", blocked.path().toLocal8Bit());
        bool opened = false;
        SetExternalOpener([&](const QUrl&) { return opened = true; });
        QVERIFY(CxAppCommands::OnCmdMsg(ID_SHEET_STENCIL, nullptr));
        SetExternalOpener({});
        qputenv("TMPDIR", m_dir.path().toLocal8Bit());
        QVERIFY(!opened);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(!m_messages[0].isEmpty());
        QVERIFY(CTarvikApp::TakeAppQueries().isEmpty());
    }

    void loadingRunsTheWizardWithItsFolder() {
        qint64 folder = -1;
        QString name;
        QCOMPARE(Wizard([] { QVERIFY(CxAppCommands::OnCmdMsg(ID_SHEET_LOAD, nullptr)); }, &folder,
                        &name),
                 QStringLiteral("CXMLLoad"));
        QCOMPARE(folder, 0);
        QCOMPARE(name, QStringLiteral("Папка не задана"));

        // The journal's load into the folder it shows.
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CJDiaryMain")));
        auto* journal = qobject_cast<CJDiaryMain*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(journal);
        auto* list = qobject_cast<CJDiary*>(journal->Tab()->GetTabWindow(0, false));
        QVERIFY(list && list->OpenFolder(900));
        CxCmdUI ui;
        QVERIFY(list->CanProcessCommand(CJDiary::ID_LOAD_SHEETS_HERE, ui) && ui.enabled);
        QCOMPARE(Wizard([list] { list->OnCmdMsg(CJDiary::ID_LOAD_SHEETS_HERE, nullptr); }, &folder,
                        &name),
                 QStringLiteral("CXMLLoad"));
        QCOMPARE(folder, 900);
        QCOMPARE(name, QStringLiteral("Март"));
        QCOMPARE(m_messages,
                 QStringList{QStringLiteral("Начать загрузку ведомостей в папку \"Март\"?")});
    }
};

QTEST_MAIN(TestSheetCommands)
#include "test_sheet_commands.moc"
