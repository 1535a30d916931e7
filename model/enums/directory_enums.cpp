#include "directory_enums.h"

#include "enum_fill.h"

CxObjAutoAlloc<xPubType> g_pPubType;
CxObjAutoAlloc<xBookAUID> g_pBookAUID;
CxObjAutoAlloc<xNodeType> g_pNodeType;
CxObjAutoAlloc<xConsAndDir> g_pConsAndDir;
CxObjAutoAlloc<xTrainingFor> g_pTrainingFor;
CxObjAutoAlloc<xTrainingType> g_pTrainingType;
CxObjAutoAlloc<xOrgInfoFields> g_pOrgInfoFields;
CxObjAutoAlloc<xDirectories> g_pDirectories;

namespace {
const EnumItemDef kPubTypeItems[] = {
    {1, "Pereodical", "msgGen_periodiches_806585825", "Периодическое издание"},
    {2, "Thematical", "msgGen_tematichesk_1024006012", "Тематическое издание"},
    {3, "Dictionary", "msgGen_spravochnik_360272834", "Справочник"},
};
const EnumItemDef kBookAUIDItems[] = {
    {1, "IDU", "msgGen_pin_2092635356", "ПИН"},
    {2, "CSW", "msgGen_jsb_505623960", "ЖСБ"},
    {4, "PLHA", "msgGen_ljvs_489818983", "ЛЖВС"},
    {8, "MSM", "msgGen_msm_1829096691", "МСМ"},
    {16, "GenPop", "msgGen_obshchee_nase_317806086", "Общее население"},
    {32, "ServiceProv", "msgGen_vich_servis_1448628326", "ВИЧ-сервисные организации"},
    {64, "Zak", "msgGen_zaklyuchenny_609197263", "Заключенные"},
    {128, "STIM", "msgGen_stim_1605356701", "СТИМ"},
    {256, "DetUlic", "msgGen_deti_ulic_214411215", "Дети улиц"},
    {512, "Tb", "msgGen_tb_515131204", "ТБ"},
    {1024, "Transgender", "msgGen_transgende_1464018538", "Трансгендер"},
};
const EnumItemDef kNodeTypeItems[] = {
    {1, "Mobile", "msgGen_mobil_nyyi_1836095845", "Мобильный"},
    {2, "Stationary", "msgGen_ofis_1493575243", "Офис"},
    {4, "Secondary", "msgGen_vtorichnogo_1812797905", "Вторичного обмена"},
    {8, "Outdoor", "msgGen_ulichnyyi_143282498", "Уличный"},
    {3, "Apteka", "msgGen_apteka_1921787296", "Аптека"},
    {5, "TBKlin", "msgGen_tb_klinika_1704002598", "ТБ Клиника"},
    {6, "Komuniti", "msgGen_kom_yuniti_933037963", "Комьюнити-центр"},
    {7, "Koloni", "msgGen_koloniya_1435209706", "Колония"},
    {200, "Hotel", "msgGen_gostinica_317105583", "Гостиница"},
    {201, "Brotel", "msgGen_publichnyyi_74941310", "Публичный дом"},
    {202, "MassageParlour", "msgGen_massajnyyi_64261485", "Массажный салон"},
    {203, "House", "msgGen_dom_10917823", "Дом"},
    {204, "Clinic", "msgGen_klinika_374970631", "Клиника"},
    {101, "Home", "msgGen_na_domu_885186256", "На дому"},
    {102, "Priz", "msgGen_tyur_ma_1900621872", "Тюрьма"},
    {103, "Org", "msgGen_na_baze_or_486478748", "На базе организации"},
    {104, "Sizo", "msgGen_sizo_484882194", "СИЗо"},
    {105, "Medic", "msgGen_med_uchrej_954285524", "Мед. учреждение"},
    {106, "Internat", "msgGen_internat_1736997708", "Интернат. учреждение"},
    {999, "StatOther", "msgGen_drugie_171906559", "Другие"},
};
const EnumItemDef kConsAndDirItems[] = {
    {1, "ByCode", "msgGen_uchet_po_ko_2093831763", "Учет по коду"},
    {2, "PrjConsult", "msgGen_predostavl_182905515",
     "Предоставлена консультация/ тестирование (внутри проекта)"},
    {4, "DirConsult", "msgGen_napravlen_733282124",
     "Направлен на консультацию/ тестирование/ лечение"},
    {8, "DirPass", "msgGen_poluchil_ko_246305570",
     "Получил консультацию/ прошёл тестирование (по направлению)"},
    {16, "Positive", "msgGen_vyyavleno_p_1579174021",
     "Выявлено положительный результат (для тестирования)"},
    {32, "PrjTreat", "msgGen_poluchil_le_934984024", "Получил лечение (внутри проекта)"},
    {64, "DirTreat", "msgGen_poluchil_le_1529523431", "Получил лечение (по направлению)"},
};
const EnumItemDef kTrainingForItems[] = {
    {1, "Clients", "msgGen_dlya_klient_1522081680", "для клиентов проекта"},
    {2, "Workers", "msgGen_dlya_rabotn_1180039325", "для работников"},
    {3, "Police", "msgGen_dlya_milici_2025271051", "для милиции"},
    {4, "Doctors", "msgGen_dlya_doktor_1957209527", "для докторов"},
    {5, "Journalists", "msgGen_dlya_jurnal_278710030", "для журналистов"},
    {6, "Other", "msgGen_dlya_drugih_577636297", "для других категорий"},
    {7, "Outrich", "msgGen_dlya_autrich_1826373616", "для аутрич-работников"},
    {8, "Turma", "msgGen_sotrudniki_1331654003", "сотрудники колоний"},
    {9, "StakeHolders", "msgGen_dlya_steyikh_1605537896", "для стейкхолдеров"},
    {999, "GroupByAud", "msgGen_po_auditor_1274671770", "по аудитории"},
    {1000, "GroupByTopic", "msgGen_po_teme_619067910", "по теме"},
};
const EnumItemDef kTrainingTypeItems[] = {
    {1, "Training", "msgGen_trening_94485050", "Тренинг"},
    {2, "CaseExercise", "msgGen_tematichesk_1001089320", "Тематическое занятие"},
    {3, "ProfZan", "msgGen_profilakti_880273060", "Профилактическое занятие"},
    {4, "ProfIgra", "msgGen_profilakti_1535902264", "Профилактическая игра"},
};
const EnumItemDef kOrgInfoFieldsItems[] = {
    {1, "cOrgID", "msgGen_identifika_289089990", "Идентификатор организации."},
    {200, "cOrgName", "msgGen_polnoe_naz_1766523751", "Полное название организации"},
    {300, "cPrjName", "msgGen_nazvanie_p_2106519026", "Название проекта"},
    {400, "cSogName", "msgGen_nomer_sogl_1225233809", "Номер соглашения"},
    {500, "cCity", "msgGen_gorod_1939220274", "Город"},
    {550, "cRegion", "msgGen_oblast_1940545686", "Область"},
    {600, "cAddress", "msgGen_adres_orga_1006078078", "Адрес организации"},
    {700, "cPhone", "msgGen_telefon_174613684", "Телефон"},
    {800, "cEMail", "msgGen_elektronna_134675939", "Электронная почта"},
    {900, "cWWW", "msgGen_veb_sayit_1540852551", "Веб сайт"},
    {1000, "cBoss", "msgGen_rukovodite_151382141", "Руководитель организации"},
    {1100, "cBossPhone", "msgGen_mobil_nyyi_1653157623",
     "Мобильный телефон руководителя организации"},
    {1200, "cProjRuk", "msgGen_rukovodite_836934680", "Руководитель проекта"},
    {1300, "cProjRukPhone", "msgGen_mobil_nyyi_1356366353",
     "Мобильный телефон руководителя проекта"},
    {1400, "cDonors", "msgGen_donor_y_257057815", "Донор(ы)"},
    {1500, "cProjectDate", "msgGen_data_nachal_1947756495", "Дата начала и окончания проекта"},
};
} // namespace

void xPubType::OnCreateInit() {
    AddItems(*this, kPubTypeItems);
}

void xBookAUID::OnCreateInit() {
    AddItems(*this, kBookAUIDItems);
}

void xNodeType::OnCreateInit() {
    AddItems(*this, kNodeTypeItems);
}

void xConsAndDir::OnCreateInit() {
    AddItems(*this, kConsAndDirItems);
}

void xTrainingFor::OnCreateInit() {
    AddItems(*this, kTrainingForItems);
}

void xTrainingType::OnCreateInit() {
    AddItems(*this, kTrainingTypeItems);
}

void xOrgInfoFields::OnCreateInit() {
    AddItems(*this, kOrgInfoFieldsItems);
}
