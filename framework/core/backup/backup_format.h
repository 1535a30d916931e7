#pragma once
// The program's own backup file: one "IndexedFile V.2.2" container (see
// docs/backup-format.md) holding a header part with the schema version and
// every table's definition, and the tables' rows in compressed data parts.
// This header holds what the writer and the reader share: the header record,
// its byte form, the encoding of row values and their SQL literals. The
// name of the header part, the header's first bytes and the file name
// extension are the program's (ProgramMarks, framework/core/app).
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace kbackup {

inline constexpr int kFormatVersion = 1;
// Staging names of a restore: the backup's tables load as "_krs_new_<n>", the
// live ones step aside as "_krs_old_<n>". Backups leave such tables out.
inline constexpr char kStagingNewPrefix[] = "_krs_new_";
inline constexpr char kStagingOldPrefix[] = "_krs_old_";

// How a column's values become SQL again.
enum class ColumnKind : quint8 { Text = 0, Number = 1, Binary = 2 };

struct Column {
    QByteArray name; // UTF-8
    ColumnKind kind = ColumnKind::Text;
};

struct DataPart {
    QByteArray name;      // the container part holding the rows
    qint64 rawLength = 0; // bytes of the encoded rows
    qint64 rows = 0;
    quint32 crc = 0; // CRC-32 of the encoded rows
};

struct Table {
    QByteArray name;   // UTF-8, as the server lists it
    QByteArray create; // SHOW CREATE TABLE
    QList<Column> columns;
    qint64 rows = 0;
    QList<DataPart> parts;
};

struct Header {
    int formatVersion = kFormatVersion;
    int schemaVersion = -1; // dbsettings "DatabaseVersion"; -1 when the database has none
    QDateTime created;      // UTC
    QString server;
    QString database;
    QString charset;   // the database's default character set
    QString collation; // and collation
    QList<Table> tables;
};

QByteArray SerializeHeader(const Header& header);
// False (error says why, for the user) for bytes that are not a whole,
// self-consistent header. A header of a newer format is refused with only
// header->formatVersion set (above kFormatVersion).
bool ParseHeader(const QByteArray& bytes, Header* header, QString* error);

// The kind of a column from its SHOW COLUMNS type ("int(11)", "varbinary(8)").
ColumnKind KindOfType(const QString& type);
// Whether a table belongs in a backup: not a report work table, not a
// restore's staging table.
bool IsBackedUpTable(const QString& name);
QByteArray QuoteName(const QByteArray& name); // `name` with back-quotes doubled

// Row values: the length plus one as a variable-length number (0 is NULL),
// then the bytes.
void AppendValue(QByteArray& out, const char* bytes, qint64 length);
// Reads one value; false when the bytes end or lie. data is null for NULL.
bool ReadValue(const char*& pos, const char* end, const char** data, qint64* length);
// Appends the value as an SQL literal for a session in utf8mb4 with
// backslash escapes on.
void AppendLiteral(QByteArray& out, ColumnKind kind, const char* data, qint64 length);

quint32 Crc32(const char* data, qint64 length);

} // namespace kbackup
