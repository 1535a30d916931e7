#include "dir_tables.h"

#include "table_registrar.h"
#include "table_set.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

namespace {
// The ids of the columns every directory view has.
struct DirectoryIds {
    unsigned key, name, description, flatCode, folder;
};

// The columns every directory view shares, around its own: the key, the name
// and the description first, then the view's own columns, then the nesting
// code and the folder pair; the record address opens the row on the view's
// tab of the directories journal.
template <class View, class OwnColumns>
void RegisterDirectoryColumns(CxFieldRegistrar& r, View* view, const DirectoryIds& ids,
                              const char* nameCaption, const char* descriptionCaption,
                              const char* journalTab, OwnColumns ownColumns) {
    view->m_ROWID = r.Add(ids.key, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    view->m_cString = r.Add(ids.name, "cString", nameCaption, FF_TEXT | FF_NAME);
    view->m_cDescription = r.Add(ids.description, "cDescription", descriptionCaption, FF_TEXT);
    ownColumns();
    view->m_cFlatCode = r.Add(ids.flatCode, "cFlatCode", "Код вложения", FF_TEXT | FF_FLATCODE);
    r.AddFolders(view->m_FOLDER_cString, view->m_nGroupID, ids.folder, "cString", view->m_cString,
                 view->m_ROWID);
    view->SetRecordAddress(QStringLiteral("opendoc:CJDirectories:") + QLatin1String(journalTab) +
                           QStringLiteral(":%d:%d"));
}
} // namespace

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
    r.AddFolders(m_FOLDER_cString, m_nGroupID, 18750, "cString", m_cString, m_ROWID);
}

CxTable_WorkPlace::CxTable_WorkPlace()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Пункты предоставления услуг"),
                                          QStringLiteral("CxTable_WorkPlace::CxTable_WorkPlace"),
                                          1),
              "WorkPlace", "{TABLE}.nDirType=1") {}
void CxTable_WorkPlace::Init() {
    CxFieldRegistrar r(this, "CxTable_WorkPlace::Init");
    RegisterDirectoryColumns(
        r, this, {17016, 17017, 17018, 18883, 18298}, "Название", "Описание",
        "CJDirectoriesTab_Posh", [&] {
            r.AddEnum(m_nType, m_nTypeText, 17129, "nType", "Тип пункта", TableEnum("xNodeType"));
            m_bHidden = r.Add(17019, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            m_bIsFolder = r.Add(17317, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            m_RGCODE_cOrgID = r.AddOrgText(18727, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18728, "cOrgName", "Название организации");
            m_nRegionDataID = r.Add(20072, "nRegionDataID", "Код региона", FF_INT);
            r.AddLookup(m_nTown, m_TOWN_cFullName, 20435, "nTown", "Город", g_pTownsTable.GetPtr(),
                        "TOWN", "cFullName");
        });
}

CxTable_Materials::CxTable_Materials()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Раздаточные материалы"),
                                          QStringLiteral("CxTable_Materials::CxTable_Materials"),
                                          1),
              "Materials", "{TABLE}.nDirType=3") {}
void CxTable_Materials::Init() {
    CxFieldRegistrar r(this, "CxTable_Materials::Init");
    RegisterDirectoryColumns(
        r, this, {17026, 17027, 17028, 18884, 18299}, "Название материала или услуги",
        "Описание материала", "CJDirectoriesTab_Mat", [&] {
            m_bHidden = r.Add(17029, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            r.AddEnum(m_nType, m_nTypeText, 17030, "nType", "Тип материала или услуги",
                      TableEnum("xMaterialType"));
            r.AddEnum(m_nPubType, m_nPubTypeText, 17031, "nPubType", "Тип публикации",
                      TableEnum("xPubType"));
            r.AddEnum(m_nAuditory, m_nAuditoryText, 17033, "nAuditory", "Целевая аудитория",
                      TableEnum("xBookAUID"));
            m_nCircul = r.Add(17034, "nCircul", "Тираж", FF_INT);
            r.AddEnum(m_MaterialGroup, m_MaterialGroupText, 18110, "{TABLE}.nType&268369920",
                      "Группа материалов", TableEnum("xMaterialType"));
            m_bIsFolder = r.Add(17309, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            r.AddEnum(m_bByCode, m_bByCodeText, 18014, "bByCode", "Учет по коду",
                      TableEnum("xYesNo"));
            m_nSpecFlags = r.Add(18015, "nSpecFlags", "Флаги", FF_INT);
            r.AddEnum(m_nConfigGroup, m_nConfigGroupText, 18121, "nConfigGroup",
                      "Группа из конфигурации", TableConfigList("DIRECTIONANDCONSULTING"));
            m_nSortCode = r.Add(18165, "nSortCode", "Код сортировки", FF_INT);
            r.AddLookup(m_nDonorID, m_DONOR_cString, 18471, "nDonorID", "Донор",
                        g_pDonorsTable.GetPtr(), "DONOR", "cString");
            m_RGCODE_cOrgID = r.AddOrgText(18729, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18730, "cOrgName", "Название организации");
        });
}

CxTable_Workers::CxTable_Workers()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Социальные работники"),
                                          QStringLiteral("CxTable_Workers::CxTable_Workers"), 1),
              "Workers", "{TABLE}.nDirType=2") {}
void CxTable_Workers::Init() {
    CxFieldRegistrar r(this, "CxTable_Workers::Init");
    RegisterDirectoryColumns(
        r, this, {17020, 17023, 17024, 18885, 18300}, "ФИО", "Образование, контакты",
        "CJDirectoriesTab_Soc", [&] {
            m_bHidden = r.Add(17025, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            r.AddEnum(m_nConfigGroup, m_nConfigGroupText, 20434, "nConfigGroup", "Специализация",
                      TableConfigList("WORKERTYPE"));
            r.AddLookup(m_nUsluga, m_SERVICE_cString, 18109, "nUsluga", "Услуга",
                        g_pMaterialsTable.GetPtr(), "SERVICE", "cString");
            r.AddEnum(m_nSpeciality, m_nSpecialityText, 18345, "nSpeciality", "Специальность",
                      TableConfigList("SPECIALITY"));
            m_bIsFolder = r.Add(17315, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            m_RGCODE_cOrgID = r.AddOrgText(18731, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18732, "cOrgName", "Название организации");
        });
}

CxTable_DrugList::CxTable_DrugList()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Наркотические вещества"),
                                          QStringLiteral("CxTable_DrugList::CxTable_DrugList"), 1),
              "DrugList", "{TABLE}.nDirType=4") {}
void CxTable_DrugList::Init() {
    CxFieldRegistrar r(this, "CxTable_DrugList::Init");
    RegisterDirectoryColumns(
        r, this, {17035, 17036, 17037, 18886, 18301}, "Название наркотика", "Описание наркотика",
        "CJDirectoriesTab_Drug", [&] {
            r.AddEnum(m_nType, m_nTypeText, 17038, "nType", "Тип наркотика",
                      TableEnum("xDrugsEnum"));
            r.AddEnum(m_nProdType, m_nProdTypeText, 17039, "nProdType", "Способ производства",
                      TableEnum("xProdType"));
            r.AddEnum(m_nUseType, m_nUseTypeText, 17040, "nUseType", "Способ употребления",
                      TableEnum("xMainRouteEnum"));
            m_RGCODE_cOrgID = r.AddOrgText(18733, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18734, "cOrgName", "Название организации");
            m_bHidden = r.Add(17041, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            m_bIsFolder = r.Add(17319, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
        });
}

CxTable_Trainings::CxTable_Trainings()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Типы (тренинги, занятия)"),
                                          QStringLiteral("CxTable_Trainings::CxTable_Trainings"),
                                          1),
              "Trainings", "{TABLE}.nDirType=7") {}
void CxTable_Trainings::Init() {
    CxFieldRegistrar r(this, "CxTable_Trainings::Init");
    RegisterDirectoryColumns(
        r, this, {17046, 17047, 17048, 18887, 18302}, "Тип мероприятия", "Описание",
        "CJDirectoriesTab_Training", [&] {
            m_bHidden = r.Add(17049, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            m_bIsFolder = r.Add(17323, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            m_RGCODE_cOrgID = r.AddOrgText(18736, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18737, "cOrgName", "Название организации");
        });
}

CxTable_MatGroups::CxTable_MatGroups()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Группы материалов"),
                                          QStringLiteral("CxTable_MatGroups::CxTable_MatGroups"),
                                          1),
              "MatGroups", "{TABLE}.nDirType=10") {}
void CxTable_MatGroups::Init() {
    CxFieldRegistrar r(this, "CxTable_MatGroups::Init");
    RegisterDirectoryColumns(
        r, this, {17050, 17051, 17052, 18888, 18304}, "Название группы материалов",
        "Описание группы", "CJDirectoriesTab_MatGroup", [&] {
            m_bHidden = r.Add(17053, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            m_cOtherInfo = r.Add(17054, "cOtherInfo", "Доп. поля", FF_TEXT);
            m_bIsFolder = r.Add(17312, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            m_RGCODE_cOrgID = r.AddOrgText(18738, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18739, "cOrgName", "Название организации");
        });
}

CxTable_MatPack::CxTable_MatPack()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Пакет материалов и услуг"),
                                          QStringLiteral("CxTable_MatPack::CxTable_MatPack"), 1),
              "MatPack", "{TABLE}.nDirType=11") {}
void CxTable_MatPack::Init() {
    CxFieldRegistrar r(this, "CxTable_MatPack::Init");
    RegisterDirectoryColumns(
        r, this, {17055, 17056, 17057, 18889, 18305}, "Название пакета материалов или услуг",
        "Описание пакета", "CJDirectoriesTab_MatPack", [&] {
            m_cOtherInfo = r.Add(17058, "cOtherInfo", "Доп. поля", FF_TEXT);
            m_bHidden = r.Add(18039, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            m_bIsFolder = r.Add(17325, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            m_RGCODE_cOrgID = r.AddOrgText(18740, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18741, "cOrgName", "Название организации");
        });
}

CxTable_Donors::CxTable_Donors()
    : CxTable("dir",
              CTarvikApp::TranslateString(QStringLiteral("Источники финансирования"),
                                          QStringLiteral("CxTable_Donors::CxTable_Donors"), 1),
              "Donors", "{TABLE}.nDirType=12") {}
void CxTable_Donors::Init() {
    CxFieldRegistrar r(this, "CxTable_Donors::Init");
    RegisterDirectoryColumns(
        r, this, {18018, 18019, 18032, 18890, 18307}, "Название донора", "Описание пакета",
        "CJDirectoriesTab_Donors", [&] {
            m_bHidden = r.Add(18040, "bHidden", "Скрыт", FF_INT | FF_HIDDEN);
            m_bIsFolder = r.Add(18026, "bIsFolder", "Признак папки", FF_INT | FF_FOLDERMARK);
            r.AddEnum(m_nConfigGroup, m_nConfigGroupText, 18114, "nConfigGroup",
                      "Группа из конфигурации", TableConfigList("DONORS"));
            m_RGCODE_cOrgID = r.AddOrgText(18742, "cOrgID", "Код организации");
            m_RGCODE_cOrgName = r.AddOrgText(18743, "cOrgName", "Название организации");
        });
}
