#include "field_list.h"

#include "client_fields.h"
#include "count_fields.h"
#include "field_ids.h"
#include "field_support.h"
#include "place_fields.h"
#include "reports/base/core/rep_config.h"

CRFList::CRFList() {
    Add(new CRF_ClientCode);
    Add(new CRF_Sex);
    Add(new CRF_PDI);
    Add(new CRF_Volonter);
    Add(new CRF_Second);
    Add(new CRF_PDIIDU_New);
    Add(new CRF_PDIWCS_New);
    Add(new CRF_Clients);
    Add(new CRF_ClientsProc);
    Add(new CRF_UniqClients);
    Add(new CRF_UniqClientsProc);
    Add(new CRF_RegClients);
    Add(new CRF_Apteka);
    Add(new CRF_AptekaNew);
    Add(new CRF_NewClient);
    Add(new CRF_RiskGroup);
    Add(new CRF_RiskGroup2);
    Add(new CRF_Visits);
    Add(new CRF_VisitsProc);
    Add(new CRF_AgeGroup);
    Add(new CRF_FirstPOU);
    Add(new CRF_FirstPOUType);
    Add(new CRF_EduLevel);
    Add(new CRF_Employment);
    Add(new CRF_DrugMain);
    Add(new CRF_DrugSec);
    Add(new CRF_DrugFreq);
    Add(new CRF_Org);
    Add(new CRF_ClientsMan);
    Add(new CRF_ClientsWoman);
    Add(new CRF_ClientsTrans);
    Add(new CRF_VirtKC);
    Add(new CRF_Project);
    const QString clients = RepFieldSupport::Tr(", клиентов", "msgClientov");
    for (const RepMatGroup& group : RepConfig::MaterialGroups()) {
        if (group.group != 0)
            continue;
        Add(new CRF_Config(group.id, group.title));
        Add(new CRF_Config(group.id + kRFConfigClients, group.title + clients));
    }
    Add(new CRF_POU);
    Add(new CRF_POUTYPE);
    Add(new CRF_Town);
    Add(new CRF_Obl);
    Add(new CRF_WokrPlaceCount);
}

CRepField* CRFList::Find(long id) const {
    for (CRepField* field : *this)
        if (field->GetID() == id)
            return field;
    return nullptr;
}
