#include "behaviour_enums.h"

#include "enum_fill.h"

CxObjAutoAlloc<xCondYesNoNosex> g_pCondYesNoNosex;
CxObjAutoAlloc<xLastSexual> g_pLastSexual;
CxObjAutoAlloc<xLastInjectionWith> g_pLastInjectionWith;
CxObjAutoAlloc<xDesinfectionWay> g_pDesinfectionWay;
CxObjAutoAlloc<xDrugsEnum> g_pDrugsEnum;
CxObjAutoAlloc<xMainRouteEnum> g_pMainRouteEnum;
CxObjAutoAlloc<xProdType> g_pProdType;
CxObjAutoAlloc<xUseFreqEnum> g_pUseFreqEnum;
CxObjAutoAlloc<xDiseases> g_pDiseases;
CxObjAutoAlloc<xDiseaseStates> g_pDiseaseStates;

namespace {
const EnumItemDef kCondYesNoNosexItems[] = {
    {1, "Yes", "msgGen_da_1313202893", "Да"},
    {0, "No", "msgGen_net_378292376", "Нет"},
    {2, "NoSex", "msgGen_ne_jivu_po_395413175", "Не живу половой жизнью"},
    {99, "NoData", "msgGen_net_dannyh_1982364112", "Нет данных"},
};
const EnumItemDef kLastSexualItems[] = {
    {1, "Regual", "msgGen_postoyannyyi_359751109", "Постоянный"},
    {0, "Nonregual", "msgGen_ne_postoyan_1162649844", "Не постоянный"},
    {2, "NoSex", "msgGen_ne_jivu_po_395413175", "Не живу половой жизнью"},
    {99, "NoData", "msgGen_net_dannyh_1982364112", "Нет данных"},
};
const EnumItemDef kLastInjectionWithItems[] = {
    {1, "New", "msgGen_novyyi_shpri_1910391499", "Новый шприц"},
    {2, "UsedOwn", "msgGen_ispol_zova_1515368098", "Использованный свой"},
    {3, "UsedSome", "msgGen_ispol_zova_1592432938", "Использованный чужой"},
    {4, "BuyWith", "msgGen_kuplennyyi_525056008", "Купленный с наркотиком"},
    {99, "NoData", "msgGen_net_dannyh_1982364112", "Нет данных"},
    {100, "DoNotAssume", "msgGen_ne_upotreb_1851891768", "Не употребляет"},
};
const EnumItemDef kDesinfectionWayItems[] = {
    {1, "WaterWashing", "msgGen_promyvanie_877151974", "Промывание водой"},
    {2, "Boiling", "msgGen_kipyachenie_1991364409", "Кипячение"},
    {3, "Bleach", "msgGen_hlorgeksid_1822209908", "Хлоргексидин, спирт"},
    {4, "Nothing", "msgGen_nichem_28148209", "Ничем"},
    {5, "New", "msgGen_vsegda_nov_1010373186", "Всегда новым шприцем"},
    {99, "NoData", "msgGen_net_dannyh_1982364112", "Нет данных"},
    {100, "DoNotAssume", "msgGen_ne_upotreb_1851891768", "Не употребляет"},
};
const EnumItemDef kDrugsEnumItems[] = {
    {1, "Opiate", "msgGen_opiaty_2039963723", "Опиаты"},
    {2, "Konoplya", "msgGen_proizvodny_2135029484", "Производные конопли"},
    {3, "Dissociative", "msgGen_dissociati_236580318", "Диссоциативные вещества"},
    {4, "Halucinogen", "msgGen_gallyucinog_322467454", "Галлюциногены"},
    {5, "Stimulants", "msgGen_stimulyator_1227936568", "Стимуляторы"},
    {6, "Tranquilizers", "msgGen_trankviliz_1523067258", "Транквилизаторы"},
    {7, "MultiDrug", "msgGen_drugie_veshch_979025959", "Другие вещества/больше одного вещества"},
};
const EnumItemDef kMainRouteEnumItems[] = {
    {1, "Injection", "msgGen_in_ekcii_891909252", "Инъекции"},
    {2, "Oral", "msgGen_peroral_no_1695555477", "Перорально"},
    {4, "Sniff", "msgGen_internazal_555387974", "Интерназально"},
    {8, "Smoke", "msgGen_kurenie_vd_690910608", "Курение/вдыхание"},
};
const EnumItemDef kProdTypeItems[] = {
    {1, "HomeMade", "msgGen_kustarnyyi_21100431", "Кустарный"},
    {2, "Pharmaceutical", "msgGen_farmacevti_1589849771", "Фармацевтический"},
};
const EnumItemDef kUseFreqEnumItems[] = {
    {1, "TimeToTime", "msgGen_vremya_ot_v_565031081", "Время от времени"},
    {2, "OneTimeInWeek", "msgGen_raz_v_nede_42905316", "Раз в неделю"},
    {3, "FewTimesInWeek", "msgGen_neskol_ko_996488655", "Несколько раз в неделю"},
    {4, "OneTimeInDay", "msgGen_raz_v_den_207154929", "Раз в день"},
    {5, "FewTimesInDay", "msgGen_neskol_ko_1671086408", "Несколько раз в день"},
};
const EnumItemDef kDiseasesItems[] = {
    {1, "HIVAIDS", "msgGen_vich_spid_1976078051", "ВИЧ/СПИД"},
    {2, "TUB", "msgGen_tuberkulez_1561818902", "Туберкулёз"},
    {3, "HIP", "msgGen_gepatit_c_1561250682", "Гепатит C"},
    {4, "IPPP", "msgGen_ippp_1341643816", "ИППП"},
    {5, "HIPB", "msgGen_gepatit_b_705297392", "Гепатит B"},
};
const EnumItemDef kDiseaseStatesItems[] = {
    {1, "SomeTime", "msgGen_proveryalsya_1968608266", "Проверялся когда либо"},
    {2, "Last6Month", "msgGen_proveryalsya_756788615", "Проверялся за последние 6 месяцев"},
    {4, "KnowPositive", "msgGen_znaet_1522091529", "Знает, +"},
    {8, "KnowNegative", "msgGen_znaet_1277500610", "Знает, -"},
};
} // namespace

void xCondYesNoNosex::OnCreateInit() {
    AddItems(*this, kCondYesNoNosexItems);
}

void xLastSexual::OnCreateInit() {
    AddItems(*this, kLastSexualItems);
}

void xLastInjectionWith::OnCreateInit() {
    AddItems(*this, kLastInjectionWithItems);
}

void xDesinfectionWay::OnCreateInit() {
    AddItems(*this, kDesinfectionWayItems);
}

void xDrugsEnum::OnCreateInit() {
    AddItems(*this, kDrugsEnumItems);
}

void xMainRouteEnum::OnCreateInit() {
    AddItems(*this, kMainRouteEnumItems);
}

void xProdType::OnCreateInit() {
    AddItems(*this, kProdTypeItems);
}

void xUseFreqEnum::OnCreateInit() {
    AddItems(*this, kUseFreqEnumItems);
}

void xDiseases::OnCreateInit() {
    AddItems(*this, kDiseasesItems);
}

void xDiseaseStates::OnCreateInit() {
    AddItems(*this, kDiseaseStatesItems);
}
