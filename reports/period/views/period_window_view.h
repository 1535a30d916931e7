#pragma once
// The window of the period reports that take no preset (the quarterly
// summary, the summaries by years and by consultations, the trainings): the
// period, the service points and the main worker of the report view; the
// project, client and new-client choices and the preset list, which these
// reports do not read, are not shown. Each report disables what else it does
// not use (CRepBase::OnSetupView).
#include "reports/base/views/rep_base_view.h"

class CRepPeriodWindowView : public CRepBaseView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepPeriodWindowView(QWidget* parent = nullptr);
    bool OnInitialUpdate() override;
};
