#include "visits_view.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "framework/widgets/message_box.h"
#include "model/tables/table_set.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base.h"
#include "reports/base/views/posh_list.h"
#include "reports/base/views/preset_sel.h"
#include "reports/base/views/preset_sel_list.h"
#include "reports/visits/core/rep_visits_base_doc.h"
#include "reports/visits/core/visits_columns.h"
#include "reports/visits/core/visits_view_logic.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QString Tr(const char* text, const char* key) {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(key), 1);
}

QDateEdit* DateEdit(QWidget* parent, const char* name) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
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

const char* const kFromDate = "FromDate";
const char* const kToDate = "ToDate";
const char* const kWorker = "Worker";
const char* const kPosh = "Posh";
// The configurable reports keep their version-2 preset under "Preset" in
// the same state; the visits presets go under a name of their own.
const char* const kVisitsPreset = "VisitsPreset";
} // namespace

CRepVisitsView::CRepVisitsView(QWidget* parent) : CRepVisitsView(parent, true) {}

CRepVisitsView::CRepVisitsView(QWidget* parent, bool withPresets)
    : CRepView(parent), m_withPresets(withPresets), m_from(DateEdit(this, "fromDate")),
      m_to(DateEdit(this, "toDate")), m_posh(new CPoshList(this)), m_workerLabel(new QLabel(this)),
      m_worker(new CxSqlComboList(this)) {
    setObjectName(QStringLiteral("CRepVisitsView"));
    SetStateVariableName(QStringLiteral("RepVisitsView"));
    QVBoxLayout* params = ParamsLayout();

    auto* period = new QHBoxLayout;
    period->addWidget(new QLabel(Tr("Период:", "CRepVisitsView"), this));
    period->addWidget(m_from, 1);
    m_toDash = new QLabel(QStringLiteral("—"), this);
    period->addWidget(m_toDash);
    period->addWidget(m_to, 1);
    params->addLayout(period);
    RegisterControl(kRepCtlFrom, m_from);
    RegisterControl(kRepCtlTo, m_to);

    auto* poshHeader = new QHBoxLayout;
    poshHeader->addWidget(new QLabel(Tr("Пункты предоставления услуг:", "CRepVisitsView"), this),
                          1);
    m_markAll = SmallButton(this, "markPosh", QStringLiteral("☑"),
                            Tr("Отметить все пункты предоставления услуг", "msgMarkAllPOU"));
    m_unmarkAll =
        SmallButton(this, "unmarkPosh", QStringLiteral("☐"),
                    Tr("Снять отметку со всех пунктов предоставления услуг", "msgUnmarkAllPOI"));
    m_grouping = SmallButton(this, "poshGrouping", Tr("гр", "CRepVisitsView"),
                             Tr("Группировка ПОУ", "CRepVisitsView::OnGroupingMenu"));
    poshHeader->addWidget(m_markAll);
    poshHeader->addWidget(m_unmarkAll);
    poshHeader->addWidget(m_grouping);
    params->addLayout(poshHeader);
    params->addWidget(m_posh, 5);
    RegisterControl(kRepCtlPoshTree, m_posh);
    RegisterControl(kRepCtlMarkPosh, m_markAll);
    RegisterControl(kRepCtlUnmarkPosh, m_unmarkAll);
    RegisterControl(kRepCtlPoshGrouping, m_grouping);

    m_workerLabel->setText(Tr("Основной социальный работник:", "CRepVisitsView"));
    m_worker->setObjectName(QStringLiteral("worker"));
    params->addWidget(m_workerLabel);
    params->addWidget(m_worker);
    RegisterControl(IDC_WORKER_LABEL, m_workerLabel);
    RegisterControl(kRepCtlWorker, m_worker);

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
    } else {
        params->addStretch(1);
    }

    connect(m_markAll, &QToolButton::clicked, this, &CRepVisitsView::OnCheck);
    connect(m_unmarkAll, &QToolButton::clicked, this, &CRepVisitsView::OnUnmarkAll);
    connect(m_grouping, &QToolButton::clicked, this, &CRepVisitsView::OnGroupingMenu);

    // A fresh view: the last full month.
    const QDate today = QDate::currentDate();
    const QDate thisMonth = today.addDays(1 - today.day());
    m_from->setDate(thisMonth.addMonths(-1));
    m_to->setDate(thisMonth.addDays(-1));
}

CRepPresetSelList* CRepVisitsView::GetPresetList() {
    if (!m_presets) {
        m_presets = new CRepPresetSelList(this);
        m_presets->SetCheckBoxes(true);
        RegisterControl(kRepCtlPresets, m_presets);
    }
    return m_presets;
}

CRepBase* CRepVisitsView::GetRepBase() const {
    return qobject_cast<CRepBase*>(GetRepDoc());
}

CRepVisitsBaseDoc* CRepVisitsView::GetVisitsDoc() const {
    return qobject_cast<CRepVisitsBaseDoc*>(GetRepDoc());
}

QDate CRepVisitsView::GetFrom() const {
    return m_from->date();
}

QDate CRepVisitsView::GetTo() const {
    return m_to->date();
}

bool CRepVisitsView::EndDateUsed() const {
    return m_to->isEnabled() && !m_to->isHidden();
}

bool CRepVisitsView::OnInitialUpdate() {
    CRepDoc* doc = GetRepDoc();
    if (!doc)
        return false;
    QString error;
    if (!m_posh->Build(&error))
        CTarvikApp::AddErrorMessage(error);
    if (g_pWorkersTable)
        m_worker->SetControlInfo(g_pWorkersTable);
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
    return CRepView::OnInitialUpdate();
}

void CRepVisitsView::SetUpForDocument() {
    CRepVisitsBaseDoc* visits = GetVisitsDoc();
    if (visits) {
        visits->CreateColumns();
        const CVisitsViewSetup setup = visits->GetViewSetup();
        m_from->setEnabled(setup.periodStart);
        m_to->setEnabled(setup.periodEnd);
        m_to->setVisible(setup.periodEnd);
        m_toDash->setVisible(setup.periodEnd);
        m_worker->setEnabled(setup.worker);
        if (!setup.periodStartTip.isEmpty()) {
            m_from->setToolTip(setup.periodStartTip);
            // Shown once as the window opens, as a hint where to look.
            QTimer::singleShot(0, this, [this, tip = setup.periodStartTip] {
                if (m_from->isVisible())
                    QToolTip::showText(m_from->mapToGlobal(QPoint(0, m_from->height())), tip,
                                       m_from);
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

bool CRepVisitsView::OnPreBuild() {
    if (EndDateUsed() && m_from->isEnabled() && m_from->date() > m_to->date()) {
        CxMessage(this, 0x30,
                  Tr("Начало периода позже его окончания", "CRepVisitsView::OnPreBuild"));
        m_from->setFocus();
        return false;
    }
    const qint64 worker = m_worker->GetSelectedID();
    if (m_worker->isEnabled() && worker == -2) {
        CxMessage(this, 0x30,
                  Tr("Такого социального работника нет в списке", "CRepVisitsView::OnPreBuild"));
        m_worker->setFocus();
        return false;
    }
    m_posh->StoreSelection();
    if (CRepBase* base = GetRepBase()) {
        CRepBaseParams& params = base->Params();
        params.from = m_from->date();
        params.to = m_to->date();
        params.workerId = m_worker->isEnabled() && worker > 0 ? long(worker) : -1;
        params.workerText = params.workerId > 0 ? m_worker->currentText() : QString();
    }
    return true;
}

bool CRepVisitsView::OnBuild() {
    const bool built = CRepView::OnBuild();
    if (built && GetVisitsDoc()) {
        CRepBaseParams& params = GetRepBase()->Params();
        if (params.from.isValid())
            m_from->setDate(params.from);
        if (params.to.isValid() && EndDateUsed())
            m_to->setDate(params.to);
    }
    return built;
}

void CRepVisitsView::StoreState() {
    CRepView::StoreState();
    const QString section = StateSection();
    const auto write = [&](const char* entry, const QString& value) {
        CTarvikApp::WriteProfileString(section, QString::fromLatin1(entry), value);
    };
    write(kFromDate, m_from->date().toString(Qt::ISODate));
    if (EndDateUsed())
        write(kToDate, m_to->date().toString(Qt::ISODate));
    if (m_worker->isEnabled())
        write(kWorker, QString::number(m_worker->GetSelectedID()));
    write(kPosh, IdList(m_posh->TickedPoints()));
    if (m_presets && m_presets->isVisibleTo(this) && m_presets->List()) {
        if (const KDRepPresetEx* preset = m_presets->List()->GetAt(m_presets->GetChecked()))
            write(kVisitsPreset, preset->Title);
    }
}

void CRepVisitsView::RestoreState() {
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
    if (const qint64 worker = read(kWorker).toLongLong(&ok); ok && worker > 0)
        m_worker->SetSelectedID(worker);
    // Points: as this view had them, else as the last build chose them.
    QSet<long> ticked;
    const QString posh = read(kPosh);
    if (!posh.isNull()) {
        for (const QString& id : posh.split(u',', Qt::SkipEmptyParts))
            ticked.insert(id.toLong());
    } else {
        for (long id : CPoshSelection::SelectedIDs())
            ticked.insert(id);
    }
    m_posh->SetTickedPoints(ticked);
    if (m_presets)
        if (const QString preset = read(kVisitsPreset); !preset.isEmpty())
            m_presets->SelectByName(preset);
}

void CRepVisitsView::OnCloned(CRepView* source) {
    // The state the source stored is already restored; the ticks and the
    // preset are copied as they stand.
    auto* from = qobject_cast<CRepVisitsView*>(source);
    if (!from)
        return;
    m_posh->SetTickedPoints(from->m_posh->TickedPoints());
    if (m_presets && from->m_presets && from->m_presets->List())
        if (const KDRepPresetEx* preset =
                from->m_presets->List()->GetAt(from->m_presets->GetChecked()))
            m_presets->SelectByName(preset->Title);
}

bool CRepVisitsView::ProcessCommand(unsigned id) {
    const bool handled = CRepView::ProcessCommand(id);
    // The chooser refilled the document's list.
    if (id == kCmdVisitsPresetChoose && m_presets)
        m_presets->Refresh();
    return handled;
}

void CRepVisitsView::OnCheck() {
    const QList<CVisitsMarkEntry> entries = VisitsMarkMenu(nullptr);
    QMenu menu(this);
    for (const CVisitsMarkEntry& entry : entries) {
        if (entry.separatorBefore)
            menu.addSeparator();
        menu.addAction(entry.text)->setData(qlonglong(entry.type));
    }
    if (QAction* chosen = menu.exec(m_markAll->mapToGlobal(QPoint(0, m_markAll->height()))))
        MarkByType(long(chosen->data().toLongLong()));
}

void CRepVisitsView::MarkByType(long type) {
    m_posh->CheckByType(true, type);
}

void CRepVisitsView::OnUnmarkAll() {
    m_posh->CheckByType(false, -1);
}

void CRepVisitsView::OnGroupingMenu() {
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
    if (QAction* chosen = menu.exec(m_grouping->mapToGlobal(QPoint(0, m_grouping->height())))) {
        StorePoshGrouping(chosen->data().toInt());
        QString error;
        if (!m_posh->Build(&error))
            CxMessage(this, 0x10, error);
    }
}
