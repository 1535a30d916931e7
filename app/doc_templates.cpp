// The document templates of the program: which view, document and frame make
// each kind of window, registered when the main window stands, in the order
// of the program's template table. The localisation form CTrForm has no
// template: the program has no localisation editor. The trainings report
// registers its own template and command (reports/period/views).
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
        reg(1959, CKelda2View::GetThisClass(), CKelda2Doc::GetThisClass(),
            &CChildFrame::staticMetaObject);
        reg(1258, CJClients::GetThisClass(), &CxFormDocument::staticMetaObject,
            &CJFrame::staticMetaObject);
        reg(1258, CJOrgListView::GetThisClass(), &CxFormDocument::staticMetaObject,
            &CJFrame::staticMetaObject);
        reg(1293, CJDiaryMain::GetThisClass(), CJDiaryMainDocument::GetThisClass(),
            &CJFrame::staticMetaObject);
        reg(1979, CJDirectories::GetThisClass(), CJDirectoriesDocument::GetThisClass(),
            &CJFrame::staticMetaObject);
        reg(1303, CJTrainings::GetThisClass(), &CxFormDocument::staticMetaObject,
            &CJFrame::staticMetaObject);
        reg(1307, CDDirTrainig::GetThisClass(), sqlDoc, form);
        reg(1307, CDTraining::GetThisClass(), sqlDoc, form);
        reg(1266, CDDirMat::GetThisClass(), sqlDoc, form);
        reg(1296, CDDirMatGroup::GetThisClass(), sqlDoc, form);
        reg(1297, CDDirWorkPlace::GetThisClass(), sqlDoc, form);
        reg(1305, CDDirWorkers::GetThisClass(), sqlDoc, form);
        reg(1258, CDClients::GetThisClass(), sqlDoc, form);
        reg(1301, CDDirDrugs::GetThisClass(), sqlDoc, form);
        reg(1293, CDDiary::GetThisClass(), sqlDoc, form);
        reg(1296, CDDirMatPack::GetThisClass(), sqlDoc, form);
        reg(1959, CDDirDonors::GetThisClass(), sqlDoc, form);
        const QMetaObject* poshView = &CRepPeriodPoshlistView::staticMetaObject;
        const QMetaObject* visitsView = &CRepVisitsView::staticMetaObject;
        reg(1959, poshView, &CRepRaspredDoc::staticMetaObject, form);
        reg(1959, CRepCompareChanges::GetThisClass(), CRepCompareChangesDoc::GetThisClass(), form);
        reg(1959, &CRepTrainings::staticMetaObject, &CRepTrainingsDoc::staticMetaObject, form);
        reg(1959, CConfiguratorFormAPP::GetThisClass(), &CxDocument::staticMetaObject, form);
        reg(1959, &CRepClientInfo::staticMetaObject, &CRepClientInfoDoc::staticMetaObject, form);
        reg(1959, poshView, &CRepPeriodKeldaDoc::staticMetaObject, form);
        reg(1959, poshView, &CRepPeriodKeldaConsDoc::staticMetaObject, form);
        reg(1959, visitsView, &CRepVisitsDoc::staticMetaObject, form);
        reg(1959, visitsView, &CRepVisitsNewDoc::staticMetaObject, form);
        reg(1959, visitsView, &CRepVisitsRegDoc::staticMetaObject, form);
        reg(1959, visitsView, &CRep_Kelda_VisSummary::staticMetaObject, form);
        reg(1959, visitsView, &CRepNewConsult::staticMetaObject, form);
        reg(1959, visitsView, &CRep_SvodnyiOtchetPoGodam::staticMetaObject, form);
        reg(1959, visitsView, &CRep_SvodnyiPoGodam::staticMetaObject, form);
        reg(1959, &CRepBaseView::staticMetaObject, &CRep_OhvatZaPeriod::staticMetaObject, form);
        reg(1959, poshView, &CRep_SvodnyeDannyDlyaKvart::staticMetaObject, form);
    }
} g_registerDocTemplates;
} // namespace
