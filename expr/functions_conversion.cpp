// Conversions between types: numbers and text, dates and text, number and currency.
#include "function_handlers.h"

#include "calendar.h"
#include "conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

using namespace alx;

namespace alx {

std::string ValueToText(const ALXValue* value, ALXHandler handler) {
    switch (ValueTypeOf(value)) {
    case ALX_C:
    case ALX_M:
        return value->text.nLength > 0
                   ? std::string(value->text.pData, std::size_t(value->text.nLength))
                   : std::string();
    case ALX_N:
    case ALX_F:
        return FormatNumberGeneral(value->dbl).toStdString();
    case ALX_D:
    case ALX_T:
        return LocalDateText(value->date.nDay);
    default:
        Fail(ALXERR_WRONGTYPE, handler);
    }
}

} // namespace alx

namespace {

// The leading decimal number of a text, as the C library's atof reads it
// with "." as the decimal point; 0 when there is none.
double leadingNumber(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\n' || s[i] == '\r' ||
                            s[i] == '\v' || s[i] == '\f'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i++] == '-';
        if (i < s.size() && s[i] == '-') // a second sign is no number
            return 0;
    }
    double x = 0;
    const auto r =
        std::from_chars(s.data() + i, s.data() + s.size(), x, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) {
        // Too large or too small: the C reading gives infinity or (almost) zero.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
        const std::string digits(s.data() + i, r.ptr);
        x = strtod_l(digits.c_str(), nullptr, cLocale);
    } else if (r.ec != std::errc()) {
        x = 0;
    }
    return negative ? -x : x;
}

void textToDate(ALXValue** arguments, ALXValue* result, ALXHandler self, bool keepTime) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(v);
    if (t != ALX_C && t != ALX_M)
        Fail(ALXERR_ARGTYPE, self);
    const std::string text = v->text.nLength > 0
                                 ? std::string(v->text.pData, std::size_t(v->text.nLength))
                                 : std::string();
    ALXValue parsed;
    if (!ParseDateLiteral(text.c_str(), &parsed))
        ThrowParserError(ALXERR_BADDATE, text.c_str());
    if (keepTime)
        ValueSetDateTime(parsed.date.nDay, parsed.date.nMs, result);
    else
        ValueSetDate(parsed.date.nDay, result);
}

} // namespace

void ALXFn_ASC(ALXValue** arguments, ALXValue* result) {
    const auto s = TextOf(arguments, 0, ALXFn_ASC);
    if (!s)
        ValueSetNull(result);
    else
        // Unsigned, so that CHR(ASC(c)) gives c back for letters above 127.
        ValueSetNumber(s->empty() ? 0 : static_cast<unsigned char>(s->front()), result);
}

void ALXFn_CHR(ALXValue** arguments, ALXValue* result) {
    const auto n = NumberOf(arguments, 0, ALXFn_CHR);
    if (!n) {
        ValueSetNull(result);
        return;
    }
    const double code = std::trunc(*n);
    if (!(code >= 0 && code <= 255))
        Fail(ALXERR_RANGE, ALXFn_CHR);
    const char c = char(static_cast<unsigned char>(code));
    ValueSetText(&c, 1, result);
}

void ALXFn_STR(ALXValue** arguments, ALXValue* result) {
    const ALXHandler self = ALXFn_STR;
    const auto x = NumberOf(arguments, 0, self);
    std::optional<double> length = 10.0, decimals = 0.0;
    if (Arg(arguments, 1))
        length = NumberOf(arguments, 1, self);
    if (Arg(arguments, 2))
        decimals = NumberOf(arguments, 2, self);
    if (!x || !length || !decimals) {
        ValueSetNull(result);
        return;
    }
    const double width = std::trunc(*length), places = std::trunc(*decimals);
    if (!(width >= 0 && width <= 512 && places >= 0 && places <= 18))
        Fail(ALXERR_RANGE, self);
    if (width == 0) {
        SetText({}, result);
        return;
    }
    char buffer[520];
    FormatNumberFixed(*x, buffer, int(width), int(places));
    SetText(buffer, result);
}

void ALXFn_VAL(ALXValue** arguments, ALXValue* result) {
    const auto s = TextOf(arguments, 0, ALXFn_VAL);
    if (!s) {
        ValueSetNull(result);
        return;
    }
    std::size_t i = 0;
    while (i < s->size() && (*s)[i] == ' ')
        ++i;
    if (i < s->size() && (*s)[i] == '$') {
        const std::string rest(s->substr(i + 1));
        TextToCurrency(rest.c_str(), result);
        return;
    }
    ValueSetNumber(leadingNumber(s->substr(i)), result);
}

void ALXFn_CTOD(ALXValue** arguments, ALXValue* result) {
    textToDate(arguments, result, ALXFn_CTOD, false);
}

void ALXFn_CTOT(ALXValue** arguments, ALXValue* result) {
    textToDate(arguments, result, ALXFn_CTOT, true);
}

void ALXFn_DTOC(ALXValue** arguments, ALXValue* result) {
    const ALXValue* d = Arg(arguments, 0);
    std::optional<double> mode = 0.0;
    if (Arg(arguments, 1))
        mode = NumberOf(arguments, 1, ALXFn_DTOC);
    if (ValueIsNull(d) || !mode) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(d);
    if (t != ALX_D && t != ALX_T)
        Fail(ALXERR_ARGTYPE, ALXFn_DTOC);
    if (*mode == 0) {
        SetText(LocalDateText(d->date.nDay), result);
        return;
    }
    ALXValue* only[1] = {const_cast<ALXValue*>(d)};
    ALXFn_DTOS(only, result);
}

void ALXFn_DTOS(ALXValue** arguments, ALXValue* result) {
    const ALXValue* d = Arg(arguments, 0);
    if (ValueIsNull(d)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(d);
    if (t != ALX_D && t != ALX_T)
        Fail(ALXERR_ARGTYPE, ALXFn_DTOS);
    const ALXCivilDate c = CivilFromDay(d->date.nDay);
    char buf[32];
    if (c.month == 0)
        std::snprintf(buf, sizeof buf, "        "); // the empty date
    else
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", c.year, c.month, c.day);
    SetText(buf, result);
}

void ALXFn_TTOD(ALXValue** arguments, ALXValue* result) {
    const ALXValue* d = Arg(arguments, 0);
    if (ValueIsNull(d)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(d);
    if (t != ALX_D && t != ALX_T)
        Fail(ALXERR_ARGTYPE, ALXFn_TTOD);
    ValueSetDate(d->date.nDay, result);
}

void ALXFn_NTOM(ALXValue** arguments, ALXValue* result) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(v);
    if (t == ALX_Y)
        ValueSetCurrency(v->currency, result);
    else if (t == ALX_N || t == ALX_F)
        ValueSetCurrency(DoubleToCurrency(v->dbl), result);
    else
        Fail(ALXERR_ARGTYPE, ALXFn_NTOM);
}

void ALXFn_MTON(ALXValue** arguments, ALXValue* result) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(v);
    if (t == ALX_Y)
        ValueSetNumber(CurrencyAsDouble(v->currency), result);
    else if (t == ALX_N || t == ALX_F)
        ValueSetNumber(v->dbl, result);
    else
        Fail(ALXERR_ARGTYPE, ALXFn_MTON);
}
