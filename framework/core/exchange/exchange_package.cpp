#include "exchange_package.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "indexed_file.h"

#include <QFile>
#include <QRegularExpression>

#include <cstdio>
#include <stdexcept>

namespace {

const char kVersionPart[] = "Exchange.Version";
const char kHeaderPart[] = "Exchange.Header";
const char kTablePartPrefix[] = "Exchange.Table.";

constexpr uint8_t kNullValue = 0;
constexpr uint8_t kValue = 1;

// Raw bytes of a table deflated as one job: whole blocks, so that every block
// but a part's last holds exactly CIndexedFile::kBlockSize bytes.
constexpr qsizetype kChunkBytes = 32 * CIndexedFile::kBlockSize;
// Jobs under way while the rows after them are read and encoded.
constexpr size_t kChunksInFlight = 3;

void AppendInt32(QByteArray& out, uint32_t value) {
    const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    out.append(bytes, 4);
}

constexpr CxTr Tr;

QString CannotWrite() {
    return Tr(QStringLiteral("Не удалось записать файл пакета обмена"),
              QStringLiteral("msgExchangeCannotWrite"));
}

QString Damaged() {
    return Tr(QStringLiteral("Пакет обмена поврежден"), QStringLiteral("msgExchangeDamaged"));
}

bool Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return false;
}

std::string PartName(const QString& table) {
    return kTablePartPrefix + table.toStdString();
}

// Table and column names travel in the package and end up in statements:
// only plain identifiers are accepted.
bool IsIdentifier(const QString& name) {
    static const QRegularExpression identifier(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,63}$"));
    return identifier.match(name).hasMatch();
}

void WriteText(CIndexedFile& file, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    file.WriteInt(int32_t(utf8.size()));
    file.Write(utf8.constData(), size_t(utf8.size()));
}

bool ReadText(CIndexedFile& file, QString& text) {
    std::string bytes;
    if (file.ReadString(bytes) == 0)
        return false;
    text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return true;
}

void WriteInt64(CIndexedFile& file, qint64 value) {
    file.WriteInt(int32_t(uint32_t(quint64(value))));
    file.WriteInt(int32_t(uint32_t(quint64(value) >> 32)));
}

bool ReadInt64(CIndexedFile& file, qint64& value) {
    int32_t low = 0, high = 0;
    if (file.ReadInt(low) != 4 || file.ReadInt(high) != 4)
        return false;
    value = qint64(quint64(uint32_t(low)) | quint64(uint32_t(high)) << 32);
    return true;
}

} // namespace

// --- writer ------------------------------------------------------------------------

CSQLExchangePackageWriter::CSQLExchangePackageWriter() = default;

CSQLExchangePackageWriter::~CSQLExchangePackageWriter() {
    Abandon();
}

bool CSQLExchangePackageWriter::Open(const QString& path, QString* error) {
    Abandon();
    m_path = path;
    m_tables.clear();
    m_file = std::make_unique<CIndexedFile>();
    // The package takes its name only once it is whole: a failed or cancelled
    // export never leaves a file that looks like a package.
    if (!m_file->Open(QFile::encodeName(path + QStringLiteral(".part")).toStdString(),
                      CIndexedFile::modeCreate)) {
        m_file.reset();
        return Fail(error, CannotWrite() + u'\n' + path);
    }
    m_file->SeekToPart(kVersionPart, false);
    m_file->WriteInt(kExchangePackageVersion);
    return true;
}

bool CSQLExchangePackageWriter::BeginTable(const QString& name,
                                           const QList<CSQLExchangeColumn>& columns,
                                           QString* error) {
    if (!m_file || m_inTable || !IsIdentifier(name) || !m_file->SeekToPart(PartName(name), true))
        return Fail(error, CannotWrite() + u'\n' + name);
    m_tables.append({name, columns, 0});
    m_inTable = true;
    m_raw.reserve(kChunkBytes + 64 * 1024);
    return true;
}

void CSQLExchangePackageWriter::WriteRow(const char* const* values, const unsigned long* lengths) {
    CSQLExchangeTableInfo& table = m_tables.last();
    for (qsizetype i = 0; i < table.columns.size(); ++i) {
        if (!values[i]) {
            m_raw.append(char(kNullValue));
            continue;
        }
        m_raw.append(char(kValue));
        AppendInt32(m_raw, uint32_t(lengths[i]));
        m_raw.append(values[i], qsizetype(lengths[i]));
    }
    ++table.rows;
    if (m_raw.size() >= kChunkBytes)
        SubmitChunk(kChunkBytes);
}

bool CSQLExchangePackageWriter::SubmitChunk(qsizetype length) {
    QByteArray chunk = m_raw.left(length);
    m_raw.remove(0, length);
    try {
        m_chunks.push_back(std::async(std::launch::async, [data = std::move(chunk)]() {
            std::vector<unsigned char> blocks;
            if (!CIndexedFile::CompressBlocks(data.constData(), size_t(data.size()), blocks, -1))
                throw std::runtime_error("deflate");
            return blocks;
        }));
    } catch (const std::exception&) {
        m_chunkFailed = true;
        return false;
    }
    while (m_chunks.size() > kChunksInFlight)
        if (!WriteOldestChunk())
            return false;
    return true;
}

bool CSQLExchangePackageWriter::WriteOldestChunk() {
    std::future<std::vector<unsigned char>> job = std::move(m_chunks.front());
    m_chunks.pop_front();
    try {
        const std::vector<unsigned char> blocks = job.get();
        if (!m_file->WriteBlocks(blocks.data(), blocks.size()))
            m_chunkFailed = true;
    } catch (const std::exception&) {
        m_chunkFailed = true;
    }
    return !m_chunkFailed;
}

bool CSQLExchangePackageWriter::DrainChunks() {
    bool ok = true;
    while (!m_chunks.empty())
        ok = WriteOldestChunk() && ok;
    return ok && !m_chunkFailed;
}

void CSQLExchangePackageWriter::WriteRow(const CSQLExchangeRow& row) {
    std::vector<const char*> values(size_t(row.size()));
    std::vector<unsigned long> lengths(size_t(row.size()));
    for (qsizetype i = 0; i < row.size(); ++i) {
        values[size_t(i)] = row[i].isNull() ? nullptr : row[i].constData();
        lengths[size_t(i)] = (unsigned long)row[i].size();
    }
    WriteRow(values.data(), lengths.data());
}

bool CSQLExchangePackageWriter::EndTable(QString* error) {
    if (!m_file || !m_inTable)
        return Fail(error, CannotWrite());
    if (!m_raw.isEmpty())
        SubmitChunk(m_raw.size());
    const bool written = DrainChunks();
    m_raw = QByteArray();
    m_file->EndPart();
    m_inTable = false;
    if (!written || m_file->LastError() != CIndexedFile::Error::None)
        return Fail(error, CannotWrite() + u'\n' + m_path);
    return true;
}

bool CSQLExchangePackageWriter::Finish(const CSQLExchangeAttributes& attributes, QString* error) {
    if (!m_file || m_inTable)
        return Fail(error, CannotWrite());
    m_file->SeekToPart(kHeaderPart, true);
    m_file->WriteInt(int32_t(attributes.size()));
    for (auto it = attributes.cbegin(); it != attributes.cend(); ++it) {
        WriteText(*m_file, it.key());
        WriteText(*m_file, it.value());
    }
    m_file->WriteInt(int32_t(m_tables.size()));
    for (const CSQLExchangeTableInfo& table : std::as_const(m_tables)) {
        WriteText(*m_file, table.name);
        m_file->WriteInt(int32_t(table.columns.size()));
        for (const CSQLExchangeColumn& column : table.columns) {
            WriteText(*m_file, column.name);
            m_file->WriteByte(column.numeric ? 1 : 0);
        }
        WriteInt64(*m_file, table.rows);
    }
    const bool closed = m_file->Close();
    m_file.reset();
    const QString part = m_path + QStringLiteral(".part");
    if (!closed || std::rename(QFile::encodeName(part).constData(),
                               QFile::encodeName(m_path).constData()) != 0) {
        QFile::remove(part);
        return Fail(error, CannotWrite() + u'\n' + m_path);
    }
    return true;
}

void CSQLExchangePackageWriter::Abandon() {
    // Jobs under way end before their file goes.
    for (auto& job : m_chunks)
        if (job.valid())
            job.wait();
    m_chunks.clear();
    m_raw = QByteArray();
    m_chunkFailed = false;
    if (!m_file)
        return;
    m_file->Close();
    m_file.reset();
    QFile::remove(m_path + QStringLiteral(".part"));
    m_inTable = false;
}

// --- reader ------------------------------------------------------------------------

CSQLExchangePackageReader::CSQLExchangePackageReader() = default;
CSQLExchangePackageReader::~CSQLExchangePackageReader() = default;

bool CSQLExchangePackageReader::Open(const QString& path, QString* error) {
    m_version = 0;
    m_attributes.clear();
    m_tables.clear();
    m_current = nullptr;
    m_file = std::make_unique<CIndexedFile>();
    const QString notPackage = Tr(QStringLiteral("Файл не является пакетом обмена данными"),
                                  QStringLiteral("msgExchangeNotPackage")) +
                               u'\n' + path;
    if (!m_file->Open(QFile::encodeName(path).toStdString(), CIndexedFile::modeRead)) {
        const CIndexedFile::Error why = m_file->LastError();
        m_file.reset();
        if (why == CIndexedFile::Error::CannotOpen)
            return Fail(error, Tr(QStringLiteral("Не удалось открыть файл пакета обмена"),
                                  QStringLiteral("msgExchangeCannotOpen")) +
                                   u'\n' + path);
        // Only a file without the mark at its end is something else; a
        // package whose index or parts cannot be read is a damaged package.
        if (why == CIndexedFile::Error::BadDirectory || why == CIndexedFile::Error::BadPart)
            return Fail(error, Damaged());
        return Fail(error, notPackage);
    }
    int32_t version = 0;
    if (!m_file->SeekToPart(kVersionPart) || m_file->ReadInt(version) != 4 || version < 1) {
        m_file.reset();
        return Fail(error, notPackage);
    }
    if (!m_file->VerifyChecksum()) {
        m_file.reset();
        return Fail(error, Damaged());
    }
    if (version > kExchangePackageVersion) {
        m_file.reset();
        return Fail(error, Tr(QStringLiteral("Пакет обмена записан более новой версией программы "
                                             "(формат {version}). Обновите программу."),
                              QStringLiteral("msgExchangeNewerFormat"))
                               .replace(QStringLiteral("{version}"), QString::number(version)));
    }
    m_version = version;

    bool ok = m_file->SeekToPart(kHeaderPart);
    int32_t count = 0;
    ok = ok && m_file->ReadInt(count) == 4 && count >= 0;
    for (int32_t i = 0; ok && i < count; ++i) {
        QString name, value;
        ok = ReadText(*m_file, name) && ReadText(*m_file, value);
        m_attributes.insert(name, value);
    }
    ok = ok && m_file->ReadInt(count) == 4 && count >= 0;
    for (int32_t i = 0; ok && i < count; ++i) {
        CSQLExchangeTableInfo table;
        int32_t columns = 0;
        ok = ReadText(*m_file, table.name) && IsIdentifier(table.name) &&
             m_file->ReadInt(columns) == 4 && columns > 0 &&
             uint64_t(columns) <= m_file->PartBytesLeft() / 5;
        for (int32_t c = 0; ok && c < columns; ++c) {
            CSQLExchangeColumn column;
            uint8_t numeric = 0;
            ok = ReadText(*m_file, column.name) && IsIdentifier(column.name) &&
                 m_file->ReadByte(numeric) == 1;
            column.numeric = numeric != 0;
            table.columns.append(column);
        }
        ok = ok && ReadInt64(*m_file, table.rows) && table.rows >= 0 &&
             m_file->Directory().count(PartName(table.name)) == 1 && !FindTable(table.name);
        m_tables.append(table);
    }
    if (!ok || m_file->PartBytesLeft() != 0) {
        m_file.reset();
        m_tables.clear();
        m_attributes.clear();
        return Fail(error, Damaged());
    }
    return true;
}

const CSQLExchangeTableInfo* CSQLExchangePackageReader::FindTable(const QString& name) const {
    for (const CSQLExchangeTableInfo& table : m_tables)
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

bool CSQLExchangePackageReader::BeginTable(const QString& name, QString* error) {
    m_current = FindTable(name);
    m_read = 0;
    m_damaged = false;
    if (!m_file || !m_current || !m_file->SeekToPart(PartName(m_current->name))) {
        m_current = nullptr;
        return Fail(error, Damaged());
    }
    return true;
}

bool CSQLExchangePackageReader::ReadRow(CSQLExchangeRow& row) {
    if (!m_current || m_damaged || m_read >= m_current->rows)
        return false;
    const qsizetype columns = m_current->columns.size();
    row.resize(columns);
    static const QByteArray empty("", 0);
    for (qsizetype i = 0; i < columns; ++i) {
        uint8_t tag = 0;
        if (m_file->ReadByte(tag) != 1 || tag > kValue) {
            m_damaged = true;
            return false;
        }
        if (tag == kNullValue) {
            row[i] = QByteArray();
            continue;
        }
        int32_t length = 0;
        if (m_file->ReadInt(length) != 4 || length < 0 ||
            uint64_t(length) > m_file->PartBytesLeft()) {
            m_damaged = true;
            return false;
        }
        if (length == 0) {
            row[i] = empty;
            continue;
        }
        row[i].resize(length);
        if (m_file->ReadRaw(row[i].data(), size_t(length)) != size_t(length)) {
            m_damaged = true;
            return false;
        }
    }
    ++m_read;
    return true;
}

bool CSQLExchangePackageReader::EndTable(QString* error) {
    const bool whole = m_current && !m_damaged && m_read == m_current->rows &&
                       m_file->PartBytesLeft() == 0 &&
                       m_file->LastError() == CIndexedFile::Error::None;
    m_current = nullptr;
    return whole || Fail(error, Damaged());
}
