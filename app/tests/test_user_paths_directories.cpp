// Every directory as a user keeps it, through the program's own main window:
// the Справочники menu item opens the journal on its tab, «Новая запись»
// opens the item's form under the directory's own name, the user types the
// name and chooses what the form needs, OK stores it and the list shows the
// new item as its current row; Enter opens it again for a change of name,
// Delete and «Да» remove it. Every list's columns show their captions whole.
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "clients/directories/directories_journal.h"
#include "framework/widgets/lists/sql_list_ctrl.h"
#include "framework/widgets/pages/tab.h"

#include <QAbstractItemModelTester>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>

using namespace UserPath;

class TestUserPathsDirectories : public UserPathTest {
    Q_OBJECT

public:
    TestUserPathsDirectories()
        : UserPathTest(QStringLiteral("updirs"), [](SchemaTestDatabase& db) {
              db.Exec(QStringLiteral("INSERT INTO towns (ROWID,nGroupID,cShortName,cFullName) "
                                     "VALUES (1,0,'Одесса','г. Одесса')"));
          }) {}

private:
    CJDirectories* Journal() { return FindView<CJDirectories>(Frame()); }
    CxSQLListCtrl* CurrentList() {
        CJDirectories* journal = Journal();
        return journal ? qobject_cast<CxSQLListCtrl*>(
                             journal->Tab()->GetTabWindow(journal->Tab()->GetCurSel()))
                       : nullptr;
    }
    QWidget* ActiveForm() { return Frame().MDIArea()->activeSubWindow(); }

    // Fills the open form as the row's steps say: "type:<field>:<text>"
    // clicks the field and types over its text, "click:<button>" clicks a
    // button, "choose:<combo>" opens the combo from the keyboard and takes
    // its first entry, "first:<box>" clicks the first radio button in a box.
    void Fill(const QStringList& steps) {
        QWidget* form = ActiveForm();
        for (const QString& step : steps) {
            const QStringList part = step.split(u':');
            QWidget* target = form->findChild<QWidget*>(part.value(1));
            QVERIFY2(target, qPrintable(step));
            if (part[0] == QLatin1String("type")) {
                QTest::mouseClick(target, Qt::LeftButton);
                Key(Qt::Key_A, Qt::ControlModifier);
                Type(part.value(2));
            } else if (part[0] == QLatin1String("click")) {
                Click(target);
            } else if (part[0] == QLatin1String("choose")) {
                auto* combo = qobject_cast<QComboBox*>(target);
                QVERIFY(combo && combo->count() > 0);
                // The arrow key on the closed list takes the next entry.
                QTest::keyClick(combo, Qt::Key_Down);
                if (combo->currentIndex() < 0 || combo->currentText().isEmpty())
                    QTest::keyClick(combo, Qt::Key_Down);
                QVERIFY2(!combo->currentText().isEmpty(), qPrintable(step));
            } else if (part[0] == QLatin1String("first")) {
                QList<QRadioButton*> radios = target->findChildren<QRadioButton*>();
                radios.erase(std::remove_if(radios.begin(), radios.end(),
                                            [](QRadioButton* r) { return !r->isVisible(); }),
                             radios.end());
                QVERIFY2(!radios.isEmpty(), qPrintable(step));
                QTest::mouseClick(radios.first(), Qt::LeftButton);
            }
            Settle();
        }
    }

    qint64 RowOf(int dirType, const QString& name) {
        return Db()
            .Scalar(QStringLiteral("SELECT IFNULL(MAX(ROWID),-1) FROM dir WHERE nDirType=%1 AND "
                                   "cString='%2'")
                        .arg(dirType)
                        .arg(name))
            .toLongLong();
    }

private slots:
    void directory_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("dirType");
        QTest::addColumn<QStringList>("steps");
        const auto row = [](const char* item, const char* caption, int type, QStringList steps) {
            QTest::newRow(item) << QString::fromUtf8(item) << QString::fromUtf8(caption) << type
                                << steps;
        };
        row("Пункты предоставления услуг", "Пункты предоставления услуг", 1,
            {QStringLiteral("choose:nTown"), QStringLiteral("click:nType_8")});
        row("Персонал проекта", "Персонал проекта", 2, {QStringLiteral("choose:nConfigGroup")});
        row("Раздаточные материалы и услуги", "Раздаточные материалы", 3,
            {QStringLiteral("click:kind_Syringes"), QStringLiteral("click:nType_65537")});
        row("Наркотические вещества", "Наркотические вещества", 4,
            {QStringLiteral("click:nType_1"), QStringLiteral("click:nUseType_1"),
             QStringLiteral("click:nProdType_1")});
        row("Типы мероприятий (тренинги, занятия)", "Типы (тренинги, занятия)", 7, {});
        row("Пакет услуг", "Пакет материалов и услуг", 11, {});
        row("Источники финансирования", "Источники финансирования", 12,
            {QStringLiteral("choose:nConfigGroup")});
    }
    void directory() {
        QFETCH(QString, item);
        QFETCH(QString, caption);
        QFETCH(int, dirType);
        QFETCH(QStringList, steps);
        const QString name = QStringLiteral("Запись «%1»").arg(dirType);
        const QString renamed = name + QStringLiteral(" (новое имя)");

        QVERIFY(TriggerMenu(Frame(), {QStringLiteral("Справочники"), item}));
        QCOMPARE(ActiveTitle(Frame()), QStringLiteral("Справочники: ") + item);
        CxSQLListCtrl* list = CurrentList();
        QVERIFY(list);
        QAbstractItemModelTester tester(list->Model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // Every caption whole: no column narrower than its caption.
        QHeaderView* header = list->View()->horizontalHeader();
        for (int c = 0; c < header->count(); ++c)
            QVERIFY2(header->sectionSize(c) >= header->sectionSizeHint(c),
                     qPrintable(list->Model()->headerData(c, Qt::Horizontal).toString()));

        // New, from the tool bar.
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Новая запись")));
        QCOMPARE(ActiveTitle(Frame()), caption + QStringLiteral(": новая запись"));
        Fill(QStringList{QStringLiteral("type:cString:") + name} + steps);
        QVERIFY(Press(ActiveForm(), QStringLiteral("ОК")));
        const qint64 key = RowOf(dirType, name);
        QVERIFY2(key > 0, qPrintable(CTarvikApp::GetErrorMessages().join(u'\n')));
        QCOMPARE(ActiveTitle(Frame()), QStringLiteral("Справочники: ") + item);
        // The list shows the new item as its current row.
        QCOMPARE(list->CurrentKey(), key);
        // Its name column fits the name.
        for (int c = 0; c < header->count(); ++c)
            if (list->Model()
                    ->data(list->Model()->index(list->View()->currentIndex().row(), c))
                    .toString() == name)
                QVERIFY(header->sectionSize(c) >
                        list->View()->fontMetrics().horizontalAdvance(name));

        // Edited: Enter opens it, a new name typed over the old.
        list->View()->setFocus();
        Key(Qt::Key_Return);
        QCOMPARE(ActiveTitle(Frame()), caption + QStringLiteral(": ") + name);
        Fill({QStringLiteral("type:cString:") + renamed});
        QVERIFY(Press(ActiveForm(), QStringLiteral("ОК")));
        QCOMPARE(RowOf(dirType, renamed), key);
        QTRY_COMPARE(list->Model()
                         ->data(list->Model()->index(list->View()->currentIndex().row(), 1))
                         .toString(),
                     renamed);

        // Deleted: Delete, then «Да».
        list->View()->setFocus();
        Answers().Answer(QStringLiteral("Да"));
        Key(Qt::Key_Delete);
        QCOMPARE(Answers().Take(),
                 QStringList{QStringLiteral("Удалить запись «%1»?").arg(renamed)});
        QCOMPARE(RowOf(dirType, renamed), -1);
        QVERIFY(!list->SelectKey(key));
        Frame().MDIArea()->closeAllSubWindows();
    }
};

QTEST_MAIN(TestUserPathsDirectories)
#include "test_user_paths_directories.moc"
