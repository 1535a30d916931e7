#include "table_set.h"

#include "framework/core/table/cx_database.h"
#include "framework/core/table/table_captions.h"

CxObj<CxTable_ClientData*> g_pClientDataTable;
CxObj<CxTable_ClientDataChanges*> g_pClientDataChangesTable;
CxObj<CxTable_RiskBehavior*> g_pRiskBehaviorTable;
CxObj<CxTable_DrugUseData*> g_pDrugUseDataTable;
CxObj<CxTable_SocialStatus*> g_pSocialStatusTable;
CxObj<CxTable_HealthStatus*> g_pHealthStatusTable;
CxObj<CxTable_TrainingList*> g_pTrainingListTable;
CxObj<CxTable_TrainingsSubData*> g_pTrainingsSubDataTable;
CxObj<CxTable_DailyReport*> g_pDailyReportTable;
CxObj<CxTable_DailyVisitsSubHDR*> g_pDailyVisitsSubHDRTable;
CxObj<CxTable_DailyRedirects*> g_pDailyRedirectsTable;
CxObj<CxTable_DailyVisits*> g_pDailyVisitsTable;
CxObj<CxTable_Dir*> g_pDirTable;
CxObj<CxTable_WorkPlace*> g_pWorkPlaceTable;
CxObj<CxTable_Materials*> g_pMaterialsTable;
CxObj<CxTable_Workers*> g_pWorkersTable;
CxObj<CxTable_DrugList*> g_pDrugListTable;
CxObj<CxTable_Trainings*> g_pTrainingsTable;
CxObj<CxTable_MatGroups*> g_pMatGroupsTable;
CxObj<CxTable_MatPack*> g_pMatPackTable;
CxObj<CxTable_Donors*> g_pDonorsTable;
CxObj<CxTable_StrToID*> g_pStrToIDTable;
CxObj<CxTable_Towns*> g_pTownsTable;
CxObj<CxTable_OrgInf*> g_pOrgInfTable;

CSelfTablesKelda g_SelfTablesKelda;

namespace {
template <class T> T* Create(CxObj<T*>& holder) {
    T* table = holder.Attach(new T);
    table->SetFlags(ATTR_BASE, ATTR_SHARED, -1);
    return table;
}

// The client table lists each dated history table twice (the newest row, then
// every row of the client).
void AddHistory(CxTable* history) {
    g_pClientDataTable->RegisterSubTable(history,
                                         QStringLiteral("{MAINTABLE}.ROWID={TABLE}.nLastLinkID"));
    g_pClientDataTable->RegisterSubTable(history,
                                         QStringLiteral("{MAINTABLE}.ROWID={TABLE}.nClientID"));
}

void Link(CxTable* master, CxTable* detail, const char* column) {
    g_pDatabase->LinkData(master->GetKeyField(), detail->FindField(QString::fromLatin1(column)),
                          FKMODE_DEFAULT);
}
} // namespace

void CSelfTablesKelda::Init(int registerOnly) {
    if (registerOnly) {
        CGlobalRegisterObject::RegisterObject(this, SELFREG_TABLES, 0);
        return;
    }

    Create(g_pClientDataTable)->SetFlags(ATTR_CLIENTS, -1);
    AddHistory(Create(g_pClientDataChangesTable));
    AddHistory(Create(g_pRiskBehaviorTable));
    AddHistory(Create(g_pDrugUseDataTable));
    AddHistory(Create(g_pSocialStatusTable));
    g_pClientDataTable->RegisterSubTable(Create(g_pHealthStatusTable),
                                         QStringLiteral("{MAINTABLE}.ROWID={TABLE}.nClientID"));
    Create(g_pTrainingListTable);
    Create(g_pTrainingsSubDataTable);
    Create(g_pDailyReportTable);
    Create(g_pDailyVisitsSubHDRTable);
    Create(g_pDailyRedirectsTable);
    Create(g_pDailyVisitsTable);
    Create(g_pDirTable);
    Create(g_pWorkPlaceTable);
    Create(g_pMaterialsTable);
    Create(g_pWorkersTable);
    Create(g_pDrugListTable);
    Create(g_pTrainingsTable);
    Create(g_pMatGroupsTable);
    Create(g_pMatPackTable);
    Create(g_pDonorsTable);
    Create(g_pStrToIDTable);
    // The towns are not exchanged with other organisations.
    g_pTownsTable.Attach(new CxTable_Towns)->SetFlags(ATTR_BASE, -1);
    Create(g_pOrgInfTable);

    // Every descriptor exists before the first Init: lookups and joins take
    // the referenced descriptor from its holder.
    g_pClientDataTable->Init();
    g_pClientDataChangesTable->Init();
    g_pRiskBehaviorTable->Init();
    g_pDrugUseDataTable->Init();
    g_pSocialStatusTable->Init();
    g_pHealthStatusTable->Init();
    g_pTrainingListTable->Init();
    g_pTrainingsSubDataTable->Init();
    g_pDailyReportTable->Init();
    g_pDailyVisitsSubHDRTable->Init();
    g_pDailyRedirectsTable->Init();
    g_pDailyVisitsTable->Init();
    g_pDirTable->Init();
    g_pWorkPlaceTable->Init();
    g_pMaterialsTable->Init();
    g_pWorkersTable->Init();
    g_pDrugListTable->Init();
    g_pTrainingsTable->Init();
    g_pMatGroupsTable->Init();
    g_pMatPackTable->Init();
    g_pDonorsTable->Init();
    g_pStrToIDTable->Init();
    g_pTownsTable->Init();
    g_pOrgInfTable->Init();

    Link(g_pClientDataTable, g_pClientDataChangesTable, "nLastLinkID");
    Link(g_pWorkersTable, g_pClientDataTable, "nSocRab");
    Link(g_pOrgInfTable, g_pClientDataTable, "nRegionDataID");
    Link(g_pClientDataTable, g_pClientDataChangesTable, "nClientID");
    Link(g_pClientDataTable, g_pRiskBehaviorTable, "nLastLinkID");
    Link(g_pClientDataTable, g_pRiskBehaviorTable, "nClientID");
    Link(g_pDrugListTable, g_pDrugUseDataTable, "nBasicDrug");
    Link(g_pDrugListTable, g_pDrugUseDataTable, "nSecondaryDrug");
    Link(g_pDonorsTable, g_pDrugUseDataTable, "nDonorID");
    Link(g_pClientDataTable, g_pDrugUseDataTable, "nLastLinkID");
    Link(g_pClientDataTable, g_pDrugUseDataTable, "nClientID");
    Link(g_pClientDataTable, g_pSocialStatusTable, "nLastLinkID");
    Link(g_pClientDataTable, g_pSocialStatusTable, "nClientID");
    Link(g_pClientDataTable, g_pHealthStatusTable, "nClientID");
    Link(g_pTrainingsTable, g_pTrainingListTable, "nTopicID");
    Link(g_pDonorsTable, g_pTrainingListTable, "nDonorID");
    Link(g_pOrgInfTable, g_pTrainingListTable, "nRegionDataID");
    Link(g_pTrainingListTable, g_pTrainingsSubDataTable, "nTrainingID");
    Link(g_pClientDataTable, g_pTrainingsSubDataTable, "nClientID");
    Link(g_pWorkersTable, g_pDailyReportTable, "nWorker1");
    Link(g_pWorkersTable, g_pDailyReportTable, "nWorker2");
    Link(g_pWorkersTable, g_pDailyReportTable, "nWorker3");
    Link(g_pWorkPlaceTable, g_pDailyReportTable, "nWorkPlace");
    Link(g_pOrgInfTable, g_pDailyReportTable, "nRegionDataID");
    Link(g_pMaterialsTable, g_pDailyVisitsSubHDRTable, "nKeyFirst");
    Link(g_pMaterialsTable, g_pDailyRedirectsTable, "nItem");
    Link(g_pDailyReportTable, g_pDailyRedirectsTable, "nReportID");
    Link(g_pClientDataTable, g_pDailyVisitsTable, "nClientID");
    Link(g_pMaterialsTable, g_pDailyVisitsTable, "nItem");
    Link(g_pDailyReportTable, g_pDailyVisitsTable, "nReportID");
    Link(g_pOrgInfTable, g_pStrToIDTable, "nRegionDataID");

    // Backup, restore and exchange name a table by its caption; the shared
    // "dir" table reads as its first descriptor, the directories as a whole.
    SetTableCaptionLookup([](const QString& sqlTable) {
        for (const CxTable* table : KeldaTables())
            if (table->GetSQLTable().compare(sqlTable, Qt::CaseInsensitive) == 0)
                return table->GetCaption();
        return QString();
    });
}

QList<CxTable*> KeldaTables() {
    const QList<CxTable*> all{g_pClientDataTable,
                              g_pClientDataChangesTable,
                              g_pRiskBehaviorTable,
                              g_pDrugUseDataTable,
                              g_pSocialStatusTable,
                              g_pHealthStatusTable,
                              g_pTrainingListTable,
                              g_pTrainingsSubDataTable,
                              g_pDailyReportTable,
                              g_pDailyVisitsSubHDRTable,
                              g_pDailyRedirectsTable,
                              g_pDailyVisitsTable,
                              g_pDirTable,
                              g_pWorkPlaceTable,
                              g_pMaterialsTable,
                              g_pWorkersTable,
                              g_pDrugListTable,
                              g_pTrainingsTable,
                              g_pMatGroupsTable,
                              g_pMatPackTable,
                              g_pDonorsTable,
                              g_pStrToIDTable,
                              g_pTownsTable,
                              g_pOrgInfTable};
    return all.contains(nullptr) ? QList<CxTable*>() : all;
}
