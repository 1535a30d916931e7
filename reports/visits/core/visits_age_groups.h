#pragma once
// The age groups of the visits reports: the configured ones (the current
// language's AGEGROUP list: ID the lower bound, Name the title, an empty
// name reading "%d-%d") and the fixed ones of the second age-group column.
#include "framework/core/report/age_groups.h"

void FillConfiguredAgeGroups(CAgeGroups& groups);
void FillFixedAgeGroups(CAgeGroups& groups);
