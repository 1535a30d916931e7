#include "rep_templates.h"

#include <QtGlobal>

static void InitResources() {
    Q_INIT_RESOURCE(report_templates);
}

void InitReportTemplates() {
    static const bool done = (InitResources(), true);
    (void)done;
}
