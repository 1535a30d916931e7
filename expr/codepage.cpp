#include "codepage.h"

#include "framework/core/text/cp1251.h"

#include <QHash>

namespace alx {
namespace {

// The upper half (0x80..0xFF) of DOS code page 866; code page 1251 is the
// program's shared table (kCp1251HighHalfHalf).
const char16_t kCp866High[128] = {
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B,
    0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433,
    0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B,
    0x044C, 0x044D, 0x044E, 0x044F, 0x0401, 0x0451, 0x0404, 0x0454, 0x0407, 0x0457, 0x040E, 0x045E,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x2116, 0x00A4, 0x25A0, 0x00A0,
};

QString decode(const char16_t* high, const char* bytes, int length) {
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.append(QChar(b < 0x80 ? char16_t(b) : high[b - 0x80]));
    }
    return out;
}

QHash<char16_t, char> reverseOf(const char16_t* high) {
    QHash<char16_t, char> map;
    for (int i = 0; i < 128; ++i)
        map.insert(high[i], char(0x80 + i));
    return map;
}

QByteArray encode(const QHash<char16_t, char>& reverse, const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80)
            out.append(char(u));
        else
            out.append(reverse.value(u, '?'));
    }
    return out;
}

struct Cp1251Classes {
    unsigned char lower[256];
    unsigned char upper[256];
    unsigned char flags[256];
    enum { Alpha = 1, Lower = 2, Upper = 4 };

    Cp1251Classes() {
        const auto reverse = reverseOf(kCp1251HighHalf);
        for (int b = 0; b < 256; ++b) {
            const QChar ch(b < 0x80 ? char16_t(b) : kCp1251HighHalf[b - 0x80]);
            const auto back = [&](QChar u) -> unsigned char {
                if (u.unicode() < 0x80)
                    return static_cast<unsigned char>(u.unicode());
                const auto it = reverse.find(u.unicode());
                return it == reverse.end() ? static_cast<unsigned char>(b)
                                           : static_cast<unsigned char>(*it);
            };
            lower[b] = back(ch.toLower());
            upper[b] = back(ch.toUpper());
            flags[b] = 0;
            if (ch.isLetter())
                flags[b] |= Alpha;
            if (ch.isLower())
                flags[b] |= Lower;
            if (ch.isUpper())
                flags[b] |= Upper;
        }
    }
};

const Cp1251Classes& classes() {
    static const Cp1251Classes c;
    return c;
}

} // namespace

QString Cp1251ToUnicode(const char* bytes, int length) {
    return decode(kCp1251HighHalf, bytes, length);
}

QByteArray UnicodeToCp1251(const QString& text) {
    static const auto reverse = reverseOf(kCp1251HighHalf);
    return encode(reverse, text);
}

QString Cp866ToUnicode(const char* bytes, int length) {
    return decode(kCp866High, bytes, length);
}

QByteArray UnicodeToCp866(const QString& text) {
    static const auto reverse = reverseOf(kCp866High);
    return encode(reverse, text);
}

bool Cp1251IsAlpha(unsigned char c) {
    return classes().flags[c] & Cp1251Classes::Alpha;
}

bool Cp1251IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool Cp1251IsLower(unsigned char c) {
    return classes().flags[c] & Cp1251Classes::Lower;
}

bool Cp1251IsUpper(unsigned char c) {
    return classes().flags[c] & Cp1251Classes::Upper;
}

unsigned char Cp1251ToLower(unsigned char c) {
    return classes().lower[c];
}

unsigned char Cp1251ToUpper(unsigned char c) {
    return classes().upper[c];
}

} // namespace alx
