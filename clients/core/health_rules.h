#pragma once
// The health tab: per disease, which tests the client has had and what the
// client knows of the result (healthstatus.nStatus, a bit set), and for
// HIV/AIDS the year treatment started (nTreatmentStartDate, 0 for none).
#include "rule_verdict.h"

#include <QList>
#include <QString>

// Diseases (xDiseases) in the order the grid lists them.
constexpr int kDiseaseHivAids = 1;
const QList<int>& HealthDiseases();

// Bits of nStatus (xDiseaseStates).
constexpr int kHealthTestedEver = 1;
constexpr int kHealthTested6Months = 2;
constexpr int kHealthKnowsPositive = 4;
constexpr int kHealthKnowsNegative = 8;

// The grid's columns whose cells a refusal points at.
constexpr int kHealthColumnKnowsNegative = 3;
constexpr int kHealthColumnTreatmentYear = 5;

// One grid row as the user left it.
struct CHealthGridRow {
    int disease = 0;
    bool testedEver = false;
    bool tested6Months = false;
    bool knowsNegative = false;
    bool knowsPositive = false;
    QString treatmentYear; // the cell's text; empty or 0 for none
};

// One healthstatus row.
struct CHealthRow {
    int disease = 0;
    int status = 0;
    int treatmentYear = 0;
    bool operator==(const CHealthRow&) const = default;
};

// Turns the grid into rows, one per grid row in order. Knowing the result
// implies having been tested, so bit 4 or 8 also sets bit 1. Refusals (the
// verdict's row is the grid row): both "Знает, -" and "Знает, +" ("Нельзя
// отмечать оба статуса", on the "Знает, -" cell); for HIV/AIDS a treatment
// year other than 0 outside 1900..2100 with "Знает, +" ("Ошибка в значении")
// or any such year without it; a year cell that is not a whole number.
CRuleVerdict BuildHealthRows(const QList<CHealthGridRow>& grid, QList<CHealthRow>* rows);

// The grid row that shows a stored status and year.
CHealthGridRow HealthGridRow(int disease, int status, int treatmentYear);
