// The application's commands and its start page: the command table claims
// and queues the addresses of the windows the program has (others stay
// disabled), a queued address opens its window on the named tab, the export
// refuses to start while a service point has no town and opens its wizard
// otherwise, the start page counts the days since the last backup and
// reminds past the configured count, and the news panel never waits for the
// network.
#include "app/backup_reminder.h"
#include "app/command_ids.h"
#include "app/export_check.h"
#include "app/html_news.h"
#include "app/start_page.h"
#include "app/tests/app_shell_fixture.h"
#include "clients/directories/directories_journal.h"
#include "exchange/widgets/compare_changes_view.h"
#include "framework/core/app/cmd_handler_info.h"
#include "framework/core/documents/doc_template.h"
#include "framework/widgets/dialog.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "framework/widgets/report_view/rep_pane.h"

#include <QMdiArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestAppCommands : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    AppShellFixture m_shell;
    QStringList m_messages;

public:
    // The compare command opens a report window, whose page needs the browser
    // engine set up before the application object exists.
    static void initMain() { CRepPane::PrepareApplication(); }

private slots:
    void initTestCase() {
        m_dir = std::make_unique<QTemporaryDir>();
        QString error;
        QVERIFY2(m_shell.Open(m_dir->path(), QStringLiteral("cmd"), BackupReminderConfiguration(0),
                              &error),
                 qPrintable(error));
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_messages << text;
            return IDOK;
        });
    }
    void cleanupTestCase() {
        m_shell.Close();
        SetMessageAnswerer({});
    }
    void init() {
        m_messages.clear();
        CTarvikApp::TakeAppQueries();
    }

    void commandTable_data() {
        QTest::addColumn<uint>("id");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("available");
        const auto row = [](uint id, const char* address, bool available) {
            QTest::newRow(address) << id << QString::fromLatin1(address) << available;
        };
        row(1260, "opendoc:CJClients", true);
        row(1256, "opendoc:CJDiaryMain", true);
        row(1257, "opendoc:CJTrainings", true);
        row(1261, "opendoc:CJDirectories", true);
        row(3403, "opendoc:CJDirectories:CJDirectoriesTab_Mat", true);
        row(3210, "opendoc:CJDirectories:CJDirectoriesTab_Posh", true);
        row(3212, "opendoc:CJDirectories:CJDirectoriesTab_Drug", true);
        row(3216, "opendoc:CJDirectories:CJDirectoriesTab_Training", true);
        row(3218, "opendoc:CJDirectories:CJDirectoriesTab_MatPack", true);
        row(3220, "opendoc:CJDirectories:CJDirectoriesTab_Soc", true);
        row(3223, "opendoc:CJDirectories:CJDirectoriesTab_Donors", true);
        row(2204, "opendoc:CRepPeriodKeldaDoc", true);
        row(2205, "opendoc:CRepPeriodKeldaConsDoc", true);
        row(3324, "opendoc:CRep_OhvatZaPeriod", true);
        row(1648, "opendoc:CRepRaspredDoc", true);
        row(1757, "opendoc:CRep_Kelda_VisSummary", true);
        row(3279, "opendoc:CRep_SvodnyeDannyDlyaKvart", true);
        row(3229, "opendoc:CRepCompareChanges", true);
        row(1115, "opendoc:CRepVisitsDoc", true);
        row(1029, "opendoc:CRepVisitsNewDoc", true);
        row(1030, "opendoc:CRepVisitsRegDoc", true);
        row(3266, "opendoc:CRep_SvodnyiPoGodam", true);
        row(3313, "opendoc:CRepNewConsult", true);
        row(1650, "opendoc:CRepClientInfoDoc", true);
    }
    // A table command is claimed (asked with a handler record) or queued
    // (run); one whose window the program lacks is not; a notification code
    // other than 0 goes on to the framework.
    void commandTable() {
        QFETCH(uint, id);
        QFETCH(QString, address);
        QFETCH(bool, available);
        QCOMPARE(CKelda2App::CommandAddress(id), address);
        CxCmdHandlerInfo info;
        QCOMPARE(m_shell.App().OnMapCmdToURL(id, 0, &info), available);
        QVERIFY(CTarvikApp::TakeAppQueries().isEmpty());
        QCOMPARE(m_shell.App().OnMapCmdToURL(id, 0, nullptr), available);
        QCOMPARE(CTarvikApp::TakeAppQueries(), available ? QStringList{address} : QStringList());
        QVERIFY(!m_shell.App().OnMapCmdToURL(id, 1, nullptr));
        QVERIFY(CTarvikApp::TakeAppQueries().isEmpty());
    }

    void queuedAddressOpensItsTab() {
        QVERIFY(m_shell.App().OnMapCmdToURL(ID_DIR_DRUGS, 0, nullptr));
        m_shell.App().ProcessAppQueries();
        auto* journal = qobject_cast<CJDirectories*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(journal);
        QCOMPARE(journal->Tab()->GetCurSel(), 2);
        QVERIFY(m_shell.App().OnMapCmdToURL(ID_DIR_STAFF, 0, nullptr));
        m_shell.App().ProcessAppQueries();
        QCOMPARE(journal->Tab()->GetCurSel(), 5);
        QCOMPARE(m_shell.Frame().MDIArea()->subWindowList().size(), 1);
        m_shell.Frame().MDIArea()->closeAllSubWindows();
        QCOMPARE(CKelda2App::CommandAddress(ID_APP_ABOUT), QString());
        QCOMPARE(m_shell.App().OnMapCmdToURL(ID_APP_ABOUT, 0, nullptr), 0);
    }

    // The comparison of loads opens on its list of loads.
    void compareCommandOpensItsWindow() {
        QVERIFY(m_shell.App().OnMapCmdToURL(ID_REP_COMPARE, 0, nullptr));
        m_shell.App().ProcessAppQueries();
        auto* view = qobject_cast<CRepCompareChanges*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QStringLiteral("Сравнение загрузок"));
        m_shell.Frame().MDIArea()->closeAllSubWindows();
    }

    void exportNeedsTownsOfServicePoints() {
        m_shell.Db().Exec(QStringLiteral("DELETE FROM dir"));
        QStringList wizards;
        SetModalDriver([&wizards](QDialog* dialog) {
            wizards << QString::fromLatin1(dialog->metaObject()->className());
        });
        // No service points, or only folders: the check lets the export go.
        m_shell.App().OnExportData();
        QCOMPARE(wizards, QStringList{QStringLiteral("CSQLExportWizardDlg")});
        QVERIFY(m_messages.isEmpty());
        m_shell.Db().Exec(
            QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,"
                           "bHidden,nTown) VALUES (1,0,1,'Папка',1,0,0),"
                           "(2,0,0,'Без города',2,0,0),(3,1,0,'В городе',1,0,5)"));
        QVERIFY(!HasServicePointWithoutTown());
        // A service point without a town stops it, with the message.
        m_shell.Db().Exec(
            QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,"
                           "bHidden,nTown) VALUES (4,1,0,'Без города',1,0,0)"));
        QVERIFY(HasServicePointWithoutTown());
        m_shell.App().OnExportData();
        SetModalDriver({});
        QCOMPARE(wizards.size(), 1);
        QCOMPARE(m_messages.size(), 1);
        QVERIFY(m_messages[0].startsWith(QStringLiteral("Перед экспортом данных, необходимо "
                                                        "заполнить поле «Географическое")));
        QCOMPARE(m_messages[0].count(u'\n'), 2);
    }

    void backupReminderCountsDays() {
        QFile::remove(m_dir->filePath(QStringLiteral("AllUsers.conf")));
        const QDate day(2021, 3, 4);
        QCOMPARE(CountBackupReminderDay(day), 1);
        QCOMPARE(CountBackupReminderDay(day), 1);
        QCOMPARE(CountBackupReminderDay(day.addDays(1)), 2);
        QCOMPARE(
            CTarvikApp::GetAllUsersString(QStringLiteral("Backup"), QStringLiteral("dLastBackup")),
            QStringLiteral("2021-03-05"));
        // A stored day that does not read as a date counts as another day.
        CTarvikApp::WriteAllUsersString(QStringLiteral("Backup"), QStringLiteral("dLastBackup"),
                                        QStringLiteral("5 марта"));
        QCOMPARE(CountBackupReminderDay(day.addDays(1)), 3);
        QCOMPARE(CTarvikApp::GetAllUsersString(QStringLiteral("Backup"),
                                               QStringLiteral("nLastFromBackup")),
                 QStringLiteral("3"));
        QVERIFY(!IsBackupReminderDue(3, 3));
        QVERIFY(IsBackupReminderDue(4, 3));
        QVERIFY(!IsBackupReminderDue(100, 0));
        QVERIFY(!IsBackupReminderDue(100, -1));
    }

    // The start page opens with its links; past the reminder it queues the
    // message about the old backup.
    void startPageReminds() {
        QFile::remove(m_dir->filePath(QStringLiteral("AllUsers.conf")));
        CTarvikApp::WriteAllUsersString(QStringLiteral("Backup"), QStringLiteral("nLastFromBackup"),
                                        QStringLiteral("3"));
        QVERIFY(UseBackupReminder(3));
        QVERIFY(CxDocManager::Instance()->ProcessAddress(QStringLiteral("opendoc:CKelda2View")));
        auto* view = qobject_cast<CKelda2View*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(view);
        QCOMPARE(view->GetDocument()->GetTitle(), QStringLiteral("Главное окно"));
        const QString links = view->Links()->GetHTML();
        QVERIFY(links.contains(QStringLiteral("Клиенты проекта")));
        QVERIFY(links.contains(QStringLiteral("Ежедневные формы")));
        // A link to a window that the program does not have yet is only text.
        for (const QString& address :
             {QStringLiteral("opendoc:CJClients"), QStringLiteral("opendoc:CJDiaryMain")})
            QCOMPARE(links.contains(address), CxDocManager::Instance()->CanOpen(address));
        QVERIFY(view->Picture()->GetHTML().contains(CKelda2View::OrganisationAddress()));
        QCOMPARE(CTarvikApp::TakeAppQueries(),
                 QStringList{QStringLiteral("messagebox:64:Ваша резервная копия устарела")});
        // The same day again: no new count, but still past the reminder.
        view->FillPage();
        QCOMPARE(CTarvikApp::GetAllUsersString(QStringLiteral("Backup"),
                                               QStringLiteral("nLastFromBackup")),
                 QStringLiteral("4"));
        QVERIFY(UseBackupReminder(0));
        view->FillPage();
        QVERIFY(CTarvikApp::TakeAppQueries().size() == 1);
        m_shell.Frame().MDIArea()->closeAllSubWindows();
    }

    // News from an address that answers are shown and kept; an address that
    // does not answer shows the kept news, or a short note when there are
    // none.
    void newsNeverWait() {
        CHTMLNews news;
        QSignalSpy loaded(&news, &CHTMLNews::loaded);
        const QUrl missing = QUrl::fromLocalFile(m_dir->filePath(QStringLiteral("missing.html")));
        news.SetURL(missing.toString());
        QTRY_COMPARE(loaded.count(), 1);
        QCOMPARE(loaded.takeFirst().first().toBool(), false);
        QVERIFY(news.GetHTML().contains(QStringLiteral("недоступны")));

        QFile file(m_dir->filePath(QStringLiteral("news.html")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<p>Обучение 12 марта</p>").toUtf8());
        file.close();
        const QString address = QUrl::fromLocalFile(file.fileName()).toString();
        news.SetURL(address);
        QTRY_COMPARE(loaded.count(), 1);
        QCOMPARE(loaded.takeFirst().first().toBool(), true);
        QCOMPARE(news.GetHTML(), QStringLiteral("<p>Обучение 12 марта</p>"));
        QCOMPARE(CTarvikApp::GetProfileString(QStringLiteral("State//Cache//htmlnews"),
                                              CHTMLNews::CacheEntry(address)),
                 QStringLiteral("<p>Обучение 12 марта</p>"));
        // Gone from the server: the kept news stay.
        QVERIFY(file.remove());
        news.SetURL(address);
        QCOMPARE(news.GetHTML(), QStringLiteral("<p>Обучение 12 марта</p>"));
        QTRY_COMPARE(loaded.count(), 1);
        QCOMPARE(news.GetHTML(), QStringLiteral("<p>Обучение 12 марта</p>"));
        QVERIFY(CHTMLNews::CacheEntry(address) != CHTMLNews::CacheEntry(missing.toString()));
    }
};

QTEST_MAIN(TestAppCommands)
#include "test_app_commands.moc"
