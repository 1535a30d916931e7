#pragma once
// The visits reports: coverage over a period, new clients, regular clients,
// visit totals per month and the summary by years. Each is the engine with a
// few hooks of its own.
#include "framework/core/containers/cx_map.h"
#include "rep_visits_base_doc.h"
#include "reports/base/core/summary_lines.h"

#include <map>
#include <vector>

// "Охват за период".
class CRepVisitsDoc : public CRepVisitsBaseDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepVisitsDoc(QObject* parent = nullptr) : CRepVisitsBaseDoc(parent) {}
    QString GetReportTitle() override;
};

// Clients whose first visit lies in the period and was at a chosen point
// (and, with a worker chosen, was given by that worker).
class CRepVisitsNewDoc : public CRepVisitsDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepVisitsNewDoc(QObject* parent = nullptr) : CRepVisitsDoc(parent) {}
    QString GetReportTitle() override;
    bool AddReportQuery(CSimpleSelect& select) override;
};

// Clients seen in each of the twelve months ending with the chosen month.
class CRepVisitsRegDoc : public CRepVisitsDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepVisitsRegDoc(QObject* parent = nullptr) : CRepVisitsDoc(parent) {}
    QString GetReportTitle() override;
    CVisitsViewSetup GetViewSetup() const override;
    // The twelve whole months that end with the month of the period's end.
    void AdjustPeriod() override;
    bool AddReportQuery(CSimpleSelect& select) override;
};

// Visits per calendar month in place of the material columns.
class CRep_Kelda_VisSummary : public CRepVisitsDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_Kelda_VisSummary(QObject* parent = nullptr) : CRepVisitsDoc(parent) {}
    QString GetReportTitle() override;
    void OnLoadMat() override;
};

// Clients per year (and per the preset's other groupings): one table row per
// combination, in the order of the group ids.
class CRep_SvodnyiOtchetPoGodam : public CRepVisitsDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_SvodnyiOtchetPoGodam(QObject* parent = nullptr)
        : CRepVisitsDoc(parent) {}
    QString GetReportTitle() override;
    void OnLoadMat() override;
    bool AddReportQuery(CSimpleSelect& select) override;
    bool OnResultRow() override;
    void OnPreFinalHTML(QString& summary) override;

private:
    // Group ids of a row -> number of rows; ordered, so the table is too.
    std::map<std::vector<long>, int> m_rowCounts;
    // (position among the select columns, group id) -> the group's title.
    QHash<QPair<int, long>, QString> m_groupTitles;
};
