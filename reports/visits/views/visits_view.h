#pragma once
// The window of the visits reports: the period, the service points (a tree
// with buttons to mark points by type, to clear every mark and to change the
// grouping), the main social worker and the list of predefined reports
// (version-1 presets) with "Редактировать", which opens the chooser of the
// presets; then the build and the result (CRepView).
//
// The same window shows the distribution of visits and the period pivots
// (CRepPeriodPoshlistView, without the list of predefined reports) and a
// few reports of the configurable kind (CRepBase): before a build the ticked
// points become the application's selection and the period and the worker go
// to the document's parameters. A visits document says which controls it
// uses (GetViewSetup), any CRepBase document may disable more
// (OnSetupView). The choices are kept from one run to the next under the
// state name "RepVisitsView".
#include "reports/base/views/rep_params_view.h"

#include <QPointer>

class CRepPresetSelList;
class CRepVisitsBaseDoc;
class QLabel;
class QPushButton;

class CRepVisitsView : public CRepParamsView {
    Q_OBJECT
public:
    // The numbers of the form's own controls (the others are RepViewControl).
    enum : int {
        IDC_PRESET_EDIT = 1905,  // "Редактировать"
        IDC_PRESET_LABEL = 3059, // "Список предопределенных отчетов:"
        IDC_WORKER_LABEL = 1787, // "Основной социальный работник:"
    };

    Q_INVOKABLE explicit CRepVisitsView(QWidget* parent = nullptr);

    // Reads the service points and the presets, lets the document make its
    // columns and set up the view, then restores the choices.
    bool OnInitialUpdate() override;
    // A report may move the period (the twelve months of the regular
    // clients): the window shows the period it used.
    bool OnBuild() override;
    QString OnGetExportFileName() override { return QStringLiteral("rep"); }
    void OnCloned(CRepView* source) override;
    void StoreState() override;
    void RestoreState() override;
    bool ProcessCommand(unsigned id) override;

    // The list of predefined reports, made on the first call.
    CRepPresetSelList* GetPresetList();

protected:
    // A window without the list of predefined reports and its button.
    CRepVisitsView(QWidget* parent, bool withPresets);

private:
    CRepVisitsBaseDoc* GetVisitsDoc() const;
    // The document's choice of controls, and the one CRepBase makes.
    void SetUpForDocument();

    bool m_withPresets;
    QLabel* m_workerLabel;
    QLabel* m_presetLabel = nullptr;
    QPointer<CRepPresetSelList> m_presets;
    QPushButton* m_presetEdit = nullptr;
};
