// Logical and general functions: conditions, null tests, choice among values.
#include "function_handlers.h"

#include "comparisons.h"
#include "conversions.h"

using namespace alx;

void ALXFn_BETWEEN(ALXValue** arguments, ALXValue* result) {
    const ALXValue* a = Arg(arguments, 0);
    const ALXValue* b = Arg(arguments, 1);
    const ALXValue* c = Arg(arguments, 2);
    if (ValueIsNull(a) || ValueIsNull(b) || ValueIsNull(c)) {
        ValueSetNull(result);
        return;
    }
    // The value against both bounds: low <= value <= high.
    ALXValue low, high;
    const ALXValue* lowPair[2] = {a, b};
    const ALXValue* highPair[2] = {a, c};
    CompareGreaterEqual(lowPair, &low);
    CompareLessEqual(highPair, &high);
    ValueSetLogical(low.logical && high.logical, result);
}

void ALXFn_EMPTY(ALXValue** arguments, ALXValue* result) {
    const ALXValue* v = Arg(arguments, 0);
    if (ValueIsNull(v)) {
        ValueSetLogical(false, result);
        return;
    }
    bool empty = false;
    switch (ValueTypeOf(v)) {
    case ALX_C:
    case ALX_M:
        empty = true;
        for (int i = 0; i < v->text.nLength; ++i) {
            const char ch = v->text.pData[i];
            if (ch != '\0' && ch != '\t' && ch != '\n' && ch != '\r' && ch != ' ') {
                empty = false;
                break;
            }
        }
        break;
    case ALX_N:
    case ALX_F:
        empty = v->dbl == 0;
        break;
    case ALX_Y:
        empty = v->currency == 0;
        break;
    case ALX_D:
    case ALX_T:
        empty = v->date.nDay < 1721792;
        break;
    case ALX_L:
        empty = v->logical == 0;
        break;
    case ALX_G:
        empty = v->text.nLength == 0;
        break;
    default:
        Fail(ALXERR_ARGTYPE, ALXFn_EMPTY);
    }
    ValueSetLogical(empty, result);
}

void ALXFn_IIF(ALXValue** arguments, ALXValue* result) {
    const ALXValue* cond = Arg(arguments, 0);
    if (ValueIsNull(cond)) {
        ValueSetNull(result);
        return;
    }
    if (ValueTypeOf(cond) != ALX_L)
        Fail(ALXERR_ARGTYPE, ALXFn_IIF);
    ValueCopy(Arg(arguments, cond->logical != 0 ? 1 : 2), result);
}

void ALXFn_ISNULL(ALXValue** arguments, ALXValue* result) {
    ValueSetLogical(ValueIsNull(Arg(arguments, 0)), result);
}

namespace {

using Compare = void (*)(const ALXValue* const operands[2], ALXValue* result);

// Keeps the current argument until `replaces` (current, next) holds.
void choose(ALXValue** arguments, ALXValue* result, ALXHandler self, Compare replaces) {
    if (!arguments || !arguments[0] || !arguments[1])
        Fail(ALXERR_ARGTYPE, self);
    const ALXValue* kept = arguments[0];
    for (int i = 1; arguments[i]; ++i) {
        ALXValue test;
        const ALXValue* pair[2] = {kept, arguments[i]};
        replaces(pair, &test);
        if (ValueIsNull(&test)) {
            // An unknown order leaves no answer: the choice is unknown too.
            ValueSetNull(result);
            return;
        }
        if (test.logical)
            kept = arguments[i];
    }
    ValueCopy(kept, result);
}

} // namespace

void ALXFn_MAX(ALXValue** arguments, ALXValue* result) {
    choose(arguments, result, ALXFn_MAX, CompareLess);
}

void ALXFn_MIN(ALXValue** arguments, ALXValue* result) {
    choose(arguments, result, ALXFn_MIN, CompareGreater);
}

void ALXFn_VARTYPE(ALXValue** arguments, ALXValue* result) {
    const ALXValue* v = Arg(arguments, 0);
    const ALXValue* flag = Arg(arguments, 1);
    bool nullFlag = false;
    if (flag) {
        if ((flag->nType & (ALX_TYPEBITS | ALX_NULL)) != ALX_L)
            Fail(ALXERR_WRONGTYPE, ALXFn_VARTYPE);
        nullFlag = flag->logical != 0;
    }
    const char* letter = "U";
    if (ValueIsNull(v) && !nullFlag) {
        letter = "X";
    } else {
        switch (ValueTypeOf(v)) {
        case ALX_C:
        case ALX_M:
            letter = "C";
            break;
        case ALX_N:
        case ALX_F:
            letter = "N";
            break;
        case ALX_D:
            letter = "D";
            break;
        case ALX_L:
            letter = "L";
            break;
        case ALX_Y:
            letter = "Y";
            break;
        case ALX_T:
            letter = "T";
            break;
        case ALX_G:
            letter = "G";
            break;
        default:
            break;
        }
    }
    SetText(letter, result);
}

void ALXFn_DELETED(ALXValue** arguments, ALXValue* result) {
    const ALXValue* mark = Arg(arguments, 0);
    ValueSetLogical(mark && !ValueIsNull(mark) && mark->logical == 1, result);
}

void ALXFn_RECNO(ALXValue** arguments, ALXValue* result) {
    const auto n = NumberOf(arguments, 0, ALXFn_RECNO);
    if (!n)
        ValueSetNull(result);
    else
        ValueSetNumber(*n, result);
}
