// The visits sheet as an item model, without the database: every change runs
// under QAbstractItemModelTester; the row offered for typing a new client is
// never a row of the sheet until something is typed into it; cells keep the
// sheet's rules (digits only in counts, "1" for any number in a 0/1 column).
#include "diary/core/sheet_columns.h"
#include "diary/visits_sheet_model.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {
enum : qint32 { kSyringe = 101, kMeal = 103, kHivConsult = 104 };

CSheetMaterials Materials() {
    CSheetMaterials m;
    m.insert(kSyringe, {kSyringe, QStringLiteral("Шприц"), 65538, 0, false});
    m.insert(kMeal, {kMeal, QStringLiteral("Питание"), 266239, 0, false});
    m.insert(kHivConsult, {kHivConsult, QStringLiteral("ВИЧ"), 462847, 1 | 2 | 16, false});
    return m;
}

QStringList Row(const CVisitsSheet& sheet, int row) {
    QStringList texts;
    for (int c = 0; c < sheet.ColumnCount(); ++c)
        texts << sheet.Text(row, c);
    return texts;
}
} // namespace

class TestVisitsSheetModel : public QObject {
    Q_OBJECT

private slots:
    // Typing a sheet from nothing, rebuilding its columns, moving one and
    // emptying cells: the model stays consistent with its views throughout.
    void editsUnderTheModelTester() {
        CVisitsSheet sheet;
        CVisitsSheetModel model(&sheet);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 1); // the row to type into
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("*"));

        model.BeginSheetChange();
        UpdateSheetColumns(&sheet, {kSyringe, kMeal, kHivConsult}, Materials(), nullptr);
        model.EndSheetChange();
        QCOMPARE(model.columnCount(), 5); // client, syringe, meal, two kinds

        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QVERIFY(model.setData(model.index(0, 1), QStringLiteral("3")));
        QCOMPARE(sheet.RowCount(), 1);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QVERIFY(model.SetClient(1, 201, QStringLiteral("АБВ0190Ч")));
        QCOMPARE(sheet.ClientId(1), 201);
        QCOMPARE(model.index(1, 0).data(CVisitsSheetModel::ClientIdRole).toLongLong(), 201);
        QVERIFY(model.setData(model.index(1, 2), QStringLiteral("7")));
        QCOMPARE(sheet.Text(1, 2), QStringLiteral("1"));
        QCOMPARE(model.rowCount(), 3);

        // The user drags the meal column to the front and back.
        model.MoveColumn(2, 0);
        QCOMPARE(sheet.Column(0).key, (CSheetColumnKey{kMeal, -1}));
        QCOMPARE(Row(sheet, 1), (QStringList{"1", "АБВ0190Ч", "", "", ""}));
        model.MoveColumn(0, 4);
        QCOMPARE(sheet.Column(4).key, (CSheetColumnKey{kMeal, -1}));
        QCOMPARE(Row(sheet, 0), (QStringList{"", "3", "", "", ""}));

        // Delete over a block empties it; the rows stay (empty rows are no
        // rows to the save).
        model.ClearCells({model.index(0, 1), model.index(1, 4), model.index(2, 1)});
        QCOMPARE(Row(sheet, 0), (QStringList{"", "", "", "", ""}));
        QCOMPARE(sheet.Text(1, 4), QString());
        QCOMPARE(sheet.RowCount(), 2);

        // A smaller choice of items keeps what holds counts.
        QVERIFY(model.setData(model.index(0, 1), QStringLiteral("2")));
        model.BeginSheetChange();
        UpdateSheetColumns(&sheet, {kMeal}, Materials(), nullptr);
        model.EndSheetChange();
        QCOMPARE(model.columnCount(), 3);
    }

    // What a cell takes, by column kind; refused texts change nothing.
    void cellsKeepTheSheetRules_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("stored");
        QTest::newRow("count") << 1 << "12" << true << "12";
        QTest::newRow("count, letters") << 1 << "12 шт." << false << "";
        QTest::newRow("count, negative") << 1 << "-3" << false << "";
        QTest::newRow("count, ten digits") << 1 << "1234567890" << false << "";
        QTest::newRow("0/1, any number is 1") << 2 << "5" << true << "1";
        QTest::newRow("0/1, zero") << 2 << "0" << true << "0";
        QTest::newRow("kind column") << 3 << "2" << true << "1";
        QTest::newRow("client code") << 0 << "O'Brien" << true << "O'Brien";
    }
    void cellsKeepTheSheetRules() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, taken);
        QFETCH(QString, stored);
        CVisitsSheet sheet;
        UpdateSheetColumns(&sheet, {kSyringe, kMeal, kHivConsult}, Materials(), nullptr);
        sheet.AppendRow();
        CVisitsSheetModel model(&sheet);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.setData(model.index(0, column), typed), taken);
        QCOMPARE(sheet.Text(0, column), stored);
    }

    // The sheet the save reads holds the typed rows only: the row offered
    // for a new client, and an empty text put into it, make no row. In
    // service mode (clients only) every row counts 1, so a trailing empty row
    // would fail every save.
    void theNewRowIsNoRowOfTheSheet() {
        CVisitsSheet sheet;
        CVisitsSheetModel model(&sheet);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("   ")));
        QVERIFY(model.SetClient(0, 0, QString()));
        QCOMPARE(sheet.RowCount(), 0);
        QVERIFY(model.setData(model.index(0, 0), QStringLiteral("АБВ0190Ч")));
        QVERIFY(model.setData(model.index(1, 0), QStringLiteral("ГДЕ1585Ж")));
        QCOMPARE(sheet.RowCount(), 2);
        QCOMPARE(model.rowCount(), 3);
        QVERIFY(model.IsNewRow(2));
        QCOMPARE(model.index(2, 0).data().toString(), QString());
        QVERIFY(sheet.ServiceAllowed());
    }

    // Totals follow the edits; a changed cell tells its column.
    void totalsFollowTheEdits() {
        CVisitsSheet sheet;
        UpdateSheetColumns(&sheet, {kSyringe, kMeal}, Materials(), nullptr);
        CVisitsSheetModel model(&sheet);
        QSignalSpy totals(&model, &CVisitsSheetModel::totalsChanged);
        model.setData(model.index(0, 1), QStringLiteral("4"));
        model.setData(model.index(1, 1), QStringLiteral("6"));
        model.setData(model.index(1, 2), QStringLiteral("9"));
        QCOMPARE(sheet.Total(1), 10);
        QCOMPARE(sheet.Total(2), 1);
        QCOMPARE(totals.last().first().toInt(), 2);
        model.setData(model.index(0, 1), QString());
        QCOMPARE(sheet.Total(1), 6);
    }
};

QTEST_GUILESS_MAIN(TestVisitsSheetModel)
#include "test_visits_sheet_model.moc"
