#include "table_registrar.h"

#include "material_groups_script.h"

#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "model/enums/enums.h"

#include <QDebug>
#include <cstring>

CEnum2* TableEnum(const char* className) {
    struct Getter {
        const char* name;
        CEnum2* (*get)();
    };
    static const Getter getters[] = {
        {"xSex", [] { return static_cast<CEnum2*>(g_pSex.Get()); }},
        {"xClientGroup", [] { return static_cast<CEnum2*>(g_pClientGroup.Get()); }},
        {"xPubType", [] { return static_cast<CEnum2*>(g_pPubType.Get()); }},
        {"xBookAUID", [] { return static_cast<CEnum2*>(g_pBookAUID.Get()); }},
        {"xTrainingFor", [] { return static_cast<CEnum2*>(g_pTrainingFor.Get()); }},
        {"xConsAndDir", [] { return static_cast<CEnum2*>(g_pConsAndDir.Get()); }},
        {"xEployment", [] { return static_cast<CEnum2*>(g_pEployment.Get()); }},
        {"xLivingPlaceEnum", [] { return static_cast<CEnum2*>(g_pLivingPlaceEnum.Get()); }},
        {"xEducationLevelEnum", [] { return static_cast<CEnum2*>(g_pEducationLevelEnum.Get()); }},
        {"xLegalProblemsEnum", [] { return static_cast<CEnum2*>(g_pLegalProblemsEnum.Get()); }},
        {"xCondYesNoNosex", [] { return static_cast<CEnum2*>(g_pCondYesNoNosex.Get()); }},
        {"xLastSexual", [] { return static_cast<CEnum2*>(g_pLastSexual.Get()); }},
        {"xLastInjectionWith", [] { return static_cast<CEnum2*>(g_pLastInjectionWith.Get()); }},
        {"xDesinfectionWay", [] { return static_cast<CEnum2*>(g_pDesinfectionWay.Get()); }},
        {"xDrugsEnum", [] { return static_cast<CEnum2*>(g_pDrugsEnum.Get()); }},
        {"xMainRouteEnum", [] { return static_cast<CEnum2*>(g_pMainRouteEnum.Get()); }},
        {"xProdType", [] { return static_cast<CEnum2*>(g_pProdType.Get()); }},
        {"xNodeType", [] { return static_cast<CEnum2*>(g_pNodeType.Get()); }},
        {"xDiseases", [] { return static_cast<CEnum2*>(g_pDiseases.Get()); }},
        {"xDiseaseStates", [] { return static_cast<CEnum2*>(g_pDiseaseStates.Get()); }},
        {"xUseFreqEnum", [] { return static_cast<CEnum2*>(g_pUseFreqEnum.Get()); }},
        {"xTrainingType", [] { return static_cast<CEnum2*>(g_pTrainingType.Get()); }},
        {"xSocOtherReg", [] { return static_cast<CEnum2*>(g_pSocOtherReg.Get()); }},
        {"xMaterialType", [] { return static_cast<CEnum2*>(g_pMaterialType.Get()); }},
        {"xYesNo", [] { return static_cast<CEnum2*>(g_pYesNo.Get()); }},
    };
    for (const Getter& g : getters)
        if (std::strcmp(g.name, className) == 0)
            return g.get();
    qWarning() << "no enumeration" << className;
    return nullptr;
}

namespace {
xLanguage* CurrentLanguage() {
    xConfiguration* config = CurrentConfiguration();
    return config ? config->GetCurrentLanguage() : nullptr;
}
} // namespace

CEnum2* TableConfigList(const char* element) {
    xLanguage* language = CurrentLanguage();
    if (!language)
        return nullptr;
    const QString name = QString::fromLatin1(element);
    CEnum2* const lists[] = {&language->DirectionAndConsulting,
                             &language->Donors,
                             &language->ParticipantProgram,
                             &language->Services,
                             &language->Speciality,
                             &language->WhoDirect,
                             &language->MatGroups,
                             &language->WorkerType,
                             &language->AgeGroup,
                             &language->PrjList};
    const QString names[] = {"DIRECTIONANDCONSULTING",
                             "DONORS",
                             "PARTICIPANTPROGRAM",
                             "SERVICES",
                             "SPECIALITY",
                             "WHODIRECT",
                             "MATGROUPS",
                             "WORKERTYPE",
                             "AGEGROUP",
                             "PRJLIST"};
    for (int i = 0; i < int(std::size(names)); ++i)
        if (names[i] == name)
            return lists[i];
    qWarning() << "no configuration list" << name;
    return nullptr;
}

QList<MaterialGroupItem> ConfiguredMaterialGroups() {
    QList<MaterialGroupItem> items;
    xLanguage* language = CurrentLanguage();
    if (!language)
        return items;
    const xMatGroups& groups = language->MatGroups;
    POSITION pos = groups.InitScan_sEnum2();
    while (groups.ScanNext_sEnum2(pos)) {
        const sMatGroups* item = groups.Current(pos);
        items.append({item->nCode, item->nGroup});
    }
    return items;
}
