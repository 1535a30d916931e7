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
    m_nSex = r.Add(17080, "nSex", "Пол", FF_ENUM | FF_INT, TableEnum("xSex"));
    m_nSexText = r.Add(17080, "nSex", "Пол", FF_ENUMTEXT | FF_TEXT, TableEnum("xSex"));
    m_cComment = r.Add(17081, "cComment", "Комментарий", FF_TEXT);
    m_bNewCode = r.Add(20735, "bNewCode", "Признак новой кодировки", FF_INT);
    m_CLIEXT_nClientType = r.Join(r.Add(17082, "{CLIEXT}.nClientType", "Последняя уязвимая группа",
                                        FF_ENUM | FF_INT, TableEnum("xClientGroup")),
                                  g_pClientDataChangesTable.GetPtr(), "{CLIEXT}",
                                  "{TABLE}.ROWID={CLIEXT}.nLastLinkID");
    m_CLIEXT_nClientTypeText = r.Join(
        r.Add(17082, "{CLIEXT}.nClientType", "Последняя уязвимая группа", FF_ENUMTEXT | FF_TEXT,
              TableEnum("xClientGroup")),
        g_pClientDataChangesTable.GetPtr(), "{CLIEXT}", "{TABLE}.ROWID={CLIEXT}.nLastLinkID");
    m_bSecondary = r.Add(17084, "bSecondary", "Клиент вторичного обмена", FF_ENUM | FF_INT,
                         TableEnum("xYesNo"));
    m_bSecondaryText = r.Add(17084, "bSecondary", "Клиент вторичного обмена", FF_ENUMTEXT | FF_TEXT,
                             TableEnum("xYesNo"));
    m_bPDI = r.Add(20168, "bPDI", "Клиент ПДИ", FF_ENUM | FF_INT, TableEnum("xYesNo"));
    m_bPDIText = r.Add(20168, "bPDI", "Клиент ПДИ", FF_ENUMTEXT | FF_TEXT, TableEnum("xYesNo"));
    m_cSurname = r.AddPersonal(17789, "cSurname", "Фамилия", FF_TEXT);
    m_cName = r.AddPersonal(17791, "cName", "Имя", FF_TEXT);
    m_cPatname = r.AddPersonal(17792, "cPatname", "Отчество", FF_TEXT);
    m_nSocRab = r.Add(18308, "nSocRab", "Социальный работник", FF_LOOKUP | FF_INT,
                      g_pWorkersTable.GetPtr());
    m_SOCRAB_cString =
        r.Join(r.Add(18308, "{SOCRAB}.cString", "Социальный работник", FF_JOINED | FF_TEXT),
               g_pWorkersTable.GetPtr(), "{SOCRAB}", "{SOCRAB}.ROWID={TABLE}.nSocRab");
    m_SOCRAB_cFlatCode =
        r.Join(r.Add(18308, "{SOCRAB}.cFlatCode", "Социальный работник", FF_FLATCODE | FF_TEXT),
               g_pWorkersTable.GetPtr(), "{SOCRAB}", "{SOCRAB}.ROWID={TABLE}.nSocRab");
    m_dBirthDate = r.Add(17788, "dBirthDate", "Дата рождения", FF_DATE);
    m_bIsFolder = r.Add(17281, "bIsFolder", "Признак папки", FF_FOLDERMARK | FF_INT);
    m_nRegionDataID = r.Add(18723, "nRegionDataID", "Код организации", FF_LOOKUP | FF_INT,
                            g_pOrgInfTable.GetPtr());
    m_RGCODE_cOrgID = r.AddOrgText(18723, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18724, "cOrgName", "Название организации");
    m_cAIDSCode = r.Add(20003, "cAIDSCode", "Код клиента в СПИД-центре", FF_TEXT);
    m_FOLDER_cClientCode = r.Join(r.Add(17282, "{FOLDER}.cClientCode", "Папка", FF_TEXT), this,
                                  "{FOLDER}", "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cClientCode->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(17282, "nGroupID", "Папка", FF_PARENT | FF_INT);
    r.LinkFolders(m_ROWID, m_nGroupID);
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
    m_nClientType = r.Add(18007, "nClientType", "Основная уязвимая группа", FF_ENUM | FF_INT,
                          TableEnum("xClientGroup"));
    m_nClientTypeText = r.Add(18007, "nClientType", "Основная уязвимая группа",
                              FF_ENUMTEXT | FF_TEXT, TableEnum("xClientGroup"));
    m_nClientType2 = r.Add(20161, "nClientType2", "Дополнительные уязвимые группы",
                           FF_ENUM | FF_INT, TableEnum("xClientGroup"));
    m_nClientType2Text = r.Add(20161, "nClientType2", "Дополнительные уязвимые группы",
                               FF_ENUMTEXT | FF_TEXT, TableEnum("xClientGroup"));
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
    m_nUseDirtySyr = r.Add(17060, "nUseDirtySyr", "Использовал нестерильный чужой шприц или иглу?",
                           FF_ENUM | FF_INT, TableEnum("xYesNo"));
    m_nUseDirtySyrText =
        r.Add(17060, "nUseDirtySyr", "Использовал нестерильный чужой шприц или иглу?",
              FF_ENUMTEXT | FF_TEXT, TableEnum("xYesNo"));
    m_nDesinfectionWay = r.Add(17061, "nDesinfectionWay", "Метод дезинфекции", FF_ENUM | FF_INT,
                               TableEnum("xDesinfectionWay"));
    m_nDesinfectionWayText = r.Add(17061, "nDesinfectionWay", "Метод дезинфекции",
                                   FF_ENUMTEXT | FF_TEXT, TableEnum("xDesinfectionWay"));
    m_nGivingUsed = r.Add(17062, "nGivingUsed", "Давал использованные шприцы кому-либо?",
                          FF_ENUM | FF_INT, TableEnum("xYesNo"));
    m_nGivingUsedText = r.Add(17062, "nGivingUsed", "Давал использованные шприцы кому-либо?",
                              FF_ENUMTEXT | FF_TEXT, TableEnum("xYesNo"));
    m_nLastInjectWith = r.Add(17063, "nLastInjectWith", "Последняя инъекция", FF_ENUM | FF_INT,
                              TableEnum("xLastInjectionWith"));
    m_nLastInjectWithText = r.Add(17063, "nLastInjectWith", "Последняя инъекция",
                                  FF_ENUMTEXT | FF_TEXT, TableEnum("xLastInjectionWith"));
    m_nUsingCondom = r.Add(17064, "nUsingCondom",
                           "Использовал(а) презерватив во время последнего полового акта?",
                           FF_ENUM | FF_INT, TableEnum("xCondYesNoNosex"));
    m_nUsingCondomText = r.Add(17064, "nUsingCondom",
                               "Использовал(а) презерватив во время последнего полового акта?",
                               FF_ENUMTEXT | FF_TEXT, TableEnum("xCondYesNoNosex"));
    m_nLastSexualPart = r.Add(17065, "nLastSexualPart", "Последний сексуальный партнер",
                              FF_ENUM | FF_INT, TableEnum("xLastSexual"));
    m_nLastSexualPartText = r.Add(17065, "nLastSexualPart", "Последний сексуальный партнер",
                                  FF_ENUMTEXT | FF_TEXT, TableEnum("xLastSexual"));
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
    m_nBasicDrug = r.Add(17068, "nBasicDrug", "Основной наркотик", FF_LOOKUP | FF_INT,
                         g_pDrugListTable.GetPtr());
    m_BASICDRUG_cString =
        r.Join(r.Add(17068, "{BASICDRUG}.cString", "Основной наркотик", FF_JOINED | FF_TEXT),
               g_pDrugListTable.GetPtr(), "{BASICDRUG}", "{BASICDRUG}.ROWID={TABLE}.nBasicDrug");
    m_BASICDRUG_cFlatCode =
        r.Join(r.Add(17068, "{BASICDRUG}.cFlatCode", "Основной наркотик", FF_FLATCODE | FF_TEXT),
               g_pDrugListTable.GetPtr(), "{BASICDRUG}", "{BASICDRUG}.ROWID={TABLE}.nBasicDrug");
    m_nMainRoute = r.Add(17069, "nMainRoute", "Способ употребления основного наркотика",
                         FF_ENUM | FF_INT, TableEnum("xMainRouteEnum"));
    m_nMainRouteText = r.Add(17069, "nMainRoute", "Способ употребления основного наркотика",
                             FF_ENUMTEXT | FF_TEXT, TableEnum("xMainRouteEnum"));
    m_nUseFrequency = r.Add(17070, "nUseFrequency", "Частота употребления", FF_ENUM | FF_INT,
                            TableEnum("xUseFreqEnum"));
    m_nUseFrequencyText = r.Add(17070, "nUseFrequency", "Частота употребления",
                                FF_ENUMTEXT | FF_TEXT, TableEnum("xUseFreqEnum"));
    m_nSecondaryDrug = r.Add(17130, "nSecondaryDrug", "Вторичный наркотик", FF_LOOKUP | FF_INT,
                             g_pDrugListTable.GetPtr());
    m_SECONDARYDRUG_cString =
        r.Join(r.Add(17130, "{SECONDARYDRUG}.cString", "Вторичный наркотик", FF_JOINED | FF_TEXT),
               g_pDrugListTable.GetPtr(), "{SECONDARYDRUG}",
               "{SECONDARYDRUG}.ROWID={TABLE}.nSecondaryDrug");
    m_SECONDARYDRUG_cFlatCode = r.Join(
        r.Add(17130, "{SECONDARYDRUG}.cFlatCode", "Вторичный наркотик", FF_FLATCODE | FF_TEXT),
        g_pDrugListTable.GetPtr(), "{SECONDARYDRUG}",
        "{SECONDARYDRUG}.ROWID={TABLE}.nSecondaryDrug");
    m_nParticipation = r.Add(17071, "nParticipation", "Участие в заместительной терапии",
                             FF_ENUM | FF_INT, TableConfigList("PARTICIPANTPROGRAM"));
    m_nParticipationText = r.Add(17071, "nParticipation", "Участие в заместительной терапии",
                                 FF_ENUMTEXT | FF_TEXT, TableConfigList("PARTICIPANTPROGRAM"));
    m_nDrugStartDate = r.Add(17072, "nDrugStartDate", "Год начала употребления наркотика", FF_INT);
    m_dUpdateDate = r.Add(17073, "dUpdateDate",
                          "Дата заполнения информация о употреблении наркотиков", FF_DATE);
    m_nDonorID = r.Add(18333, "nDonorID", "Источник финансирования ЗТ", FF_LOOKUP | FF_INT,
                       g_pDonorsTable.GetPtr());
    m_DONORS_cString =
        r.Join(r.Add(18333, "{DONORS}.cString", "Источник финансирования ЗТ", FF_JOINED | FF_TEXT),
               g_pDonorsTable.GetPtr(), "{DONORS}", "{DONORS}.ROWID={TABLE}.nDonorID");
    m_DONORS_cFlatCode = r.Join(
        r.Add(18333, "{DONORS}.cFlatCode", "Источник финансирования ЗТ", FF_FLATCODE | FF_TEXT),
        g_pDonorsTable.GetPtr(), "{DONORS}", "{DONORS}.ROWID={TABLE}.nDonorID");
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
    m_nEploymentStatus = r.Add(17087, "nEploymentStatus", "Трудоустройство", FF_ENUM | FF_INT,
                               TableEnum("xEployment"));
    m_nEploymentStatusText = r.Add(17087, "nEploymentStatus", "Трудоустройство",
                                   FF_ENUMTEXT | FF_TEXT, TableEnum("xEployment"));
    m_cOtherEployment = r.Add(17088, "cOtherEployment", "Название работы", FF_TEXT);
    m_nPlaceOfLiving = r.Add(17089, "nPlaceOfLiving", "Место жительства", FF_ENUM | FF_INT,
                             TableEnum("xLivingPlaceEnum"));
    m_nPlaceOfLivingText = r.Add(17089, "nPlaceOfLiving", "Место жительства", FF_ENUMTEXT | FF_TEXT,
                                 TableEnum("xLivingPlaceEnum"));
    m_nEducationLevel = r.Add(17090, "nEducationLevel", "Образование", FF_ENUM | FF_INT,
                              TableEnum("xEducationLevelEnum"));
    m_nEducationLevelText = r.Add(17090, "nEducationLevel", "Образование", FF_ENUMTEXT | FF_TEXT,
                                  TableEnum("xEducationLevelEnum"));
    m_nLegalProblem = r.Add(17091, "nLegalProblem", "Проблемы с законом", FF_ENUM | FF_INT,
                            TableEnum("xLegalProblemsEnum"));
    m_nLegalProblemText = r.Add(17091, "nLegalProblem", "Проблемы с законом", FF_ENUMTEXT | FF_TEXT,
                                TableEnum("xLegalProblemsEnum"));
    m_nChildCount = r.Add(17092, "nChildCount", "Количество детей", FF_INT);
    m_dUpdateDate = r.Add(17093, "dUpdateDate", "Дата заполнения социального статуса", FF_DATE);
    m_bRegPolice =
        r.Add(17094, "bRegPolice", "На учете в милиции", FF_ENUM | FF_INT, TableEnum("xYesNo"));
    m_bRegPoliceText = r.Add(17094, "bRegPolice", "На учете в милиции", FF_ENUMTEXT | FF_TEXT,
                             TableEnum("xYesNo"));
    m_bNarcoDisp = r.Add(17095, "bNarcoDisp", "На учете в наркодиспансере", FF_ENUM | FF_INT,
                         TableEnum("xYesNo"));
    m_bNarcoDispText = r.Add(17095, "bNarcoDisp", "На учете в наркодиспансере",
                             FF_ENUMTEXT | FF_TEXT, TableEnum("xYesNo"));
    m_nOtherReg = r.Add(18974, "nOtherReg", "Прочая регистрация", FF_ENUM | FF_INT,
                        TableEnum("xSocOtherReg"));
    m_nOtherRegText = r.Add(18974, "nOtherReg", "Прочая регистрация", FF_ENUMTEXT | FF_TEXT,
                            TableEnum("xSocOtherReg"));
    m_nClientID = r.Add(18017, "nClientID", "Код клиента", FF_INT);
    m_bVolonter =
        r.Add(18087, "bVolonter", "Стал волонтером", FF_ENUM | FF_INT, TableEnum("xYesNo"));
    m_bVolonterText =
        r.Add(18087, "bVolonter", "Стал волонтером", FF_ENUMTEXT | FF_TEXT, TableEnum("xYesNo"));
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
    m_nDisease =
        r.Add(17098, "nDisease", "Код заболевания", FF_ENUM | FF_INT, TableEnum("xDiseases"));
    m_nDiseaseText =
        r.Add(17098, "nDisease", "Код заболевания", FF_ENUMTEXT | FF_TEXT, TableEnum("xDiseases"));
    m_nStatus =
        r.Add(17099, "nStatus", "Статус болезни", FF_ENUM | FF_INT, TableEnum("xDiseaseStates"));
    m_nStatusText = r.Add(17099, "nStatus", "Статус болезни", FF_ENUMTEXT | FF_TEXT,
                          TableEnum("xDiseaseStates"));
    m_nTreatmentStartDate = r.Add(17131, "nTreatmentStartDate", "Дата начала лечения", FF_INT);
}
