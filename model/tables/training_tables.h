#pragma once
// Descriptors of the trainings and their participants.
#include "framework/core/table/cx_table.h"

class CxTable_TrainingList : public CxTable {
public:
    CxTable_TrainingList();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nTrainingType = nullptr;
    CxField* m_nTrainingTypeText = nullptr;
    CxField* m_nTopicID = nullptr;
    CxField* m_TRAININGS_cString = nullptr;
    CxField* m_TRAININGS_cFlatCode = nullptr;
    CxField* m_nDonorID = nullptr;
    CxField* m_DONORS_cString = nullptr;
    CxField* m_DONORS_cFlatCode = nullptr;
    CxField* m_nNumberOfClients = nullptr;
    CxField* m_nTimeInHours = nullptr;
    CxField* m_DaysExpr = nullptr;
    CxField* m_dDate = nullptr;
    CxField* m_cTrainers = nullptr;
    CxField* m_cComment = nullptr;
    CxField* m_nForType = nullptr;
    CxField* m_nForTypeText = nullptr;
    CxField* m_cName = nullptr;
    CxField* m_cFCompanyName = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_FOLDER_cName = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_TrainingsSubData : public CxTable {
public:
    CxTable_TrainingsSubData();
    void Init();

    CxField* m_nTrainingID = nullptr;
    CxField* m_TRAINING_cName = nullptr;
    CxField* m_nClientID = nullptr;
    CxField* m_CLIENTDATA_cClientCode = nullptr;
};
