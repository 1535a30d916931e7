#pragma once
// The number a sheet cell holds, read the way users type and the sheets store
// them: leading blanks, an optional sign and the digits that follow. "12 шт."
// reads 12; a cell without a number ("", "abc") reads 0.
#include <QStringView>

// Answers false when the digits do not fit in a 32-bit integer (*value is
// then 0): such a number cannot be stored, and must not be cut silently.
bool ReadCellNumber(QStringView text, qint32* value);
// The number, 0 where ReadCellNumber refuses.
qint32 CellNumber(QStringView text);

// What a count cell filled outside the program holds, read strictly: only a
// whole, non-negative number that fits the stored column is a count. The
// number may carry a unit word after it ("12 шт."), and a spreadsheet's own
// forms of a whole number ("3.0", "1.2E+3") are that number; anything the
// import cannot take exactly says why, so that it is never turned into
// another value.
enum class ECellCount {
    Empty,     // nothing but blanks
    Count,     // *value holds it
    NotNumber, // letters, or digits mixed into the text ("1 000", "5-6")
    Negative,
    Fraction,
    TooLarge,
};
ECellCount ReadCellCount(QStringView text, qint32* value);

// A consultation's kind ticked in a sheet filled outside the program: a
// whole number above 0 or a word or sign of assent ("да", "+", "x", "✓")
// marks it; nothing, 0 or "нет" leaves it unmarked; anything else cannot be
// read as either.
enum class ECellMark { Unmarked, Marked, Unreadable };
ECellMark ReadCellMark(QStringView text);
