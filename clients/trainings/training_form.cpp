#include "training_form.h"

#include "sql_edit_list.h"

#include "clients/core/training_rules.h"
#include "framework/core/record/dx_record.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/date_edit.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/html_static.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "model/tables/table_set.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CDTraining::DoDataExchange");
} // namespace

CDTraining::CDTraining(QWidget* parent)
    : CxSQLEditForm(parent), m_name(new QLineEdit(this)), m_topic(new CxSqlComboList(this)),
      m_date(new CDateTimeEditCtrl(this)), m_donor(new CxSqlComboList(this)),
      m_company(new QLineEdit(this)), m_count(new QLineEdit(this)), m_hours(new QLineEdit(this)),
      m_trainers(new QLineEdit(this)), m_comment(new QPlainTextEdit(this)),
      m_participants(new CSQLEditList(this)), m_checkLine(new CHTMLStatic(this)) {
    SetStateVariableName(QStringLiteral("Trainings"));
    m_name->setObjectName(QStringLiteral("cName"));
    m_name->setMaxLength(255);
    m_topic->setObjectName(QStringLiteral("nTopicID"));
    m_topic->SetControlInfo(g_pTrainingsTable.GetPtr());
    m_date->setObjectName(QStringLiteral("dDate"));
    m_donor->setObjectName(QStringLiteral("nDonorID"));
    m_donor->SetControlInfo(g_pDonorsTable.GetPtr());
    m_company->setObjectName(QStringLiteral("cFCompanyName"));
    m_count->setObjectName(QStringLiteral("nNumberOfClients"));
    m_hours->setObjectName(QStringLiteral("nTimeInHours"));
    m_trainers->setObjectName(QStringLiteral("cTrainers"));
    m_comment->setObjectName(QStringLiteral("cComment"));
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(m_comment->fontMetrics().lineSpacing() * 4 + 12);
    m_participants->setObjectName(QStringLiteral("participants"));
    m_participants->setFixedHeight(m_participants->fontMetrics().lineSpacing() * 4 + 12);
    m_checkLine->setObjectName(QStringLiteral("checkLine"));
    m_checkLine->SetTransparent(true);
    m_checkLine->DisableScroll(3);
    // One line for the caption; the line grows when it names wrong codes.
    m_checkLine->setFixedHeight(CheckLineHeight(false));

    auto* fields = new QFormLayout;
    fields->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    fields->addRow(Tr("Название тренинга"), m_name);
    fields->addRow(Tr("Тип мероприятия"), m_topic);
    fields->addRow(Tr("Дата тренинга/занятия"), m_date);
    auto* numbers = new QHBoxLayout;
    numbers->addWidget(m_count);
    numbers->addWidget(new QLabel(Tr("Длительность тренинга в часах"), this));
    numbers->addWidget(m_hours);
    fields->addRow(Tr("Количество протренированных людей"), numbers);
    fields->addRow(Tr("Имена тренеров:"), m_trainers);

    auto* money = new QGroupBox(Tr("Финансирование тренинга"), this);
    auto* moneyLayout = new QFormLayout(money);
    moneyLayout->addRow(Tr("Источник финансирования тренинга:"), m_donor);
    moneyLayout->addRow(Tr("Примечание:"), m_company);

    const auto radios = [&](const char* title, const char* name,
                            std::initializer_list<QPair<long, const char*>> choices,
                            QList<QPair<QAbstractButton*, long>>& buttons, int columns) {
        auto* box = new QGroupBox(Tr(title), this);
        auto* grid = new QGridLayout(box);
        int n = 0;
        for (const auto& [value, text] : choices) {
            auto* b = new QRadioButton(Tr(text), box);
            b->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(value));
            grid->addWidget(b, n / columns, n % columns);
            buttons.append({b, value});
            ++n;
        }
        return box;
    };
    QGroupBox* types = radios(
        "Тип занятия", "nTrainingType",
        {{1, "Тренинг"}, {2, "Тематическое занятие"}, {4, "Профилактическая игра"}}, m_types, 3);
    QGroupBox* audiences = radios("Аудитория тренинга", "nForType",
                                  {{1, "для клиентов проекта"},
                                   {2, "для работников"},
                                   {3, "для милиции"},
                                   {4, "для докторов"},
                                   {5, "для журналистов"},
                                   {6, "для других категорий"},
                                   {7, "для аутрич-работников"},
                                   {8, "сотрудники колоний"}},
                                  m_audiences, 2);
    for (const auto& [button, value] : m_audiences)
        connect(button, &QAbstractButton::clicked, this, &CDTraining::OnAudienceChanged);

    auto* people = new QVBoxLayout;
    people->addWidget(m_checkLine);
    people->addWidget(m_participants);

    auto* layout = new QVBoxLayout;
    layout->addLayout(fields);
    auto* middle = new QHBoxLayout;
    middle->addWidget(types);
    middle->addWidget(money, 1);
    layout->addLayout(middle);
    layout->addWidget(audiences);
    layout->addLayout(people);
    layout->addWidget(new QLabel(Tr("Краткое описание и программа:"), this));
    layout->addWidget(m_comment);
    Body()->insertLayout(0, layout);
    Body()->insertStretch(1, 1);

    connect(m_participants, &CSQLEditList::listChanged, this, [this] {
        if (!m_loading)
            CheckParticipants();
    });
}

CxTable* CDTraining::GetDXTable() const {
    return g_pTrainingListTable.GetPtr();
}

QString CDTraining::GetTitleField() const {
    return QStringLiteral("traininglist.cName");
}

QAbstractButton* CDTraining::AudienceButton(int forType) const {
    for (const auto& [button, value] : m_audiences)
        if (value == forType)
            return button;
    return nullptr;
}

int CDTraining::CurrentAudience() const {
    for (const auto& [button, value] : m_audiences)
        if (button->isChecked())
            return int(value);
    const CDXRecordSQL* record = GetDXRecord();
    return record ? int(record->LFieldValue(QStringLiteral("nForType"))) : 0;
}

void CDTraining::OnAudienceChanged() {
    const int audience = CurrentAudience();
    SetupTrainingParticipants(&m_participants->Core(), audience);
    m_label = TrainingParticipantsLabel(audience);
    m_participants->setEnabled(true);
    m_checkLine->setEnabled(true);
    CheckParticipants();
}

void CDTraining::CheckParticipants() {
    QString error;
    const bool checked = m_participants->CheckList(&error);
    const CTrainingPeople people =
        TrainingPeopleCount(m_participants->toPlainText(), m_participants->GetCount());
    m_count->setEnabled(people.editable);
    if (!people.editable)
        m_count->setText(QString::number(people.count));
    const bool faults = !checked || !m_participants->GetError().trimmed().isEmpty();
    m_checkLine->setFixedHeight(CheckLineHeight(faults));
    m_checkLine->SetHTML(checked ? TrainingCheckLineHtml(m_label, m_participants->GetError())
                                 : m_label.toHtmlEscaped() + QStringLiteral(" <font color=red>") +
                                       error.toHtmlEscaped() + QStringLiteral("</font>"));
}

int CDTraining::CheckLineHeight(bool faults) const {
    return m_checkLine->fontMetrics().lineSpacing() * (faults ? 3 : 1) + 8;
}

void CDTraining::DoDataExchange(CDXX& dx) {
    CxTable_TrainingList* t = g_pTrainingListTable;
    if (dx.IsSave())
        CheckParticipants(); // the count follows the list
    dx.DX(m_name, t->m_cName, DXF_REQUIRED).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_trainers, t->m_cTrainers).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_comment, t->m_cComment).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_company, t->m_cFCompanyName).SetACC(QStringLiteral("companynames"));
    dx.DX(m_count, t->m_nNumberOfClients);
    dx.DX(m_hours, t->m_nTimeInHours);
    dx.DX(m_date, t->m_dDate, DXF_REQUIRED);
    CDXXRadioGroup types = dx.DXRadioGroup(t->m_nTrainingType);
    for (const auto& [button, value] : m_types)
        types.DXButton(button, value);
    types.End();
    CDXXRadioGroup audiences = dx.DXRadioGroup(t->m_nForType);
    for (const auto& [button, value] : m_audiences)
        audiences.DXButton(button, value);
    audiences.End();
    m_topic->DX(dx, t->m_nTopicID);
    m_donor->DX(dx, t->m_nDonorID);
    SetInfobarStringIcon(
        CTarvikApp::TranslateString(QStringLiteral("Тренинг\nРедактирование отчета по тренингу"),
                                    QStringLiteral("msgTraningRedOtchet"), 1),
        1307);
    if (dx.IsLoad()) {
        m_loading = true;
        OnAudienceChanged();
        const CDXRecordSQL* record = GetDXRecord();
        const qint64 key = record ? record->GetKey() : -1;
        if (record)
            m_participants->SetConnection(record->GetSQL());
        QString error;
        if (key > 0 && !m_participants->Load(key, &error))
            dx.Fail(m_participants, error);
        m_loading = false;
        CheckParticipants();
    }
}

QList<CxGuardedRows> CDTraining::GuardedRows(qint64 key) const {
    return TrainingGuardedRows(key);
}

bool CDTraining::OnApply() {
    // The training's row first; its participants under its ROWID.
    if (!CxSQLEditForm::OnApply())
        return false;
    if (GetDXEditMode() == EA_DELETE)
        return true;
    OnAudienceChanged();
    QString error;
    if (!m_participants->Save(GetDXRecord()->GetKey(), &error))
        return Fail(m_participants, error);
    return true;
}
