#pragma once
// The report framework's page templates (Qt resources ":/html/<id>.html").

// The sections of the configurable reports' pages.
constexpr unsigned kReportTemplateID = 1724;
// The error page (section FATAL).
constexpr unsigned kFatalTemplateID = 3281;

// Registers the templates with the resource system (they live in a static
// library); call before loading one. Repeated calls cost nothing.
void InitReportTemplates();
