#include "drug_start_rules.h"

#include <algorithm>
#include <climits>

namespace {
CRuleVerdict Refusal() {
    CRuleVerdict v = CRuleVerdict::Refuse(
        EClientField::DrugStart, QString(),
        ClientRuleText("Ошибочное значение", "CDClientsDrugsSub::DoDataExchange"));
    v.title =
        ClientRuleText("Год начала употребления наркотиков", "CDClientsDrugsSub::DoDataExchange");
    return v;
}
} // namespace

CDrugStart ParseDrugStart(const QString& text, int currentYear) {
    CDrugStart start;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return start;
    start.empty = false;
    bool ok = false;
    const int n = trimmed.toInt(&ok);
    if (!ok) {
        start.verdict = Refusal();
        return start;
    }
    start.isNumber = true;
    // Computed wide: a typed number may be anything an int holds.
    const long long startYear = n <= 99 ? qint64(currentYear) - n : n;
    const long long years = currentYear - startYear;
    start.startYear = int(std::clamp<long long>(startYear, INT_MIN, INT_MAX));
    start.yearsOfUse = int(std::clamp<long long>(years, INT_MIN, INT_MAX));
    if (start.yearsOfUse < 0 || start.yearsOfUse > 99)
        start.verdict = Refusal();
    return start;
}

QString DrugStartLabel(const CDrugStart& start) {
    if (start.empty || !start.isNumber)
        return QString();
    // The translated format keeps its two "%d": the start year, then the years.
    QString text = ClientRuleText("%d год (%d)", "CDClientsDrugsSub::OnEnChangeEdit");
    for (const int value : {start.startYear, start.yearsOfUse}) {
        const qsizetype at = text.indexOf(QLatin1String("%d"));
        if (at >= 0)
            text.replace(at, 2, QString::number(value));
    }
    return text;
}
