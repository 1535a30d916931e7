#include "archive_checks.h"

namespace ArchiveChecks {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

bool IsIdentChar(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

void SkipSpace(std::string_view s, size_t& pos) {
    while (pos < s.size() && IsSpace(s[pos]))
        ++pos;
}

// A keyword followed by white space (or, for the last, by anything that ends a word).
bool TakeKeyword(std::string_view s, size_t& pos, std::string_view keyword) {
    if (s.size() - pos < keyword.size())
        return false;
    for (size_t i = 0; i < keyword.size(); ++i)
        if (Upper(s[pos + i]) != keyword[i])
            return false;
    const size_t after = pos + keyword.size();
    if (after < s.size() && IsIdentChar(s[after]))
        return false;
    pos = after;
    SkipSpace(s, pos);
    return true;
}

} // namespace

bool IsSafeTableName(std::string_view name) {
    if (name.empty())
        return false;
    for (char c : name)
        if (!IsIdentChar(c))
            return false;
    return true;
}

bool IsNumericLiteral(std::string_view t) {
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < t.size() && IsDigit(t[i]))
        ++i, ++digits;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && IsDigit(t[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        size_t exponent = 0;
        while (i < t.size() && IsDigit(t[i]))
            ++i, ++exponent;
        if (exponent == 0)
            return false;
    }
    return i == t.size();
}

bool IsCreateTableOf(std::string_view sql, std::string_view stagingName) {
    if (sql.find('\0') != std::string_view::npos)
        return false;
    size_t pos = 0;
    SkipSpace(sql, pos);
    if (!TakeKeyword(sql, pos, "CREATE") || !TakeKeyword(sql, pos, "TABLE"))
        return false;
    {
        size_t probe = pos;
        if (TakeKeyword(sql, probe, "IF") && TakeKeyword(sql, probe, "NOT") &&
            TakeKeyword(sql, probe, "EXISTS"))
            pos = probe;
    }
    if (pos < sql.size() && sql[pos] == '`') {
        if (sql.substr(pos + 1, stagingName.size()) != stagingName ||
            pos + 1 + stagingName.size() >= sql.size() || sql[pos + 1 + stagingName.size()] != '`')
            return false;
        pos += stagingName.size() + 2;
    } else {
        if (sql.substr(pos, stagingName.size()) != stagingName)
            return false;
        pos += stagingName.size();
        if (pos < sql.size() && (IsIdentChar(sql[pos]) || sql[pos] == '.'))
            return false;
    }
    if (pos < sql.size() && sql[pos] == '.') // another database's table
        return false;

    char quote = 0;
    for (; pos < sql.size(); ++pos) {
        const char c = sql[pos];
        if (quote) {
            if (c == '\\' && quote != '`')
                ++pos; // the escaped character cannot close the quote
            else if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '\'' || c == '"' || c == '`') {
            quote = c;
        } else if (c == '#' || ((c == '-' || c == '/') && pos + 1 < sql.size() &&
                                sql[pos + 1] == (c == '-' ? '-' : '*'))) {
            return false; // a comment could hide a quote or a second statement from this scan
        } else if (c == ';') {
            size_t rest = pos + 1;
            SkipSpace(sql, rest);
            return rest == sql.size();
        }
    }
    return quote == 0;
}

} // namespace ArchiveChecks
