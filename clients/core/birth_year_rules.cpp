#include "birth_year_rules.h"

CBirthYear ParseBirthYear(const QString& text) {
    CBirthYear result;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return result;
    bool ok = false;
    const int value = trimmed.toInt(&ok);
    if (!ok) {
        result.valid = false;
        return result;
    }
    result.year = value;
    if (value >= 0 && value < 100)
        result.year = value > 30 ? 1900 + value : 2000 + value;
    if (result.year > 0)
        result.birthDate = QDate(result.year, 1, 1);
    return result;
}

CClientAge CheckClientAge(const QString& birthYearText, const QDate& today, int minAge,
                          int maxAge) {
    CClientAge age;
    const CBirthYear birth = ParseBirthYear(birthYearText);
    age.years = today.year() - birth.year;
    // An empty field is no birth year, whatever ages the options allow.
    const bool missing = birthYearText.trimmed().isEmpty();
    if (!birth.valid || missing || age.years < minAge || age.years > maxAge) {
        age.verdict = CRuleVerdict::Refuse(
            EClientField::BirthYear, QString(),
            ClientRuleText("Год рождения содержит ошибку", "CDClientsBase::DoDataExchange"));
    }
    return age;
}

QString ClientAgeText(const CClientAge& age) {
    QString text = age.years < 3 ? ClientRuleText("Возраст клиента {age} ({month} мес.)",
                                                  "msgClientAgeYearMonth")
                                 : ClientRuleText("Возраст клиента {age}", "msgClientAgeYear");
    text.replace(QLatin1String("{age}"), QString::number(age.years))
        .replace(QLatin1String("{month}"), QString::number(age.months));
    if (!age.verdict.ok)
        text = ClientRuleText("Ошибка", "msgError") + QStringLiteral("!!! ") + text;
    return text;
}
