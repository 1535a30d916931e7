#pragma once

#include "brennock_callback.h"
#include "brennock_export.h"

#include <string>
#include <string_view>

// Replays a backup archive of the previous program generation into staging
// tables "orvel_<table>", sending every statement through the callback.
// No exception leaves these operations: failures come back as results and
// as messages through the callback.
class BRENNOCK_EXPORT CBrennock {
public:
    CBrennock(const char16_t* path, CBrennock_Callback* callback);
    CBrennock(const CBrennock& other);
    CBrennock& operator=(const CBrennock& other);
    ~CBrennock();

    // The archive's version line, or the translated reason it cannot be
    // loaded; the text stays valid until the next call or the loader's end.
    const char16_t* GetFileInfo();
    bool IsValid();
    // Creates and fills the staging tables in one transaction; on failure
    // none of them is left behind.
    bool Process();

    // sql is 8-bit text in code page 1251. False (after error messages) when
    // the statement failed.
    bool Query(const char* sql);
    bool StartTransact();
    bool CommitTransact();
    bool RollbackTransact();

private:
    struct Run;
    friend struct Run;

    std::u16string Tr(const char16_t* text) const;
    void Report(const std::u16string& text, int level) const;
    // Throws the translated error text when the statement fails.
    void QueryOrThrow(std::string_view sql);
    bool QueryReported(std::string_view sql);
    bool ProcessArchive();

    std::u16string m_path;
    std::u16string m_info;
    bool m_valid = false;
    std::u16string m_error;
    CBrennock_Callback* m_callback = nullptr;
};

// Factory entry points, unmangled so that the program can also find them by
// name in the loaded library.
extern "C" {
BRENNOCK_EXPORT CBrennock* Brenvale_Begin(const char16_t* path, CBrennock_Callback* callback);
BRENNOCK_EXPORT void Brenvale_End(CBrennock* loader);
}
