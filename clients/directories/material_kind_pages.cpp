#include "material_kind_pages.h"

#include "framework/core/tarvik_app.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/dxx.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const char kContext[] = "CDDirMat::DoDataExchange";
const char kNType[] = "nType";

// The current language's lists of the configuration.
xConfiguration::xLanguage* Language() {
    auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig());
    return config ? config->GetCurrentLanguage() : nullptr;
}

// Buttons in two columns, filled down the first column first.
QGridLayout* TwoColumns(QWidget* box, const QList<QAbstractButton*>& buttons) {
    auto* grid = new QGridLayout(box);
    const int rows = int(buttons.size() + 1) / 2;
    for (int i = 0; i < buttons.size(); ++i)
        grid->addWidget(buttons[i], i % rows, i / rows);
    grid->setColumnStretch(2, 1);
    return grid;
}
} // namespace

CDDirMatBase::CDDirMatBase(EMaterialKind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    if (const CMaterialKindDef* def = MaterialKind(kind))
        setObjectName(QStringLiteral("page_") + QLatin1String(def->name));
}

QString CDDirMatBase::Tr(const char* text) const {
    return CTarvikApp::TranslateString(QString::fromUtf8(text), QString::fromLatin1(kContext), 1);
}

bool CDDirMatBase::HoldsStoredKind(const CDXX& dx) const {
    const QString typeField = QString::fromLatin1(kNType);
    return !dx.FieldIsNull(typeField) &&
           MaterialKindOfCode(long(dx.FieldText(typeField).trimmed().toLongLong())) == m_kind;
}

void CDDirMatBase::StoreKindCode(CDXX& dx, long chosenCode) const {
    const QString typeField = QString::fromLatin1(kNType);
    const long stored =
        dx.FieldIsNull(typeField) ? -1 : long(dx.FieldText(typeField).trimmed().toLongLong());
    const long code = MaterialCodeOnSave(m_kind, stored, chosenCode);
    if (code != -1)
        dx.StoreValue(typeField, QString::number(code), true);
}

void CDDirMatBase::ClearControls() {
    for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
        const bool exclusive = b->autoExclusive();
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(exclusive);
    }
    for (QLineEdit* e : findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(e->parentWidget()))
            e->clear();
    for (CxComboList* c : findChildren<CxComboList*>())
        c->setCurrentIndex(0);
}

// --- kinds with a subtype per button ---

CDDirMatChoice::CDDirMatChoice(EMaterialKind kind, QWidget* parent) : CDDirMatBase(kind, parent) {
    const CMaterialKindDef* def = MaterialKind(kind);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* box = new QGroupBox(Tr(def->caption), this);
    QList<QAbstractButton*> buttons;
    for (const CMaterialCodeChoice& c : def->choices) {
        auto* button = new QRadioButton(Tr(c.text), box);
        button->setObjectName(QStringLiteral("nType_%1").arg(c.code));
        m_buttons.append({button, c.code});
        buttons << button;
    }
    TwoColumns(box, buttons);
    layout->addWidget(box);
    layout->addStretch(1);
}

QWidget* CDDirMatChoice::CodeControl() {
    return m_buttons.isEmpty() ? static_cast<QWidget*>(this) : m_buttons.first().first;
}

void CDDirMatChoice::DoDataExchange(CDXX& dx) {
    // A code of another kind checks none of the buttons; a code of this kind
    // without a button of its own stays as stored until one is chosen.
    CDXXRadioGroup group = dx.DXRadioGroup(g_pMaterialsTable->m_nType, DXF_REQUIRED);
    for (const auto& [button, code] : m_buttons)
        group.DXButton(button, code);
    group.End();
}

// --- booklets ---

CDDirMatBook::CDDirMatBook(QWidget* parent) : CDDirMatBase(EMaterialKind::Booklets, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* audience = new QGroupBox(Tr("Целевая аудитория"), this);
    QList<QAbstractButton*> boxes;
    for (const auto& [bit, text] : {std::pair<long, const char*>{1, "ПИН"},
                                    {2, "РКС"},
                                    {4, "ЛЖВС"},
                                    {8, "МСМ"},
                                    {16, "Общее население"},
                                    {32, "ВИЧ-сервисные организации"},
                                    {64, "Заключенные"},
                                    {256, "Дети улиц"},
                                    {512, "ТБ"}}) {
        auto* box = new QCheckBox(Tr(text), audience);
        box->setObjectName(QStringLiteral("nAuditory_%1").arg(bit));
        m_audience.append({box, bit});
        boxes << box;
    }
    TwoColumns(audience, boxes);
    layout->addWidget(audience);

    auto* row = new QHBoxLayout;
    auto* pubType = new QGroupBox(Tr("Тип публикации"), this);
    auto* pubLayout = new QVBoxLayout(pubType);
    for (const auto& [value, text] : {std::pair<long, const char*>{1, "Периодическое издание"},
                                      {2, "Тематическое издание"},
                                      {3, "Справочники"}}) {
        auto* button = new QRadioButton(Tr(text), pubType);
        button->setObjectName(QStringLiteral("nPubType_%1").arg(value));
        m_pubType.append({button, value});
        pubLayout->addWidget(button);
    }
    row->addWidget(pubType);
    auto* circulation = new QFormLayout;
    m_circulation = new QLineEdit(this);
    m_circulation->setObjectName(QStringLiteral("nCircul"));
    m_circulation->setValidator(new QIntValidator(0, 2147483647, m_circulation));
    m_circulation->setMaximumWidth(m_circulation->fontMetrics().horizontalAdvance(u'0') * 14);
    circulation->addRow(Tr("Тираж"), m_circulation);
    row->addLayout(circulation);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addStretch(1);
}

void CDDirMatBook::DoDataExchange(CDXX& dx) {
    if (dx.IsLoad() && !HoldsStoredKind(dx)) {
        ClearControls();
        return;
    }
    if (dx.IsSave())
        StoreKindCode(dx);
    CxTable_Materials* t = g_pMaterialsTable.GetPtr();
    CDXXCheckGroup audience = dx.DXCheckGroup(t->m_nAuditory, DXF_REQUIRED);
    for (const auto& [box, bit] : m_audience)
        audience.DXButton(box, bit);
    audience.End();
    CDXXRadioGroup pubType = dx.DXRadioGroup(t->m_nPubType, DXF_REQUIRED);
    for (const auto& [button, value] : m_pubType)
        pubType.DXButton(button, value);
    pubType.End();
    dx.DX(m_circulation, t->m_nCircul);
}

// --- services ---

CDDirMatServ::CDDirMatServ(QWidget* parent) : CDDirMatBase(EMaterialKind::Services, parent) {
    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_type = new CxComboList(this);
    m_type->setObjectName(QStringLiteral("nConfigGroup"));
    // The services keep the configuration's order.
    m_type->DisableSort();
    layout->addRow(Tr("Тип услуги"), m_type);
}

void CDDirMatServ::DoDataExchange(CDXX& dx) {
    if (dx.IsLoad() && m_type->count() == 0)
        if (auto* language = Language())
            m_type->SetEnum(&language->Services);
    if (dx.IsLoad() && !HoldsStoredKind(dx)) {
        ClearControls();
        return;
    }
    if (dx.IsSave())
        StoreKindCode(dx);
    m_type->DX(dx, g_pMaterialsTable->m_nConfigGroup, DXF_REQUIRED);
}

// --- consultations ---

CDDirMatConsult::CDDirMatConsult(QWidget* parent)
    : CDDirMatBase(EMaterialKind::Consultations, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* flags = new QGroupBox(Tr("Параметры, предоставляемые вашей организацией"), this);
    auto* flagsLayout = new QVBoxLayout(flags);
    for (const auto& [bit, text] :
         {std::pair<long, const char*>{1, "Учёт по коду"},
          {2, "Предоставлена консультация/тестирование (внутри проекта)"},
          {4, "Направлен на консультацию/тестирование/лечение"},
          {8, "Получил консультацию/прошёл тестирование (по направлению)"},
          {16, "Выявлено положительный результат (для тестирования)"},
          {32, "Получил лечение (внутри проекта)"},
          {64, "Получил лечение (по направлению)"}}) {
        auto* box = new QCheckBox(Tr(text), flags);
        box->setObjectName(QStringLiteral("nSpecFlags_%1").arg(bit));
        if (bit == 2)
            box->setToolTip(CTarvikApp::TranslateString(
                QStringLiteral("Предоставлено внутри проекта"), QStringLiteral("msgInProject"), 1));
        m_flags.append({box, bit});
        flagsLayout->addWidget(box);
    }
    layout->addWidget(flags);
    auto* form = new QFormLayout;
    m_category = new CxComboList(this);
    m_category->setObjectName(QStringLiteral("nConfigGroup"));
    form->addRow(Tr("Категория консультации или тестирования:"), m_category);
    layout->addLayout(form);
    layout->addStretch(1);
}

void CDDirMatConsult::DoDataExchange(CDXX& dx) {
    if (dx.IsLoad() && m_category->count() == 0)
        if (auto* language = Language())
            m_category->SetEnum(&language->DirectionAndConsulting);
    if (dx.IsLoad() && !HoldsStoredKind(dx)) {
        ClearControls();
        return;
    }
    CxTable_Materials* t = g_pMaterialsTable.GetPtr();
    CDXXCheckGroup flags = dx.DXCheckGroup(t->m_nSpecFlags, DXF_REQUIRED);
    for (const auto& [box, bit] : m_flags)
        flags.DXButton(box, bit);
    flags.End();
    m_category->DX(dx, t->m_nConfigGroup, DXF_REQUIRED);
    if (dx.IsSave())
        StoreKindCode(dx);
}

CDDirMatBase* CreateMaterialKindPage(EMaterialKind kind, QWidget* parent) {
    switch (kind) {
    case EMaterialKind::Syringes:
        return new CDDirMatSyr(parent);
    case EMaterialKind::Needles:
        return new CDDirMatNeedle(parent);
    case EMaterialKind::Booklets:
        return new CDDirMatBook(parent);
    case EMaterialKind::Other:
        return new CDDirMatOther(parent);
    case EMaterialKind::Services:
        return new CDDirMatServ(parent);
    case EMaterialKind::Returned:
        return new CDDirMatBack(parent);
    case EMaterialKind::Consultations:
        return new CDDirMatConsult(parent);
    case EMaterialKind::Medicines:
        return new CDDirMatMed(parent);
    case EMaterialKind::Condoms:
        return new CDDirMatPrez(parent);
    case EMaterialKind::None:
        break;
    }
    return nullptr;
}
