// The table of built-in functions that an expression front end looks names up
// in, checks argument counts and types against, and calls.
#pragma once

#include <cstdint>

struct ALXValue;

// arguments: one pointer per position, an omitted argument is null; the list
// of MAX and MIN ends with a null pointer.
using ALXHandler = void (*)(ALXValue** arguments, ALXValue* result);

struct ALXArgSpec {
    std::uint32_t nTypeMask;
    const char* pszDefault; // text standing for an omitted argument, or null
};

enum ALXResultRule : int {
    ALXRES_TYPE = 0,    // the mask names the result type
    ALXRES_ARG1 = 1,    // the type of the first argument
    ALXRES_CHOSEN = 4,  // the type of the argument chosen (MAX, MIN)
    ALXRES_BRANCH = 8,  // the type of the branch chosen (IIF)
    ALXRES_MODTYPE = 16 // N or Y as the arguments give (MOD)
};

struct ALXResultSpec {
    int nRule;
    std::uint32_t nTypeMask;
};

struct ALXFunction {
    const char* pszName;
    ALXHandler pfnHandler;
    std::uint32_t nArgCounts; // maximum in the low 16 bits, minimum in the high 16 bits
    const ALXArgSpec* pArgSpecs;
    ALXResultSpec pResultSpec;

    int MinArgs() const { return int(nArgCounts >> 16); }
    int MaxArgs() const { return int(nArgCounts & 0xFFFF); }
};

constexpr int kALXFunctionCount = 80;

struct ALXFunctionList {
    ALXFunction entries[kALXFunctionCount];
    int nCount;
};

extern const ALXFunctionList ALXFunctionTable;

const char* FunctionNameOf(ALXHandler handler);

// Typed argument reads; a wrong type raises 3223 with the function's name.
double NumberArg(ALXValue** arguments, int i, ALXHandler handler);
// Null, absent and empty texts give no text.
const char* TextArg(ALXValue** arguments, int i, ALXHandler handler);
