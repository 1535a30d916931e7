#include "history_tabs.h"

#include "clients/core/drug_start_rules.h"
#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
struct Choice {
    int value;
    const char* text;
};

// A group box of radio buttons (or check boxes) for the values of a column.
QGroupBox* ChoiceBox(QWidget* parent, const char* context, const char* title, const char* column,
                     std::initializer_list<Choice> choices, CRadioButtons* buttons,
                     bool checks = false, int columns = 1) {
    auto* box = new QGroupBox(ClientTabText(title, context), parent);
    box->setObjectName(QString::fromLatin1(column));
    auto* layout = new QGridLayout(box);
    int n = 0;
    for (const Choice& c : choices) {
        QAbstractButton* b =
            checks
                ? static_cast<QAbstractButton*>(new QCheckBox(ClientTabText(c.text, context), box))
                : new QRadioButton(ClientTabText(c.text, context), box);
        b->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(column)).arg(c.value));
        layout->addWidget(b, n / columns, n % columns);
        buttons->append({b, c.value});
        ++n;
    }
    return box;
}

QVariant NumberOrNull(const QString& stored) {
    return stored.isNull() ? QVariant() : QVariant(stored.toLongLong());
}

CEnum2* ParticipantPrograms() {
    auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig());
    return config ? &config->GetCurrentLanguage()->ParticipantProgram : nullptr;
}
} // namespace

// --- Drug use ---------------------------------------------------------------

CDClientsDrugsSub::CDClientsDrugsSub(QWidget* parent)
    : CDClientTabDynDyn(parent), m_basicDrug(new CxSqlComboList(this)),
      m_participation(new CxComboList(this)), m_start(new QLineEdit(this)),
      m_startLabel(new QLabel(this)), m_secondaryDrug(new CxSqlComboList(this)) {
    const char* ctx = "CDClientsDrugsSub::DoDataExchange";
    m_basicDrug->setObjectName(QStringLiteral("nBasicDrug"));
    m_basicDrug->SetControlInfo(g_pDrugListTable.GetPtr());
    m_secondaryDrug->setObjectName(QStringLiteral("nSecondaryDrug"));
    m_secondaryDrug->SetControlInfo(g_pDrugListTable.GetPtr());
    m_participation->setObjectName(QStringLiteral("nParticipation"));
    if (CEnum2* programs = ParticipantPrograms())
        m_participation->SetEnum(programs);
    m_start->setObjectName(QStringLiteral("nDrugStartDate"));
    m_start->setMaxLength(4);
    m_startLabel->setObjectName(QStringLiteral("drugStartLabel"));

    auto* main = new QGroupBox(ClientTabText("Основной наркотик", ctx), this);
    auto* mainLayout = new QVBoxLayout(main);
    mainLayout->addWidget(m_basicDrug);
    CRadioButtons routes;
    QGroupBox* routeBox = ChoiceBox(
        this, ctx, "Способ употребления", "nMainRoute",
        {{1, "Инъекции"}, {2, "Перорально"}, {4, "Интерназально"}, {8, "Курение/вдыхание"}},
        &routes, true, 2);
    for (const auto& [b, v] : routes)
        m_routes.append({static_cast<QCheckBox*>(b), v});
    mainLayout->addWidget(routeBox);
    QGroupBox* frequency = ChoiceBox(this, ctx, "Частота употребления", "nUseFrequency",
                                     {{1, "Время от времени"},
                                      {2, "Раз в неделю"},
                                      {3, "Несколько раз в неделю"},
                                      {4, "Раз в день"},
                                      {5, "Несколько раз в день"}},
                                     &m_frequency);
    auto* top = new QHBoxLayout;
    top->addWidget(main, 1);
    top->addWidget(frequency, 1);

    auto* form = new QFormLayout;
    form->addRow(ClientTabText("Участие в заместительной терапии:", ctx), m_participation);
    auto* startRow = new QHBoxLayout;
    startRow->addWidget(m_start);
    startRow->addWidget(m_startLabel, 1);
    form->addRow(ClientTabText("Стаж употребления наркотиков:", ctx), startRow);
    auto* note = new QLabel(ClientTabText("*введите 4х значный год начала употребления или 1-2х "
                                          "значное число лет употребления наркотика. 0 - менее "
                                          "года",
                                          ctx),
                            this);
    note->setWordWrap(true);
    note->setEnabled(false);
    form->addRow(QString(), note);
    form->addRow(ClientTabText("Вторичный наркотик:", ctx), m_secondaryDrug);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(form);
    layout->addStretch(1);
    connect(m_start, &QLineEdit::textChanged, this, &CDClientsDrugsSub::UpdateStartLabel);
}

void CDClientsDrugsSub::UpdateStartLabel() {
    m_startLabel->setText(
        DrugStartLabel(ParseDrugStart(m_start->text(), QDate::currentDate().year())));
}

void CDClientsDrugsSub::LoadValues(const QHash<QString, QString>& row) {
    const auto key = [&](const char* column) {
        const QString v = row.value(QString::fromLatin1(column).toLower());
        return v.isNull() || v.toLongLong() == 0 ? qint64(-1) : v.toLongLong();
    };
    m_basicDrug->SetSelectedID(key("nBasicDrug"));
    m_secondaryDrug->SetSelectedID(key("nSecondaryDrug"));
    const int routes = row.value(QStringLiteral("nmainroute")).toInt();
    for (const auto& [box, bit] : m_routes)
        box->setChecked(routes & bit);
    ShowRadioValue(m_frequency, row.value(QStringLiteral("nusefrequency")));
    const QString participation = row.value(QStringLiteral("nparticipation"));
    m_participation->SetCurSelCode(participation.isNull() ? -1 : participation.toLong());
    m_start->setText(row.value(QStringLiteral("ndrugstartdate")));
    UpdateStartLabel();
}

CRuleVerdict CDClientsDrugsSub::CollectValues(QList<QPair<QString, QVariant>>* values,
                                              QWidget** control) {
    const CDrugStart start = ParseDrugStart(m_start->text(), QDate::currentDate().year());
    if (!start.verdict.ok) {
        *control = m_start;
        return start.verdict;
    }
    const auto drug = [&](CxSqlComboList* combo, const char* column) -> QVariant {
        const qint64 id = combo->GetSelectedID();
        if (id >= 0)
            return id;
        // A name that names no drug (-2) keeps the stored drug.
        return id == -2 && IsStored() ? NumberOrNull(Stored(QString::fromLatin1(column)))
                                      : QVariant();
    };
    values->append({QStringLiteral("nBasicDrug"), drug(m_basicDrug, "nBasicDrug")});
    int routes = 0;
    for (const auto& [box, bit] : m_routes)
        if (box->isChecked())
            routes |= bit;
    const int storedRoutes = IsStored() ? Stored(QStringLiteral("nMainRoute")).toInt() : 0;
    values->append({QStringLiteral("nMainRoute"), (storedRoutes & ~0xF) | routes});
    values->append({QStringLiteral("nUseFrequency"),
                    RadioValue(m_frequency, this, QStringLiteral("nUseFrequency"), QVariant())});
    const long participation = m_participation->GetCurSelCode();
    values->append({QStringLiteral("nParticipation"),
                    participation < 0 ? QVariant() : QVariant(qlonglong(participation))});
    values->append(
        {QStringLiteral("nDrugStartDate"), start.empty ? QVariant() : QVariant(start.startYear)});
    values->append({QStringLiteral("nSecondaryDrug"), drug(m_secondaryDrug, "nSecondaryDrug")});
    return CRuleVerdict();
}

// --- Risk behaviour ---------------------------------------------------------

CDClientsRiscSub::CDClientsRiscSub(QWidget* parent) : CDClientTabDynDyn(parent) {
    const char* ctx = "CDClientsRiscSub::DoDataExchange";
    struct Spec {
        const char* column;
        const char* title;
        std::initializer_list<Choice> choices;
        QVariant fallback;
    };
    const Spec specs[] = {
        {"nUseDirtySyr",
         "Использовал(а) нестерильный чужой шприц и или иглу?",
         {{1, "Да"}, {0, "Нет"}, {99, "Нет данных"}},
         99},
        {"nGivingUsed",
         "Давал(а) использованные шприцы кому-нибудь?",
         {{1, "Да"}, {0, "Нет"}, {99, "Нет данных"}},
         99},
        {"nDesinfectionWay",
         "Метод дезинфекции",
         {{1, "Промывание водой"},
          {2, "Кипячение"},
          {3, "Хлоргексидин, спирт"},
          {4, "Ничем"},
          {100, "Не принимаю ИН"},
          {5, "Всегда новым шприцем"},
          {99, "Нет данных"}},
         QVariant()},
        {"nLastInjectWith",
         "Последняя инъекция была:",
         {{1, "Новым шприцем"},
          {2, "Использованным своим"},
          {3, "Использованным чужим"},
          {4, "Купленным с наркотиком"},
          {100, "Не принимаю ИН"},
          {99, "Нет данных"}},
         QVariant()},
        {"nUsingCondom",
         "Использовал(а) презерватив во время последнего полового акта?",
         {{1, "Да"}, {0, "Нет"}, {2, "Не живу половой жизнью"}, {99, "Нет данных"}},
         99},
        {"nLastSexualPart",
         "Последний половой партнер:",
         {{1, "Постоянный"}, {0, "Непостоянный"}, {2, "Не живу пол. ж."}, {99, "Нет данных"}},
         99},
    };
    auto* grid = new QGridLayout(this);
    int n = 0;
    for (const Spec& s : specs) {
        Question q;
        q.column = QString::fromLatin1(s.column);
        q.fallback = s.fallback;
        QGroupBox* box = ChoiceBox(this, ctx, s.title, s.column, s.choices, &q.buttons);
        grid->addWidget(box, n / 2, n % 2);
        m_questions.append(q);
        ++n;
    }
    grid->setRowStretch(3, 1);
}

void CDClientsRiscSub::LoadValues(const QHash<QString, QString>& row) {
    for (const Question& q : m_questions)
        ShowRadioValue(q.buttons, row.value(q.column.toLower()));
}

CRuleVerdict CDClientsRiscSub::CollectValues(QList<QPair<QString, QVariant>>* values, QWidget**) {
    for (const Question& q : m_questions)
        values->append({q.column, RadioValue(q.buttons, this, q.column, q.fallback)});
    return CRuleVerdict();
}

// --- Social status ----------------------------------------------------------

CDClientsSocialSub::CDClientsSocialSub(QWidget* parent)
    : CDClientTabDynDyn(parent), m_otherText(new QLineEdit(this)), m_children(new QLineEdit(this)),
      m_police(nullptr), m_narco(nullptr) {
    const char* ctx = "CDClientsSocialSub::DoDataExchange";
    m_otherText->setObjectName(QStringLiteral("cOtherEployment"));
    m_otherText->setMaxLength(255);
    m_children->setObjectName(QStringLiteral("nChildCount"));
    m_children->setValidator(nullptr);
    m_children->setMaxLength(3);
    m_police = new QCheckBox(ClientTabText("Состоит на учете в милиции", ctx), this);
    m_police->setObjectName(QStringLiteral("bRegPolice"));
    m_narco = new QCheckBox(ClientTabText("Состоит на учете в наркодиспансере", ctx), this);
    m_narco->setObjectName(QStringLiteral("bNarcoDisp"));

    Group employment{QStringLiteral("nEploymentStatus"), {}};
    QGroupBox* employmentBox = ChoiceBox(this, ctx, "Трудоустройство/Занятость", "nEploymentStatus",
                                         {{1, "Постоянная работа"},
                                          {2, "Временная работа"},
                                          {3, "Студент"},
                                          {4, "Безработный"},
                                          {5, "Коммерческий секс"},
                                          {6, "Другое"},
                                          {99, "Нет данных"}},
                                         &employment.buttons);
    employmentBox->layout()->addWidget(m_otherText);
    for (const auto& [b, v] : employment.buttons) {
        if (v == 6)
            m_otherEmployment = b;
        connect(b, &QAbstractButton::toggled, this,
                [this] { m_otherText->setEnabled(m_otherEmployment->isChecked()); });
    }
    m_otherText->setEnabled(false);
    Group education{QStringLiteral("nEducationLevel"), {}};
    QGroupBox* educationBox = ChoiceBox(this, ctx, "Образование", "nEducationLevel",
                                        {{1, "Незаконченное"},
                                         {2, "Среднее"},
                                         {3, "Среднее специальное"},
                                         {4, "Незаконченное высшее"},
                                         {5, "Высшее"},
                                         {99, "Нет данных"}},
                                        &education.buttons);
    Group living{QStringLiteral("nPlaceOfLiving"), {}};
    QGroupBox* livingBox =
        ChoiceBox(this, ctx, "Место жительства", "nPlaceOfLiving",
                  {{2, "Город"}, {3, "ПГТ, село"}, {1, "Нет места жительства"}, {99, "Нет данных"}},
                  &living.buttons);
    Group legal{QStringLiteral("nLegalProblem"), {}};
    QGroupBox* legalBox = ChoiceBox(this, ctx, "Проблемы с законом", "nLegalProblem",
                                    {{1, "Несудимый"},
                                     {2, "Условно осужденный"},
                                     {3, "Пребывал в заключении"},
                                     {99, "Нет данных"}},
                                    &legal.buttons);
    m_groups = {employment, education, living, legal};

    auto* grid = new QGridLayout(this);
    grid->addWidget(employmentBox, 0, 0, 2, 1);
    grid->addWidget(educationBox, 0, 1);
    grid->addWidget(livingBox, 1, 1);
    grid->addWidget(legalBox, 2, 0);
    auto* other = new QFormLayout;
    other->addRow(ClientTabText("Количество детей:", ctx), m_children);
    other->addRow(m_police);
    other->addRow(m_narco);
    grid->addLayout(other, 2, 1);
    grid->setRowStretch(3, 1);
}

void CDClientsSocialSub::LoadValues(const QHash<QString, QString>& row) {
    for (const Group& g : m_groups)
        ShowRadioValue(g.buttons, row.value(g.column.toLower()));
    m_otherText->setText(row.value(QStringLiteral("cothereployment")));
    m_otherText->setEnabled(m_otherEmployment && m_otherEmployment->isChecked());
    m_children->setText(row.value(QStringLiteral("nchildcount")));
    m_police->setChecked(row.value(QStringLiteral("bregpolice")).toInt() != 0);
    m_narco->setChecked(row.value(QStringLiteral("bnarcodisp")).toInt() != 0);
}

CRuleVerdict CDClientsSocialSub::CollectValues(QList<QPair<QString, QVariant>>* values,
                                               QWidget** control) {
    const QString children = m_children->text().trimmed();
    bool ok = true;
    const int childCount = children.isEmpty() ? 0 : children.toInt(&ok);
    if (!ok || childCount < 0) {
        *control = m_children;
        return CRuleVerdict::Refuse(
            EClientField::None, QString(),
            ClientTabText("Ошибочное значение", "CDClientsSocialSub::DoDataExchange"));
    }
    for (const Group& g : m_groups)
        values->append({g.column, RadioValue(g.buttons, this, g.column, 99)});
    values->append({QStringLiteral("cOtherEployment"), m_otherText->text().trimmed()});
    values->append(
        {QStringLiteral("nChildCount"), children.isEmpty() ? QVariant() : QVariant(childCount)});
    values->append({QStringLiteral("bRegPolice"), m_police->isChecked() ? 1 : 0});
    values->append({QStringLiteral("bNarcoDisp"), m_narco->isChecked() ? 1 : 0});
    return CRuleVerdict();
}
