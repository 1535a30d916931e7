#pragma once
// Two copies of the program (or two users) may have one client's card open at
// once. The card keeps the client's row as it loaded it; at save, inside the
// save's transaction, it reads the row again with a lock and compares: when
// another copy changed or deleted the row meanwhile, the save is refused with
// a message that says so, instead of silently overwriting the other copy's
// work. After a save the card takes the stored row as its new starting point.
#include "rule_verdict.h"

#include <QHash>
#include <QString>

class CxSQL;

// A client's row as read: every column by name (lower case), a null QString
// for NULL.
struct CClientRowSnapshot {
    bool exists = false;
    QHash<QString, QString> values;
};

// Reads the client's row of clientdata; with lock set, the row stays locked
// to the end of the caller's transaction (SELECT ... FOR UPDATE).
bool ReadClientRow(CxSQL* sql, qint64 clientId, bool lock, CClientRowSnapshot* row, QString* error);

// Refuses (field ClientCode) when the row is gone or any of its columns
// differs from the row the card loaded.
CRuleVerdict CheckClientRowUnchanged(const CClientRowSnapshot& loaded,
                                     const CClientRowSnapshot& now);
