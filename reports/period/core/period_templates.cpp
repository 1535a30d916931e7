#include "period_templates.h"

#include "reports/base/core/rep_templates.h"

#include <QtGlobal>

static void InitResources() {
    Q_INIT_RESOURCE(period_templates);
}

void InitPeriodTemplates() {
    static const bool done = (InitResources(), InitReportTemplates(), true);
    (void)done;
}
