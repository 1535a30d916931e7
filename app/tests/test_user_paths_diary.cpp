// A daily report as a user types it in, through the program's own main
// window: Журналы → «Ежедневные учетные формы», the tool bar's «Новая
// запись», the date typed as people type it, the point and the worker
// picked from the lists that open as their names are typed (Enter takes the
// match and saves nothing yet), the project by its first letters, the
// sheet's materials ticked in the chooser, client codes and counts typed
// into the grid, ОК; the journal shows the report as its current row and
// keeps the keyboard, Enter opens it again, a count changed and saved.
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "diary/core/tests/diary_test_data.h"
#include "diary/daily_report_form.h"
#include "diary/diary_journal.h"
#include "diary/visits_grid.h"
#include "diary/visits_page.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "framework/widgets/pages/tab.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTableView>

using namespace UserPath;
using namespace diarytest;

class TestUserPathsDiary : public UserPathTest {
    Q_OBJECT

public:
    TestUserPathsDiary()
        : UserPathTest(QStringLiteral("updiary"), FillDirectory, Windows::Closed) {}

private:
    CJDiary* JournalList() {
        auto* journal = FindView<CJDiaryMain>(Frame());
        return journal ? qobject_cast<CJDiary*>(
                             journal->Tab()->GetTabWindow(journal->Tab()->GetCurSel()))
                       : nullptr;
    }
    CDDiary* ActiveForm() { return qobject_cast<CDDiary*>(ActiveView(Frame())); }
    // Where a key goes while a list of matches is open: to that list.
    static void ListKey(Qt::Key key) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup)
            QTest::keyClick(popup, key);
        else
            Key(key);
        Settle();
    }
    // Clicks the grid's cell as a user aims at it.
    static void ClickCell(QTableView* grid, int row, int column) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
        Settle();
    }
    // The grid's column under that caption, as a user finds it.
    static int Column(QTableView* grid, const QString& caption) {
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (grid->model()->headerData(c, Qt::Horizontal).toString() == caption)
                return c;
        return -1;
    }
    QString Cells(qint64 report) { return diarytest::Cells(Db(), int(report), 0); }

private slots:
    void typedIn_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("with dots") << QStringLiteral("10.12.2026") << QStringLiteral("2026-12-10");
        QTest::newRow("digits only") << QStringLiteral("11122026") << QStringLiteral("2026-12-11");
    }
    void typedIn() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QVERIFY(TriggerMenu(
            Frame(), {QStringLiteral("Журналы"), QStringLiteral("Ежедневные учетные формы")}));
        CJDiary* list = JournalList();
        QVERIFY(list);
        QAbstractItemModelTester tester(list->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The journal's list has the keyboard as it opens.
        QCOMPARE(Focused(), static_cast<QWidget*>(list->View()));

        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Новая запись")));
        CDDiary* form = ActiveForm();
        QVERIFY(form);
        QVERIFY(ActiveTitle(Frame()).endsWith(QStringLiteral(": новая запись")));
        auto* date = form->findChild<CDateTimeEditCtrl*>(QStringLiteral("dDate"));
        QVERIFY(date);
        QTest::mouseClick(date->Editor(), Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(typed);
        Key(Qt::Key_Tab);

        // The point: its list opens as the name is typed, Enter takes the
        // match and leaves the form open with nothing saved.
        auto* place = form->findChild<QComboBox*>(QStringLiteral("nWorkPlace"));
        QVERIFY(place);
        QTest::mouseClick(place->lineEdit(), Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(QStringLiteral("Пункт 2"));
        QVERIFY(QApplication::activePopupWidget());
        ListKey(Qt::Key_Down);
        ListKey(Qt::Key_Return);
        QCOMPARE(place->currentText(), QStringLiteral("Пункт 2"));
        QCOMPARE(ActiveForm(), form);
        QCOMPARE(Db().Scalar(QStringLiteral("SELECT COUNT(*) FROM dailyreport")),
                 QStringLiteral("%1").arg(
                     QTest::currentDataTag() == QLatin1String("with dots") ? 0 : 1));
        QVERIFY(Answers().Take().isEmpty());

        // The project by its first letters, the worker as the point.
        auto* project = form->findChild<QComboBox*>(QStringLiteral("nProject"));
        QVERIFY(project);
        project->setFocus();
        Type(QStringLiteral("Проф"));
        QCOMPARE(project->currentText(), QStringLiteral("Профилактика ВИЧ среди РКС"));
        auto* worker = form->findChild<QComboBox*>(QStringLiteral("nWorker1"));
        QVERIFY(worker);
        QTest::mouseClick(worker->lineEdit(), Qt::LeftButton);
        Key(Qt::Key_A, Qt::ControlModifier);
        Type(QStringLiteral("Петр"));
        ListKey(Qt::Key_Down);
        ListKey(Qt::Key_Return);
        QCOMPARE(worker->currentText(), QStringLiteral("Петров"));
        QCOMPARE(ActiveForm(), form);

        // The sheet's columns: the syringe and the meal ticked in the
        // chooser (a click on the row, Space ticks it), then «Выбрать».
        auto* page = qobject_cast<CDDiaryVisits*>(form->Page(0));
        QVERIFY(page);
        QStringList chooserTitles;
        {
            ModalWatcher chooser([&](QWidget* dialog) {
                chooserTitles << dialog->windowTitle();
                auto* choice = dialog->findChild<CxListSelOrder*>();
                if (!choice)
                    return;
                QListView* view = choice->View();
                for (const QString& name :
                     {QStringLiteral("Шприц 2мл"), QStringLiteral("Горячее питание")}) {
                    const QModelIndexList found = view->model()->match(
                        view->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
                    if (found.isEmpty())
                        continue;
                    QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                      view->visualRect(found.first()).center());
                    QTest::keyClick(view, Qt::Key_Space);
                }
                Press(dialog, QStringLiteral("Выбрать"));
            });
            QVERIFY(Press(page, QStringLiteral("Материалы и услуги")));
        }
        QCOMPARE(chooserTitles, QStringList{QStringLiteral("Выбор материалов отчета")});
        // The offscreen platform of the tests gives the main window back
        // its activation only when asked, as a screen does by itself.
        Frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&Frame()));
        CDDiaryVisitsGrid* grid = page->Grid();
        QCOMPARE(grid->model()->columnCount(), 3);

        // Codes down the first column, then the counts.
        ClickCell(grid, 0, 0);
        Type(QStringLiteral("АБВ0190Ч"));
        ListKey(Qt::Key_Return);
        Type(QStringLiteral("ГДЕ1585Ж"));
        ListKey(Qt::Key_Return);
        const int syringes = Column(grid, QStringLiteral("Шприц 2мл"));
        const int meals = Column(grid, QStringLiteral("Горячее питание"));
        QVERIFY(syringes > 0 && meals > 0);
        ClickCell(grid, 0, syringes);
        Type(QStringLiteral("5"));
        ClickCell(grid, 0, meals);
        Type(QStringLiteral("1"));
        ClickCell(grid, 1, syringes);
        Type(QStringLiteral("3"));
        Key(Qt::Key_Return);

        QVERIFY(Press(form, QStringLiteral("ОК")));
        const qint64 report =
            Db().Scalar(QStringLiteral("SELECT IFNULL(MAX(ROWID),-1) FROM dailyreport WHERE "
                                       "dDate='%1'")
                            .arg(stored))
                .toLongLong();
        QVERIFY2(report > 0, qPrintable(CTarvikApp::GetErrorMessages().join(u'\n')));
        QCOMPARE(
            Db().Rows(QStringLiteral(
                          "SELECT nWorkPlace,nWorker1,nProject FROM dailyreport WHERE ROWID=%1")
                          .arg(report)),
            QStringLiteral("%1|%2|2").arg(kOtherPlace).arg(kOtherWorker));
        QCOMPARE(Cells(report), QStringLiteral("0:201:101:5;0:201:103:1;1:202:101:3"));

        // The journal shows the report as its current row, with the keys.
        QVERIFY(!ActiveForm());
        QCOMPARE(list->CurrentKey(), report);
        QCOMPARE(Focused(), static_cast<QWidget*>(list->View()));

        // Opened again by Enter, a count changed, saved.
        Key(Qt::Key_Return);
        form = ActiveForm();
        QVERIFY(form);
        page = qobject_cast<CDDiaryVisits*>(form->Page(0));
        QVERIFY(page);
        ClickCell(page->Grid(), 1, Column(page->Grid(), QStringLiteral("Шприц 2мл")));
        Type(QStringLiteral("4"));
        Key(Qt::Key_Return);
        QVERIFY(Press(form, QStringLiteral("ОК")));
        QCOMPARE(Cells(report), QStringLiteral("0:201:101:5;0:201:103:1;1:202:101:4"));
        QVERIFY(!ActiveForm());
        QCOMPARE(list->CurrentKey(), report);
    }
};

QTEST_MAIN(TestUserPathsDiary)
#include "test_user_paths_diary.moc"
