#pragma once
// The own organisation as the exchange needs it. The organisation card is the
// `orginf` row whose ROWID is 0; received organisations have the numbers 1 and
// up. Rows received from another installation carry a suffix in their text
// keys: a back-quote, the sender's organisation number, a separator and the
// row's ROWID in the sending database ("ABC0185Ж`3.125"); the text before the
// first back-quote is the key itself.
#include <QString>

class CxSQL;

// The identifier (cOrgID) of the own organisation; empty when there is no
// card or the look-up failed (then error is set).
QString ReadOwnOrgID(CxSQL* sql, QString* error = nullptr);

// Between the organisation number and the sender's ROWID in a received key.
constexpr char16_t kOrgSuffixSeparator = u'.';
