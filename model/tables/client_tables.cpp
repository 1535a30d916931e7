#include "client_tables.h"

#include "table_registrar.h"
#include "table_set.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

CxTable_ClientData::CxTable_ClientData()
    : CxTable("clientdata",
              CTarvikApp::TranslateString(QStringLiteral("Клиенты"),
                                          QStringLiteral("CxTable_ClientData::CxTable_ClientData"),
                                          1),
              "ClientData") {}
void CxTable_ClientData::Init() {
    CxFieldRegistrar r(this, "CxTable_ClientData::Init");
    m_ROWID = r.Add(17074, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    m_cClientCode = r.Add(17075, "cClientCode", "Код клиента", FF_NAME | FF_TEXT);
    m_cOClientCode = r.Add(20277, "cOClientCode", "Старый код клиента", FF_TEXT);
    m_cGlobalCode = r.Add(20084, "cGlobalCode", "Глобальный код клиента", FF_TEXT);
    m_dEnterDate = r.Add(17076, "dEnterDate", "Дата ввода данных", FF_DATE);
    m_dUpdateDate = r.Add(17077, "dUpdateDate", "Дата последнего обновления данных", FF_DATE);
    m_dStartInPrjDate = r.Add(17078, "dStartInPrjDate", "Дата начала участия в проекте", FF_DATE);
    m_nBirthYear = r.Add(17079, "nBirthYear", "Год рождения", FF_INT);
    m_AgeByBirthDate = r.Add(18774,
                             "(YEAR(CURDATE())-YEAR({TABLE}.dBirthDate))- "
                             "(RIGHT(CURDATE(),5)<RIGHT({TABLE}.dBirthDate,5))",
                             "Возраст по дате рождения", FF_INT);
    m_AgeByBirthYear =
        r.Add(18775, "(YEAR(CURDATE())-{TABLE}.nBirthYear)", "Возраст по году", FF_INT);
    r.AddEnum(m_nSex, m_nSexText, 17080, "nSex", "Пол", TableEnum("xSex"));
    m_cComment = r.Add(17081, "cComment", "Комментарий", FF_TEXT);
    m_bNewCode = r.Add(20735, "bNewCode", "Признак новой кодировки", FF_INT);
    // The vulnerable group of the client's newest history row.
    r.AddEnum(m_CLIEXT_nClientType, m_CLIEXT_nClientTypeText, 17082, "{CLIEXT}.nClientType",
              "Последняя уязвимая группа", TableEnum("xClientGroup"));
    for (CxField* field : {m_CLIEXT_nClientType, m_CLIEXT_nClientTypeText})
        r.Join(field, g_pClientDataChangesTable.GetPtr(), "{CLIEXT}",
               "{TABLE}.ROWID={CLIEXT}.nLastLinkID");
    r.AddEnum(m_bSecondary, m_bSecondaryText, 17084, "bSecondary", "Клиент вторичного обмена",
              TableEnum("xYesNo"));
    r.AddEnum(m_bPDI, m_bPDIText, 20168, "bPDI", "Клиент ПДИ", TableEnum("xYesNo"));
    m_cSurname = r.AddPersonal(17789, "cSurname", "Фамилия", FF_TEXT);
    m_cName = r.AddPersonal(17791, "cName", "Имя", FF_TEXT);
    m_cPatname = r.AddPersonal(17792, "cPatname", "Отчество", FF_TEXT);
    r.AddLookup(m_nSocRab, m_SOCRAB_cString, 18308, "nSocRab", "Социальный работник",
                g_pWorkersTable.GetPtr(), "SOCRAB", "cString", &m_SOCRAB_cFlatCode);
    m_dBirthDate = r.Add(17788, "dBirthDate", "Дата рождения", FF_DATE);
    m_bIsFolder = r.Add(17281, "bIsFolder", "Признак папки", FF_FOLDERMARK | FF_INT);
    r.AddLookup(m_nRegionDataID, m_RGCODE_cOrgID, 18723, "nRegionDataID", "Код организации",
                g_pOrgInfTable.GetPtr(), "RGCODE", "cOrgID");
    m_RGCODE_cOrgName = r.AddOrgText(18724, "cOrgName", "Название организации");
    m_cAIDSCode = r.Add(20003, "cAIDSCode", "Код клиента в СПИД-центре", FF_TEXT);
    r.AddFolders(m_FOLDER_cClientCode, m_nGroupID, 17282, "cClientCode", m_cClientCode, m_ROWID);
    SetRecordAddress(QStringLiteral("opendoc:CJClients:%d:%d"));
}

CxTable_ClientDataChanges::CxTable_ClientDataChanges()
    : CxTable("clientdatachanges",
              CTarvikApp::TranslateString(
                  QStringLiteral("Клиенты. Последние данные"),
                  QStringLiteral("CxTable_ClientDataChanges::CxTable_ClientDataChanges"), 1),
              "ClientDataChanges") {}
void CxTable_ClientDataChanges::Init() {
    CxFieldRegistrar r(this, "CxTable_ClientDataChanges::Init");
    m_ROWID = r.Add(18016, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    m_nClientID = r.Add(18004, "nClientID", "Код клиента", FF_INT);
    m_dDate = r.Add(18005, "dDate", "Дата", FF_DATE);
    m_cComment = r.AddPersonal(18006, "cComment", "Комментарий", FF_TEXT);
    r.AddEnum(m_nClientType, m_nClientTypeText, 18007, "nClientType", "Основная уязвимая группа",
              TableEnum("xClientGroup"));
    r.AddEnum(m_nClientType2, m_nClientType2Text, 20161, "nClientType2",
              "Дополнительные уязвимые группы", TableEnum("xClientGroup"));
    m_cAddress = r.AddPersonal(18008, "cAddress", "Адрес", FF_TEXT);
    m_nLastLinkID = r.Add(18342, "nLastLinkID", "Запись для показа", FF_LASTLINK | FF_INT);
}

CxTable_RiskBehavior::CxTable_RiskBehavior()
    : CxTable("riskbehavior",
              CTarvikApp::TranslateString(
                  QStringLiteral("Рискованное поведение"),
                  QStringLiteral("CxTable_RiskBehavior::CxTable_RiskBehavior"), 1),
              "RiskBehavior") {}
void CxTable_RiskBehavior::Init() {
    CxFieldRegistrar r(this, "CxTable_RiskBehavior::Init");
    m_ROWID = r.Add(17059, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    r.AddEnum(m_nUseDirtySyr, m_nUseDirtySyrText, 17060, "nUseDirtySyr",
              "Использовал нестерильный чужой шприц или иглу?", TableEnum("xYesNo"));
    r.AddEnum(m_nDesinfectionWay, m_nDesinfectionWayText, 17061, "nDesinfectionWay",
              "Метод дезинфекции", TableEnum("xDesinfectionWay"));
    r.AddEnum(m_nGivingUsed, m_nGivingUsedText, 17062, "nGivingUsed",
              "Давал использованные шприцы кому-либо?", TableEnum("xYesNo"));
    r.AddEnum(m_nLastInjectWith, m_nLastInjectWithText, 17063, "nLastInjectWith",
              "Последняя инъекция", TableEnum("xLastInjectionWith"));
    r.AddEnum(m_nUsingCondom, m_nUsingCondomText, 17064, "nUsingCondom",
              "Использовал(а) презерватив во время последнего полового акта?",
              TableEnum("xCondYesNoNosex"));
    r.AddEnum(m_nLastSexualPart, m_nLastSexualPartText, 17065, "nLastSexualPart",
              "Последний сексуальный партнер", TableEnum("xLastSexual"));
    m_dUpdateDate = r.Add(17066, "dUpdateDate", "Дата заполнения рискованного поведения", FF_DATE);
    m_dDate = r.Add(18391, "dDate", "Дата", FF_DATE);
    m_nLastLinkID = r.Add(18339, "nLastLinkID", "Запись для показа", FF_LASTLINK | FF_INT);
    m_nClientID = r.Add(18392, "nClientID", "Код клиента", FF_INT);
}

CxTable_DrugUseData::CxTable_DrugUseData()
    : CxTable("drugusedata",
              CTarvikApp::TranslateString(
                  QStringLiteral("Информация о употреблении наркотиков"),
                  QStringLiteral("CxTable_DrugUseData::CxTable_DrugUseData"), 1),
              "DrugUseData") {}
void CxTable_DrugUseData::Init() {
    CxFieldRegistrar r(this, "CxTable_DrugUseData::Init");
    m_ROWID = r.Add(17067, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    m_dDate = r.Add(18336, "dDate", "Дата", FF_DATE);
    r.AddLookup(m_nBasicDrug, m_BASICDRUG_cString, 17068, "nBasicDrug", "Основной наркотик",
                g_pDrugListTable.GetPtr(), "BASICDRUG", "cString", &m_BASICDRUG_cFlatCode);
    r.AddEnum(m_nMainRoute, m_nMainRouteText, 17069, "nMainRoute",
              "Способ употребления основного наркотика", TableEnum("xMainRouteEnum"));
    r.AddEnum(m_nUseFrequency, m_nUseFrequencyText, 17070, "nUseFrequency", "Частота употребления",
              TableEnum("xUseFreqEnum"));
    r.AddLookup(m_nSecondaryDrug, m_SECONDARYDRUG_cString, 17130, "nSecondaryDrug",
                "Вторичный наркотик", g_pDrugListTable.GetPtr(), "SECONDARYDRUG", "cString",
                &m_SECONDARYDRUG_cFlatCode);
    r.AddEnum(m_nParticipation, m_nParticipationText, 17071, "nParticipation",
              "Участие в заместительной терапии", TableConfigList("PARTICIPANTPROGRAM"));
    m_nDrugStartDate = r.Add(17072, "nDrugStartDate", "Год начала употребления наркотика", FF_INT);
    m_dUpdateDate = r.Add(17073, "dUpdateDate",
                          "Дата заполнения информация о употреблении наркотиков", FF_DATE);
    r.AddLookup(m_nDonorID, m_DONORS_cString, 18333, "nDonorID", "Источник финансирования ЗТ",
                g_pDonorsTable.GetPtr(), "DONORS", "cString", &m_DONORS_cFlatCode);
    m_nLastLinkID = r.Add(18338, "nLastLinkID", "Запись для показа", FF_LASTLINK | FF_INT);
    m_nClientID = r.Add(18337, "nClientID", "Код клиента", FF_INT);
}

CxTable_SocialStatus::CxTable_SocialStatus()
    : CxTable("socialstatus",
              CTarvikApp::TranslateString(
                  QStringLiteral("Социальный статус"),
                  QStringLiteral("CxTable_SocialStatus::CxTable_SocialStatus"), 1),
              "SocialStatus") {}
void CxTable_SocialStatus::Init() {
    CxFieldRegistrar r(this, "CxTable_SocialStatus::Init");
    m_ROWID = r.Add(17086, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    m_dDate = r.Add(18081, "dDate", "Дата", FF_DATE);
    r.AddEnum(m_nEploymentStatus, m_nEploymentStatusText, 17087, "nEploymentStatus",
              "Трудоустройство", TableEnum("xEployment"));
    m_cOtherEployment = r.Add(17088, "cOtherEployment", "Название работы", FF_TEXT);
    r.AddEnum(m_nPlaceOfLiving, m_nPlaceOfLivingText, 17089, "nPlaceOfLiving", "Место жительства",
              TableEnum("xLivingPlaceEnum"));
    r.AddEnum(m_nEducationLevel, m_nEducationLevelText, 17090, "nEducationLevel", "Образование",
              TableEnum("xEducationLevelEnum"));
    r.AddEnum(m_nLegalProblem, m_nLegalProblemText, 17091, "nLegalProblem", "Проблемы с законом",
              TableEnum("xLegalProblemsEnum"));
    m_nChildCount = r.Add(17092, "nChildCount", "Количество детей", FF_INT);
    m_dUpdateDate = r.Add(17093, "dUpdateDate", "Дата заполнения социального статуса", FF_DATE);
    r.AddEnum(m_bRegPolice, m_bRegPoliceText, 17094, "bRegPolice", "На учете в милиции",
              TableEnum("xYesNo"));
    r.AddEnum(m_bNarcoDisp, m_bNarcoDispText, 17095, "bNarcoDisp", "На учете в наркодиспансере",
              TableEnum("xYesNo"));
    r.AddEnum(m_nOtherReg, m_nOtherRegText, 18974, "nOtherReg", "Прочая регистрация",
              TableEnum("xSocOtherReg"));
    m_nClientID = r.Add(18017, "nClientID", "Код клиента", FF_INT);
    r.AddEnum(m_bVolonter, m_bVolonterText, 18087, "bVolonter", "Стал волонтером",
              TableEnum("xYesNo"));
    m_nLastLinkID = r.Add(18340, "nLastLinkID", "Запись для показа", FF_LASTLINK | FF_INT);
}

CxTable_HealthStatus::CxTable_HealthStatus()
    : CxTable("healthstatus",
              CTarvikApp::TranslateString(
                  QStringLiteral("Состояние здоровья"),
                  QStringLiteral("CxTable_HealthStatus::CxTable_HealthStatus"), 1),
              "HealthStatus") {}
void CxTable_HealthStatus::Init() {
    CxFieldRegistrar r(this, "CxTable_HealthStatus::Init");
    m_ROWID = r.Add(17096, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    m_nClientID = r.Add(17097, "nClientID", "Код клиента", FF_INT);
    r.AddEnum(m_nDisease, m_nDiseaseText, 17098, "nDisease", "Код заболевания",
              TableEnum("xDiseases"));
    r.AddEnum(m_nStatus, m_nStatusText, 17099, "nStatus", "Статус болезни",
              TableEnum("xDiseaseStates"));
    m_nTreatmentStartDate = r.Add(17131, "nTreatmentStartDate", "Дата начала лечения", FF_INT);
}
