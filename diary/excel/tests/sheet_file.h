#pragma once
// Small sheet files for the sheet import's tests, written the way the
// spreadsheet programs write the Excel 2003 XML format.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// A sheet file in the Excel 2003 XML format: cells as "row,column=text",
// rows counted from the signature row, which stands at top; before worksheets
// of other texts stand before the report's.
inline QByteArray SheetFile(const QStringList& cells, int top = 3, int before = 0) {
    QMap<int, QMap<int, QString>> grid;
    grid[top][0] = QStringLiteral("{HdrStart}");
    for (const QString& cell : cells) {
        const qsizetype eq = cell.indexOf(u'=');
        const QStringList at = cell.left(eq).split(u',');
        grid[top + at[0].toInt()][at[1].toInt()] = cell.mid(eq + 1);
    }
    QString xml = QStringLiteral(
        "<?xml version=\"1.0\"?>\n<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\" "
        "xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">");
    for (int i = 0; i < before; ++i)
        xml +=
            QStringLiteral("<Worksheet ss:Name=\"Заметки %1\"><Table><Row><Cell><Data "
                           "ss:Type=\"String\">Заметки</Data></Cell></Row></Table></Worksheet>\n")
                .arg(i + 1);
    xml += QStringLiteral("<Worksheet ss:Name=\"Лист\"><Table>\n");
    for (auto row = grid.cbegin(); row != grid.cend(); ++row) {
        xml += QStringLiteral("<Row ss:Index=\"%1\">").arg(row.key() + 1);
        for (auto c = row->cbegin(); c != row->cend(); ++c)
            xml += QStringLiteral("<Cell ss:Index=\"%1\"><Data ss:Type=\"String\">%2</Data></Cell>")
                       .arg(c.key() + 1)
                       .arg(c->toHtmlEscaped());
        xml += QStringLiteral("</Row>\n");
    }
    xml += QStringLiteral("</Table></Worksheet></Workbook>\n");
    return xml.toUtf8();
}
