#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

// Test archives, built two ways: by hand from the byte layout (so that a
// reader and a writer sharing one mistake are caught), and through
// CIndexedFile itself.

struct TestValue {
    int kind = 1; // 0 NULL, 1 text, anything else a literal (version 101)
    QByteArray text;
};

inline TestValue Null() {
    return {0, {}};
}
inline TestValue Text(const QByteArray& t) {
    return {1, t};
}
inline TestValue Literal(const QByteArray& t) {
    return {2, t};
}

struct TestTable {
    QByteArray name;
    QByteArray create;
    int columns = 0;
    QList<QList<TestValue>> rows;
};

// Content of the part "Backup" in the given version (100: NULL is the empty
// string; 101: kind then string).
QByteArray BackupPart(int version, const QList<TestTable>& tables);
QByteArray Int32(qint32 value);
QByteArray String8(const QByteArray& text);

struct TestPart {
    QByteArray name;
    QByteArray content;
    bool compressed = false;
};

struct ArchiveLayout {
    QMap<QByteArray, qint64> partOffsets;  // first stored byte of each part
    QMap<QByteArray, qint64> partLengths;  // stored bytes of each part
    QMap<QByteArray, qint64> entryOffsets; // each directory entry (its name length)
    qint64 directoryOffset = 0;
};

// Parts stored in the order given; the directory sorted by name.
QByteArray HandBuiltArchive(const QList<TestPart>& parts, ArchiveLayout* layout = nullptr);
// The same through CIndexedFile; false when the writer reported an error.
bool WriteWithIndexedFile(const QString& path, const QList<TestPart>& parts);

// A whole backup archive: "Backup.Version" (unless version is 0) and "Backup".
QByteArray BackupArchive(int version, const QList<TestTable>& tables, bool compressed = true);

// Bitwise CRC-32 register over bytes, no table and no final inversion.
quint32 HandChecksum(const QByteArray& bytes);

void PutLE32(QByteArray& bytes, qint64 offset, quint32 value);
void PutLE64(QByteArray& bytes, qint64 offset, quint64 value);
quint32 GetLE32(const QByteArray& bytes, qint64 offset);
quint64 GetLE64(const QByteArray& bytes, qint64 offset);
// Recomputes the trailer's checksum after a test changed bytes.
void FixChecksum(QByteArray& archive);

bool WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);
