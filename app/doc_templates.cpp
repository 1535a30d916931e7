// The document templates of the program: which view, document and frame make
// each kind of window, registered when the main window stands, in the order
// of the program's template table. The localisation form CTrForm has no
// template: the program has no localisation editor. The trainings report
// registers its own template and command (reports/period/views).
#include "app/icon_ids.h"
#include "child_frames.h"
#include "clients/card/client_card.h"
#include "clients/card/clients_journal.h"
#include "clients/directories/directories_journal.h"
#include "clients/directories/donors_form.h"
#include "clients/directories/drugs_form.h"
#include "clients/directories/material_form.h"
#include "clients/directories/material_group_form.h"
#include "clients/directories/material_pack_form.h"
#include "clients/directories/training_type_form.h"
#include "clients/directories/workers_form.h"
#include "clients/directories/workplace_form.h"
#include "clients/trainings/training_form.h"
#include "clients/trainings/trainings_journal.h"
#include "diary/daily_report_form.h"
#include "diary/diary_journal.h"
#include "exchange/transfer/compare_changes_doc.h"
#include "exchange/widgets/compare_changes_view.h"
#include "exchange/widgets/configurator_form.h"
#include "exchange/widgets/org_list_view.h"
#include "framework/core/app/modules_info.h"
#include "framework/core/documents/document.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/mdi_child_wnd.h"
#include "reports/base/views/rep_base_view.h"
#include "reports/period/core/rep_ohvat.h"
#include "reports/period/core/rep_svod_kvart.h"
#include "reports/period/core/year_summaries.h"
#include "reports/visits/core/rep_period_kelda_doc.h"
#include "reports/visits/core/rep_raspred_doc.h"
#include "reports/visits/core/rep_trainings_doc.h"
#include "reports/visits/core/rep_visits_variants.h"
#include "reports/visits/views/period_poshlist_view.h"
#include "reports/visits/views/period_views.h"
#include "reports/visits/views/visits_view.h"
#include "start_page.h"

namespace {
class CRegisterDocTemplatesCKelda2App : public CSelfRegisterObject {
public:
    void Init(int registerOnly) override {
        if (registerOnly) {
            CGlobalRegisterObject::RegisterObject(this, OBJGROUP_DOC_TEMPLATES, 0);
            return;
        }
        const QMetaObject* form = &CxMDIChildWnd::staticMetaObject;
        const QMetaObject* sqlDoc = &CxSQLDocument::staticMetaObject;
        const auto reg = [](int icon, const QMetaObject* view, const QMetaObject* doc,
                            const QMetaObject* frame) {
            CTarvikApp::RegisterDocTemplate(GetVarIcon(icon), view, doc, frame);
        };
        reg(IDI_DOCUMENT, CKelda2View::GetThisClass(), CKelda2Doc::GetThisClass(),
            &CChildFrame::staticMetaObject);
        reg(IDI_CLIENTS, CJClients::GetThisClass(), &CxFormDocument::staticMetaObject,
            &CJFrame::staticMetaObject);
        reg(IDI_CLIENTS, CJOrgListView::GetThisClass(), &CxFormDocument::staticMetaObject,
            &CJFrame::staticMetaObject);
        reg(IDI_DIARY, CJDiaryMain::GetThisClass(), CJDiaryMainDocument::GetThisClass(),
            &CJFrame::staticMetaObject);
        reg(IDI_DIRECTORIES, CJDirectories::GetThisClass(), CJDirectoriesDocument::GetThisClass(),
            &CJFrame::staticMetaObject);
        reg(IDI_TRAININGS, CJTrainings::GetThisClass(), &CxFormDocument::staticMetaObject,
            &CJFrame::staticMetaObject);
        reg(IDI_TRAINING, CDDirTrainig::GetThisClass(), sqlDoc, form);
        reg(IDI_TRAINING, CDTraining::GetThisClass(), sqlDoc, form);
        reg(IDI_MATERIALS, CDDirMat::GetThisClass(), sqlDoc, form);
        reg(IDI_MATERIAL_GROUPS, CDDirMatGroup::GetThisClass(), sqlDoc, form);
        reg(IDI_POINTS, CDDirWorkPlace::GetThisClass(), sqlDoc, form);
        reg(IDI_STAFF, CDDirWorkers::GetThisClass(), sqlDoc, form);
        reg(IDI_CLIENTS, CDClients::GetThisClass(), sqlDoc, form);
        reg(IDI_DRUGS, CDDirDrugs::GetThisClass(), sqlDoc, form);
        reg(IDI_DIARY, CDDiary::GetThisClass(), sqlDoc, form);
        reg(IDI_MATERIAL_GROUPS, CDDirMatPack::GetThisClass(), sqlDoc, form);
        reg(IDI_DOCUMENT, CDDirDonors::GetThisClass(), sqlDoc, form);
        const QMetaObject* poshView = &CRepPeriodPoshlistView::staticMetaObject;
        const QMetaObject* visitsView = &CRepVisitsView::staticMetaObject;
        reg(IDI_DOCUMENT, poshView, &CRepRaspredDoc::staticMetaObject, form);
        reg(IDI_DOCUMENT, CRepCompareChanges::GetThisClass(), CRepCompareChangesDoc::GetThisClass(),
            form);
        reg(IDI_DOCUMENT, &CRepTrainings::staticMetaObject, &CRepTrainingsDoc::staticMetaObject,
            form);
        reg(IDI_DOCUMENT, CConfiguratorFormAPP::GetThisClass(), &CxDocument::staticMetaObject,
            form);
        reg(IDI_DOCUMENT, &CRepClientInfo::staticMetaObject, &CRepClientInfoDoc::staticMetaObject,
            form);
        reg(IDI_DOCUMENT, poshView, &CRepPeriodKeldaDoc::staticMetaObject, form);
        reg(IDI_DOCUMENT, poshView, &CRepPeriodKeldaConsDoc::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRepVisitsDoc::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRepVisitsNewDoc::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRepVisitsRegDoc::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRep_Kelda_VisSummary::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRepNewConsult::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRep_SvodnyiOtchetPoGodam::staticMetaObject, form);
        reg(IDI_DOCUMENT, visitsView, &CRep_SvodnyiPoGodam::staticMetaObject, form);
        reg(IDI_DOCUMENT, &CRepBaseView::staticMetaObject, &CRep_OhvatZaPeriod::staticMetaObject,
            form);
        reg(IDI_DOCUMENT, poshView, &CRep_SvodnyeDannyDlyaKvart::staticMetaObject, form);
    }
} g_registerDocTemplates;
} // namespace
