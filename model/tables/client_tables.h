#pragma once
// Descriptors of the client register: the clients and their dated histories.
#include "framework/core/table/cx_table.h"

class CxTable_ClientData : public CxTable {
public:
    CxTable_ClientData();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cClientCode = nullptr;
    CxField* m_cOClientCode = nullptr;
    CxField* m_cGlobalCode = nullptr;
    CxField* m_dEnterDate = nullptr;
    CxField* m_dUpdateDate = nullptr;
    CxField* m_dStartInPrjDate = nullptr;
    CxField* m_nBirthYear = nullptr;
    CxField* m_AgeByBirthDate = nullptr;
    CxField* m_AgeByBirthYear = nullptr;
    CxField* m_nSex = nullptr;
    CxField* m_nSexText = nullptr;
    CxField* m_cComment = nullptr;
    CxField* m_bNewCode = nullptr;
    CxField* m_CLIEXT_nClientType = nullptr;
    CxField* m_CLIEXT_nClientTypeText = nullptr;
    CxField* m_bSecondary = nullptr;
    CxField* m_bSecondaryText = nullptr;
    CxField* m_bPDI = nullptr;
    CxField* m_bPDIText = nullptr;
    CxField* m_cSurname = nullptr;
    CxField* m_cName = nullptr;
    CxField* m_cPatname = nullptr;
    CxField* m_nSocRab = nullptr;
    CxField* m_SOCRAB_cString = nullptr;
    CxField* m_SOCRAB_cFlatCode = nullptr;
    CxField* m_dBirthDate = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cAIDSCode = nullptr;
    CxField* m_FOLDER_cClientCode = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_ClientDataChanges : public CxTable {
public:
    CxTable_ClientDataChanges();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nClientID = nullptr;
    CxField* m_dDate = nullptr;
    CxField* m_cComment = nullptr;
    CxField* m_nClientType = nullptr;
    CxField* m_nClientTypeText = nullptr;
    CxField* m_nClientType2 = nullptr;
    CxField* m_nClientType2Text = nullptr;
    CxField* m_cAddress = nullptr;
    CxField* m_nLastLinkID = nullptr;
};

class CxTable_RiskBehavior : public CxTable {
public:
    CxTable_RiskBehavior();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nUseDirtySyr = nullptr;
    CxField* m_nUseDirtySyrText = nullptr;
    CxField* m_nDesinfectionWay = nullptr;
    CxField* m_nDesinfectionWayText = nullptr;
    CxField* m_nGivingUsed = nullptr;
    CxField* m_nGivingUsedText = nullptr;
    CxField* m_nLastInjectWith = nullptr;
    CxField* m_nLastInjectWithText = nullptr;
    CxField* m_nUsingCondom = nullptr;
    CxField* m_nUsingCondomText = nullptr;
    CxField* m_nLastSexualPart = nullptr;
    CxField* m_nLastSexualPartText = nullptr;
    CxField* m_dUpdateDate = nullptr;
    CxField* m_dDate = nullptr;
    CxField* m_nLastLinkID = nullptr;
    CxField* m_nClientID = nullptr;
};

class CxTable_DrugUseData : public CxTable {
public:
    CxTable_DrugUseData();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_dDate = nullptr;
    CxField* m_nBasicDrug = nullptr;
    CxField* m_BASICDRUG_cString = nullptr;
    CxField* m_BASICDRUG_cFlatCode = nullptr;
    CxField* m_nMainRoute = nullptr;
    CxField* m_nMainRouteText = nullptr;
    CxField* m_nUseFrequency = nullptr;
    CxField* m_nUseFrequencyText = nullptr;
    CxField* m_nSecondaryDrug = nullptr;
    CxField* m_SECONDARYDRUG_cString = nullptr;
    CxField* m_SECONDARYDRUG_cFlatCode = nullptr;
    CxField* m_nParticipation = nullptr;
    CxField* m_nParticipationText = nullptr;
    CxField* m_nDrugStartDate = nullptr;
    CxField* m_dUpdateDate = nullptr;
    CxField* m_nDonorID = nullptr;
    CxField* m_DONORS_cString = nullptr;
    CxField* m_DONORS_cFlatCode = nullptr;
    CxField* m_nLastLinkID = nullptr;
    CxField* m_nClientID = nullptr;
};

class CxTable_SocialStatus : public CxTable {
public:
    CxTable_SocialStatus();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_dDate = nullptr;
    CxField* m_nEploymentStatus = nullptr;
    CxField* m_nEploymentStatusText = nullptr;
    CxField* m_cOtherEployment = nullptr;
    CxField* m_nPlaceOfLiving = nullptr;
    CxField* m_nPlaceOfLivingText = nullptr;
    CxField* m_nEducationLevel = nullptr;
    CxField* m_nEducationLevelText = nullptr;
    CxField* m_nLegalProblem = nullptr;
    CxField* m_nLegalProblemText = nullptr;
    CxField* m_nChildCount = nullptr;
    CxField* m_dUpdateDate = nullptr;
    CxField* m_bRegPolice = nullptr;
    CxField* m_bRegPoliceText = nullptr;
    CxField* m_bNarcoDisp = nullptr;
    CxField* m_bNarcoDispText = nullptr;
    CxField* m_nOtherReg = nullptr;
    CxField* m_nOtherRegText = nullptr;
    CxField* m_nClientID = nullptr;
    CxField* m_bVolonter = nullptr;
    CxField* m_bVolonterText = nullptr;
    CxField* m_nLastLinkID = nullptr;
};

class CxTable_HealthStatus : public CxTable {
public:
    CxTable_HealthStatus();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nClientID = nullptr;
    CxField* m_nDisease = nullptr;
    CxField* m_nDiseaseText = nullptr;
    CxField* m_nStatus = nullptr;
    CxField* m_nStatusText = nullptr;
    CxField* m_nTreatmentStartDate = nullptr;
};
