// Numeric functions: N and F work on the double, Y on the 64-bit count of
// 1/10000 units so that money keeps its exact value.
#include "function_handlers.h"

#include "conversions.h"

#include <cmath>
#include <limits>
#include <numbers>

using namespace alx;

namespace {

constexpr std::int64_t kUnit = 10000;

// Integer division rounded toward minus infinity.
std::int64_t floorUnits(std::int64_t v) {
    std::int64_t q = v / kUnit;
    if (v % kUnit != 0 && v < 0)
        --q;
    return q * kUnit;
}

std::int64_t ceilUnits(std::int64_t v) {
    std::int64_t q = v / kUnit;
    if (v % kUnit != 0 && v > 0) {
        if (q >= std::numeric_limits<std::int64_t>::max() / kUnit)
            ThrowParserError(ALXERR_CURRENCY);
        ++q;
    }
    return q * kUnit;
}

// ABS, CEILING, FLOOR, INT: the same operation on a double and on currency.
template <typename OnDouble, typename OnCurrency>
void sameType(ALXValue** arguments, ALXValue* result, OnDouble onDouble, OnCurrency onCurrency,
              ALXHandler self) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(v);
    if (t == ALX_N || t == ALX_F)
        ValueSetNumber(onDouble(v->dbl), result);
    else if (t == ALX_Y)
        ValueSetCurrency(onCurrency(v->currency), result);
    else
        Fail(ALXERR_ARGTYPE, self);
}

template <typename Fn> void mathOf(ALXValue** arguments, ALXValue* result, ALXHandler self, Fn fn) {
    const auto x = NumberOf(arguments, 0, self);
    if (!x)
        ValueSetNull(result);
    else
        ValueSetNumber(fn(*x), result);
}

} // namespace

void ALXFn_ABS(ALXValue** arguments, ALXValue* result) {
    sameType(
        arguments, result, [](double x) { return std::fabs(x); },
        [](std::int64_t y) {
            if (y == std::numeric_limits<std::int64_t>::min())
                ThrowParserError(ALXERR_CURRENCY);
            return y < 0 ? -y : y;
        },
        ALXFn_ABS);
}

void ALXFn_CEILING(ALXValue** arguments, ALXValue* result) {
    sameType(
        arguments, result, [](double x) { return std::ceil(x); }, ceilUnits, ALXFn_CEILING);
}

void ALXFn_FLOOR(ALXValue** arguments, ALXValue* result) {
    sameType(
        arguments, result, [](double x) { return std::floor(x); },
        [](std::int64_t y) {
            if (y < std::numeric_limits<std::int64_t>::min() + kUnit)
                ThrowParserError(ALXERR_CURRENCY);
            return floorUnits(y);
        },
        ALXFn_FLOOR);
}

void ALXFn_INT(ALXValue** arguments, ALXValue* result) {
    sameType(
        arguments, result, [](double x) { return std::trunc(x); },
        [](std::int64_t y) { return y / kUnit * kUnit; }, ALXFn_INT);
}

void ALXFn_SIGN(ALXValue** arguments, ALXValue* result) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t t = ValueTypeOf(v);
    if (t == ALX_N || t == ALX_F)
        ValueSetNumber(v->dbl > 0 ? 1 : (v->dbl < 0 ? -1 : 0), result);
    else if (t == ALX_Y)
        ValueSetNumber(v->currency > 0 ? 1 : (v->currency < 0 ? -1 : 0), result);
    else
        Fail(ALXERR_ARGTYPE, ALXFn_SIGN);
}

void ALXFn_ROUND(ALXValue** arguments, ALXValue* result) {
    const ALXValue* v = Arg(arguments, 0);
    const ALXValue* p = Arg(arguments, 1);
    if (ValueIsNull(v) || ValueIsNull(p)) {
        ValueSetNull(result);
        return;
    }
    const int places = WholeOf(NumberArg(arguments, 1, ALXFn_ROUND));
    const std::uint32_t t = ValueTypeOf(v);
    if (t == ALX_N || t == ALX_F) {
        ValueSetNumber(RoundDecimal(v->dbl, places), result);
    } else if (t == ALX_Y) {
        // Round half away from zero to 10^(4 - places) units.
        std::int64_t y = v->currency;
        if (places < 4) {
            if (places < -14) {
                y = 0;
            } else {
                const int digits = 4 - places;
                std::int64_t unit = 1;
                for (int i = 0; i < digits; ++i)
                    unit *= 10;
                const __int128 q = y / unit;
                const __int128 r = y % unit;
                __int128 rounded = q;
                if (2 * (r < 0 ? -r : r) >= unit)
                    rounded += y < 0 ? -1 : 1;
                const __int128 units = rounded * unit;
                if (units > std::numeric_limits<std::int64_t>::max() ||
                    units < std::numeric_limits<std::int64_t>::min())
                    ThrowParserError(ALXERR_CURRENCY);
                y = std::int64_t(units);
            }
        }
        ValueSetCurrency(y, result);
    } else {
        Fail(ALXERR_ARGTYPE, ALXFn_ROUND);
    }
}

void ALXFn_MOD(ALXValue** arguments, ALXValue* result) {
    const ALXValue* a = Arg(arguments, 0);
    const ALXValue* b = Arg(arguments, 1);
    if (ValueIsNull(a) || ValueIsNull(b)) {
        ValueSetNull(result);
        return;
    }
    const std::uint32_t ta = ValueTypeOf(a), tb = ValueTypeOf(b);
    const auto isDouble = [](std::uint32_t t) { return t == ALX_N || t == ALX_F; };
    if (isDouble(ta) && isDouble(tb)) {
        if (b->dbl == 0)
            Fail(ALXERR_DIVZERO, ALXFn_MOD);
        ValueSetNumber(std::fmod(a->dbl, b->dbl), result);
        return;
    }
    const auto toCurrency = [&](const ALXValue* v, std::uint32_t t) -> std::int64_t {
        if (t == ALX_Y)
            return v->currency;
        if (isDouble(t))
            return DoubleToCurrency(v->dbl);
        Fail(ALXERR_WRONGTYPE, ALXFn_MOD);
    };
    const std::int64_t x = toCurrency(a, ta), y = toCurrency(b, tb);
    if (y == 0)
        Fail(ALXERR_DIVZERO, ALXFn_MOD);
    ValueSetCurrency(y == -1 ? 0 : x % y, result);
}

void ALXFn_ATAN(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_ATAN, [](double x) { return std::atan(x); });
}

void ALXFn_COS(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_COS, [](double x) { return std::cos(x); });
}

void ALXFn_EXP(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_EXP, [](double x) { return std::exp(x); });
}

void ALXFn_SIN(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_SIN, [](double x) { return std::sin(x); });
}

void ALXFn_TAN(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_TAN, [](double x) { return std::tan(x); });
}

void ALXFn_SQRT(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_SQRT, [](double x) {
        if (x < 0)
            Fail(ALXERR_DOMAIN, ALXFn_SQRT);
        return std::sqrt(x);
    });
}

void ALXFn_LOG(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_LOG, [](double x) {
        if (!(x > 0))
            Fail(ALXERR_DOMAIN, ALXFn_LOG);
        return std::log(x);
    });
}

void ALXFn_LOG10(ALXValue** arguments, ALXValue* result) {
    mathOf(arguments, result, ALXFn_LOG10, [](double x) {
        if (!(x > 0))
            Fail(ALXERR_DOMAIN, ALXFn_LOG10);
        return std::log10(x);
    });
}

void ALXFn_PI(ALXValue**, ALXValue* result) {
    ValueSetNumber(std::numbers::pi, result);
}
