#pragma once
// The table set: one global owning holder per descriptor, filled by the
// self-registering CSelfTablesKelda when the framework initialises the tables
// (after the schema upgrade and the configuration load).
#include "client_tables.h"
#include "daily_report_tables.h"
#include "dir_tables.h"
#include "org_tables.h"
#include "training_tables.h"

#include "framework/core/containers/cx_obj.h"
#include "framework/core/table/self_register.h"

#include <QList>

// The attribute that marks the client register among the tables.
constexpr int ATTR_CLIENTS = 18713;

extern CxObj<CxTable_ClientData*> g_pClientDataTable;
extern CxObj<CxTable_ClientDataChanges*> g_pClientDataChangesTable;
extern CxObj<CxTable_RiskBehavior*> g_pRiskBehaviorTable;
extern CxObj<CxTable_DrugUseData*> g_pDrugUseDataTable;
extern CxObj<CxTable_SocialStatus*> g_pSocialStatusTable;
extern CxObj<CxTable_HealthStatus*> g_pHealthStatusTable;
extern CxObj<CxTable_TrainingList*> g_pTrainingListTable;
extern CxObj<CxTable_TrainingsSubData*> g_pTrainingsSubDataTable;
extern CxObj<CxTable_DailyReport*> g_pDailyReportTable;
extern CxObj<CxTable_DailyVisitsSubHDR*> g_pDailyVisitsSubHDRTable;
extern CxObj<CxTable_DailyRedirects*> g_pDailyRedirectsTable;
extern CxObj<CxTable_DailyVisits*> g_pDailyVisitsTable;
extern CxObj<CxTable_Dir*> g_pDirTable;
extern CxObj<CxTable_WorkPlace*> g_pWorkPlaceTable;
extern CxObj<CxTable_Materials*> g_pMaterialsTable;
extern CxObj<CxTable_Workers*> g_pWorkersTable;
extern CxObj<CxTable_DrugList*> g_pDrugListTable;
extern CxObj<CxTable_Trainings*> g_pTrainingsTable;
extern CxObj<CxTable_MatGroups*> g_pMatGroupsTable;
extern CxObj<CxTable_MatPack*> g_pMatPackTable;
extern CxObj<CxTable_Donors*> g_pDonorsTable;
extern CxObj<CxTable_StrToID*> g_pStrToIDTable;
extern CxObj<CxTable_Towns*> g_pTownsTable;
extern CxObj<CxTable_OrgInf*> g_pOrgInfTable;

class CSelfTablesKelda : public CSelfRegisterObject {
public:
    // Nonzero: join the framework's group 18800; 0: build the whole set
    // (again, replacing the descriptors held before).
    void Init(int registerOnly) override;
};

extern CSelfTablesKelda g_SelfTablesKelda;

// The descriptors in table-set order; empty before the set is built.
QList<CxTable*> KeldaTables();
