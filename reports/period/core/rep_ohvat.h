#pragma once
// "Охват за период": the configurable coverage report. The chosen preset says
// which report fields form the summary rows (tables separated by -1), the
// value columns, the detail list and the grouping of the fetched records, and
// whether the period is split into months or years; the view's choices say
// which clients count (all, new, regular), which project and which main
// worker. The records are read from the period summary of each sub-period,
// page by page, and aggregated into the summary tables.
#include "reports/base/core/rep_base.h"

class CRep_OhvatZaPeriod : public CRepBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_OhvatZaPeriod(QObject* parent = nullptr) : CRepBase(parent) {}
    static constexpr int kPageRows = 500000;

    QString GetReportTitle() override;
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;
    // Its presets name the fields of the catalogue (CRFList).
    QList<CRepPresetChoice> GetPresetChoices() override;

    // Rows per page of the fetched records (the same report whatever it is).
    void SetPageRows(int rows) { m_pageRows = rows; }

private:
    int m_pageRows = kPageRows;
};
