#include "dir_tables.h"

#include "table_registrar.h"
#include "table_set.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

CxTable_Dir::CxTable_Dir()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Справочники"),
                                          QStringLiteral("CxTable_Dir::CxTable_Dir"), 1),
              "Dir") {}
void CxTable_Dir::Init() {
    CxFieldRegistrar r(this, "CxTable_Dir::Init");
    m_ROWID = r.Add(18695, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_nDirType = r.Add(17014, "nDirType", "Тип справочника", FF_INT | FF_DIRTYPE);
    m_nOrder = r.Add(17015, "nOrder", "Поле сортировки", FF_INT);
    m_nRegionDataID = r.Add(17314, "nRegionDataID", "Код региона", FF_INT);
    m_cString = r.Add(18173, "cString", "Строка", FF_TEXT | FF_NAME);
    m_cFlatCode =
        r.Add(18882, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE | FF_FLATCODEBASE);
    m_FOLDER_cString = r.Join(r.Add(18750, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18750, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
}

CxTable_WorkPlace::CxTable_WorkPlace()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Пункты предоставления услуг"),
                                          QStringLiteral("CxTable_WorkPlace::CxTable_WorkPlace"),
                                          1),
              "WorkPlace", "{TABLE}.nDirType=1") {}
void CxTable_WorkPlace::Init() {
    CxFieldRegistrar r(this, "CxTable_WorkPlace::Init");
    m_ROWID = r.Add(17016, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17017, "cString", "Название", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17018, "cDescription", "Описание", FF_TEXT);
    m_nType = r.Add(17129, "nType", "Тип пункта", FF_INT | FF_ENUM, TableEnum("xNodeType"));
    m_nTypeText =
        r.Add(17129, "nType", "Тип пункта", FF_TEXT | FF_ENUMTEXT, TableEnum("xNodeType"));
    m_bHidden = r.Add(17019, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_bIsFolder = r.Add(17317, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_RGCODE_cOrgID = r.AddOrgText(18727, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18728, "cOrgName", "Название организации");
    m_nRegionDataID = r.Add(20072, "nRegionDataID", "Код региона", FF_INT);
    m_nTown = r.Add(20435, "nTown", "Город", FF_INT | FF_LOOKUP, g_pTownsTable.GetPtr());
    m_TOWN_cFullName = r.Join(r.Add(20435, "{TOWN}.cFullName", "Город", FF_TEXT | FF_JOINED),
                              g_pTownsTable.GetPtr(), "{TOWN}", "{TOWN}.ROWID={TABLE}.nTown");
    m_cFlatCode = r.Add(18883, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18298, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18298, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Posh:%d:%d"));
}

CxTable_Materials::CxTable_Materials()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Раздаточные материалы"),
                                          QStringLiteral("CxTable_Materials::CxTable_Materials"),
                                          1),
              "Materials", "{TABLE}.nDirType=3") {}
void CxTable_Materials::Init() {
    CxFieldRegistrar r(this, "CxTable_Materials::Init");
    m_ROWID = r.Add(17026, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17027, "cString", "Название материала или услуги", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17028, "cDescription", "Описание материала", FF_TEXT);
    m_bHidden = r.Add(17029, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_nType = r.Add(17030, "nType", "Тип материала или услуги", FF_INT | FF_ENUM,
                    TableEnum("xMaterialType"));
    m_nTypeText = r.Add(17030, "nType", "Тип материала или услуги", FF_TEXT | FF_ENUMTEXT,
                        TableEnum("xMaterialType"));
    m_nPubType =
        r.Add(17031, "nPubType", "Тип публикации", FF_INT | FF_ENUM, TableEnum("xPubType"));
    m_nPubTypeText =
        r.Add(17031, "nPubType", "Тип публикации", FF_TEXT | FF_ENUMTEXT, TableEnum("xPubType"));
    m_nAuditory =
        r.Add(17033, "nAuditory", "Целевая аудитория", FF_INT | FF_ENUM, TableEnum("xBookAUID"));
    m_nAuditoryText = r.Add(17033, "nAuditory", "Целевая аудитория", FF_TEXT | FF_ENUMTEXT,
                            TableEnum("xBookAUID"));
    m_nCircul = r.Add(17034, "nCircul", "Тираж", FF_INT);
    m_MaterialGroup = r.Add(18110, "{TABLE}.nType&268369920", "Группа материалов", FF_INT | FF_ENUM,
                            TableEnum("xMaterialType"));
    m_MaterialGroupText = r.Add(18110, "{TABLE}.nType&268369920", "Группа материалов",
                                FF_TEXT | FF_ENUMTEXT, TableEnum("xMaterialType"));
    m_bIsFolder = r.Add(17309, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_bByCode = r.Add(18014, "bByCode", "Учет по коду", FF_INT | FF_ENUM, TableEnum("xYesNo"));
    m_bByCodeText =
        r.Add(18014, "bByCode", "Учет по коду", FF_TEXT | FF_ENUMTEXT, TableEnum("xYesNo"));
    m_nSpecFlags = r.Add(18015, "nSpecFlags", "Флаги", FF_INT);
    m_nConfigGroup = r.Add(18121, "nConfigGroup", "Группа из конфигурации", FF_INT | FF_ENUM,
                           TableConfigList("DIRECTIONANDCONSULTING"));
    m_nConfigGroupText = r.Add(18121, "nConfigGroup", "Группа из конфигурации",
                               FF_TEXT | FF_ENUMTEXT, TableConfigList("DIRECTIONANDCONSULTING"));
    m_nSortCode = r.Add(18165, "nSortCode", "Код сортировки", FF_INT);
    m_nDonorID = r.Add(18471, "nDonorID", "Донор", FF_INT | FF_LOOKUP, g_pDonorsTable.GetPtr());
    m_DONOR_cString = r.Join(r.Add(18471, "{DONOR}.cString", "Донор", FF_TEXT | FF_JOINED),
                             g_pDonorsTable.GetPtr(), "{DONOR}", "{DONOR}.ROWID={TABLE}.nDonorID");
    m_RGCODE_cOrgID = r.AddOrgText(18729, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18730, "cOrgName", "Название организации");
    m_cFlatCode = r.Add(18884, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18299, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18299, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Mat:%d:%d"));
}

CxTable_Workers::CxTable_Workers()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Социальные работники"),
                                          QStringLiteral("CxTable_Workers::CxTable_Workers"), 1),
              "Workers", "{TABLE}.nDirType=2") {}
void CxTable_Workers::Init() {
    CxFieldRegistrar r(this, "CxTable_Workers::Init");
    m_ROWID = r.Add(17020, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17023, "cString", "ФИО", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17024, "cDescription", "Образование, контакты", FF_TEXT);
    m_bHidden = r.Add(17025, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_nConfigGroup = r.Add(20434, "nConfigGroup", "Специализация", FF_INT | FF_ENUM,
                           TableConfigList("WORKERTYPE"));
    m_nConfigGroupText = r.Add(20434, "nConfigGroup", "Специализация", FF_TEXT | FF_ENUMTEXT,
                               TableConfigList("WORKERTYPE"));
    m_nUsluga = r.Add(18109, "nUsluga", "Услуга", FF_INT | FF_LOOKUP, g_pMaterialsTable.GetPtr());
    m_SERVICE_cString =
        r.Join(r.Add(18109, "{SERVICE}.cString", "Услуга", FF_TEXT | FF_JOINED),
               g_pMaterialsTable.GetPtr(), "{SERVICE}", "{SERVICE}.ROWID={TABLE}.nUsluga");
    m_nSpeciality = r.Add(18345, "nSpeciality", "Специальность", FF_INT | FF_ENUM,
                          TableConfigList("SPECIALITY"));
    m_nSpecialityText = r.Add(18345, "nSpeciality", "Специальность", FF_TEXT | FF_ENUMTEXT,
                              TableConfigList("SPECIALITY"));
    m_bIsFolder = r.Add(17315, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_RGCODE_cOrgID = r.AddOrgText(18731, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18732, "cOrgName", "Название организации");
    m_cFlatCode = r.Add(18885, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18300, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18300, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Soc:%d:%d"));
}

CxTable_DrugList::CxTable_DrugList()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Наркотические вещества"),
                                          QStringLiteral("CxTable_DrugList::CxTable_DrugList"), 1),
              "DrugList", "{TABLE}.nDirType=4") {}
void CxTable_DrugList::Init() {
    CxFieldRegistrar r(this, "CxTable_DrugList::Init");
    m_ROWID = r.Add(17035, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17036, "cString", "Название наркотика", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17037, "cDescription", "Описание наркотика", FF_TEXT);
    m_nType = r.Add(17038, "nType", "Тип наркотика", FF_INT | FF_ENUM, TableEnum("xDrugsEnum"));
    m_nTypeText =
        r.Add(17038, "nType", "Тип наркотика", FF_TEXT | FF_ENUMTEXT, TableEnum("xDrugsEnum"));
    m_nProdType =
        r.Add(17039, "nProdType", "Способ производства", FF_INT | FF_ENUM, TableEnum("xProdType"));
    m_nProdTypeText = r.Add(17039, "nProdType", "Способ производства", FF_TEXT | FF_ENUMTEXT,
                            TableEnum("xProdType"));
    m_nUseType = r.Add(17040, "nUseType", "Способ употребления", FF_INT | FF_ENUM,
                       TableEnum("xMainRouteEnum"));
    m_nUseTypeText = r.Add(17040, "nUseType", "Способ употребления", FF_TEXT | FF_ENUMTEXT,
                           TableEnum("xMainRouteEnum"));
    m_RGCODE_cOrgID = r.AddOrgText(18733, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18734, "cOrgName", "Название организации");
    m_bHidden = r.Add(17041, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_bIsFolder = r.Add(17319, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_cFlatCode = r.Add(18886, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18301, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18301, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Drug:%d:%d"));
}

CxTable_Trainings::CxTable_Trainings()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Типы (тренинги, занятия)"),
                                          QStringLiteral("CxTable_Trainings::CxTable_Trainings"),
                                          1),
              "Trainings", "{TABLE}.nDirType=7") {}
void CxTable_Trainings::Init() {
    CxFieldRegistrar r(this, "CxTable_Trainings::Init");
    m_ROWID = r.Add(17046, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17047, "cString", "Тип мероприятия", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17048, "cDescription", "Описание", FF_TEXT);
    m_bHidden = r.Add(17049, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_bIsFolder = r.Add(17323, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_RGCODE_cOrgID = r.AddOrgText(18736, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18737, "cOrgName", "Название организации");
    m_cFlatCode = r.Add(18887, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18302, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18302, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Training:%d:%d"));
}

CxTable_MatGroups::CxTable_MatGroups()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Группы материалов"),
                                          QStringLiteral("CxTable_MatGroups::CxTable_MatGroups"),
                                          1),
              "MatGroups", "{TABLE}.nDirType=10") {}
void CxTable_MatGroups::Init() {
    CxFieldRegistrar r(this, "CxTable_MatGroups::Init");
    m_ROWID = r.Add(17050, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17051, "cString", "Название группы материалов", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17052, "cDescription", "Описание группы", FF_TEXT);
    m_bHidden = r.Add(17053, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_cOtherInfo = r.Add(17054, "cOtherInfo", "Доп. поля", FF_TEXT);
    m_bIsFolder = r.Add(17312, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_RGCODE_cOrgID = r.AddOrgText(18738, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18739, "cOrgName", "Название организации");
    m_cFlatCode = r.Add(18888, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18304, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18304, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_MatGroup:%d:%d"));
}

CxTable_MatPack::CxTable_MatPack()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Пакет материалов и услуг"),
                                          QStringLiteral("CxTable_MatPack::CxTable_MatPack"), 1),
              "MatPack", "{TABLE}.nDirType=11") {}
void CxTable_MatPack::Init() {
    CxFieldRegistrar r(this, "CxTable_MatPack::Init");
    m_ROWID = r.Add(17055, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(17056, "cString", "Название пакета материалов или услуг", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(17057, "cDescription", "Описание пакета", FF_TEXT);
    m_cOtherInfo = r.Add(17058, "cOtherInfo", "Доп. поля", FF_TEXT);
    m_bHidden = r.Add(18039, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_bIsFolder = r.Add(17325, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_RGCODE_cOrgID = r.AddOrgText(18740, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18741, "cOrgName", "Название организации");
    m_cFlatCode = r.Add(18889, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18305, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18305, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_MatPack:%d:%d"));
}

CxTable_Donors::CxTable_Donors()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Источники финансирования"),
                                          QStringLiteral("CxTable_Donors::CxTable_Donors"), 1),
              "Donors", "{TABLE}.nDirType=12") {}
void CxTable_Donors::Init() {
    CxFieldRegistrar r(this, "CxTable_Donors::Init");
    m_ROWID = r.Add(18018, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_cString = r.Add(18019, "cString", "Название донора", FF_TEXT | FF_NAME);
    m_cDescription = r.Add(18032, "cDescription", "Описание пакета", FF_TEXT);
    m_bHidden = r.Add(18040, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
    m_bIsFolder = r.Add(18026, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
    m_nConfigGroup = r.Add(18114, "nConfigGroup", "Группа из конфигурации", FF_INT | FF_ENUM,
                           TableConfigList("DONORS"));
    m_nConfigGroupText = r.Add(18114, "nConfigGroup", "Группа из конфигурации",
                               FF_TEXT | FF_ENUMTEXT, TableConfigList("DONORS"));
    m_RGCODE_cOrgID = r.AddOrgText(18742, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18743, "cOrgName", "Название организации");
    m_cFlatCode = r.Add(18890, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    m_FOLDER_cString = r.Join(r.Add(18307, "{FOLDER}.cString", "Папка", FF_TEXT), this, "{FOLDER}",
                              "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cString->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18307, "nGroupID", "Папка", FF_INT | FF_PARENT);
    r.LinkFolders(m_ROWID, m_nGroupID);
    SetRecordAddress(QStringLiteral("opendoc:CJDirectories:CJDirectoriesTab_Donors:%d:%d"));
}
