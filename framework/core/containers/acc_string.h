#pragma once
// CAccStringT: a growable zero-terminated character buffer for the writers of
// XML, SQL scripts and HTML pages. It starts at 128 characters and grows in
// steps that double from 128, so long texts need few reallocations.
#include <QString>
#include <cstdlib>
#include <string>
#include <type_traits>

template <class CharT> class CAccStringT {
public:
    CAccStringT() {
        m_pBuffer = static_cast<CharT*>(std::malloc(128 * sizeof(CharT)));
        if (m_pBuffer) {
            m_pBuffer[0] = 0;
            m_nCapacity = 128;
        }
    }
    ~CAccStringT() { std::free(m_pBuffer); }
    CAccStringT(const CAccStringT&) = delete;
    CAccStringT& operator=(const CAccStringT&) = delete;

    // Appends the text; with a separator, the separator goes first when both
    // the text and the buffer are non-empty. Answers the buffer, or null when
    // growing failed (the text is then unchanged).
    const CharT* Add(const CharT* text, const CharT* separator = nullptr) {
        if (!m_pBuffer)
            return nullptr;
        if (!text)
            return m_pBuffer;
        const int oldLength = m_nLength;
        if (separator && *text && m_nLength)
            if (!Append(separator))
                return nullptr;
        if (!Append(text)) {
            m_nLength = oldLength;
            m_pBuffer[m_nLength] = 0;
            return nullptr;
        }
        return m_pBuffer;
    }

    // Grows the capacity to the next multiple of the step above the need;
    // the step doubles with each growth.
    int Grow(int needed) {
        int capacity = (needed / m_nStep + 1) * m_nStep;
        auto* buffer =
            static_cast<CharT*>(std::realloc(m_pBuffer, size_t(capacity) * sizeof(CharT)));
        if (!buffer)
            return 0;
        m_pBuffer = buffer;
        m_nCapacity = capacity;
        m_nStep *= 2;
        return 1;
    }

    const CharT* GetBuffer() const { return m_pBuffer; }
    operator const CharT*() const { return m_pBuffer; }
    int GetLength() const { return m_nLength; }
    int GetCapacity() const { return m_nCapacity; }
    int GetStep() const { return m_nStep; }
    // Empties the text; the capacity stays.
    void Empty() {
        m_nLength = 0;
        if (m_pBuffer)
            m_pBuffer[0] = 0;
    }

    // Qt text in and out (wide or UTF-16 buffers only).
    const CharT* Add(const QString& text) { return Add(Convert(text).c_str(), nullptr); }
    const CharT* Add(const QString& text, const QString& separator) {
        return Add(Convert(text).c_str(), Convert(separator).c_str());
    }
    QString ToString() const {
        if (!m_pBuffer)
            return QString();
        if constexpr (std::is_same_v<CharT, wchar_t>)
            return QString::fromWCharArray(m_pBuffer, m_nLength);
        else
            return QString::fromUtf16(m_pBuffer, m_nLength);
    }

private:
    static std::basic_string<CharT> Convert(const QString& text) {
        if constexpr (std::is_same_v<CharT, wchar_t>)
            return text.toStdWString();
        else
            return text.toStdU16String();
    }
    bool Append(const CharT* text) {
        const int add = int(std::char_traits<CharT>::length(text));
        const int newLength = m_nLength + add;
        if (m_nCapacity < newLength + 3 && !Grow(newLength + 3))
            return false;
        std::char_traits<CharT>::copy(m_pBuffer + m_nLength, text, size_t(add) + 1);
        m_nLength = newLength;
        return true;
    }

    CharT* m_pBuffer = nullptr;
    int m_nLength = 0;
    int m_nCapacity = 0;
    int m_nStep = 128;
};
