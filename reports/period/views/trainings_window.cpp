// The trainings report opens its own window: it maps its command to its
// address and registers its document template itself, beside the program's
// table of templates, when the main window stands.
#include "framework/core/app/modules_info.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/icons.h"
#include "framework/widgets/mdi_child_wnd.h"
#include "reports/period/core/rep_trainings.h"
#include "reports/visits/views/period_poshlist_view.h"

namespace {
constexpr unsigned kCmdRepTrainings = 1031; // "Отчет по тренингам" of the report menu
constexpr int kIconReport = 1959;

class CRegisterTrainingsWindow : public CSelfRegisterObject {
public:
    void Init(int registerOnly) override {
        if (registerOnly) {
            CGlobalRegisterObject::RegisterObject(this, OBJGROUP_DOC_TEMPLATES, 0);
            return;
        }
        CTarvikApp::RegisterCmdToURL(kCmdRepTrainings, QStringLiteral("opendoc:CRep_Trainings"));
        CTarvikApp::RegisterDocTemplate(
            GetVarIcon(kIconReport), &CRepPeriodPoshlistView::staticMetaObject,
            &CRep_Trainings::staticMetaObject, &CxMDIChildWnd::staticMetaObject);
    }
} g_registerTrainingsWindow;
} // namespace
