#include "material_pack_form.h"

#include "core/directory_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/lists/list_sel_order.h"
#include "model/orgs/org_keys.h"
#include "model/tables/table_set.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>

namespace {
constexpr CxTr Tr("CDDirMatPack::DoDataExchange");

const QString& ListField() {
    static const QString field = QStringLiteral("cOtherInfo");
    return field;
}
} // namespace

CDDirMatPack::CDDirMatPack(QWidget* parent) : CDDirItemForm(parent) {
    SetStateVariableName(QStringLiteral("MaterialPack"));
    m_name = AddNameEdit(Tr("Название пакета материалов или услуг"));
    m_description = AddDescriptionEdit(Tr("Описание:"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problem->hide();
    Fields()->addRow(m_problem);
    auto* caption =
        new QLabel(Tr("Выберите материалы, которые будут загружаться в этот пакет:"), this);
    caption->setWordWrap(true);
    Fields()->addRow(caption);
    m_chooser = new CxListSelOrder(this);
    m_chooser->setObjectName(QStringLiteral("materials"));
    m_chooser->setMinimumHeight(m_chooser->fontMetrics().lineSpacing() * 14);
    m_chooser->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Fields()->addRow(m_chooser);
    GrowFields();
    // Ticking and moving materials are changes of the form.
    const auto changed = [this] { SetModified(true); };
    connect(m_chooser->Model(), &QAbstractItemModel::dataChanged, this, changed);
    connect(m_chooser->Model(), &QAbstractItemModel::rowsMoved, this, changed);
}

CxTable* CDDirMatPack::GetDXTable() const {
    return g_pMatPackTable.GetPtr();
}

int CDDirMatPack::GetDirType() const {
    return DIR_MATPACK;
}

void CDDirMatPack::DoDataExchange(CDXX& dx) {
    CxTable_MatPack* t = g_pMatPackTable.GetPtr();
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString, DXF_REQUIRED).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    if (dx.IsLoad()) {
        m_array.clear();
        m_unsaveable.clear();
        if (GetDXEditMode() == EA_EDIT && !m_array.LoadFromString(dx.FieldText(ListField())))
            m_unsaveable =
                Tr("Список материалов пакета «%1» не удалось прочитать: сохранённый текст "
                   "повреждён. Чтобы не потерять этот список, пакет не сохраняется; его можно "
                   "удалить и составить заново.")
                    .arg(dx.FieldText(QStringLiteral("cString")));
        m_stored = m_array;
        CDXRecordSQL* record = dx.Record();
        if (!LoadMaterialList(m_entries, m_array, record ? record->GetSQL() : nullptr) &&
            m_unsaveable.isEmpty())
            m_unsaveable = Tr("Не удалось загрузить список материалов. Пакет не сохраняется, "
                              "чтобы не потерять его состав; откройте его ещё раз.");
        m_problem->setText(m_unsaveable);
        m_problem->setVisible(!m_unsaveable.isEmpty());
        if (!m_unsaveable.isEmpty())
            CTarvikApp::AddErrorMessage(m_unsaveable);
    }
    SetInfobarStringIcon(
        Tr("Пакеты материалов и услуг\nРедактирование справочника пакетов материалов и услуг"),
        1296);
    m_chooser->DX(dx, &m_entries);
    if (dx.IsLoad() || dx.Failed() || GetDXEditMode() == EA_DELETE)
        return;
    if (!m_unsaveable.isEmpty()) {
        dx.Fail(m_chooser->View(), m_unsaveable);
        return;
    }
    // The ticked materials, in the chooser's order.
    m_array.clear();
    for (const CxListSelOrder_Struct& entry : m_entries)
        if (entry.selected)
            m_array.append(entry.id);
    // An unchanged list keeps its stored text (an empty one stays NULL).
    if (GetDXEditMode() != EA_EDIT || m_array != m_stored)
        dx.StoreValue(ListField(), m_array.SaveToString(), false);
}
