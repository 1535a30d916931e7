#pragma once
// The health rows of a client (healthstatus): one row per client and disease,
// found only by nClientID. The tab loads the client's set once and saves the
// whole set in one pass inside the card's transaction: the client's rows go,
// and when the section is filled every disease of the grid gets its row
// again. Nothing here touches a row of another client.
#include "health_rules.h"

#include "framework/core/record/rows_fingerprint.h"

#include <QDate>
#include <QList>
#include <QString>

class CxSQL;

// The key of the refusal of a save over rows another copy changed.
inline constexpr char kHealthChangedMeanwhileKey[] = "msgHealthChangedMeanwhile";

struct CClientHealth {
    bool filled = false;    // "Заполнить раздел": the client keeps health rows
    QList<CHealthRow> rows; // by disease code
    bool operator==(const CClientHealth&) const = default;
};

class CClientHealthStore {
public:
    // The client's rows; filled when it has at least one.
    static bool Load(CxSQL* sql, qint64 clientId, CClientHealth* health, QString* error);
    // The grid: one row per disease of the grid, showing the stored status and
    // year, unticked and 0 for a disease without a row.
    static QList<CHealthGridRow> GridRows(const CClientHealth& health);
    // Replaces the client's rows by health.rows (none when not filled). Runs in
    // the caller's transaction; saving the same set twice leaves the same rows.
    // Only rows that differ are written: an unchanged row keeps its ROWID,
    // nRegionDataID and dUpdateDate; a changed one takes `today` as its
    // dUpdateDate; a new one also takes the client's nRegionDataID, so the
    // rows of a client received from another organisation stay that
    // organisation's. Refuses a client id that is not a stored client's, an
    // unknown disease and a disease given twice, before anything is written.
    [[nodiscard]] static bool Save(CxSQL* sql, qint64 clientId, const CClientHealth& health,
                                   QString* error, const QDate& today = QDate::currentDate());
    // The fingerprint of the client's rows (rows_fingerprint.h), taken before
    // the tab reads them.
    [[nodiscard]] static bool TakeGuard(CxSQL* sql, qint64 clientId, CxRowsFingerprint* guard,
                                        QString* error);
    // The tab's save: `guard` and `loaded` are the client's rows as the tab
    // read them, `health` the set the user leaves. When another copy of the
    // program changed the client's rows since they were read, the save keeps
    // the other copy's rows if the user changed nothing here, and is refused
    // (*refusal set with key kHealthChangedMeanwhileKey, nothing written) if
    // the user did; otherwise as Save.
    [[nodiscard]] static bool
    SaveOverLoaded(CxSQL* sql, qint64 clientId, const CxRowsFingerprint& guard,
                   const CClientHealth& loaded, const CClientHealth& health, CRuleVerdict* refusal,
                   QString* error, const QDate& today = QDate::currentDate());
};
