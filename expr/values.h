// Typed values of the expression runtime: one plain record per value, with the
// type in bits so that the argument types a function takes combine into one mask.
#pragma once

#include <cstdint>

enum ALXType : std::uint32_t {
    ALX_C = 0x1,   // character
    ALX_N = 0x2,   // numeric (double)
    ALX_D = 0x4,   // date
    ALX_L = 0x8,   // logical
    ALX_F = 0x10,  // float (double)
    ALX_Y = 0x20,  // currency, 1/10000 units
    ALX_T = 0x40,  // date-time
    ALX_M = 0x80,  // memo (text)
    ALX_G = 0x100, // binary
    ALX_NULL = 0x800,
    ALX_MARK = 0x1000, // cleared by every copy

    ALX_TEXT = ALX_C | ALX_M,
    ALX_DOUBLE = ALX_N | ALX_F,
    ALX_CALENDAR = ALX_D | ALX_T,
    ALX_SCALAR = ALX_N | ALX_D | ALX_L | ALX_F | ALX_Y | ALX_T,
    ALX_ANY = 0x8FF,
    ALX_TYPEBITS = 0x1FF,
};

struct ALXText {
    std::int32_t nLength;
    char* pData; // owned; null when nLength < 1
};

struct ALXDate {
    std::int32_t nDay; // Julian day number
    std::int32_t nMs;  // milliseconds since midnight (0 for D)
};

struct ALXValue {
    std::uint32_t nType = 0;
    std::uint32_t nReserved = 0;
    union {
        ALXText text;
        double dbl;
        ALXDate date;
        std::int32_t logical;
        std::int64_t currency;
    };

    ALXValue() : currency(0) {}
};

// Julian day of the empty date.
constexpr std::int32_t kALXEmptyDay = 1721060;

inline bool ValueIsNull(const ALXValue* v) {
    return v == nullptr || (v->nType & ALX_NULL) != 0;
}
// The value's type bits alone (marker and null bit set aside).
inline std::uint32_t ValueTypeOf(const ALXValue* v) {
    return v ? (v->nType & ALX_TYPEBITS) : 0;
}

void ValueClear(ALXValue* value);
void ValueCopy(const ALXValue* source, ALXValue* target);
void ValueSetText(const char* bytes, int length, ALXValue* value);
void ValueSetBinary(const char* bytes, int length, ALXValue* value);

// Setters for the handlers: each clears the record first.
void ValueSetNull(ALXValue* value);
void ValueSetNumber(double x, ALXValue* value);
void ValueSetLogical(bool b, ALXValue* value);
void ValueSetCurrency(std::int64_t units, ALXValue* value);
void ValueSetDate(std::int32_t day, ALXValue* value);
void ValueSetDateTime(std::int32_t day, std::int32_t ms, ALXValue* value);
