#pragma once
// Two copies of the program (or two users) may have one client's card open at
// once. The card keeps the client's row as it loaded it; at save, inside the
// save's transaction, it reads the row again with a lock and compares: when
// another copy changed or deleted the row meanwhile, the save is refused with
// a message that says so, instead of silently overwriting the other copy's
// work. After a save the card takes the stored row as its new starting point.
//
// The tabs guard their own rows the same way: a dated page checks the row it
// is about to update or delete, the health tab the client's set of rows (see
// client_history_store.h, client_health_store.h).
#include "rule_verdict.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

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

// A row of a table as read: every column by name (lower case), a null
// QString for NULL.
using CStoredRowValues = QHash<QString, QString>;

// Reads the rows of `table` that `where` selects, by ROWID; with lock set the
// rows stay locked to the end of the caller's transaction.
bool ReadStoredRows(CxSQL* sql, const QString& table, const QString& where, bool lock,
                    QHash<qint64, CStoredRowValues>* rows, QString* error);

// Whether two reads of a row hold the same values; the columns named in
// `ignored` (lower case) do not count.
bool SameStoredRow(const CStoredRowValues& loaded, const CStoredRowValues& now,
                   const QStringList& ignored = {});

// The refusal of a save that would overwrite a dated row another copy
// changed or deleted after this card read it; `page` is the page's index
// (-1 when the page is gone from the card).
CRuleVerdict HistoryRowChangedMeanwhile(const QDate& date, int page);
// The refusal of a health save over rows another copy changed meanwhile.
CRuleVerdict HealthChangedMeanwhile();
