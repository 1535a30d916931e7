#include "rep_config.h"

#include "db/digests.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"

#include <QLocale>

namespace {
xLanguage* Language() {
    xConfiguration* config = CurrentConfiguration();
    return config ? config->GetCurrentLanguage() : nullptr;
}
} // namespace

namespace RepConfig {
QList<RepMatGroup> MaterialGroups() {
    QList<RepMatGroup> groups;
    xLanguage* language = Language();
    if (!language)
        return groups;
    POSITION pos = language->MatGroups.InitScan_sEnum2();
    while (language->MatGroups.ScanNext_sEnum2(pos)) {
        const sMatGroups* item = language->MatGroups.Current(pos);
        groups.append({item->nCode, item->nGroup, item->cText});
    }
    return groups;
}

QString MaterialGroupsDigest() {
    QString text;
    for (const RepMatGroup& group : MaterialGroups())
        text += QStringLiteral("%1:%2;").arg(group.id).arg(group.group);
    return MD5HexOfText(text);
}

QDate ParseDate(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return QDate();
    for (const char* format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd", "dd.MM.yy", "d.M.yy"}) {
        QDate date = QDate::fromString(t, QLatin1String(format));
        if (date.isValid()) {
            if (QLatin1String(format).endsWith(QLatin1String("yy")) &&
                !QLatin1String(format).endsWith(QLatin1String("yyyy")) && date.year() < 1950)
                date = date.addYears(100);
            return date;
        }
    }
    return QLocale().toDate(t, QLocale::ShortFormat);
}

QDate ProjectStartDate() {
    xConfiguration* config = CurrentConfiguration();
    return config ? ParseDate(config->Periods.ProjectStartDate) : QDate();
}

const xKDReportPresets* Presets() {
    xLanguage* language = Language();
    return language ? &language->KDReportPresets : nullptr;
}

const xKDReportPresets2* Presets2() {
    xLanguage* language = Language();
    return language ? &language->KDReportPresets2 : nullptr;
}
} // namespace RepConfig
