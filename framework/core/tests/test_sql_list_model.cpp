// The list model over a descriptor: its query, folders, pages that continue
// exactly where the last one ended (in every sort, NULLs and equal values
// included), filters and grouping, and the reload when another connection
// changes the table. Every case runs under QAbstractItemModelTester.
#include "db/change_watcher.h"
#include "db/mysql_connection.h"
#include "framework/core/lists/sql_filter.h"
#include "framework/core/lists/sql_list_model.h"
#include "framework/core/notify/table_change_notifier.h"
#include "framework/core/tarvik_app.h"
#include "test_dir_table.h"
#include "tests/support/schema_test_database.h"

#include <QAbstractItemModelTester>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
QStringList Keys(CxSQLListModel& model) {
    while (model.canFetchMore())
        model.fetchMore();
    QStringList keys;
    for (int i = 0; i < model.rowCount(); ++i)
        keys << QString::number(model.RowKey(i));
    return keys;
}
} // namespace

class TestSQLListModel : public QObject {
    Q_OBJECT
    std::unique_ptr<SchemaTestDatabase> m_db;
    std::unique_ptr<TestMaterials> m_table;

    void Fill(CxSQLListModel& model) {
        model.Begin(m_table.get(), QStringLiteral("Materials"));
        model.SetConnection(m_db->Connection());
        model.RegisterField(m_table->m_ROWID);
        model.RegisterField(m_table->m_cString);
        model.RegisterField(m_table->m_nKindText);
        model.RegisterField(m_table->m_nSortCode, QStringLiteral("Порядок сортировки"));
        model.RegisterField(m_table->m_FOLDER);
        model.EnableFolders(m_table->m_cString, m_table->m_bIsFolder, m_table->m_nGroupID);
    }

private slots:
    void initTestCase() {
        m_db = std::make_unique<SchemaTestDatabase>(QStringLiteral("list"));
        m_table = std::make_unique<TestMaterials>();
        // Two folders at the root, one inside the other; 59 rows at the root
        // with repeated and missing sort codes, two without a name; three
        // rows in a folder; one row of another directory kind.
        m_db->Exec(QStringLiteral(
            "INSERT INTO dir (ROWID,nGroupID,bIsFolder,cString,nDirType,nType,bHidden,nTown,"
            "nSortCode) VALUES (1,0,1,'Папка Б',3,0,0,0,NULL),(2,0,1,'Папка А',3,0,0,0,NULL),"
            "(3,2,1,'Вложенная',3,0,0,0,NULL),(4,2,0,'Бинт',3,196614,0,0,5),(5,2,0,'Вата',3,"
            "196613,0,0,5),(6,3,0,'Глубоко',3,65537,0,0,1),(7,0,0,'Пункт',1,0,0,0,NULL),"
            "(8,0,0,NULL,3,65537,0,0,2),(9,0,0,NULL,3,65537,0,0,NULL)"));
        m_db->Exec(InsertRootMaterials(57, QStringLiteral("Материал %1")));
    }
    void cleanupTestCase() {
        m_table.reset();
        m_db.reset();
    }

    void firstPageAndQuery() {
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        Fill(model);
        model.SetPageSize(10);
        QVERIFY(model.End());
        QCOMPARE(model.columnCount(), 5);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Название"));
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(),
                 QStringLiteral("Порядок сортировки"));
        QCOMPARE(model.rowCount(), 10);
        QVERIFY(model.canFetchMore());
        // Folders first, then by name (the sort the list opens with).
        QCOMPARE(model.SortColumn(), 1);
        QCOMPARE(model.RowKey(0), qint64(2));
        QCOMPARE(model.RowKey(1), qint64(1));
        QVERIFY(model.IsFolderRow(0));
        QVERIFY(!model.IsFolderRow(2));
        // Rows without a name come first, as the server sorts NULLs.
        QVERIFY(model.RowText(2, 1).isNull());
        QCOMPARE(model.RowKey(2), qint64(8));
        QCOMPARE(model.RowText(4, 1), QStringLiteral("Материал 00"));
        QCOMPARE(model.data(model.index(4, 2)).toString(), QStringLiteral("Шприцы"));
        QCOMPARE(model.data(model.index(4, 0), CxSQLListModel::KeyRole).toLongLong(), qint64(100));
        const QString sql = model.BuildPageQuery(-1, 10);
        QVERIFY(sql.contains(QStringLiteral("(dir.nDirType=3)")));
        QVERIFY(sql.contains(QStringLiteral("dir.nGroupID=0 OR dir.nGroupID IS NULL")));
        QVERIFY(sql.endsWith(QStringLiteral("LIMIT 10")));
        QCOMPARE(Keys(model).size(), 61);
        QVERIFY(!model.canFetchMore());
    }

    void pagesContinueInEverySort_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QString>("order");
        // The reference order: the same keys in one statement.
        QTest::newRow("name asc") << 1 << true << "bIsFolder DESC,cString ASC,ROWID ASC";
        QTest::newRow("name desc") << 1 << false << "bIsFolder DESC,cString DESC,ROWID DESC";
        QTest::newRow("sort code asc (NULLs, repeats)")
            << 3 << true << "bIsFolder DESC,nSortCode IS NULL DESC,nSortCode ASC,ROWID ASC";
        QTest::newRow("sort code desc")
            << 3 << false << "bIsFolder DESC,nSortCode IS NULL ASC,nSortCode DESC,ROWID DESC";
        QTest::newRow("kind text (an expression)")
            << 2 << true
            << "bIsFolder DESC,(CASE nType>>16 WHEN 1 THEN 'Шприцы' WHEN 2 THEN 'Иглы' END) "
               "ASC,ROWID ASC";
        QTest::newRow("key desc") << 0 << false << "bIsFolder DESC,ROWID DESC,ROWID DESC";
    }
    void pagesContinueInEverySort() {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(QString, order);
        const QString expected =
            m_db->Rows(QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=3 AND nGroupID=0 "
                                      "ORDER BY ") +
                       order);
        // Small pages and large, of one size or growing with the rows loaded;
        // sorted by the server, or read in the order of a unique index where
        // the column has one (the name, the key).
        for (int pageSize : {1, 7, 200})
            for (int indexOrderRows : {0, CxSQLListModel::kIndexOrderRows}) {
                CxSQLListModel model;
                QAbstractItemModelTester tester(&model);
                Fill(model);
                model.SetPageSize(pageSize);
                model.SetMaxPageSize(pageSize);
                model.SetIndexOrderRows(indexOrderRows);
                QVERIFY(model.End());
                model.sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
                // Reading every row apart (as an export does) gives the same
                // order and leaves the view's rows as they were.
                const int shown = model.rowCount();
                QStringList all;
                CxSQLError error;
                QVERIFY(model.ReadAllRows(
                    [&](const QStringList& texts) {
                        all << texts.value(0);
                        return true;
                    },
                    pageSize, &error));
                QVERIFY(!error.isSet());
                QCOMPARE(all.join(u';'), expected);
                QCOMPARE(model.rowCount(), shown);
                QCOMPARE(Keys(model).join(u';'), expected);
            }
        // A page after others reads as many rows as are loaded, up to the
        // most a page may read; a folder (61 rows) that a page of the most
        // rows holds is read to its end by the first page after the first.
        const QList<QPair<int, QList<int>>> growth{
            {20, {3, 6, 12, 24, 44, 61}}, {60, {3, 6, 12, 24, 48, 61}}, {61, {3, 61}}};
        for (const auto& [maxPage, expectedCounts] : growth) {
            CxSQLListModel model;
            QAbstractItemModelTester tester(&model);
            Fill(model);
            model.SetPageSize(3);
            model.SetMaxPageSize(maxPage);
            QVERIFY(model.End());
            model.sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
            QList<int> counts{int(model.rowCount())};
            while (model.canFetchMore() && counts.size() < 8) {
                model.fetchMore();
                counts << int(model.rowCount());
            }
            QCOMPARE(counts, expectedCounts);
            QCOMPARE(Keys(model).join(u';'), expected);
        }
    }

    void foldersNavigate() {
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        Fill(model);
        QVERIFY(model.End());
        QVERIFY(model.HasFolders());
        QVERIFY(model.FolderPath().isEmpty());
        QSignalSpy reloaded(&model, &CxSQLListModel::reloaded);
        QVERIFY(model.SetFolder(2));
        QCOMPARE(reloaded.count(), 1);
        QCOMPARE(Keys(model), QStringList({"3", "4", "5"}));
        QCOMPARE(model.RowText(1, 4), QStringLiteral("Папка А"));
        QVERIFY(model.SetFolder(3));
        QCOMPARE(Keys(model), QStringList({"6"}));
        const auto path = model.FolderPath();
        QCOMPARE(path.size(), 2);
        QCOMPARE(path[0].first, qint64(2));
        QCOMPARE(path[0].second, QStringLiteral("Папка А"));
        QCOMPARE(path[1].second, QStringLiteral("Вложенная"));
        QCOMPARE(model.ParentOf(6), qint64(3));
        QCOMPARE(model.ParentOf(100), qint64(0));
        QCOMPARE(model.ParentOf(9999), qint64(-1));
        QVERIFY(model.SetFolder(0));
        QCOMPARE(model.CurrentFolder(), qint64(0));
        // A row far down is found by loading the pages before it.
        model.SetPageSize(5);
        QVERIFY(model.Reload());
        const QStringList order =
            m_db->Rows(QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=3 AND nGroupID=0 "
                                      "ORDER BY bIsFolder DESC,cString,ROWID"))
                .split(u';');
        QCOMPARE(model.FindRow(156), int(order.indexOf(QStringLiteral("156"))));
        QCOMPARE(model.FindRow(12345), -1);
    }

    void filtersAndGrouping() {
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        Fill(model);
        CxSQLFilter filter;
        filter.AddFilter(m_table->m_nKind, QStringLiteral("="), QStringLiteral("1"));
        model.AddFilter(&filter);
        QVERIFY(model.End());
        QCOMPARE(Keys(model).size(), 21);
        // Filters apply as they are at each load.
        filter.ClearFilter();
        filter.AddSQLFilter(QStringLiteral("{TABLE}.cString LIKE 'Материал 0%'"));
        QVERIFY(model.Reload());
        QCOMPARE(Keys(model).size(), 10);
        // A value that does not fit its field matches nothing.
        filter.ClearFilter();
        filter.AddFilter(m_table->m_ROWID, QStringLiteral("="), QStringLiteral("1 OR 1=1"));
        QVERIFY(model.Reload());
        QCOMPARE(model.rowCount(), 0);

        // One line per kind (0 for the folders, 3 without a text).
        CxSQLListModel grouped;
        QAbstractItemModelTester groupedTester(&grouped);
        grouped.Begin(m_table.get(), QStringLiteral("ByKind"));
        grouped.SetConnection(m_db->Connection());
        grouped.RegisterField(m_table->m_nKindText);
        grouped.AddGroupBy(QStringLiteral("{TABLE}.nType>>16"));
        grouped.SetPageSize(1);
        QVERIFY(grouped.End());
        while (grouped.canFetchMore())
            grouped.fetchMore();
        QStringList kinds;
        for (int i = 0; i < grouped.rowCount(); ++i)
            kinds << grouped.RowText(i, 0);
        QCOMPARE(kinds, QStringList({"", "", "Иглы", "Шприцы"}));
    }

    void failedPageKeepsTheRows() {
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        Fill(model);
        model.SetPageSize(10);
        QVERIFY(model.End());
        QSignalSpy failed(&model, &CxSQLListModel::loadFailed);
        CxSQLFilter broken;
        broken.AddSQLFilter(QStringLiteral("no_such_column=1"));
        model.AddFilter(&broken);
        model.fetchMore();
        QCOMPARE(failed.count(), 1);
        QCOMPARE(model.rowCount(), 10);
        QVERIFY(model.LastError().statement.contains(QStringLiteral("no_such_column")));
        QVERIFY(!model.canFetchMore());
        QVERIFY(!model.Reload());
        QCOMPARE(model.rowCount(), 10);
        CTarvikApp::ClearErrorMessages();
    }

    void reloadsOnAnotherConnectionsChange() {
        CxSQLListModel model;
        QAbstractItemModelTester tester(&model);
        Fill(model);
        // Pages of 10 rows, so that a reload has part of the folder to keep.
        model.SetPageSize(10);
        model.SetMaxPageSize(10);
        QVERIFY(model.End());
        model.fetchMore();
        QCOMPARE(model.rowCount(), 20);
        QSignalSpy reloaded(&model, &CxSQLListModel::reloaded);
        QVERIFY(model.WatchedTables().contains(QStringLiteral("DIR")));

        // A burst of notices for the table (and one it does not join) makes
        // one reload, and none is left waiting after it.
        auto* pending = model.findChild<QTimer*>(QStringLiteral("reloadTimer"));
        QVERIFY(pending);
        CxTableChangeNotifier::Instance()->OnNotify(QStringLiteral("SQL"), QStringLiteral("dir"));
        CxTableChangeNotifier::Instance()->OnNotify(QStringLiteral("SQL"), QStringLiteral("DIR"));
        CxTableChangeNotifier::Instance()->OnNotify(QStringLiteral("SQL"),
                                                    QStringLiteral("clientdata"));
        QVERIFY(reloaded.wait());
        QCOMPARE(reloaded.count(), 1);
        QVERIFY(!pending->isActive());

        // Another copy of the program renames a row and counts the change;
        // this copy learns of it when its watcher polls the counters (the
        // first poll only reads them, so the other copy counts again until a
        // reload shows).
        MySQLWatchdog().WatchTable(QStringLiteral("dir"));
        MySQLWatchdog().Start(m_db->Connection());
        CxMySQL other;
        SQLConnectXML info = m_db->Info();
        QVERIFY(other.Connect(&info));
        reloaded.clear();
        QElapsedTimer clock;
        clock.start();
        int counted = 0;
        while (reloaded.isEmpty() && clock.elapsed() < 20000) {
            if (clock.elapsed() >= counted * 1000) {
                // Raw statements: the other copy's changes never reach this
                // copy's watcher directly.
                QVERIFY(other
                            .ExecuteRaw("UPDATE dir SET cString='Материал 00 (новый)' WHERE "
                                        "ROWID=100")
                            .isValid());
                QVERIFY(other
                            .ExecuteRaw("INSERT INTO watchdog (cTable,nChangeID) VALUES ('DIR',"
                                        "1) ON DUPLICATE KEY UPDATE nChangeID=nChangeID+1")
                            .isValid());
                ++counted;
            }
            QTest::qWait(20);
        }
        MySQLWatchdog().Stop(m_db->Connection());
        QVERIFY(!reloaded.isEmpty());
        QCOMPARE(model.rowCount(), 20);
        QCOMPARE(model.RowText(4, 1), QStringLiteral("Материал 00 (новый)"));
    }

    void columnColour() {
        CxSQLListModel model;
        Fill(model);
        model.FindSColumnData(m_table->m_cString)->SetColor(0xFF0000);
        QVERIFY(model.End());
        QCOMPARE(model.data(model.index(0, 1), CxSQLListModel::TextColorRole).toUInt(),
                 0xFF0000FFu);
        QVERIFY(!model.data(model.index(0, 0), CxSQLListModel::TextColorRole).isValid());
        QVERIFY(!model.FindSColumnData(m_table->m_bHidden));
    }
};

QTEST_GUILESS_MAIN(TestSQLListModel)
#include "test_sql_list_model.moc"
