#pragma once

#include "brennock_export.h"

#include <string>
#include <string_view>

// Archives keep their texts in Windows code page 1251, whatever the machine's
// locale; the callback speaks UTF-16 and the file system UTF-8.
BRENNOCK_EXPORT std::u16string Cp1251ToUtf16(std::string_view bytes);

// Appends the conversion of bytes to out (the statement builder reuses out).
BRENNOCK_EXPORT void AppendCp1251AsUtf16(std::u16string& out, std::string_view bytes);

BRENNOCK_EXPORT std::string Utf16ToUtf8(std::u16string_view text);
