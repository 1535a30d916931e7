#include "workers_form.h"

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
constexpr CxTr Tr("CDDirWorkers::DoDataExchange");
} // namespace

CDDirWorkers::CDDirWorkers(QWidget* parent) : CDDirItemForm(parent) {
    SetStateVariableName(QStringLiteral("Workers"));
    m_name = AddNameEdit(Tr("Фамилия, имя и отчество:"));
    m_type = new CxComboList(this);
    m_type->setObjectName(QStringLiteral("nConfigGroup"));
    Fields()->addRow(Tr("Специализация:"), m_type);
    m_description = AddDescriptionEdit(Tr("Образование, контакты"));
    m_hidden = AddHiddenBox();
}

CxTable* CDDirWorkers::GetDXTable() const {
    return g_pWorkersTable.GetPtr();
}

QString CDDirWorkers::GetRecordCaption() const {
    return Tr("Персонал проекта");
}

int CDDirWorkers::GetDirType() const {
    return DIR_WORKERS;
}

void CDDirWorkers::DoDataExchange(CDXX& dx) {
    CxTable_Workers* t = g_pWorkersTable.GetPtr();
    if (dx.IsLoad() && m_type->count() == 0)
        if (auto* config = dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig()))
            m_type->SetEnum(&config->GetCurrentLanguage()->WorkerType);
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString, DXF_REQUIRED).SetACC(QStringLiteral("mycompletes"));
    m_type->DX(dx, t->m_nConfigGroup, DXF_REQUIRED);
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    dx.DXCheck(m_hidden, t->m_bHidden);
    SetInfobarStringIcon(Tr("Персонал проекта\nРедактирование справочника \"Персонал проекта\""),
                         1305);
}
