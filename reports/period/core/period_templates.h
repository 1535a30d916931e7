#pragma once
// The period reports' own page templates (Qt resources ":/html/<id>.html");
// the configurable reports' sections are the framework's (1724).

// The trainings report (sections BODY, TR.TOTAL, TR.SUMMARY, TR).
constexpr unsigned kTrainingsTemplateID = 1295;

// Registers the templates with the resource system (they live in a static
// library); call before loading one. Repeated calls cost nothing.
void InitPeriodTemplates();
