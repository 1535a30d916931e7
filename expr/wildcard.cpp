#include "wildcard.h"

#include <cstring>

int WildcardMatch(const char* pattern, const char* text) {
    return WildcardMatch(pattern, pattern ? int(std::strlen(pattern)) : 0, text,
                         text ? int(std::strlen(text)) : 0);
}

int WildcardMatch(const char* pattern, int patternLength, const char* text, int textLength) {
    // Greedy scan that returns only to the last "*": a later star makes every
    // earlier choice final, so the work stays within pattern × text steps.
    int p = 0, t = 0;
    int starP = -1, starT = 0;
    while (t < textLength) {
        if (p < patternLength && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < patternLength && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return 0;
        }
    }
    while (p < patternLength && pattern[p] == '*')
        ++p;
    return p == patternLength ? 1 : 0;
}
