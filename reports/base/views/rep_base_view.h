#pragma once
// The view of the configurable reports (the documents over CRepBase): the
// period, the service points (a tree grouped six ways, with buttons to mark
// points by type, to clear every mark and to change the grouping), the main
// social worker, the project (and whether it must match exactly), which
// clients to show, how new clients are counted, and the report's presets;
// then the build and the result (CRepView).
//
// Before a build the view writes the ticked points into the application's
// selection and hands the other choices to the document (CRepBase::Params).
// Its choices are kept from one run of the program to the next under the
// state name "RepVisitsView".
//
// A report's own view derives from it: it adds its filters with AddFilter
// (they show under the standard ones) and hands them to its document in its
// OnPreBuild after the base's; it hides the controls it does not use with
// ShowControl. A document disables controls itself in OnSetupView.
#include "rep_params_view.h"

#include <QDate>

class CRepPresetSelList2;
class CxComboList;
class QCheckBox;
class QFormLayout;
class QLabel;
class QPushButton;

class CRepBaseView : public CRepParamsView {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepBaseView(QWidget* parent = nullptr);

    // Reads the service points and the presets, restores the choices, lets
    // the document set up the view (CRepBase::OnSetupView) and gives it the
    // preset editor.
    bool OnInitialUpdate() override;
    // The ticked points become the application's selection; the other
    // choices go to a CRepBase document. False (with a message) for a
    // period date that is no date, a period that ends before it begins or a
    // worker that is not in the list. The dates are taken as typed.
    bool OnPreBuild() override;
    // The preset list takes no clicks while the report is being built.
    bool OnBuild() override;
    QString OnGetExportFileName() override { return QStringLiteral("rep"); }
    void OnCloned(CRepView* source) override;
    void StoreState() override;
    void RestoreState() override;
    // The record commands make, change and delete the report's variants:
    // off while the variant list is (a report without variants, a build).
    bool CanProcessCommand(unsigned id, CxCmdUI& ui) override;
    bool ProcessCommand(unsigned id) override;

    // The version-2 presets of a CRepBase document (null for other
    // documents, whose view hides the list).
    CRepPresetSelList2* GetPresetList() const { return m_presets; }

    // Adds a filter of a derived view under the standard ones; with an id
    // the document can enable or disable it and ShowControl hides it.
    void AddFilter(const QString& label, QWidget* control, int id = 0);
    // Shows or hides a control with its label (a view that does not use it).
    bool ShowControl(int id, bool show);

private:
    // Whether the report runs on a chosen preset (it offers fields to
    // choose); the list of a report without presets stays disabled.
    bool UsesPresets() const;
    void AddRow(QFormLayout* form, const QString& label, QWidget* control, int id);

    QFormLayout* m_filters;
    CxComboList* m_project;
    QCheckBox* m_projectExact;
    CxComboList* m_clientKind;
    CxComboList* m_newClientMode;
    QLabel* m_presetLabel;
    CRepPresetSelList2* m_presets;
    QPushButton* m_presetNew;
    QHash<int, QPointer<QWidget>> m_labels;
};
