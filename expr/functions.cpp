#include "function_handlers.h"

#include "calendar.h"
#include "conversions.h"

#include <climits>
#include <cmath>

namespace {

constexpr std::uint32_t NUM = ALX_N | ALX_F | ALX_Y;
constexpr std::uint32_t NUMN = NUM | ALX_NULL;
constexpr std::uint32_t TXTN = ALX_TEXT | ALX_NULL;
constexpr std::uint32_t CALN = ALX_CALENDAR | ALX_NULL;
constexpr std::uint32_t PADV = ALX_C | ALX_N | ALX_D | ALX_F | ALX_T | ALX_M | ALX_NULL;

constexpr std::uint32_t counts(int minimum, int maximum) {
    return (std::uint32_t(minimum) << 16) | std::uint32_t(maximum);
}

const ALXArgSpec kNumber[] = {{NUMN, nullptr}};
const ALXArgSpec kText[] = {{TXTN, ""}};
const ALXArgSpec kCalendar[] = {{CALN, ""}};
const ALXArgSpec kAny[] = {{ALX_ANY, ""}};
const ALXArgSpec kAny3[] = {{ALX_ANY, ""}, {ALX_ANY, ""}, {ALX_ANY, ""}};
const ALXArgSpec kText2[] = {{TXTN, ""}, {TXTN, ""}};
const ALXArgSpec kText3[] = {{TXTN, ""}, {TXTN, ""}, {TXTN, ""}};
const ALXArgSpec kFind[] = {{TXTN, ""}, {TXTN, ""}, {NUM, "1"}};
const ALXArgSpec kNumber2[] = {{NUMN, ""}, {NUMN, ""}};
const ALXArgSpec kDateParts[] = {{NUMN, nullptr}, {NUMN, nullptr}, {NUMN, nullptr}};
const ALXArgSpec kDateTimeParts[] = {{NUMN, nullptr}, {NUMN, nullptr}, {NUMN, nullptr},
                                     {NUMN, nullptr}, {NUMN, nullptr}, {NUMN, nullptr}};
const ALXArgSpec kDtoc[] = {{CALN, ""}, {NUMN, "0"}};
const ALXArgSpec kGomonth[] = {{CALN, ""}, {NUMN, ""}};
const ALXArgSpec kIif[] = {{ALX_L | ALX_NULL, ""}, {ALX_ANY, ""}, {ALX_ANY, ""}};
const ALXArgSpec kTextCount[] = {{TXTN, ""}, {NUMN, ""}};
const ALXArgSpec kPad[] = {{PADV, ""}, {NUMN, ""}, {TXTN, " "}};
const ALXArgSpec kStr[] = {{NUMN, ""}, {NUMN, "10"}, {NUMN, "0"}};
const ALXArgSpec kStrtran[] = {{TXTN, ""}, {TXTN, ""}, {TXTN, ""}, {NUMN, "1"}, {NUMN, "16777184"}};
const ALXArgSpec kStuff[] = {{TXTN, ""}, {NUMN, ""}, {NUMN, ""}, {TXTN, ""}};
const ALXArgSpec kSubstr[] = {{TXTN, ""}, {NUMN, "1"}, {NUMN, "2147483647"}};
const ALXArgSpec kTtod[] = {{ALX_T | ALX_NULL, ""}};
const ALXArgSpec kVartype[] = {{ALX_ANY, ""}, {ALX_L, ".F."}};
const ALXArgSpec kDeleted[] = {{0, "__DELETED__"}};
const ALXArgSpec kRecno[] = {{0, "__RECNO__"}};

constexpr ALXResultSpec type(std::uint32_t mask) {
    return {ALXRES_TYPE, mask};
}
constexpr ALXResultSpec kAsArg1{ALXRES_ARG1, NUMN};
constexpr ALXResultSpec kChosen{ALXRES_CHOSEN, ALX_ANY};
constexpr ALXResultSpec kBranch{ALXRES_BRANCH, ALX_ANY};
constexpr ALXResultSpec kModType{ALXRES_MODTYPE, ALX_N | ALX_Y | ALX_NULL};

constexpr std::uint32_t CN = ALX_C | ALX_NULL;
constexpr std::uint32_t NN = ALX_N | ALX_NULL;
constexpr std::uint32_t LN = ALX_L | ALX_NULL;

} // namespace

const ALXFunctionList ALXFunctionTable = {
    {
        {"ABS", ALXFn_ABS, counts(1, 1), kNumber, kAsArg1},
        {"ALLTRIM", ALXFn_ALLTRIM, counts(1, 1), kText, type(CN)},
        {"ANSITOOEM", ALXFn_ANSITOOEM, counts(1, 1), kText, type(CN)},
        {"ASC", ALXFn_ASC, counts(1, 1), kText, type(NN)},
        {"AT", ALXFn_AT, counts(2, 3), kFind, type(NN)},
        {"ATAN", ALXFn_ATAN, counts(1, 1), kNumber, type(NN)},
        {"ATC", ALXFn_ATC, counts(2, 3), kFind, type(NN)},
        {"BETWEEN", ALXFn_BETWEEN, counts(3, 3), kAny3, type(LN)},
        {"CDOW", ALXFn_CDOW, counts(1, 1), kCalendar, type(CN)},
        {"CEILING", ALXFn_CEILING, counts(1, 1), kNumber, kAsArg1},
        {"CHR", ALXFn_CHR, counts(1, 1), kNumber, type(CN)},
        {"CHRTRAN", ALXFn_CHRTRAN, counts(3, 3), kText3, type(CN)},
        {"CMONTH", ALXFn_CMONTH, counts(1, 1), kCalendar, type(CN)},
        {"COS", ALXFn_COS, counts(1, 1), kNumber, type(NN)},
        {"CTOD", ALXFn_CTOD, counts(1, 1), kText, type(ALX_D | ALX_NULL)},
        {"CTOT", ALXFn_CTOT, counts(1, 1), kText, type(ALX_T | ALX_NULL)},
        {"DATE", ALXFn_DATE, counts(0, 3), kDateParts, type(ALX_D)},
        {"DATETIME", ALXFn_DATETIME, counts(0, 6), kDateTimeParts, type(ALX_T | ALX_NULL)},
        {"DAY", ALXFn_DAY, counts(1, 1), kCalendar, type(NN)},
        {"DMY", ALXFn_DMY, counts(1, 1), kCalendar, type(CN)},
        {"DTOC", ALXFn_DTOC, counts(1, 2), kDtoc, type(CN)},
        {"DTOS", ALXFn_DTOS, counts(1, 1), kCalendar, type(CN)},
        {"EMPTY", ALXFn_EMPTY, counts(1, 1), kAny, type(ALX_L)},
        {"EXP", ALXFn_EXP, counts(1, 1), kNumber, type(NN)},
        {"FLOOR", ALXFn_FLOOR, counts(1, 1), kNumber, kAsArg1},
        {"GOMONTH", ALXFn_GOMONTH, counts(2, 2), kGomonth, type(ALX_D | ALX_NULL)},
        {"HOUR", ALXFn_HOUR, counts(1, 1), kCalendar, type(NN)},
        {"IIF", ALXFn_IIF, counts(3, 3), kIif, kBranch},
        // A currency argument keeps its type.
        {"INT", ALXFn_INT, counts(1, 1), kNumber, kAsArg1},
        {"ISALPHA", ALXFn_ISALPHA, counts(1, 1), kText, type(LN)},
        {"ISDIGIT", ALXFn_ISDIGIT, counts(1, 1), kText, type(LN)},
        {"ISLOWER", ALXFn_ISLOWER, counts(1, 1), kText, type(LN)},
        {"ISNULL", ALXFn_ISNULL, counts(1, 1), kAny, type(ALX_L)},
        {"ISUPPER", ALXFn_ISUPPER, counts(1, 1), kText, type(LN)},
        {"LEFT", ALXFn_LEFT, counts(2, 2), kTextCount, type(CN)},
        {"LEN", ALXFn_LEN, counts(1, 1), kText, type(NN)},
        {"LIKE", ALXFn_LIKE, counts(2, 2), kText2, type(LN)},
        {"LOG", ALXFn_LOG, counts(1, 1), kNumber, type(NN)},
        {"LOG10", ALXFn_LOG10, counts(1, 1), kNumber, type(NN)},
        {"LOWER", ALXFn_LOWER, counts(1, 1), kText, type(CN)},
        {"LTRIM", ALXFn_LTRIM, counts(1, 1), kText, type(CN)},
        {"MAX", ALXFn_MAX, counts(2, 32), kAny, kChosen},
        {"MDY", ALXFn_MDY, counts(1, 1), kCalendar, type(CN)},
        {"MIN", ALXFn_MIN, counts(2, 32), kAny, kChosen},
        {"MINUTE", ALXFn_MINUTE, counts(1, 1), kCalendar, type(NN)},
        {"MOD", ALXFn_MOD, counts(2, 2), kNumber2, kModType},
        {"MONTH", ALXFn_MONTH, counts(1, 1), kCalendar, type(NN)},
        {"MTON", ALXFn_MTON, counts(1, 1), kNumber, type(NN)},
        {"NTOM", ALXFn_NTOM, counts(1, 1), kNumber, type(ALX_Y | ALX_NULL)},
        {"OCCURS", ALXFn_OCCURS, counts(2, 2), kText2, type(NN)},
        {"OEMTOANSI", ALXFn_OEMTOANSI, counts(1, 1), kText, type(CN)},
        {"PADC", ALXFn_PADC, counts(2, 3), kPad, type(CN)},
        {"PADL", ALXFn_PADL, counts(2, 3), kPad, type(CN)},
        {"PADR", ALXFn_PADR, counts(2, 3), kPad, type(CN)},
        {"PI", ALXFn_PI, counts(0, 0), nullptr, type(ALX_N)},
        {"RAT", ALXFn_RAT, counts(2, 3), kFind, type(NN)},
        {"REPLICATE", ALXFn_REPLICATE, counts(2, 2), kTextCount, type(CN)},
        {"RIGHT", ALXFn_RIGHT, counts(2, 2), kTextCount, type(CN)},
        {"ROUND", ALXFn_ROUND, counts(2, 2), kNumber2, kAsArg1},
        {"RTRIM", ALXFn_RTRIM, counts(1, 1), kText, type(CN)},
        {"SEC", ALXFn_SEC, counts(1, 1), kCalendar, type(NN)},
        {"SECONDS", ALXFn_SECONDS, counts(0, 0), nullptr, type(ALX_N)},
        {"SIGN", ALXFn_SIGN, counts(1, 1), kNumber, type(NN)},
        {"SIN", ALXFn_SIN, counts(1, 1), kNumber, type(NN)},
        {"SPACE", ALXFn_SPACE, counts(1, 1), kNumber, type(CN)},
        {"SQRT", ALXFn_SQRT, counts(1, 1), kNumber, type(NN)},
        {"STR", ALXFn_STR, counts(1, 3), kStr, type(CN)},
        {"STRTRAN", ALXFn_STRTRAN, counts(2, 5), kStrtran, type(CN)},
        {"STUFF", ALXFn_STUFF, counts(4, 4), kStuff, type(CN)},
        {"SUBSTR", ALXFn_SUBSTR, counts(2, 3), kSubstr, type(CN)},
        {"TAN", ALXFn_TAN, counts(1, 1), kNumber, type(NN)},
        {"TIME", ALXFn_TIME, counts(0, 1), kNumber, type(ALX_C)},
        {"TRIM", ALXFn_RTRIM, counts(1, 1), kText, type(CN)},
        {"TTOD", ALXFn_TTOD, counts(1, 1), kTtod, type(ALX_D | ALX_NULL)},
        {"UPPER", ALXFn_UPPER, counts(1, 1), kText, type(CN)},
        {"VAL", ALXFn_VAL, counts(1, 1), kText, type(ALX_N | ALX_Y | ALX_NULL)},
        {"VARTYPE", ALXFn_VARTYPE, counts(1, 2), kVartype, type(CN)},
        {"YEAR", ALXFn_YEAR, counts(1, 1), kCalendar, type(NN)},
        {"DELETED", ALXFn_DELETED, counts(0, 1), kDeleted, type(ALX_L)},
        {"RECNO", ALXFn_RECNO, counts(0, 1), kRecno, type(NN)},
    },
    kALXFunctionCount,
};

const char* FunctionNameOf(ALXHandler handler) {
    for (int i = 0; i < ALXFunctionTable.nCount; ++i)
        if (ALXFunctionTable.entries[i].pfnHandler == handler)
            return ALXFunctionTable.entries[i].pszName;
    return nullptr;
}

double NumberArg(ALXValue** arguments, int i, ALXHandler handler) {
    const ALXValue* v = alx::Arg(arguments, i);
    const std::uint32_t t = ValueTypeOf(v);
    if (!ValueIsNull(v) && (t == ALX_N || t == ALX_F))
        return v->dbl;
    if (!ValueIsNull(v) && t == ALX_Y)
        return CurrencyAsDouble(v->currency);
    alx::Fail(ALXERR_WRONGTYPE, handler);
}

const char* TextArg(ALXValue** arguments, int i, ALXHandler handler) {
    const ALXValue* v = alx::Arg(arguments, i);
    if (ValueIsNull(v))
        return nullptr;
    const std::uint32_t t = ValueTypeOf(v);
    if (t != ALX_C && t != ALX_M)
        alx::Fail(ALXERR_WRONGTYPE, handler);
    return v->text.nLength > 0 ? v->text.pData : nullptr;
}

namespace alx {

std::optional<std::string_view> TextOf(ALXValue** arguments, int i, ALXHandler handler) {
    const ALXValue* v = Arg(arguments, i);
    if (ValueIsNull(v))
        return std::nullopt;
    const std::uint32_t t = ValueTypeOf(v);
    if (t != ALX_C && t != ALX_M)
        Fail(ALXERR_WRONGTYPE, handler);
    if (v->text.nLength <= 0 || !v->text.pData)
        return std::string_view();
    return std::string_view(v->text.pData, std::size_t(v->text.nLength));
}

std::optional<std::string_view> FilledTextOf(ALXValue** arguments, int i, ALXHandler handler) {
    const std::optional<std::string_view> text = TextOf(arguments, i, handler);
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

std::optional<double> NumberOf(ALXValue** arguments, int i, ALXHandler handler) {
    if (ValueIsNull(Arg(arguments, i)))
        return std::nullopt;
    return NumberArg(arguments, i, handler);
}

int WholeOf(double x) {
    if (std::isnan(x))
        return 0;
    if (x >= double(INT_MAX))
        return INT_MAX;
    if (x <= double(INT_MIN))
        return INT_MIN;
    return int(std::trunc(x));
}

void SetText(std::string_view text, ALXValue* result) {
    ValueSetText(text.data(), int(text.size()), result);
}

void CheckTextSize(double length, ALXHandler handler) {
    if (length > double(kALXMaxTextLength))
        Fail(ALXERR_RANGE, handler);
}

} // namespace alx
