#include "health_rules.h"

const QList<int>& HealthDiseases() {
    static const QList<int> diseases{kDiseaseHivAids, 2, 3, 4, 5};
    return diseases;
}

CRuleVerdict BuildHealthRows(const QList<CHealthGridRow>& grid, QList<CHealthRow>* rows) {
    rows->clear();
    for (int i = 0; i < grid.size(); ++i) {
        const CHealthGridRow& cell = grid[i];
        CHealthRow row;
        row.disease = cell.disease;
        if (cell.testedEver)
            row.status |= kHealthTestedEver;
        if (cell.tested6Months)
            row.status |= kHealthTested6Months;
        if (cell.knowsNegative)
            row.status |= kHealthKnowsNegative;
        if (cell.knowsPositive)
            row.status |= kHealthKnowsPositive;
        if (row.status & (kHealthKnowsPositive | kHealthKnowsNegative))
            row.status |= kHealthTestedEver;
        if ((row.status & kHealthKnowsPositive) && (row.status & kHealthKnowsNegative)) {
            rows->clear();
            return CRuleVerdict::Refuse(
                EClientField::HealthStatus, QString(),
                ClientRuleText("Нельзя отмечать оба статуса", "CDClientsHealth::DoDataExchange"),
                i);
        }

        const QString yearText = cell.treatmentYear.trimmed();
        bool number = true;
        row.treatmentYear = yearText.isEmpty() ? 0 : yearText.toInt(&number);
        const bool positive = row.status & kHealthKnowsPositive;
        CRuleVerdict refusal;
        if (!number || (cell.disease == kDiseaseHivAids && positive && row.treatmentYear != 0 &&
                        (row.treatmentYear < 1900 || row.treatmentYear > 2100)))
            refusal = CRuleVerdict::Refuse(
                EClientField::HealthTreatmentYear, QStringLiteral("msgInvalidBirthYearCheck"),
                ClientRuleText("Ошибка в значении", "msgInvalidBirthYearCheck"), i);
        else if (cell.disease == kDiseaseHivAids && !positive && row.treatmentYear != 0)
            refusal = CRuleVerdict::Refuse(
                EClientField::HealthTreatmentYear, QStringLiteral("msgYearFilledWhenNotPositiv"),
                ClientRuleText("Это поле заполняется, только для клиентов, которые имеют "
                               "позитивный статус",
                               "msgYearFilledWhenNotPositiv"),
                i);
        if (!refusal.ok) {
            rows->clear();
            return refusal;
        }
        rows->append(row);
    }
    return CRuleVerdict();
}

CHealthGridRow HealthGridRow(int disease, int status, int treatmentYear) {
    CHealthGridRow row;
    row.disease = disease;
    row.testedEver = status & kHealthTestedEver;
    row.tested6Months = status & kHealthTested6Months;
    row.knowsNegative = status & kHealthKnowsNegative;
    row.knowsPositive = status & kHealthKnowsPositive;
    row.treatmentYear = QString::number(treatmentYear);
    return row;
}
