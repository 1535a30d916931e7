#include "rep_base_view.h"

#include "framework/core/app/record_commands.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "preset_edit.h"
#include "preset_sel_list.h"
#include "reports/base/core/rep_base.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr;

// The record commands, which work on the report's variants.
bool IsPresetCommand(unsigned id) {
    return id == ID_RECORD_NEW || id == ID_RECORD_EDIT || id == ID_RECORD_DELETE;
}
} // namespace

CRepBaseView::CRepBaseView(QWidget* parent)
    : CRepParamsView(parent, QStringLiteral("CRepBaseView")), m_filters(new QFormLayout),
      m_project(new CxComboList(this)), m_projectExact(new QCheckBox(this)),
      m_clientKind(new CxComboList(this)), m_newClientMode(new CxComboList(this)),
      m_presetLabel(new QLabel(this)), m_presets(new CRepPresetSelList2(this)),
      m_presetNew(new QPushButton(this)) {
    setObjectName(QStringLiteral("CRepBaseView"));
    SetStateVariableName(QStringLiteral("RepVisitsView"));
    QVBoxLayout* params = ParamsLayout();
    AddPeriod(Tr("Период:", "CRepBaseView"));
    m_labels.insert(kRepCtlPoshTree, AddPoshTree());

    m_filters->setRowWrapPolicy(QFormLayout::WrapLongRows);
    m_filters->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    AddRow(m_filters, Tr("Основной социальный работник:", "CRepBaseView"), MakeWorker(),
           kRepCtlWorker);
    m_project->setObjectName(QStringLiteral("project"));
    m_project->DisableSort();
    AddRow(m_filters, Tr("Проект:", "CRepBaseView"), m_project, kRepCtlProject);
    m_projectExact->setObjectName(QStringLiteral("projectExact"));
    m_projectExact->setText(Tr("Точное соответствие", "CRepBaseView"));
    m_filters->addRow(QString(), m_projectExact);
    RegisterControl(kRepCtlProjectExact, m_projectExact);
    m_clientKind->setObjectName(QStringLiteral("clientKind"));
    m_clientKind->AddItem(1, Tr("Все охваченные клиенты", "msgAllMClients"));
    m_clientKind->AddItem(2, Tr("Новые клиенты", "msgNewClients"));
    m_clientKind->AddItem(3, Tr("Регулярные клиенты", "msgRegualClients"));
    m_clientKind->SetCurSelCode(1);
    AddRow(m_filters, Tr("Показывать клиентов:", "CRepBaseView"), m_clientKind, kRepCtlClientKind);
    m_newClientMode->setObjectName(QStringLiteral("newClientMode"));
    m_newClientMode->AddItem(0, Tr("Обычный, для каждой организации", "msgNCMNormal"));
    m_newClientMode->AddItem(1, Tr("Для каждого проекта", "msgNCMProject"));
    m_newClientMode->AddItem(2, Tr("Новые клиенты в рамках страны", "msgNCMUkraine"));
    m_newClientMode->SetCurSelCode(0);
    AddRow(m_filters, Tr("Алгоритм расчета новых клиентов:", "CRepBaseView"), m_newClientMode,
           kRepCtlNewClientMode);
    params->addLayout(m_filters);

    m_presetLabel->setObjectName(QStringLiteral("presetCaption"));
    m_presetLabel->setText(Tr("Варианты отчета:", "CRepBaseView"));
    params->addWidget(m_presetLabel);
    params->addWidget(m_presets, 2);
    // The built-in variants run as they are; a user's own variant starts
    // here (and in the list's context menu).
    m_presetNew->setObjectName(QStringLiteral("presetNew"));
    m_presetNew->setText(Tr("Новый вариант", "CRepBaseView::Presets"));
    auto* presetRow = new QHBoxLayout;
    presetRow->addStretch(1);
    presetRow->addWidget(m_presetNew);
    params->addLayout(presetRow);
    connect(m_presetNew, &QPushButton::clicked, this, [this] { ProcessCommand(ID_RECORD_NEW); });
    RegisterControl(kRepCtlPresets, m_presets);
    m_labels.insert(kRepCtlPresets, m_presetLabel);
    m_presets->SetCaption(m_presetLabel);
    m_presets->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_presets, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        const struct {
            unsigned id;
            QString text;
        } commands[] = {{ID_RECORD_NEW, Tr("Новый вариант отчета", "CRepBaseView::Presets")},
                        {ID_RECORD_EDIT, Tr("Изменить вариант", "CRepBaseView::Presets")},
                        {ID_RECORD_DELETE, Tr("Удалить вариант", "CRepBaseView::Presets")}};
        for (const auto& c : commands) {
            QAction* action = menu.addAction(c.text);
            CxCmdUI ui;
            action->setEnabled(CanProcessCommand(c.id, ui) && ui.enabled);
            action->setData(c.id);
        }
        if (QAction* chosen = menu.exec(m_presets->viewport()->mapToGlobal(at)))
            ProcessCommand(chosen->data().toUInt());
    });
}

void CRepBaseView::AddRow(QFormLayout* form, const QString& label, QWidget* control, int id) {
    auto* caption = new QLabel(label, this);
    caption->setWordWrap(true);
    form->addRow(caption, control);
    if (id) {
        RegisterControl(id, control);
        m_labels.insert(id, caption);
    }
}

void CRepBaseView::AddFilter(const QString& label, QWidget* control, int id) {
    control->setParent(this);
    AddRow(m_filters, label, control, id);
}

bool CRepBaseView::ShowControl(int id, bool show) {
    QWidget* control = GetDlgItem(id);
    if (!control)
        return false;
    control->setVisible(show);
    if (QWidget* label = m_labels.value(id))
        label->setVisible(show);
    return true;
}

bool CRepBaseView::OnInitialUpdate() {
    if (!GetRepDoc())
        return false;
    LoadParams();
    if (xConfiguration* config = CurrentConfiguration())
        m_project->SetEnum(&config->GetCurrentLanguage()->PrjList);
    CRepBase* base = GetRepBase();
    if (base) {
        m_presets->SetList(&base->GetPresetList());
        m_presets->SetCheckBoxes(true);
        m_presets->Fill(-1);
        m_presets->SetListEnabled(UsesPresets());
        m_presetNew->setVisible(UsesPresets());
        base->SetPresetEditor([this, base](KDRepPresetEx2& preset, bool readOnly) {
            CRepPresetEdit2 editor(preset, base->GetPresetChoices(), readOnly, this);
            return editor.exec() == QDialog::Accepted;
        });
    } else {
        ShowControl(kRepCtlPresets, false);
        m_presetNew->hide();
    }
    if (!CRepParamsView::OnInitialUpdate())
        return false;
    if (base)
        base->OnSetupView();
    return true;
}

bool CRepBaseView::UsesPresets() const {
    CRepBase* base = GetRepBase();
    return base && !base->GetPresetChoices().isEmpty();
}

bool CRepBaseView::OnBuild() {
    const bool enabled = m_presets->isEnabled();
    m_presets->SetListEnabled(false);
    const bool built = CRepParamsView::OnBuild();
    m_presets->SetListEnabled(enabled);
    return built;
}

bool CRepBaseView::OnPreBuild() {
    if (!CRepParamsView::OnPreBuild())
        return false;
    if (CRepBase* base = GetRepBase()) {
        CRepBaseParams& params = base->Params();
        params.clientKind = int(m_clientKind->GetCurSelCode());
        params.newClientMode = int(m_newClientMode->GetCurSelCode());
        params.project = m_project->isEnabled() ? m_project->GetCurSelCode() : -1;
        params.projectExact = m_projectExact->isEnabled() && m_projectExact->isChecked();
    }
    return true;
}

void CRepBaseView::StoreState() {
    CRepParamsView::StoreState();
    const auto write = [this](const char* entry, const QString& value) {
        WriteStateEntry(QString::fromLatin1(entry), value);
    };
    write("ClientKind", QString::number(m_clientKind->GetCurSelCode()));
    write("NewClientMode", QString::number(m_newClientMode->GetCurSelCode()));
    write("Project", QString::number(m_project->GetCurSelCode()));
    write("ProjectExact", m_projectExact->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    const int checked = m_presets->GetChecked();
    if (CRepBase* base = GetRepBase(); base && checked >= 0)
        write("Preset", base->GetPresetList().GetAt(checked)->Title);
}

void CRepBaseView::RestoreState() {
    CRepParamsView::RestoreState();
    const auto read = [this](const char* entry) {
        return ReadStateEntry(QString::fromLatin1(entry));
    };
    bool ok = false;
    if (const long kind = read("ClientKind").toLong(&ok); ok)
        m_clientKind->SetCurSelCode(kind);
    if (const long mode = read("NewClientMode").toLong(&ok); ok)
        m_newClientMode->SetCurSelCode(mode);
    if (const long project = read("Project").toLong(&ok); ok)
        m_project->SetCurSelCode(project);
    m_projectExact->setChecked(read("ProjectExact") == QLatin1String("1"));
    if (const QString preset = read("Preset"); !preset.isEmpty())
        m_presets->SelectByName(preset);
    if (UsesPresets())
        m_presets->CheckFirstWhenNone();
}

void CRepBaseView::OnCloned(CRepView* source) {
    // The state the source stored is already restored; the preset is
    // copied as it stands.
    CRepParamsView::OnCloned(source);
    if (auto* from = qobject_cast<CRepBaseView*>(source)) {
        const int checked = from->m_presets->GetChecked();
        if (CRepBase* other = from->GetRepBase(); other && checked >= 0)
            m_presets->SelectByName(other->GetPresetList().GetAt(checked)->Title);
    }
}

bool CRepBaseView::CanProcessCommand(unsigned id, CxCmdUI& ui) {
    if (IsPresetCommand(id) && !m_presets->isEnabled()) {
        ui.enabled = false;
        return true;
    }
    return CRepParamsView::CanProcessCommand(id, ui);
}

bool CRepBaseView::ProcessCommand(unsigned id) {
    if (IsPresetCommand(id) && !m_presets->isEnabled())
        return true; // the list is off: nothing of it to change
    const bool handled = CRepParamsView::ProcessCommand(id);
    if (IsPresetCommand(id)) {
        // The document refilled its list (or refused with a reason).
        m_presets->Refresh();
        if (CRepBase* base = GetRepBase(); base && !base->GetPresetCommandError().isEmpty())
            CxMessage(this, CxMessageIcon::Warning, base->GetPresetCommandError());
    }
    return handled;
}
