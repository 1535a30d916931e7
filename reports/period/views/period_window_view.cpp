#include "period_window_view.h"

#include "reports/base/core/rep_base.h"

CRepPeriodWindowView::CRepPeriodWindowView(QWidget* parent) : CRepBaseView(parent) {
    setObjectName(QStringLiteral("CRepPeriodWindowView"));
}

bool CRepPeriodWindowView::OnInitialUpdate() {
    if (!CRepBaseView::OnInitialUpdate())
        return false;
    for (int id : {kRepCtlProject, kRepCtlProjectExact, kRepCtlClientKind, kRepCtlNewClientMode,
                   kRepCtlPresets})
        ShowControl(id, false);
    return true;
}
