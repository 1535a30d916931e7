#pragma once
// "Отчет по тренингам": the trainings held in the period in the regions
// (organisations) of the chosen service points, counted by topic and by
// target group: trainings, participants, unique people trained and hours.
// A person trained is a pair (target group, participant), so one person
// trained in two groups counts twice, trained twice in one group once.
#include "framework/core/app/html_template.h"
#include "reports/base/core/rep_base.h"

class CxResult;

class CRep_Trainings : public CRepBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_Trainings(QObject* parent = nullptr);

    QString GetReportTitle() override;
    // Trainings have no main worker: the view offers no worker filter.
    void OnSetupView() override;
    // No preset list: the report always builds.
    int CheckPreset() override { return 1; }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;

    // One block: a line per result row (text, trainings, participants,
    // unique people, hours), then the head line with the block's sums and
    // the overall unique count, put before the lines.
    void AddSection(QString& rows, const QString& section, const QString& head, CxResult& result);
    // The unique people trained in the whole period (the last build's).
    long GetUniqueCount() const { return m_unique; }

private:
    CHTMLTemplate m_template;
    long m_unique = 0;
};
