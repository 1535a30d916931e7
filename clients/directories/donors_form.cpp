#include "donors_form.h"

#include "core/directory_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/combo_list.h"
#include "framework/widgets/forms/dxx.h"
#include "model/config/configuration.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
constexpr CxTr Tr("CDDirDonors::DoDataExchange");
} // namespace

CDDirDonors::CDDirDonors(QWidget* parent) : CDDirItemForm(parent) {
    SetStateVariableName(QStringLiteral("Donors"));
    m_name = AddNameEdit(Tr("Название организации:"));
    m_group = new CxComboList(this);
    m_group->setObjectName(QStringLiteral("nConfigGroup"));
    Fields()->addRow(Tr("Группа из конфигурации:"), m_group);
    m_description = AddDescriptionEdit(Tr("Контактная информация:"));
    m_hidden = AddHiddenBox();
}

CxTable* CDDirDonors::GetDXTable() const {
    return g_pDonorsTable.GetPtr();
}

int CDDirDonors::GetDirType() const {
    return DIR_DONORS;
}

void CDDirDonors::DoDataExchange(CDXX& dx) {
    CxTable_Donors* t = g_pDonorsTable.GetPtr();
    if (dx.IsLoad() && m_group->count() == 0)
        if (auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig()))
            m_group->SetEnum(&config->GetCurrentLanguage()->Donors);
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString, DXF_REQUIRED);
    m_group->DX(dx, t->m_nConfigGroup, DXF_REQUIRED);
    dx.DX(m_description, t->m_cDescription);
    dx.DXCheck(m_hidden, t->m_bHidden);
    if (dx.IsLoad())
        SetInfobarStringIcon(Tr("Источники финансирования\nСписок организаций-доноров"), 1959);
}
