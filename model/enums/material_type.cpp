#include "material_type.h"

#include "enum_fill.h"

CxObjAutoAlloc<xMaterialType> g_pMaterialType;

namespace {
struct MaterialTypeDef {
    long code;
    const char* identifier;
    long group;
    const char* key;
    const char* text;
};

const MaterialTypeDef kMaterialTypeItems[] = {
    {0xfff0000, "TypeMask", 0, "msgGen_maska_1943710970", "Маска"},
    {0x10000, "SyringesGroup", 0x10000, "msgGen_shpricy_1405774337", "Шприцы"},
    {0x10001, "Syr1ml", 0x10000, "msgGen_shpric_1ml_179527936", "Шприц 1мл"},
    {0x10002, "Syr2ml", 0x10000, "msgGen_shpric_2ml_150331225", "Шприц 2мл"},
    {0x10003, "Syr5ml", 0x10000, "msgGen_shpric_5ml_230345180", "Шприц 5мл"},
    {0x10004, "Syr10ml", 0x10000, "msgGen_shpric_10ml_771898767", "Шприц 10мл"},
    {0x10005, "Syr20ml", 0x10000, "msgGen_shpric_20ml_1018663521", "Шприц 20мл"},
    {0x10006, "SyrInsul", 0x10000, "msgGen_shpric_insu_730087673", "Шприц инсулиновый"},
    {0x10fff, "SyrOther", 0x10000, "msgGen_shpricy_dru_1600195331", "Шприцы другие"},
    {0x20000, "NeedleGroup", 0x20000, "msgGen_igly_1359186241", "Иглы"},
    {0x20001, "Needle04", 0x20000, "msgGen_igla_0_4mm_935969169", "Игла 0.4мм"},
    {0x20002, "Needle045", 0x20000, "msgGen_igla_0_45m_606274966", "Игла 0.45мм"},
    {0x20003, "Needle05", 0x20000, "msgGen_igla_0_5mm_906734504", "Игла 0.5мм"},
    {0x20004, "Needle06", 0x20000, "msgGen_igla_0_6mm_877467135", "Игла 0.6мм"},
    {0x20fff, "NeedleOther", 0x20000, "msgGen_igly_drugi_977906313", "Иглы другие"},
    {0x90000, "Medicament", 0x90000, "msgGen_medikament_920565002", "Медикаменты"},
    {0x30003, "Chlorhexidine", 0x90000, "msgGen_hlorgeksid_1869824665", "Хлоргексидин"},
    {0x30004, "Iodine", 0x90000, "msgGen_yiod_zelen_72614620", "Йод, зеленка"},
    {0x30005, "Cotton", 0x90000, "msgGen_vata_765310858", "Вата"},
    {0x30006, "Bandage", 0x90000, "msgGen_bint_265827850", "Бинт"},
    {0x30007, "HydrogenPeroxide", 0x90000, "msgGen_perekis_v_425635616", "Перекись водорода"},
    {0x30008, "CourtPlaster", 0x90000, "msgGen_leyikoplast_1506879138", "Лейкопластырь"},
    {0x3000a, "Medic", 0x90000, "msgGen_dr_medika_983803497", "Др. медикаменты"},
    {0x30010, "Nalokson", 0x90000, "msgGen_nalokson_2143568251", "Налоксон"},
    {0x3000b, "InjectionWater", 0x90000, "msgGen_voda_dlya_i_2004423251", "Вода для инъекций"},
    {0x30000, "OtherGroup", 0x30000, "msgGen_prochee_1812602783", "Прочее"},
    {0x30002, "AlcoholPreeps", 0x30000, "msgGen_spirtovye_836807696", "Спиртовые салфетки"},
    {0x30009, "DryPreeps", 0x30000, "msgGen_salfetki_816018872", "Салфетки"},
    {0x3000c, "Filters", 0x30000, "msgGen_fil_try_600855425", "Фильтры"},
    {0x3000d, "Containers", 0x30000, "msgGen_konteyinery_1131796799", "Контейнеры"},
    {0x3000e, "Lubricates", 0x30000, "msgGen_lubrikanty_75076008", "Лубриканты"},
    {0x30011, "Kit", 0x30000, "msgGen_nabor_mate_1807879162", "Набор материалов"},
    {0x30fff, "OtherMat", 0x30000, "msgGen_drugoyi_mat_861225022", "Другой материал"},
    {0x50000, "BookletsGroup", 0x50000, "msgGen_informacio_2006341210", "Информационные материалы"},
    {0x50005, "Booklets", 0x50000, "msgGen_buklety_1529445551", "Буклеты"},
    {0x40000, "ServicesGroup", 0x40000, "msgGen_gruppa_usl_533898813", "Группа услуги"},
    {0x403ec, "srvKCType", 0x40000, "msgGen_uslugi_kom_217689022", "Услуги комьюнити центра"},
    {0x40fff, "srvOther", 0x40000, "msgGen_prochie_usl_118344517", "Прочие услуги"},
    {0x60000, "BackMat", 0x60000, "msgGen_vozvratnye_112117044", "Возвратные материалы"},
    {0x60001, "BackSyr", 0x60000, "msgGen_sobrano_shp_2079177824", "Собрано шприцев"},
    {0x60002, "BackNeedle", 0x60000, "msgGen_sobrano_ig_630020283", "Собрано игл"},
    {0x70000, "Consultation", 0x70000, "msgGen_konsul_tac_288600199",
     "Консультации и перенаправления"},
    {0x70fff, "ConsSpec", 0x70000, "msgGen_konsul_tac_1146771950",
     "Консультации, перенаправления, специалиста"},
    {0x80000, "CondomsGrp", 0x80000, "msgGen_prezervati_1310016817", "Презервативы"},
    {0x80001, "Condoms", 0x80000, "msgGen_mujskie_pr_1701029014", "Мужские презервативы"},
    {0x80002, "CondomsWoman", 0x80000, "msgGen_jenskie_pr_1094666205", "Женские презервативы"},
};
} // namespace
void xMaterialType::OnCreateInit() {
    for (const MaterialTypeDef& def : kMaterialTypeItems) {
        sMaterialType* item = Add(def.code, QString::fromLatin1(def.identifier),
                                  TranslateItemText(def.text, def.key));
        item->nGroup = def.group;
    }
    // The one item that exists for reports only.
    Lookup(0x403ec)->cNote = TranslateItemText("Поле для отчетов. В базе такого типа нет",
                                               "msgGen_pole_dlya_o_867658618");
}
