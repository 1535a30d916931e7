#include "visits_templates.h"

#include "reports/base/core/rep_templates.h"

#include <QtGlobal>

static void InitResources() {
    Q_INIT_RESOURCE(visits_templates);
}

void InitVisitsTemplates() {
    static const bool done = (InitResources(), InitReportTemplates(), true);
    (void)done;
}
