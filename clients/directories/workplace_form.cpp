#include "workplace_form.h"

#include "core/directory_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CDDirWorkPlace::DoDataExchange");
} // namespace

CDDirWorkPlace::CDDirWorkPlace(QWidget* parent) : CDDirItemForm(parent) {
    m_name = AddNameEdit(Tr("Пункт предоставления услуг"));
    m_description = AddDescriptionEdit(Tr("Описание и адрес"));
    m_town = new CxSqlComboList(this);
    m_town->setObjectName(QStringLiteral("nTown"));
    Fields()->addRow(Tr("Географическое расположение ПОУ:"), m_town);

    auto* group = new QGroupBox(Tr("Тип пункта предоставления услуг"), this);
    group->setObjectName(QStringLiteral("nType"));
    auto* grid = new QGridLayout(group);
    const auto radio = [&](long value, const char* text) {
        auto* button = new QRadioButton(Tr(text), group);
        button->setObjectName(QStringLiteral("nType_%1").arg(value));
        m_types.append({button, value});
        return button;
    };
    grid->addWidget(radio(8, "Уличный"), 0, 0);
    grid->addWidget(radio(1, "Мобильный"), 1, 0);
    grid->addWidget(radio(4, "Вторичного обмена"), 2, 0);
    // The fixed points share a box.
    auto* fixed = new QGroupBox(Tr("Стационарные"), group);
    auto* fixedLayout = new QVBoxLayout(fixed);
    for (const auto& [value, text] : {std::pair<long, const char*>{2, "Офис"},
                                      {3, "Аптечный пункт"},
                                      {5, "ТБ клиника"},
                                      {6, "Комьюнити-центр"},
                                      {7, "Колония"}})
        fixedLayout->addWidget(radio(value, text));
    grid->addWidget(fixed, 0, 1, 5, 1);
    grid->addWidget(radio(999, "Другие"), 3, 0);
    grid->setRowStretch(4, 1);
    Fields()->addRow(group);
    m_hidden = AddHiddenBox();
}

CxTable* CDDirWorkPlace::GetDXTable() const {
    return g_pWorkPlaceTable.GetPtr();
}

int CDDirWorkPlace::GetDirType() const {
    return DIR_WORKPLACE;
}

void CDDirWorkPlace::DoDataExchange(CDXX& dx) {
    CxTable_WorkPlace* t = g_pWorkPlaceTable.GetPtr();
    if (dx.IsLoad() && !m_town->GetTable())
        m_town->SetControlInfo(g_pTownsTable.GetPtr());
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString, DXF_REQUIRED).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    m_town->DX(dx, t->m_nTown, DXF_REQUIRED);
    CDXXRadioGroup types = dx.DXRadioGroup(t->m_nType, DXF_REQUIRED);
    for (const auto& [button, value] : m_types)
        types.DXButton(button, value);
    types.End();
    dx.DXCheck(m_hidden, t->m_bHidden);
    SetInfobarStringIcon(Tr("Пункты предоставления услуг\nРедактирование справочника пунктов "
                            "предоставления услуг"),
                         1297);
}
