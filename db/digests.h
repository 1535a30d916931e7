#pragma once
// MD5 and SHA-256 as lower-case hex; the report framework names its work
// tables after the digest of a long text (its UTF-16LE bytes).
#include <QString>

// `length` -1 digests up to the first zero byte. `out` receives the hex text
// and a terminating zero: at least 33 (MD5) or 65 (SHA-256) characters.
void MD5Hex(const void* bytes, qsizetype length, char* out);
void SHA256Hex(const void* bytes, qsizetype length, char* out);

// The digest of a text's UTF-16LE bytes (two per character).
QString MD5HexOfText(const QString& text);
QString SHA256HexOfText(const QString& text);
