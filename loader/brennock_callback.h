#pragma once

#include "brennock_export.h"

// What the loader needs of its caller: it has no database connection and no
// user interface of its own. All texts are UTF-16 and NUL-terminated; the
// loader copies every text it receives before the call returns, so the
// caller may reuse the storage behind a result of Translate at once.
class BRENNOCK_EXPORT CBrennock_Callback {
public:
    enum { levelInfo = 0, levelWarning = 1, levelError = 2 };

    virtual void Message(const char16_t* text, int level) = 0;
    // One of the loader's fixed texts; null keeps the text as it is.
    virtual const char16_t* Translate(const char16_t* text) = 0;
    virtual void SetProgressRange(int lower, int upper) = 0;
    // A status text, or null for one plain step.
    virtual void StepProgress(const char16_t* text) = 0;
    // One statement for the current database; true when it succeeded.
    virtual bool Execute(const char16_t* sql) = 0;

protected:
    ~CBrennock_Callback() = default;
};
