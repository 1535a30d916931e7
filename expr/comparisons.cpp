#include "comparisons.h"

#include "conversions.h"
#include "errors.h"
#include "values.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr double kCurrencyBound = 922337203685477.6;

// Sign of (number - currency); numbers beyond the currency range lie past every currency.
int numberAgainstCurrency(double number, std::int64_t currency) {
    // The bound itself already lies past the largest currency value.
    if (number >= kCurrencyBound)
        return 1;
    if (number <= -kCurrencyBound)
        return -1;
    const std::int64_t n = DoubleToCurrency(number);
    return n < currency ? -1 : (n > currency ? 1 : 0);
}

template <typename T> int order(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

// -1, 0 or 1 for left against right; raises 3204 for kinds that do not compare.
int compareValues(const ALXValue* l, const ALXValue* r) {
    const std::uint32_t lt = ValueTypeOf(l);
    const std::uint32_t rt = ValueTypeOf(r);
    const auto is = [](std::uint32_t t, std::uint32_t mask) { return t != 0 && (t & ~mask) == 0; };
    if (is(lt, ALX_TEXT) && is(rt, ALX_TEXT)) {
        const int n = std::min(l->text.nLength, r->text.nLength);
        if (n <= 0)
            return 0;
        const int c = std::memcmp(l->text.pData, r->text.pData, std::size_t(n));
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (is(lt, ALX_DOUBLE) && is(rt, ALX_DOUBLE))
        return order(l->dbl, r->dbl);
    if (is(lt, ALX_DOUBLE) && rt == ALX_Y)
        return numberAgainstCurrency(l->dbl, r->currency);
    if (lt == ALX_Y && is(rt, ALX_DOUBLE))
        return -numberAgainstCurrency(r->dbl, l->currency);
    if (lt == ALX_Y && rt == ALX_Y)
        return order(l->currency, r->currency);
    if (is(lt, ALX_CALENDAR) && is(rt, ALX_CALENDAR)) {
        const int c = order(l->date.nDay, r->date.nDay);
        return c != 0 ? c : order(l->date.nMs, r->date.nMs);
    }
    if (lt == ALX_L && rt == ALX_L)
        return order(l->logical, r->logical);
    ThrowParserError(ALXERR_INCOMPARABLE);
}

template <typename Test>
void compare(const ALXValue* const operands[2], ALXValue* result, Test test) {
    const ALXValue* l = operands[0];
    const ALXValue* r = operands[1];
    if (ValueIsNull(l) || ValueIsNull(r)) {
        ValueSetNull(result);
        return;
    }
    const int c = compareValues(l, r);
    ValueSetLogical(test(c), result);
}

} // namespace

void CompareGreater(const ALXValue* const operands[2], ALXValue* result) {
    compare(operands, result, [](int c) { return c > 0; });
}

void CompareLess(const ALXValue* const operands[2], ALXValue* result) {
    compare(operands, result, [](int c) { return c < 0; });
}

void CompareGreaterEqual(const ALXValue* const operands[2], ALXValue* result) {
    compare(operands, result, [](int c) { return c >= 0; });
}

void CompareLessEqual(const ALXValue* const operands[2], ALXValue* result) {
    compare(operands, result, [](int c) { return c <= 0; });
}
