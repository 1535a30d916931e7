#include "backup_format.h"

#include "framework/core/app/program_marks.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <zlib.h>

#include <QtEndian>

namespace kbackup {

namespace {

class Writer {
public:
    void Int32(qint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
    }
    void Int64(qint64 v) {
        char b[8];
        qToLittleEndian(v, b);
        data.append(b, 8);
    }
    void Byte(quint8 v) { data.append(char(v)); }
    void Bytes(const QByteArray& v) {
        Int32(qint32(v.size()));
        data.append(v);
    }
    QByteArray data;
};

// Reads bounded by the bytes it was given; after the first failure every
// read fails and ok() stays false.
class Reader {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}
    bool ok() const { return m_ok; }
    qsizetype Left() const { return m_bytes.size() - m_pos; }
    qsizetype Pos() const { return m_pos; }
    qint32 Int32() {
        if (!Need(4))
            return 0;
        const qint32 v = qFromLittleEndian<qint32>(m_bytes.constData() + m_pos);
        m_pos += 4;
        return v;
    }
    qint64 Int64() {
        if (!Need(8))
            return 0;
        const qint64 v = qFromLittleEndian<qint64>(m_bytes.constData() + m_pos);
        m_pos += 8;
        return v;
    }
    quint8 Byte() {
        if (!Need(1))
            return 0;
        return quint8(m_bytes[m_pos++]);
    }
    QByteArray Bytes() {
        const qint32 n = Int32();
        if (n < 0 || !Need(n)) {
            m_ok = false;
            return QByteArray();
        }
        const QByteArray v = m_bytes.mid(m_pos, n);
        m_pos += n;
        return v;
    }
    // A count of records of at least minSize bytes each that must still fit.
    qint32 Count(int minSize) {
        const qint32 n = Int32();
        if (n < 0 || qint64(n) * minSize > Left())
            m_ok = false;
        return m_ok ? n : 0;
    }

private:
    bool Need(qint64 n) {
        if (!m_ok || n > Left())
            m_ok = false;
        return m_ok;
    }
    const QByteArray& m_bytes;
    qsizetype m_pos = 0;
    bool m_ok = true;
};

QString Text(const QByteArray& utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

quint32 Crc32(const char* data, qint64 length) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (length > 0) {
        const uInt n = uInt(std::min<qint64>(length, 1 << 30));
        crc = crc32(crc, reinterpret_cast<const Bytef*>(data), n);
        data += n;
        length -= n;
    }
    return quint32(crc);
}

QByteArray SerializeHeader(const Header& header) {
    Writer w;
    w.Bytes(ProgramMarks().backupMagic);
    w.Int32(header.formatVersion);
    w.Int32(header.schemaVersion);
    w.Bytes(header.created.toUTC().toString(Qt::ISODate).toUtf8());
    w.Bytes(header.server.toUtf8());
    w.Bytes(header.database.toUtf8());
    w.Bytes(header.charset.toUtf8());
    w.Bytes(header.collation.toUtf8());
    w.Int32(qint32(header.tables.size()));
    for (const Table& t : header.tables) {
        w.Bytes(t.name);
        w.Bytes(t.create);
        w.Int32(qint32(t.columns.size()));
        for (const Column& c : t.columns) {
            w.Bytes(c.name);
            w.Byte(quint8(c.kind));
        }
        w.Int64(t.rows);
        w.Int32(qint32(t.parts.size()));
        for (const DataPart& p : t.parts) {
            w.Bytes(p.name);
            w.Int64(p.rawLength);
            w.Int64(p.rows);
            w.Int32(qint32(p.crc));
        }
    }
    w.Int32(qint32(Crc32(w.data.constData(), w.data.size())));
    return w.data;
}

namespace {
constexpr CxTr Tr("kbackup::ParseHeader");
} // namespace

bool ParseHeader(const QByteArray& bytes, Header* header, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (bytes.size() < 8)
        return fail(Tr("заголовок слишком короткий"));
    const QByteArray body = bytes.left(bytes.size() - 4);
    const quint32 stored = qFromLittleEndian<quint32>(bytes.constData() + body.size());
    Reader r(body);
    if (r.Bytes() != ProgramMarks().backupMagic || !r.ok())
        return fail(Tr("это не заголовок резервной копии"));
    if (stored != Crc32(body.constData(), body.size()))
        return fail(Tr("контрольная сумма заголовка не совпадает"));
    Header h;
    h.formatVersion = r.Int32();
    if (r.ok() && h.formatVersion > kFormatVersion) {
        // Not damage: the caller tells the user the file is too new.
        header->formatVersion = h.formatVersion;
        return fail(Tr("файл записан более новой версией программы (формат %1, эта программа "
                       "знает формат %2)")
                        .arg(h.formatVersion)
                        .arg(kFormatVersion));
    }
    h.schemaVersion = r.Int32();
    h.created = QDateTime::fromString(Text(r.Bytes()), Qt::ISODate);
    h.server = Text(r.Bytes());
    h.database = Text(r.Bytes());
    h.charset = Text(r.Bytes());
    h.collation = Text(r.Bytes());
    const qint32 tables = r.Count(4 + 4 + 4 + 8 + 4);
    for (qint32 i = 0; r.ok() && i < tables; ++i) {
        Table t;
        t.name = r.Bytes();
        t.create = r.Bytes();
        const qint32 columns = r.Count(4 + 1);
        for (qint32 c = 0; r.ok() && c < columns; ++c) {
            Column col;
            col.name = r.Bytes();
            const quint8 kind = r.Byte();
            if (kind > quint8(ColumnKind::Binary))
                return fail(Tr("неизвестный вид столбца %1").arg(kind));
            col.kind = ColumnKind(kind);
            t.columns << col;
        }
        t.rows = r.Int64();
        const qint32 parts = r.Count(4 + 8 + 8 + 4);
        qint64 partRows = 0;
        for (qint32 p = 0; r.ok() && p < parts; ++p) {
            DataPart part;
            part.name = r.Bytes();
            part.rawLength = r.Int64();
            part.rows = r.Int64();
            part.crc = quint32(r.Int32());
            if (part.rawLength < 0 || part.rows < 0)
                return fail(Tr("у части данных отрицательный размер"));
            partRows += part.rows;
            t.parts << part;
        }
        if (!r.ok())
            break;
        if (t.name.isEmpty() || t.name.size() > 64 || t.columns.isEmpty() || t.rows < 0 ||
            partRows != t.rows)
            return fail(Tr("таблица %1 описана противоречиво").arg(i));
        h.tables << t;
    }
    if (!r.ok() || r.Left() != 0)
        return fail(Tr("заголовок поврежден"));
    *header = h;
    return true;
}

ColumnKind KindOfType(const QString& type) {
    const QString t = type.trimmed().toLower();
    static const char* const numbers[] = {"tinyint", "smallint", "mediumint", "int",   "integer",
                                          "bigint",  "decimal",  "numeric",   "float", "double",
                                          "real",    "dec",      "fixed"};
    static const char* const binaries[] = {
        "binary",   "varbinary",  "tinyblob",        "blob",         "mediumblob",
        "longblob", "bit",        "geometry",        "point",        "linestring",
        "polygon",  "multipoint", "multilinestring", "multipolygon", "geometrycollection"};
    const QString word = t.section(u'(', 0, 0).section(u' ', 0, 0);
    for (const char* n : numbers)
        if (word == QLatin1String(n))
            return ColumnKind::Number;
    for (const char* b : binaries)
        if (word == QLatin1String(b))
            return ColumnKind::Binary;
    return ColumnKind::Text;
}

bool IsBackedUpTable(const QString& name) {
    const QString lower = name.toLower();
    return !lower.startsWith(QLatin1String("_cache_")) &&
           !lower.startsWith(QLatin1String(kStagingNewPrefix)) &&
           !lower.startsWith(QLatin1String(kStagingOldPrefix));
}

QByteArray QuoteName(const QByteArray& name) {
    QByteArray out;
    out.reserve(name.size() + 2);
    out += '`';
    for (char c : name) {
        if (c == '`')
            out += '`';
        out += c;
    }
    out += '`';
    return out;
}

void AppendValue(QByteArray& out, const char* bytes, qint64 length) {
    quint64 v = bytes ? quint64(length) + 1 : 0;
    do {
        quint8 b = quint8(v & 0x7F);
        v >>= 7;
        if (v)
            b |= 0x80;
        out.append(char(b));
    } while (v);
    if (bytes && length > 0)
        out.append(bytes, length);
}

bool ReadValue(const char*& pos, const char* end, const char** data, qint64* length) {
    quint64 v = 0;
    int shift = 0;
    for (;;) {
        if (pos >= end || shift > 56)
            return false;
        const quint8 b = quint8(*pos++);
        v |= quint64(b & 0x7F) << shift;
        if (!(b & 0x80))
            break;
        shift += 7;
    }
    if (v == 0) {
        *data = nullptr;
        *length = 0;
        return true;
    }
    const quint64 n = v - 1;
    if (n > quint64(end - pos))
        return false;
    *data = pos;
    *length = qint64(n);
    pos += n;
    return true;
}

void AppendLiteral(QByteArray& out, ColumnKind kind, const char* data, qint64 length) {
    if (!data) {
        out += "NULL";
        return;
    }
    if (kind == ColumnKind::Number && length > 0) {
        bool plain = true;
        for (qint64 i = 0; i < length && plain; ++i) {
            const char c = data[i];
            plain =
                (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
        }
        if (plain) {
            out.append(data, length);
            return;
        }
    }
    if (kind == ColumnKind::Binary && length > 0) {
        static const char hex[] = "0123456789ABCDEF";
        out += "0x";
        for (qint64 i = 0; i < length; ++i) {
            const quint8 b = quint8(data[i]);
            out += hex[b >> 4];
            out += hex[b & 15];
        }
        return;
    }
    out += '\'';
    const char* start = data;
    const char* end = data + length;
    for (const char* p = data; p < end; ++p) {
        const char* escape = nullptr;
        switch (*p) {
        case '\0':
            escape = "\\0";
            break;
        case '\'':
            escape = "\\'";
            break;
        case '\\':
            escape = "\\\\";
            break;
        case '\n':
            escape = "\\n";
            break;
        case '\r':
            escape = "\\r";
            break;
        case '\x1a':
            escape = "\\Z";
            break;
        default:
            continue;
        }
        out.append(start, p - start);
        out += escape;
        start = p + 1;
    }
    out.append(start, end - start);
    out += '\'';
}

} // namespace kbackup
