#include "archive_writer.h"

#include "indexed_file.h"

#include <QFile>

#include <zlib.h>

#include <algorithm>

QByteArray Int32(qint32 value) {
    QByteArray b(4, '\0');
    PutLE32(b, 0, quint32(value));
    return b;
}

QByteArray String8(const QByteArray& text) {
    return Int32(qint32(text.size())) + text;
}

void PutLE32(QByteArray& bytes, qint64 offset, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

void PutLE64(QByteArray& bytes, qint64 offset, quint64 value) {
    PutLE32(bytes, offset, quint32(value));
    PutLE32(bytes, offset + 4, quint32(value >> 32));
}

quint32 GetLE32(const QByteArray& bytes, qint64 offset) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | quint8(bytes[offset + i]);
    return v;
}

quint64 GetLE64(const QByteArray& bytes, qint64 offset) {
    return quint64(GetLE32(bytes, offset)) | quint64(GetLE32(bytes, offset + 4)) << 32;
}

quint32 HandChecksum(const QByteArray& bytes) {
    quint32 reg = 0xFFFFFFFFu;
    for (char c : bytes) {
        reg ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    }
    return reg;
}

void FixChecksum(QByteArray& archive) {
    PutLE32(archive, archive.size() - 128 + 52, HandChecksum(archive.left(archive.size() - 128)));
}

QByteArray BackupPart(int version, const QList<TestTable>& tables) {
    QByteArray part = Int32(qint32(tables.size()));
    for (const TestTable& t : tables)
        part += String8(t.name);
    for (const TestTable& t : tables)
        part += String8(t.create) + Int32(qint32(t.rows.size()));
    for (const TestTable& t : tables) {
        part += Int32(qint32(t.rows.size())) + Int32(t.columns);
        for (const auto& row : t.rows)
            for (const TestValue& v : row) {
                if (version == 100)
                    part += String8(v.kind == 0 ? QByteArray() : v.text);
                else
                    part += Int32(v.kind) + String8(v.text);
            }
    }
    return part;
}

static QByteArray CompressedBlocks(const QByteArray& content) {
    QByteArray out;
    for (qsizetype at = 0; at < content.size(); at += 0x8000) {
        const QByteArray raw = content.mid(at, 0x8000);
        QByteArray packed(int(compressBound(uLong(raw.size()))), '\0');
        uLongf packedLength = uLongf(packed.size());
        compress2(reinterpret_cast<Bytef*>(packed.data()), &packedLength,
                  reinterpret_cast<const Bytef*>(raw.constData()), uLong(raw.size()),
                  Z_DEFAULT_COMPRESSION);
        out += Int32(qint32(raw.size())) + Int32(qint32(packedLength)) +
               packed.left(qsizetype(packedLength));
    }
    return out;
}

QByteArray HandBuiltArchive(const QList<TestPart>& parts, ArchiveLayout* layout) {
    QByteArray file;
    struct Entry {
        QByteArray name;
        qint64 offset, length;
        bool compressed;
    };
    QList<Entry> entries;
    for (const TestPart& p : parts) {
        const QByteArray stored = p.compressed ? CompressedBlocks(p.content) : p.content;
        entries.append({p.name, file.size(), stored.size(), p.compressed});
        file += stored;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });
    const qint64 directory = file.size();
    ArchiveLayout local;
    local.directoryOffset = directory;
    for (const Entry& e : entries) {
        local.entryOffsets[e.name] = file.size();
        local.partOffsets[e.name] = e.offset;
        local.partLengths[e.name] = e.length;
        file += String8(e.name);
        QByteArray record(104, '\0');
        PutLE64(record, 8, quint64(e.offset));
        PutLE64(record, 16, quint64(e.length));
        PutLE32(record, 24, e.compressed ? 1 : 0);
        file += record;
    }
    QByteArray trailer(128, '\0');
    const QByteArray signature("IndexedFile V.2.2");
    trailer.replace(0, signature.size(), signature);
    PutLE32(trailer, 32, 104);
    PutLE64(trailer, 40, quint64(directory));
    PutLE32(trailer, 48, quint32(entries.size()));
    PutLE32(trailer, 52, HandChecksum(file));
    PutLE32(trailer, 56, 202);
    if (layout)
        *layout = local;
    return file + trailer;
}

bool WriteWithIndexedFile(const QString& path, const QList<TestPart>& parts) {
    CIndexedFile file;
    if (!file.Open(path.toStdString(), CIndexedFile::modeCreate))
        return false;
    for (const TestPart& p : parts) {
        if (!file.SeekToPart(p.name.toStdString(), p.compressed))
            return false;
        file.WriteRaw(p.content.constData(), size_t(p.content.size()));
    }
    return file.Close();
}

QByteArray BackupArchive(int version, const QList<TestTable>& tables, bool compressed) {
    QList<TestPart> parts;
    if (version != 0)
        parts.append({"Backup.Version", Int32(version), false});
    parts.append({"Backup", BackupPart(version == 0 ? 100 : version, tables), compressed});
    return HandBuiltArchive(parts);
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
