#pragma once
// The exchange package: one file per export that carries the rows of the data
// tables from one installation to another (docs/exchange_package.md). It is
// an "IndexedFile V.2.2" container (the archive container of the loader
// library): a version part, a header part with the sender and the table
// layouts, and one compressed part per table. The container's checksum covers
// the whole file; compressed parts stream block by block, so writing and
// reading take the same memory whatever the number of rows.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <deque>
#include <future>
#include <memory>
#include <vector>

class CIndexedFile;

// The package format this program writes, and the newest it reads.
constexpr int kExchangePackageVersion = 1;

// One column of a table in the package: its name and whether its values are
// numbers (sent without quotes) or texts.
struct CSQLExchangeColumn {
    QString name;
    bool numeric = false;
};

struct CSQLExchangeTableInfo {
    QString name;
    QList<CSQLExchangeColumn> columns;
    qint64 rows = 0;
};

// Names and values that describe the package: the sender's application key
// ("SCAppID"), its organisation ("cOrgID"), the package's own identity.
using CSQLExchangeAttributes = QMap<QString, QString>;

// A row as the package stores it: raw UTF-8 bytes per column, a null
// QByteArray for SQL NULL.
using CSQLExchangeRow = QList<QByteArray>;

class CSQLExchangePackageWriter {
public:
    CSQLExchangePackageWriter();
    ~CSQLExchangePackageWriter();
    CSQLExchangePackageWriter(const CSQLExchangePackageWriter&) = delete;
    CSQLExchangePackageWriter& operator=(const CSQLExchangePackageWriter&) = delete;

    bool Open(const QString& path, QString* error);
    // Tables are written one after another; the header with the row counts
    // follows them at Finish.
    bool BeginTable(const QString& name, const QList<CSQLExchangeColumn>& columns, QString* error);
    // values: one per column, a null pointer for NULL; lengths in bytes.
    void WriteRow(const char* const* values, const unsigned long* lengths);
    void WriteRow(const CSQLExchangeRow& row);
    bool EndTable(QString* error);
    // Writes the header and the container's directory and checksum.
    bool Finish(const CSQLExchangeAttributes& attributes, QString* error);
    // Closes without finishing (the file is then no package and is removed).
    void Abandon();

private:
    // A table's rows are encoded into m_raw and deflated a chunk of whole
    // blocks at a time on other threads, while the next rows are read; the
    // chunks go into the part in order, so the file is the one that deflating
    // block after block would give.
    bool SubmitChunk(qsizetype length);
    bool WriteOldestChunk();
    bool DrainChunks();

    std::unique_ptr<CIndexedFile> m_file;
    QString m_path;
    QList<CSQLExchangeTableInfo> m_tables;
    bool m_inTable = false;
    QByteArray m_raw;
    std::deque<std::future<std::vector<unsigned char>>> m_chunks;
    bool m_chunkFailed = false;
};

class CSQLExchangePackageReader {
public:
    CSQLExchangePackageReader();
    ~CSQLExchangePackageReader();
    CSQLExchangePackageReader(const CSQLExchangePackageReader&) = delete;
    CSQLExchangePackageReader& operator=(const CSQLExchangePackageReader&) = delete;

    // Opens the package, checks the container's checksum (reading the whole
    // file once), the format version and the header. Nothing else is trusted
    // before this answers true.
    bool Open(const QString& path, QString* error);
    int Version() const { return m_version; }
    const CSQLExchangeAttributes& Attributes() const { return m_attributes; }
    const QList<CSQLExchangeTableInfo>& Tables() const { return m_tables; }
    const CSQLExchangeTableInfo* FindTable(const QString& name) const;

    // Positions on a table's rows; ReadRow then hands them over one by one.
    bool BeginTable(const QString& name, QString* error);
    // False after the last row (EndTable tells whether the part was whole)
    // or when the part is damaged.
    bool ReadRow(CSQLExchangeRow& row);
    // True when exactly the announced rows were read and nothing is left.
    bool EndTable(QString* error);

private:
    std::unique_ptr<CIndexedFile> m_file;
    int m_version = 0;
    CSQLExchangeAttributes m_attributes;
    QList<CSQLExchangeTableInfo> m_tables;
    const CSQLExchangeTableInfo* m_current = nullptr;
    qint64 m_read = 0;
    bool m_damaged = false;
};
