#include "drugs_form.h"

#include "core/directory_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dxx.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CDDirDrugs::DoDataExchange");

// The tool tip that the configuration's list TOOLTIPS gives an identifier.
QString ToolTip(const char* identifier) {
    auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig());
    if (!config)
        return QString();
    const sToolTips* item =
        config->GetCurrentLanguage()->ToolTips.FindIdentifier(QString::fromLatin1(identifier));
    return item ? item->GetText() : QString();
}

struct Choice {
    long value;
    const char* text;
    const char* tip;
};
} // namespace

CDDirDrugs::CDDirDrugs(QWidget* parent) : CDDirItemForm(parent) {
    m_name = AddNameEdit(Tr("Название наркотика:"));
    m_description = AddDescriptionEdit(Tr("Описание:"));
    const auto group = [&](const char* title, const char* name, bool checks,
                           std::initializer_list<Choice> choices, Buttons& buttons) {
        auto* box = new QGroupBox(Tr(title), this);
        box->setObjectName(QString::fromLatin1(name));
        auto* layout = new QVBoxLayout(box);
        for (const Choice& c : choices) {
            QAbstractButton* button =
                checks ? static_cast<QAbstractButton*>(new QCheckBox(Tr(c.text), box))
                       : new QRadioButton(Tr(c.text), box);
            button->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(c.value));
            button->setToolTip(ToolTip(c.tip));
            layout->addWidget(button);
            buttons.append({button, c.value});
        }
        return box;
    };
    auto* row = new QHBoxLayout;
    row->addWidget(group("Тип наркотика", "nType", false,
                         {{1, "Опиаты", "Opiate"},
                          {2, "Производные конопли", "Konoplya"},
                          {3, "Диссоциативные вещества", "Dissociative"},
                          {4, "Галлюциногены", "Halucinogen"},
                          {5, "Стимуляторы/амфетамины", "Stimulants"},
                          {6, "Транквилизаторы/барбитураты/седативы", "Tranquilizers"},
                          {7, "Другие вещества/больше одного вещества", "MultiDrug"}},
                         m_types));
    auto* right = new QVBoxLayout;
    right->addWidget(group("Способ употребления", "nUseType", true,
                           {{1, "Инъекции", "Injection"},
                            {2, "Перорально", "Oral"},
                            {4, "Интерназально", "Sniff"},
                            {8, "Курение/вдыхание", "Smoke"}},
                           m_routes));
    right->addWidget(group(
        "Способ производства", "nProdType", false,
        {{1, "Кустарный", "HomeMade"}, {2, "Фармацевтический", "Pharmaceutical"}}, m_production));
    right->addStretch(1);
    row->addLayout(right);
    Fields()->addRow(row);
}

CxTable* CDDirDrugs::GetDXTable() const {
    return g_pDrugListTable.GetPtr();
}

int CDDirDrugs::GetDirType() const {
    return DIR_DRUGS;
}

void CDDirDrugs::DoDataExchange(CDXX& dx) {
    CxTable_DrugList* t = g_pDrugListTable.GetPtr();
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    CDXXRadioGroup types = dx.DXRadioGroup(t->m_nType, DXF_REQUIRED);
    for (const auto& [button, value] : m_types)
        types.DXButton(button, value);
    types.End();
    CDXXCheckGroup routes = dx.DXCheckGroup(t->m_nUseType, DXF_REQUIRED);
    for (const auto& [box, bit] : m_routes)
        routes.DXButton(box, bit);
    routes.End();
    CDXXRadioGroup production = dx.DXRadioGroup(t->m_nProdType, DXF_REQUIRED);
    for (const auto& [button, value] : m_production)
        production.DXButton(button, value);
    production.End();
    SetInfobarStringIcon(
        Tr("Наркотические вещества\nРедактирование справочника наркотических веществ"), 1301);
}
