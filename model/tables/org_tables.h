#pragma once
// Descriptors of the string ids, the towns and the organisations.
#include "framework/core/table/cx_table.h"

class CxTable_StrToID : public CxTable {
public:
    CxTable_StrToID();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_nGroupID = nullptr;
    CxField* m_cStr = nullptr;
};

class CxTable_Towns : public CxTable {
public:
    CxTable_Towns();
    void Init();
    // Its rows come from the configuration's TOWNS list.
    int IsFilledFromConfig() const override { return 1; }

    CxField* m_ROWID = nullptr;
    CxField* m_nGroupID = nullptr;
    CxField* m_cShortName = nullptr;
    CxField* m_cFullName = nullptr;
};

class CxTable_OrgInf : public CxTable {
public:
    CxTable_OrgInf();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_cOrgID = nullptr;
    CxField* m_cOrgName = nullptr;
    CxField* m_cPrjName = nullptr;
    CxField* m_cSogName = nullptr;
    CxField* m_cCity = nullptr;
    CxField* m_cRegion = nullptr;
    CxField* m_cAddress = nullptr;
    CxField* m_cPhone = nullptr;
    CxField* m_cEMail = nullptr;
    CxField* m_cWWW = nullptr;
    CxField* m_cBoss = nullptr;
    CxField* m_cBossPhone = nullptr;
    CxField* m_cProjRuk = nullptr;
    CxField* m_cProjRukPhone = nullptr;
    CxField* m_cDonors = nullptr;
    CxField* m_cProjectDate = nullptr;
};
