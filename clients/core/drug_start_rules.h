#pragma once
// The start of drug use on a drug-use page (drugusedata.nDrugStartDate, a
// year). The field takes a four-digit start year, or a one- or two-digit
// number of years of use (0 meaning less than a year), which the page turns
// into the start year.
#include "rule_verdict.h"

#include <QString>

struct CDrugStart {
    bool empty = true;     // nothing typed: the column stays empty (NULL)
    bool isNumber = false; // the text is a whole number
    int startYear = 0;     // the year to store
    int yearsOfUse = 0;    // the current year minus the start year
    // Refused ("Ошибочное значение", title "Год начала употребления
    // наркотиков") for a text that is not a whole number and for a start in
    // the future or more than 99 years back.
    CRuleVerdict verdict;
};

// Reads the field: 0..99 are years of use (99 too), larger numbers are the
// start year itself; the current year is passed in.
CDrugStart ParseDrugStart(const QString& text, int currentYear);

// The line beside the field, "1998 год (27)": the start year and the years of
// use; empty while the field is empty or unreadable.
QString DrugStartLabel(const CDrugStart& start);
