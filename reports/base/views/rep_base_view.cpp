#include "rep_base_view.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/message_box.h"
#include "model/config/configuration.h"
#include "model/enums/directory_enums.h"
#include "model/tables/table_set.h"
#include "posh_list.h"
#include "preset_edit.h"
#include "preset_sel_list.h"
#include "reports/base/core/rep_base.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString Tr(const char* text, const char* key) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(key), 1);
}

CTypedDateEdit* DateEdit(QWidget* parent, const char* name) {
    auto* edit = new CTypedDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

QToolButton* SmallButton(QWidget* parent, const char* name, const QString& text,
                         const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

QString IdList(const QSet<long>& ids) {
    QList<long> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    QStringList parts;
    for (long id : sorted)
        parts << QString::number(id);
    return parts.join(u',');
}

QString PoshReadError(const QString& why) {
    return Tr("Не удалось прочитать пункты предоставления услуг: {error}", "CRepBaseView::OnCheck")
        .replace(QLatin1String("{error}"), why);
}

const char* const kFromDate = "FromDate";
const char* const kToDate = "ToDate";
} // namespace

CRepBaseView::CRepBaseView(QWidget* parent)
    : CRepView(parent), m_from(DateEdit(this, "fromDate")), m_to(DateEdit(this, "toDate")),
      m_posh(new CPoshList(this)), m_filters(new QFormLayout), m_worker(new CxSqlComboList(this)),
      m_project(new CxComboList(this)), m_projectExact(new QCheckBox(this)),
      m_clientKind(new CxComboList(this)), m_newClientMode(new CxComboList(this)),
      m_presetLabel(new QLabel(this)), m_presets(new CRepPresetSelList2(this)) {
    setObjectName(QStringLiteral("CRepBaseView"));
    SetStateVariableName(QStringLiteral("RepVisitsView"));
    QVBoxLayout* params = ParamsLayout();

    auto* period = new QHBoxLayout;
    auto* periodLabel = new QLabel(Tr("Период:", "CRepBaseView"), this);
    period->addWidget(periodLabel);
    period->addWidget(m_from, 1);
    period->addWidget(new QLabel(QStringLiteral("—"), this));
    period->addWidget(m_to, 1);
    params->addLayout(period);
    RegisterControl(kRepCtlFrom, m_from);
    RegisterControl(kRepCtlTo, m_to);

    auto* poshHeader = new QHBoxLayout;
    auto* poshLabel = new QLabel(Tr("Пункты предоставления услуг:", "CRepBaseView"), this);
    poshHeader->addWidget(poshLabel, 1);
    m_markAll = SmallButton(this, "markPosh", QStringLiteral("☑"),
                            Tr("Отметить все пункты предоставления услуг", "msgMarkAllPOU"));
    m_unmarkAll =
        SmallButton(this, "unmarkPosh", QStringLiteral("☐"),
                    Tr("Снять отметку со всех пунктов предоставления услуг", "msgUnmarkAllPOI"));
    m_grouping = SmallButton(this, "poshGrouping", Tr("гр", "CRepBaseView"),
                             Tr("Группировка ПОУ", "CRepBaseView::OnGroupingMenu"));
    poshHeader->addWidget(m_markAll);
    poshHeader->addWidget(m_unmarkAll);
    poshHeader->addWidget(m_grouping);
    params->addLayout(poshHeader);
    params->addWidget(m_posh, 5);
    RegisterControl(kRepCtlPoshTree, m_posh);
    m_labels.insert(kRepCtlPoshTree, poshLabel);
    RegisterControl(kRepCtlMarkPosh, m_markAll);
    RegisterControl(kRepCtlUnmarkPosh, m_unmarkAll);
    RegisterControl(kRepCtlPoshGrouping, m_grouping);

    m_filters->setRowWrapPolicy(QFormLayout::WrapLongRows);
    m_filters->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    m_worker->setObjectName(QStringLiteral("worker"));
    AddRow(m_filters, Tr("Основной социальный работник:", "CRepBaseView"), m_worker, kRepCtlWorker);
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
    RegisterControl(kRepCtlPresets, m_presets);
    m_labels.insert(kRepCtlPresets, m_presetLabel);
    m_presets->SetCaption(m_presetLabel);
    m_presets->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_presets, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        const struct {
            unsigned id;
            QString text;
        } commands[] = {{kCmdPresetNew, Tr("Новый вариант отчета", "CRepBaseView::Presets")},
                        {kCmdPresetEdit, Tr("Изменить вариант", "CRepBaseView::Presets")},
                        {kCmdPresetDelete, Tr("Удалить вариант", "CRepBaseView::Presets")}};
        for (const auto& c : commands) {
            QAction* action = menu.addAction(c.text);
            CxCmdUI ui;
            action->setEnabled(CanProcessCommand(c.id, &ui) && ui.enabled);
            action->setData(c.id);
        }
        if (QAction* chosen = menu.exec(m_presets->viewport()->mapToGlobal(at)))
            ProcessCommand(chosen->data().toUInt());
    });

    connect(m_markAll, &QToolButton::clicked, this, &CRepBaseView::OnCheck);
    connect(m_unmarkAll, &QToolButton::clicked, this, &CRepBaseView::OnUnmarkAll);
    connect(m_grouping, &QToolButton::clicked, this, &CRepBaseView::OnGroupingMenu);

    // A fresh view: the last full month.
    const QDate thisMonth = QDate::currentDate().addDays(1 - QDate::currentDate().day());
    m_from->setDate(thisMonth.addMonths(-1));
    m_to->setDate(thisMonth.addDays(-1));
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

CRepBase* CRepBaseView::GetRepBase() const {
    return qobject_cast<CRepBase*>(GetRepDoc());
}

QDate CRepBaseView::GetFrom() const {
    return m_from->date();
}

QDate CRepBaseView::GetTo() const {
    return m_to->date();
}

bool CRepBaseView::OnInitialUpdate() {
    if (!GetRepDoc())
        return false;
    QString error;
    if (!m_posh->Build(&error))
        CTarvikApp::AddErrorMessage(error);
    if (xConfiguration* config = CurrentConfiguration())
        m_project->SetEnum(&config->GetCurrentLanguage()->PrjList);
    if (g_pWorkersTable)
        m_worker->SetControlInfo(g_pWorkersTable);
    CRepBase* base = GetRepBase();
    if (base) {
        m_presets->SetList(&base->GetPresetList());
        m_presets->SetCheckBoxes(true);
        m_presets->Fill(-1);
        m_presets->SetListEnabled(UsesPresets());
        base->SetPresetEditor([this, base](KDRepPresetEx2& preset, bool readOnly) {
            CRepPresetEdit2 editor(preset, base->GetPresetChoices(), readOnly, this);
            return editor.exec() == QDialog::Accepted;
        });
    } else {
        ShowControl(kRepCtlPresets, false);
    }
    if (!CRepView::OnInitialUpdate())
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
    const bool built = CRepView::OnBuild();
    m_presets->SetListEnabled(enabled);
    return built;
}

bool CRepBaseView::OnPreBuild() {
    const bool withEnd = m_to->isEnabled() && !m_to->isHidden();
    for (CTypedDateEdit* edit : {m_from, m_to}) {
        if ((edit == m_from || withEnd) && edit->isEnabled() && !edit->date().isValid()) {
            CxMessage(this, 0x30,
                      Tr("Дата периода «{text}» не является датой. Введите ее как дд.мм.гггг",
                         "CRepBaseView::OnPreBuild")
                          .replace(QLatin1String("{text}"), edit->text()));
            edit->setFocus();
            return false;
        }
    }
    if (withEnd && m_from->isEnabled() && m_from->date() > m_to->date()) {
        CxMessage(this, 0x30, Tr("Начало периода позже его окончания", "CRepBaseView::OnPreBuild"));
        m_from->setFocus();
        return false;
    }
    const qint64 worker = m_worker->GetSelectedID();
    if (m_worker->isEnabled() && worker == -2) {
        CxMessage(this, 0x30,
                  Tr("Такого социального работника нет в списке", "CRepBaseView::OnPreBuild"));
        m_worker->setFocus();
        return false;
    }
    m_posh->StoreSelection();
    if (CRepBase* base = GetRepBase()) {
        CRepBaseParams& params = base->Params();
        params.from = m_from->date();
        if (withEnd)
            params.to = m_to->date();
        params.clientKind = int(m_clientKind->GetCurSelCode());
        params.newClientMode = int(m_newClientMode->GetCurSelCode());
        params.workerId = m_worker->isEnabled() && worker > 0 ? long(worker) : -1;
        params.workerText = params.workerId > 0 ? m_worker->currentText() : QString();
        params.project = m_project->isEnabled() ? m_project->GetCurSelCode() : -1;
        params.projectExact = m_projectExact->isEnabled() && m_projectExact->isChecked();
    }
    return true;
}

void CRepBaseView::StoreState() {
    CRepView::StoreState();
    const QString section = StateSection();
    const auto write = [&](const char* entry, const QString& value) {
        CTarvikApp::WriteProfileString(section, QString::fromLatin1(entry), value);
    };
    write(kFromDate, m_from->date().toString(Qt::ISODate));
    if (m_to->isEnabled() && !m_to->isHidden())
        write(kToDate, m_to->date().toString(Qt::ISODate));
    write("ClientKind", QString::number(m_clientKind->GetCurSelCode()));
    write("NewClientMode", QString::number(m_newClientMode->GetCurSelCode()));
    write("Worker", QString::number(m_worker->GetSelectedID()));
    write("Project", QString::number(m_project->GetCurSelCode()));
    write("ProjectExact", m_projectExact->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    write("Posh", IdList(m_posh->TickedPoints()));
    const int checked = m_presets->GetChecked();
    if (CRepBase* base = GetRepBase(); base && checked >= 0)
        write("Preset", base->GetPresetList().GetAt(checked)->Title);
}

void CRepBaseView::RestoreState() {
    CRepView::RestoreState();
    const QString section = StateSection();
    const auto read = [&](const char* entry) {
        return CTarvikApp::GetProfileString(section, QString::fromLatin1(entry));
    };
    if (const QDate from = QDate::fromString(read(kFromDate), Qt::ISODate); from.isValid())
        m_from->setDate(from);
    if (m_to->isEnabled())
        if (const QDate to = QDate::fromString(read(kToDate), Qt::ISODate); to.isValid())
            m_to->setDate(to);
    bool ok = false;
    if (const long kind = read("ClientKind").toLong(&ok); ok)
        m_clientKind->SetCurSelCode(kind);
    if (const long mode = read("NewClientMode").toLong(&ok); ok)
        m_newClientMode->SetCurSelCode(mode);
    if (const qint64 worker = read("Worker").toLongLong(&ok); ok && worker > 0)
        m_worker->SetSelectedID(worker);
    if (const long project = read("Project").toLong(&ok); ok)
        m_project->SetCurSelCode(project);
    m_projectExact->setChecked(read("ProjectExact") == QLatin1String("1"));
    // Points: as this view had them, else as the last build chose them.
    QSet<long> ticked;
    const QString posh = read("Posh");
    if (!posh.isNull()) {
        for (const QString& id : posh.split(u',', Qt::SkipEmptyParts))
            ticked.insert(id.toLong());
    } else {
        for (long id : CPoshSelection::SelectedIDs())
            ticked.insert(id);
    }
    m_posh->SetTickedPoints(ticked);
    if (const QString preset = read("Preset"); !preset.isEmpty())
        m_presets->SelectByName(preset);
}

void CRepBaseView::OnCloned(CRepView* source) {
    // The state the source stored is already restored; the ticks and the
    // preset are copied as they stand.
    if (auto* from = qobject_cast<CRepBaseView*>(source)) {
        m_posh->SetTickedPoints(from->m_posh->TickedPoints());
        const int checked = from->m_presets->GetChecked();
        if (CRepBase* other = from->GetRepBase(); other && checked >= 0)
            m_presets->SelectByName(other->GetPresetList().GetAt(checked)->Title);
    }
}

bool CRepBaseView::ProcessCommand(unsigned id) {
    const bool presetCommand =
        id == kCmdPresetNew || id == kCmdPresetEdit || id == kCmdPresetDelete;
    if (presetCommand && !m_presets->isEnabled())
        return true; // the list is off: nothing of it to change
    const bool handled = CRepView::ProcessCommand(id);
    if (id == kCmdPresetNew || id == kCmdPresetEdit || id == kCmdPresetDelete) {
        // The document refilled its list (or refused with a reason).
        m_presets->Refresh();
        if (CRepBase* base = GetRepBase(); base && !base->GetPresetCommandError().isEmpty())
            CxMessage(this, 0x30, base->GetPresetCommandError());
    }
    return handled;
}

bool CRepBaseView::MarkMenuItems(QList<QPair<QString, long>>& items, QString* error) const {
    items = {{Tr("Все", "msgALL"), -1}};
    QList<long> types;
    if (!PoshPointTypes(nullptr, types, error))
        return false;
    for (long type : std::as_const(types)) {
        int found = 0;
        QString text = g_pNodeType.Get()->IDToString(type, QString(), &found);
        if (!found)
            text = Tr("Ошибка. Код типа {code}", "CRepBaseView::OnCheck")
                       .replace(QLatin1String("{code}"), QString::number(type));
        items.append({text, type});
    }
    return true;
}

void CRepBaseView::OnCheck() {
    QList<QPair<QString, long>> items;
    QString error;
    if (!MarkMenuItems(items, &error)) {
        CxMessage(this, 0x10, PoshReadError(error));
        return;
    }
    QMenu menu(this);
    for (int i = 0; i < items.size(); ++i) {
        if (i == 1)
            menu.addSeparator();
        menu.addAction(items[i].first)->setData(qlonglong(items[i].second));
    }
    QAction* chosen = menu.exec(m_markAll->mapToGlobal(QPoint(0, m_markAll->height())));
    if (chosen && !m_posh->CheckByType(true, long(chosen->data().toLongLong()), &error))
        CxMessage(this, 0x10, PoshReadError(error));
}

void CRepBaseView::OnUnmarkAll() {
    m_posh->CheckByType(false, -1);
}

void CRepBaseView::OnGroupingMenu() {
    QMenu menu(this);
    const QList<CPoshGrouping> groupings = PoshGroupings();
    const int current = CurrentPoshGrouping();
    for (int i = 0; i < groupings.size(); ++i) {
        if (i == 3)
            menu.addSeparator();
        QAction* action = menu.addAction(groupings[i].text);
        action->setData(groupings[i].id);
        action->setCheckable(true);
        action->setChecked(groupings[i].id == current);
    }
    if (QAction* chosen = menu.exec(m_grouping->mapToGlobal(QPoint(0, m_grouping->height()))))
        SetGrouping(chosen->data().toInt());
}

void CRepBaseView::SetGrouping(int mode) {
    StorePoshGrouping(mode);
    QString error;
    if (!m_posh->Build(&error))
        CxMessage(this, 0x10, error);
}
