#include "client_health_store.h"

#include "sql_run.h"

#include <QSet>
#include <QStringList>

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
                              QString* error) {
    if (!CheckStoredClient(sql, clientId, error))
        return false;
    QStringList values;
    QSet<int> seen;
    if (health.filled) {
        for (const CHealthRow& row : health.rows) {
            if (!HealthDiseases().contains(row.disease) || seen.contains(row.disease))
                return FailClientSQL(error, ClientRuleText("Неизвестное или повторное "
                                                           "заболевание в состоянии здоровья.",
                                                           "msgHealthDiseaseInvalid"));
            seen.insert(row.disease);
            values << QStringLiteral("(%1,%2,%3,%4)")
                          .arg(clientId)
                          .arg(row.disease)
                          .arg(row.status)
                          .arg(row.treatmentYear);
        }
    }
    if (!RunClientSQL(sql,
                      QStringLiteral("DELETE FROM healthstatus WHERE nClientID=") +
                          QString::number(clientId),
                      nullptr, error))
        return false;
    if (values.isEmpty())
        return true;
    return RunClientSQL(sql,
                        QStringLiteral("INSERT INTO healthstatus (nClientID,nDisease,nStatus,"
                                       "nTreatmentStartDate) VALUES ") +
                            values.join(u','),
                        nullptr, error);
}
