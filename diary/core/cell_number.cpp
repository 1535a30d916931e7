#include "cell_number.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <limits>

bool ReadCellNumber(QStringView text, qint32* value) {
    *value = 0;
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    qint64 v = 0;
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        v = v * 10 + (text[i].unicode() - u'0');
        if (v > kLimit)
            return false;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<qint32>::max() || v < std::numeric_limits<qint32>::min())
        return false;
    *value = qint32(v);
    return true;
}

qint32 CellNumber(QStringView text) {
    qint32 v = 0;
    ReadCellNumber(text, &v);
    return v;
}

ECellCount ReadCellCount(QStringView text, qint32* value) {
    *value = 0;
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return ECellCount::Empty;
    qsizetype i = 0;
    const auto isDigit = [&](qsizetype at) {
        return at < t.size() && t[at] >= u'0' && t[at] <= u'9';
    };
    bool negative = false;
    if (t[i] == u'-' || t[i] == u'+' || t[i] == QChar(0x2212)) {
        negative = t[i] != u'+';
        ++i;
    }
    // The digits of the number, the place of its decimal point among them.
    QString digits;
    while (isDigit(i))
        digits += t[i++];
    if (digits.isEmpty())
        return ECellCount::NotNumber;
    qsizetype point = digits.size();
    if (i + 1 < t.size() && (t[i] == u'.' || t[i] == u',') && isDigit(i + 1)) {
        ++i;
        while (isDigit(i))
            digits += t[i++];
    }
    if (i + 1 < t.size() && (t[i] == u'e' || t[i] == u'E') &&
        (isDigit(i + 1) || ((t[i + 1] == u'+' || t[i + 1] == u'-') && isDigit(i + 2)))) {
        ++i;
        const bool down = t[i] == u'-';
        if (t[i] == u'+' || t[i] == u'-')
            ++i;
        qint64 exponent = 0;
        while (isDigit(i))
            exponent = qMin<qint64>(exponent * 10 + (t[i++].unicode() - u'0'), 1000);
        point += down ? -exponent : exponent;
    }
    // What follows may be a word ("шт."), never more digits.
    for (qsizetype k = i; k < t.size(); ++k)
        if (t[k].isDigit())
            return ECellCount::NotNumber;
    if (i < t.size() && (t[i] == u'.' || t[i] == u',' || t[i] == u'/'))
        if (i + 1 < t.size() && !t[i + 1].isSpace())
            return ECellCount::NotNumber;

    QString whole, fraction;
    if (point <= 0) {
        fraction = QString(-point, u'0') + digits;
    } else if (point >= digits.size()) {
        whole = digits + QString(point - digits.size(), u'0');
    } else {
        whole = digits.left(point);
        fraction = digits.mid(point);
    }
    while (whole.startsWith(u'0'))
        whole.remove(0, 1);
    const bool fractional = fraction.contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (whole.isEmpty() && !fractional)
        return ECellCount::Count; // zero, whatever its sign
    if (negative)
        return ECellCount::Negative;
    if (fractional)
        return ECellCount::Fraction;
    bool fits = false;
    const qint64 number = whole.size() <= 10 ? whole.toLongLong(&fits) : 0;
    if (!fits || number > std::numeric_limits<qint32>::max())
        return ECellCount::TooLarge;
    *value = qint32(number);
    return ECellCount::Count;
}

ECellMark ReadCellMark(QStringView text) {
    qint32 value = 0;
    switch (ReadCellCount(text, &value)) {
    case ECellCount::Empty:
        return ECellMark::Unmarked;
    case ECellCount::Count:
        return value > 0 ? ECellMark::Marked : ECellMark::Unmarked;
    case ECellCount::NotNumber:
        break;
    default:
        return ECellMark::Unreadable;
    }
    // Words compare without case; "ё" and "е" are one letter to the user.
    QString word = text.trimmed().toString().toCaseFolded();
    word.replace(u'ё', u'е');
    while (word.endsWith(u'.') || word.endsWith(u'!'))
        word.chop(1);
    static const QStringList yes = {
        QStringLiteral("да"),   QStringLiteral("д"),     QStringLiteral("+"), QStringLiteral("x"),
        QStringLiteral("х"),    QStringLiteral("v"),     QStringLiteral("✓"), QStringLiteral("✔"),
        QStringLiteral("есть"), QStringLiteral("истина")};
    static const QStringList no = {QStringLiteral("нет"), QStringLiteral("н"),
                                   QStringLiteral("ложь")};
    if (yes.contains(word))
        return ECellMark::Marked;
    if (no.contains(word))
        return ECellMark::Unmarked;
    return ECellMark::Unreadable;
}
