// Calendar of the expression runtime: proleptic Gregorian dates counted as
// Julian day numbers, and the reading of date literals.
#pragma once

#include <cstdint>

struct ALXValue;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

void DateTimeFromParts(int year, int month, int day, int hour, int minute, int second,
                       std::int32_t* dayNumber, std::int32_t* ms);
int YearFromDay(std::int32_t dayNumber, std::int32_t ms, int* dayOfYear, int* leap);
int MonthDayFromDayOfYear(int dayOfYear, int leap, int* day);

// A date as year, month and day; the empty date (and every day before year 0
// ends) gives 0, 0, 0.
struct ALXCivilDate {
    int year = 0;
    int month = 0;
    int day = 0;
};
ALXCivilDate CivilFromDay(std::int32_t dayNumber);

// OLE automation date (days since 30 December 1899) to day and milliseconds.
void OleDateToDateTime(double x, std::int32_t* day, std::int32_t* ms);

// Reads a date literal into a T value; 0 when the text is not a date.
int ParseDateLiteral(const char* text, ALXValue* result);

// The machine's local date and time now.
struct ALXNow {
    int year, month, day, hour, minute, second, ms;
};
ALXNow LocalNow();
