#pragma once
// Descriptors of the directory table: the generic one and the eight views by nDirType.
#include "framework/core/table/cx_table.h"

class CxTable_Dir : public CxTable {
public:
    CxTable_Dir();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nDirType = nullptr;
    CxField* m_nOrder = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_WorkPlace : public CxTable {
public:
    CxTable_WorkPlace();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_nType = nullptr;
    CxField* m_nTypeText = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_nTown = nullptr;
    CxField* m_TOWN_cFullName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_Materials : public CxTable {
public:
    CxTable_Materials();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_nType = nullptr;
    CxField* m_nTypeText = nullptr;
    CxField* m_nPubType = nullptr;
    CxField* m_nPubTypeText = nullptr;
    CxField* m_nAuditory = nullptr;
    CxField* m_nAuditoryText = nullptr;
    CxField* m_nCircul = nullptr;
    CxField* m_MaterialGroup = nullptr;
    CxField* m_MaterialGroupText = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_bByCode = nullptr;
    CxField* m_bByCodeText = nullptr;
    CxField* m_nSpecFlags = nullptr;
    CxField* m_nConfigGroup = nullptr;
    CxField* m_nConfigGroupText = nullptr;
    CxField* m_nSortCode = nullptr;
    CxField* m_nDonorID = nullptr;
    CxField* m_DONOR_cString = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_Workers : public CxTable {
public:
    CxTable_Workers();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_nConfigGroup = nullptr;
    CxField* m_nConfigGroupText = nullptr;
    CxField* m_nUsluga = nullptr;
    CxField* m_SERVICE_cString = nullptr;
    CxField* m_nSpeciality = nullptr;
    CxField* m_nSpecialityText = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_DrugList : public CxTable {
public:
    CxTable_DrugList();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_nType = nullptr;
    CxField* m_nTypeText = nullptr;
    CxField* m_nProdType = nullptr;
    CxField* m_nProdTypeText = nullptr;
    CxField* m_nUseType = nullptr;
    CxField* m_nUseTypeText = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_Trainings : public CxTable {
public:
    CxTable_Trainings();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_MatGroups : public CxTable {
public:
    CxTable_MatGroups();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_cOtherInfo = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_MatPack : public CxTable {
public:
    CxTable_MatPack();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_cOtherInfo = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_Donors : public CxTable {
public:
    CxTable_Donors();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cString = nullptr;
    CxField* m_cDescription = nullptr;
    CxField* m_bHidden = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_nConfigGroup = nullptr;
    CxField* m_nConfigGroupText = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_cFlatCode = nullptr;
    CxField* m_FOLDER_cString = nullptr;
    CxField* m_nGroupID = nullptr;
};
