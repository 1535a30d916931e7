#include "string_archive.h"

#include <QtEndian>

namespace {
// Counts from this value on are written in 32 bits after it.
constexpr quint16 kWideCount = 0xFFFF;
} // namespace

QString CxStringArchive::Pack() const {
    return QString::fromLatin1(m_stream.toBase64());
}

bool CxStringArchive::Unpack(const QString& text) {
    SetStream(QByteArray());
    const QString trimmed = text.trimmed();
    for (const QChar c : trimmed)
        if (c.unicode() > 0x7F)
            return false;
    const auto decoded =
        QByteArray::fromBase64Encoding(trimmed.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    // The decoder lets a text without its padding pass; only what Pack
    // writes is a stored text.
    if (QString::fromLatin1((*decoded).toBase64()) != trimmed)
        return false;
    SetStream(*decoded);
    return true;
}

void CxStringArchive::SetStream(const QByteArray& stream) {
    m_stream = stream;
    m_at = 0;
    m_ok = true;
}

void CxStringArchive::WriteCount(quint32 count) {
    char bytes[6];
    if (count < kWideCount) {
        qToLittleEndian<quint16>(quint16(count), bytes);
        m_stream.append(bytes, 2);
    } else {
        qToLittleEndian<quint16>(kWideCount, bytes);
        qToLittleEndian<quint32>(count, bytes + 2);
        m_stream.append(bytes, 6);
    }
}

void CxStringArchive::WriteInt32(qint32 value) {
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    m_stream.append(bytes, 4);
}

void CxStringArchive::WriteString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    WriteCount(quint32(utf8.size()));
    m_stream.append(utf8);
}

bool CxStringArchive::Take(qsizetype bytes, const char** data) {
    if (!m_ok || bytes > m_stream.size() - m_at) {
        m_ok = false;
        return false;
    }
    *data = m_stream.constData() + m_at;
    m_at += bytes;
    return true;
}

bool CxStringArchive::ReadCount(quint32* count) {
    *count = 0;
    const char* data = nullptr;
    if (!Take(2, &data))
        return false;
    const quint16 narrow = qFromLittleEndian<quint16>(data);
    if (narrow != kWideCount) {
        *count = narrow;
        return true;
    }
    if (!Take(4, &data))
        return false;
    *count = qFromLittleEndian<quint32>(data);
    return true;
}

bool CxStringArchive::ReadInt32(qint32* value) {
    *value = 0;
    const char* data = nullptr;
    if (!Take(4, &data))
        return false;
    *value = qFromLittleEndian<qint32>(data);
    return true;
}

bool CxStringArchive::ReadString(QString* text) {
    text->clear();
    quint32 size = 0;
    const char* data = nullptr;
    if (!ReadCount(&size) || !Take(qsizetype(size), &data))
        return false;
    const QByteArrayView bytes(data, qsizetype(size));
    if (!bytes.isValidUtf8()) {
        m_ok = false;
        return false;
    }
    *text = QString::fromUtf8(bytes);
    return true;
}
