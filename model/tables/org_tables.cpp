#include "org_tables.h"

#include "table_registrar.h"
#include "table_set.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

CxTable_StrToID::CxTable_StrToID()
    : CxTable("strtoid",
              CTarvikApp::TranslateString(QStringLiteral("Преобразование строк в число"),
                                          QStringLiteral("CxTable_StrToID::CxTable_StrToID"), 1),
              "StrToID") {}
void CxTable_StrToID::Init() {
    CxFieldRegistrar r(this, "CxTable_StrToID::Init");
    m_ROWID = r.Add(20163, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    r.AddLookup(m_nRegionDataID, m_RGCODE_cOrgID, 20166, "nRegionDataID", "Код организации",
                g_pOrgInfTable.GetPtr(), "RGCODE", "cOrgID");
    m_nGroupID = r.Add(20164, "nGroupID", "Код группы", FF_INT);
    m_cStr = r.Add(20165, "cStr", "Строка", FF_TEXT | FF_NAME);
}

CxTable_Towns::CxTable_Towns()
    : CxTable("towns",
              CTarvikApp::TranslateString(QStringLiteral("Города"),
                                          QStringLiteral("CxTable_Towns::CxTable_Towns"), 1),
              "Towns") {}
void CxTable_Towns::Init() {
    CxFieldRegistrar r(this, "CxTable_Towns::Init");
    m_ROWID = r.Add(20430, "ROWID", "Внутренний код", FF_INT | FF_KEY);
    m_nGroupID = r.Add(20431, "nGroupID", "Код владельца", FF_INT | FF_PARENT);
    m_cShortName = r.Add(20432, "cShortName", "Город", FF_TEXT);
    m_cFullName = r.Add(20433, "cFullName", "Город, регион", FF_TEXT | FF_NAME);
}

CxTable_OrgInf::CxTable_OrgInf()
    : CxTable("orginf",
              CTarvikApp::TranslateString(QStringLiteral("Ифн. об организации"),
                                          QStringLiteral("CxTable_OrgInf::CxTable_OrgInf"), 1),
              "OrgInf") {}
void CxTable_OrgInf::Init() {
    CxFieldRegistrar r(this, "CxTable_OrgInf::Init");
    m_ROWID = r.Add(20758, "ROWID", "Внутренний код", FF_INT | FF_KEY | FF_OWNKEY);
    m_cOrgID = r.Add(20759, "cOrgID", "Код организации", FF_TEXT | FF_NAME);
    m_cOrgName = r.Add(20760, "cOrgName", "Полное название организации", FF_TEXT);
    m_cPrjName = r.Add(20761, "cPrjName", "Название проекта", FF_TEXT);
    m_cSogName = r.Add(20762, "cSogName", "Номер соглашения", FF_TEXT);
    m_cCity = r.Add(20764, "cCity", "Город", FF_TEXT);
    m_cRegion = r.Add(20765, "cRegion", "Область", FF_TEXT);
    m_cAddress = r.Add(20766, "cAddress", "Адрес организации", FF_TEXT);
    m_cPhone = r.Add(20767, "cPhone", "Телефон", FF_TEXT);
    m_cEMail = r.Add(20768, "cEMail", "Электронная почта", FF_TEXT);
    m_cWWW = r.Add(20769, "cWWW", "Веб сайт", FF_TEXT);
    m_cBoss = r.Add(20770, "cBoss", "Руководитель организации", FF_TEXT);
    m_cBossPhone =
        r.Add(20771, "cBossPhone", "Мобильный телефон руководителя организации", FF_TEXT);
    m_cProjRuk = r.Add(20772, "cProjRuk", "Руководитель проекта", FF_TEXT);
    m_cProjRukPhone =
        r.Add(20773, "cProjRukPhone", "Мобильный телефон руководителя проекта", FF_TEXT);
    m_cDonors = r.Add(20774, "cDonors", "Донор(ы)", FF_TEXT);
    m_cProjectDate = r.Add(20775, "cProjectDate", "Дата начала и окончания проекта", FF_TEXT);
}
