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
    r.AddEnum(m_nTrainingType, m_nTrainingTypeText, 18930, "nTrainingType", "Тип тренинга",
              TableEnum("xTrainingType"));
    r.AddLookup(m_nTopicID, m_TRAININGS_cString, 17101, "nTopicID", "Тема",
                g_pTrainingsTable.GetPtr(), "TRAININGS", "cString", &m_TRAININGS_cFlatCode);
    r.AddLookup(m_nDonorID, m_DONORS_cString, 18033, "nDonorID", "Источник финансирования",
                g_pDonorsTable.GetPtr(), "DONORS", "cString", &m_DONORS_cFlatCode);
    m_nNumberOfClients = r.Add(17102, "nNumberOfClients", "Количество слушателей", FF_INT);
    m_nTimeInHours = r.Add(17103, "nTimeInHours", "Длительность в часах", FF_INT);
    m_DaysExpr = r.Add(20632, "ROUND({TABLE}.nTimeInHours/8,1)", "Длительность в днях", FF_REAL);
    m_dDate = r.Add(17104, "dDate", "Дата проведения", FF_DATE);
    m_cTrainers = r.Add(17105, "cTrainers", "Имена тренеров", FF_TEXT);
    m_cComment = r.Add(17106, "cComment", "Комментарий", FF_TEXT);
    r.AddEnum(m_nForType, m_nForTypeText, 17107, "nForType", "Целевая аудитория",
              TableEnum("xTrainingFor"));
    m_cName = r.Add(17108, "cName", "Название", FF_TEXT);
    m_cFCompanyName = r.Add(17630, "cFCompanyName", "Название компании", FF_TEXT);
    m_bIsFolder = r.Add(18315, "bIsFolder", "Признак папки", FF_FOLDERMARK | FF_INT);
    m_nRegionDataID = r.Add(20733, "nRegionDataID", "Код региона", FF_INT);
    m_RGCODE_cOrgID = r.AddOrgText(18725, "cOrgID", "Код организации");
    m_RGCODE_cOrgName = r.AddOrgText(18726, "cOrgName", "Название организации");
    r.AddFolders(m_FOLDER_cName, m_nGroupID, 18311, "cName", m_cName, m_ROWID);
}

CxTable_TrainingsSubData::CxTable_TrainingsSubData()
    : CxTable("trainingssubdata",
              CTarvikApp::TranslateString(
                  QStringLiteral("Клиенты тренингов"),
                  QStringLiteral("CxTable_TrainingsSubData::CxTable_TrainingsSubData"), 1),
              "TrainingsSubData") {}
void CxTable_TrainingsSubData::Init() {
    CxFieldRegistrar r(this, "CxTable_TrainingsSubData::Init");
    r.AddLookup(m_nTrainingID, m_TRAINING_cName, 18088, "nTrainingID", "Тренинг",
                g_pTrainingListTable.GetPtr(), "TRAINING", "cName");
    r.AddLookup(m_nClientID, m_CLIENTDATA_cClientCode, 18089, "nClientID", "Клиент",
                g_pClientDataTable.GetPtr(), "CLIENTDATA", "cClientCode");
}
