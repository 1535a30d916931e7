// Conversions of the expression runtime between numbers, currency and text.
#pragma once

#include <QByteArray>

#include <cstdint>

struct ALXValue;

// Raises 3221 outside the currency range (and for NaN); rounds half to even.
std::int64_t DoubleToCurrency(double x);
double CurrencyAsDouble(std::int64_t currency);

// Reads a decimal text ("1234.5678", "-12,5") into a Y value: blanks around,
// one sign, "." or "," as decimal point, rounded half to even at 4 places.
// Text that is not a number gives 0; a number outside the range raises 3221.
int TextToCurrency(const char* text, ALXValue* result);

// At most 20 characters, trailing fraction zeros dropped.
QByteArray FormatNumberGeneral(double x);
// Exactly `width` characters, right-aligned; "*" fill when it cannot fit.
void FormatNumberFixed(double x, char* buffer, int width, int decimals);

double RoundDecimal(double x, int places);
double PowerOf(double base, int exponent);

// The longest text the runtime builds from a repeat or pad request.
constexpr int kALXMaxTextLength = 16 * 1024 * 1024;
