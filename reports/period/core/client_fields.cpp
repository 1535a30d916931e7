#include "client_fields.h"

#include "field_ids.h"
#include "field_support.h"
#include "framework/core/enums/yes_no.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/tarvik_app.h"
#include "model/enums/enums.h"
#include "model/options/kelda_options.h"
#include "reports/base/core/rep_base_data.h"

#include <algorithm>

using RepFieldSupport::ClientTable;
using RepFieldSupport::StateTable;
using RepFieldSupport::Tr;

namespace {
constexpr long kVolunteerBit = 8192;
constexpr unsigned kAttributeFlags = 0x7; // a row grouping, a detail column

QString ErrorText(const char* context) {
    return CTarvikApp::TranslateString(QStringLiteral("Ошибка"), QString::fromLatin1(context));
}

CEnum2* EducationEnum() {
    return g_pEducationLevelEnum.Get();
}
CEnum2* EmploymentEnum() {
    return g_pEployment.Get();
}
CEnum2* FrequencyEnum() {
    return g_pUseFreqEnum.Get();
}
} // namespace

QString ClipClientCode(QString& code) {
    if (g_pOption_RepParam->m_ClipClientCode.Get()) {
        const qsizetype quote = code.lastIndexOf(u'`');
        if (quote >= 0)
            code.truncate(quote);
    }
    return code;
}

// ---- client code ----

CRF_ClientCode::CRF_ClientCode()
    : CRepFieldBase(kRFClientCode, "cGClientCode", "Код клиента", "msgClientCode", 0x14, "cl") {}

void CRF_ClientCode::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(ClientTable(select, run) + QStringLiteral(".cGClientCode"));
}

void CRF_ClientCode::AddGroup(CSimpleSelect& select, CRepBaseData* run) {
    select.Group(ClientTable(select, run) + QStringLiteral(".cGClientCode"));
}

void CRF_ClientCode::OnNewRow() {
    m_text = ColumnText();
    ClipClientCode(m_text);
}

QString CRF_ClientCode::GetDetValue() {
    Refresh();
    return m_text;
}

// ---- coded attributes ----

QString CRF_CodedField::SelectItem(const QString& state) {
    return state + u'.' + m_fieldName;
}

QString CRF_CodedField::SourceTable(CSimpleSelect& select, CRepBaseData* run) {
    return StateTable(select, run);
}

void CRF_CodedField::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(SelectItem(SourceTable(select, run)));
}

QString CRF_ClientAttribute::SourceTable(CSimpleSelect& select, CRepBaseData* run) {
    return ClientTable(select, run);
}

CRF_Sex::CRF_Sex()
    : CRF_ClientAttribute(kRFSex, "nSex", "Пол", "msgSex", kAttributeFlags, "cent") {}

void CRF_Sex::OnNewRow() {
    m_code = ColumnLong();
    m_text = g_pSex->IDToString(m_code, Tr("Ошибка", "msgError"));
}

CRF_PDI::CRF_PDI()
    : CRF_ClientAttribute(kRFPDI, "bPDI", "Клиент проекта PDI", "msgPDI", kAttributeFlags, "cent") {
}

void CRF_PDI::OnNewRow() {
    m_code = ColumnLong();
    m_text = m_code == 0 ? Tr("Не клиент PDI", "msgNotPDI") : Tr("Клиент проекта PDI", "msgPDI");
}

CRF_Volonter::CRF_Volonter()
    : CRF_CodedField(kRFVolonter, "bVolonter", "Волонтер", "msgVolonter", kAttributeFlags, "cent") {
}

QString CRF_Volonter::SelectItem(const QString& state) {
    return QStringLiteral("(%1.nClientType2&%2) AS bVolonter").arg(state).arg(kVolunteerBit);
}

void CRF_Volonter::OnNewRow() {
    m_code = ColumnLong() != 0 ? 1 : 0;
    m_text = m_code ? Tr("Волонтер", "msgVolonter") : Tr("Не волонтер", "msgNotVolonter");
}

CRF_Second::CRF_Second()
    : CRF_ClientAttribute(kRFSecond, "bSecondary", "Вторичного обмена", "msgSecondary",
                          kAttributeFlags, "cent") {}

void CRF_Second::OnNewRow() {
    m_code = ColumnLong() != 0 ? 1 : 0;
    m_text = m_code ? Tr("Вторичного обмена", "msgSecondaryType")
                    : Tr("Не вторичного обмена", "msgNotSecondaryType");
}

// ---- vulnerable groups ----

CRF_RiskGroup::CRF_RiskGroup()
    : CRF_RiskGroup(kRFRiskGroup, "nClientType", "Основная уязвимая группа на конец периода",
                    "msgMainRiskGroup", 0x10017) {}

CRF_RiskGroup::CRF_RiskGroup(long id, const char* fieldName, const char* title, const char* key,
                             unsigned flags)
    : CRF_CodedField(id, fieldName, title, key, flags, "cent") {}

void CRF_RiskGroup::AddGroup(CSimpleSelect& select, CRepBaseData* run) {
    select.Group(StateTable(select, run) + QStringLiteral(".nClientType"));
}

QString CRF_RiskGroup::GroupsText(long code, const char* errorContext) const {
    QString text;
    if (code != 0 && !g_pClientGroup->GetValueText(quint32(code), text))
        text = ErrorText(errorContext) + QStringLiteral(": ") + QString::number(code);
    if (text.isEmpty())
        text = Tr("Не заполнена", "msgNotFilled");
    return text;
}

void CRF_RiskGroup::OnNewRow() {
    m_code = ColumnLong();
    m_text = GroupsText(m_code, "CRF_RiskGroup::GetDetValue");
}

CRF_RiskGroup2::CRF_RiskGroup2()
    : CRF_RiskGroup(kRFRiskGroup2, "nClientType2",
                    "Дополнительная уязвимая группа на конец периода", "msgSecRiskGroup", 0x10007) {
}

QString CRF_RiskGroup2::SelectItem(const QString& state) {
    return QStringLiteral("(%1.nClientType2&%2) AS nClientType2").arg(state).arg(~kVolunteerBit);
}

void CRF_RiskGroup2::AddGroup(CSimpleSelect& select, CRepBaseData* run) {
    // Its own groups, not the main group's column.
    select.Group(
        QStringLiteral("(%1.nClientType2&%2)").arg(StateTable(select, run)).arg(~kVolunteerBit));
}

void CRF_RiskGroup2::OnNewRow() {
    m_code = ColumnLong();
    m_text = GroupsText(m_code, "CRF_RiskGroup::GetDetValue");
}

// ---- age group ----

CRF_AgeGroup::CRF_AgeGroup()
    : CRF_ClientAttribute(kRFAgeGroup, "nBirthYear", "Возрастная группа", "msgAgeGroup",
                          kAttributeFlags, "cent") {}

void CRF_AgeGroup::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    // Ages are those at the end of the period the query covers.
    m_year = run->To().isValid() ? run->To().year() : -1;
    CRF_CodedField::AddSelect(select, run);
}

void CRF_AgeGroup::OnNewRow() {
    const long age = m_year - ColumnLong();
    m_code = m_groups.GetAgeGroup(age);
    m_text = m_groups.GetGroupNameFromAge(age);
}

// ---- enumerated attributes ----

CRF_EnumField::CRF_EnumField(long id, const char* fieldName, const char* title, const char* key,
                             CEnum2* (*enumeration)())
    : CRF_CodedField(id, fieldName, title, key, kAttributeFlags, "cent"), m_enum(enumeration) {}

void CRF_EnumField::OnNewRow() {
    m_code = ColumnLong();
    int found = 0;
    m_text = m_enum()->IDToString(m_code, QString(), &found);
    if (!found) {
        m_code = -1;
        m_text = Tr("Нет данных", "msgNotData");
    }
}

CRF_EduLevel::CRF_EduLevel()
    : CRF_EnumField(kRFEduLevel, "nEducationLevel", "Образование", "msgEduLevel", &EducationEnum) {}

CRF_Employment::CRF_Employment()
    : CRF_EnumField(kRFEmployment, "nEploymentStatus", "Трудоустройство", "msgEployment",
                    &EmploymentEnum) {}

CRF_DrugFreq::CRF_DrugFreq()
    : CRF_EnumField(kRFDrugFreq, "nUseFrequency", "Частота употребления", "msgDrugFreq",
                    &FrequencyEnum) {}

// ---- drugs ----

CRF_DrugMain::CRF_DrugMain()
    : CRF_DrugMain(kRFDrugMain, "nMainDrug", "Основной наркотик", "msgMainDrug", "drmain",
                   "nBasicDrug") {}

CRF_DrugMain::CRF_DrugMain(long id, const char* fieldName, const char* title, const char* key,
                           const char* alias, const char* stateColumn)
    : CRF_CodedField(id, fieldName, title, key, kAttributeFlags, "cent"), m_alias(alias),
      m_stateColumn(stateColumn) {}

void CRF_DrugMain::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString alias = QString::fromLatin1(m_alias);
    select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS ") + alias,
                QStringLiteral("%1.ROWID=%2.%3 AND %1.nDirType=4")
                    .arg(alias, StateTable(select, run), QString::fromLatin1(m_stateColumn)));
    select.Select(alias + QStringLiteral(".nType AS ") + m_fieldName);
}

void CRF_DrugMain::OnNewRow() {
    m_code = std::max(0L, ColumnLong());
    if (m_code == 0) {
        m_text = Tr("Нет данных", "msgNoData");
        return;
    }
    m_text.clear();
    if (!g_pDrugsEnum->GetValueText(quint32(m_code), m_text))
        m_text =
            ErrorText("CRF_DrugMain::GetDetValue") + QStringLiteral(": ") + QString::number(m_code);
}

CRF_DrugSec::CRF_DrugSec()
    : CRF_DrugMain(kRFDrugSec, "nSecDrug", "Вторичный наркотик", "msgSecDrug", "dl2",
                   "nSecondaryDrug") {}
