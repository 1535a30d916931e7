// Loads a filled daily sheet of many client rows, the way the sheet import
// reads it: the file, the signature, the header, the material names and every
// material cell of every client row.
//
//   bench_excel_xml [rows=5000] [materials=40]

#include "bench/excel/sheet_count_cells.h"
#include "diary/excel/excel_xml.h"
#include "diary/excel/stencil_layout.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryFile>

#include <cstdio>

namespace {
// A sheet as a spreadsheet program saves it: dictionary rows, the header,
// the material names, totals, then one row per client with a few counts,
// cells after a gap carrying ss:Index.
QByteArray MakeSheet(int rows, int materials) {
    using namespace StencilLayout;
    QRandomGenerator random(20240305);
    const int dictionary = materials;
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?mso-application "
                                 "progid=\"Excel.Sheet\"?>\n<Workbook "
                                 "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
                                 "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
                                 "<Worksheet ss:Name=\"Лист1\"><Table>\n");
    for (int i = 0; i < dictionary; ++i)
        xml +=
            QStringLiteral("<Row ss:Hidden=\"1\"><Cell ss:Index=\"3\"><Data "
                           "ss:Type=\"String\">Материал №%1 &amp; упаковка</Data></Cell></Row>\n")
                .arg(i);
    xml += QStringLiteral("<Row><Cell><Data ss:Type=\"String\">{HdrStart}</Data></Cell></Row>\n"
                          "<Row><Cell ss:Index=\"4\"><Data "
                          "ss:Type=\"DateTime\">2024-03-05T00:00:00.000</Data></Cell></Row>\n"
                          "<Row><Cell ss:Index=\"4\" ss:MergeAcross=\"1\"><Data "
                          "ss:Type=\"String\">Пункт «Центр»</Data></Cell></Row>\n"
                          "<Row><Cell ss:Index=\"4\" ss:MergeAcross=\"1\"><Data "
                          "ss:Type=\"String\">Иванова А.</Data></Cell></Row>\n"
                          "<Row/><Row/><Row/>\n<Row>");
    for (int m = 0; m < materials; ++m)
        xml += QStringLiteral("<Cell%1><Data ss:Type=\"String\">Материал №%2 &amp; "
                              "упаковка</Data></Cell>")
                   .arg(m == 0 ? QStringLiteral(" ss:Index=\"3\"") : QString())
                   .arg(m);
    xml += QStringLiteral("</Row>\n<Row>");
    for (int c = 0; c < kLastMaterialColumn; ++c)
        xml += QStringLiteral("<Cell ss:Formula=\"of:=SUM([.C15:.C65536])\"><Data "
                              "ss:Type=\"Number\">0</Data></Cell>");
    xml += QStringLiteral("</Row>\n");
    for (int r = 0; r < rows; ++r) {
        xml += QStringLiteral("<Row ss:AutoFitHeight=\"0\" ss:Height=\"14.256\"><Cell ss:Formula="
                              "\"of:=IF([.B15]&lt;&gt;&quot;&quot;;IF(ISNUMBER([.A14]);[.A14];0)"
                              "+1;&quot;&quot;)\"><Data ss:Type=\"Number\">%1</Data></Cell><Cell>"
                              "<Data ss:Type=\"String\">АБВ%2Ч</Data></Cell>")
                   .arg(r + 1)
                   .arg(r % 10000, 4, 10, QLatin1Char('0'));
        xml += RandomCountCells(random, materials, materials / 6 + 1) +
               QStringLiteral("<Cell ss:Index=\"256\"/></Row>\n");
    }
    xml += QStringLiteral("</Table></Worksheet></Workbook>\n");
    return xml.toUtf8();
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 5000;
    const int materials = argc > 2 ? atoi(argv[2]) : 40;

    QTemporaryFile file(QStringLiteral("bench_sheet_XXXXXX.xml"));
    if (!file.open())
        return 1;
    const QByteArray bytes = MakeSheet(rows, materials);
    file.write(bytes);
    file.close();

    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        CExcelXML sheet;
        QString error;
        if (!sheet.Load(file.fileName(), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        const qint64 loaded = timer.elapsed();
        using namespace StencilLayout;
        const int top = FindSignatureRow(sheet);
        qint64 filled = 0;
        for (int c = kFirstMaterialColumn; c <= kLastMaterialColumn; ++c)
            if (const QString* name = sheet.GetCellText(top + kMaterialsRow, c, 0))
                filled += !name->trimmed().isEmpty();
        qint64 counts = 0;
        for (int r = top + kFirstClientRow; r <= sheet.GetLastRow(0); ++r) {
            if (!sheet.GetCellText(r, kClientCodeColumn, 0))
                continue;
            for (int c = kFirstMaterialColumn; c <= kLastMaterialColumn; ++c)
                if (const QString* t = sheet.GetCellText(r, c, 0))
                    counts += t->toLong();
        }
        std::printf("%d rows, %d materials, %.1f MB: load %lld ms, read as the import does %lld "
                    "ms (%d cells, %lld material columns, total count %lld)\n",
                    rows, materials, bytes.size() / 1048576.0, loaded, timer.elapsed(),
                    sheet.GetCellCount(), filled, counts);
    }
    return 0;
}
