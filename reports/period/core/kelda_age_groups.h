#pragma once
// The program's two age-group tables: the configured one (the AGEGROUP list
// of the configuration's current language) and the fixed one of the visits
// reports.
#include "framework/core/report/age_groups.h"

// One group per AGEGROUP item: its ID is the lowest age, its Name the title
// ("%d-%d" when the item has none), placeholders filled from the bounds.
class CKeldaAgeGroups : public CAgeGroups {
public:
    CKeldaAgeGroups();
};

// 0-9, 10-13, 14-17, 18-19, 20-24 ... 45-49, 50-59, "60 и старше", and from
// 100 "Возраст не определен" (ages that cannot be real).
class CKeldaAgeGroups2 : public CAgeGroups {
public:
    CKeldaAgeGroups2();
};
