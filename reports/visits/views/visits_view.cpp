#include "visits_view.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/views/preset_sel.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/visits/core/rep_visits_base_doc.h"
#include "reports/visits/core/visits_columns.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

// The configurable reports keep their version-2 preset under "Preset" in
// the same state; the visits presets go under a name of their own.
const char* const kVisitsPreset = "VisitsPreset";
} // namespace

CRepVisitsView::CRepVisitsView(QWidget* parent) : CRepVisitsView(parent, true) {}

CRepVisitsView::CRepVisitsView(QWidget* parent, bool withPresets)
    : CRepParamsView(parent, QStringLiteral("CRepVisitsView")), m_withPresets(withPresets),
      m_workerLabel(new QLabel(this)) {
    setObjectName(QStringLiteral("CRepVisitsView"));
    SetStateVariableName(QStringLiteral("RepVisitsView"));
    QVBoxLayout* params = ParamsLayout();
    AddPeriod(Tr("Период:", "CRepVisitsView"));
    AddPoshTree();

    m_workerLabel->setText(Tr("Основной социальный работник:", "CRepVisitsView"));
    params->addWidget(m_workerLabel);
    params->addWidget(MakeWorker());
    RegisterControl(IDC_WORKER_LABEL, m_workerLabel);

    if (m_withPresets) {
        m_presetLabel = new QLabel(Tr("Список предопределенных отчетов:", "CRepVisitsView"), this);
        params->addWidget(m_presetLabel);
        params->addWidget(GetPresetList(), 3);
        m_presetEdit = new QPushButton(Tr("Редактировать", "CRepVisitsView"), this);
        m_presetEdit->setObjectName(QStringLiteral("presetEdit"));
        auto* editRow = new QHBoxLayout;
        editRow->addStretch(1);
        editRow->addWidget(m_presetEdit);
        params->addLayout(editRow);
        RegisterControl(IDC_PRESET_LABEL, m_presetLabel);
        RegisterControl(IDC_PRESET_EDIT, m_presetEdit);
        // The button is the document's command: the chooser of the presets.
        connect(m_presetEdit, &QPushButton::clicked, this,
                [this] { ProcessCommand(kCmdVisitsPresetChoose); });
    }
    // Without the presets the point tree takes the height that is left.
}

CRepPresetSelList* CRepVisitsView::GetPresetList() {
    if (!m_presets) {
        m_presets = new CRepPresetSelList(this);
        m_presets->SetCheckBoxes(true);
        RegisterControl(kRepCtlPresets, m_presets);
    }
    return m_presets;
}

CRepVisitsBaseDoc* CRepVisitsView::GetVisitsDoc() const {
    return qobject_cast<CRepVisitsBaseDoc*>(GetRepDoc());
}

bool CRepVisitsView::OnInitialUpdate() {
    CRepDoc* doc = GetRepDoc();
    if (!doc)
        return false;
    LoadParams();
    // The document's choice of controls comes before the remembered values,
    // so a control it does not use is neither loaded nor saved.
    doc->SetView(this);
    SetUpForDocument();
    if (CRepVisitsBaseDoc* visits = GetVisitsDoc(); visits && m_presets) {
        visits->GetVisitsPresetList().Fill(-1);
        m_presets->SetList(&visits->GetVisitsPresetList());
        visits->SetPresetChooser([this](CRepVisitsBaseDoc& d) {
            QList<CRepPresetChoice> catalogue;
            for (const auto& column : d.GetColumns())
                catalogue.append(
                    {column->GetID(), column->GetTitle(), unsigned(column->GetKind())});
            CRepPresetSel chooser(catalogue, this);
            return chooser.DoModal() == CRepPresetSel::kChosen ? chooser.GetChosen() : -1;
        });
    }
    return CRepParamsView::OnInitialUpdate();
}

void CRepVisitsView::SetUpForDocument() {
    CRepVisitsBaseDoc* visits = GetVisitsDoc();
    if (visits) {
        visits->CreateColumns();
        const CVisitsViewSetup setup = visits->GetViewSetup();
        CTypedDateEdit* from = FromEdit();
        from->setEnabled(setup.periodStart);
        ToEdit()->setEnabled(setup.periodEnd);
        ToEdit()->setVisible(setup.periodEnd);
        PeriodDash()->setVisible(setup.periodEnd);
        GetWorkerList()->setEnabled(setup.worker);
        if (!setup.periodStartTip.isEmpty()) {
            from->setToolTip(setup.periodStartTip);
            // Shown once as the window opens, as a hint where to look.
            QTimer::singleShot(0, from, [from, tip = setup.periodStartTip] {
                if (from->isVisible())
                    QToolTip::showText(from->mapToGlobal(QPoint(0, from->height())), tip, from);
            });
        }
        if (!setup.presets && m_presets) {
            m_presets->hide();
            m_presetLabel->hide();
            m_presetEdit->hide();
        }
    } else if (m_presets) {
        // Only the visits documents have version-1 presets.
        m_presets->hide();
        m_presetLabel->hide();
        m_presetEdit->hide();
    }
    if (CRepBase* base = GetRepBase())
        base->OnSetupView();
}

bool CRepVisitsView::OnBuild() {
    const bool built = CRepParamsView::OnBuild();
    if (built && GetVisitsDoc()) {
        CRepBaseParams& params = GetRepBase()->Params();
        if (params.from.isValid())
            FromEdit()->setDate(params.from);
        if (params.to.isValid() && EndUsed())
            ToEdit()->setDate(params.to);
    }
    return built;
}

void CRepVisitsView::StoreState() {
    CRepParamsView::StoreState();
    const auto write = [this](const char* entry, const QString& value) {
        WriteStateEntry(QString::fromLatin1(entry), value);
    };
    if (m_presets && m_presets->isVisibleTo(this) && m_presets->List()) {
        if (const KDRepPresetEx* preset = m_presets->List()->GetAt(m_presets->GetChecked()))
            write(kVisitsPreset, preset->Title);
    }
}

void CRepVisitsView::RestoreState() {
    CRepParamsView::RestoreState();
    const auto read = [this](const char* entry) {
        return ReadStateEntry(QString::fromLatin1(entry));
    };
    if (!m_presets)
        return;
    if (const QString preset = read(kVisitsPreset); !preset.isEmpty())
        m_presets->SelectByName(preset);
    m_presets->CheckFirstWhenNone();
}

void CRepVisitsView::OnCloned(CRepView* source) {
    // The state the source stored is already restored; the preset is
    // copied as it stands.
    CRepParamsView::OnCloned(source);
    auto* from = qobject_cast<CRepVisitsView*>(source);
    if (!from)
        return;
    if (m_presets && from->m_presets && from->m_presets->List())
        if (const KDRepPresetEx* preset =
                from->m_presets->List()->GetAt(from->m_presets->GetChecked()))
            m_presets->SelectByName(preset->Title);
}

bool CRepVisitsView::ProcessCommand(unsigned id) {
    const bool handled = CRepParamsView::ProcessCommand(id);
    // The chooser refilled the document's list.
    if (id == kCmdVisitsPresetChoose && m_presets)
        m_presets->Refresh();
    return handled;
}
