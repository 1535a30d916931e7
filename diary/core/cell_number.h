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
