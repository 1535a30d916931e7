#include "conversions.h"

#include "errors.h"
#include "values.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr double kCurrencyBound = 922337203685477.6;

// ceil(log10 |x|) for finite non-zero x.
int decimalExponent(double x) {
    return int(std::ceil(std::log10(std::fabs(x))));
}

void dropTrailingZeros(std::string& s) {
    const auto dot = s.find('.');
    if (dot == std::string::npos)
        return;
    std::size_t end = s.size();
    while (end > dot + 1 && s[end - 1] == '0')
        --end;
    if (end == dot + 1)
        --end;
    s.erase(end);
}

// Scientific text with `digits` significant digits: "1.5E+25", exponent of at
// least two digits.
std::string scientific(double x, int digits, bool keepZeros) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*E", digits > 1 ? digits - 1 : 0, x);
    std::string s(buf);
    const auto e = s.find('E');
    std::string mantissa = s.substr(0, e);
    const std::string exponent = s.substr(e);
    if (!keepZeros)
        dropTrailingZeros(mantissa);
    return mantissa + exponent;
}

} // namespace

std::int64_t DoubleToCurrency(double x) {
    if (std::isnan(x) || !(x > -kCurrencyBound && x < kCurrencyBound))
        ThrowParserError(ALXERR_CURRENCY);
    const double ax = std::fabs(x);
    // The exact product is p + err; rounding it needs both parts.
    const double p = ax * 10000.0;
    const double err = std::fma(ax, 10000.0, -p);
    const double whole = std::floor(p);
    auto i = static_cast<std::int64_t>(whole);
    // Near the top of the range the correction spans many units.
    const double carry = std::floor((p - whole) + err);
    i += static_cast<std::int64_t>(carry);
    // The exact excess over i + 0.5; err is added last so that a tiny error
    // next to a half still decides the side.
    const double excess = ((p - whole) - carry - 0.5) + err;
    if (excess > 0 || (excess == 0 && (i & 1)))
        ++i;
    return x < 0 ? -i : i;
}

double CurrencyAsDouble(std::int64_t currency) {
    return double(currency) / 10000.0;
}

int TextToCurrency(const char* text, ALXValue* result) {
    const char* p = text ? text : "";
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    std::string whole, fraction;
    while (std::isdigit(static_cast<unsigned char>(*p)))
        whole += *p++;
    if (*p == '.' || *p == ',') {
        ++p;
        while (std::isdigit(static_cast<unsigned char>(*p)))
            fraction += *p++;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if ((whole.empty() && fraction.empty()) || *p != '\0') {
        ValueSetCurrency(0, result);
        return 1;
    }
    const auto first = whole.find_first_not_of('0');
    whole = first == std::string::npos ? std::string() : whole.substr(first);
    if (whole.size() > 15)
        ThrowParserError(ALXERR_CURRENCY);
    // Units of 1/10000 from the first four decimals, then round half to even on the rest.
    unsigned __int128 units = 0;
    for (char c : whole)
        units = units * 10 + unsigned(c - '0');
    for (int k = 0; k < 4; ++k)
        units =
            units * 10 + unsigned(k < int(fraction.size()) ? fraction[std::size_t(k)] - '0' : 0);
    if (fraction.size() > 4) {
        const char next = fraction[4];
        const bool restNonZero = fraction.find_first_not_of('0', 5) != std::string::npos;
        if (next > '5' || (next == '5' && (restNonZero || (units & 1))))
            ++units;
    }
    const unsigned __int128 limit = negative ? (unsigned __int128)(INT64_MAX) + 1 : INT64_MAX;
    if (units > limit)
        ThrowParserError(ALXERR_CURRENCY);
    const std::int64_t value = negative ? std::int64_t(-(__int128)units) : std::int64_t(units);
    ValueSetCurrency(value, result);
    return 1;
}

QByteArray FormatNumberGeneral(double x) {
    if (std::isnan(x))
        return "NaN";
    if (std::isinf(x))
        return x < 0 ? "-Inf" : "Inf";
    if (x == 0)
        return "0";
    const int e = decimalExponent(x);
    const int sign = x < 0 ? 1 : 0;
    if (e >= 20 || e < -14) {
        const int expDigits = std::abs(e) > 99 ? 3 : 2;
        const int digits = 20 - (sign + expDigits + 3);
        return QByteArray::fromStdString(scientific(x, digits, false));
    }
    const int decimals = e >= 1 ? std::max(0, 16 - e) : 15;
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
    std::string s(buf);
    if (s.size() > 20)
        s.erase(20);
    dropTrailingZeros(s);
    return QByteArray::fromStdString(s);
}

void FormatNumberFixed(double x, char* buffer, int width, int decimals) {
    if (width <= 0) {
        buffer[0] = '\0';
        return;
    }
    const auto put = [&](const std::string& s) {
        if (int(s.size()) > width) {
            std::memset(buffer, '*', std::size_t(width));
        } else {
            const std::size_t pad = std::size_t(width) - s.size();
            std::memset(buffer, ' ', pad);
            std::memcpy(buffer + pad, s.data(), s.size());
        }
        buffer[width] = '\0';
    };
    // Scientific field: blank or "-", mantissa, exponent; "*" when the mantissa gets no digit.
    const auto putScientific = [&](double v) {
        const int e = decimalExponent(v);
        const int expDigits = std::abs(e) > 99 ? 3 : 2;
        const int digits = std::min(width, 20) - (expDigits + 2) - 2;
        if (digits < 1) {
            put(std::string(std::size_t(width) + 1, '*'));
            return;
        }
        std::string s = scientific(std::fabs(v), digits, true);
        put((v < 0 ? "-" : " ") + s);
    };
    if (!std::isfinite(x)) {
        put(std::string(std::size_t(width) + 1, '*'));
        return;
    }
    const int sign = x < 0 ? 1 : 0;
    const int e = x == 0 ? 0 : decimalExponent(x);
    if (!(e < 20 && e <= width - sign)) {
        putScientific(x);
        return;
    }
    if (x != 0 && e < -28) {
        putScientific(x);
        return;
    }
    // Integer part and fraction digits of x printed with `places` decimals.
    const auto fixedText = [](double v, int places) {
        const QByteArray g = FormatNumberGeneral(v);
        std::string s = g.toStdString();
        std::string ip = s, fp;
        const auto dot = s.find('.');
        if (dot != std::string::npos) {
            ip = s.substr(0, dot);
            fp = s.substr(dot + 1);
        }
        if (ip == "-0")
            ip = "0";
        fp.resize(std::size_t(places), '0');
        return std::make_pair(ip, fp);
    };
    double v = decimals < 14 ? RoundDecimal(x, decimals) : x;
    auto [ip, fp] = fixedText(v, decimals);
    if (decimals == 0 && int(ip.size()) <= width) {
        put(ip);
        return;
    }
    if (int(ip.size()) + 1 + decimals <= width) {
        put(ip + "." + fp);
        return;
    }
    if (int(ip.size()) + 2 > width) {
        // No room for a fraction: whole units, 20 significant digits at most.
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.0f", RoundDecimal(x, 0));
        std::string s(buf);
        if (s == "-0")
            s = "0";
        put(s);
        return;
    }
    const int fit = width - int(ip.size()) - 1;
    v = RoundDecimal(x, fit);
    auto [ip2, fp2] = fixedText(v, fit);
    put(ip2 + "." + fp2);
}

double PowerOf(double base, int exponent) {
    unsigned long long n =
        exponent < 0 ? 0ULL - static_cast<unsigned long long>(static_cast<long long>(exponent))
                     : static_cast<unsigned long long>(exponent);
    double result = 1.0;
    double square = base;
    while (n) {
        if (n & 1)
            result *= square;
        square *= square;
        n >>= 1;
    }
    return exponent < 0 ? 1.0 / result : result;
}

double RoundDecimal(double x, int places) {
    if (!std::isfinite(x))
        return x;
    const auto halfAway = [](double v) { return v > 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5); };
    if (places == 0)
        return halfAway(x);
    if (places > 0) {
        const double p = PowerOf(10.0, places);
        const double scaled = x * p;
        // Beyond 2^52 a double has no fraction left to round.
        if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0)
            return x;
        return halfAway(scaled) / p;
    }
    // Negative places round to tens, hundreds, ...; far beyond any double
    // every value rounds to 0 (and -places must not overflow).
    const double p = places < -400 ? HUGE_VAL : PowerOf(10.0, -places);
    if (!std::isfinite(p))
        return 0.0;
    return halfAway(x / p) * p;
}
