#pragma once
// The two plain tables per calendar year of the visits: the summary by years
// (distinct clients per year, region and town of the service point,
// vulnerable group at the year's end and sex) and the extended consultations
// report (the consultations' kind bits totalled per year, item, region, town,
// group and sex). Both cover the chosen service points and need no preset.
//
// The vulnerable group is the one that held at the end of the year, or at the
// end of the period when the period ends earlier in that year: a group
// recorded after the period never changes its figures. A client with no group
// by then counts as "Не заполнена".
#include "reports/base/core/rep_base.h"

#include <QHash>

class CSimpleSelect;
class CxResult;

class CRepYearTableBase : public CRepBase {
    Q_OBJECT
public:
    explicit CRepYearTableBase(QObject* parent = nullptr) : CRepBase(parent) {}
    int CheckPreset() override { return 1; }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;

protected:
    // The report's table and where its rows come from.
    virtual QString SourceTable(CRepBaseData* run) = 0;
    // Adds the report's own items, joins and groups to the select.
    virtual void AddOwnParts(CSimpleSelect& select, const QString& source) = 0;
    // The cells of one row, after the year (region, town... are shared).
    virtual QString RowCells(CxResult& row, const QString& region, const QString& town,
                             const QString& group, const QString& sex) = 0;
    virtual const char* ErrorContext() const = 0;

private:
    QString Cell(const QString& text) const;
    QHash<long, QString> m_leafTowns;
    QHash<long, long> m_ancestors;
    QHash<long, QString> m_regionNames;
};

// "Сводный отчет по годам".
class CRep_SvodnyiPoGodam : public CRepYearTableBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_SvodnyiPoGodam(QObject* parent = nullptr)
        : CRepYearTableBase(parent) {}
    QString GetReportTitle() override;

private:
    QString SourceTable(CRepBaseData* run) override;
    void AddOwnParts(CSimpleSelect& select, const QString& source) override;
    QString RowCells(CxResult& row, const QString& region, const QString& town,
                     const QString& group, const QString& sex) override;
    const char* ErrorContext() const override { return "CRep_SvodnyiPoGodam::OnGenerateReport"; }
};

// "Расширенный отчет по консультациям": six totals per row, one per kind bit
// 1, 2, 4, 8, 16 and 32 of the consultations.
class CRepNewConsult : public CRepYearTableBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepNewConsult(QObject* parent = nullptr) : CRepYearTableBase(parent) {}
    QString GetReportTitle() override;

private:
    QString SourceTable(CRepBaseData* run) override;
    void AddOwnParts(CSimpleSelect& select, const QString& source) override;
    QString RowCells(CxResult& row, const QString& region, const QString& town,
                     const QString& group, const QString& sex) override;
    const char* ErrorContext() const override { return "CRepNewConsult::OnGenerateReport"; }
};
