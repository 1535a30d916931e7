#include "cp1251.h"

#include <QHash>

namespace {
// 0x80..0xBF of the code page; 0 marks the byte without a character. 0xC0..0xFF
// are А..я in order.
const char16_t kUpper[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

const QHash<char16_t, char>& Table() {
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int i = 0; i < 64; ++i)
            if (kUpper[i])
                t.insert(kUpper[i], char(0x80 + i));
        for (int i = 0; i < 64; ++i)
            t.insert(char16_t(0x0410 + i), char(0xC0 + i));
        return t;
    }();
    return table;
}
} // namespace

QByteArray ToCp1251(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    const auto& table = Table();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const auto it = table.constFind(c);
        if (it != table.constEnd()) {
            out += *it;
        } else {
            out += '?';
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                QChar::isLowSurrogate(text[i + 1].unicode()))
                ++i; // one character, one '?'
        }
    }
    return out;
}
