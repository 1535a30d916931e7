#include "training_tables.h"

#include "table_registrar.h"
#include "table_set.h"

#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"

CxTable_TrainingList::CxTable_TrainingList()
    : CxTable("traininglist",
              CTarvikApp::TranslateString(
                  QStringLiteral("Тренинги"),
                  QStringLiteral("CxTable_TrainingList::CxTable_TrainingList"), 1),
              "TrainingList") {}
void CxTable_TrainingList::Init() {
    CxFieldRegistrar r(this, "CxTable_TrainingList::Init");
    m_ROWID = r.Add(17100, "ROWID", "Внутренний код", FF_KEY | FF_INT);
    m_nTrainingType =
        r.Add(18930, "nTrainingType", "Тип тренинга", FF_ENUM | FF_INT, TableEnum("xTrainingType"));
    m_nTrainingTypeText = r.Add(18930, "nTrainingType", "Тип тренинга", FF_ENUMTEXT | FF_TEXT,
                                TableEnum("xTrainingType"));
    m_nTopicID = r.Add(17101, "nTopicID", "Тема", FF_LOOKUP | FF_INT, g_pTrainingsTable.GetPtr());
    m_TRAININGS_cString =
        r.Join(r.Add(17101, "{TRAININGS}.cString", "Тема", FF_JOINED | FF_TEXT),
               g_pTrainingsTable.GetPtr(), "{TRAININGS}", "{TRAININGS}.ROWID={TABLE}.nTopicID");
    m_TRAININGS_cFlatCode =
        r.Join(r.Add(17101, "{TRAININGS}.cFlatCode", "Тема", FF_FLATCODE | FF_TEXT),
               g_pTrainingsTable.GetPtr(), "{TRAININGS}", "{TRAININGS}.ROWID={TABLE}.nTopicID");
    m_nDonorID = r.Add(18033, "nDonorID", "Источник финансирования", FF_LOOKUP | FF_INT,
                       g_pDonorsTable.GetPtr());
    m_DONORS_cString =
        r.Join(r.Add(18033, "{DONORS}.cString", "Источник финансирования", FF_JOINED | FF_TEXT),
               g_pDonorsTable.GetPtr(), "{DONORS}", "{DONORS}.ROWID={TABLE}.nDonorID");
    m_DONORS_cFlatCode =
        r.Join(r.Add(18033, "{DONORS}.cFlatCode", "Источник финансирования", FF_FLATCODE | FF_TEXT),
               g_pDonorsTable.GetPtr(), "{DONORS}", "{DONORS}.ROWID={TABLE}.nDonorID");
    m_nNumberOfClients = r.Add(17102, "nNumberOfClients", "Количество слушателей", FF_INT);
    m_nTimeInHours = r.Add(17103, "nTimeInHours", "Длительность в часах", FF_INT);
    m_DaysExpr = r.Add(20632, "ROUND({TABLE}.nTimeInHours/8,1)", "Длительность в днях", FF_REAL);
    m_dDate = r.Add(17104, "dDate", "Дата проведения", FF_DATE);
    m_cTrainers = r.Add(17105, "cTrainers", "Имена тренеров", FF_TEXT);
    m_cComment = r.Add(17106, "cComment", "Комментарий", FF_TEXT);
    m_nForType =
        r.Add(17107, "nForType", "Целевая аудитория", FF_ENUM | FF_INT, TableEnum("xTrainingFor"));
    m_nForTypeText = r.Add(17107, "nForType", "Целевая аудитория", FF_ENUMTEXT | FF_TEXT,
                           TableEnum("xTrainingFor"));
    m_cName = r.Add(17108, "cName", "Название", FF_TEXT);
    m_cFCompanyName = r.Add(17630, "cFCompanyName", "Название компании", FF_TEXT);
    m_bIsFolder = r.Add(18315, "bIsFolder", "Признак папки", FF_FOLDERMARK | FF_INT);
    m_nRegionDataID = r.Add(20733, "nRegionDataID", "Код региона", FF_INT);
    m_RGCODE_cOrgID = r.AddOrgText(18725, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18726, "cOrgName", "Название организации");
    m_FOLDER_cName = r.Join(r.Add(18311, "{FOLDER}.cName", "Папка", FF_TEXT), this, "{FOLDER}",
                            "{TABLE}.nGroupID={FOLDER}.ROWID");
    m_cName->SetFlags(ATTR_FOLDERNAME);
    m_nGroupID = r.Add(18311, "nGroupID", "Папка", FF_PARENT | FF_INT);
    r.LinkFolders(m_ROWID, m_nGroupID);
}

CxTable_TrainingsSubData::CxTable_TrainingsSubData()
    : CxTable("trainingssubdata",
              CTarvikApp::TranslateString(
                  QStringLiteral("Клиенты тренингов"),
                  QStringLiteral("CxTable_TrainingsSubData::CxTable_TrainingsSubData"), 1),
              "TrainingsSubData") {}
void CxTable_TrainingsSubData::Init() {
    CxFieldRegistrar r(this, "CxTable_TrainingsSubData::Init");
    m_nTrainingID =
        r.Add(18088, "nTrainingID", "Тренинг", FF_LOOKUP | FF_INT, g_pTrainingListTable.GetPtr());
    m_TRAINING_cName =
        r.Join(r.Add(18088, "{TRAINING}.cName", "Тренинг", FF_JOINED | FF_TEXT),
               g_pTrainingListTable.GetPtr(), "{TRAINING}", "{TRAINING}.ROWID={TABLE}.nTrainingID");
    m_nClientID =
        r.Add(18089, "nClientID", "Клиент", FF_LOOKUP | FF_INT, g_pClientDataTable.GetPtr());
    m_CLIENTDATA_cClientCode =
        r.Join(r.Add(18089, "{CLIENTDATA}.cClientCode", "Клиент", FF_JOINED | FF_TEXT),
               g_pClientDataTable.GetPtr(), "{CLIENTDATA}", "{CLIENTDATA}.ROWID={TABLE}.nClientID");
}
