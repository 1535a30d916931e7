#include "calendar.h"

#include "values.h"

#include <QDateTime>

#include <cctype>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMonthStart[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr std::int32_t kDaysPerCycle = 146097; // 400 years
constexpr std::int32_t kOleEpochDay = 2415019; // 30 December 1899
constexpr int kMaxLiteralYear = 9999;

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Days from 1 January of year 0 to 1 January of `year` (0 <= year <= 400).
std::int32_t daysBeforeYear(int year) {
    if (year <= 0)
        return 0;
    return 365 * year + (year + 3) / 4 - (year + 99) / 100 + (year + 399) / 400;
}

} // namespace

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    if (month < 1 || month > 12)
        return 0;
    return kMonthLength[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

void DateTimeFromParts(int year, int month, int day, int hour, int minute, int second,
                       std::int32_t* dayNumber, std::int32_t* ms) {
    const int offset = (month >= 1 && month <= 11) ? kMonthStart[month - 1] : kMonthStart[11];
    int dayOfYear = day + offset;
    if (IsLeapYear(year) && (month >= 3 || month < 1 || month > 12))
        dayOfYear += 1;
    const std::int64_t y = std::int64_t(year) - 1;
    const std::int64_t n =
        365 * y + floorDiv(y, 4) - floorDiv(y, 100) + floorDiv(y, 400) + dayOfYear + 1721425;
    if (dayNumber)
        *dayNumber = std::int32_t(n);
    if (ms)
        *ms = (hour * 3600 + minute * 60 + second) * 1000;
}

int YearFromDay(std::int32_t dayNumber, std::int32_t, int* dayOfYear, int* leap) {
    const std::int64_t n = std::int64_t(dayNumber) - kALXEmptyDay;
    if (n <= 0) {
        if (dayOfYear)
            *dayOfYear = 0;
        if (leap)
            *leap = 1;
        return 0;
    }
    // The empty date's day is 1 January of year 0, so n counts from there.
    const std::int64_t cycles = n / kDaysPerCycle;
    const std::int32_t rest = std::int32_t(n % kDaysPerCycle);
    int y = int(rest / 366);
    while (daysBeforeYear(y + 1) <= rest)
        ++y;
    const int year = int(cycles * 400) + y;
    if (dayOfYear)
        *dayOfYear = rest - daysBeforeYear(y) + 1;
    if (leap)
        *leap = IsLeapYear(year) ? 1 : 0;
    return year;
}

int MonthDayFromDayOfYear(int dayOfYear, int leap, int* day) {
    if (dayOfYear < 1) {
        if (day)
            *day = 0;
        return 1;
    }
    int rest = dayOfYear;
    for (int m = 0; m < 12; ++m) {
        const int length = kMonthLength[m] + (m == 1 && leap ? 1 : 0);
        if (rest <= length || m == 11) {
            if (day)
                *day = rest;
            return m + 1;
        }
        rest -= length;
    }
    return 12;
}

ALXCivilDate CivilFromDay(std::int32_t dayNumber) {
    ALXCivilDate c;
    if (dayNumber <= kALXEmptyDay)
        return c;
    int dayOfYear = 0, leap = 0;
    c.year = YearFromDay(dayNumber, 0, &dayOfYear, &leap);
    c.month = MonthDayFromDayOfYear(dayOfYear, leap, &c.day);
    return c;
}

void OleDateToDateTime(double x, std::int32_t* day, std::int32_t* ms) {
    double whole = 0;
    const double fraction = std::modf(x, &whole);
    if (day)
        *day = std::int32_t(whole) + kOleEpochDay;
    if (ms)
        *ms = std::int32_t(std::fabs(fraction) * 86400.0 * 1000.0);
}

namespace {

struct Reader {
    const char* p;

    void skipBlanks() {
        while (*p == ' ' || *p == '\t')
            ++p;
    }
    // Digits read as a number; none reads as 0. Absurdly long numbers stop
    // growing instead of overflowing and then fail the range checks.
    long number(int* digits = nullptr) {
        skipBlanks();
        long v = 0;
        int count = 0;
        while (std::isdigit(static_cast<unsigned char>(*p))) {
            if (v < 100000000)
                v = v * 10 + (*p - '0');
            ++p;
            ++count;
        }
        skipBlanks();
        if (digits)
            *digits = count;
        return v;
    }
    bool optional(const char* set) {
        skipBlanks();
        if (*p != '\0' && std::strchr(set, *p)) {
            ++p;
            skipBlanks();
            return true;
        }
        return false;
    }
    bool word(const char* w) {
        skipBlanks();
        const std::size_t n = std::strlen(w);
        for (std::size_t i = 0; i < n; ++i)
            if (std::tolower(static_cast<unsigned char>(p[i])) != w[i])
                return false;
        p += n;
        return true;
    }
};

bool validDate(long year, long month, long day) {
    return year >= 1 && year <= kMaxLiteralYear && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(int(year), int(month));
}

bool store(long year, long month, long day, long hour, long minute, long second, ALXValue* result) {
    std::int32_t dayNumber = 0, ms = 0;
    DateTimeFromParts(int(year), int(month), int(day), int(hour), int(minute), int(second),
                      &dayNumber, &ms);
    ValueSetDateTime(dayNumber, ms, result);
    return true;
}

// "^year-month-day[,hour:minute:second[pm]]", blanks allowed around every item.
bool parseStrict(Reader r, ALXValue* result) {
    // Only "." and "-" part a literal's date: "^2019/01/05" is no literal.
    const long year = r.number();
    r.optional(".-");
    const long month = r.number();
    r.optional(".-");
    const long day = r.number();
    r.optional(",");
    long hour = r.number();
    r.optional(":");
    const long minute = r.number();
    r.optional(":");
    const long second = r.number();
    if (r.word("pm") && hour < 12)
        hour += 12;
    if (month > 12 || day >= 32 || hour >= 24 || minute >= 60 || second >= 60)
        return false;
    if (!validDate(year, month, day))
        return false;
    return store(year, month, day, hour, minute, second, result);
}

// Reads an optional "h:m[:s] [am|pm]" at the reader; false on a malformed time.
bool readTime(Reader& r, long* hour, long* minute, long* second, bool* present) {
    *hour = *minute = *second = 0;
    *present = false;
    r.skipBlanks();
    if (!std::isdigit(static_cast<unsigned char>(*r.p)))
        return true;
    int digits = 0;
    *hour = r.number(&digits);
    if (!r.optional(":"))
        return false;
    *minute = r.number(&digits);
    if (digits == 0)
        return false;
    if (r.optional(":")) {
        *second = r.number(&digits);
        if (digits == 0)
            return false;
    }
    if (r.word("pm")) {
        if (*hour < 1 || *hour > 12)
            return false;
        if (*hour < 12)
            *hour += 12;
    } else if (r.word("am")) {
        if (*hour < 1 || *hour > 12)
            return false;
        if (*hour == 12)
            *hour = 0;
    }
    *present = true;
    return *hour < 24 && *minute < 60 && *second < 60;
}

// The everyday forms: "dd.mm.yyyy", "dd/mm/yy", "yyyy-mm-dd", "dd.mm" (this
// year), each optionally followed by a time, or a time alone (on the
// automation epoch day).
bool parseLoose(Reader r, ALXValue* result) {
    long year = 0, month = 0, day = 0;
    bool haveDate = false;
    const Reader start = r;
    {
        int d1 = 0, d2 = 0, d3 = 0;
        const long a = r.number(&d1);
        if (d1 > 0 && r.optional("./-")) {
            const long b = r.number(&d2);
            if (d2 == 0)
                return false;
            long c = 0;
            const bool third = r.optional("./-");
            if (third) {
                c = r.number(&d3);
                if (d3 == 0)
                    return false;
            }
            if (d1 >= 3) { // year first
                if (!third)
                    return false;
                year = a, month = b, day = c;
            } else {
                day = a, month = b;
                if (third) {
                    year = c;
                    if (d3 <= 2)
                        year += year < 30 ? 2000 : 1900;
                } else {
                    year = LocalNow().year;
                }
            }
            haveDate = true;
        } else {
            r = start;
        }
    }
    long hour = 0, minute = 0, second = 0;
    bool haveTime = false;
    if (!readTime(r, &hour, &minute, &second, &haveTime))
        return false;
    r.skipBlanks();
    if (*r.p != '\0' || (!haveDate && !haveTime))
        return false;
    if (!haveDate) {
        std::int32_t ms = (int(hour) * 3600 + int(minute) * 60 + int(second)) * 1000;
        ValueSetDateTime(kOleEpochDay, ms, result);
        return true;
    }
    if (!validDate(year, month, day))
        return false;
    return store(year, month, day, hour, minute, second, result);
}

} // namespace

int ParseDateLiteral(const char* text, ALXValue* result) {
    Reader r{text ? text : ""};
    r.skipBlanks();
    if (*r.p == '\0') {
        ValueSetDateTime(kALXEmptyDay, 0, result);
        return 1;
    }
    if (*r.p == '^') {
        ++r.p;
        return parseStrict(r, result) ? 1 : 0;
    }
    return parseLoose(r, result) ? 1 : 0;
}

ALXNow LocalNow() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate d = now.date();
    const QTime t = now.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec()};
}
