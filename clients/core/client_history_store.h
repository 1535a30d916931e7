#pragma once
// The dated histories of a client: clientdatachanges (vulnerable groups),
// drugusedata, riskbehavior and socialstatus keep one row per client and date
// (unique nClientID, dDate), and nLastLinkID marks the client's newest row
// with the client's ROWID (NULL on the others; unique, so one row per client).
// The client journal and the reports reach a client's current state through
// that mark.
//
// A dated tab shows one page per stored row and lets the user add pages,
// remove pages and, on a page opened for editing, change its values or date.
// Its save, in the card's transaction:
// - a stored row whose page the user neither changed nor removed is left
//   exactly as it is;
// - removed pages delete their rows (of this client only); changed pages
//   update their rows in place (columns the page does not show keep their
//   values); new pages insert rows;
// - two pages on one date are refused with a message before anything is
//   written;
// - the newest-row mark is computed again from the dates;
// - a stored row the save would update or delete is first compared with the
//   row as the tab read it (its fingerprint, rows_fingerprint.h): when another
//   copy of the program changed it meanwhile, the save is refused instead of
//   overwriting that work. Rows are guarded one by one, so that a refusal
//   names the page, and another copy's new page on another date is no
//   conflict.
#include "rule_verdict.h"

#include "framework/core/record/rows_fingerprint.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class CxSQL;

// The key of the refusal of a save over a row another copy changed.
inline constexpr char kHistoryChangedMeanwhileKey[] = "msgHistoryChangedMeanwhile";

enum class EClientHistory { ClientDataChanges, DrugUseData, RiskBehavior, SocialStatus };

QString ClientHistoryTable(EClientHistory history);
// The columns a page of the table writes besides ROWID, nClientID, dDate,
// dUpdateDate and nLastLinkID, which the store writes itself.
const QStringList& ClientHistoryColumns(EClientHistory history);

// A page of a dated tab.
struct CHistoryPage {
    qint64 rowId = -1;     // the stored row's ROWID; -1 for a page not stored yet
    QDate date;            // the page's date
    bool modified = false; // a stored page the user changed (new pages are always written)
    // The page's own columns and values (QVariant(): NULL; a QDate is a date).
    QList<QPair<QString, QVariant>> values;
};

// A stored row as a tab read it: its date, which names its page in a
// refusal, and its fingerprint, taken before the row was read.
struct CHistoryLoadedRow {
    QDate date;
    CxRowsFingerprint guard;
};
using CHistoryLoadedRows = QHash<qint64, CHistoryLoadedRow>;

// The stored row of the client a save starts from.
struct CHistoryStoredRow {
    qint64 rowId = -1;
    QDate date;
};

// What a save does, decided before anything is written.
struct CHistorySavePlan {
    CRuleVerdict verdict;   // refused: nothing is written
    QList<qint64> deletes;  // ROWIDs of removed pages' stored rows
    QList<int> updates;     // pages whose stored rows are updated in place
    QList<int> inserts;     // pages that become new rows
    bool parkDates = false; // several updated rows swap dates: move them aside first
};

// The plan of a save. stored: the client's rows as the database holds them;
// removedRowIds: the ROWIDs of pages the user removed. A changed page whose
// row has gone meanwhile becomes a new row, so the user's input is kept.
// Refusals point at the page (the verdict's row is its index): a written page
// without a valid date, and a date that another page or stored row of the
// client already has ("one page per client and date").
CHistorySavePlan PlanHistorySave(const QList<CHistoryPage>& pages,
                                 const QList<qint64>& removedRowIds,
                                 const QList<CHistoryStoredRow>& stored);

// The page a tab shows first: the one with the latest valid date; of pages on
// one date the earlier in the list; -1 when no page has a valid date.
int NewestHistoryPage(const QList<QDate>& dates);

class CClientHistoryStore {
public:
    // The client's rows, oldest first (ties by ROWID).
    static bool LoadStored(CxSQL* sql, EClientHistory history, qint64 clientId,
                           QList<CHistoryStoredRow>* rows, QString* error, bool lock = false);
    // Takes the fingerprint of each of the client's rows, before a tab reads
    // them.
    static bool TakeLoaded(CxSQL* sql, EClientHistory history, qint64 clientId,
                           CHistoryLoadedRows* rows, QString* error);
    // Saves a tab's pages as described above, inside the caller's
    // transaction. `today` becomes dUpdateDate of every written row of the
    // tables that have that column. Answers false when refused (*refusal set)
    // or when a statement fails (*error set). A refusal the plan finds comes
    // before anything is written; one the server finds while writing (another
    // user stored a row on that date meanwhile) comes after some statements
    // ran, so the caller rolls back on every false. loaded: the client's rows
    // as the tab read them (TakeLoaded; null: not checked); a row that the
    // save would update or delete must be among them and unchanged since
    // (nLastLinkID aside), else the save is refused with key
    // kHistoryChangedMeanwhileKey (its page's index in the verdict's row, -1
    // for a removed page).
    [[nodiscard]] static bool Save(CxSQL* sql, EClientHistory history, qint64 clientId,
                                   const QList<CHistoryPage>& pages,
                                   const QList<qint64>& removedRowIds, const QDate& today,
                                   CRuleVerdict* refusal, QString* error,
                                   const CHistoryLoadedRows* loaded = nullptr);
    // Marks the client's newest row (latest dDate; rows without a date never
    // count) with nLastLinkID = nClientID and clears the mark elsewhere,
    // including a stray mark of the client on another client's row.
    static bool UpdateLastLinkID(CxSQL* sql, EClientHistory history, qint64 clientId,
                                 QString* error);
};
