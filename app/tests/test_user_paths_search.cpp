// The journals' search panel as a user drives it through the program's own
// main window: the journal opened from its menu item, the panel switched on
// from the tool bar, a part of a name typed into the panel's field (Е finds
// Ё), the journal narrowed to the rows that hold it, «Очистить» bringing
// every row back, the panel switched off again; and each journal written to
// a workbook from the tool bar's «Передать в Excel».
#include "app/tests/app_shell_fixture.h"
#include "app/tests/user_paths.h"
#include "framework/widgets/lists/sql_list_ctrl.h"
#include "framework/widgets/open_external.h"
#include "tests/support/xlsx_reader.h"

#include <QLineEdit>

using namespace UserPath;

namespace {
// Rows of three journals: two of each hold the text typed into the search,
// one does not.
void Seed(SchemaTestDatabase& db) {
    db.Exec(QStringLiteral("INSERT INTO dailyreport (ROWID,dDate,nWorker1,nWorker2,nWorker3,"
                           "nWorkPlace,nGroupID,bIsFolder,cComment) VALUES "
                           "(1,'2024-03-01',-1,-1,-1,-1,0,0,'Выезд на вокзал'),"
                           "(2,'2024-03-02',-1,-1,-1,-1,0,0,'Ночной ВОКЗАЛ'),"
                           "(3,'2024-03-03',-1,-1,-1,-1,0,0,'Рынок')"));
    db.Exec(QStringLiteral("INSERT INTO traininglist (ROWID,cName,dDate,nGroupID,bIsFolder) "
                           "VALUES (1,'Профилактика ВИЧ','2024-03-01',0,0),"
                           "(2,'ВИЧ и гепатиты','2024-03-02',0,0),"
                           "(3,'Первая помощь','2024-03-03',0,0)"));
    db.Exec(QStringLiteral("INSERT INTO orginf (ROWID,cOrgID,cOrgName) VALUES "
                           "(0,'СВОЯ','Своя организация'),(1,'ЁЛКА','Фонд «Ёлка»'),"
                           "(2,'ЕЛЬ','Фонд «Елки-палки»'),(3,'ДУБ','Фонд «Дуб»')"));
}
} // namespace

class TestUserPathsSearch : public UserPathTest {
    Q_OBJECT

public:
    TestUserPathsSearch() : UserPathTest(QStringLiteral("upsearch"), Seed, Windows::Closed) {}

private:
    // Each row of the list as the texts of its cells, joined.
    static QStringList RowTexts(CxSQLListCtrl* list) {
        QStringList rows;
        const QAbstractItemModel* model = list->Model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join(u'|');
        }
        return rows;
    }
    // Which of the texts the list's rows show, in the order given.
    static QStringList Shown(CxSQLListCtrl* list, const QStringList& texts) {
        const QString all = RowTexts(list).join(u'\n');
        QStringList shown;
        for (const QString& text : texts)
            if (all.contains(text))
                shown << text;
        return shown;
    }

private slots:
    void journalNarrowed_data() {
        QTest::addColumn<QStringList>("menu");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("other");
        QTest::newRow("daily reports")
            << QStringList{QStringLiteral("Журналы"), QStringLiteral("Ежедневные учетные формы")}
            << QStringLiteral("Комментарий") << QStringLiteral("вокзал")
            << QStringList{QStringLiteral("Выезд на вокзал"), QStringLiteral("Ночной ВОКЗАЛ")}
            << QStringLiteral("Рынок");
        QTest::newRow("trainings")
            << QStringList{QStringLiteral("Журналы"), QStringLiteral("Проведенные тренинги")}
            << QStringLiteral("Название") << QStringLiteral("вич")
            << QStringList{QStringLiteral("Профилактика ВИЧ"), QStringLiteral("ВИЧ и гепатиты")}
            << QStringLiteral("Первая помощь");
        QTest::newRow("organisations")
            << QStringList{QStringLiteral("Справочники"), QStringLiteral("Организации")}
            << QStringLiteral("Полное название организации") << QStringLiteral("елк")
            << QStringList{QStringLiteral("Фонд «Ёлка»"), QStringLiteral("Фонд «Елки-палки»")}
            << QStringLiteral("Фонд «Дуб»");
    }
    void journalNarrowed() {
        QFETCH(QStringList, menu);
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        QFETCH(QString, other);
        QVERIFY(TriggerMenu(Frame(), menu));
        QWidget* view = ActiveView(Frame());
        QVERIFY(view);
        auto* list = view->findChild<CxSQLListCtrl*>();
        QVERIFY(list);
        const QStringList every = found + QStringList{other};
        QTRY_COMPARE(Shown(list, every), every);

        QAction* toggle = ToolBarAction(Frame(), QStringLiteral("Панель поиска"));
        QVERIFY(toggle);
        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Панель поиска")));
        auto* panel = list->findChild<QWidget*>(QStringLiteral("searchPanel"));
        QVERIFY(panel && panel->isVisible());
        Frame().UpdateCommandUI();
        QVERIFY(toggle->isChecked());

        QLineEdit* editor = nullptr;
        for (QLineEdit* line : panel->findChildren<QLineEdit*>())
            if (line->toolTip() == field)
                editor = line;
        QVERIFY2(editor, qPrintable(field));
        Click(editor);
        Type(typed);
        Key(Qt::Key_Return);
        QTRY_COMPARE(Shown(list, every), found);

        QVERIFY(Press(panel, QStringLiteral("Очистить")));
        QTRY_COMPARE(Shown(list, every), every);
        QVERIFY(editor->text().isEmpty());

        QVERIFY(TriggerToolBar(Frame(), QStringLiteral("Панель поиска")));
        QVERIFY(!panel->isVisible());
    }

    void journalToExcel_data() { journalNarrowed_data(); }
    void journalToExcel() {
        QFETCH(QStringList, menu);
        QFETCH(QStringList, found);
        QVERIFY(TriggerMenu(Frame(), menu));
        auto* list = ActiveView(Frame())->findChild<CxSQLListCtrl*>();
        QVERIFY(list);
        QTRY_COMPARE(Shown(list, found), found);
        QList<QUrl> opened;
        SetExternalOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        const bool triggered = TriggerToolBar(Frame(), QStringLiteral("Передать в Excel"));
        SetExternalOpener({});
        QVERIFY(triggered);
        QCOMPARE(opened.size(), 1);
        const XlsxSheet sheet = ReadXlsxSheet(opened[0].toLocalFile());
        QFile::remove(opened[0].toLocalFile());
        QVERIFY(sheet.ok);
        QCOMPARE(sheet.Rows(), list->Model()->rowCount() + 1);
        QStringList cells;
        for (int row = 1; row < sheet.Rows(); ++row)
            for (int column = 0; column < list->Model()->columnCount(); ++column)
                cells << sheet.Text(row, column);
        for (const QString& text : found)
            QVERIFY2(cells.contains(text), qPrintable(cells.join(u'|')));
    }
};

QTEST_MAIN(TestUserPathsSearch)
#include "test_user_paths_search.moc"
