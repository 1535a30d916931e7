#include "tests/support/xlsx_reader.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QtEndian>

#include <zlib.h>

namespace {
quint16 U16(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint16>(data.constData() + at);
}
quint32 U32(const QByteArray& data, qsizetype at) {
    return qFromLittleEndian<quint32>(data.constData() + at);
}

QByteArray Inflate(const QByteArray& packed, qsizetype size) {
    QByteArray out(size, Qt::Uninitialized);
    z_stream z = {};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
        return QByteArray();
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.constData()));
    z.avail_in = uInt(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    const int rc = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    return rc == Z_STREAM_END ? out : QByteArray();
}

// "B12" -> (11, 1)
QPair<int, int> CellRef(const QString& ref) {
    int col = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter(); ++i)
        col = col * 26 + (ref[i].unicode() - 'A' + 1);
    return {ref.mid(i).toInt() - 1, col - 1};
}
} // namespace

QHash<QString, QByteArray> ReadZip(const QString& path) {
    QHash<QString, QByteArray> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QByteArray data = file.readAll();
    // The end of central directory record: the last "PK\5\6".
    const qsizetype end = data.lastIndexOf(QByteArray("PK\x05\x06", 4));
    if (end < 0 || end + 22 > data.size())
        return entries;
    const int count = U16(data, end + 10);
    qsizetype at = U32(data, end + 16);
    for (int i = 0; i < count && at + 46 <= data.size(); ++i) {
        const quint16 method = U16(data, at + 10);
        const quint32 packedSize = U32(data, at + 20);
        const quint32 size = U32(data, at + 24);
        const quint16 nameLength = U16(data, at + 28);
        const quint16 extraLength = U16(data, at + 30);
        const quint16 commentLength = U16(data, at + 32);
        const quint32 local = U32(data, at + 42);
        const QString name = QString::fromUtf8(data.mid(at + 46, nameLength));
        const qsizetype start = local + 30 + U16(data, local + 26) + U16(data, local + 28);
        const QByteArray packed = data.mid(start, packedSize);
        entries.insert(name, method == 0 ? packed : Inflate(packed, size));
        at += 46 + nameLength + extraLength + commentLength;
    }
    return entries;
}

int XlsxSheet::Rows() const {
    return cells.isEmpty() ? 0 : cells.lastKey().first + 1;
}

const XlsxCell* XlsxSheet::Cell(int row, int column) const {
    auto it = cells.constFind({row, column});
    return it == cells.constEnd() ? nullptr : &it.value();
}

QString XlsxSheet::Text(int row, int column) const {
    const XlsxCell* cell = Cell(row, column);
    if (!cell)
        return QString();
    switch (cell->kind) {
    case XlsxCell::Number:
        return QString::number(cell->number, 'g', 15);
    case XlsxCell::Date:
        return cell->date.toString(QStringLiteral("dd.MM.yyyy"));
    default:
        return cell->text;
    }
}

XlsxSheet ReadXlsxSheet(const QString& path) {
    XlsxSheet sheet;
    const QHash<QString, QByteArray> zip = ReadZip(path);
    const QByteArray xml = zip.value(QStringLiteral("xl/worksheets/sheet1.xml"));
    if (xml.isEmpty())
        return sheet;
    QStringList shared;
    {
        QXmlStreamReader r(zip.value(QStringLiteral("xl/sharedStrings.xml")));
        QString current;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"si")
                current.clear();
            else if (r.isStartElement() && r.name() == u"t")
                current += r.readElementText();
            else if (r.isEndElement() && r.name() == u"si")
                shared << current;
        }
    }
    // The styles whose number format is a date (cellXfs in order).
    QSet<int> dateStyles;
    {
        QXmlStreamReader r(zip.value(QStringLiteral("xl/styles.xml")));
        QSet<int> dateFormats = {14, 15, 16, 17, 22};
        bool inXfs = false;
        int index = 0;
        while (!r.atEnd()) {
            r.readNext();
            if (r.isStartElement() && r.name() == u"numFmt") {
                const QString code =
                    r.attributes().value(QLatin1StringView("formatCode")).toString();
                if (code.contains(u'd') && code.contains(u'y'))
                    dateFormats << r.attributes().value(QLatin1StringView("numFmtId")).toInt();
            } else if (r.isStartElement() && r.name() == u"cellXfs") {
                inXfs = true;
            } else if (r.isEndElement() && r.name() == u"cellXfs") {
                inXfs = false;
            } else if (inXfs && r.isStartElement() && r.name() == u"xf") {
                if (dateFormats.contains(
                        r.attributes().value(QLatin1StringView("numFmtId")).toInt()))
                    dateStyles << index;
                ++index;
            }
        }
    }
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement())
            continue;
        if (r.name() == u"col") {
            const auto a = r.attributes();
            for (int c = a.value(QLatin1StringView("min")).toInt();
                 c <= a.value(QLatin1StringView("max")).toInt(); ++c)
                sheet.widths[c - 1] = a.value(QLatin1StringView("width")).toDouble();
        } else if (r.name() == u"mergeCell") {
            sheet.merges << r.attributes().value(QLatin1StringView("ref")).toString();
        } else if (r.name() == u"c") {
            const auto a = r.attributes();
            const QPair<int, int> at = CellRef(a.value(QLatin1StringView("r")).toString());
            const QString type = a.value(QLatin1StringView("t")).toString();
            const int style = a.value(QLatin1StringView("s")).toInt();
            QString value;
            QString inlineText;
            while (!(r.isEndElement() && r.name() == u"c") && !r.atEnd()) {
                r.readNext();
                if (r.isStartElement() && r.name() == u"v")
                    value = r.readElementText();
                else if (r.isStartElement() && r.name() == u"t")
                    inlineText += r.readElementText();
            }
            XlsxCell cell;
            if (type == u"s") {
                cell.text = shared.value(value.toInt());
            } else if (type == u"inlineStr" || type == u"str") {
                cell.text = type == u"str" ? value : inlineText;
            } else if (value.isEmpty()) {
                continue; // a formatted cell without a value
            } else if (dateStyles.contains(style)) {
                cell.kind = XlsxCell::Date;
                cell.date = QDate(1899, 12, 30).addDays(qint64(value.toDouble()));
            } else {
                cell.kind = XlsxCell::Number;
                cell.number = value.toDouble();
            }
            sheet.cells.insert(at, cell);
        }
    }
    sheet.ok = !r.hasError();
    return sheet;
}
