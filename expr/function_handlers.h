// Handlers of the built-in functions and the argument helpers they share.
#pragma once

#include "errors.h"
#include "functions.h"
#include "values.h"

#include <optional>
#include <string>
#include <string_view>

#define ALX_DECLARE_HANDLER(name) void ALXFn_##name(ALXValue** arguments, ALXValue* result);

// Text
ALX_DECLARE_HANDLER(ALLTRIM)
ALX_DECLARE_HANDLER(ANSITOOEM)
ALX_DECLARE_HANDLER(AT)
ALX_DECLARE_HANDLER(ATC)
ALX_DECLARE_HANDLER(CHRTRAN)
ALX_DECLARE_HANDLER(ISALPHA)
ALX_DECLARE_HANDLER(ISDIGIT)
ALX_DECLARE_HANDLER(ISLOWER)
ALX_DECLARE_HANDLER(ISUPPER)
ALX_DECLARE_HANDLER(LEFT)
ALX_DECLARE_HANDLER(LEN)
ALX_DECLARE_HANDLER(LIKE)
ALX_DECLARE_HANDLER(LOWER)
ALX_DECLARE_HANDLER(LTRIM)
ALX_DECLARE_HANDLER(OCCURS)
ALX_DECLARE_HANDLER(OEMTOANSI)
ALX_DECLARE_HANDLER(PADC)
ALX_DECLARE_HANDLER(PADL)
ALX_DECLARE_HANDLER(PADR)
ALX_DECLARE_HANDLER(RAT)
ALX_DECLARE_HANDLER(REPLICATE)
ALX_DECLARE_HANDLER(RIGHT)
ALX_DECLARE_HANDLER(RTRIM)
ALX_DECLARE_HANDLER(SPACE)
ALX_DECLARE_HANDLER(STRTRAN)
ALX_DECLARE_HANDLER(STUFF)
ALX_DECLARE_HANDLER(SUBSTR)
ALX_DECLARE_HANDLER(UPPER)
// Numbers
ALX_DECLARE_HANDLER(ABS)
ALX_DECLARE_HANDLER(ATAN)
ALX_DECLARE_HANDLER(CEILING)
ALX_DECLARE_HANDLER(COS)
ALX_DECLARE_HANDLER(EXP)
ALX_DECLARE_HANDLER(FLOOR)
ALX_DECLARE_HANDLER(INT)
ALX_DECLARE_HANDLER(LOG)
ALX_DECLARE_HANDLER(LOG10)
ALX_DECLARE_HANDLER(MOD)
ALX_DECLARE_HANDLER(PI)
ALX_DECLARE_HANDLER(ROUND)
ALX_DECLARE_HANDLER(SIGN)
ALX_DECLARE_HANDLER(SIN)
ALX_DECLARE_HANDLER(SQRT)
ALX_DECLARE_HANDLER(TAN)
// Dates and times
ALX_DECLARE_HANDLER(CDOW)
ALX_DECLARE_HANDLER(CMONTH)
ALX_DECLARE_HANDLER(DATE)
ALX_DECLARE_HANDLER(DATETIME)
ALX_DECLARE_HANDLER(DAY)
ALX_DECLARE_HANDLER(DMY)
ALX_DECLARE_HANDLER(GOMONTH)
ALX_DECLARE_HANDLER(HOUR)
ALX_DECLARE_HANDLER(MDY)
ALX_DECLARE_HANDLER(MINUTE)
ALX_DECLARE_HANDLER(MONTH)
ALX_DECLARE_HANDLER(SEC)
ALX_DECLARE_HANDLER(SECONDS)
ALX_DECLARE_HANDLER(TIME)
ALX_DECLARE_HANDLER(YEAR)
// Conversions
ALX_DECLARE_HANDLER(ASC)
ALX_DECLARE_HANDLER(CHR)
ALX_DECLARE_HANDLER(CTOD)
ALX_DECLARE_HANDLER(CTOT)
ALX_DECLARE_HANDLER(DTOC)
ALX_DECLARE_HANDLER(DTOS)
ALX_DECLARE_HANDLER(MTON)
ALX_DECLARE_HANDLER(NTOM)
ALX_DECLARE_HANDLER(STR)
ALX_DECLARE_HANDLER(TTOD)
ALX_DECLARE_HANDLER(VAL)
// Logical and general
ALX_DECLARE_HANDLER(BETWEEN)
ALX_DECLARE_HANDLER(DELETED)
ALX_DECLARE_HANDLER(EMPTY)
ALX_DECLARE_HANDLER(IIF)
ALX_DECLARE_HANDLER(ISNULL)
ALX_DECLARE_HANDLER(MAX)
ALX_DECLARE_HANDLER(MIN)
ALX_DECLARE_HANDLER(RECNO)
ALX_DECLARE_HANDLER(VARTYPE)

#undef ALX_DECLARE_HANDLER

namespace alx {

inline ALXValue* Arg(ALXValue** arguments, int i) {
    return arguments ? arguments[i] : nullptr;
}

[[noreturn]] inline void Fail(int code, ALXHandler handler) {
    ThrowParserError(code, FunctionNameOf(handler));
}

// A text argument: nothing for null or absent, else its bytes (possibly
// none); another type raises 3223.
std::optional<std::string_view> TextOf(ALXValue** arguments, int i, ALXHandler handler);
// The same, where an empty text counts as missing too (nothing): the text a
// function works on or searches for, which is no text without characters.
std::optional<std::string_view> FilledTextOf(ALXValue** arguments, int i, ALXHandler handler);
// A number argument (Y as currency / 10000): nothing for null or absent;
// another type raises 3223.
std::optional<double> NumberOf(ALXValue** arguments, int i, ALXHandler handler);
// A whole count from a number, cut toward zero and held within int range.
int WholeOf(double x);

void SetText(std::string_view text, ALXValue* result);
// Fails with 3224 when a text to be built would exceed the runtime's bound.
void CheckTextSize(double length, ALXHandler handler);

// The value as text for the pad functions: texts unchanged, numbers in the
// general form, dates as in DTOC; other types raise 3223.
std::string ValueToText(const ALXValue* value, ALXHandler handler);

// The date part of a D or T value as "dd.mm.yyyy" (blanks for the empty date).
std::string LocalDateText(std::int32_t dayNumber);

} // namespace alx
