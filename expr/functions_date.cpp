// Date and time functions. Names of days and months are Russian, as the
// program's users read them, whatever the machine's locale.
#include "function_handlers.h"

#include "calendar.h"
#include "codepage.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>

using namespace alx;

namespace {

const char* const kWeekdays[7] = {"воскресенье", "понедельник", "вторник", "среда",
                                  "четверг",     "пятница",     "суббота"};
const char* const kMonths[12] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                                 "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};
// The form a month takes after a day number ("5 января").
const char* const kMonthsOfDay[12] = {"января",   "февраля", "марта",  "апреля",
                                      "мая",      "июня",    "июля",   "августа",
                                      "сентября", "октября", "ноября", "декабря"};

std::string cp1251(const char* utf8) {
    return UnicodeToCp1251(QString::fromUtf8(utf8)).toStdString();
}

std::string twoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v % 100);
    return buf;
}

// The D or T argument; null gives nothing, another type raises 3205.
std::optional<ALXDate> calendarArg(ALXValue** arguments, ALXHandler self, bool timeOnly = false) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v))
        return std::nullopt;
    const std::uint32_t t = ValueTypeOf(v);
    if (t != ALX_T && (timeOnly || t != ALX_D))
        Fail(ALXERR_ARGTYPE, self);
    return v->date;
}

template <typename Make>
void dateText(ALXValue** arguments, ALXValue* result, ALXHandler self, Make make) {
    const auto d = calendarArg(arguments, self);
    if (!d) {
        ValueSetNull(result);
        return;
    }
    const ALXCivilDate c = CivilFromDay(d->nDay);
    // The empty date has no weekday or month to name.
    SetText(c.month == 0 ? std::string() : make(c, d->nDay), result);
}

template <typename Part>
void datePart(ALXValue** arguments, ALXValue* result, ALXHandler self, Part part) {
    const auto d = calendarArg(arguments, self);
    if (!d)
        ValueSetNull(result);
    else
        ValueSetNumber(part(CivilFromDay(d->nDay)), result);
}

// Whole seconds since midnight of a T value, rounded and kept within the day.
template <typename Part>
void timePart(ALXValue** arguments, ALXValue* result, ALXHandler self, Part part) {
    const auto d = calendarArg(arguments, self, true);
    if (!d) {
        ValueSetNull(result);
        return;
    }
    // Wide enough for any millisecond word, a malformed one included.
    const std::int64_t seconds =
        std::clamp<std::int64_t>((std::int64_t(d->nMs) + 500) / 1000, 0, 86399);
    ValueSetNumber(part(int(seconds)), result);
}

// Date parts: omitted ones from today; a null part gives nothing; a part that
// is not a number is out of every range.
bool readParts(ALXValue** arguments, int count, int* parts, const int* fallback, ALXHandler self) {
    for (int i = 0; i < count; ++i) {
        if (!Arg(arguments, i)) {
            parts[i] = fallback[i];
            continue;
        }
        const auto x = NumberOf(arguments, i, self);
        if (!x)
            return false;
        parts[i] = std::isnan(*x) ? INT_MIN : WholeOf(*x);
    }
    return true;
}

bool validDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

} // namespace

namespace alx {

std::string LocalDateText(std::int32_t dayNumber) {
    const ALXCivilDate c = CivilFromDay(dayNumber);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", c.day, c.month, c.year);
    std::string s(buf);
    if (c.year == 0 && c.month == 0 && c.day == 0)
        for (char& ch : s)
            if (ch == '0')
                ch = ' ';
    return s;
}

} // namespace alx

void ALXFn_CDOW(ALXValue** arguments, ALXValue* result) {
    dateText(arguments, result, ALXFn_CDOW, [](const ALXCivilDate&, std::int32_t day) {
        return cp1251(kWeekdays[(std::int64_t(day) + 1) % 7]);
    });
}

void ALXFn_CMONTH(ALXValue** arguments, ALXValue* result) {
    dateText(arguments, result, ALXFn_CMONTH,
             [](const ALXCivilDate& c, std::int32_t) { return cp1251(kMonths[c.month - 1]); });
}

void ALXFn_DMY(ALXValue** arguments, ALXValue* result) {
    dateText(arguments, result, ALXFn_DMY, [](const ALXCivilDate& c, std::int32_t) {
        return twoDigits(c.day) + " " + cp1251(kMonthsOfDay[c.month - 1]) + " " + twoDigits(c.year);
    });
}

void ALXFn_MDY(ALXValue** arguments, ALXValue* result) {
    dateText(arguments, result, ALXFn_MDY, [](const ALXCivilDate& c, std::int32_t) {
        return cp1251(kMonths[c.month - 1]) + " " + twoDigits(c.day) + ", " + twoDigits(c.year);
    });
}

void ALXFn_DAY(ALXValue** arguments, ALXValue* result) {
    datePart(arguments, result, ALXFn_DAY, [](const ALXCivilDate& c) { return c.day; });
}

void ALXFn_MONTH(ALXValue** arguments, ALXValue* result) {
    datePart(arguments, result, ALXFn_MONTH, [](const ALXCivilDate& c) { return c.month; });
}

void ALXFn_YEAR(ALXValue** arguments, ALXValue* result) {
    datePart(arguments, result, ALXFn_YEAR, [](const ALXCivilDate& c) { return c.year; });
}

void ALXFn_HOUR(ALXValue** arguments, ALXValue* result) {
    timePart(arguments, result, ALXFn_HOUR, [](int s) { return s / 60 / 60; });
}

void ALXFn_MINUTE(ALXValue** arguments, ALXValue* result) {
    timePart(arguments, result, ALXFn_MINUTE, [](int s) { return s / 60 % 60; });
}

void ALXFn_SEC(ALXValue** arguments, ALXValue* result) {
    timePart(arguments, result, ALXFn_SEC, [](int s) { return s % 60; });
}

void ALXFn_DATE(ALXValue** arguments, ALXValue* result) {
    const ALXNow now = LocalNow();
    const int today[3] = {now.year, now.month, now.day};
    int p[3];
    if (!readParts(arguments, 3, p, today, ALXFn_DATE)) {
        ValueSetNull(result);
        return;
    }
    if (!validDate(p[0], p[1], p[2]))
        Fail(ALXERR_RANGE, ALXFn_DATE);
    std::int32_t day = 0;
    DateTimeFromParts(p[0], p[1], p[2], 0, 0, 0, &day, nullptr);
    ValueSetDate(day, result);
}

void ALXFn_DATETIME(ALXValue** arguments, ALXValue* result) {
    const ALXNow now = LocalNow();
    bool anyGiven = false;
    for (int i = 0; i < 6; ++i)
        anyGiven = anyGiven || Arg(arguments, i) != nullptr;
    // With no parts at all it is the moment now, to the second.
    const int fallback[6] = {now.year,
                             now.month,
                             now.day,
                             anyGiven ? 0 : now.hour,
                             anyGiven ? 0 : now.minute,
                             anyGiven ? 0 : now.second};
    int p[6];
    if (!readParts(arguments, 6, p, fallback, ALXFn_DATETIME)) {
        ValueSetNull(result);
        return;
    }
    // Hour 24 or minute or second 60 would make a time word past the end of
    // the day (which HOUR, MINUTE, SEC and the comparisons do not expect), so
    // the clock's own bounds hold.
    if (!validDate(p[0], p[1], p[2]) || p[3] < 0 || p[3] > 23 || p[4] < 0 || p[4] > 59 ||
        p[5] < 0 || p[5] > 59)
        Fail(ALXERR_RANGE, ALXFn_DATETIME);
    std::int32_t day = 0, ms = 0;
    DateTimeFromParts(p[0], p[1], p[2], p[3], p[4], p[5], &day, &ms);
    ValueSetDateTime(day, ms, result);
}

void ALXFn_GOMONTH(ALXValue** arguments, ALXValue* result) {
    const auto d = calendarArg(arguments, ALXFn_GOMONTH);
    const auto n = NumberOf(arguments, 1, ALXFn_GOMONTH);
    if (!d || !n) {
        ValueSetNull(result);
        return;
    }
    const ALXCivilDate c = CivilFromDay(d->nDay);
    if (c.month == 0) {
        ValueSetDate(kALXEmptyDay, result);
        return;
    }
    // Months counted from January of year 0, so that division splits them cleanly.
    const double total = 12.0 * c.year + (c.month - 1) + std::trunc(*n);
    const double year = std::floor(total / 12);
    if (!(year >= 1 && year <= 9999)) // NaN months too
        Fail(ALXERR_RANGE, ALXFn_GOMONTH);
    const int y = int(year);
    const int m = int(total - year * 12) + 1;
    const int dd = std::min(c.day, DaysInMonth(y, m));
    std::int32_t day = 0;
    DateTimeFromParts(y, m, dd, 0, 0, 0, &day, nullptr);
    ValueSetDate(day, result);
}

void ALXFn_TIME(ALXValue**, ALXValue* result) {
    const ALXNow now = LocalNow();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", now.hour, now.minute, now.second);
    SetText(buf, result);
}

void ALXFn_SECONDS(ALXValue**, ALXValue* result) {
    const ALXNow now = LocalNow();
    ValueSetNumber(now.hour * 3600 + now.minute * 60 + now.second + now.ms / 1000.0, result);
}
