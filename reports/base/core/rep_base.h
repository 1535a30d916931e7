#pragma once
// The document base of the configurable period reports. It fixes the order
// of one build (checks, template, the report's body), owns the run's context
// for the build's span, turns any error a report throws into the error page,
// and handles the view's preset commands. A report supplies its title and
// its body (OnGenerateReport).
#include "framework/core/containers/cx_obj.h"
#include "framework/core/report/rep_doc.h"
#include "preset_choices.h"
#include "preset_list.h"

#include <QDate>
#include <functional>
#include <memory>

class CRepBaseData;
class CRepBaseSummary;
class CRepField;
class CSimpleSelect;

// What the report view gathers for a build.
struct CRepBaseParams {
    QDate from;
    QDate to;
    int clientKind = 1;    // 1 all covered clients, 2 new clients, 3 regular clients
    int newClientMode = 0; // 0 per organisation, 1 per project, 2 country-wide
    long workerId = -1;    // the main social worker; 0 or less: all
    QString workerText;
    long project = -1; // -1: every project
    bool projectExact = false;
};

// The controls of the report view, by the numbers reports use to enable or
// disable them (CRepViewLink::EnableControl).
enum RepViewControl : int {
    kRepCtlFrom = 2040,          // period start
    kRepCtlTo = 2041,            // period end
    kRepCtlPoshTree = 1546,      // the service points
    kRepCtlMarkPosh = 1155,      // mark service points (by type)
    kRepCtlUnmarkPosh = 1548,    // clear every mark
    kRepCtlPoshGrouping = 3292,  // grouping of the tree
    kRepCtlWorker = 1551,        // main social worker
    kRepCtlProject = 1424,       // project
    kRepCtlProjectExact = 3341,  // project must match exactly
    kRepCtlClientKind = 1046,    // which clients
    kRepCtlNewClientMode = 3339, // how new clients are counted
    kRepCtlPresets = 1784,       // the preset list
    kRepCtlBuild = 1552,         // "Формировать"
    kRepCtlNewWindow = 1587,     // "Новое окно"
};

// The commands of the view's preset list.
enum RepPresetCommand {};

class CRepBase : public CRepDoc {
    Q_OBJECT
public:
    // Edits a preset in a dialog (read-only: shows it as the confirmation of
    // a delete); answers whether the user confirmed. The view provides it.
    using PresetEditor = std::function<bool(KDRepPresetEx2& preset, bool readOnly)>;

    explicit CRepBase(QObject* parent = nullptr);
    ~CRepBase() override;

    // The build: CheckSelection, CheckPreset, LoadTemplate, OnGenerateReport;
    // a CRepError thrown anywhere below becomes the error page.
    void OnInitHTML(CAccStringT<wchar_t>& html) override;
    // The preset commands (new, edit, delete); others go to CRepDoc.
    int ProcessRepViewCommand(unsigned id, int queryOnly) override;

    // Lets a report disable what its view does not use (called by the view,
    // through GetView()->EnableControl with the numbers of RepViewControl).
    virtual void OnSetupView() {}
    // The report fields its presets may name, for the preset editor (a
    // report with presets answers PresetChoicesOf its field catalogue).
    virtual QList<CRepPresetChoice> GetPresetChoices() { return {}; }
    virtual void OnGenerateReport(CAccStringT<wchar_t>& html) { (void)html; }
    virtual int CheckSelection();
    // Reports without a preset answer 1.
    virtual int CheckPreset();
    virtual int LoadTemplate();
    virtual CRepBaseData* CreateReportData();

    // Replaces the page by the error page; answers 1.
    int DieMessage(const QString& message, const QString& description,
                   const QString& title = QString());
    // Lists a field for the run, once per field id; answers the listed field
    // (the new one is deleted when one of its id was listed before).
    CRepField* AddField(CRepField* field);
    void AddFieldsToSelect(CSimpleSelect& select);

    CRepBaseParams& Params() { return m_params; }
    CRepPresetList2& GetPresetList() { return m_presetList; }
    void SetPresetEditor(PresetEditor editor) { m_presetEditor = std::move(editor); }
    // Problems of the last preset command for the view to show.
    QString GetPresetCommandError() const { return m_presetError; }

    // The running build's context; null outside a build.
    CRepBaseData* GetRunData() const { return m_run; }
    CxObjArray<CRepBaseSummary*>& GetSummaries() { return m_summaries; }

private:
    CRepBaseParams m_params;
    CRepPresetList2 m_presetList;
    PresetEditor m_presetEditor;
    QString m_presetError;
    CRepBaseData* m_run = nullptr;
    CxObjArray<CRepBaseSummary*> m_summaries;
};
