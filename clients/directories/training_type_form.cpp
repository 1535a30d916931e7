#include "training_type_form.h"

#include "core/directory_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dxx.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
constexpr CxTr Tr("CDDirTrainig::DoDataExchange");
} // namespace

CDDirTrainig::CDDirTrainig(QWidget* parent) : CDDirItemForm(parent) {
    m_name = AddNameEdit(Tr("Тип мероприятия:"));
    m_description = AddDescriptionEdit(Tr("Описание:"));
    m_hidden = AddHiddenBox();
}

CxTable* CDDirTrainig::GetDXTable() const {
    return g_pTrainingsTable.GetPtr();
}

int CDDirTrainig::GetDirType() const {
    return DIR_TRAININGS;
}

void CDDirTrainig::DoDataExchange(CDXX& dx) {
    CxTable_Trainings* t = g_pTrainingsTable.GetPtr();
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    dx.DXCheck(m_hidden, t->m_bHidden);
    SetInfobarStringIcon(Tr("Тип мероприятия\nРедактирование справочника"), 1303);
}
