#include "values.h"

#include <cstdlib>
#include <cstring>

namespace {

bool ownsBuffer(const ALXValue* v) {
    const std::uint32_t t = v->nType & ALX_TYPEBITS;
    return (t == ALX_C || t == ALX_M || t == ALX_G) && v->text.nLength > 0 &&
           v->text.pData != nullptr;
}

} // namespace

void ValueClear(ALXValue* value) {
    if (!value)
        return;
    if (ownsBuffer(value))
        std::free(value->text.pData);
    value->nType = 0;
    value->nReserved = 0;
    value->currency = 0;
}

void ValueCopy(const ALXValue* source, ALXValue* target) {
    if (source == target)
        return;
    if (ValueIsNull(source)) {
        ValueClear(target);
        target->nType = ALX_NULL;
        return;
    }
    const std::uint32_t t = source->nType & ALX_TYPEBITS;
    if (t == ALX_C || t == ALX_M) {
        ValueSetText(source->text.pData, source->text.nLength, target);
        return;
    }
    if (t == ALX_G) {
        ValueSetBinary(source->text.pData, source->text.nLength, target);
        return;
    }
    ValueClear(target);
    target->nType = source->nType & ~std::uint32_t(ALX_MARK);
    target->nReserved = source->nReserved;
    target->currency = source->currency; // the whole 8-byte payload
    if (target->nType & ALX_F)
        target->nType = (target->nType & ~std::uint32_t(ALX_F)) | ALX_N;
}

void ValueSetText(const char* bytes, int length, ALXValue* value) {
    // The source may live in the record's own buffer: copy before freeing.
    char* buffer = nullptr;
    if (length > 0) {
        buffer = static_cast<char*>(std::malloc(std::size_t(length) + 1));
        if (bytes)
            std::memcpy(buffer, bytes, std::size_t(length));
        else
            std::memset(buffer, 0, std::size_t(length));
        buffer[length] = '\0';
    }
    ValueClear(value);
    value->nType = ALX_C;
    value->text.nLength = length > 0 ? length : 0;
    value->text.pData = buffer;
}

void ValueSetBinary(const char* bytes, int length, ALXValue* value) {
    const bool reuse = (value->nType & ALX_TYPEBITS) == ALX_G && value->text.nLength >= length &&
                       value->text.pData != nullptr && length > 0;
    if (reuse) {
        if (bytes != value->text.pData)
            std::memmove(value->text.pData, bytes, std::size_t(length));
        // The buffer keeps its old size; remember only the used part.
        value->text.nLength = length;
        return;
    }
    char* buffer = nullptr;
    if (length > 0) {
        buffer = static_cast<char*>(std::malloc(std::size_t(length)));
        if (bytes)
            std::memcpy(buffer, bytes, std::size_t(length));
        else
            std::memset(buffer, 0, std::size_t(length));
    }
    ValueClear(value);
    value->nType = ALX_G;
    value->text.nLength = length > 0 ? length : 0;
    value->text.pData = buffer;
}

void ValueSetNull(ALXValue* value) {
    ValueClear(value);
    value->nType = ALX_NULL;
}

void ValueSetNumber(double x, ALXValue* value) {
    ValueClear(value);
    value->nType = ALX_N;
    value->dbl = x;
}

void ValueSetLogical(bool b, ALXValue* value) {
    ValueClear(value);
    value->nType = ALX_L;
    value->logical = b ? 1 : 0;
}

void ValueSetCurrency(std::int64_t units, ALXValue* value) {
    ValueClear(value);
    value->nType = ALX_Y;
    value->currency = units;
}

void ValueSetDate(std::int32_t day, ALXValue* value) {
    ValueClear(value);
    value->nType = ALX_D;
    value->date.nDay = day;
    value->date.nMs = 0;
}

void ValueSetDateTime(std::int32_t day, std::int32_t ms, ALXValue* value) {
    ValueClear(value);
    value->nType = ALX_T;
    value->date.nDay = day;
    value->date.nMs = ms;
}
