// The item models of the widget side under QAbstractItemModelTester, and
// the editors that turn typed names into row keys: the grid's cells (check
// cells, numbers, read-only cells, row keys by name), the ordered chooser,
// the SQL combo list and the auto-complete edit.
#include "framework/core/lists/sql_choice_model.h"
#include "framework/core/tests/test_dir_table.h"
#include "framework/widgets/forms/sql_acc_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "tests/support/schema_test_database.h"

#include <QAbstractItemModelTester>
#include <QListView>
#include <QPushButton>
#include <QTest>

class TestWidgetModels : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<TestMaterials> m_table;

private slots:
    void initTestCase() {
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("wm"));
        auto* sql = new CxMySQL;
        SQLConnectXML info = m_db->Info();
        QVERIFY(sql->Connect(&info));
        g_pBaseSQLConnection.reset(sql);
        m_table = std::make_unique<TestMaterials>();
        // 250 materials (more than a page of choices), a folder and a hidden
        // row.
        QStringList rows;
        for (int i = 0; i < 250; ++i)
            rows << QStringLiteral("(%1,0,0,'Материал %2',3,0,0)")
                        .arg(i + 1)
                        .arg(i, 3, 10, QLatin1Char('0'));
        rows << QStringLiteral("(300,0,1,'Папка',3,0,0)")
             << QStringLiteral("(301,0,0,'Скрытый',3,1,0)")
             << QStringLiteral("(302,0,0,'Шприц 50%_x',3,0,0)");
        m_db->Exec(QStringLiteral("INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,"
                                  "bHidden,nTown) VALUES ") +
                   rows.join(u','));
    }
    // A model the tester finds fault with says so in a warning (the tester's
    // own or the model's index checks): every warning fails the case.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }
    void cleanupTestCase() {
        m_table.reset();
        g_pBaseSQLConnection.reset();
        m_db.reset();
    }

    void gridCells() {
        CGridCtrl grid;
        QAbstractItemModelTester tester(grid.Model());
        grid.Begin();
        const int name = grid.RegisterColumn(QStringLiteral("Материал"), 200);
        const int count = grid.RegisterColumn(QStringLiteral("Количество"));
        const int check = grid.RegisterColumn(QStringLiteral("Выдан"));
        grid.GetColumnDef(name)
            ->SetRuntimeClass(&CxOldEditSQLAcc::staticMetaObject)
            .SetTable(m_table.get());
        grid.GetColumnDef(count)->SetIntegerField().SetAlign(2);
        grid.GetColumnDef(check)->SetRuntimeClass(&CxInplacedCheck::staticMetaObject);
        grid.End();
        QCOMPARE(grid.GetItemCount(), 0);
        // Loading grows the grid to the row it names.
        grid.LoadCell(2, name, QStringLiteral("5"));
        QCOMPARE(grid.GetItemCount(), 3);
        QCOMPARE(grid.Model()->data(grid.Model()->index(2, name)).toString(),
                 QStringLiteral("Материал 004"));
        QString text;
        QCOMPARE(grid.SaveCell(2, name, &text), int(CGridCtrl::CELL_VALUE));
        QCOMPARE(text, QStringLiteral("5"));
        QCOMPARE(grid.SaveCell(0, name, &text), int(CGridCtrl::CELL_EMPTY));
        // Check cells hold "1" or "0".
        QVERIFY(
            grid.Model()->setData(grid.Model()->index(1, check), Qt::Checked, Qt::CheckStateRole));
        QCOMPARE(grid.GetItemText(1, check), QStringLiteral("1"));
        QVERIFY(grid.Model()->setData(grid.Model()->index(1, check), Qt::Unchecked,
                                      Qt::CheckStateRole));
        QCOMPARE(grid.GetItemText(1, check), QStringLiteral("0"));
        // A number column refuses a text, with a tip at the cell.
        QVERIFY(!grid.Model()->setData(grid.Model()->index(0, count), QStringLiteral("пять")));
        int row = -1, column = -1;
        QVERIFY(!grid.LastErrorTip(&row, &column).isEmpty());
        QCOMPARE(row, 0);
        QCOMPARE(column, count);
        QVERIFY(grid.Model()->setData(grid.Model()->index(0, count), QStringLiteral("-3")));
        // A read-only cell takes nothing.
        grid.SetCellReadOnly(0, count, true);
        QVERIFY(!grid.Model()->setData(grid.Model()->index(0, count), QStringLiteral("7")));
        QCOMPARE(grid.GetItemText(0, count), QStringLiteral("-3"));

        // A name typed into a key cell: known names give the key, others are
        // kept as typed and reported.
        CGridDelegate delegate(&grid);
        CxOldEditSQLAcc editor;
        editor.SetAutoCompleteTable(m_table.get());
        editor.setText(QStringLiteral("  материал 010 "));
        delegate.setModelData(&editor, grid.Model(), grid.Model()->index(1, name));
        QCOMPARE(grid.SaveCell(1, name, &text), int(CGridCtrl::CELL_VALUE));
        QCOMPARE(text, QStringLiteral("11"));
        editor.setText(QStringLiteral("Нет такого"));
        delegate.setModelData(&editor, grid.Model(), grid.Model()->index(1, name));
        QCOMPARE(grid.SaveCell(1, name, &text), int(CGridCtrl::CELL_NOT_FOUND));
        QCOMPARE(grid.GetItemText(1, name), QStringLiteral("Нет такого"));

        grid.SetAutoGrow(true);
        QCOMPARE(grid.GetItemCount(), 4);
        grid.SetItemText(3, count, QStringLiteral("1"));
        grid.Model()->setData(grid.Model()->index(3, count), QStringLiteral("2"));
        QCOMPARE(grid.GetItemCount(), 5);
    }

    void autoCompleteEdit() {
        CxOldEditSQLAcc edit;
        QString value;
        QCOMPARE(edit.GetValueAsROWID(&value), int(CxOldEditSQLAcc::VALUE_EMPTY));
        edit.SetAutoCompleteTable(m_table.get());
        edit.setText(QStringLiteral("   "));
        QCOMPARE(edit.GetValueAsROWID(&value), int(CxOldEditSQLAcc::VALUE_EMPTY));
        QVERIFY(value.isEmpty());
        edit.setText(QStringLiteral("Нет такого"));
        QCOMPARE(edit.GetValueAsROWID(&value), int(CxOldEditSQLAcc::VALUE_NOT_FOUND));
        QVERIFY(edit.SetValueFromROWID(301)); // hidden rows still have names
        QCOMPARE(edit.text(), QStringLiteral("Скрытый"));
        QVERIFY(!edit.SetValueFromROWID(999));
        QCOMPARE(edit.text(), QStringLiteral("Скрытый"));
        QCOMPARE(edit.GetValueAsROWID(&value), int(CxOldEditSQLAcc::VALUE_FOUND));
        QCOMPARE(value, QStringLiteral("301"));
        // Rebinding lets go of the old table.
        edit.SetAutoCompleteTable(nullptr);
        QVERIFY(!edit.GetAutoCompleteTable());
        QCOMPARE(edit.GetValueAsROWID(&value), int(CxOldEditSQLAcc::VALUE_NOT_FOUND));
    }

    void sqlChoices() {
        CSQLAutoComplete source(m_table.get());
        CxSQLChoiceModel model;
        QAbstractItemModelTester tester(&model);
        model.SetSource(&source);
        QCOMPARE(model.rowCount(), CxSQLChoiceModel::kPageSize);
        while (model.canFetchMore())
            model.fetchMore();
        // Folders and hidden rows are not offered.
        QCOMPARE(model.rowCount(), 251);
        QCOMPARE(model.RowOfKey(300), -1);
        QCOMPARE(model.RowOfKey(301), -1);
        // A prefix with LIKE's own characters matches them literally.
        model.SetPrefix(QStringLiteral("Шприц 50%_"));
        QCOMPARE(model.rowCount(), 1);
        model.SetPrefix(QStringLiteral("шприц 50_"));
        QCOMPARE(model.rowCount(), 0);
        model.SetPrefix(QStringLiteral("материал 24"));
        QCOMPARE(model.rowCount(), 10);

        CxSqlComboList combo;
        combo.SetControlInfo(m_table.get());
        combo.SetSelectedID(42);
        QCOMPARE(combo.currentText(), QStringLiteral("Материал 041"));
        QCOMPARE(combo.GetSelectedID(), qint64(42));
        combo.setEditText(QStringLiteral("материал 007"));
        QCOMPARE(combo.GetSelectedID(), qint64(8));
        combo.setEditText(QStringLiteral("Нечто"));
        QCOMPARE(combo.GetSelectedID(), qint64(-2));
        // A folder's name typed in full names no row; a hidden row's does.
        combo.setEditText(QStringLiteral("папка"));
        QCOMPARE(combo.GetSelectedID(), qint64(-2));
        combo.setEditText(QStringLiteral("Скрытый"));
        QCOMPARE(combo.GetSelectedID(), qint64(301));
        combo.setEditText(QString());
        QCOMPARE(combo.GetSelectedID(), qint64(-1));
    }

    void orderedChooser() {
        CxListSelOrderEntries entries{{false, QStringLiteral("А"), 1},
                                      {true, QStringLiteral("Б"), 2},
                                      {false, QStringLiteral("В"), 3}};
        CxListSelOrder chooser;
        QAbstractItemModelTester tester(chooser.Model());
        chooser.Bind(&entries);
        QCOMPARE(chooser.Model()->rowCount(), 3);
        // Tick "В" and move it above "Б".
        QVERIFY(
            chooser.Model()->setData(chooser.Model()->index(2), Qt::Checked, Qt::CheckStateRole));
        chooser.View()->setCurrentIndex(chooser.Model()->index(2));
        chooser.findChild<QPushButton*>(QStringLiteral("moveUp"))->click();
        QCOMPARE(chooser.ChosenIds(), QList<int>({3, 2}));
        // Nothing reaches the caller's entries before Apply.
        QCOMPARE(entries[2].id, 3);
        QVERIFY(!entries[2].selected);
        QVERIFY(chooser.Apply());
        QCOMPARE(entries[1].id, 3);
        QVERIFY(entries[1].selected);
        QVERIFY(!chooser.Model()->Move(0, -1));
        QVERIFY(!chooser.Model()->Move(2, 1));
        QVERIFY(chooser.Model()->Move(0, 1));
        QCOMPARE(chooser.Model()->Entries()[1].id, 1);
    }
};

QTEST_MAIN(TestWidgetModels)
#include "test_widget_models.moc"
