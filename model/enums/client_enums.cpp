#include "client_enums.h"

#include "enum_fill.h"

CxObjAutoAlloc<xSex> g_pSex;
CxObjAutoAlloc<xClientGroup> g_pClientGroup;
CxObjAutoAlloc<xEployment> g_pEployment;
CxObjAutoAlloc<xLivingPlaceEnum> g_pLivingPlaceEnum;
CxObjAutoAlloc<xEducationLevelEnum> g_pEducationLevelEnum;
CxObjAutoAlloc<xLegalProblemsEnum> g_pLegalProblemsEnum;
CxObjAutoAlloc<xSocOtherReg> g_pSocOtherReg;

namespace {
const EnumItemDef kSexItems[] = {
    {1, "Male", "msgGen_mujskoyi_566743875", "Мужской"},
    {2, "Female", "msgGen_jenskiyi_1907555100", "Женский"},
    {3, "Trans", "msgGen_transgende_1464018538", "Трансгендер"},
    {8, "Child", "msgGen_rebenok_1523867752", "Ребенок"},
    {9, "None", "msgGen_neizvestno_387508490", "Неизвестно"},
};
const EnumItemDef kClientGroupItems[] = {
    {1, "IDU", "msgGen_pin_2092635356", "ПИН", kDescAsText},
    {2, "WCS", "msgGen_rks_1308020316", "РКС", kDescAsText},
    {4, "MSM", "msgGen_msm_1829096691", "МСМ", kDescAsText},
    {8, "PRIS", "msgGen_zaklyuchenny_609197263", "Заключенные", kDescAsText},
    {16, "LJV", "msgGen_ljv_1972276249", "ЛЖВ", kDescAsText},
    {32, "SOZ", "msgGen_so_zavisim_567037888", "Со-зависимые", kDescAsText},
    {64, "OTH", "msgGen_drugie_171906559", "Другие", kDescAsText},
    {128, "PDI", "msgGen_pdi_149456023", "PDI", kDescAsText},
    {256, "ORP", "msgGen_sirota_744593283", "Сирота", kDescAsText},
    {512, "SNYAT", "msgGen_rebenok_so_1010987971", "Ребенок со снятым статусом", kDescAsText},
    {1024, "STIM", "msgGen_potrebitel_1973894164", "Потребитель неинъекционных наркотиков",
     kDescAsText},
    {4096, "DETULIC", "msgGen_deti_ulic_214411215", "Дети улиц", kDescAsText},
    {8192, "RASPROST", "msgGen_volonter_373810312", "Волонтер", kDescAsText},
    {16384, "OTHERRISK", "msgGen_seksual_no_2140527339", "Сексуально активное население",
     kDescAsText},
    {32768, "PCIDU", "msgGen_partnery_p_731025670", "Партнёры ПИН", "msgGen_lyudi_imeyu_1346853951",
     "Люди, имеющие контакт с ПИН"},
    {65536, "CLISW", "msgGen_klienty_rk_1173250665", "Клиенты РКС", kDescAsText},
    {131072, "MIGRANT", "msgGen_migranty_618596752", "Мигранты", kDescAsText},
    {524288, "PCWCS", "msgGen_partnery_r_1490928625", "Партнеры РКС", "msgGen_lica_koto_1654778026",
     "Лица, которые имеют/ имели половые контакты с РКС"},
    {1048576, "WMSM", "msgGen_jenshchiny_pa_1925933529", "Женщины-партнёры МСМ",
     "msgGen_jenshchiny_k_296667072", "Женщины, которые имеют/ имели половые контакты с МСМ"},
    {2097152, "OTHCONT", "msgGen_drugie_gru_655458945", "Другие группы-контакты"},
};
const EnumItemDef kEploymentItems[] = {
    {1, "PermanentJob", "msgGen_postoyannaya_1034527555", "Постоянная работа"},
    {2, "TemporaryJob", "msgGen_vremennaya_1252011707", "Временная работа"},
    {3, "Student", "msgGen_student_1992187995", "Студент"},
    {4, "Unemployment", "msgGen_bezrabotny_1849649926", "Безработный"},
    {5, "CommercialSex", "msgGen_kommerchesk_531117253", "Коммерческий секс"},
    {6, "OtherEmployment", "msgGen_drugoe_1550168697", "Другое"},
    {7, "SocPom", "msgGen_poluchaet_g_1836281542", "Получает государственную социальную помощь"},
    {99, "NoDataEmployment", "msgGen_net_dannyh_1982364112", "Нет данных"},
};
const EnumItemDef kLivingPlaceEnumItems[] = {
    {1, "NoPlaceOfLiving", "msgGen_net_mesta_1003342615", "Нет места жительства"},
    {2, "polCity", "msgGen_gorod_1939220274", "Город"},
    {3, "polVil", "msgGen_pgt_selo_861161769", "ПГТ, Село"},
    {99, "NoDataLivingPlace", "msgGen_net_dannyh_1982364112", "Нет данных"},
};
const EnumItemDef kEducationLevelEnumItems[] = {
    {1, "UncompletedEducation", "msgGen_nezakonchen_1706961519", "Незаконченное"},
    {2, "SecondaryEducation", "msgGen_srednee_1848640251", "Среднее"},
    {3, "Vocational", "msgGen_srednee_sp_836511294", "Среднее специальное"},
    {4, "UncompletedHigherEducation", "msgGen_nezakonchen_50331650", "Незаконченное высшее"},
    {5, "HigherEducation", "msgGen_vysshee_1537065564", "Высшее"},
    {99, "NoDataEducationLevelEnum", "msgGen_net_dannyh_1982364112", "Нет данных"},
    {6, "PrimaryEdu", "msgGen_nachal_no_o_1365428088", "Начально образование"},
};
const EnumItemDef kLegalProblemsEnumItems[] = {
    {1, "Unpunished", "msgGen_nesudimyyi_1967637192", "Несудимый"},
    {2, "PunishedWithout", "msgGen_uslovno_os_1875138437", "Условно осужденный"},
    {3, "PunishedWith", "msgGen_perebyval_445882469", "Перебывал в заключении"},
    {99, "LegalNoData", "msgGen_net_dannyh_1982364112", "Нет данных"},
};
const EnumItemDef kSocOtherRegItems[] = {
    {1, "Aids", "msgGen_v_spid_cen_1207271852", "в СПИД-центре"},
    {2, "TubDisp", "msgGen_v_tub_disp_576860122", "в туб-диспансере"},
    {4, "Psiho", "msgGen_v_psih_dis_520422664", "в псих-диспансере"},
    {8, "Derm", "msgGen_v_dermatov_18596286", "в дерматовенерологическом"},
};
} // namespace

void xSex::OnCreateInit() {
    AddItems(*this, kSexItems);
}

void xClientGroup::OnCreateInit() {
    AddItems(*this, kClientGroupItems);
}

void xEployment::OnCreateInit() {
    AddItems(*this, kEploymentItems);
}

void xLivingPlaceEnum::OnCreateInit() {
    AddItems(*this, kLivingPlaceEnumItems);
}

void xEducationLevelEnum::OnCreateInit() {
    AddItems(*this, kEducationLevelEnumItems);
}

void xLegalProblemsEnum::OnCreateInit() {
    AddItems(*this, kLegalProblemsEnumItems);
}

void xSocOtherReg::OnCreateInit() {
    AddItems(*this, kSocOtherRegItems);
}
