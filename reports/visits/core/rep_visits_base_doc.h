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
// What a view hands over: Params() (period, worker id and its text), the
// choice of service points (CPoshSelection), the checked entry of
// GetVisitsPresetList(). After a build the period in Params() may have been
// moved by the report (AdjustPeriod); the view shows it back.
#include "reports/base/core/preset_list.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/core/summary_lines.h"
#include "visits_run_data.h"

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

    // ---- the hooks ----
    virtual bool UsesPreset() const { return true; }
    virtual void AdjustPeriod() {}
    // Adds one material column per material group found in the visits.
    virtual void OnLoadMat();
    virtual void OnBuildCommentList();
    virtual void OnDetailRowHTML(QString& detail);
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
    struct Group {
        QList<Cxrp*> columns;
        std::unique_ptr<CSummaryLines<CDoubleArr>> lines;
    };
    void RenderLine(CSummaryLine<CDoubleArr>* line, QString& out, int level, int depth);
    QString Section(const QString& name) const;

    std::vector<std::unique_ptr<Cxrp>> m_columns;
    CRepPresetList m_visitsPresets;
    PresetChooser m_presetChooser;
    QHash<QPair<int, long>, QString> m_uniqueAliases;
    int m_uniqueIndex = -1;
    CxResult* m_rows = nullptr;
    std::vector<Group> m_groups;
};
