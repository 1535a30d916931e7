#pragma once
// Two copies of the program (or two users) may have one client's card open at
// once. The card's own row is guarded by the form (rows_fingerprint.h); the
// tabs guard their rows here, row by row, so that a refusal names the dated
// page another copy changed: a dated page checks the row it is about to
// update or delete, the health tab the client's set of rows (see
// client_history_store.h, client_health_store.h).
#include "rule_verdict.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

class CxSQL;

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
