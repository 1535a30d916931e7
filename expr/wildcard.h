#pragma once

// "?" matches any one character, "*" any run (also none); other characters
// match themselves, byte for byte. 1 on a match, else 0.
int WildcardMatch(const char* pattern, const char* text);
int WildcardMatch(const char* pattern, int patternLength, const char* text, int textLength);
