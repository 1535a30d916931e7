// The whole table set over a version-486 database: every descriptor's
// registrations, its list and record queries, the joined texts, the directory
// views, the sub-tables and links, and the material-group table.
#include "model/tables/material_groups_script.h"
#include "model/tables/table_set.h"
#include "table_fixture.h"

#include "framework/core/table/cx_database.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/temp_tables/sql_win_app_ext.h"
#include "model/config/configuration.h"
#include "model/enums/enums.h"

#include <QTest>
#include <memory>

namespace {
struct Registration {
    const char* table;
    unsigned id;
    const char* column; // empty: the built expression
    const char* caption;
    quint32 flags;
    bool personal;
};

const Registration kRegistrations[] = {
    {"CxTable_DailyReport", 17109, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_DailyReport", 17110, "dDate", "Дата отчета", 0x8u, false},
    {"CxTable_DailyReport", 19138, "nCrc", "Контрольная сумма", 0x2u, false},
    {"CxTable_DailyReport", 20454, "nProject", "Проект(ы)", 0x4000002u, false},
    {"CxTable_DailyReport", 20454, "nProject", "Проект(ы)", 0x200001u, false},
    {"CxTable_DailyReport", 17111, "nWorker1", "Основной социальный работник", 0x2000002u, false},
    {"CxTable_DailyReport", 17111, "{WORKER1}.cString", "Основной социальный работник", 0x400001u,
     false},
    {"CxTable_DailyReport", 18312, "nWorker2", "Второй социальный работник", 0x2000002u, false},
    {"CxTable_DailyReport", 18312, "{WORKER2}.cString", "Второй социальный работник", 0x400001u,
     false},
    {"CxTable_DailyReport", 18320, "nWorker3", "Третий социальный работник", 0x2000002u, false},
    {"CxTable_DailyReport", 18320, "{WORKER3}.cString", "Третий социальный работник", 0x400001u,
     false},
    {"CxTable_DailyReport", 17114, "nWorkPlace", "Место предоставления услуг", 0x2000002u, false},
    {"CxTable_DailyReport", 17114, "{WORKPLACE}.cString", "Место предоставления услуг", 0x400001u,
     false},
    {"CxTable_DailyReport", 17115, "cComment", "Комментарий", 0x20001u, false},
    {"CxTable_DailyReport", 17306, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_DailyReport", 19286, "nRegionDataID", "Код региона", 0x2u, false},
    {"CxTable_DailyReport", 18721, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_DailyReport", 18722, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_DailyReport", 18316, "{FOLDER}.cComment", "Папка", 0x1u, false},
    {"CxTable_DailyReport", 18316, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_DailyVisitsSubHDR", 18156, "nReportID", "Код отчета", 0x2u, false},
    {"CxTable_DailyVisitsSubHDR", 18157, "nVedID", "Код ведомости", 0x2u, false},
    {"CxTable_DailyVisitsSubHDR", 18158, "nKeyFirst", "Код материала", 0x2u, false},
    {"CxTable_DailyVisitsSubHDR", 18159, "nKeySecond", "Код позиции", 0x2u, false},
    {"CxTable_DailyVisitsSubHDR", 18160, "nWidth", "Ширина колонки", 0x2u, false},
    {"CxTable_DailyVisitsSubHDR", 18161, "nPos", "Позиция сортировки", 0x2u, false},
    {"CxTable_DailyVisitsSubHDR", 18749, "nRegionDataID", "Код региона", 0x2u, false},
    {"CxTable_DailyRedirects", 17123, "nItem", "Материал или услуга", 0x2u, false},
    {"CxTable_DailyRedirects", 17123, "{MATERIAL}.cString", "Материал или услуга", 0x400001u,
     false},
    {"CxTable_DailyRedirects", 17124, "nCount", "Количество", 0x2u, false},
    {"CxTable_DailyRedirects", 18166, "nVedID", "Код ведомости", 0x2u, false},
    {"CxTable_DailyRedirects", 18167, "nConsultKey", "Положение указателя на консультацию", 0x2u,
     false},
    {"CxTable_DailyRedirects", 17116, "nReportID", "Код отчета", 0x2u, false},
    {"CxTable_DailyRedirects", 18701, "{REPORT}.dDate", "Дата визита", 0x8u, false},
    {"CxTable_DailyVisits", 18216, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_DailyVisits", 18702, "nReportID", "Код отчета", 0x2u, false},
    {"CxTable_DailyVisits", 17117, "nClientID", "Код клиента", 0x2u, false},
    {"CxTable_DailyVisits", 17118, "nItem", "Материал или услуга", 0x2000002u, false},
    {"CxTable_DailyVisits", 17118, "{MATERIAL}.cString", "Материал или услуга", 0x400001u, false},
    {"CxTable_DailyVisits", 20738, "nRegionDataID", "Код региона", 0x2u, false},
    {"CxTable_DailyVisits", 17119, "nCount", "Количество", 0x2u, false},
    {"CxTable_DailyVisits", 18455, "", "Количество/услуги", 0x1u, false},
    {"CxTable_DailyVisits", 17120, "NPP", "Номер по порядку", 0x2u, false},
    {"CxTable_DailyVisits", 18147, "nVedID", "Внутренний номер ведомости", 0x2u, false},
    {"CxTable_DailyVisits", 18215, "{REPORT}.dDate", "Дата визита", 0x8u, false},
    {"CxTable_DailyVisits", 18328, "{WORKER1}.cString", "Основной социальный работник", 0x400001u,
     false},
    {"CxTable_DailyVisits", 18329, "{WORKER2}.cString", "Второй социальный работник", 0x400001u,
     false},
    {"CxTable_DailyVisits", 18330, "{WORKER3}.cString", "Третий социальный работник", 0x400001u,
     false},
    {"CxTable_DailyVisits", 18331, "{WORKPLACE}.cString", "Место предоставления услуг", 0x400001u,
     false},
    {"CxTable_DailyVisits", 18332, "{REPORT}.cComment", "Комментарий", 0x1u, false},
    {"CxTable_Dir", 18695, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_Dir", 17014, "nDirType", "Тип справочника", 0x100002u, false},
    {"CxTable_Dir", 17015, "nOrder", "Поле сортировки", 0x2u, false},
    {"CxTable_Dir", 17314, "nRegionDataID", "Код региона", 0x2u, false},
    {"CxTable_Dir", 18173, "cString", "Строка", 0x20001u, false},
    {"CxTable_Dir", 18882, "cFlatCode", "Код вложения", 0x8800001u, false},
    {"CxTable_Dir", 18750, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_Dir", 18750, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_WorkPlace", 17016, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_WorkPlace", 17017, "cString", "Название", 0x20001u, false},
    {"CxTable_WorkPlace", 17018, "cDescription", "Описание", 0x1u, false},
    {"CxTable_WorkPlace", 17129, "nType", "Тип пункта", 0x4000002u, false},
    {"CxTable_WorkPlace", 17129, "nType", "Тип пункта", 0x200001u, false},
    {"CxTable_WorkPlace", 17019, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_WorkPlace", 17317, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_WorkPlace", 18727, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_WorkPlace", 18728, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_WorkPlace", 20072, "nRegionDataID", "Код региона", 0x2u, false},
    {"CxTable_WorkPlace", 20435, "nTown", "Город", 0x2000002u, false},
    {"CxTable_WorkPlace", 20435, "{TOWN}.cFullName", "Город", 0x400001u, false},
    {"CxTable_WorkPlace", 18883, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_WorkPlace", 18298, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_WorkPlace", 18298, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_Workers", 17020, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_Workers", 17023, "cString", "ФИО", 0x20001u, false},
    {"CxTable_Workers", 17024, "cDescription", "Образование, контакты", 0x1u, false},
    {"CxTable_Workers", 17025, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_Workers", 20434, "nConfigGroup", "Специализация", 0x4000002u, false},
    {"CxTable_Workers", 20434, "nConfigGroup", "Специализация", 0x200001u, false},
    {"CxTable_Workers", 18109, "nUsluga", "Услуга", 0x2000002u, false},
    {"CxTable_Workers", 18109, "{SERVICE}.cString", "Услуга", 0x400001u, false},
    {"CxTable_Workers", 18345, "nSpeciality", "Специальность", 0x4000002u, false},
    {"CxTable_Workers", 18345, "nSpeciality", "Специальность", 0x200001u, false},
    {"CxTable_Workers", 17315, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_Workers", 18731, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_Workers", 18732, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_Workers", 18885, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_Workers", 18300, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_Workers", 18300, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_Materials", 17026, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_Materials", 17027, "cString", "Название материала или услуги", 0x20001u, false},
    {"CxTable_Materials", 17028, "cDescription", "Описание материала", 0x1u, false},
    {"CxTable_Materials", 17029, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_Materials", 17030, "nType", "Тип материала или услуги", 0x4000002u, false},
    {"CxTable_Materials", 17030, "nType", "Тип материала или услуги", 0x200001u, false},
    {"CxTable_Materials", 17031, "nPubType", "Тип публикации", 0x4000002u, false},
    {"CxTable_Materials", 17031, "nPubType", "Тип публикации", 0x200001u, false},
    {"CxTable_Materials", 17033, "nAuditory", "Целевая аудитория", 0x4000002u, false},
    {"CxTable_Materials", 17033, "nAuditory", "Целевая аудитория", 0x200001u, false},
    {"CxTable_Materials", 17034, "nCircul", "Тираж", 0x2u, false},
    {"CxTable_Materials", 18110, "{TABLE}.nType&268369920", "Группа материалов", 0x4000002u, false},
    {"CxTable_Materials", 18110, "{TABLE}.nType&268369920", "Группа материалов", 0x200001u, false},
    {"CxTable_Materials", 17309, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_Materials", 18014, "bByCode", "Учет по коду", 0x4000002u, false},
    {"CxTable_Materials", 18014, "bByCode", "Учет по коду", 0x200001u, false},
    {"CxTable_Materials", 18015, "nSpecFlags", "Флаги", 0x2u, false},
    {"CxTable_Materials", 18121, "nConfigGroup", "Группа из конфигурации", 0x4000002u, false},
    {"CxTable_Materials", 18121, "nConfigGroup", "Группа из конфигурации", 0x200001u, false},
    {"CxTable_Materials", 18165, "nSortCode", "Код сортировки", 0x2u, false},
    {"CxTable_Materials", 18471, "nDonorID", "Донор", 0x2000002u, false},
    {"CxTable_Materials", 18471, "{DONOR}.cString", "Донор", 0x400001u, false},
    {"CxTable_Materials", 18729, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_Materials", 18730, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_Materials", 18884, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_Materials", 18299, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_Materials", 18299, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_DrugList", 17035, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_DrugList", 17036, "cString", "Название наркотика", 0x20001u, false},
    {"CxTable_DrugList", 17037, "cDescription", "Описание наркотика", 0x1u, false},
    {"CxTable_DrugList", 17038, "nType", "Тип наркотика", 0x4000002u, false},
    {"CxTable_DrugList", 17038, "nType", "Тип наркотика", 0x200001u, false},
    {"CxTable_DrugList", 17039, "nProdType", "Способ производства", 0x4000002u, false},
    {"CxTable_DrugList", 17039, "nProdType", "Способ производства", 0x200001u, false},
    {"CxTable_DrugList", 17040, "nUseType", "Способ употребления", 0x4000002u, false},
    {"CxTable_DrugList", 17040, "nUseType", "Способ употребления", 0x200001u, false},
    {"CxTable_DrugList", 18733, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_DrugList", 18734, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_DrugList", 17041, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_DrugList", 17319, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_DrugList", 18886, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_DrugList", 18301, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_DrugList", 18301, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_Trainings", 17046, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_Trainings", 17047, "cString", "Тип мероприятия", 0x20001u, false},
    {"CxTable_Trainings", 17048, "cDescription", "Описание", 0x1u, false},
    {"CxTable_Trainings", 17049, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_Trainings", 17323, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_Trainings", 18736, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_Trainings", 18737, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_Trainings", 18887, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_Trainings", 18302, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_Trainings", 18302, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_MatGroups", 17050, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_MatGroups", 17051, "cString", "Название группы материалов", 0x20001u, false},
    {"CxTable_MatGroups", 17052, "cDescription", "Описание группы", 0x1u, false},
    {"CxTable_MatGroups", 17053, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_MatGroups", 17054, "cOtherInfo", "Доп. поля", 0x1u, false},
    {"CxTable_MatGroups", 17312, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_MatGroups", 18738, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_MatGroups", 18739, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_MatGroups", 18888, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_MatGroups", 18304, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_MatGroups", 18304, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_MatPack", 17055, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_MatPack", 17056, "cString", "Название пакета материалов или услуг", 0x20001u, false},
    {"CxTable_MatPack", 17057, "cDescription", "Описание пакета", 0x1u, false},
    {"CxTable_MatPack", 17058, "cOtherInfo", "Доп. поля", 0x1u, false},
    {"CxTable_MatPack", 18039, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_MatPack", 17325, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_MatPack", 18740, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_MatPack", 18741, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_MatPack", 18889, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_MatPack", 18305, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_MatPack", 18305, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_Donors", 18018, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_Donors", 18019, "cString", "Название донора", 0x20001u, false},
    {"CxTable_Donors", 18032, "cDescription", "Описание пакета", 0x1u, false},
    {"CxTable_Donors", 18040, "bHidden", "Скрыт", 0x10000002u, false},
    {"CxTable_Donors", 18026, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_Donors", 18114, "nConfigGroup", "Группа из конфигурации", 0x4000002u, false},
    {"CxTable_Donors", 18114, "nConfigGroup", "Группа из конфигурации", 0x200001u, false},
    {"CxTable_Donors", 18742, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_Donors", 18743, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_Donors", 18890, "cFlatCode", "Код вложения", 0x800001u, false},
    {"CxTable_Donors", 18307, "{FOLDER}.cString", "Папка", 0x1u, false},
    {"CxTable_Donors", 18307, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_StrToID", 20163, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_StrToID", 20166, "nRegionDataID", "Код организации", 0x2000002u, false},
    {"CxTable_StrToID", 20166, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_StrToID", 20164, "nGroupID", "Код группы", 0x2u, false},
    {"CxTable_StrToID", 20165, "cStr", "Строка", 0x20001u, false},
    {"CxTable_Towns", 20430, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_Towns", 20431, "nGroupID", "Код владельца", 0x80002u, false},
    {"CxTable_Towns", 20432, "cShortName", "Город", 0x1u, false},
    {"CxTable_Towns", 20433, "cFullName", "Город, регион", 0x20001u, false},
    {"CxTable_OrgInf", 20758, "ROWID", "Внутренний код", 0x80010002u, false},
    {"CxTable_OrgInf", 20759, "cOrgID", "Код организации", 0x20001u, false},
    {"CxTable_OrgInf", 20760, "cOrgName", "Полное название организации", 0x1u, false},
    {"CxTable_OrgInf", 20761, "cPrjName", "Название проекта", 0x1u, false},
    {"CxTable_OrgInf", 20762, "cSogName", "Номер соглашения", 0x1u, false},
    {"CxTable_OrgInf", 20764, "cCity", "Город", 0x1u, false},
    {"CxTable_OrgInf", 20765, "cRegion", "Область", 0x1u, false},
    {"CxTable_OrgInf", 20766, "cAddress", "Адрес организации", 0x1u, false},
    {"CxTable_OrgInf", 20767, "cPhone", "Телефон", 0x1u, false},
    {"CxTable_OrgInf", 20768, "cEMail", "Электронная почта", 0x1u, false},
    {"CxTable_OrgInf", 20769, "cWWW", "Веб сайт", 0x1u, false},
    {"CxTable_OrgInf", 20770, "cBoss", "Руководитель организации", 0x1u, false},
    {"CxTable_OrgInf", 20771, "cBossPhone", "Мобильный телефон руководителя организации", 0x1u,
     false},
    {"CxTable_OrgInf", 20772, "cProjRuk", "Руководитель проекта", 0x1u, false},
    {"CxTable_OrgInf", 20773, "cProjRukPhone", "Мобильный телефон руководителя проекта", 0x1u,
     false},
    {"CxTable_OrgInf", 20774, "cDonors", "Донор(ы)", 0x1u, false},
    {"CxTable_OrgInf", 20775, "cProjectDate", "Дата начала и окончания проекта", 0x1u, false},
    {"CxTable_ClientData", 17074, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_ClientData", 17075, "cClientCode", "Код клиента", 0x20001u, false},
    {"CxTable_ClientData", 20277, "cOClientCode", "Старый код клиента", 0x1u, false},
    {"CxTable_ClientData", 20084, "cGlobalCode", "Глобальный код клиента", 0x1u, false},
    {"CxTable_ClientData", 17076, "dEnterDate", "Дата ввода данных", 0x8u, false},
    {"CxTable_ClientData", 17077, "dUpdateDate", "Дата последнего обновления данных", 0x8u, false},
    {"CxTable_ClientData", 17078, "dStartInPrjDate", "Дата начала участия в проекте", 0x8u, false},
    {"CxTable_ClientData", 17079, "nBirthYear", "Год рождения", 0x2u, false},
    {"CxTable_ClientData", 18774,
     "(YEAR(CURDATE())-YEAR({TABLE}.dBirthDate))- (RIGHT(CURDATE(),5)<RIGHT({TABLE}.dBirthDate,5))",
     "Возраст по дате рождения", 0x2u, false},
    {"CxTable_ClientData", 18775, "(YEAR(CURDATE())-{TABLE}.nBirthYear)", "Возраст по году", 0x2u,
     false},
    {"CxTable_ClientData", 17080, "nSex", "Пол", 0x4000002u, false},
    {"CxTable_ClientData", 17080, "nSex", "Пол", 0x200001u, false},
    {"CxTable_ClientData", 17081, "cComment", "Комментарий", 0x1u, false},
    {"CxTable_ClientData", 20735, "bNewCode", "Признак новой кодировки", 0x2u, false},
    {"CxTable_ClientData", 17082, "{CLIEXT}.nClientType", "Последняя уязвимая группа", 0x4000002u,
     false},
    {"CxTable_ClientData", 17082, "{CLIEXT}.nClientType", "Последняя уязвимая группа", 0x200001u,
     false},
    {"CxTable_ClientData", 17084, "bSecondary", "Клиент вторичного обмена", 0x4000002u, false},
    {"CxTable_ClientData", 17084, "bSecondary", "Клиент вторичного обмена", 0x200001u, false},
    {"CxTable_ClientData", 20168, "bPDI", "Клиент ПДИ", 0x4000002u, false},
    {"CxTable_ClientData", 20168, "bPDI", "Клиент ПДИ", 0x200001u, false},
    {"CxTable_ClientData", 17789, "cSurname", "Фамилия", 0x1u, true},
    {"CxTable_ClientData", 17791, "cName", "Имя", 0x1u, true},
    {"CxTable_ClientData", 17792, "cPatname", "Отчество", 0x1u, true},
    {"CxTable_ClientData", 18308, "nSocRab", "Социальный работник", 0x2000002u, false},
    {"CxTable_ClientData", 18308, "{SOCRAB}.cString", "Социальный работник", 0x400001u, false},
    {"CxTable_ClientData", 18308, "{SOCRAB}.cFlatCode", "Социальный работник", 0x800001u, false},
    {"CxTable_ClientData", 17788, "dBirthDate", "Дата рождения", 0x8u, false},
    {"CxTable_ClientData", 17281, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_ClientData", 18723, "nRegionDataID", "Код организации", 0x2000002u, false},
    {"CxTable_ClientData", 18723, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_ClientData", 18724, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_ClientData", 20003, "cAIDSCode", "Код клиента в СПИД-центре", 0x1u, false},
    {"CxTable_ClientData", 17282, "{FOLDER}.cClientCode", "Папка", 0x1u, false},
    {"CxTable_ClientData", 17282, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_ClientDataChanges", 18016, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_ClientDataChanges", 18004, "nClientID", "Код клиента", 0x2u, false},
    {"CxTable_ClientDataChanges", 18005, "dDate", "Дата", 0x8u, false},
    {"CxTable_ClientDataChanges", 18006, "cComment", "Комментарий", 0x1u, true},
    {"CxTable_ClientDataChanges", 18007, "nClientType", "Основная уязвимая группа", 0x4000002u,
     false},
    {"CxTable_ClientDataChanges", 18007, "nClientType", "Основная уязвимая группа", 0x200001u,
     false},
    {"CxTable_ClientDataChanges", 20161, "nClientType2", "Дополнительные уязвимые группы",
     0x4000002u, false},
    {"CxTable_ClientDataChanges", 20161, "nClientType2", "Дополнительные уязвимые группы",
     0x200001u, false},
    {"CxTable_ClientDataChanges", 18008, "cAddress", "Адрес", 0x1u, true},
    {"CxTable_ClientDataChanges", 18342, "nLastLinkID", "Запись для показа", 0x40000002u, false},
    {"CxTable_RiskBehavior", 17059, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_RiskBehavior", 17060, "nUseDirtySyr",
     "Использовал нестерильный чужой шприц или иглу?", 0x4000002u, false},
    {"CxTable_RiskBehavior", 17060, "nUseDirtySyr",
     "Использовал нестерильный чужой шприц или иглу?", 0x200001u, false},
    {"CxTable_RiskBehavior", 17061, "nDesinfectionWay", "Метод дезинфекции", 0x4000002u, false},
    {"CxTable_RiskBehavior", 17061, "nDesinfectionWay", "Метод дезинфекции", 0x200001u, false},
    {"CxTable_RiskBehavior", 17062, "nGivingUsed", "Давал использованные шприцы кому-либо?",
     0x4000002u, false},
    {"CxTable_RiskBehavior", 17062, "nGivingUsed", "Давал использованные шприцы кому-либо?",
     0x200001u, false},
    {"CxTable_RiskBehavior", 17063, "nLastInjectWith", "Последняя инъекция", 0x4000002u, false},
    {"CxTable_RiskBehavior", 17063, "nLastInjectWith", "Последняя инъекция", 0x200001u, false},
    {"CxTable_RiskBehavior", 17064, "nUsingCondom",
     "Использовал(а) презерватив во время последнего полового акта?", 0x4000002u, false},
    {"CxTable_RiskBehavior", 17064, "nUsingCondom",
     "Использовал(а) презерватив во время последнего полового акта?", 0x200001u, false},
    {"CxTable_RiskBehavior", 17065, "nLastSexualPart", "Последний сексуальный партнер", 0x4000002u,
     false},
    {"CxTable_RiskBehavior", 17065, "nLastSexualPart", "Последний сексуальный партнер", 0x200001u,
     false},
    {"CxTable_RiskBehavior", 17066, "dUpdateDate", "Дата заполнения рискованного поведения", 0x8u,
     false},
    {"CxTable_RiskBehavior", 18391, "dDate", "Дата", 0x8u, false},
    {"CxTable_RiskBehavior", 18339, "nLastLinkID", "Запись для показа", 0x40000002u, false},
    {"CxTable_RiskBehavior", 18392, "nClientID", "Код клиента", 0x2u, false},
    {"CxTable_DrugUseData", 17067, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_DrugUseData", 18336, "dDate", "Дата", 0x8u, false},
    {"CxTable_DrugUseData", 17068, "nBasicDrug", "Основной наркотик", 0x2000002u, false},
    {"CxTable_DrugUseData", 17068, "{BASICDRUG}.cString", "Основной наркотик", 0x400001u, false},
    {"CxTable_DrugUseData", 17068, "{BASICDRUG}.cFlatCode", "Основной наркотик", 0x800001u, false},
    {"CxTable_DrugUseData", 17069, "nMainRoute", "Способ употребления основного наркотика",
     0x4000002u, false},
    {"CxTable_DrugUseData", 17069, "nMainRoute", "Способ употребления основного наркотика",
     0x200001u, false},
    {"CxTable_DrugUseData", 17070, "nUseFrequency", "Частота употребления", 0x4000002u, false},
    {"CxTable_DrugUseData", 17070, "nUseFrequency", "Частота употребления", 0x200001u, false},
    {"CxTable_DrugUseData", 17130, "nSecondaryDrug", "Вторичный наркотик", 0x2000002u, false},
    {"CxTable_DrugUseData", 17130, "{SECONDARYDRUG}.cString", "Вторичный наркотик", 0x400001u,
     false},
    {"CxTable_DrugUseData", 17130, "{SECONDARYDRUG}.cFlatCode", "Вторичный наркотик", 0x800001u,
     false},
    {"CxTable_DrugUseData", 17071, "nParticipation", "Участие в заместительной терапии", 0x4000002u,
     false},
    {"CxTable_DrugUseData", 17071, "nParticipation", "Участие в заместительной терапии", 0x200001u,
     false},
    {"CxTable_DrugUseData", 17072, "nDrugStartDate", "Год начала употребления наркотика", 0x2u,
     false},
    {"CxTable_DrugUseData", 17073, "dUpdateDate",
     "Дата заполнения информация о употреблении наркотиков", 0x8u, false},
    {"CxTable_DrugUseData", 18333, "nDonorID", "Источник финансирования ЗТ", 0x2000002u, false},
    {"CxTable_DrugUseData", 18333, "{DONORS}.cString", "Источник финансирования ЗТ", 0x400001u,
     false},
    {"CxTable_DrugUseData", 18333, "{DONORS}.cFlatCode", "Источник финансирования ЗТ", 0x800001u,
     false},
    {"CxTable_DrugUseData", 18338, "nLastLinkID", "Запись для показа", 0x40000002u, false},
    {"CxTable_DrugUseData", 18337, "nClientID", "Код клиента", 0x2u, false},
    {"CxTable_SocialStatus", 17086, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_SocialStatus", 18081, "dDate", "Дата", 0x8u, false},
    {"CxTable_SocialStatus", 17087, "nEploymentStatus", "Трудоустройство", 0x4000002u, false},
    {"CxTable_SocialStatus", 17087, "nEploymentStatus", "Трудоустройство", 0x200001u, false},
    {"CxTable_SocialStatus", 17088, "cOtherEployment", "Название работы", 0x1u, false},
    {"CxTable_SocialStatus", 17089, "nPlaceOfLiving", "Место жительства", 0x4000002u, false},
    {"CxTable_SocialStatus", 17089, "nPlaceOfLiving", "Место жительства", 0x200001u, false},
    {"CxTable_SocialStatus", 17090, "nEducationLevel", "Образование", 0x4000002u, false},
    {"CxTable_SocialStatus", 17090, "nEducationLevel", "Образование", 0x200001u, false},
    {"CxTable_SocialStatus", 17091, "nLegalProblem", "Проблемы с законом", 0x4000002u, false},
    {"CxTable_SocialStatus", 17091, "nLegalProblem", "Проблемы с законом", 0x200001u, false},
    {"CxTable_SocialStatus", 17092, "nChildCount", "Количество детей", 0x2u, false},
    {"CxTable_SocialStatus", 17093, "dUpdateDate", "Дата заполнения социального статуса", 0x8u,
     false},
    {"CxTable_SocialStatus", 17094, "bRegPolice", "На учете в милиции", 0x4000002u, false},
    {"CxTable_SocialStatus", 17094, "bRegPolice", "На учете в милиции", 0x200001u, false},
    {"CxTable_SocialStatus", 17095, "bNarcoDisp", "На учете в наркодиспансере", 0x4000002u, false},
    {"CxTable_SocialStatus", 17095, "bNarcoDisp", "На учете в наркодиспансере", 0x200001u, false},
    {"CxTable_SocialStatus", 18974, "nOtherReg", "Прочая регистрация", 0x4000002u, false},
    {"CxTable_SocialStatus", 18974, "nOtherReg", "Прочая регистрация", 0x200001u, false},
    {"CxTable_SocialStatus", 18017, "nClientID", "Код клиента", 0x2u, false},
    {"CxTable_SocialStatus", 18087, "bVolonter", "Стал волонтером", 0x4000002u, false},
    {"CxTable_SocialStatus", 18087, "bVolonter", "Стал волонтером", 0x200001u, false},
    {"CxTable_SocialStatus", 18340, "nLastLinkID", "Запись для показа", 0x40000002u, false},
    {"CxTable_HealthStatus", 17096, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_HealthStatus", 17097, "nClientID", "Код клиента", 0x2u, false},
    {"CxTable_HealthStatus", 17098, "nDisease", "Код заболевания", 0x4000002u, false},
    {"CxTable_HealthStatus", 17098, "nDisease", "Код заболевания", 0x200001u, false},
    {"CxTable_HealthStatus", 17099, "nStatus", "Статус болезни", 0x4000002u, false},
    {"CxTable_HealthStatus", 17099, "nStatus", "Статус болезни", 0x200001u, false},
    {"CxTable_HealthStatus", 17131, "nTreatmentStartDate", "Дата начала лечения", 0x2u, false},
    {"CxTable_TrainingList", 17100, "ROWID", "Внутренний код", 0x10002u, false},
    {"CxTable_TrainingList", 18930, "nTrainingType", "Тип тренинга", 0x4000002u, false},
    {"CxTable_TrainingList", 18930, "nTrainingType", "Тип тренинга", 0x200001u, false},
    {"CxTable_TrainingList", 17101, "nTopicID", "Тема", 0x2000002u, false},
    {"CxTable_TrainingList", 17101, "{TRAININGS}.cString", "Тема", 0x400001u, false},
    {"CxTable_TrainingList", 17101, "{TRAININGS}.cFlatCode", "Тема", 0x800001u, false},
    {"CxTable_TrainingList", 18033, "nDonorID", "Источник финансирования", 0x2000002u, false},
    {"CxTable_TrainingList", 18033, "{DONORS}.cString", "Источник финансирования", 0x400001u,
     false},
    {"CxTable_TrainingList", 18033, "{DONORS}.cFlatCode", "Источник финансирования", 0x800001u,
     false},
    {"CxTable_TrainingList", 17102, "nNumberOfClients", "Количество слушателей", 0x2u, false},
    {"CxTable_TrainingList", 17103, "nTimeInHours", "Длительность в часах", 0x2u, false},
    {"CxTable_TrainingList", 20632, "ROUND({TABLE}.nTimeInHours/8,1)", "Длительность в днях", 0x4u,
     false},
    {"CxTable_TrainingList", 17104, "dDate", "Дата проведения", 0x8u, false},
    {"CxTable_TrainingList", 17105, "cTrainers", "Имена тренеров", 0x1u, false},
    {"CxTable_TrainingList", 17106, "cComment", "Комментарий", 0x1u, false},
    {"CxTable_TrainingList", 17107, "nForType", "Целевая аудитория", 0x4000002u, false},
    {"CxTable_TrainingList", 17107, "nForType", "Целевая аудитория", 0x200001u, false},
    {"CxTable_TrainingList", 17108, "cName", "Название", 0x1u, false},
    {"CxTable_TrainingList", 17630, "cFCompanyName", "Название компании", 0x1u, false},
    {"CxTable_TrainingList", 18315, "bIsFolder", "Признак папки", 0x40002u, false},
    {"CxTable_TrainingList", 20733, "nRegionDataID", "Код региона", 0x2u, false},
    {"CxTable_TrainingList", 18725, "{RGCODE}.cOrgID", "Код организации", 0x400001u, false},
    {"CxTable_TrainingList", 18726, "{RGCODE}.cOrgName", "Название организации", 0x400001u, false},
    {"CxTable_TrainingList", 18311, "{FOLDER}.cName", "Папка", 0x1u, false},
    {"CxTable_TrainingList", 18311, "nGroupID", "Папка", 0x80002u, false},
    {"CxTable_TrainingsSubData", 18088, "nTrainingID", "Тренинг", 0x2000002u, false},
    {"CxTable_TrainingsSubData", 18088, "{TRAINING}.cName", "Тренинг", 0x400001u, false},
    {"CxTable_TrainingsSubData", 18089, "nClientID", "Клиент", 0x2000002u, false},
    {"CxTable_TrainingsSubData", 18089, "{CLIENTDATA}.cClientCode", "Клиент", 0x400001u, false},
};

CxTable* TableByClass(const QString& cls) {
    for (CxTable* t : KeldaTables())
        if (QStringLiteral("CxTable_") + t->GetName() == cls)
            return t;
    return nullptr;
}

// The configuration in use while the set is built: a few list items, a text
// with a quote and a backslash, an empty list, material groups.
const char kConfiguration[] =
    "<CONFIGURATION><LANGUAGE>\n"
    "<PRJLIST><Item ID='1' Title='Проект «Альфа»'/></PRJLIST>\n"
    "<WORKERTYPE><Item ID='1' Title='Аутрич'/></WORKERTYPE>\n"
    "<SPECIALITY><Item ID='1' Title='Врач'/></SPECIALITY>\n"
    "<DONORS><Item ID='1' Title=\"Фонд O'Hara \\\"/></DONORS>\n"
    "<PARTICIPANTPROGRAM><Item ID='2' Title='Метадон'/></PARTICIPANTPROGRAM>\n"
    "<DIRECTIONANDCONSULTING></DIRECTIONANDCONSULTING>\n"
    "<MATGROUPS><Item ID='1' Title='Шприцы'/><Item ID='2' Title='Консультации'/>\n"
    "<Item ID='65537' Title='Шприц' Group='1'/><Item ID='458753' Title='Консультация' Group='2'/>\n"
    "</MATGROUPS></LANGUAGE></CONFIGURATION>\n";

void UseConfiguration(const char* document) {
    auto* config = new xKDConfiguration;
    QVERIFY(config->ParseConfig(QString::fromUtf8(document), QStringLiteral("test")));
    CTarvikApp::SetConfig(config);
    // Descriptors keep the lists of the configuration they were built with.
    if (!KeldaTables().isEmpty())
        g_SelfTablesKelda.Init(0);
}

QStringList Column(CxResult& r, const QString& name) {
    QStringList values;
    r.FetchRow(0);
    do
        values << r.SFieldValue(name);
    while (r.FetchRow());
    return values;
}
} // namespace

class TestTableSet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void registerOnlyCreatesNothing();
    void buildsTheSet();
    void registrations_data();
    void registrations();
    void queriesRun_data();
    void queriesRun();
    void joinsResolve();
    void viewsSeeOnlyTheirKind_data();
    void viewsSeeOnlyTheirKind();
    void subTablesAndLinks();
    void rebuildReplacesTheSet();
    void materialGroupScript();
    void materialGroupTable();
    void cleanupTestCase();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
    CxResult Run(const QString& sql) {
        CxResult r = m_db->Connection()->Execute(sql);
        if (!r.isValid())
            qWarning().noquote() << sql << m_db->Connection()->GetSqlErrorString();
        return r;
    }
};

void TestTableSet::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>("tables");
    FillDescribedTables(*m_db);
    UseConfiguration(kConfiguration);
}

void TestTableSet::cleanupTestCase() {
    g_pBaseSQLConnection.reset();
    m_db.reset();
    CTarvikApp::SetConfig(nullptr);
    g_SelfTablesKelda.Init(0); // no descriptor keeps a list of the configuration gone
}

void TestTableSet::registerOnlyCreatesNothing() {
    CSelfRegisterObject::RegisterAll();
    QVERIFY(CGlobalRegisterObject::Objects(SELFREG_TABLES).contains(&g_SelfTablesKelda));
    QVERIFY(KeldaTables().isEmpty());
    QVERIFY(!g_pDailyReportTable.GetPtr());
}

void TestTableSet::buildsTheSet() {
    QVERIFY(InitTables());
    QCOMPARE(KeldaTables().size(), 24);
}

void TestTableSet::registrations_data() {
    QTest::addColumn<QString>("cls");
    QString last;
    for (const Registration& r : kRegistrations)
        if (last != QLatin1String(r.table))
            QTest::newRow(r.table) << (last = QLatin1String(r.table));
}

void TestTableSet::registrations() {
    QFETCH(QString, cls);
    CxTable* table = TableByClass(cls);
    QVERIFY(table);
    QList<const Registration*> expected;
    for (const Registration& r : kRegistrations)
        if (cls == QLatin1String(r.table))
            expected << &r;
    const QList<CxField*>& fields = table->GetFields();
    QCOMPARE(fields.size(), expected.size());
    for (int i = 0; i < fields.size(); ++i) {
        const Registration& e = *expected[i];
        const CxField* f = fields[i];
        const QString where = QStringLiteral("%1 #%2").arg(cls).arg(i + 1);
        QVERIFY2(f->GetID() == e.id, qPrintable(where));
        if (*e.column)
            QCOMPARE(f->GetColumn(), QString::fromUtf8(e.column));
        QCOMPARE(f->GetCaption(), QString::fromUtf8(e.caption));
        QVERIFY2(f->GetFlags() == e.flags, qPrintable(where));
        QCOMPARE(f->HasAttribute(ATTR_SHARED), !e.personal);
        QVERIFY(f->HasAttribute(ATTR_BASE));
        // Every code field has what turns it into text.
        if (f->Is(FF_LOOKUP))
            QVERIFY2(f->GetLookupTable(), qPrintable(where));
        if (f->GetFlags() & (FF_ENUM | FF_ENUMTEXT))
            QVERIFY2(f->GetEnum(), qPrintable(where));
    }
    // A table with folders: the folder-name column is marked, the pair ends it.
    if (table->HasFolders()) {
        QVERIFY(table->GetFolderNameField());
        QVERIFY(fields.last()->Is(FF_PARENT));
        QCOMPARE(fields[fields.size() - 2]->GetColumn().left(9), QString("{FOLDER}."));
    }
}

void TestTableSet::queriesRun_data() {
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("sqlTable");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("rows");
    const QString dirs = "opendoc:CJDirectories:CJDirectoriesTab_%1:%d:%d";
    auto row = [](const char* cls, const char* sql, const char* caption, QString filter,
                  QString address, int rows) {
        QTest::newRow(cls) << QString(cls) << QString(sql) << QString::fromUtf8(caption) << filter
                           << address << rows;
    };
    row("CxTable_ClientData", "clientdata", "Клиенты", {}, "opendoc:CJClients:%d:%d", 3);
    row("CxTable_ClientDataChanges", "clientdatachanges", "Клиенты. Последние данные", {}, {}, 2);
    row("CxTable_RiskBehavior", "riskbehavior", "Рискованное поведение", {}, {}, 1);
    row("CxTable_DrugUseData", "drugusedata", "Информация о употреблении наркотиков", {}, {}, 1);
    row("CxTable_SocialStatus", "socialstatus", "Социальный статус", {}, {}, 1);
    row("CxTable_HealthStatus", "healthstatus", "Состояние здоровья", {}, {}, 1);
    row("CxTable_TrainingList", "traininglist", "Тренинги", {}, {}, 2);
    row("CxTable_TrainingsSubData", "trainingssubdata", "Клиенты тренингов", {}, {}, 1);
    row("CxTable_DailyReport", "dailyreport", "Ежедневный отчет", {}, {}, 2);
    row("CxTable_DailyVisitsSubHDR", "dailyvisitssubhdr", "Внутрення дополнительная таблица", {},
        {}, 2);
    row("CxTable_DailyRedirects", "dailyredirects", "Консультации и перенаправления клиентов", {},
        {}, 1);
    row("CxTable_DailyVisits", "dailyvisits", "Визиты клиентов", {}, {}, 4);
    row("CxTable_Dir", "dir", "Справочники", {}, {}, 13);
    row("CxTable_WorkPlace", "dir", "Пункты предоставления услуг", "{TABLE}.nDirType=1",
        dirs.arg("Posh"), 1);
    row("CxTable_Materials", "dir", "Раздаточные материалы", "{TABLE}.nDirType=3", dirs.arg("Mat"),
        3);
    row("CxTable_Workers", "dir", "Социальные работники", "{TABLE}.nDirType=2", dirs.arg("Soc"), 3);
    row("CxTable_DrugList", "dir", "Наркотические вещества", "{TABLE}.nDirType=4", dirs.arg("Drug"),
        1);
    row("CxTable_Trainings", "dir", "Типы (тренинги, занятия)", "{TABLE}.nDirType=7",
        dirs.arg("Training"), 1);
    row("CxTable_MatGroups", "dir", "Группы материалов", "{TABLE}.nDirType=10",
        dirs.arg("MatGroup"), 1);
    row("CxTable_MatPack", "dir", "Пакет материалов и услуг", "{TABLE}.nDirType=11",
        dirs.arg("MatPack"), 1);
    row("CxTable_Donors", "dir", "Источники финансирования", "{TABLE}.nDirType=12",
        dirs.arg("Donors"), 1);
    row("CxTable_StrToID", "strtoid", "Преобразование строк в число", {}, {}, 1);
    row("CxTable_Towns", "towns", "Города", {}, {}, 2);
    row("CxTable_OrgInf", "orginf", "Ифн. об организации", {}, {}, 2);
}

void TestTableSet::queriesRun() {
    QFETCH(QString, cls);
    QFETCH(QString, sqlTable);
    QFETCH(QString, caption);
    QFETCH(QString, filter);
    QFETCH(QString, address);
    QFETCH(int, rows);
    CxTable* table = TableByClass(cls);
    QVERIFY(table);
    QCOMPARE(table->GetSQLTable(), sqlTable);
    QCOMPARE(table->GetCaption(), caption);
    QCOMPARE(table->GetFilter(), filter);
    QCOMPARE(table->GetRecordAddress(), address);
    QCOMPARE(table->HasAttribute(ATTR_SHARED), cls != "CxTable_Towns");
    QCOMPARE(table->HasAttribute(ATTR_CLIENTS), cls == "CxTable_ClientData");
    QCOMPARE(table->IsFilledFromConfig(), cls == "CxTable_Towns" ? 1 : 0);

    CxResult list = Run(table->BuildListSelect());
    QVERIFY(list.isValid());
    QCOMPARE(list.RowsCount(), qint64(rows));
    QCOMPARE(list.FieldsCount(), int(table->GetFields().size()));
    for (int i = 0; i < list.FieldsCount(); ++i)
        QCOMPARE(list.FieldName(i), table->GetFields()[i]->GetResultName());

    // One record: by key, or by the first column for the tables without one.
    list.FetchRow(0);
    CxResult record;
    if (const CxField* key = table->GetKeyField()) {
        record = Run(table->BuildRecordSelect(qint64(list.LFieldValue(key->GetResultName()))));
    } else {
        const CxField* first = table->GetFields().first();
        record = Run(table->BuildRecordSelect(
            QStringLiteral("{TABLE}.%1=%2").arg(first->GetColumn()).arg(list.LFieldValue(0))));
    }
    QVERIFY(record.isValid());
    QVERIFY(record.RowsCount() >= 1);
    QCOMPARE(record.FieldsCount(), list.FieldsCount());
}

void TestTableSet::joinsResolve() {
    CxResult r = Run(g_pDailyReportTable->BuildRecordSelect(2));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("WORKER1_cString"), QString("Работник А"));
    QCOMPARE(r.SFieldValue("WORKER2_cString"), QString("Работник Б"));
    QVERIFY(r.IsNull(r.FieldPos("WORKER3_cString")));
    QCOMPARE(r.SFieldValue("WORKPLACE_cString"), QString("Пункт"));
    QCOMPARE(r.SFieldValue("RGCODE_cOrgID"), QString("OWN")); // organisation 0 is the own one
    QCOMPARE(r.SFieldValue("FOLDER_cComment"), QString("Папка отчетов"));
    QCOMPARE(r.SFieldValue("nProject_text"), QString("Проект «Альфа»"));

    // Workers and service point through the report's alias; the cell column.
    r = Run(g_pDailyVisitsTable->BuildListSelect(-1, "{TABLE}.ROWID<=4"));
    QHash<long, QStringList> cells;
    while (r.FetchRow())
        cells[r.LFieldValue("ROWID")] = {
            r.SFieldValue("MATERIAL_cString"), r.SFieldValue("x18455"),
            r.SFieldValue("REPORT_dDate"),     r.SFieldValue("WORKER1_cString"),
            r.SFieldValue("WORKER2_cString"),  r.SFieldValue("WORKPLACE_cString"),
            r.SFieldValue("REPORT_cComment")};
    QCOMPARE(cells[1], QStringList({"Шприц", "5", "2021-03-04", "Работник А", "Работник Б", "Пункт",
                                    "Отчет"}));
    QCOMPARE(cells[2].at(1), QString("1")); // a service counts once
    QCOMPARE(cells[4].at(1), QString("0")); // an empty cell
    QString flags;
    QVERIFY(g_pConsAndDir.Get()->GetValueText(5, flags));
    QCOMPARE(cells[3].at(1), flags); // a consultation shows its flags, not the count
    QCOMPARE(g_pDailyVisitsTable->GetJoins().size(), 7); // MATERIAL once, CLIENT, REPORT, ...

    r = Run(g_pClientDataTable->BuildRecordSelect(2));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.LFieldValue("CLIEXT_nClientType"), 1L); // the newest history row
    QCOMPARE(r.SFieldValue("CLIEXT_nClientType_text"), g_pClientGroup.Get()->IDToString(1));
    QCOMPARE(r.SFieldValue("nSex_text"), g_pSex.Get()->IDToString(1));
    QCOMPARE(r.SFieldValue("SOCRAB_cString"), QString("Работник А"));
    QCOMPARE(r.SFieldValue("FOLDER_cClientCode"), QString("Папка клиентов"));
    r = Run(g_pClientDataTable->BuildRecordSelect(3));
    QVERIFY(r.FetchRow());
    QVERIFY(r.IsNull(r.FieldPos("CLIEXT_nClientType"))); // no newest row
    QCOMPARE(r.SFieldValue("RGCODE_cOrgName"), QString("Чужая"));

    r = Run(g_pWorkPlaceTable->BuildRecordSelect(1));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("TOWN_cFullName"), QString("Город, Область"));
    r = Run(g_pWorkersTable->BuildRecordSelect(3));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("SERVICE_cString"), QString("Консультация"));
    QCOMPARE(r.SFieldValue("FOLDER_cString"), QString("Папка работников"));
    QCOMPARE(r.SFieldValue("nConfigGroup_text"), QString("Аутрич"));
    QCOMPARE(r.SFieldValue("nSpeciality_text"), QString("Врач"));
    r = Run(g_pDonorsTable->BuildRecordSelect(12));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("nConfigGroup_text"), QString("Фонд O'Hara \\"));

    r = Run(g_pTrainingListTable->BuildRecordSelect(2));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("TRAININGS_cString"), QString("Тренинг"));
    QCOMPARE(r.SFieldValue("DONORS_cString"), QString("Донор"));
    QCOMPARE(r.DFieldValue("x20632"), 1.5); // 12 hours

    r = Run(g_pTrainingsSubDataTable->BuildListSelect());
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("TRAINING_cName"), QString("Занятие"));
    QCOMPARE(r.SFieldValue("CLIENTDATA_cClientCode"), QString("АБВ0190Ч"));

    r = Run(g_pDrugUseDataTable->BuildListSelect());
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("BASICDRUG_cString"), QString("Героин"));
    QCOMPARE(r.SFieldValue("DONORS_cString"), QString("Донор"));

    r = Run(g_pMaterialsTable->BuildRecordSelect(7));
    QVERIFY(r.FetchRow());
    QCOMPARE(r.LFieldValue("x18110"), 262144L); // the kind without its subtype
    QCOMPARE(r.SFieldValue("x18110_text"), g_pMaterialType.Get()->IDToString(262144));
    QVERIFY(!r.SFieldValue("x18110_text").isEmpty());
    QCOMPARE(r.SFieldValue("nType_text"), g_pMaterialType.Get()->IDToString(262145));
    QCOMPARE(r.SFieldValue("nConfigGroup_text"), QString()); // an empty list
    r = Run(g_pDailyRedirectsTable->BuildListSelect());
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("MATERIAL_cString"), QString("Консультация"));
    QCOMPARE(r.SFieldValue("REPORT_dDate"), QString("2021-03-04"));
    r = Run(g_pStrToIDTable->BuildListSelect());
    QVERIFY(r.FetchRow());
    QCOMPARE(r.SFieldValue("RGCODE_cOrgID"), QString("ORG7"));
}

void TestTableSet::viewsSeeOnlyTheirKind_data() {
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QStringList>("rowids");
    QTest::newRow("Dir") << "CxTable_Dir" << QStringList{"1", "2", "3",  "4",  "5",  "6", "7",
                                                         "8", "9", "10", "11", "12", "13"};
    QTest::newRow("WorkPlace") << "CxTable_WorkPlace" << QStringList{"1"};
    QTest::newRow("Workers") << "CxTable_Workers" << QStringList{"2", "3", "4"};
    QTest::newRow("Materials") << "CxTable_Materials" << QStringList{"5", "6", "7"};
    QTest::newRow("DrugList") << "CxTable_DrugList" << QStringList{"8"};
    QTest::newRow("Trainings") << "CxTable_Trainings" << QStringList{"10"};
    QTest::newRow("MatGroups") << "CxTable_MatGroups" << QStringList{"11"};
    QTest::newRow("MatPack") << "CxTable_MatPack" << QStringList{"13"};
    QTest::newRow("Donors") << "CxTable_Donors" << QStringList{"12"};
}

void TestTableSet::viewsSeeOnlyTheirKind() {
    QFETCH(QString, cls);
    QFETCH(QStringList, rowids);
    CxTable* table = TableByClass(cls);
    CxSelectOptions options;
    options.orderBy = "{TABLE}.ROWID";
    CxResult r = Run(table->BuildSelect(options));
    QVERIFY(r.isValid());
    QCOMPARE(Column(r, "ROWID"), rowids);
    // The folder tree of a kind holds its own folders only.
    r = Run(table->BuildListSelect(0, "{TABLE}.bIsFolder=1"));
    QCOMPARE(r.RowsCount(), qint64(cls == "CxTable_Workers" || cls == "CxTable_Dir" ? 1 : 0));
}

void TestTableSet::subTablesAndLinks() {
    const QList<CxSubTable>& subs = g_pClientDataTable->GetSubTables();
    QCOMPARE(subs.size(), 9);
    QCOMPARE(subs[0].table, static_cast<CxTable*>(g_pClientDataChangesTable));
    QCOMPARE(subs[0].link, QString("{MAINTABLE}.ROWID={TABLE}.nLastLinkID"));
    QCOMPARE(subs[1].link, QString("{MAINTABLE}.ROWID={TABLE}.nClientID"));
    QCOMPARE(subs[8].table, static_cast<CxTable*>(g_pHealthStatusTable));
    // The newest history row, then every history row of client 2.
    CxResult r = Run(g_pClientDataTable->BuildSubTableSelect(0, 2));
    QCOMPARE(r.RowsCount(), 1);
    r = Run(g_pClientDataTable->BuildSubTableSelect(1, 2));
    QCOMPARE(r.RowsCount(), 2);
    for (int i = 0; i < subs.size(); ++i)
        QVERIFY(Run(g_pClientDataTable->BuildSubTableSelect(i, 3)).isValid());

    // 31 links between tables and the twelve folder links.
    const QList<CxLink>& links = g_pDatabase->GetLinks();
    QCOMPARE(links.size(), 43);
    int folderLinks = 0;
    for (const CxLink& l : links) {
        QVERIFY(l.master && l.detail);
        QVERIFY(l.master->Is(FF_KEY));
        if (l.master->GetTable() == l.detail->GetTable()) {
            ++folderLinks;
            QVERIFY(l.detail->Is(FF_PARENT));
        }
    }
    QCOMPARE(folderLinks, 12);
    QCOMPARE(links[30 + folderLinks].detail->GetTable(), static_cast<CxTable*>(g_pStrToIDTable));
}

void TestTableSet::rebuildReplacesTheSet() {
    g_SelfTablesKelda.Init(0);
    QCOMPARE(KeldaTables().size(), 24);
    const QList<CxTable*> tables = KeldaTables();
    QCOMPARE(g_pDatabase->GetLinks().size(), 43);
    for (const CxLink& l : g_pDatabase->GetLinks())
        QVERIFY(tables.contains(l.master->GetTable()) && tables.contains(l.detail->GetTable()));
    // The lookups name the current descriptors.
    QCOMPARE(g_pDailyReportTable->FindField("nWorker1")->GetLookupTable(),
             static_cast<CxTable*>(g_pWorkersTable));
}

void TestTableSet::materialGroupScript() {
    QCOMPARE(MaterialGroupsScript({{1, 0}, {2, 0}, {65537, 1}, {131073, 2}}),
             QString("$$$!CREATE TEMPORARY TABLE $$$ AS SELECT 0 AS bServ, ROWID,"
                     "IF(dir.nType=65537,1,IF(dir.nType=131073,2,-1)) AS nMatGroup FROM dir WHERE "
                     "((dir.nType=65537) OR (dir.nType=131073)) AND dir.nDirType=3 @\n"
                     "!CREATE UNIQUE INDEX i_$$$ ON $$$ (ROWID)"));
    QVERIFY(MaterialGroupsScript({{1, 0}, {65537, 0}}).isEmpty());
    QVERIFY(MaterialGroupsScript({}).isEmpty());
}

void TestTableSet::materialGroupTable() {
    // Only group entries: nothing maps a material.
    UseConfiguration("<CONFIGURATION><LANGUAGE><MATGROUPS><Item ID='1' Title='A'/>"
                     "<Item ID='65537' Title='B'/></MATGROUPS></LANGUAGE></CONFIGURATION>");
    QVERIFY(BuildMaterialGroupsScript(m_db->Connection()).isEmpty());
    QVERIFY(CSQLWinAppExt::GetSQLAppExt()->GetTemporaryTables().isEmpty());
    UseConfiguration(kConfiguration);

    // A material of another kind (dir 9 has nDirType 5) never enters, nor a
    // material whose type has no item.
    m_db->Exec("UPDATE dir SET nType=65537 WHERE ROWID=9");
    const QString name = BuildMaterialGroupsScript(m_db->Connection());
    QVERIFY(!name.isEmpty());
    CxResult r = Run("SELECT bServ, ROWID, nMatGroup FROM " + name + " ORDER BY ROWID");
    QStringList rows;
    while (r.FetchRow())
        rows
            << QStringLiteral("%1,%2,%3").arg(r.SFieldValue(0), r.SFieldValue(1), r.SFieldValue(2));
    QCOMPARE(rows, QStringList({"0,5,2", "0,6,1"}));
    CSQLWinAppExt::GetSQLAppExt()->RemoveTemporaryTables(m_db->Connection());
}

QTEST_GUILESS_MAIN(TestTableSet)
#include "test_table_set.moc"
