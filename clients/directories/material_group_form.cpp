#include "material_group_form.h"

#include "core/directory_kinds.h"
#include "core/material_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/grid/grid_ctrl.h"
#include "model/enums/material_type.h"
#include "model/tables/table_set.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {
constexpr CxTr Tr("CDDirMatGroup::DoDataExchange");

const QString& SetField() {
    static const QString field = QStringLiteral("cOtherInfo");
    return field;
}

constexpr int kChosenColumn = 1;
} // namespace

CDDirMatGroup::CDDirMatGroup(QWidget* parent) : CDDirItemForm(parent) {
    SetStateVariableName(QStringLiteral("MaterialGroup"));
    m_name = AddNameEdit(Tr("Название материала или услуги:"));
    m_description = AddDescriptionEdit(Tr("Описание:"));
    m_problem = new QLabel(this);
    m_problem->setObjectName(QStringLiteral("problem"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: #b00000"));
    m_problem->hide();
    Fields()->addRow(m_problem);
    Fields()->addRow(new QLabel(Tr("Типы материалов, которые входя в группу:"), this));
    m_grid = new CGridCtrl(this);
    m_grid->setObjectName(QStringLiteral("types"));
    m_grid->setMinimumHeight(m_grid->verticalHeader()->defaultSectionSize() * 12);
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Fields()->addRow(m_grid);
    GrowFields();
    connect(m_grid, &CGridCtrl::itemChanged, this, [this] { SetModified(true); });
}

CxTable* CDDirMatGroup::GetDXTable() const {
    return g_pMatGroupsTable.GetPtr();
}

int CDDirMatGroup::GetDirType() const {
    return DIR_MATGROUPS;
}

void CDDirMatGroup::DoDataExchange(CDXX& dx) {
    CxTable_MatGroups* t = g_pMatGroupsTable.GetPtr();
    dx.DX(m_name, t->m_cString).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    const xMaterialType* types = g_pMaterialType.Get();
    if (dx.IsLoad()) {
        m_grid->Begin();
        m_grid->RegisterColumn(Tr("Тип материала или услуги"), 300);
        m_grid->RegisterColumn(Tr("Выбрать"), 150);
        m_grid->End();
        m_grid->GetColumnDef(0)->SetReadOnly();
        m_grid->GetColumnDef(kChosenColumn)
            ->SetRuntimeClass(&CxInplacedCheck::staticMetaObject)
            .SetRemoveInactive(false);
        CStringVars& set = m_stored;
        m_unsaveable.clear();
        if (!set.Unpack(dx.FieldText(SetField())))
            m_unsaveable =
                Tr("Список типов материалов группы «%1» не удалось прочитать: сохранённый "
                   "текст повреждён. Чтобы не потерять этот список, группа не сохраняется; её "
                   "можно удалить и составить заново.")
                    .arg(dx.FieldText(QStringLiteral("cString")));
        m_problem->setText(m_unsaveable);
        m_problem->setVisible(!m_unsaveable.isEmpty());
        if (!m_unsaveable.isEmpty())
            CTarvikApp::AddErrorMessage(m_unsaveable);
        // The material types in the enumeration's order.
        m_codes.clear();
        POSITION pos = types->InitScan_sEnum2();
        while (types->ScanNext_sEnum2(pos)) {
            const sMaterialType* item = types->Current(pos);
            if (!IsMaterialGroupMember(item->GetCode()))
                continue;
            const int row = int(m_codes.size());
            m_codes << item->GetCode();
            m_grid->SetItemText(row, 0, item->GetText());
            m_grid->SetItemText(row, kChosenColumn,
                                set.GetVar(QString::number(item->GetCode())) ? QStringLiteral("1")
                                                                             : QStringLiteral("0"));
        }
        m_grid->SetItemCount(int(m_codes.size()));
    } else if (!dx.Failed() && GetDXEditMode() != EA_DELETE) {
        if (!m_unsaveable.isEmpty()) {
            dx.Fail(m_grid, m_unsaveable);
            return;
        }
        // The new set holds what the grid shows ticked, nothing else.
        CStringVars set;
        for (int row = 0; row < m_codes.size(); ++row)
            if (m_grid->GetItemText(row, kChosenColumn).trimmed().toLongLong() != 0)
                set.SetVar(QString::number(m_codes[row]), QStringLiteral("1"));
        // An unchanged set keeps its stored text (an empty one stays NULL).
        if (GetDXEditMode() != EA_EDIT || !(set == m_stored))
            dx.StoreValue(SetField(), set.Pack(), false);
    }
    SetInfobarStringIcon(Tr("Группы материалов\nРедактирование справочника групп материалов"),
                         1296);
}
