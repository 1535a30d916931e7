#pragma once
// The birth year of the client card: how a typed year is read, and the age
// check that refuses a save with an age outside the client-data options
// MinAge..MaxAge (the caller passes the options' values).
#include "rule_verdict.h"

#include <QDate>
#include <QString>

struct CBirthYear {
    bool valid = true; // false for a text that is not a whole number
    int year = 0;      // 0 for an empty field
    // 1 January of the year (the card stores dBirthDate so), null when the
    // year is not a positive number.
    QDate birthDate;
};

// Reads the birth-year field: empty gives 0; 0..30 mean 2000..2030 and 31..99
// mean 1931..1999; other numbers stay as typed (-1 stays -1). On save the
// card writes a non-zero year back as typed here, so 87 is stored as 1987.
CBirthYear ParseBirthYear(const QString& text);

struct CClientAge {
    int years = 0;
    int months = 0;
    CRuleVerdict verdict; // refused: "Год рождения содержит ошибку" on the birth year
};

// The age on `today` from the birth-year field, checked against the options
// MinAge and MaxAge (inclusive). An empty or unreadable field always fails.
CClientAge CheckClientAge(const QString& birthYearText, const QDate& today, int minAge, int maxAge);

// The age line of the card: "Возраст клиента 25", with the months below 3
// years, preceded by "Ошибка!!! " when the age fails the check.
QString ClientAgeText(const CClientAge& age);
