#pragma once
// What the report framework reads of the configuration, in one place: the
// material groups, the project start and the built-in presets of the current
// language.
#include <QDate>
#include <QList>
#include <QString>

class xKDReportPresets;
class xKDReportPresets2;

struct RepMatGroup {
    long id = 0;    // a material type code, or a group number
    long group = 0; // the group the item belongs to; 0 for a group itself
    QString title;
};

namespace RepConfig {
// The MATGROUPS items of the current language, in code order.
QList<RepMatGroup> MaterialGroups();
// A digest of everything of the material groups that work tables depend on.
QString MaterialGroupsDigest();
// CONFIGURATION > PERIODS "ProjectStartDate" as a date; invalid when it does
// not read as one.
QDate ProjectStartDate();
// The built-in presets; null without a configuration.
const xKDReportPresets* Presets();
const xKDReportPresets2* Presets2();
// A date as the configuration and presets write it (day.month.year, or
// year-month-day); invalid when the text is none of these.
QDate ParseDate(const QString& text);
} // namespace RepConfig
