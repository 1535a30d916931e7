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

// ---- client code, old code, comment, first visit ----

QString CxrpClientID::GetTitle() {
    return Tr("Код клиента", "CxrpClientID::GetTitle");
}

bool CxrpClientID::AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData*) {
    if (detail)
        select.Select(kClients + QStringLiteral(".cGClientCode"));
    return JoinClients(select);
}

QString CxrpClientID::GetDetValue() {
    QString code = GetFieldText(QStringLiteral("cGClientCode"));
    if (g_pOption_RepParam->m_ClipClientCode.Get())
        code = ClipAtBackQuote(code);
    const long id = GetGroupFieldLong(QStringLiteral("nClientID"));
    if (id <= 0)
        return SafeHTML(code);
    return QStringLiteral("<a href=\"sqledit:CDClients:%1:2055\">").arg(id) + SafeHTML(code) +
           QStringLiteral("</a>");
}

QString CxrpClientOLDID::GetTitle() {
    return Tr("Старый код клиента", "msgOldClientCode");
}

bool CxrpClientOLDID::AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData* run) {
    m_run = run;
    if (detail)
        select.Select(kClients + QStringLiteral(".cOClientCode"));
    return JoinClients(select);
}

QString CxrpClientOLDID::GetDetValue() {
    QString code = GetFieldText(QStringLiteral("cOClientCode"));
    if (m_run && m_run->ClipCodes())
        code = ClipAtBackQuote(code);
    return SafeHTML(code);
}

QString CxrpComment::GetTitle() {
    return Tr("Комментарии из карточки клиента", "msgCommentFromClientCard");
}

bool CxrpComment::AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData*) {
    if (!detail)
        return true;
    select.Select(QStringLiteral("clientdata.cComment"));
    return select.Join(QString(), QStringLiteral("clientdata"),
                       QStringLiteral("clientdata.ROWID=") + kFast + QStringLiteral(".nClientID"));
}

QString CxrpComment::GetDetValue() {
    return SafeHTML(GetFieldText(QStringLiteral("cComment")), kSafeHTMLBreaks);
}

QString CxrpFirstVisitDate::GetTitle() {
    return Tr("Дата первого визита (за период)", "CxrpFirstVisitDate::GetTitle");
}

bool CxrpFirstVisitDate::AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(QStringLiteral("dFirstDate"));
    // The daily report of that visit, for the cell's link: the lowest report
    // of the client on that date, as the client table chose it.
    if (detail)
        select.Select(QStringLiteral("(SELECT MIN(ff.nReportID) FROM ") + kFast +
                      QStringLiteral(" AS ff WHERE ff.nClientID=") + kClients +
                      QStringLiteral(".nClientID AND ff.dDate=") + kClients +
                      QStringLiteral(".dFirstDate) AS nFirstReportID"));
    return JoinClients(select);
}

QString CxrpFirstVisitDate::GetDetValue() {
    const QDate date =
        QDate::fromString(GetFieldText(QStringLiteral("dFirstDate")), QStringLiteral("yyyy-MM-dd"));
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

// ---- coded columns ----

QString _CxrpCodeColumn::GetDetValue() {
    return SafeHTML(CodeText(GetFieldLong(m_field), false));
}

QString _CxrpCodeColumn::GetSumTitle() {
    return CodeText(GetFieldLong(m_field), true);
}

QString CxrpSex::GetTitle() {
    return Tr("Пол клиента", "CxrpSex::GetTitle");
}

bool CxrpSex::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(kClients + QStringLiteral(".nSex"));
    return JoinClients(select);
}

QString CxrpSex::CodeText(long code, bool summary) {
    return g_pSex->IDToString(code, summary ? Tr("Ошибка", "CxrpSex::GetSumTitle")
                                            : Tr("Ошибка", "CxrpSex::GetDetValue"));
}

QString CxrpRiscGroup::GetTitle() {
    return Tr("Уязвимая группа", "msgRiskGroup");
}

bool CxrpRiscGroup::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString t = run->GetClientTypeStateTable();
    select.Select(t + QStringLiteral(".nClientType"));
    return select.Join(QStringLiteral("LEFT"), t,
                       t + QStringLiteral(".nClientID=") + kClients +
                           QStringLiteral(".nClientID")) &&
           JoinClients(select);
}

QString CxrpRiscGroup::CodeText(long code, bool) {
    QString text;
    g_pClientGroup->GetValueText(quint32(code), text);
    return text;
}

bool _CxrpSocialColumn::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString t = run->GetSocialStateTable();
    select.Select(t + u'.' + m_field);
    return select.Join(QStringLiteral("LEFT"), t,
                       t + QStringLiteral(".nClientID=") + kClients +
                           QStringLiteral(".nClientID")) &&
           JoinClients(select);
}

QString CxrpEducationLevel::GetTitle() {
    return Tr("Образование", "msgnEducationLevel");
}

QString CxrpEducationLevel::CodeText(long code, bool) {
    return g_pEducationLevelEnum->IDToString(code, Tr("Нет данных", "msgNoData"));
}

QString CxrpEploymentStatus::GetTitle() {
    return Tr("Трудоустройство", "msgEploymentStatus");
}

QString CxrpEploymentStatus::CodeText(long code, bool) {
    return g_pEployment->IDToString(code, Tr("Нет данных", "msgNoData"));
}

QString CxrpPlaceOfLiving::GetTitle() {
    return Tr("Место жительства", "msgnLivingPlace");
}

QString CxrpPlaceOfLiving::CodeText(long code, bool) {
    return g_pLivingPlaceEnum->IDToString(code, Tr("Нет данных", "msgNoData"));
}

QString CxrpDrugType::GetTitle() {
    return Tr("Наркотик. Основной (тип на конец периода)", "CxrpDrugType::GetTitle");
}

bool CxrpDrugType::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString t = run->GetDrugUseStateTable();
    select.Select(QStringLiteral("DrugDir.nType AS nDrugType"));
    return select.Join(QStringLiteral("LEFT"), t,
                       t + QStringLiteral(".nClientID=") + kFast + QStringLiteral(".nClientID")) &&
           select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS DrugDir"),
                       QStringLiteral("DrugDir.ROWID=") + t +
                           QStringLiteral(".nBasicDrug AND DrugDir.nDirType=4"));
}

QString CxrpDrugType::CodeText(long code, bool summary) {
    return g_pDrugsEnum->IDToString(code, summary ? Tr("Не заполнено", "CxrpDrugType::GetSumTitle")
                                                  : QString());
}

QString CxrpDrugFreq::GetTitle() {
    return Tr("Наркотик. Частота употребления (тип на конец периода)", "CxrpDrugFreq::GetTitle");
}

bool CxrpDrugFreq::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString t = run->GetDrugUseStateTable();
    select.Select(t + QStringLiteral(".nUseFrequency AS nDrugUseFreq"));
    return select.Join(QStringLiteral("LEFT"), t,
                       t + QStringLiteral(".nClientID=") + kFast + QStringLiteral(".nClientID"));
}

QString CxrpDrugFreq::CodeText(long code, bool summary) {
    return g_pUseFreqEnum->IDToString(
        code, summary ? Tr("Не употребляют/нет данных", "CxrpDrugFreq::GetSumTitle") : QString());
}

// The point of the first visit is joined under an alias of its own: the
// visit's point (town and region columns) is another row of the same table.
QString CxrpFirstPOUType::GetTitle() {
    return Tr("Первый ПОУ (за период): тип маршрута", "CxrpFirstPOUType::GetTitle");
}

bool CxrpFirstPOUType::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(QStringLiteral("FirstPlace.nType AS nWorkPlaceType"));
    return JoinClients(select) &&
           select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS FirstPlace"),
                       QStringLiteral("FirstPlace.ROWID=") + kClients +
                           QStringLiteral(".nWorkPlace"));
}

QString CxrpFirstPOUType::CodeText(long code, bool summary) {
    return g_pNodeType->IDToString(code, summary ? Tr("Ошибка", "CxrpFirstPOUType::GetSumTitle")
                                                 : Tr("Ошибка", "CxrpFirstPOUType::GetDetValue"));
}

QString CxrpFirstPOU::GetTitle() {
    return Tr("Первый ПОУ (за период): название маршрута", "CxrpFirstPOU::GetTitle");
}

bool CxrpFirstPOU::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    m_run = run;
    select.Select(kClients + QStringLiteral(".nWorkPlace AS nFirstWorkPlace"));
    select.Select(QStringLiteral("FirstPlace.cString AS cWorkPlace"));
    return JoinClients(select) &&
           select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS FirstPlace"),
                       QStringLiteral("FirstPlace.ROWID=") + kClients +
                           QStringLiteral(".nWorkPlace"));
}

QString CxrpFirstPOU::GetDetValue() {
    QString name = GetFieldText(QStringLiteral("cWorkPlace"));
    if (m_run && m_run->ClipCodes())
        name = ClipAtBackQuote(name);
    return SafeHTML(name);
}

QString CxrpFirstPOU::GetSumTitle() {
    return GetFieldText(QStringLiteral("cWorkPlace"));
}

// ---- flags ----

QString _CxrpFlagColumn::GetUniqueTerm() {
    return QStringLiteral("IF(IFNULL(") + m_field + QStringLiteral(",0)>0,1,0)");
}

QString _CxrpFlagColumn::GetDetValue() {
    return GetFieldLong(m_field) != 0 ? SafeHTML(Tr("Да", m_yesKey)) : QString();
}

QString _CxrpFlagColumn::GetSumTitle() {
    return Title(GetFieldLong(m_field) != 0);
}

QString CxrpPDI::GetTitle() {
    return Tr("Клиент PDI", "CxrpPDI::GetTitle");
}

bool CxrpPDI::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(kClients + QStringLiteral(".bPDI"));
    return JoinClients(select);
}

QString CxrpPDI::Title(bool yes) {
    return yes ? Tr("Клиент PDI", "CxrpPDI::GetSumTitle") : Tr("Не PDI", "CxrpPDI::GetSumTitle");
}

QString CxrpSecondary::GetTitle() {
    return Tr("Клиент: Вторичного обмена", "CxrpSecondary::GetTitle");
}

bool CxrpSecondary::AddToSelect(int detail, CSimpleSelect& select, CRepVisitsRunData*) {
    if (detail)
        select.Select(kClients + QStringLiteral(".bSecondary"));
    else
        select.Select(QStringLiteral("IF(") + kClients +
                      QStringLiteral(".bSecondary, COUNT(DISTINCT ") + kFast +
                      QStringLiteral(".nClientID),0) AS bSecondary"));
    return JoinClients(select);
}

QString CxrpSecondary::Title(bool yes) {
    return yes ? Tr("Вторичного обмена", "CxrpSecondary::GetSumTitle")
               : Tr("Первичного обмена", "CxrpSecondary::GetSumTitle");
}

QString CxrpReseler::GetTitle() {
    return Tr("Клиент: Волонтер", "CxrpReseler::GetTitle");
}

bool CxrpReseler::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData* run) {
    const QString t = run->GetClientTypeStateTable();
    select.Select(t + QStringLiteral(".nClientType2&8192 AS bRasp"));
    return select.Join(QStringLiteral("LEFT"), t,
                       t + QStringLiteral(".nClientID=") + kClients +
                           QStringLiteral(".nClientID")) &&
           JoinClients(select);
}

// The field holds the bit as selected (0 or 8192); the line is 0 or 1.
QString CxrpReseler::GetUniqueTerm() {
    return QStringLiteral("IF(IFNULL(bRasp,0)&8192,1,0)");
}

QString CxrpReseler::GetDetValue() {
    return IsSet() ? SafeHTML(Tr("Да", "CxrpReseler::GetDetValue")) : QString();
}

QString CxrpReseler::GetSumTitle() {
    return IsSet() ? Tr("Волонтер", "msgRasporstranitel") : Tr("Не волонтер", "msgNeRasprostr");
}

// ---- organisation ----

QString CxrpRegion::GetTitle() {
    return Tr("Организация, к которой привязан клиент", "CxrpRegion::GetTitle");
}

bool CxrpRegion::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(QStringLiteral("orginf.cOrgID AS cOrganization"));
    select.Select(kClients + QStringLiteral(".nRegionDataID"));
    return JoinClients(select) && select.Join(QStringLiteral("LEFT"), QStringLiteral("orginf"),
                                              QStringLiteral("orginf.ROWID=") + kClients +
                                                  QStringLiteral(".nRegionDataID"));
}

QString CxrpRegion::GetDetValue() {
    return SafeHTML(GetFieldText(QStringLiteral("cOrganization")));
}

QString CxrpRegion::GetSumTitle() {
    return GetFieldText(QStringLiteral("cOrganization"));
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

// ---- year, counts, materials, months ----

QString CxrpVisitYear::GetTitle() {
    return Tr("Год", "msgYear");
}

bool CxrpVisitYear::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(QStringLiteral("YEAR(") + kFast + QStringLiteral(".dDate) AS nYear"));
    return true;
}

QString CxrpVisitYear::GetSumTitle() {
    return QString::number(GetFieldLong(QStringLiteral("nYear")));
}

QString CxrpClients::GetTitle() {
    return Tr("Клиентов", "msgClientsR");
}

bool CxrpClients::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(QStringLiteral("COUNT(DISTINCT ") + kFast +
                  QStringLiteral(".nClientID ) AS nClients"));
    return true;
}

QString CxrpClientsUniq::GetTitle() {
    return Tr("Уникальных клиентов", "msgClientsUniqR");
}

QString CxrpVisits::GetTitle() {
    return Tr("Визитов", "msgVisitsR");
}

bool CxrpVisits::AddToSelect(int, CSimpleSelect& select, CRepVisitsRunData*) {
    select.Select(QStringLiteral("COUNT(DISTINCT ") + kFast + QStringLiteral(".nClientID,") +
                  kFast + QStringLiteral(".nReportID) AS nVisits"));
    return true;
}

QString CxrpVisits::GetDetValue() {
    return VisitsNumberCell(double(GetFieldLong(QStringLiteral("nVisits"))));
}

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
