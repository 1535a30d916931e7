#include "visits_age_groups.h"

#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"

void FillConfiguredAgeGroups(CAgeGroups& groups) {
    xConfiguration* config = CurrentConfiguration();
    if (!config)
        return;
    const xAgeGroup& list = config->GetCurrentLanguage()->AgeGroup;
    POSITION pos = list.InitScan_sEnum2();
    while (list.ScanNext_sEnum2(pos)) {
        const sAgeGroup* item = list.Current(pos);
        groups.Add(item->nCode, item->cName.isEmpty() ? QStringLiteral("%d-%d") : item->cName);
    }
    groups.ReformatTitles();
}

void FillFixedAgeGroups(CAgeGroups& groups) {
    for (long lower : {0, 10, 14, 18, 20, 25, 30, 35, 40, 45, 50})
        groups.Add(lower, QStringLiteral("%d-%d"));
    groups.Add(60,
               CTarvikApp::TranslateString(QStringLiteral("%d и старше"),
                                           QStringLiteral("CKeldaAgeGroups2::CKeldaAgeGroups2")));
    groups.Add(100,
               CTarvikApp::TranslateString(QStringLiteral("Возраст не определен"),
                                           QStringLiteral("CKeldaAgeGroups2::CKeldaAgeGroups2")));
    groups.ReformatTitles();
}
