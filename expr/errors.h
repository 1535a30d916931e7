// Errors of the expression runtime: numbered parser errors thrown as a pointer
// to a CALXParserException that the catcher deletes.
#pragma once

#include <cstdint>
#include <vector>

enum ALXErrorCode : int {
    ALXERR_INCOMPARABLE = 3204, // operand types that cannot be compared
    ALXERR_ARGTYPE = 3205,      // first argument of a type the function does not take
    ALXERR_DOMAIN = 3212,       // argument outside the function's domain
    ALXERR_DIVZERO = 3215,      // MOD by zero
    ALXERR_CURRENCY = 3221,     // value outside the currency range
    ALXERR_BADDATE = 3222,      // text that is not a date
    ALXERR_WRONGTYPE = 3223,    // an argument of the wrong type
    ALXERR_RANGE = 3224,        // an argument value out of range
};

struct ALXErrorRecord {
    std::int32_t nCode = 0;
    char szText[256] = {};
};

class CALXObject {
public:
    virtual ~CALXObject() = default;
};

class CALXException : public CALXObject {
public:
    // Shows an error text; the runtime links no widgets, so the program that
    // embeds it installs a presenter. Returns the button pressed.
    using Presenter = int (*)(const char* text, const char* caption, unsigned style);
    static void SetPresenter(Presenter presenter);

    virtual int GetErrorMessage(char* buffer, unsigned size, unsigned* helpContext = nullptr);
    virtual int ReportError(unsigned style = 0, unsigned messageId = 0);
    virtual int GetErrorCode() const { return 0; }
};

class CALXParserException : public CALXException {
public:
    CALXParserException(const ALXErrorRecord* records, int count);

    int GetErrorMessage(char* buffer, unsigned size, unsigned* helpContext = nullptr) override;
    virtual int GetErrorCount() const { return int(m_records.size()); }
    virtual void SelectError(int index);
    int GetErrorCode() const override;
    virtual const char* GetErrorText() const;

private:
    std::vector<ALXErrorRecord> m_records;
    int m_nCurrent = 0;
};

// Text for an error code without a text of its own: "Error number 0x00000C85."
void FormatErrorFallback(int code, char* buffer, unsigned size);

// Raises error `code`; `argument` (a function name or the offending text) is
// the message argument. Never returns.
[[noreturn]] void ThrowParserError(int code, const char* argument = nullptr);
