#pragma once
// "Распределение визитов": for one calendar month and the chosen service
// points, per point and then for all of them, one bar chart per vulnerable
// group: how many of the group's clients came once, twice, ... seven or more
// times. A client of several groups counts in each of their charts.
#include "rep_visits_variants.h"

#include <array>

class CRepRaspredDoc : public CRepVisitsDoc {
    Q_OBJECT
public:
    static constexpr int kBuckets = 8;
    using Counts = std::array<unsigned, kBuckets>;

    Q_INVOKABLE explicit CRepRaspredDoc(QObject* parent = nullptr);
    QString GetReportTitle() override;
    CVisitsViewSetup GetViewSetup() const override;
    bool UsesPreset() const override { return false; }
    void CreateColumns() override {}
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;

    // The bucket of a client with that many visits: visits per 30 days of
    // the period, at most 7.
    static int Bucket(long visits, int divisor);
    // One chart as HTML from the template's sections.
    static QString ChartHTML(const CHTMLTemplate& tpl, const QString& title, const Counts& counts);

private:
    QString ProcessPosh(long id, const QString& name, const QString& table, int divisor);

    CHTMLTemplate m_template;
};
