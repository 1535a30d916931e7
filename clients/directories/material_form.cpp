#include "material_form.h"

#include "core/directory_kinds.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "framework/widgets/forms/dxx.h"
#include "framework/widgets/forms/sql_combo_list.h"
#include "material_kind_pages.h"
#include "model/tables/table_set.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {
constexpr CxTr Tr("CDDirMat::DoDataExchange");

const QString& TypeField() {
    static const QString field = QStringLiteral("nType");
    return field;
}

// The kind of the code the record holds (None for NULL).
EMaterialKind StoredKind(const CDXX& dx) {
    return dx.FieldIsNull(TypeField())
               ? EMaterialKind::None
               : MaterialKindOfCode(long(dx.FieldText(TypeField()).trimmed().toLongLong()));
}
} // namespace

CDDirMat::CDDirMat(QWidget* parent) : CDDirItemForm(parent) {
    SetStateVariableName(QStringLiteral("Material"));
    m_name = AddNameEdit(Tr("Название материала или услуги:"));
    m_description = AddDescriptionEdit(Tr("Описание:"));
    m_donor = new CxSqlComboList(this);
    m_donor->setObjectName(QStringLiteral("nDonorID"));
    Fields()->addRow(Tr("Источник:"), m_donor);

    m_kindBox = new QGroupBox(Tr("Тип материала или услуги"), this);
    m_kindBox->setObjectName(QStringLiteral("kind"));
    auto* boxLayout = new QVBoxLayout(m_kindBox);
    auto* radios = new QWidget(m_kindBox);
    auto* grid = new QGridLayout(radios);
    grid->setContentsMargins(0, 0, 0, 0);
    // The kinds as the dialog has always laid them out, three to a row.
    const EMaterialKind shown[] = {
        EMaterialKind::Syringes, EMaterialKind::Needles,       EMaterialKind::Medicines,
        EMaterialKind::Other,    EMaterialKind::Services,      EMaterialKind::Booklets,
        EMaterialKind::Returned, EMaterialKind::Consultations, EMaterialKind::Condoms};
    for (int i = 0; i < int(std::size(shown)); ++i) {
        const CMaterialKindDef* def = MaterialKind(shown[i]);
        auto* button = new QRadioButton(Tr(def->caption), radios);
        button->setObjectName(QStringLiteral("kind_") + QLatin1String(def->name));
        connect(button, &QRadioButton::clicked, this, &CDDirMat::OnKindChange);
        m_kinds.append({button, shown[i]});
        grid->addWidget(button, i / 3, i % 3);
    }
    boxLayout->addWidget(radios);
    m_pages = new QStackedWidget(m_kindBox);
    m_pages->setObjectName(QStringLiteral("kindPages"));
    m_pages->addWidget(new QWidget(m_pages)); // no kind chosen
    boxLayout->addWidget(m_pages, 1);
    Fields()->addRow(m_kindBox);
    m_hidden = AddHiddenBox();
}

CxTable* CDDirMat::GetDXTable() const {
    return g_pMaterialsTable.GetPtr();
}

int CDDirMat::GetDirType() const {
    return DIR_MATERIALS;
}

EMaterialKind CDDirMat::ChosenKind() const {
    // Consulted in the kinds' order; the buttons exclude each other.
    for (const CMaterialKindDef& def : MaterialKinds())
        for (const auto& [button, kind] : m_kinds)
            if (kind == def.kind && button->isChecked())
                return kind;
    return EMaterialKind::None;
}

void CDDirMat::OnKindChange() {
    const EMaterialKind kind = ChosenKind();
    CDDirMatBase* page = m_made.value(int(kind));
    if (!page && kind != EMaterialKind::None) {
        page = CreateMaterialKindPage(kind, m_pages);
        page->SetDXRecord(this);
        m_made.insert(int(kind), page);
        m_pages->addWidget(page);
        page->UpdateData(false);
        WatchChanges(page);
    }
    if (page == m_page)
        return;
    // Only the page shown takes part in a save.
    if (m_page)
        UnregisterChildForm(m_page);
    m_page = page;
    if (page) {
        RegisterChildForm(page);
        m_pages->setCurrentWidget(page);
    } else {
        m_pages->setCurrentIndex(0);
    }
}

void CDDirMat::DoDataExchange(CDXX& dx) {
    CxTable_Materials* t = g_pMaterialsTable.GetPtr();
    if (dx.IsLoad() && !m_donor->GetTable())
        m_donor->SetControlInfo(g_pDonorsTable.GetPtr());
    dx.DirType(g_pDirTable->m_nDirType, GetDirType());
    dx.DX(m_name, t->m_cString, DXF_REQUIRED).SetACC(QStringLiteral("mycompletes"));
    dx.DX(m_description, t->m_cDescription).SetACC(QStringLiteral("mycompletes"));
    m_donor->DX(dx, t->m_nDonorID);
    if (dx.IsLoad()) {
        // An existing row opens on its kind; a new row, or one whose code has
        // no kind, on none.
        const EMaterialKind kind =
            GetDXEditMode() == EA_EDIT ? StoredKind(dx) : EMaterialKind::None;
        for (const auto& [button, k] : m_kinds) {
            button->setAutoExclusive(false);
            button->setChecked(k == kind);
            button->setAutoExclusive(true);
        }
        OnKindChange();
    } else if (GetDXEditMode() != EA_DELETE && !dx.Failed()) {
        const EMaterialKind kind = ChosenKind();
        if (kind == EMaterialKind::None) {
            dx.Fail(m_kinds.first().first, Tr("Необходимо указать тип материала или услуги"));
            return;
        }
        // A change of kind empties the columns of the kind the item leaves
        // and of the one it enters (its page showed them empty); the page
        // writes its own after this. Every other column stays.
        for (const QString& column : MaterialColumnsToClear(StoredKind(dx), kind))
            if (!dx.FieldIsNull(column))
                dx.Record()->SetFieldNull(column);
    }
    dx.DXCheck(m_hidden, t->m_bHidden);
    SetInfobarStringIcon(Tr("Материалы и услуги\nРедактирование справочника материалов и услуг"),
                         1266);
}

bool CDDirMat::OnApply() {
    if (GetDXEditMode() != EA_DELETE && m_page && GetDXRecord()) {
        const CDXRecordSQL* record = GetDXRecord();
        const long code = record->IsFieldNull(TypeField()) ? -1 : record->LFieldValue(TypeField());
        if (MaterialKindOfCode(code) != m_page->Kind())
            return Fail(m_page->CodeControl(), Tr("Выберите один из вариантов группы «%1».")
                                                   .arg(Tr(MaterialKind(m_page->Kind())->caption)));
    }
    return CDDirItemForm::OnApply();
}
