#pragma once
// The page templates of the visits and list reports (res/html): the
// distribution of visits, the period pivots and the trainings report. The
// visits engine uses the configurable reports' template (1724).
constexpr unsigned kRaspredTemplateID = 1343;
constexpr unsigned kPeriodTemplateID = 1345;
constexpr unsigned kTrainingsTemplateID = 1295;

// Makes the templates of this library (and of the report framework) known
// to the template loader; call before loading one.
void InitVisitsTemplates();
