// Two copies of the program on one server, on the user's path: the daily
// report is opened from the journal (menu, Enter on its row), the user types
// a comment, another copy saves the report meanwhile, and OK refuses with a
// message and offers to open the report again; answering yes shows the
// report as the other copy stored it, and that form saves.
#include "app/command_ids.h"
#include "app/tests/app_shell_fixture.h"
#include "diary/daily_report_form.h"
#include "diary/diary_journal.h"
#include "framework/widgets/errors/error_list.h"
#include "framework/widgets/message_box.h"
#include "framework/widgets/pages/tab.h"
#include "tests/support/typing.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr qint64 kReport = 901;
}

class TestReportGuard : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    AppShellFixture m_shell;
    QStringList m_questions;

    QString Comment() {
        return m_shell.Db().Scalar(
            QStringLiteral("SELECT cComment FROM dailyreport WHERE ROWID=%1").arg(kReport));
    }
    // Opens the report as the user does: the journal from the menu, Enter on
    // the report's row.
    CDDiary* OpenFromJournal() {
        // The menu's command reaches the application, which queues its address.
        if (!m_shell.App().OnMapCmdToURL(ID_DIARY, 0, nullptr))
            return nullptr;
        m_shell.App().ProcessAppQueries();
        auto* journal = qobject_cast<CJDiaryMain*>(CxDocManager::Instance()->ActiveView());
        auto* list =
            journal ? qobject_cast<CJDiary*>(journal->Tab()->GetTabWindow(0, false)) : nullptr;
        if (!list || !list->SelectKey(kReport))
            return nullptr;
        list->View()->setFocus();
        QTest::keyClick(list->View(), Qt::Key_Return);
        QCoreApplication::processEvents();
        return qobject_cast<CDDiary*>(CxDocManager::Instance()->ActiveView());
    }

private slots:
    void initTestCase() {
        QString error;
        QVERIFY2(
            m_shell.Open(m_dir.path(), QStringLiteral("guard"),
                         QStringLiteral("<CONFIGURATION><LANGUAGE><PRJLIST>"
                                        "<Item ID='1' Title='Проект'/></PRJLIST>"
                                        "</LANGUAGE></CONFIGURATION>"),
                         &error,
                         [](SchemaTestDatabase& db) {
                             db.Exec(QStringLiteral(
                                 "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,"
                                 "nDirType,nType,bHidden,nSpecFlags) "
                                 "VALUES (1,0,0,'Пункт 1',1,1,0,0),(5,0,0,'Иванова',2,0,0,0)"));
                             db.Exec(QStringLiteral(
                                 "INSERT INTO dailyreport (ROWID,dDate,nWorkPlace,nWorker1,"
                                 "nWorker2,nWorker3,nProject,cComment,bIsFolder,nGroupID,"
                                 "nRegionDataID) VALUES (901,'2026-12-10',1,5,-1,-1,1,"
                                 "'исходный',0,0,0)"));
                         }),
            qPrintable(error));
        m_shell.App().RegisterAppCommands();
        SetMessageAnswerer([this](CxAskKind, const QString& text) {
            m_questions << text;
            return int(IDYES);
        });
    }
    void cleanupTestCase() {
        SetMessageAnswerer({});
        m_shell.Close();
    }

    void otherCopySavedTheReport() {
        CDDiary* form = OpenFromJournal();
        QVERIFY(form);
        auto* comment = form->findChild<QLineEdit*>(QStringLiteral("cComment"));
        QVERIFY(comment);
        comment->setFocus();
        QTest::keyClick(comment, Qt::Key_End);
        TypeText(comment, QStringLiteral(" и мой"));

        // The other copy saves the report in between.
        CxMySQL other;
        SQLConnectXML info = m_shell.Db().Info();
        QVERIFY(other.Connect(&info));
        QVERIFY(other
                    .Execute(QStringLiteral("UPDATE dailyreport SET cComment='другой копии' "
                                            "WHERE ROWID=%1")
                                 .arg(kReport))
                    .isValid());

        QTest::mouseClick(form->OKButton(), Qt::LeftButton);
        QCOMPARE(Comment(), QStringLiteral("другой копии"));
        QVERIFY(CxErrorListWnd::Get());
        QVERIFY2(
            CxErrorListWnd::Get()->Lines().join(u'\n').contains(QStringLiteral("в другом окне")),
            qPrintable(CxErrorListWnd::Get()->Lines().join(u'\n')));
        QVERIFY2(m_questions.join(u'\n').contains(QStringLiteral("Открыть запись заново")),
                 qPrintable(m_questions.join(u'\n')));

        // Opened anew with the other copy's data; this form saves.
        QTRY_VERIFY(CxDocManager::Instance()->ActiveView() != form);
        auto* reopened = qobject_cast<CDDiary*>(CxDocManager::Instance()->ActiveView());
        QVERIFY(reopened);
        auto* again = reopened->findChild<QLineEdit*>(QStringLiteral("cComment"));
        QCOMPARE(again->text(), QStringLiteral("другой копии"));
        again->setFocus();
        QTest::keyClick(again, Qt::Key_End);
        TypeText(again, QStringLiteral(" и мой"));
        QTest::mouseClick(reopened->OKButton(), Qt::LeftButton);
        QCOMPARE(Comment(), QStringLiteral("другой копии и мой"));
        CTarvikApp::ClearErrorMessages();
    }
};

QTEST_MAIN(TestReportGuard)
#include "test_report_guard.moc"
