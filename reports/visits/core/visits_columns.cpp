#include "visits_columns.h"

#include "framework/core/report/rep_doc.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/enums/behaviour_enums.h"
#include "model/enums/client_enums.h"
#include "model/enums/directory_enums.h"
#include "model/options/kelda_options.h"
#include "visits_age_groups.h"
#include "visits_run_data.h"

namespace {
constexpr CxTr Tr;

const QString kFast = QStringLiteral("_cache_fast");
const QString kClients = QStringLiteral("_cache_clients");

// Ends the build on the error page: a list the column needs could not be read.
[[noreturn]] void ThrowFailed(const CxResult& result, const QString& statement) {
    throw CRepError{QStringLiteral("<p>") + SafeHTML(result.Error().text) +
                    QStringLiteral("</p><pre>") + SafeHTML(statement) + QStringLiteral("</pre>")};
}

bool JoinClients(CSimpleSelect& select) {
    return select.Join(QString(), kClients,
                       kClients + QStringLiteral(".nClientID=") + kFast +
                           QStringLiteral(".nClientID"));
}
} // namespace

QString VisitsNumberCell(double value) {
    return DoubleToString(value, QStringLiteral("%f"), kDoubleTrimZeros | kDoubleTrimPoint,
                          QStringLiteral("&nbsp;"));
}

// ---- the base ----

QString Cxrp::GetUniqueTerm() {
    const QString field = GetResultField();
    return field.isEmpty() ? QString() : QStringLiteral("IFNULL(") + field + QStringLiteral(",0)");
}

bool Cxrp::PreQuery(int, CSimpleSelect&, CRepVisitsRunData*) {
    return true;
}

void Cxrp::Bind(CxResult* result) {
    m_result = result;
    const qint64 fetch = result ? result->GetFetchID() : -1;
    for (Cache* cache : {&m_valueCache, &m_groupCache}) {
        cache->pos = -1;
        cache->name.clear();
        cache->value = -1;
        cache->fetch = fetch;
    }
}

QString Cxrp::ClipAtBackQuote(const QString& text) {
    const qsizetype at = text.lastIndexOf(u'`');
    return at < 0 ? text : text.left(at);
}

int Cxrp::Position(Cache& cache, const QString& name) {
    if (!m_result)
        return -1;
    if (cache.name != name || cache.pos < 0) {
        cache.name = name;
        cache.pos = m_result->FieldPos(name, 1);
    }
    return cache.pos;
}

QString Cxrp::GetFieldText(const QString& name) {
    const int pos = Position(m_valueCache, name);
    if (pos < 0 || !m_result->isFetched())
        return QString();
    return m_result->SFieldValue(pos);
}

long Cxrp::ReadLong(Cache& cache, const QString& name) {
    if (!m_result)
        return -1;
    const int pos = Position(cache, name);
    if (m_result->GetFetchID() != cache.fetch || cache.name != name) {
        cache.value = pos < 0 || !m_result->isFetched() ? 0 : m_result->LFieldValue(pos);
        cache.fetch = m_result->GetFetchID();
    }
    return cache.value;
}

long Cxrp::GetFieldLong(const QString& name) {
    return ReadLong(m_valueCache, name);
}

long Cxrp::GetGroupFieldLong(const QString& name) {
    return ReadLong(m_groupCache, name);
}

// ---- the descriptors ----

namespace {
constexpr CxrpJoin kJoinClients{"", "_cache_clients",
                                "_cache_clients.nClientID=_cache_fast.nClientID"};
// The state tables of the client, by the client's row.
constexpr CxrpJoin kJoinStateByClient{"LEFT", "{T}", "{T}.nClientID=_cache_clients.nClientID"};
constexpr CxrpJoin kJoinStateByVisit{"LEFT", "{T}", "{T}.nClientID=_cache_fast.nClientID"};
// The point of the first visit is joined under an alias of its own: the
// visit's point (town and region columns) is another row of the same table.
constexpr CxrpJoin kJoinFirstPlace{"LEFT", "dir AS FirstPlace",
                                   "FirstPlace.ROWID=_cache_clients.nWorkPlace"};
constexpr long kDetailGroup = kKindDetail | kKindGroup;

// The texts of codes and answers.
QString SexText(long code, bool summary) {
    return g_pSex->IDToString(code, summary ? Tr("Ошибка", "CxrpSex::GetSumTitle")
                                            : Tr("Ошибка", "CxrpSex::GetDetValue"));
}

QString ClientGroupText(long code, bool) {
    QString text;
    g_pClientGroup->GetValueText(quint32(code), text);
    return text;
}

QString EducationText(long code, bool) {
    return g_pEducationLevelEnum->IDToString(code, Tr("Нет данных", "msgNoData"));
}

QString EmploymentText(long code, bool) {
    return g_pEployment->IDToString(code, Tr("Нет данных", "msgNoData"));
}

QString LivingPlaceText(long code, bool) {
    return g_pLivingPlaceEnum->IDToString(code, Tr("Нет данных", "msgNoData"));
}

QString DrugText(long code, bool summary) {
    return g_pDrugsEnum->IDToString(code, summary ? Tr("Не заполнено", "CxrpDrugType::GetSumTitle")
                                                  : QString());
}

QString DrugFrequencyText(long code, bool summary) {
    return g_pUseFreqEnum->IDToString(
        code, summary ? Tr("Не употребляют/нет данных", "CxrpDrugFreq::GetSumTitle") : QString());
}

QString PointTypeText(long code, bool summary) {
    return g_pNodeType->IDToString(code, summary ? Tr("Ошибка", "CxrpFirstPOUType::GetSumTitle")
                                                 : Tr("Ошибка", "CxrpFirstPOUType::GetDetValue"));
}

QString PdiAnswer(bool yes) {
    return yes ? Tr("Клиент PDI", "CxrpPDI::GetSumTitle") : Tr("Не PDI", "CxrpPDI::GetSumTitle");
}

QString SecondaryAnswer(bool yes) {
    return yes ? Tr("Вторичного обмена", "CxrpSecondary::GetSumTitle")
               : Tr("Первичного обмена", "CxrpSecondary::GetSumTitle");
}

QString VolunteerAnswer(bool yes) {
    return yes ? Tr("Волонтер", "msgRasporstranitel") : Tr("Не волонтер", "msgNeRasprostr");
}

QString YearText(long year, bool) {
    return QString::number(year);
}

const CxrpDescriptor kClientIDColumn{
    .id = kColNone,
    .kind = kKindDetail,
    .cellClass = "cl",
    .title = "Код клиента",
    .titleKey = "CxrpClientID::GetTitle",
    .detailItems = {"_cache_clients.cGClientCode"},
    .joins = {kJoinClients},
    .read = CxrpRead::kText,
    .field = "cGClientCode",
};
const CxrpDescriptor kClientOLDIDColumn{
    .id = kColOldClientID,
    .kind = kKindDetail,
    .cellClass = "cl",
    .title = "Старый код клиента",
    .titleKey = "msgOldClientCode",
    .detailItems = {"_cache_clients.cOClientCode"},
    .joins = {kJoinClients},
    .read = CxrpRead::kText,
    .field = "cOClientCode",
    .format = CxrpFormat::kClipped,
};
const CxrpDescriptor kCommentColumn{
    .id = kColComment,
    .kind = kKindDetail,
    .title = "Комментарии из карточки клиента",
    .titleKey = "msgCommentFromClientCard",
    .items = {"clientdata.cComment"},
    .joins = {CxrpJoin{"", "clientdata", "clientdata.ROWID=_cache_fast.nClientID"}},
    .detailOnly = true,
    .read = CxrpRead::kText,
    .field = "cComment",
    .format = CxrpFormat::kLines,
};
const CxrpDescriptor kFirstVisitDateColumn{
    .id = kColFirstVisitDate,
    .kind = kKindDetail,
    .title = "Дата первого визита (за период)",
    .titleKey = "CxrpFirstVisitDate::GetTitle",
    .items = {"dFirstDate"},
    // The daily report of that visit, for the cell's link: the lowest report
    // of the client on that date, as the client table chose it.
    .detailItems = {"(SELECT MIN(ff.nReportID) FROM _cache_fast AS ff WHERE "
                    "ff.nClientID=_cache_clients.nClientID AND "
                    "ff.dDate=_cache_clients.dFirstDate) AS nFirstReportID"},
    .joins = {kJoinClients},
    .read = CxrpRead::kText,
    .field = "dFirstDate",
};
const CxrpDescriptor kSexColumn{
    .id = kColSex,
    .kind = kDetailGroup,
    .title = "Пол клиента",
    .titleKey = "CxrpSex::GetTitle",
    .items = {"_cache_clients.nSex"},
    .joins = {kJoinClients},
    .resultField = "nSex",
    .read = CxrpRead::kCode,
    .field = "nSex",
    .codeText = SexText,
};
const CxrpDescriptor kRiscGroupColumn{
    .id = kColRiskGroup,
    .kind = kDetailGroup,
    .title = "Уязвимая группа",
    .titleKey = "msgRiskGroup",
    .state = CxrpState::kClientType,
    .items = {"{T}.nClientType"},
    .joins = {kJoinStateByClient, kJoinClients},
    .resultField = "nClientType",
    .read = CxrpRead::kCode,
    .field = "nClientType",
    .codeText = ClientGroupText,
};
const CxrpDescriptor kEducationLevelColumn{
    .id = kColEducation,
    .kind = kDetailGroup,
    .title = "Образование",
    .titleKey = "msgnEducationLevel",
    .state = CxrpState::kSocial,
    .items = {"{T}.nEducationLevel"},
    .joins = {kJoinStateByClient, kJoinClients},
    .resultField = "nEducationLevel",
    .read = CxrpRead::kCode,
    .field = "nEducationLevel",
    .codeText = EducationText,
};
const CxrpDescriptor kEploymentStatusColumn{
    .id = kColEmployment,
    .kind = kDetailGroup,
    .title = "Трудоустройство",
    .titleKey = "msgEploymentStatus",
    .state = CxrpState::kSocial,
    .items = {"{T}.nEploymentStatus"},
    .joins = {kJoinStateByClient, kJoinClients},
    .resultField = "nEploymentStatus",
    .read = CxrpRead::kCode,
    .field = "nEploymentStatus",
    .codeText = EmploymentText,
};
const CxrpDescriptor kPlaceOfLivingColumn{
    .id = kColPlaceOfLiving,
    .kind = kDetailGroup,
    .title = "Место жительства",
    .titleKey = "msgnLivingPlace",
    .state = CxrpState::kSocial,
    .items = {"{T}.nPlaceOfLiving"},
    .joins = {kJoinStateByClient, kJoinClients},
    .resultField = "nPlaceOfLiving",
    .read = CxrpRead::kCode,
    .field = "nPlaceOfLiving",
    .codeText = LivingPlaceText,
};
const CxrpDescriptor kDrugTypeColumn{
    .id = kColDrugType,
    .kind = kDetailGroup,
    .title = "Наркотик. Основной (тип на конец периода)",
    .titleKey = "CxrpDrugType::GetTitle",
    .state = CxrpState::kDrugUse,
    .items = {"DrugDir.nType AS nDrugType"},
    .joins = {kJoinStateByVisit, CxrpJoin{"LEFT", "dir AS DrugDir",
                                          "DrugDir.ROWID={T}.nBasicDrug AND DrugDir.nDirType=4"}},
    .resultField = "nDrugType",
    .read = CxrpRead::kCode,
    .field = "nDrugType",
    .codeText = DrugText,
};
const CxrpDescriptor kDrugFreqColumn{
    .id = kColDrugFreq,
    .kind = kDetailGroup,
    .title = "Наркотик. Частота употребления (тип на конец периода)",
    .titleKey = "CxrpDrugFreq::GetTitle",
    .state = CxrpState::kDrugUse,
    .items = {"{T}.nUseFrequency AS nDrugUseFreq"},
    .joins = {kJoinStateByVisit},
    .resultField = "nDrugUseFreq",
    .read = CxrpRead::kCode,
    .field = "nDrugUseFreq",
    .codeText = DrugFrequencyText,
};
const CxrpDescriptor kFirstPOUColumn{
    .id = kColFirstPOU,
    .kind = kDetailGroup,
    .title = "Первый ПОУ (за период): название маршрута",
    .titleKey = "CxrpFirstPOU::GetTitle",
    .items = {"_cache_clients.nWorkPlace AS nFirstWorkPlace", "FirstPlace.cString AS cWorkPlace"},
    .joins = {kJoinClients, kJoinFirstPlace},
    .resultField = "nFirstWorkPlace",
    .read = CxrpRead::kText,
    .field = "cWorkPlace",
    .groupField = "nFirstWorkPlace",
    .format = CxrpFormat::kClipped,
};
const CxrpDescriptor kFirstPOUTypeColumn{
    .id = kColFirstPOUType,
    .kind = kDetailGroup,
    .title = "Первый ПОУ (за период): тип маршрута",
    .titleKey = "CxrpFirstPOUType::GetTitle",
    .items = {"FirstPlace.nType AS nWorkPlaceType"},
    .joins = {kJoinClients, kJoinFirstPlace},
    .resultField = "nWorkPlaceType",
    .read = CxrpRead::kCode,
    .field = "nWorkPlaceType",
    .groupField = "nWorkPlaceType",
    .codeText = PointTypeText,
};
const CxrpDescriptor kPDIColumn{
    .id = kColPDI,
    .kind = kDetailGroup,
    .title = "Клиент PDI",
    .titleKey = "CxrpPDI::GetTitle",
    .items = {"_cache_clients.bPDI"},
    .joins = {kJoinClients},
    .resultField = "bPDI",
    .read = CxrpRead::kFlag,
    .field = "bPDI",
    .yesKey = "CxrpPDI::GetDetValue",
    .answerText = PdiAnswer,
};
const CxrpDescriptor kSecondaryColumn{
    .id = kColSecondary,
    .kind = kDetailGroup,
    .title = "Клиент: Вторичного обмена",
    .titleKey = "CxrpSecondary::GetTitle",
    .detailItems = {"_cache_clients.bSecondary"},
    .summaryItems = {"IF(_cache_clients.bSecondary, COUNT(DISTINCT _cache_fast.nClientID),0) AS "
                     "bSecondary"},
    .joins = {kJoinClients},
    .resultField = "bSecondary",
    .read = CxrpRead::kFlag,
    .field = "bSecondary",
    .yesKey = "CxrpSecondary::GetDetValue",
    .answerText = SecondaryAnswer,
};
// The field holds the bit as selected (0 or 8192); the line is 0 or 1.
const CxrpDescriptor kReselerColumn{
    .id = kColVolunteer,
    .kind = kDetailGroup,
    .title = "Клиент: Волонтер",
    .titleKey = "CxrpReseler::GetTitle",
    .state = CxrpState::kClientType,
    .items = {"{T}.nClientType2&8192 AS bRasp"},
    .joins = {kJoinStateByClient, kJoinClients},
    .resultField = "bRasp",
    .read = CxrpRead::kFlag,
    .field = "bRasp",
    .mask = 8192,
    .yesKey = "CxrpReseler::GetDetValue",
    .answerText = VolunteerAnswer,
};
const CxrpDescriptor kRegionColumn{
    .id = kColRegion,
    .kind = kDetailGroup,
    .title = "Организация, к которой привязан клиент",
    .titleKey = "CxrpRegion::GetTitle",
    .items = {"orginf.cOrgID AS cOrganization", "_cache_clients.nRegionDataID"},
    .joins = {kJoinClients,
              CxrpJoin{"LEFT", "orginf", "orginf.ROWID=_cache_clients.nRegionDataID"}},
    .resultField = "nRegionDataID",
    .read = CxrpRead::kText,
    .field = "cOrganization",
    .groupField = "nRegionDataID",
};
const CxrpDescriptor kVisitYearColumn{
    .id = kColVisitYear,
    .kind = kKindGroup,
    .title = "Год",
    .titleKey = "msgYear",
    .items = {"YEAR(_cache_fast.dDate) AS nYear"},
    .read = CxrpRead::kCode,
    .field = "nYear",
    .codeText = YearText,
};
const CxrpDescriptor kClientsColumn{
    .id = kColClients,
    .kind = kKindValue,
    .cellClass = "num",
    .title = "Клиентов",
    .titleKey = "msgClientsR",
    .items = {"COUNT(DISTINCT _cache_fast.nClientID ) AS nClients"},
    .field = "nClients",
};
const CxrpDescriptor kClientsUniqColumn{
    .id = kColClientsUniq,
    .kind = kKindValue,
    .cellClass = "num",
    .title = "Уникальных клиентов",
    .titleKey = "msgClientsUniqR",
};
const CxrpDescriptor kVisitsColumn{
    .id = kColVisits,
    .kind = kKindDetail | kKindValue,
    .cellClass = "num",
    .title = "Визитов",
    .titleKey = "msgVisitsR",
    .items = {"COUNT(DISTINCT _cache_fast.nClientID,_cache_fast.nReportID) AS nVisits"},
    .field = "nVisits",
};
} // namespace

CxrpClientID::CxrpClientID() : CxrpDescribed(kClientIDColumn) {}
CxrpClientOLDID::CxrpClientOLDID() : CxrpDescribed(kClientOLDIDColumn) {}
CxrpComment::CxrpComment() : CxrpDescribed(kCommentColumn) {}
CxrpFirstVisitDate::CxrpFirstVisitDate() : CxrpDescribed(kFirstVisitDateColumn) {}
CxrpSex::CxrpSex() : CxrpDescribed(kSexColumn) {}
CxrpRiscGroup::CxrpRiscGroup() : CxrpDescribed(kRiscGroupColumn) {}
CxrpEducationLevel::CxrpEducationLevel() : CxrpDescribed(kEducationLevelColumn) {}
CxrpEploymentStatus::CxrpEploymentStatus() : CxrpDescribed(kEploymentStatusColumn) {}
CxrpPlaceOfLiving::CxrpPlaceOfLiving() : CxrpDescribed(kPlaceOfLivingColumn) {}
CxrpDrugType::CxrpDrugType() : CxrpDescribed(kDrugTypeColumn) {}
CxrpDrugFreq::CxrpDrugFreq() : CxrpDescribed(kDrugFreqColumn) {}
CxrpFirstPOU::CxrpFirstPOU() : CxrpDescribed(kFirstPOUColumn) {}
CxrpFirstPOUType::CxrpFirstPOUType() : CxrpDescribed(kFirstPOUTypeColumn) {}
CxrpPDI::CxrpPDI() : CxrpDescribed(kPDIColumn) {}
CxrpSecondary::CxrpSecondary() : CxrpDescribed(kSecondaryColumn) {}
CxrpReseler::CxrpReseler() : CxrpDescribed(kReselerColumn) {}
CxrpRegion::CxrpRegion() : CxrpDescribed(kRegionColumn) {}
CxrpVisitYear::CxrpVisitYear() : CxrpDescribed(kVisitYearColumn) {}
CxrpClients::CxrpClients() : CxrpDescribed(kClientsColumn) {}
CxrpClientsUniq::CxrpClientsUniq() : CxrpDescribed(kClientsUniqColumn) {}
CxrpVisits::CxrpVisits() : CxrpDescribed(kVisitsColumn) {}

// ---- a column over its descriptor ----

QString CxrpDescribed::GetTitle() {
    return Tr(m_d.title, m_d.titleKey);
}

bool CxrpDescribed::AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) {
    m_run = run;
    if (m_d.detailOnly && !detail)
        return true;
    QString state;
    switch (m_d.state) {
    case CxrpState::kNone:
        break;
    case CxrpState::kClientType:
        state = run->GetClientTypeStateTable();
        break;
    case CxrpState::kSocial:
        state = run->GetSocialStateTable();
        break;
    case CxrpState::kDrugUse:
        state = run->GetDrugUseStateTable();
        break;
    }
    const auto text = [&state](const char* sql) {
        return QString::fromLatin1(sql).replace(QLatin1String("{T}"), state);
    };
    const auto add = [&](const auto& items) {
        for (const char* item : items)
            if (item)
                select.Select(text(item));
    };
    add(m_d.items);
    add(detail ? m_d.detailItems : m_d.summaryItems);
    for (const CxrpJoin& join : m_d.joins)
        if (join.table &&
            !select.Join(QString::fromLatin1(join.kind), text(join.table), text(join.condition)))
            return false;
    return true;
}

bool CxrpDescribed::IsSet() {
    const long value = FieldLong();
    return m_d.mask ? (value & m_d.mask) != 0 : value != 0;
}

QString CxrpDescribed::GetUniqueTerm() {
    if (m_d.read != CxrpRead::kFlag)
        return Cxrp::GetUniqueTerm();
    const QString field = QString::fromLatin1(m_d.field);
    return m_d.mask ? QStringLiteral("IF(IFNULL(%1,0)&%2,1,0)").arg(field).arg(m_d.mask)
                    : QStringLiteral("IF(IFNULL(%1,0)>0,1,0)").arg(field);
}

QString CxrpDescribed::GetDetValue() {
    if (!(m_d.kind & kKindDetail))
        return QString();
    switch (m_d.read) {
    case CxrpRead::kCode:
        return SafeHTML(m_d.codeText(FieldLong(), false));
    case CxrpRead::kFlag:
        return IsSet() ? SafeHTML(Tr("Да", m_d.yesKey)) : QString();
    case CxrpRead::kCount:
        return VisitsNumberCell(GetValue());
    case CxrpRead::kText:
        break;
    }
    QString text = FieldText();
    if (m_d.format == CxrpFormat::kClipped && m_run && m_run->ClipCodes())
        text = ClipAtBackQuote(text);
    return SafeHTML(text, m_d.format == CxrpFormat::kLines ? kSafeHTMLBreaks : 0);
}

double CxrpDescribed::GetValue() {
    if (m_d.read == CxrpRead::kFlag)
        return m_d.mask ? (IsSet() ? 1.0 : 0.0) : double(FieldLong());
    if (m_d.read == CxrpRead::kCount && m_d.field)
        return double(FieldLong());
    return 0.0;
}

QString CxrpDescribed::GetSumTitle() {
    if (!(m_d.kind & kKindGroup))
        return QString();
    switch (m_d.read) {
    case CxrpRead::kCode:
        return m_d.codeText(FieldLong(), true);
    case CxrpRead::kFlag:
        return m_d.answerText(IsSet());
    case CxrpRead::kText:
        return FieldText();
    case CxrpRead::kCount:
        break;
    }
    return QString();
}

long CxrpDescribed::GetGroupID() {
    if (!(m_d.kind & kKindGroup))
        return -1;
    if (m_d.groupField)
        return GetGroupFieldLong(QString::fromLatin1(m_d.groupField));
    switch (m_d.read) {
    case CxrpRead::kCode:
        return FieldLong();
    case CxrpRead::kFlag:
        return m_d.mask ? (IsSet() ? 1 : 0) : (FieldLong() > 0 ? 1 : 0);
    case CxrpRead::kText:
    case CxrpRead::kCount:
        break;
    }
    return -1;
}

// ---- the client's code and the first visit: cells with links ----

QString CxrpClientID::GetDetValue() {
    QString code = FieldText();
    if (g_pOption_RepParam->m_ClipClientCode.Get())
        code = ClipAtBackQuote(code);
    const long id = GetGroupFieldLong(QStringLiteral("nClientID"));
    if (id <= 0)
        return SafeHTML(code);
    return QStringLiteral("<a href=\"sqledit:CDClients:%1:2055\">").arg(id) + SafeHTML(code) +
           QStringLiteral("</a>");
}

QString CxrpFirstVisitDate::GetDetValue() {
    const QDate date = QDate::fromString(FieldText(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        return SafeHTML(Tr("Ошибка", "CxrpFirstVisitDate::GetDetValue"));
    const QString text = SafeHTML(DateToText(date));
    const long report = GetGroupFieldLong(QStringLiteral("nFirstReportID"));
    if (report <= 0)
        return text;
    return QStringLiteral("<a href=\"sqledit:CDDiary:%1:2055\">").arg(report) + text +
           QStringLiteral("</a>");
}

// ---- ages ----

bool _CxrpAgeBase::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    m_run = run;
    select.Select(kClients + QStringLiteral(".nBirthYear"));
    return JoinClients(select);
}

QString _CxrpAgeBase::GetComment() {
    return Tr("Возраст на конец периода", "_CxrpAgeBase::GetComment");
}

long _CxrpAgeBase::Age() {
    const int endYear = m_run ? m_run->To().year() : QDate::currentDate().year();
    const long age = endYear - GetFieldLong(QStringLiteral("nBirthYear"));
    return age < 0 ? 0 : age;
}

QString CxrpAge2::GetTitle() {
    return Tr("Возраст клиента (лет)", "CxrpAge2::GetTitle");
}

QString CxrpAge2::GetDetValue() {
    const long age = Age();
    return age < 100 ? QString::number(age) : QStringLiteral("-");
}

QString CxrpAge2::GetSumTitle() {
    return Tr("Ошибка", "CxrpAge2::GetSumTitle");
}

CxrpAgeGroup::CxrpAgeGroup() {
    FillConfiguredAgeGroups(m_groups);
}

QString CxrpAgeGroup::GetTitle() {
    return Tr("Возрастная группа", "CxrpAgeGroup::GetTitle");
}

QString CxrpAgeGroup::GetDetValue() {
    return SafeHTML(m_groups.GetGroupNameFromAge(Age()));
}

QString CxrpAgeGroup::GetSumTitle() {
    return m_groups.GetGroupNameFromAge(Age());
}

long CxrpAgeGroup::GetGroupID() {
    return m_groups.GetAgeGroup(Age());
}

CxrpAgeGroup2::CxrpAgeGroup2() {
    m_groups = CAgeGroups();
    FillFixedAgeGroups(m_groups);
}

QString CxrpAgeGroup2::GetTitle() {
    return Tr("Возрастная группа 2", "CxrpAgeGroup2::GetTitle");
}

// ---- the visit's service point, town and region ----

QString CxrpPOSH::GetTitle() {
    return Tr("Пункт оказания услуг*", "msgPosh");
}

bool CxrpPOSH::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(kClients + QStringLiteral(".cGClientCode"));
    select.Select(QStringLiteral("Posh.cString AS cPoshName"));
    select.Select(QStringLiteral("Posh.ROWID AS nPoshID"));
    select.Group(kFast + QStringLiteral(".nWorkPlace"));
    return JoinClients(select) &&
           select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS Posh"),
                       QStringLiteral("Posh.ROWID=") + kFast + QStringLiteral(".nWorkPlace"));
}

// The repeat mark compares each row with the one before it in the order the
// rows are read, computed by a window over that same order (user variables
// have no guaranteed order of evaluation within a statement).
bool CxrpPOSH::PreQuery(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Order(QStringLiteral("nPoshID"));
    select.Select(QStringLiteral("IF(LAG(nClientID) OVER (ORDER BY ") +
                  select.GetOrder().join(u',') + QStringLiteral(")<=>nClientID,1,0) AS nAgrFix"));
    return true;
}

bool CxrpPOSH::IsRepeatRow() {
    CxResult* result = GetResult();
    return result && result->LFieldValue(QStringLiteral("nAgrFix")) != 0;
}

QString CxrpPOSH::GetDetValue() {
    return SafeHTML(GetFieldText(QStringLiteral("cPoshName")));
}

QString CxrpPOSH::GetSumTitle() {
    return GetFieldText(QStringLiteral("cPoshName"));
}

QString CxrpTOWN::GetTitle() {
    return Tr("Город оказания услуг", "msgPOUTown");
}

bool CxrpTOWN::AddPlaceJoin(CSimpleSelect& select) {
    select.Select(QStringLiteral("WorkPlace.nTown AS nTownID"));
    select.Group(kFast + QStringLiteral(".nWorkPlace"));
    return select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS WorkPlace"),
                       QStringLiteral("WorkPlace.ROWID=") + kFast + QStringLiteral(".nWorkPlace"));
}

// The towns are read at every build: the column lives as long as the report
// window, and a town added or renamed meanwhile must not show as "Ошибка" or
// under its old name.
bool CxrpTOWN::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString sql = QStringLiteral("SELECT t1.* FROM towns as t1 LEFT JOIN towns as t2 on "
                                       "t1.rowid=t2.ngroupid where isnull(t2.rowid)");
    CxResult rows = run->GetSQL()->Execute(sql);
    if (!rows.isValid())
        ThrowFailed(rows, sql);
    m_towns.clear();
    m_towns.reserve(int(rows.RowsCount()));
    while (rows.FetchRow())
        m_towns.insert(rows.LFieldValue(QStringLiteral("ROWID")),
                       rows.SFieldValue(QStringLiteral("cShortName")));
    return AddPlaceJoin(select);
}

QString CxrpTOWN::GetSumTitle() {
    const auto it = m_towns.constFind(GetFieldLong(QStringLiteral("nTownID")));
    return it != m_towns.cend() ? it.value() : Tr("Ошибка", "CxrpTOWN::GetSumTitle");
}

long CxrpTOWN::GetGroupID() {
    const long town = GetFieldLong(QStringLiteral("nTownID"));
    return m_towns.contains(town) ? town : -1;
}

QString CxrpOBL::GetTitle() {
    return Tr("Область оказания услуг", "msgPOUObl");
}

QHash<long, long> CxrpOBL::RegionsOf(const QHash<long, long>& parents) {
    QHash<long, long> regions;
    regions.reserve(parents.size());
    for (auto it = parents.cbegin(); it != parents.cend(); ++it) {
        long current = it.key();
        long group = it.value();
        int steps = 0;
        bool failed = false;
        while (group != 0) {
            if (!parents.contains(group) || steps >= 10) {
                failed = true;
                break;
            }
            current = group;
            group = parents.value(group);
            ++steps;
        }
        regions.insert(it.key(), failed ? 0 : current);
    }
    return regions;
}

// Read at every build, as the towns.
bool CxrpOBL::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString sql = QStringLiteral("SELECT * FROM towns ORDER BY towns.cShortName");
    CxResult rows = run->GetSQL()->Execute(sql);
    if (!rows.isValid())
        ThrowFailed(rows, sql);
    QHash<long, long> parents;
    parents.reserve(int(rows.RowsCount()));
    m_regionNames.clear();
    while (rows.FetchRow()) {
        const long id = rows.LFieldValue(QStringLiteral("ROWID"));
        const long group = rows.LFieldValue(QStringLiteral("nGroupID"));
        parents.insert(id, group);
        if (group == 0)
            m_regionNames.insert(id, rows.SFieldValue(QStringLiteral("cShortName")));
    }
    m_townRegion = RegionsOf(parents);
    return AddPlaceJoin(select);
}

long CxrpOBL::GetGroupID() {
    const auto it = m_townRegion.constFind(GetFieldLong(QStringLiteral("nTownID")));
    return it != m_townRegion.cend() ? it.value() : -1;
}

QString CxrpOBL::GetSumTitle() {
    const auto it = m_regionNames.constFind(GetGroupID());
    return it != m_regionNames.cend() ? it.value() : Tr("Ошибка", "CxrpOBL::GetSumTitle");
}

// ---- materials, months ----

bool CxrpMat::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    m_alias = QStringLiteral("SUM_m%1x").arg(quint32(m_type));
    select.Select(QStringLiteral("SUM(IF(") + kFast + QStringLiteral(".nType=") +
                  QString::number(m_type) + u',' + kFast + QStringLiteral(".nCount,0)) AS ") +
                  m_alias);
    return true;
}

QString CxrpMat::GetDetValue() {
    return VisitsNumberCell(GetValue());
}

bool CxrpMonth::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    const int y = m_month.year();
    const int m = m_month.month();
    m_alias = QStringLiteral("SUM_d%1x_%2x").arg(m).arg(y);
    select.Select(QStringLiteral("COUNT( DISTINCT IF(YEAR(") + kFast +
                  QStringLiteral(".dDate)=%1 AND MONTH(").arg(y) + kFast +
                  QStringLiteral(".dDate)=%1,CONCAT(").arg(m) + kFast +
                  QStringLiteral(".nClientID,' ',") + kFast +
                  QStringLiteral(".nReportID),NULL)) AS ") + m_alias);
    return true;
}

QString CxrpMonth::GetDetValue() {
    return VisitsNumberCell(GetValue());
}

QString CxrpMonth::GetComment() {
    return Tr("Количество визитов за месяц", "msgVisitsCountPerMonth");
}
