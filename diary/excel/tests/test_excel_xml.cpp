// The spreadsheet reader on hand-made files, each showing one rule, and on
// broken texts (file → cells or error code); then a stencil that LibreOffice
// Calc filled and saved, read back.
#include "diary/excel/excel_xml.h"
#include "diary/excel/stencil_layout.h"

#include <QDir>
#include <QTest>

namespace {
const QString kFixtures = QStringLiteral(KELDA_EXCEL_FIXTURES);

struct Cell {
    int row, column, sheet;
    QString text;
};
using Cells = QList<Cell>;

// Loads "file:<fixture>" from the fixtures, any other source as the file's
// text itself.
bool LoadSource(CExcelXML& reader, const QString& source, QString* error) {
    if (source.startsWith(QLatin1String("file:")))
        return reader.Load(QDir(kFixtures).filePath(source.mid(5)), error);
    return reader.LoadData(source.toUtf8(), error);
}

QString Nested(const char* open, const char* close, int depth) {
    QString text;
    for (int i = 0; i < depth; ++i)
        text += QLatin1String(open);
    for (int i = 0; i < depth; ++i)
        text += QLatin1String(close);
    return text;
}
} // namespace

Q_DECLARE_METATYPE(Cells)

class TestExcelXML : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void lastRowAndSignature();
    void unreadableFile();
    void filledByCalc();
    void limitsAndStop();
};

void TestExcelXML::reads_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<Cells>("cells"); // every cell the reader must hold, no more
    QTest::addColumn<int>("error");   // 0: the load succeeds
    QTest::addColumn<QString>("detail");

    QTest::newRow("rich text") << "file:rich_text.xml"
                               << Cells{{0, 0, 0, "Материалы"},
                                        {0, 1, 0, "Красный жирный курсив и черта"},
                                        {0, 2, 0, "plain"}}
                               << 0 << "";
    QTest::newRow("cell comments stay out of cells")
        << "file:cell_comment.xml" << Cells{{0, 0, 0, "АБВ0190Ч"}, {0, 1, 0, ""}, {0, 2, 0, "3"}}
        << 0 << "";
    QTest::newRow("merged cells") << "file:merged.xml"
                                  << Cells{{0, 0, 0, ""},    {0, 1, 0, "B-C"}, {0, 3, 0, "D"},
                                           {0, 4, 0, "E-G"}, {0, 7, 0, "H"},   {1, 0, 0, "A2"},
                                           {1, 7, 0, "H2"}}
                                  << 0 << "";
    QTest::newRow("index gaps and a second sheet")
        << "file:index_gaps.xml" << Cells{{0, 0, 0, "r0"},   {2, 2, 0, "2"},
                                          {2, 3, 0, "3"},    {9, 255, 0, "last column"},
                                          {10, 0, 0, "r10"}, {1, 1, 1, "second sheet"}}
        << 0 << "";
    QTest::newRow("entities decoded once")
        << "file:entities.xml"
        << Cells{{0, 0, 0, "Шприц & игла <2 мл> \"А\" 'Б'"},
                 {0, 1, 0, "&lt; stays as typed"},
                 {0, 2, 0, QString::fromUtf8("АБ\U00010348\nnext line")},
                 {0, 3, 0, QString::fromUtf8("«x»\u00a0&unknown; &#0; &#xD800; &amp")}}
        << 0 << "";
    QTest::newRow("byte-order mark") << "file:bom.xml" << Cells{{0, 0, 0, "{HdrStart}"}} << 0 << "";
    QTest::newRow("CRLF line ends")
        << "file:crlf.xml" << Cells{{0, 0, 0, "first\nsecond"}, {0, 1, 0, "7"}} << 0 << "";
    QTest::newRow("ss prefixes, names with _ . -")
        << "file:prefixed.xml" << Cells{{2, 1, 0, "prefixed"}} << 0 << "";
    QTest::newRow("XML comment") << "file:xml_comment.xml" << Cells{} << 18911
                                 << "!-- a comment that spreadsheet programs never write -->\n "
                                    "  <…";

    QTest::newRow("empty file") << "" << Cells{} << 0 << "";
    QTest::newRow("declarations only")
        << "<?xml version=\"1.0\"?>\r\n<?mso-application progid=\"Excel.Sheet\"?>\n"
        << Cells{} << 0 << "";
    QTest::newRow("text after the root is not read")
        << "<Workbook><Worksheet><Table><Row><Cell><Data>a</Data></Cell></Row></Table>"
           "</Worksheet></Workbook> trailing <junk"
        << Cells{{0, 0, 0, "a"}} << 0 << "";
    QTest::newRow("xml wrapper, data outside cells, repeated data")
        << "<xml><Workbook><Worksheet><Data>loose</Data><Table><Row><Cell><Data>a</Data>"
           "<Data>b</Data></Cell></Row></Table></Worksheet></Workbook></xml>"
        << Cells{{0, 0, 0, "ab"}} << 0 << "";
    QTest::newRow("the last of repeated attributes, among many")
        << "<Workbook><Worksheet><Table><Row><Cell a0='' a1='' a2='' a3='' a4='' a5='' a6='' "
           "a7='' a8='' ss:Index='2' a9='' ss:Index=\"4\" flag><Data>x</Data></Cell></Row>"
           "</Table></Worksheet></Workbook>"
        << Cells{{0, 3, 0, "x"}} << 0 << "";
    QTest::newRow("deep but allowed") << Nested("<a>", "</a>", 200) << Cells{} << 0 << "";

    QTest::newRow("unquoted attribute")
        << "<Workbook><Worksheet ss:Name=Лист1></Worksheet></Workbook>" << Cells{} << 18910
        << "Ожидается символ ' или \"";
    QTest::newRow("mismatched end tag")
        << "<Workbook><Row></Cell></Workbook>" << Cells{} << 18909 << "CELL";
    QTest::newRow("end tag first") << "</Workbook>" << Cells{} << 18909 << "</Workbook>";
    QTest::newRow("text before the root") << "hello<Workbook/>" << Cells{} << 18907 << "";
    QTest::newRow("ends inside an element") << "<Workbook><Worksheet>" << Cells{} << 18908 << "";
    QTest::newRow("ends inside a value") << "<Workbook a=\"x" << Cells{} << 18908 << "";
    QTest::newRow("end tag not closed") << "<Workbook></Workbook x>" << Cells{} << 18910 << "";
    QTest::newRow("CDATA") << "<Workbook><Data><![CDATA[x]]></Data></Workbook>" << Cells{} << 18911
                           << "![CDATA[x]]></Data></Workbook>";
    QTest::newRow("document type")
        << "<!DOCTYPE Workbook><Workbook/>" << Cells{} << 18911 << "!DOCTYPE Workbook><Workbook/>";
    QTest::newRow("row beyond the format")
        << "<Workbook><Worksheet><Table><Row ss:Index=\"1048577\"/></Table></Worksheet>"
           "</Workbook>"
        << Cells{} << 18913 << "ROW";
    QTest::newRow("negative cell index")
        << "<Workbook><Worksheet><Table><Row><Cell ss:Index=\"-3\"/></Row></Table></Worksheet>"
           "</Workbook>"
        << Cells{} << 18913 << "CELL";
    QTest::newRow("hostile nesting") << Nested("<a>", "</a>", 100000) << Cells{} << 18913 << "A";
}

void TestExcelXML::reads() {
    QFETCH(QString, source);
    QFETCH(Cells, cells);
    QFETCH(int, error);
    QFETCH(QString, detail);

    CExcelXML reader;
    QString message;
    const bool ok = LoadSource(reader, source, &message);
    if (error == 0) {
        QVERIFY2(ok, qPrintable(message));
        QVERIFY(reader.GetErrors().isEmpty());
    } else {
        QVERIFY(!ok);
        QCOMPARE(reader.GetErrors().size(), 1);
        QCOMPARE(int(reader.GetErrors().first().code), error);
        QCOMPARE(reader.GetErrors().first().detail, detail);
        // The message starts with the code and carries the detail.
        QVERIFY2(message.startsWith(QStringLiteral("(%1) ").arg(error)), qPrintable(message));
        if (!detail.isEmpty())
            QVERIFY(message.endsWith(u'\n' + detail));
        QCOMPARE(reader.GetErrorText(true), message);
        QVERIFY(reader.GetErrors().isEmpty());
        return;
    }
    for (const Cell& c : cells) {
        const QString* text = reader.GetCellText(c.row, c.column, c.sheet);
        QVERIFY2(
            text,
            qPrintable(QStringLiteral("no cell %1,%2,%3").arg(c.row).arg(c.column).arg(c.sheet)));
        QCOMPARE(*text, c.text);
        QVERIFY(!text->isNull());
    }
    QCOMPARE(reader.GetCellCount(), int(cells.size()));
}

void TestExcelXML::lastRowAndSignature() {
    CExcelXML reader;
    QVERIFY(reader.Load(QDir(kFixtures).filePath("index_gaps.xml")));
    QCOMPARE(reader.GetLastRow(0), 10);
    QCOMPARE(reader.GetLastRow(1), 1);
    QCOMPARE(reader.GetLastRow(2), 0);
    QVERIFY(!reader.GetCellText(1, 0, 0)); // the empty Row makes no cell
    QCOMPARE(StencilLayout::FindSignatureRow(reader), -1);

    CExcelXML moved; // a signature pushed down by rows the user inserted
    QVERIFY(moved.LoadData("<Workbook><Worksheet><Table><Row ss:Index=\"7\"><Cell>"
                           "<Data>{HdrStart} moved</Data></Cell></Row><Row><Cell/></Row>"
                           "</Table></Worksheet></Workbook>"));
    QCOMPARE(StencilLayout::FindSignatureRow(moved), 6);
}

void TestExcelXML::unreadableFile() {
    CExcelXML reader;
    QString error;
    QVERIFY(!reader.Load(QDir(kFixtures).filePath("no such file.xml"), &error));
    QVERIFY(error.contains(QLatin1String("no such file.xml")));
    QVERIFY(reader.GetErrors().isEmpty()); // not a parse error
    QCOMPARE(reader.GetCellCount(), 0);
}

// The stencil that test_xml_trafaret compares with the writer's text, filled
// and saved by LibreOffice Calc through fixtures/fill_stencil.py: the cells
// hold what the script typed in, at the places the import reads.
void TestExcelXML::filledByCalc() {
    using namespace StencilLayout;
    CExcelXML sheet;
    QString error;
    QVERIFY2(sheet.Load(QDir(kFixtures).filePath("stencil_filled_by_calc.xml"), &error),
             qPrintable(error));
    const int r = FindSignatureRow(sheet);
    QCOMPARE(r, 5); // five dictionary rows above the header
    auto text = [&](int row, int column) {
        const QString* t = sheet.GetCellText(row, column, 0);
        return t ? *t : QStringLiteral("<none>");
    };
    QCOMPARE(text(r + kDateRow, kDateColumn).left(10), QStringLiteral("2024-03-05"));
    QCOMPARE(text(r + kWorkPlaceRow, kWorkPlaceColumn), QStringLiteral("Пункт «Центр»"));
    QCOMPARE(text(r + kWorker1Row, kWorker1Column), QStringLiteral("Иванова А. & Ко"));
    QCOMPARE(text(r + kWorker2Row, kWorker2Column), QStringLiteral("Петров Б."));
    QCOMPARE(text(r + kWorker3Row, kWorker3Column), QString()); // left empty
    QCOMPARE(text(r + kProjectRow, kProjectColumn), QStringLiteral("Проект «Альфа»"));
    QCOMPARE(text(r + kCommentRow, kCommentColumn), QStringLiteral("Выезд <вечер>"));

    const QStringList materials = {
        "Шприц 2 мл & игла",
        "Консультация:Предоставлена консультация/ тестирование (внутри проекта)",
        "Консультация:Получил консультацию/ прошёл тестирование (по направлению)",
        "Буклет <Здоровье>"};
    for (int i = 0; i < materials.size(); ++i)
        QCOMPARE(text(r + kMaterialsRow, kFirstMaterialColumn + i), materials.at(i));
    // The last column the stencil offers is read like the others.
    QCOMPARE(text(r + kMaterialsRow, kLastMaterialColumn), QStringLiteral("Презерватив"));

    struct Row {
        int offset;
        const char* code;
        QList<std::pair<int, const char*>> counts; // column, count
    };
    const Row rows[] = {
        {0, "АБВ0190Ч", {{2, "10"}, {3, "1"}, {kLastMaterialColumn, "4"}}},
        {1, "ГДЕ0285Ж", {{2, "5"}, {4, "1"}, {5, "2"}}},
        {3, "ЖЗИ1201М", {{2, "3"}}}, // a row left empty above it
    };
    for (const Row& row : rows) {
        const int at = r + kFirstClientRow + row.offset;
        QCOMPARE(text(at, kClientCodeColumn), QString::fromUtf8(row.code));
        for (const auto& [column, count] : row.counts)
            QCOMPARE(text(at, column), QString::fromLatin1(count));
    }
    QCOMPARE(text(r + kFirstClientRow + 2, kClientCodeColumn), QString());
    // Calc computed the totals and the row numbers from the stencil's formulas.
    QCOMPARE(text(r + kTotalsRow, kClientCodeColumn), QStringLiteral("3"));
    QCOMPARE(text(r + kTotalsRow, 2), QStringLiteral("18"));
    QCOMPARE(text(r + kTotalsRow, kLastMaterialColumn), QStringLiteral("4"));
    QCOMPARE(text(r + kFirstClientRow + 3, 0), QStringLiteral("1"));
    QCOMPARE(text(r + kFirstClientRow + 1, 0), QStringLiteral("2"));
    QVERIFY(sheet.GetLastRow(0) >= r + kFirstClientRow + 3);
}

// What a load keeps is bounded: cells right of the column limit are read
// past, a row at the row limit fails the load and says so; a watch stops a
// parse from outside with its own error.
void TestExcelXML::limitsAndStop() {
    const QByteArray book =
        "<Workbook><Worksheet><Table><Row><Cell><Data>a</Data></Cell><Cell><Data>b</Data></Cell>"
        "<Cell><Data>c</Data></Cell></Row><Row ss:Index=\"3\"><Cell><Data> </Data></Cell></Row>"
        "</Table></Worksheet><Worksheet><Table><Row ss:Index=\"2\"><Cell><Data>x</Data></Cell>"
        "</Row></Table></Worksheet></Workbook>";
    CExcelXML reader;
    reader.SetLimits(3, 2);
    QString error;
    QVERIFY2(reader.LoadData(book, &error), qPrintable(error));
    QCOMPARE(reader.GetSheetCount(), 2);
    QCOMPARE(reader.GetCellCount(), 4);
    QVERIFY(!reader.GetCellText(0, 2, 0));
    QCOMPARE(*reader.GetCellText(0, 1, 0), QStringLiteral("b"));
    // A cell of blanks fills no row.
    QCOMPARE(reader.GetLastRow(0), 2);
    QCOMPARE(reader.GetLastFilledRow(0), 0);
    QCOMPARE(reader.GetLastFilledRow(1), 1);
    QCOMPARE(reader.GetLastFilledRow(2), -1);
    QVERIFY(!reader.RowLimitReached());

    CExcelXML small;
    small.SetLimits(2, 2);
    QVERIFY(!small.LoadData(book, &error));
    QVERIFY(small.RowLimitReached());

    xmlParseWatch watch;
    watch.stop = true;
    CExcelXML stopped;
    stopped.SetWatch(&watch);
    QVERIFY(!stopped.LoadData(book, &error));
    QCOMPARE(stopped.GetErrors().last().code, quint32(XMLERR_STOPPED));
    QCOMPARE(stopped.GetCellCount(), 0);
}

QTEST_APPLESS_MAIN(TestExcelXML)
#include "test_excel_xml.moc"
