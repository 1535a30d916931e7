#include "directory_kinds.h"

#include "framework/core/tarvik_app.h"
#include "model/tables/table_set.h"

QList<CxDirectoryTab> DirectoryTabs() {
    QList<CxDirectoryTab> tabs;
    if (CxTable_Materials* t = g_pMaterialsTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_Mat"),
                     QStringLiteral("msgRazdMaterial"),
                     QStringLiteral("Раздаточные материалы и услуги"),
                     1266,
                     DIR_MATERIALS,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_cDescription, t->m_nTypeText,
                      t->m_MaterialGroupText, t->m_DONOR_cString, t->m_nPubTypeText,
                      t->m_nAuditoryText, t->m_RGCODE_cOrgName, t->m_RGCODE_cOrgID},
                     true,
                     QStringLiteral("CDDirMat"),
                     true});
    if (CxTable_WorkPlace* t = g_pWorkPlaceTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_Posh"),
                     QStringLiteral("msgPunkPred"),
                     QStringLiteral("Пункты предоставления услуг"),
                     1297,
                     DIR_WORKPLACE,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_cDescription, t->m_nTypeText,
                      t->m_RGCODE_cOrgName, t->m_TOWN_cFullName, t->m_RGCODE_cOrgID},
                     true,
                     QStringLiteral("CDDirWorkPlace"),
                     true});
    if (CxTable_DrugList* t = g_pDrugListTable.GetPtr())
        tabs.append(
            {QStringLiteral("CJDirectoriesTab_Drug"),
             QStringLiteral("msgDurgsVeshestva"),
             QStringLiteral("Наркотические вещества"),
             1301,
             DIR_DRUGS,
             t,
             {t->m_ROWID, t->m_cString, t->m_cDescription, t->m_nTypeText, t->m_nUseTypeText,
              t->m_nProdTypeText, t->m_RGCODE_cOrgName, t->m_RGCODE_cOrgID},
             true,
             QStringLiteral("CDDirDrugs"),
             true});
    if (CxTable_Trainings* t = g_pTrainingsTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_Training"),
                     QStringLiteral("msgTrainingType"),
                     QStringLiteral("Типы мероприятий (тренинги, занятия)"),
                     1303,
                     DIR_TRAININGS,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_cDescription, t->m_RGCODE_cOrgName,
                      t->m_RGCODE_cOrgID},
                     true,
                     QStringLiteral("CDDirTrainig"),
                     true});
    if (CxTable_MatPack* t = g_pMatPackTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_MatPack"),
                     QStringLiteral("msgBatchUslug"),
                     QStringLiteral("Пакет услуг"),
                     1266,
                     DIR_MATPACK,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_cDescription, t->m_RGCODE_cOrgName,
                      t->m_RGCODE_cOrgID},
                     true,
                     QStringLiteral("CDDirMatPack"),
                     true});
    if (CxTable_Workers* t = g_pWorkersTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_Soc"),
                     QStringLiteral("msgProjectPersonal"),
                     QStringLiteral("Персонал проекта"),
                     1305,
                     DIR_WORKERS,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_cDescription, t->m_nConfigGroupText,
                      t->m_RGCODE_cOrgName, t->m_RGCODE_cOrgID},
                     true,
                     QStringLiteral("CDDirWorkers"),
                     true});
    if (CxTable_Donors* t = g_pDonorsTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_Donors"),
                     QStringLiteral("msgDonorsFin"),
                     QStringLiteral("Источники финансирования"),
                     1322,
                     DIR_DONORS,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_nConfigGroupText, t->m_RGCODE_cOrgName,
                      t->m_RGCODE_cOrgID},
                     true,
                     QStringLiteral("CDDirDonors"),
                     true});
    // The material groups have a tab class of their own, without folders,
    // that the journal does not show.
    if (CxTable_MatGroups* t = g_pMatGroupsTable.GetPtr())
        tabs.append({QStringLiteral("CJDirectoriesTab_MatGroup"),
                     QString(),
                     QString(),
                     1296,
                     DIR_MATGROUPS,
                     t,
                     {t->m_ROWID, t->m_cString, t->m_RGCODE_cOrgName, t->m_RGCODE_cOrgID},
                     false,
                     QStringLiteral("CDDirMatGroup"),
                     false});
    return tabs;
}

CxDirectoryTab DirectoryTab(const QString& pageClass) {
    for (const CxDirectoryTab& tab : DirectoryTabs())
        if (tab.pageClass == pageClass)
            return tab;
    return CxDirectoryTab();
}

QString DirectoryTabTitle(const CxDirectoryTab& tab) {
    return CTarvikApp::TranslateString(tab.title, tab.titleKey, 1);
}

QString DirNameTooLongText(const QString& name) {
    if (name.trimmed().size() <= kDirNameLength)
        return QString();
    return CTarvikApp::TranslateString(
               QStringLiteral("Название слишком длинное: %1 символов, а можно не больше %2. "
                              "Сократите его."),
               QStringLiteral("msgDirNameTooLong"), 1)
        .arg(name.trimmed().size())
        .arg(kDirNameLength);
}
