#pragma once
// The engine of the configurable visits reports. One build takes the period,
// the chosen service points, an optional social worker and a version-1
// preset; turns the preset's column ids into report columns; runs one select
// over the fast work tables grouped by client into a temporary table; walks
// its rows into the detail list (one row per client) and into one summary
// table per group of the preset's summary list, counts unique clients per
// summary line, and writes the page from the template of the configurable
// reports. The variants override the hooks.
//
// A build gathers (the queries and the row walk) into figures
// (CVisitsFigures, no HTML) and then writes the page from them, so the
// figures can be read without the page.
//
// What a view hands over: Params() (period, worker id and its text), the
// choice of service points (CPoshSelection), the checked entry of
// GetVisitsPresetList(). After a build the period in Params() may have been
// moved by the report (AdjustPeriod); the view shows it back.
#include "reports/base/core/preset_list.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/core/summary_lines.h"
#include "visits_run_data.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class Cxrp;
class CSimpleSelect;
class CxResult;

// The command of the view's "Редактировать" button beside the preset list.
constexpr unsigned kCmdVisitsPresetChoose = 1905;

// What a report's view offers; a view disables or hides what is false.
struct CVisitsViewSetup {
    bool periodStart = true; // the start date can be changed
    bool periodEnd = true;   // the end date is shown and can be changed
    bool worker = true;      // the main social worker can be chosen
    bool presets = true;     // the list of predefined reports and its button
    QString periodStartTip;  // a tip shown at the start date when the view opens
};

// What one build of a visits report found: one summary table per group of
// the preset's summary list, with its lines and their figures, and the
// detail rows.
struct CVisitsFigures {
    using Lines = CSummaryLines<CDoubleArr>;
    CVisitsFigures();
    ~CVisitsFigures();
    CVisitsFigures(const CVisitsFigures&) = delete;
    CVisitsFigures& operator=(const CVisitsFigures&) = delete;

    // The line of a table found by the group ids of its levels (none: the
    // root "Всего"); null when no row made it.
    CSummaryLine<CDoubleArr>* FindLine(int table, const QList<long>& groupIds) const;
    // The figure a line shows in a value column: in the unique column the
    // line's own count (a person seen under two lines below counts once),
    // elsewhere the line's total; 0 for a line no row made.
    double Cell(int table, const QList<long>& groupIds, int column) const;

    // The value columns' titles, in the order of a line's figures, and the
    // position of the unique count among them.
    QStringList valueTitles;
    int uniqueIndex = -1;
    // The unique counts were made (every grouping column is a plain field
    // and the query stayed within its limit).
    bool unique = false;
    // False when the report kept the last row out of the summaries: the
    // page then shows no summary tables.
    bool summaries = true;
    std::vector<std::unique_ptr<Lines>> tables;
    // (table, the group ids of the levels down to a line) -> the line's id;
    // the ids are counted across all tables.
    QHash<CMemNDX<long>, long> lineIds;
    // The preset lists clients: the page has a detail table (its header also
    // when no row came).
    bool detailList = false;
    // The cells of each detail row (one per client, in page order) as their
    // columns give them: escaped texts and links.
    QList<QStringList> detailRows;
};

class CRepVisitsBaseDoc : public CRepBase {
    Q_OBJECT
public:
    // Shows the catalogue's preset chooser; answers the list position chosen,
    // or -1 when the user cancelled. The view provides it.
    using PresetChooser = std::function<int(CRepVisitsBaseDoc& doc)>;

    explicit CRepVisitsBaseDoc(QObject* parent = nullptr);
    ~CRepVisitsBaseDoc() override;

    // ---- the catalogue ----
    // Rebuilds the catalogue of columns a preset may name.
    virtual void CreateColumns();
    // The first catalogue column of that id; null when none.
    Cxrp* FindColumn(long id) const;
    const std::vector<std::unique_ptr<Cxrp>>& GetColumns() const { return m_columns; }

    // ---- what the view uses ----
    CRepPresetList& GetVisitsPresetList() { return m_visitsPresets; }
    void SetPresetChooser(PresetChooser chooser) { m_presetChooser = std::move(chooser); }
    virtual CVisitsViewSetup GetViewSetup() const { return CVisitsViewSetup(); }
    // Command 1905 opens the chooser and refills the list with the chosen
    // position checked (none when cancelled).
    int ProcessRepViewCommand(unsigned id, int queryOnly) override;

    // ---- the build ----
    CRepBaseData* CreateReportData() override;
    // The preset (when the report uses one), then the service points.
    int CheckSelection() override;
    int CheckPreset() override { return 1; }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;

    // The running build's data; null outside a build.
    CRepVisitsRunData* Run() const { return static_cast<CRepVisitsRunData*>(GetRunData()); }
    // The figures of the last build that reached its page; null before one.
    const CVisitsFigures* Figures() const { return m_figures.get(); }

    // ---- the hooks ----
    virtual bool UsesPreset() const { return true; }
    virtual void AdjustPeriod() {}
    // Adds one material column per material group found in the visits.
    virtual void OnLoadMat();
    virtual void OnBuildCommentList();
    // Writes one detail row of the page; cells: the row's cells in the
    // order of the run's detail columns.
    virtual void OnDetailRowHTML(QString& detail, const QStringList& cells);
    virtual void OnDetailHeaderHTML(QString& detail);
    virtual void OnPreFinalHTML(QString& summary) { (void)summary; }
    // True keeps the current row out of the summaries.
    virtual bool OnResultRow() { return false; }
    virtual bool AddReportQuery(CSimpleSelect& select) {
        (void)select;
        return true;
    }

protected:
    // The current row of the result (valid during the row walk).
    CxResult* GetResultRows() const { return m_rows; }
    // Shows a progress line; ends the build when the user stopped it.
    void Progress(const QString& text);
    // Ends the build with the error page of a failed statement.
    [[noreturn]] static void ThrowSQL(const QString& text, const QString& statement);

private:
    // What the gathering keeps until the figures are done.
    struct Gathering;
    // The queries and the row walk; null when the preset names a detail
    // column that no longer exists (the check then says so).
    std::unique_ptr<CVisitsFigures> Gather();
    // The run's select, detail and value columns from the preset; false for
    // a detail id without a column.
    bool ChooseColumns(Gathering& g);
    // The grouping columns of each summary table.
    void MakeTables(Gathering& g);
    // The main select into a temporary table, then its rows in page order.
    CxResult QueryRows(Gathering& g);
    // Binds the columns to the rows and reads each into the detail rows and
    // the summary tables.
    void WalkRows(Gathering& g, CxResult& rows);
    // The line of the current row in table t, made (with its unique-count
    // term) when new.
    long LineOf(Gathering& g, int t);
    void CountUnique(Gathering& g);

    // The page of the figures.
    QString Page(const CVisitsFigures& figures);
    QString SummaryHTML(const CVisitsFigures& figures);
    void RenderLine(const CVisitsFigures& figures, CSummaryLine<CDoubleArr>* line, QString& out,
                    int level, int depth);
    QString Section(const QString& name) const;

    std::vector<std::unique_ptr<Cxrp>> m_columns;
    CRepPresetList m_visitsPresets;
    PresetChooser m_presetChooser;
    CxResult* m_rows = nullptr;
    std::unique_ptr<CVisitsFigures> m_figures;
};
