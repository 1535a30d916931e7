#pragma once
// A byte stream kept in a text column: lists that a directory row carries in
// its text (the materials of a package, the members of a material group) are
// written into such an archive and stored as its text.
//
// The byte stream follows the archive conventions the stored lists have
// always been written with; every number is little-endian:
// - a count (of elements, of variables, of the bytes of a string) is 16 bits
//   when it is below 0xFFFF; otherwise the 16 bits 0xFFFF, then the count in
//   32 bits;
// - a 32-bit integer is 4 bytes;
// - a string is the count of its UTF-8 bytes, then those bytes.
//
// The stored text is the stream in base64 (RFC 4648: the standard alphabet,
// '=' padding, no line breaks). Unpacking ignores blanks around the text and
// refuses anything else that is not such a text. An empty text is an empty
// stream.
//
// Reading past the end of the stream is an archive error: the read answers
// false and every later read fails too, so a caller checks once, at the end
// (together with AtEnd when the stream must hold nothing more).
#include <QByteArray>
#include <QString>

class CxStringArchive {
public:
    enum Mode { store, load };
    explicit CxStringArchive(Mode mode) : m_mode(mode) {}

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    // The text of the stream written so far.
    QString Pack() const;
    // Takes the stream of a stored text and starts reading it from its
    // beginning; false (and an empty stream) when the text is not one that
    // Pack writes.
    bool Unpack(const QString& text);

    // The bytes, for a stream made or checked by other means.
    const QByteArray& Stream() const { return m_stream; }
    void SetStream(const QByteArray& stream);

    // Storing.
    void WriteCount(quint32 count);
    void WriteInt32(qint32 value);
    void WriteString(const QString& text);

    // Loading: false when the stream ends too soon (or ended before), or a
    // string is not UTF-8; the value is then 0 or empty.
    bool ReadCount(quint32* count);
    bool ReadInt32(qint32* value);
    bool ReadString(QString* text);
    // Whether everything was read, and no read failed.
    bool AtEnd() const { return m_ok && m_at == m_stream.size(); }
    // Whether no read failed so far.
    bool IsOk() const { return m_ok; }
    // The bytes not read yet.
    qsizetype Remaining() const { return m_stream.size() - m_at; }

private:
    bool Take(qsizetype bytes, const char** data);

    Mode m_mode;
    QByteArray m_stream;
    qsizetype m_at = 0;
    bool m_ok = true;
};
