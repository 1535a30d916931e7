#pragma once
// "Охват за период": the configurable coverage report. The chosen preset says
// which report fields form the summary rows (tables separated by -1), the
// value columns, the detail list and the grouping of the fetched records, and
// whether the period is split into months or years; the view's choices say
// which clients count (all, new, regular), which project and which main
// worker. The records are read from the period summary of each sub-period,
// page by page, and aggregated into the summary tables.
//
// A run gathers (the queries) into figures (COhvatFigures, no HTML) and then
// writes the page from them, so the figures can be read without the page.
#include "reports/base/core/rep_base.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QPair>
#include <QStringList>
#include <memory>

class COhvatTables;
class CRFList;
class CRepField;
class CSimpleSelect;

// What one run of the coverage report found.
struct COhvatFigures {
    COhvatFigures();
    ~COhvatFigures();
    COhvatFigures(const COhvatFigures&) = delete;
    COhvatFigures& operator=(const COhvatFigures&) = delete;

    // The heading under the title ("Все клиенты за период", ...), the number
    // of the footnote on its regular-client window (empty when none) and the
    // footnote numbers the heading points to.
    QString heading;
    QString headingMark;
    QStringList marks;
    // The period shown: its start and the sub-periods queried.
    QDate start;
    QDate end;
    QList<QPair<QDate, QDate>> periods;
    // The catalogue the tables' fields belong to, and the tables' figures.
    std::unique_ptr<CRFList> catalogue;
    std::unique_ptr<COhvatTables> tables;
    // The detail table: its columns and, row by row, their texts.
    QList<CRepField*> detail;
    QList<QStringList> detailRows;
};

class CRep_OhvatZaPeriod : public CRepBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_OhvatZaPeriod(QObject* parent = nullptr);
    ~CRep_OhvatZaPeriod() override;
    static constexpr int kPageRows = 500000;

    QString GetReportTitle() override;
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;
    // Its presets name the fields of the catalogue (CRFList).
    QList<CRepPresetChoice> GetPresetChoices() override;

    // Rows per page of the fetched records (the same report whatever it is).
    void SetPageRows(int rows) { m_pageRows = rows; }
    // The figures of the last run that reached its page; null before one.
    COhvatFigures* Figures() const { return m_figures.get(); }

private:
    // The queries: the fields the preset names, the sub-periods, the records.
    std::unique_ptr<COhvatFigures> Gather();
    // Reads one sub-period's records into the figures.
    void GatherPeriod(COhvatFigures& figures, CSimpleSelect& select, const QString& summary,
                      const QHash<long, CRepField*>& byId);
    // The page of the figures.
    QString Page(COhvatFigures& figures);

    int m_pageRows = kPageRows;
    std::unique_ptr<COhvatFigures> m_figures;
};
