#include "client_health_store.h"

#include "sql_run.h"

#include <QSet>
#include <QStringList>

namespace {
CxGuardedRows HealthRows(qint64 clientId) {
    return {QStringLiteral("healthstatus"),
            QStringLiteral("nClientID=") + QString::number(clientId),
            {}};
}
} // namespace

bool CClientHealthStore::Load(CxSQL* sql, qint64 clientId, CClientHealth* health, QString* error) {
    *health = CClientHealth();
    CxResult r;
    if (!RunClientSQL(sql,
                      QStringLiteral("SELECT nDisease,nStatus,nTreatmentStartDate FROM "
                                     "healthstatus WHERE nClientID=") +
                          QString::number(clientId) + QStringLiteral(" ORDER BY nDisease"),
                      &r, error))
        return false;
    while (r.FetchRow()) {
        CHealthRow row;
        row.disease = r.LFieldValue(0);
        row.status = r.LFieldValue(1);
        row.treatmentYear = r.LFieldValue(2);
        health->rows.append(row);
    }
    health->filled = !health->rows.isEmpty();
    return true;
}

QList<CHealthGridRow> CClientHealthStore::GridRows(const CClientHealth& health) {
    QList<CHealthGridRow> grid;
    for (const int disease : HealthDiseases()) {
        CHealthRow stored;
        for (const CHealthRow& row : health.rows)
            if (row.disease == disease)
                stored = row;
        grid.append(HealthGridRow(disease, stored.status, stored.treatmentYear));
    }
    return grid;
}

bool CClientHealthStore::Save(CxSQL* sql, qint64 clientId, const CClientHealth& health,
                              QString* error, const QDate& today) {
    // The client's organisation: rows of a client received from another
    // organisation stay that organisation's.
    CxResult client;
    if (!RunClientSQL(
            sql,
            QStringLiteral("SELECT IFNULL(nRegionDataID,0) FROM clientdata WHERE ROWID=") +
                QString::number(clientId) + QStringLiteral(" AND bIsFolder=0"),
            &client, error))
        return false;
    if (clientId <= 0 || !client.FetchRow())
        return FailClientSQL(
            error, ClientRuleText("Клиент не найден в базе данных.", "msgClientNotFound"));
    const QString region = QString::number(client.LFieldValue(0));

    QList<CHealthRow> wanted;
    QSet<int> seen;
    if (health.filled) {
        for (const CHealthRow& row : health.rows) {
            if (!HealthDiseases().contains(row.disease) || seen.contains(row.disease))
                return FailClientSQL(error, ClientRuleText("Неизвестное или повторное "
                                                           "заболевание в состоянии здоровья.",
                                                           "msgHealthDiseaseInvalid"));
            seen.insert(row.disease);
            wanted << row;
        }
    }
    CClientHealth stored;
    if (!Load(sql, clientId, &stored, error))
        return false;

    // Only what differs is written: a row whose status and year stay keeps
    // its ROWID, its organisation and its date of update; a changed row is
    // updated in place with today's date; the rest goes or comes.
    const QString client_ = QString::number(clientId);
    const QString date = today.isValid() ? QStringLiteral("STR_TO_DATE('%1','%Y%m%d')")
                                               .arg(today.toString(QStringLiteral("yyyyMMdd")))
                                         : QStringLiteral("NULL");
    QStringList gone, inserts;
    for (const CHealthRow& old : stored.rows) {
        bool kept = false;
        for (const CHealthRow& row : wanted)
            kept = kept || row.disease == old.disease;
        if (!kept)
            gone << QString::number(old.disease);
    }
    if (!gone.isEmpty() &&
        !RunClientSQL(sql,
                      QStringLiteral("DELETE FROM healthstatus WHERE nClientID=") + client_ +
                          QStringLiteral(" AND nDisease IN (") + gone.join(u',') + u')',
                      nullptr, error))
        return false;
    for (const CHealthRow& row : wanted) {
        const CHealthRow* old = nullptr;
        for (const CHealthRow& s : stored.rows)
            if (s.disease == row.disease)
                old = &s;
        if (old && *old == row)
            continue;
        if (old) {
            if (!RunClientSQL(sql,
                              QStringLiteral("UPDATE healthstatus SET nStatus=%1,"
                                             "nTreatmentStartDate=%2,dUpdateDate=%3 WHERE "
                                             "nClientID=%4 AND nDisease=%5")
                                  .arg(row.status)
                                  .arg(row.treatmentYear)
                                  .arg(date, client_)
                                  .arg(row.disease),
                              nullptr, error))
                return false;
            continue;
        }
        inserts << QStringLiteral("(%1,%2,%3,%4,%5,%6)")
                       .arg(client_)
                       .arg(row.disease)
                       .arg(row.status)
                       .arg(row.treatmentYear)
                       .arg(region, date);
    }
    if (inserts.isEmpty())
        return true;
    return RunClientSQL(sql,
                        QStringLiteral("INSERT INTO healthstatus (nClientID,nDisease,nStatus,"
                                       "nTreatmentStartDate,nRegionDataID,dUpdateDate) VALUES ") +
                            inserts.join(u','),
                        nullptr, error);
}

bool CClientHealthStore::TakeGuard(CxSQL* sql, qint64 clientId, CxRowsFingerprint* guard,
                                   QString* error) {
    if (clientId <= 0) {
        guard->Clear();
        return true;
    }
    return guard->Take(sql, {HealthRows(clientId)}, error);
}

bool CClientHealthStore::SaveOverLoaded(CxSQL* sql, qint64 clientId, const CxRowsFingerprint& guard,
                                        const CClientHealth& loaded, const CClientHealth& health,
                                        CRuleVerdict* refusal, QString* error, const QDate& today) {
    *refusal = CRuleVerdict();
    // Locks the client's rows to the end of the save's transaction.
    bool unchanged = true;
    if (!guard.CheckUnchanged(sql, &unchanged, error))
        return false;
    if (unchanged)
        return Save(sql, clientId, health, error, today);
    // What the grid showed as loaded, in the form the user's set has.
    CClientHealth shown;
    shown.filled = loaded.filled;
    if (shown.filled)
        BuildHealthRows(GridRows(loaded), &shown.rows);
    if (shown == health)
        return true; // nothing changed here: the other copy's rows stay
    *refusal = CRuleVerdict::Refuse(EClientField::HealthStatus,
                                    QString::fromLatin1(kHealthChangedMeanwhileKey),
                                    ClientRuleText("Состояние здоровья: ", "msgHealthOfClient") +
                                        CxRowsFingerprint::ChangedMeanwhileText());
    return false;
}
