#pragma once
// Descriptors of the daily reports: headers, sheet columns, redirections and visit cells.
#include "framework/core/table/cx_table.h"

class CxTable_DailyReport : public CxTable {
public:
    CxTable_DailyReport();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_dDate = nullptr;
    CxField* m_nCrc = nullptr;
    CxField* m_nProject = nullptr;
    CxField* m_nProjectText = nullptr;
    CxField* m_nWorker1 = nullptr;
    CxField* m_WORKER1_cString = nullptr;
    CxField* m_nWorker2 = nullptr;
    CxField* m_WORKER2_cString = nullptr;
    CxField* m_nWorker3 = nullptr;
    CxField* m_WORKER3_cString = nullptr;
    CxField* m_nWorkPlace = nullptr;
    CxField* m_WORKPLACE_cString = nullptr;
    CxField* m_cComment = nullptr;
    CxField* m_bIsFolder = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_RGCODE_cOrgID = nullptr;
    CxField* m_RGCODE_cOrgName = nullptr;
    CxField* m_FOLDER_cComment = nullptr;
    CxField* m_nGroupID = nullptr;
};

class CxTable_DailyVisitsSubHDR : public CxTable {
public:
    CxTable_DailyVisitsSubHDR();
    void Init();

    CxField* m_nReportID = nullptr;
    CxField* m_nVedID = nullptr;
    CxField* m_nKeyFirst = nullptr;
    CxField* m_nKeySecond = nullptr;
    CxField* m_nWidth = nullptr;
    CxField* m_nPos = nullptr;
    CxField* m_nRegionDataID = nullptr;
};

class CxTable_DailyRedirects : public CxTable {
public:
    CxTable_DailyRedirects();
    void Init();

    CxField* m_nItem = nullptr;
    CxField* m_MATERIAL_cString = nullptr;
    CxField* m_nCount = nullptr;
    CxField* m_nVedID = nullptr;
    CxField* m_nConsultKey = nullptr;
    CxField* m_nReportID = nullptr;
    CxField* m_REPORT_dDate = nullptr;
};

class CxTable_DailyVisits : public CxTable {
public:
    CxTable_DailyVisits();
    void Init();

    CxField* m_ROWID = nullptr;
    CxField* m_nReportID = nullptr;
    CxField* m_nClientID = nullptr;
    CxField* m_nItem = nullptr;
    CxField* m_MATERIAL_cString = nullptr;
    CxField* m_nRegionDataID = nullptr;
    CxField* m_nCount = nullptr;
    CxField* m_CountOrService = nullptr;
    CxField* m_NPP = nullptr;
    CxField* m_nVedID = nullptr;
    CxField* m_REPORT_dDate = nullptr;
    CxField* m_WORKER1_cString = nullptr;
    CxField* m_WORKER2_cString = nullptr;
    CxField* m_WORKER3_cString = nullptr;
    CxField* m_WORKPLACE_cString = nullptr;
    CxField* m_REPORT_cComment = nullptr;
};
