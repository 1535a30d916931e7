#include "digests.h"

#include <QCryptographicHash>
#include <cstring>

namespace {
QByteArray Bytes(const void* bytes, qsizetype length) {
    const char* p = static_cast<const char*>(bytes);
    if (!p)
        return QByteArray();
    if (length < 0)
        length = static_cast<qsizetype>(std::strlen(p));
    return QByteArray(p, length);
}

void WriteHex(const QByteArray& digest, char* out) {
    const QByteArray hex = digest.toHex();
    std::memcpy(out, hex.constData(), static_cast<size_t>(hex.size()));
    out[hex.size()] = '\0';
}

QByteArray Utf16Le(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        const char16_t u = c.unicode();
        bytes.append(static_cast<char>(u & 0xff));
        bytes.append(static_cast<char>(u >> 8));
    }
    return bytes;
}
} // namespace

void MD5Hex(const void* bytes, qsizetype length, char* out) {
    WriteHex(QCryptographicHash::hash(Bytes(bytes, length), QCryptographicHash::Md5), out);
}

void SHA256Hex(const void* bytes, qsizetype length, char* out) {
    WriteHex(QCryptographicHash::hash(Bytes(bytes, length), QCryptographicHash::Sha256), out);
}

QString MD5HexOfText(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(Utf16Le(text), QCryptographicHash::Md5).toHex());
}

QString SHA256HexOfText(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(Utf16Le(text), QCryptographicHash::Sha256).toHex());
}
