#include "count_fields.h"

#include "field_ids.h"
#include "field_support.h"
#include "framework/core/enums/yes_no.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/sql_result.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "reports/base/core/rep_base_data.h"

using RepFieldSupport::ClientTable;
using RepFieldSupport::InPeriod;
using RepFieldSupport::StateTable;
using RepFieldSupport::SummaryTable;
using RepFieldSupport::Tr;

namespace {
constexpr unsigned kMeasureFlags = 0x8;      // a summed column
constexpr unsigned kVisitsFlags = 0xC;       // a detail or summed column
constexpr unsigned kMarkFlags = 0x7;         // a row grouping, a detail column
constexpr long kPharmacy = 3;                // the service-point type of pharmacies
constexpr quint32 kKindMask = 0x0FFFFFFF;    // the group's id within a field's id
constexpr quint32 kClientsTag = 0xF0000000u; // the top bits that mark a clients field

// The service point of the summary row, and the client's first one.
void JoinPoint(CSimpleSelect& select, CRepBaseData* run) {
    select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS wrkpl"),
                QStringLiteral("wrkpl.ROWID=") + SummaryTable(run) +
                    QStringLiteral(".nWorkplace AND NOT wrkpl.bIsFolder AND wrkpl.nDirType=1"));
}
void JoinFirstPoint(CSimpleSelect& select, CRepBaseData* run) {
    select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS FirstWorkplace"),
                QStringLiteral("FirstWorkplace.ROWID=") + StateTable(select, run) +
                    QStringLiteral(".nFirstWorkplace AND NOT FirstWorkplace.bIsFolder AND "
                                   "FirstWorkplace.nDirType=1"));
}
} // namespace

// ---- clients ----

CRF_Clients::CRF_Clients()
    : CRF_Clients(kRFClients, "nClients", "Клиентов", "msgClientOne", 0, 0) {}

CRF_Clients::CRF_Clients(long id, const char* fieldName, const char* title, const char* key,
                         long kind, long sex)
    : CRepFieldBase(id, fieldName, title, key, kMeasureFlags, "num"), m_kind(kind), m_sex(sex) {}

CRF_ClientsProc::CRF_ClientsProc()
    : CRF_Clients(kRFClientsProc, "nClients", "Клиентов, %", "msgClientOneProc", kValuePercent, 0) {
}
CRF_ClientsMan::CRF_ClientsMan()
    : CRF_Clients(kRFClientsMan, "nClientsMan", "Мужчин", "msgClientMan", 0, 1) {}
CRF_ClientsWoman::CRF_ClientsWoman()
    : CRF_Clients(kRFClientsWoman, "nClientsWoman", "Женщин", "msgClientWoman", 0, 2) {}
CRF_ClientsTrans::CRF_ClientsTrans()
    : CRF_Clients(kRFClientsTrans, "nClientsTrans", "Трансгендеров", "msgClientTransgender", 0, 3) {
}

void CRF_Clients::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString s = SummaryTable(run);
    if (m_sex == 0)
        select.Select(QStringLiteral("COUNT(DISTINCT ") + s + QStringLiteral(".nClientID) AS ") +
                      m_fieldName);
    else
        select.Select(QStringLiteral("COUNT( DISTINCT IF(%1.nSex=%2,%3.nClientID,NULL)) AS %4")
                          .arg(ClientTable(select, run))
                          .arg(m_sex)
                          .arg(s, m_fieldName));
}

void CRF_Clients::AddGroup(CSimpleSelect& select, CRepBaseData* run) {
    select.Group(SummaryTable(run) + QStringLiteral(".nClientID"));
}

void CRF_Clients::OnNewRow() {
    m_value = ColumnLong();
}

double CRF_Clients::GetValue() {
    Refresh();
    return double(m_value);
}

// ---- unique persons ----

CRF_UniqClients::CRF_UniqClients()
    : CRF_UniqClients(kRFUniqClients, "Уникальных клиентов", "msgUniqClients", kValuePersonKey) {}

CRF_UniqClients::CRF_UniqClients(long id, const char* title, const char* key, long kind)
    : CRepFieldBase(id, "gROWID", title, key, kMeasureFlags, "num"), m_kind(kind) {}

CRF_UniqClientsProc::CRF_UniqClientsProc()
    : CRF_UniqClients(kRFUniqClientsProc, "Уникальных клиентов, %", "msgUniqClientsProc",
                      kValuePersonKey | kValuePercent) {}

void CRF_UniqClients::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString d = ClientTable(select, run);
    select.Select(d + QStringLiteral(".gROWID"));
    select.Select(d + QStringLiteral(".nBirthYear"));
    select.Select(d + QStringLiteral(".nSex"));
}

void CRF_UniqClients::Bind(CxResult* result) {
    CRepFieldBase::Bind(result);
    m_yearPos = ColumnPos(QStringLiteral("nBirthYear"));
    m_sexPos = ColumnPos(QStringLiteral("nSex"));
}

qint32 CRF_UniqClients::PersonKey(long gROWID, long birthYear, long sex) {
    const quint32 key = ((quint32(gROWID) * 300u) + quint32(birthYear - 1900)) * 11u + quint32(sex);
    return qint32(key);
}

double CRF_UniqClients::GetValue() {
    if (!IsNewRow())
        return double(m_key);
    long year = ColumnLong(m_yearPos);
    if (year >= 2200 || year < 1900) {
        year = 1900;
        if (!m_warned) {
            m_warned = true;
            CTarvikApp::AddErrorMessage(Tr("Ошибка в дате рождения.", "msgInvalidBirthYear"), 0);
        }
    }
    m_key = PersonKey(ColumnLong(), year, ColumnLong(m_sexPos));
    return double(m_key);
}

// ---- visits ----

CRF_Visits::CRF_Visits() : CRF_Visits(kRFVisits, "Визитов", "msgVisits", 0) {}

CRF_Visits::CRF_Visits(long id, const char* title, const char* key, long kind)
    : CRepFieldBase(id, "nVisits", title, key, kVisitsFlags, "num"), m_kind(kind) {}

CRF_VisitsProc::CRF_VisitsProc()
    : CRF_Visits(kRFVisitsProc, "Визитов, %", "msgVisitsProc", kValuePercent) {}

void CRF_Visits::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("SUM(") + SummaryTable(run) +
                  QStringLiteral(".nVisits) AS nVisits"));
}

void CRF_Visits::OnNewRow() {
    m_value = ColumnLong();
    m_text = QString::number(m_value);
}

double CRF_Visits::GetValue() {
    Refresh();
    return double(m_value);
}

QString CRF_Visits::GetDetValue() {
    Refresh();
    return m_text;
}

// ---- regular clients ----

CRF_RegClients::CRF_RegClients()
    : CRF_MarkField(kRFRegClients, "nRegVis", "Регулярный клиент", "msgRegClientOne", kMarkFlags,
                    "cent") {}

void CRF_RegClients::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("IF(ISNULL(") + run->PrepareRegularClients(&select) +
                  QStringLiteral(".nClientID),0,1) AS nRegVis"));
}

void CRF_RegClients::OnNewRow() {
    m_value = ColumnLong() != 0 ? 1 : 0;
}

QString CRF_RegClients::GetDetValue() {
    return GetGroupID() ? Tr("Да", "msgYes") : Tr("Нет", "msgNo");
}

QString CRF_RegClients::GetGroupText() {
    return GetGroupID() ? Tr("Регулярный клиент", "msgRegual") : Tr("Не регулярный", "msgNonReg");
}

// ---- new clients ----

CRF_NewClient::CRF_NewClient()
    : CRF_MarkField(kRFNewClient, "bNewClient", "Новый клиент", "msgNewClient", kMarkFlags,
                    "cent") {}

void CRF_NewClient::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("IF(") + InPeriod(StateTable(select, run) + ".dFirstDate", run) +
                  QStringLiteral(",1,0) AS bNewClient"));
}

void CRF_NewClient::OnNewRow() {
    m_value = ColumnLong() != 0 ? 1 : 0;
    m_text = m_value ? Tr("Новый клиент", "msgNewClient") : Tr("Старый клиент", "msgNotNewClient");
}

// ---- pharmacies ----

CRF_Apteka::CRF_Apteka()
    : CRF_Apteka(kRFApteka, "bApteka", "Клиент был охвачен аптекой", "msgAptekaVis") {}

CRF_Apteka::CRF_Apteka(long id, const char* fieldName, const char* title, const char* key)
    : CRF_MarkField(id, fieldName, title, key, kMarkFlags, "cent") {}

void CRF_Apteka::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("SUM(IF(wrkpl.nType=%1,1,0)) AS bApteka").arg(kPharmacy));
    JoinPoint(select, run);
}

void CRF_Apteka::OnNewRow() {
    m_value = ColumnLong() != 0 ? 1 : 0;
    m_text =
        m_value ? Tr("Охвачен аптекой", "msgOhvApteka") : Tr("Не охвачен аптекой", "msgNotApteka");
}

CRF_AptekaNew::CRF_AptekaNew()
    : CRF_Apteka(kRFAptekaNew, "bNewApteka", "Клиент впервые пришел из аптеки", "msgAptekaNew") {}

void CRF_AptekaNew::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString d = StateTable(select, run);
    select.Select(
        QStringLiteral("SUM(IF(wrkpl.nType=%1 AND ").arg(kPharmacy) +
        InPeriod(d + QStringLiteral(".dFirstDate"), run) +
        QStringLiteral(" AND  FirstWorkplace.nType=%1,1,0)) AS bNewApteka").arg(kPharmacy));
    JoinPoint(select, run);
    JoinFirstPoint(select, run);
}

void CRF_AptekaNew::OnNewRow() {
    m_value = ColumnLong() != 0 ? 1 : 0;
    m_text = m_value ? Tr("Пришел впервые в аптеку", "msgNewApteka")
                     : Tr("Пришел впервые не в аптеку", "msgNotNewApteka");
}

// ---- new clients of the PDI programme ----

CRF_PDINew::CRF_PDINew(long id, const char* fieldName, const char* title, const char* key,
                       long group)
    : CRF_MarkField(id, fieldName, title, key, kMarkFlags, "cent"), m_group(group) {}

CRF_PDIIDU_New::CRF_PDIIDU_New()
    : CRF_PDINew(kRFPDIIDUNew, "bPDIIDU", "Новый клиент проекта PDI (IDU)", "msgPDIIDU", 1) {}

CRF_PDIWCS_New::CRF_PDIWCS_New()
    : CRF_PDINew(kRFPDIWCSNew, "bPDIWCS", "Новый клиент проекта PDI (WCS)", "msgPDIWCS", 2) {}

void CRF_PDINew::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString d = StateTable(select, run);
    select.Select(QStringLiteral("IF(%1.bPDI AND %1.nClientType=%2 AND ").arg(d).arg(m_group) +
                  InPeriod(d + QStringLiteral(".dFirstDate"), run) + QStringLiteral(",1,0) AS ") +
                  m_fieldName);
}

void CRF_PDINew::OnNewRow() {
    m_value = ColumnLong();
    m_text = g_pYesNo->IDToString(m_value, Tr("Ошибка", "msgError"));
}

// ---- community centre ----

CRF_VirtKC::CRF_VirtKC()
    : CRepFieldBase(kRFVirtKC, "sum263148", "Услуги комьюнити-центра", "msgUslugiKC", kVisitsFlags,
                    "num") {}

void CRF_VirtKC::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(
        QStringLiteral("SUM(%1.`sum%2`) AS sum%2").arg(SummaryTable(run)).arg(kCommunityCode));
}

void CRF_VirtKC::OnNewRow() {
    m_value = ColumnLong();
    m_text = m_value ? QString::number(m_value) : QString();
}

double CRF_VirtKC::GetValue() {
    Refresh();
    return double(m_value);
}

QString CRF_VirtKC::GetDetValue() {
    Refresh();
    return m_text;
}

// ---- projects ----

CRF_Project::CRF_Project()
    : CRepFieldBase(kRFProject, "nProject", "Проект", "msgProject", 0x3, "num", "*") {}

void CRF_Project::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString column = SummaryTable(run) + QStringLiteral(".nProject");
    select.Select(column);
    select.Group(column);
}

void CRF_Project::OnNewRow() {
    m_bits = ColumnLong();
    m_text.clear();
    if (m_bits == 0)
        return;
    xConfiguration* config = CurrentConfiguration();
    xLanguage* language = config ? config->GetCurrentLanguage() : nullptr;
    const QString error = CTarvikApp::TranslateString(QStringLiteral("Ошибка"),
                                                      QStringLiteral("CRF_Project::GetDetValue"));
    m_text = language ? language->PrjList.IDToString(m_bits, error) : error;
}

double CRF_Project::GetValue() {
    Refresh();
    return double(m_bits);
}

QString CRF_Project::GetDetValue() {
    Refresh();
    return m_text;
}

long CRF_Project::GetGroupID() {
    Refresh();
    return m_bits;
}

// ---- configured material groups ----

CRF_Config::CRF_Config(long id, const QString& title) : m_id(id), m_title(title) {
    m_alias = CountsClients() ? QStringLiteral("cli%1").arg(m_id)
                              : QStringLiteral("sum%1").arg(GroupID());
}

bool CRF_Config::CountsClients() const {
    return (quint32(m_id) & kClientsTag) == quint32(kRFConfigClients);
}

long CRF_Config::GroupID() const {
    return long(quint32(m_id) & kKindMask);
}

void CRF_Config::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString s = SummaryTable(run);
    const QString column = s + u'.' + CRepBaseData::SumColumn(GroupID());
    if (CountsClients())
        select.Select(QStringLiteral("COUNT(DISTINCT IF(") + column + u',' +
                      StateTable(select, run) + QStringLiteral(".nClientID,NULL)) AS ") + m_alias);
    else
        select.Select(QStringLiteral("SUM(") + column + QStringLiteral(") AS ") + m_alias);
}

double CRF_Config::GetValue() {
    if (IsNewRow()) {
        m_value = ColumnLong();
        m_text = DoubleToString(double(m_value), QStringLiteral("%f"),
                                kDoubleTrimZeros | kDoubleTrimPoint, QStringLiteral(""));
    }
    return double(m_value);
}

QString CRF_Config::GetDetValue() {
    GetValue();
    return m_text;
}
