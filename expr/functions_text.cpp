// Text functions. Texts are Windows-1251 bytes; a null argument gives null.
// An empty text is a text like any other, except for the text that SUBSTR,
// STRTRAN, CHRTRAN and STUFF work on and the text STRTRAN and CHRTRAN look
// for: there it counts as missing and gives null. Their replacement may be
// empty: it deletes what it replaces.
#include "function_handlers.h"

#include "codepage.h"
#include "conversions.h"
#include "wildcard.h"

#include <algorithm>

using namespace alx;

namespace {

using Text = std::optional<std::string_view>;

void trim(ALXValue** arguments, ALXValue* result, ALXHandler self, bool left, bool right) {
    const Text s = TextOf(arguments, 0, self);
    if (!s) {
        ValueSetNull(result);
        return;
    }
    std::size_t begin = 0, end = s->size();
    if (left)
        while (begin < end && (*s)[begin] == ' ')
            ++begin;
    if (right)
        while (end > begin && (*s)[end - 1] == ' ')
            --end;
    SetText(s->substr(begin, end - begin), result);
}

template <typename Map>
void mapBytes(ALXValue** arguments, ALXValue* result, ALXHandler self, Map map) {
    const Text s = TextOf(arguments, 0, self);
    if (!s) {
        ValueSetNull(result);
        return;
    }
    std::string out(*s);
    for (char& c : out)
        c = char(map(static_cast<unsigned char>(c)));
    SetText(out, result);
}

template <typename Test>
void classOfFirst(ALXValue** arguments, ALXValue* result, ALXHandler self, Test test) {
    const Text s = TextOf(arguments, 0, self);
    if (!s) {
        ValueSetNull(result);
        return;
    }
    ValueSetLogical(!s->empty() && test(static_cast<unsigned char>(s->front())), result);
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = char(Cp1251ToLower(static_cast<unsigned char>(c)));
    return out;
}

// AT, ATC and RAT: the 1-based place of the n-th occurrence, 0 when there is none.
void findOccurrence(ALXValue** arguments, ALXValue* result, ALXHandler self, bool ignoreCase,
                    bool fromRight) {
    const Text find = TextOf(arguments, 0, self);
    const Text s = TextOf(arguments, 1, self);
    int n = 1;
    if (Arg(arguments, 2)) {
        const auto count = NumberOf(arguments, 2, self);
        if (!count) {
            ValueSetNull(result);
            return;
        }
        n = WholeOf(*count);
        if (n < 1)
            Fail(ALXERR_RANGE, self);
    }
    if (!find || !s) {
        ValueSetNull(result);
        return;
    }
    std::string needle(*find), hay(*s);
    if (ignoreCase) {
        needle = lowered(needle);
        hay = lowered(hay);
    }
    int position = 0;
    if (!needle.empty() && needle.size() <= hay.size()) {
        int seen = 0;
        if (!fromRight) {
            for (std::size_t at = hay.find(needle); at != std::string::npos;
                 at = hay.find(needle, at + 1))
                if (++seen == n) {
                    position = int(at) + 1;
                    break;
                }
        } else {
            for (std::size_t at = hay.rfind(needle); at != std::string::npos;
                 at = at == 0 ? std::string::npos : hay.rfind(needle, at - 1))
                if (++seen == n) {
                    position = int(at) + 1;
                    break;
                }
        }
    }
    ValueSetNumber(position, result);
}

// PADL, PADR and PADC: the text cut or filled to exactly n characters.
enum class Side { Left, Right, Centre };

void pad(ALXValue** arguments, ALXValue* result, ALXHandler self, Side side) {
    const ALXValue* v = Arg(arguments, 0);
    const auto n = NumberOf(arguments, 1, self);
    Text fill = std::string_view(" ");
    if (Arg(arguments, 2))
        fill = TextOf(arguments, 2, self);
    if (ValueIsNull(v) || !n || !fill) {
        ValueSetNull(result);
        return;
    }
    if (fill->empty())
        Fail(ALXERR_RANGE, self);
    const std::string text = ValueToText(v, self);
    const int width = WholeOf(*n);
    if (width < 1) {
        SetText({}, result);
        return;
    }
    CheckTextSize(width, self);
    if (int(text.size()) >= width) {
        SetText(std::string_view(text).substr(0, std::size_t(width)), result);
        return;
    }
    const std::size_t room = std::size_t(width) - text.size();
    const std::size_t before = side == Side::Left ? room : (side == Side::Right ? 0 : room / 2);
    const auto run = [&](std::size_t count) {
        std::string s;
        s.reserve(count);
        while (s.size() < count)
            s.append(fill->substr(0, count - s.size()));
        return s;
    };
    SetText(run(before) + text + run(room - before), result);
}

} // namespace

void ALXFn_ALLTRIM(ALXValue** arguments, ALXValue* result) {
    trim(arguments, result, ALXFn_ALLTRIM, true, true);
}

void ALXFn_LTRIM(ALXValue** arguments, ALXValue* result) {
    trim(arguments, result, ALXFn_LTRIM, true, false);
}

void ALXFn_RTRIM(ALXValue** arguments, ALXValue* result) {
    trim(arguments, result, ALXFn_RTRIM, false, true);
}

void ALXFn_LOWER(ALXValue** arguments, ALXValue* result) {
    mapBytes(arguments, result, ALXFn_LOWER, Cp1251ToLower);
}

void ALXFn_UPPER(ALXValue** arguments, ALXValue* result) {
    mapBytes(arguments, result, ALXFn_UPPER, Cp1251ToUpper);
}

void ALXFn_ANSITOOEM(ALXValue** arguments, ALXValue* result) {
    const Text s = TextOf(arguments, 0, ALXFn_ANSITOOEM);
    if (!s) {
        ValueSetNull(result);
        return;
    }
    const QByteArray oem = UnicodeToCp866(Cp1251ToUnicode(s->data(), int(s->size())));
    SetText(std::string_view(oem.constData(), std::size_t(oem.size())), result);
}

void ALXFn_OEMTOANSI(ALXValue** arguments, ALXValue* result) {
    const Text s = TextOf(arguments, 0, ALXFn_OEMTOANSI);
    if (!s) {
        ValueSetNull(result);
        return;
    }
    const QByteArray ansi = UnicodeToCp1251(Cp866ToUnicode(s->data(), int(s->size())));
    SetText(std::string_view(ansi.constData(), std::size_t(ansi.size())), result);
}

void ALXFn_ISALPHA(ALXValue** arguments, ALXValue* result) {
    classOfFirst(arguments, result, ALXFn_ISALPHA, Cp1251IsAlpha);
}

void ALXFn_ISDIGIT(ALXValue** arguments, ALXValue* result) {
    classOfFirst(arguments, result, ALXFn_ISDIGIT, Cp1251IsDigit);
}

void ALXFn_ISLOWER(ALXValue** arguments, ALXValue* result) {
    classOfFirst(arguments, result, ALXFn_ISLOWER, Cp1251IsLower);
}

void ALXFn_ISUPPER(ALXValue** arguments, ALXValue* result) {
    classOfFirst(arguments, result, ALXFn_ISUPPER, Cp1251IsUpper);
}

void ALXFn_LEN(ALXValue** arguments, ALXValue* result) {
    const Text s = TextOf(arguments, 0, ALXFn_LEN);
    if (!s)
        ValueSetNull(result);
    else
        ValueSetNumber(double(s->size()), result);
}

void ALXFn_AT(ALXValue** arguments, ALXValue* result) {
    findOccurrence(arguments, result, ALXFn_AT, false, false);
}

void ALXFn_ATC(ALXValue** arguments, ALXValue* result) {
    findOccurrence(arguments, result, ALXFn_ATC, true, false);
}

void ALXFn_RAT(ALXValue** arguments, ALXValue* result) {
    findOccurrence(arguments, result, ALXFn_RAT, false, true);
}

void ALXFn_OCCURS(ALXValue** arguments, ALXValue* result) {
    const Text find = TextOf(arguments, 0, ALXFn_OCCURS);
    const Text s = TextOf(arguments, 1, ALXFn_OCCURS);
    if (!find || !s) {
        ValueSetNull(result);
        return;
    }
    int count = 0;
    if (!find->empty())
        for (std::size_t at = s->find(*find); at != std::string_view::npos;
             at = s->find(*find, at + find->size()))
            ++count;
    ValueSetNumber(count, result);
}

void ALXFn_LIKE(ALXValue** arguments, ALXValue* result) {
    const Text pattern = TextOf(arguments, 0, ALXFn_LIKE);
    const Text s = TextOf(arguments, 1, ALXFn_LIKE);
    if (!pattern || !s) {
        ValueSetNull(result);
        return;
    }
    ValueSetLogical(WildcardMatch(pattern->data(), int(pattern->size()), s->data(), int(s->size())),
                    result);
}

void ALXFn_CHRTRAN(ALXValue** arguments, ALXValue* result) {
    const Text s = FilledTextOf(arguments, 0, ALXFn_CHRTRAN);
    const Text from = FilledTextOf(arguments, 1, ALXFn_CHRTRAN);
    const Text to = TextOf(arguments, 2, ALXFn_CHRTRAN);
    if (!s || !from || !to) {
        ValueSetNull(result);
        return;
    }
    std::string out;
    out.reserve(s->size());
    for (char c : *s) {
        const std::size_t i = from->find(c);
        if (i == std::string_view::npos)
            out += c;
        else if (i < to->size())
            out += (*to)[i];
    }
    SetText(out, result);
}

void ALXFn_STRTRAN(ALXValue** arguments, ALXValue* result) {
    constexpr int kCountLimit = 16777185;
    const ALXHandler self = ALXFn_STRTRAN;
    const Text s = FilledTextOf(arguments, 0, self);
    const Text find = FilledTextOf(arguments, 1, self);
    const Text repl = Arg(arguments, 2) ? TextOf(arguments, 2, self) : Text(std::string_view());
    std::optional<double> start = 1.0, count = double(kCountLimit - 1);
    if (Arg(arguments, 3))
        start = NumberOf(arguments, 3, self);
    if (Arg(arguments, 4))
        count = NumberOf(arguments, 4, self);
    if (!s || !find || !repl || !start || !count) {
        ValueSetNull(result);
        return;
    }
    if (!(*count > 0 && *count < kCountLimit))
        Fail(ALXERR_RANGE, self);
    int remaining = WholeOf(*count);
    const double skip = std::max(0.0, std::trunc(*start) - 1);
    if (skip >= double(s->size())) {
        SetText(*s, result);
        return;
    }
    std::string out;
    out.reserve(s->size());
    int skipped = 0;
    std::size_t i = 0;
    while (i < s->size()) {
        if (remaining > 0 && s->compare(i, find->size(), *find) == 0) {
            if (skipped < int(skip)) {
                ++skipped;
                out += (*s)[i++];
                continue;
            }
            out.append(*repl);
            CheckTextSize(double(out.size()), self);
            --remaining;
            i += find->size();
            continue;
        }
        out += (*s)[i++];
    }
    SetText(out, result);
}

void ALXFn_STUFF(ALXValue** arguments, ALXValue* result) {
    const ALXHandler self = ALXFn_STUFF;
    const Text s = FilledTextOf(arguments, 0, self);
    const auto start = NumberOf(arguments, 1, self);
    const auto count = NumberOf(arguments, 2, self);
    const Text insert = TextOf(arguments, 3, self);
    if (!s || !start || !count || !insert) {
        ValueSetNull(result);
        return;
    }
    const double length = double(s->size());
    const double from = std::trunc(*start) - 1;
    const double keep = from >= 1 ? std::min(from, length) : 0.0; // NaN keeps nothing
    const double resume = std::clamp(keep + std::max(0.0, std::trunc(*count)), keep, length);
    CheckTextSize(length + double(insert->size()), self);
    std::string out(s->substr(0, std::size_t(keep)));
    out.append(*insert);
    out.append(s->substr(std::size_t(resume)));
    SetText(out, result);
}

void ALXFn_SUBSTR(ALXValue** arguments, ALXValue* result) {
    const ALXHandler self = ALXFn_SUBSTR;
    const Text s = FilledTextOf(arguments, 0, self);
    std::optional<double> start = 1.0, length = 2147483647.0;
    if (Arg(arguments, 1))
        start = NumberOf(arguments, 1, self);
    if (Arg(arguments, 2))
        length = NumberOf(arguments, 2, self);
    if (!s || !start || !length) {
        ValueSetNull(result);
        return;
    }
    const double from = std::max(1.0, std::trunc(*start)) - 1;
    const double take = std::trunc(*length);
    if (from >= double(s->size()) || !(take >= 1)) { // a NaN length takes nothing
        SetText({}, result);
        return;
    }
    SetText(s->substr(std::size_t(from), std::size_t(std::min(take, double(s->size()) - from))),
            result);
}

namespace {

void leftOrRight(ALXValue** arguments, ALXValue* result, ALXHandler self, bool fromLeft) {
    const Text s = TextOf(arguments, 0, self);
    const auto n = NumberOf(arguments, 1, self);
    if (!s || !n) {
        ValueSetNull(result);
        return;
    }
    const double take = std::min(std::trunc(*n), double(s->size()));
    if (!(take >= 1)) {
        SetText({}, result);
        return;
    }
    const auto k = std::size_t(take);
    SetText(fromLeft ? s->substr(0, k) : s->substr(s->size() - k), result);
}

} // namespace

void ALXFn_LEFT(ALXValue** arguments, ALXValue* result) {
    leftOrRight(arguments, result, ALXFn_LEFT, true);
}

void ALXFn_RIGHT(ALXValue** arguments, ALXValue* result) {
    leftOrRight(arguments, result, ALXFn_RIGHT, false);
}

void ALXFn_REPLICATE(ALXValue** arguments, ALXValue* result) {
    const ALXHandler self = ALXFn_REPLICATE;
    const Text s = TextOf(arguments, 0, self);
    const auto n = NumberOf(arguments, 1, self);
    if (!s || !n) {
        ValueSetNull(result);
        return;
    }
    const double times = std::trunc(*n);
    if (!(times >= 0))
        Fail(ALXERR_RANGE, self);
    CheckTextSize(times * double(s->size()), self);
    std::string out;
    if (!s->empty()) {
        out.reserve(std::size_t(times) * s->size());
        for (int i = 0; i < int(times); ++i)
            out.append(*s);
    }
    SetText(out, result);
}

void ALXFn_SPACE(ALXValue** arguments, ALXValue* result) {
    const auto n = NumberOf(arguments, 0, ALXFn_SPACE);
    if (!n) {
        ValueSetNull(result);
        return;
    }
    const double count = std::trunc(*n);
    if (!(count >= 1)) {
        SetText({}, result);
        return;
    }
    CheckTextSize(count, ALXFn_SPACE);
    SetText(std::string(std::size_t(count), ' '), result);
}

void ALXFn_PADL(ALXValue** arguments, ALXValue* result) {
    pad(arguments, result, ALXFn_PADL, Side::Left);
}

void ALXFn_PADR(ALXValue** arguments, ALXValue* result) {
    pad(arguments, result, ALXFn_PADR, Side::Right);
}

void ALXFn_PADC(ALXValue** arguments, ALXValue* result) {
    pad(arguments, result, ALXFn_PADC, Side::Centre);
}
