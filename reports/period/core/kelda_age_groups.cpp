#include "kelda_age_groups.h"

#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"

CKeldaAgeGroups::CKeldaAgeGroups() {
    xConfiguration* config = CurrentConfiguration();
    xLanguage* language = config ? config->GetCurrentLanguage() : nullptr;
    if (language) {
        POSITION pos = language->AgeGroup.InitScan_sEnum2();
        while (language->AgeGroup.ScanNext_sEnum2(pos)) {
            const sAgeGroup* item = language->AgeGroup.Current(pos);
            Add(item->nCode, item->cName.isEmpty() ? QStringLiteral("%d-%d") : item->cName);
        }
    }
    ReformatTitles();
}

CKeldaAgeGroups2::CKeldaAgeGroups2() {
    const QString context = QStringLiteral("CKeldaAgeGroups2::CKeldaAgeGroups2");
    const QString range = CTarvikApp::TranslateString(QStringLiteral("%d-%d"), context);
    for (long lower : {0, 10, 14, 18, 20, 25, 30, 35, 40, 45, 50})
        Add(lower, range);
    Add(60, CTarvikApp::TranslateString(QStringLiteral("%d и старше"), context));
    Add(100, CTarvikApp::TranslateString(QStringLiteral("Возраст не определен"), context));
    ReformatTitles();
}
