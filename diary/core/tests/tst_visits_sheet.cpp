// The visits sheet without the database: the cells as users type them, the
// totals row, the column set after choosing materials and packages, and the
// package text.
#include "diary/core/cell_number.h"
#include "diary/core/material_pack.h"
#include "diary/core/sheet_columns.h"
#include "diary/core/visits_sheet.h"
#include "framework/core/containers/string_archive.h"

#include <QTest>

Q_DECLARE_METATYPE(ECellCount)
Q_DECLARE_METATYPE(ECellMark)

namespace {
enum : int { kSyringe = 101, kCondom = 102, kMeal = 103, kHiv = 104, kGone = 999 };

CSheetMaterials Materials(int hivFlags = 1 | 2 | 16) {
    CSheetMaterials m;
    m.insert(kSyringe, {kSyringe, QStringLiteral("Шприц 2мл"), 0x10002, 0, false});
    m.insert(kCondom, {kCondom, QStringLiteral("Презервативы"), 0x80001, 0, false});
    m.insert(kMeal, {kMeal, QStringLiteral("Горячее питание"), 0x40fff, 0, false});
    m.insert(kHiv, {kHiv, QStringLiteral("Консультация по ВИЧ"), 0x70fff, hivFlags, false});
    return m;
}

// The columns as "C" (client) or "item" / "item/kind", with a kind letter:
// n count, y 0/1, t text.
QString Columns(const CVisitsSheet& sheet) {
    QStringList out;
    for (int c = 0; c < sheet.ColumnCount(); ++c) {
        const CSheetColumn& col = sheet.Column(c);
        if (col.key.IsClient()) {
            out << QStringLiteral("C");
            continue;
        }
        QString text = QString::number(col.key.item);
        if (col.key.flag != -1)
            text += QLatin1Char('/') + QString::number(col.key.flag);
        text += col.kind == ESheetColumnKind::Count   ? QStringLiteral("n")
                : col.kind == ESheetColumnKind::YesNo ? QStringLiteral("y")
                                                      : QStringLiteral("t");
        out << text;
    }
    return out.join(u' ');
}

QString Row(const CVisitsSheet& sheet, int row) {
    QStringList cells;
    for (int c = 0; c < sheet.ColumnCount(); ++c)
        cells << sheet.Text(row, c);
    return cells.join(u'|');
}

// A sheet with the given items chosen and rows typed ("code|cell|cell...").
CVisitsSheet Sheet(const QList<qint32>& items, const QStringList& rows = {}) {
    CVisitsSheet sheet;
    UpdateSheetColumns(&sheet, items, Materials(), nullptr);
    for (const QString& text : rows) {
        const int r = sheet.AppendRow();
        const QStringList cells = text.split(u'|');
        for (int c = 0; c < cells.size(); ++c)
            sheet.SetText(r, c, cells[c]);
    }
    return sheet;
}
} // namespace

class TestVisitsSheet : public QObject {
    Q_OBJECT

private slots:
    void cellNumber_data();
    void cellNumber();
    void cellCount_data();
    void cellCount();
    void cellMark_data();
    void cellMark();
    void typedCells();
    void totalsFollowEdits();
    void chosenMaterialsMakeColumns();
    void smallerChoiceKeepsColumnsWithCounts();
    void newItemsGoRightMovedColumnsStay();
    void consultationLosingAKindLosesItsColumn();
    void whatCannotBeBuiltIsNoted();
    void rebuildKeepsValues();
    void packageAddsItsMaterials();
    void packStream_data();
    void packStream();
    void packTextsThatDoNotDecode_data();
    void packTextsThatDoNotDecode();
};

void TestVisitsSheet::cellNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("value");
    QTest::newRow("empty") << "" << true << 0;
    QTest::newRow("letters") << "abc" << true << 0;
    QTest::newRow("number") << "17" << true << 17;
    QTest::newRow("blanks and sign") << "  -3" << true << -3;
    QTest::newRow("plus") << "+4" << true << 4;
    QTest::newRow("number then word") << "12 шт." << true << 12;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("too large") << "2147483648" << false << 0;
    QTest::newRow("far too large") << "99999999999999999999" << false << 0;
}

void TestVisitsSheet::cellNumber() {
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QFETCH(int, value);
    qint32 read = -1;
    QCOMPARE(ReadCellNumber(text, &read), fits);
    QCOMPARE(read, value);
}

// A count cell filled outside the program is a count only when it is one
// exactly; everything else says why it is not.
void TestVisitsSheet::cellCount_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<ECellCount>("read");
    QTest::addColumn<int>("value");
    const auto count = ECellCount::Count;
    QTest::newRow("empty") << "  " << ECellCount::Empty << 0;
    QTest::newRow("number") << " 17 " << count << 17;
    QTest::newRow("zero") << "0" << count << 0;
    QTest::newRow("minus zero") << "-0" << count << 0;
    QTest::newRow("plus") << "+4" << count << 4;
    QTest::newRow("number then word") << "12 шт." << count << 12;
    QTest::newRow("number then a full stop") << "3." << count << 3;
    QTest::newRow("whole, written as a fraction") << "3.0" << count << 3;
    QTest::newRow("exponent") << "1.2E+3" << count << 1200;
    QTest::newRow("largest") << "2147483647" << count << 2147483647;
    QTest::newRow("letters") << "abc" << ECellCount::NotNumber << 0;
    QTest::newRow("a sign alone") << "-" << ECellCount::NotNumber << 0;
    QTest::newRow("thousands apart") << "1 000" << ECellCount::NotNumber << 0;
    QTest::newRow("a range") << "5-6" << ECellCount::NotNumber << 0;
    QTest::newRow("a mark") << "да" << ECellCount::NotNumber << 0;
    QTest::newRow("negative") << "-3" << ECellCount::Negative << 0;
    QTest::newRow("negative fraction") << "-1,5" << ECellCount::Negative << 0;
    QTest::newRow("comma fraction") << "1,5" << ECellCount::Fraction << 0;
    QTest::newRow("point fraction") << "2.7" << ECellCount::Fraction << 0;
    QTest::newRow("small exponent") << "5E-1" << ECellCount::Fraction << 0;
    QTest::newRow("too large") << "2147483648" << ECellCount::TooLarge << 0;
    QTest::newRow("far too large") << "99999999999" << ECellCount::TooLarge << 0;
    QTest::newRow("huge exponent") << "1E+300" << ECellCount::TooLarge << 0;
}

void TestVisitsSheet::cellCount() {
    QFETCH(QString, text);
    QFETCH(ECellCount, read);
    QFETCH(int, value);
    qint32 got = -1;
    QCOMPARE(ReadCellCount(text, &got), read);
    QCOMPARE(got, value);
}

void TestVisitsSheet::cellMark_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<ECellMark>("mark");
    const auto yes = ECellMark::Marked, no = ECellMark::Unmarked, bad = ECellMark::Unreadable;
    QTest::newRow("empty") << "" << no;
    QTest::newRow("zero") << "0" << no;
    QTest::newRow("one") << "1" << yes;
    QTest::newRow("any count") << "3" << yes;
    QTest::newRow("да") << " Да " << yes;
    QTest::newRow("плюс") << "+" << yes;
    QTest::newRow("cyrillic х") << "Х" << yes;
    QTest::newRow("tick") << "✓" << yes;
    QTest::newRow("нет") << "НЕТ" << no;
    QTest::newRow("negative") << "-1" << bad;
    QTest::newRow("fraction") << "0,5" << bad;
    QTest::newRow("a word") << "может быть" << bad;
}

void TestVisitsSheet::cellMark() {
    QFETCH(QString, text);
    QFETCH(ECellMark, mark);
    QCOMPARE(ReadCellMark(text), mark);
}

void TestVisitsSheet::typedCells() {
    CVisitsSheet sheet = Sheet({kSyringe, kMeal, kHiv});
    QCOMPARE(Columns(sheet), QStringLiteral("C 101n 103y 104/2y 104/16y"));
    const int r = sheet.AppendRow();
    sheet.SetText(r, 1, QStringLiteral("5"));
    sheet.SetText(r, 2, QStringLiteral("5"));
    sheet.SetText(r, 3, QStringLiteral("0"));
    sheet.SetText(r, 4, QStringLiteral("abc"));
    QCOMPARE(Row(sheet, r), QStringLiteral("|5|1|0|abc"));
    QCOMPARE(sheet.Number(r, 4), 0);

    // The client column holds a code; typing another forgets the client.
    sheet.SetClient(r, 201, QStringLiteral("АБВ0190Ч"));
    QCOMPARE(sheet.FindClientRow(201), r);
    sheet.SetText(r, 0, QStringLiteral("АБВ0190Ч"));
    QCOMPARE(sheet.ClientId(r), 201);
    sheet.SetText(r, 0, QStringLiteral("ГДЕ1585Ж"));
    QCOMPARE(sheet.ClientId(r), 0);
}

void TestVisitsSheet::totalsFollowEdits() {
    CVisitsSheet sheet = Sheet({kSyringe, kMeal}, {"a|3|1", "b|4|", "c|x|7"});
    QCOMPARE(sheet.Total(1), 7);
    QCOMPARE(sheet.Total(2), 2);
    sheet.SetText(1, 1, QStringLiteral("10"));
    QCOMPARE(sheet.Total(1), 13);
    sheet.RemoveRows(0, 1);
    QCOMPARE(sheet.Total(1), 10);
    QCOMPARE(sheet.Total(2), 1);
    sheet.MoveColumn(2, 1);
    QCOMPARE(sheet.Total(1), 1);
    QCOMPARE(sheet.Total(2), 10);
}

void TestVisitsSheet::chosenMaterialsMakeColumns() {
    CVisitsSheet sheet;
    QVERIFY(sheet.ServiceAllowed());
    QStringList notes;
    UpdateSheetColumns(&sheet, {kHiv, kSyringe, kMeal}, Materials(), &notes);
    QVERIFY(notes.isEmpty());
    // The kinds of one consultation side by side, in kind order.
    QCOMPARE(Columns(sheet), QStringLiteral("C 104/2y 104/16y 101n 103y"));
    QCOMPARE(sheet.Items(), (QList<qint32>{kHiv, kSyringe, kMeal}));
    QVERIFY(!sheet.ServiceAllowed());
    QVERIFY(sheet.Column(1).Caption().startsWith(QStringLiteral("Консультация по ВИЧ\n")));
    QCOMPARE(sheet.Column(3).Caption(), QStringLiteral("Шприц 2мл"));

    // Nothing chosen and nothing counted: the client column alone.
    UpdateSheetColumns(&sheet, {}, Materials(), &notes);
    QCOMPARE(Columns(sheet), QStringLiteral("C"));
    QVERIFY(sheet.ServiceAllowed());
}

void TestVisitsSheet::smallerChoiceKeepsColumnsWithCounts() {
    CVisitsSheet sheet = Sheet({kSyringe, kCondom, kMeal, kHiv}, {"a|5||0|0|", "b||0||1|0"});
    UpdateSheetColumns(&sheet, {kCondom}, Materials(), nullptr);
    // Syringes hold a count and the consultation a tick: they stay; the meal
    // column held only a 0.
    QCOMPARE(Columns(sheet), QStringLiteral("C 101n 102n 104/2y 104/16y"));
    QCOMPARE(Row(sheet, 0), QStringLiteral("a|5||0|0"));
    QCOMPARE(Row(sheet, 1), QStringLiteral("b||0|1|0"));
}

void TestVisitsSheet::newItemsGoRightMovedColumnsStay() {
    CVisitsSheet sheet = Sheet({kSyringe, kCondom}, {"a|1|2"});
    sheet.SetColumnWidth(1, 80);
    sheet.MoveColumn(2, 1);
    UpdateSheetColumns(&sheet, {kMeal, kCondom, kSyringe, kHiv}, Materials(), nullptr);
    QCOMPARE(Columns(sheet), QStringLiteral("C 102n 101n 103y 104/2y 104/16y"));
    QCOMPARE(sheet.Column(2).width, 80);
    QCOMPARE(sheet.Column(3).width, 0);
    QCOMPARE(Row(sheet, 0), QStringLiteral("a|2|1|||"));
}

void TestVisitsSheet::consultationLosingAKindLosesItsColumn() {
    CVisitsSheet sheet = Sheet({kHiv, kSyringe}, {"a|1|1|3"});
    // The directory item now records kinds 2 and 8.
    UpdateSheetColumns(&sheet, {kHiv, kSyringe}, Materials(1 | 2 | 8), nullptr);
    // Kind 16 went with its tick; kind 8 is new, so it comes last.
    QCOMPARE(Columns(sheet), QStringLiteral("C 104/2y 101n 104/8y"));
    QCOMPARE(Row(sheet, 0), QStringLiteral("a|1|3|"));
}

void TestVisitsSheet::whatCannotBeBuiltIsNoted() {
    CVisitsSheet sheet;
    QStringList notes;
    UpdateSheetColumns(&sheet, {kGone, kHiv}, Materials(2 | 16), &notes);
    QCOMPARE(Columns(sheet), QStringLiteral("C 104/2y 104/16y"));
    QCOMPARE(notes.size(), 2);
    QVERIFY(notes[0].contains(QStringLiteral("999")));
    QVERIFY(notes[1].contains(QStringLiteral("не ведется больше по коду")));

    // A column whose item left the directory but still holds counts stays,
    // as text.
    CVisitsSheet counted = Sheet({kSyringe}, {"a|4"});
    CSheetMaterials without = Materials();
    without.remove(kSyringe);
    notes.clear();
    UpdateSheetColumns(&counted, {}, without, &notes);
    QCOMPARE(Columns(counted), QStringLiteral("C 101t"));
    QCOMPARE(notes, QStringList{QStringLiteral("Ошибка определения типа материала")});
    QCOMPARE(Row(counted, 0), QStringLiteral("a|4"));
}

void TestVisitsSheet::rebuildKeepsValues() {
    CVisitsSheet sheet = Sheet({kSyringe, kMeal, kHiv}, {"a|7||1|", "b|x|1||"});
    sheet.SetClient(0, 201, QStringLiteral("a"));
    UpdateSheetColumns(&sheet, {kSyringe, kMeal, kHiv}, Materials(), nullptr);
    // A 0/1 column shows 0 where it was empty; the rest is kept as typed.
    QCOMPARE(Row(sheet, 0), QStringLiteral("a|7|0|1|0"));
    QCOMPARE(Row(sheet, 1), QStringLiteral("b|x|1|0|0"));
    QCOMPARE(sheet.ClientId(0), 201);
}

void TestVisitsSheet::packageAddsItsMaterials() {
    CVisitsSheet sheet = Sheet({kSyringe, kMeal}, {"a|3|"});
    CDDirMatPackArray package;
    QVERIFY(package.LoadFromString(
        CDDirMatPackArray(QList<qint32>{kCondom, kHiv, kSyringe}).SaveToString()));
    QCOMPARE(package, (QList<qint32>{kCondom, kHiv, kSyringe}));
    UpdateSheetColumns(&sheet, package, Materials(), nullptr);
    // The counted syringes stay in place; the empty meal column goes.
    QCOMPARE(Columns(sheet), QStringLiteral("C 101n 102n 104/2y 104/16y"));
}

// The stored text of a package, byte for byte: the count and the ROWIDs in
// the archive's stream, the stream in base64.
void TestVisitsSheet::packStream_data() {
    QTest::addColumn<QList<qint32>>("ids");
    QTest::addColumn<QByteArray>("head"); // the stream's first bytes, hex
    QTest::addColumn<QString>("text");    // the stored text (when short)
    QTest::newRow("empty") << QList<qint32>{} << QByteArray("0000") << "AAA=";
    QTest::newRow("two") << QList<qint32>{7, 300} << QByteArray("0200070000002c010000")
                         << "AgAHAAAALAEAAA==";
    QTest::newRow("negative") << QList<qint32>{-2} << QByteArray("0100feffffff") << "AQD+////";
    QList<qint32> many(70000);
    for (int i = 0; i < many.size(); ++i)
        many[i] = i + 1;
    QTest::newRow("wide count") << many << QByteArray("ffff7011010001000000") << QString();
}

void TestVisitsSheet::packStream() {
    QFETCH(QList<qint32>, ids);
    QFETCH(QByteArray, head);
    QFETCH(QString, text);
    const QString stored = CDDirMatPackArray(ids).SaveToString();
    CxStringArchive archive(CxStringArchive::load);
    QVERIFY(archive.Unpack(stored));
    QCOMPARE(archive.Stream().left(head.size() / 2).toHex(), head);
    QCOMPARE(archive.Stream().size(), (ids.size() < 0xFFFF ? 2 : 6) + ids.size() * 4);
    if (!text.isEmpty())
        QCOMPARE(stored, text);
    CDDirMatPackArray array;
    QVERIFY(array.LoadFromString(stored));
    QCOMPARE(QList<qint32>(array), ids);
    // NULL and an empty text are a package without materials.
    QVERIFY(array.LoadFromString(QString()));
    QVERIFY(array.isEmpty());
}

void TestVisitsSheet::packTextsThatDoNotDecode_data() {
    QTest::addColumn<QString>("text");
    const auto text = [](const QByteArray& stream) {
        CxStringArchive archive(CxStringArchive::store);
        archive.SetStream(stream);
        return archive.Pack();
    };
    const QByteArray two = QByteArray::fromHex("0200070000002c010000");
    QTest::newRow("cut short") << text(two.left(two.size() - 1));
    QTest::newRow("runs on") << text(two + QByteArray(1, '\0'));
    QTest::newRow("count only half there") << text(QByteArray(1, '\2'));
    QTest::newRow("wide count cut") << text(QByteArray::fromHex("ffff01"));
    QTest::newRow("count beyond the stream") << text(QByteArray::fromHex("ffffffffffff07000000"));
    QTest::newRow("not the archive's text") << QStringLiteral("Шприц; Игла");
    QTest::newRow("broken text") << QStringLiteral("AgAHAAAALAEAAA=*");
}

void TestVisitsSheet::packTextsThatDoNotDecode() {
    QFETCH(QString, text);
    CDDirMatPackArray array{QList<qint32>{1}};
    QVERIFY(!array.LoadFromString(text));
    QVERIFY(array.isEmpty());
}

QTEST_GUILESS_MAIN(TestVisitsSheet)
#include "tst_visits_sheet.moc"
