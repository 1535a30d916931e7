#pragma once

#include <string_view>

// Guards that keep names and values read from an archive inside their place
// in a statement: nothing from the file may end up as SQL of its own.
namespace ArchiveChecks {

// Letters, digits and underscores only (ASCII); never empty.
bool IsSafeTableName(std::string_view name);

// A plain decimal number: optional sign, digits with an optional fraction,
// optional exponent.
bool IsNumericLiteral(std::string_view text);

// One CREATE TABLE statement whose target is exactly stagingName (bare or in
// back-quotes): no second statement after a semicolon, no NUL, no unbalanced
// quote, no comment outside quotes.
bool IsCreateTableOf(std::string_view sql, std::string_view stagingName);

} // namespace ArchiveChecks
