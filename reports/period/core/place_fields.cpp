#include "place_fields.h"

#include "client_fields.h"
#include "field_ids.h"
#include "field_support.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/enums/enums.h"
#include "reports/base/core/rep_base_data.h"

using RepFieldSupport::StateTable;
using RepFieldSupport::SummaryTable;
using RepFieldSupport::Tr;

namespace {
constexpr int kMaxTownSteps = 10;
constexpr unsigned kPlaceFlags = 0x7;
constexpr unsigned kTownFlags = 0x17; // also offered as a grouping of the records

QString ErrorText(const char* prefix, const char* getter) {
    return CTarvikApp::TranslateString(QStringLiteral("Ошибка"),
                                       QString::fromLatin1(prefix) + QString::fromLatin1(getter));
}

void JoinPosh(CSimpleSelect& select, CRepBaseData* run) {
    select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS Posh"),
                QStringLiteral("Posh.ROWID=") + SummaryTable(run) + QStringLiteral(".nWorkplace"));
}

void JoinFirstPoint(CSimpleSelect& select, CRepBaseData* run) {
    select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS FirstWorkplace"),
                QStringLiteral("FirstWorkplace.ROWID=") + StateTable(select, run) +
                    QStringLiteral(".nFirstWorkplace AND NOT FirstWorkplace.bIsFolder AND "
                                   "FirstWorkplace.nDirType=1"));
}
} // namespace

// ---- towns ----

namespace TownTree {
bool LoadLeafTowns(CxSQL* sql, QHash<long, QString>& names, CxSQLError* error) {
    if (!names.isEmpty())
        return true;
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    CxResult res = sql->Execute(
        QStringLiteral("SELECT t1.ROWID,t1.cShortName FROM towns AS t1 LEFT JOIN towns AS t2 ON "
                       "t1.ROWID=t2.nGroupID WHERE ISNULL(t2.ROWID)"));
    if (!res.isValid()) {
        if (error)
            *error = res.Error();
        return false;
    }
    names.reserve(int(res.RowsCount()));
    while (res.FetchRow())
        names.insert(res.LFieldValue(0), res.SFieldValue(1));
    return true;
}

bool LoadTownList(CxSQL* sql, QHash<long, long>& ancestors, QHash<long, QString>& regionNames,
                  CxSQLError* error) {
    if (!ancestors.isEmpty())
        return true;
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    CxResult res = sql->Execute(
        QStringLiteral("SELECT ROWID,nGroupID,cShortName FROM towns ORDER BY cShortName"));
    if (!res.isValid()) {
        if (error)
            *error = res.Error();
        return false;
    }
    QHash<long, long> parents;
    parents.reserve(int(res.RowsCount()));
    while (res.FetchRow()) {
        const long id = res.LFieldValue(0);
        const long parent = res.LFieldValue(1);
        parents.insert(id, parent);
        if (parent == 0)
            regionNames.insert(id, res.SFieldValue(2));
    }
    ancestors.reserve(parents.size());
    for (auto it = parents.constBegin(); it != parents.constEnd(); ++it) {
        long at = it.key();
        long parent = it.value();
        int steps = 0;
        bool found = true;
        while (parent != 0) {
            auto up = parents.constFind(parent);
            if (up == parents.constEnd() || steps == kMaxTownSteps) {
                found = false;
                break;
            }
            at = up.key();
            parent = up.value();
            ++steps;
        }
        ancestors.insert(it.key(), found ? at : 0);
    }
    return true;
}
} // namespace TownTree

// ---- service point ----

CRF_POU::CRF_POU()
    : CRepFieldBase(kRFPOU, "nWorkplace", "Пункт предоставления услуг", "msgPOU", kPlaceFlags,
                    "cent", "*") {}

void CRF_POU::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString column = SummaryTable(run) + QStringLiteral(".nWorkplace");
    select.Group(column);
    select.Select(QStringLiteral("Posh.cString AS cPoshName"));
    select.Select(column);
    JoinPosh(select, run);
}

void CRF_POU::Bind(CxResult* result) {
    CRepFieldBase::Bind(result);
    m_namePos = ColumnPos(QStringLiteral("cPoshName"));
}

void CRF_POU::OnNewRow() {
    m_point = ColumnLong();
    m_text = ColumnText(m_namePos);
    ClipClientCode(m_text);
}

QString CRF_POU::GetDetValue() {
    Refresh();
    return m_text;
}

long CRF_POU::GetGroupID() {
    Refresh();
    return m_point;
}

// ---- service-point types ----

void CRF_PointTypeField::OnNewRow() {
    m_type = ColumnLong();
    m_text = g_pNodeType->IDToString(
        m_type,
        CTarvikApp::TranslateString(QStringLiteral("Ошибка"), QString::fromLatin1(ErrorContext())));
}

QString CRF_PointTypeField::GetDetValue() {
    Refresh();
    return m_text;
}

long CRF_PointTypeField::GetGroupID() {
    Refresh();
    return m_type;
}

CRF_POUTYPE::CRF_POUTYPE()
    : CRF_PointTypeField(kRFPOUType, "nWorkplaceType", "Тип пункта предоставления услуг",
                         "msgPOUType", kPlaceFlags, "cent", "*") {}

void CRF_POUTYPE::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Group(QStringLiteral("Posh.nType"));
    select.Select(QStringLiteral("Posh.nType AS nWorkplaceType"));
    JoinPosh(select, run);
}

CRF_FirstPOUType::CRF_FirstPOUType()
    : CRF_PointTypeField(kRFFirstPOUType, "nFirstWorkplaceType",
                         "Тип первого ПОУ, на который пришел клиент", "msgFirstPOUType",
                         kPlaceFlags, "cent") {}

void CRF_FirstPOUType::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("FirstWorkplace.nType AS nFirstWorkplaceType"));
    JoinFirstPoint(select, run);
}

// ---- named rows of the client ----

CRF_NamedField::CRF_NamedField(long id, const char* fieldName, const char* title, const char* key,
                               const char* nameColumn)
    : CRepFieldBase(id, fieldName, title, key, kPlaceFlags, "cent"),
      m_nameColumn(QString::fromLatin1(nameColumn)) {}

void CRF_NamedField::Bind(CxResult* result) {
    CRepFieldBase::Bind(result);
    m_namePos = ColumnPos(m_nameColumn);
}

void CRF_NamedField::OnNewRow() {
    m_id = ColumnLong();
    m_text = ColumnText(m_namePos);
}

QString CRF_NamedField::GetDetValue() {
    Refresh();
    return m_text;
}

long CRF_NamedField::GetGroupID() {
    Refresh();
    return m_id;
}

CRF_FirstPOU::CRF_FirstPOU()
    : CRF_NamedField(kRFFirstPOU, "nFirstWorkplace", "Первый ПОУ, на который пришел клиент",
                     "msgFirstPOU", "cFirstPOU") {}

void CRF_FirstPOU::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("FirstWorkplace.cString AS cFirstPOU"));
    select.Select(StateTable(select, run) + QStringLiteral(".nFirstWorkplace"));
    JoinFirstPoint(select, run);
}

CRF_Org::CRF_Org()
    : CRF_NamedField(kRFOrg, "nRegionDataID", "Организация к которой привязан клиент",
                     "msgOrgLinkName", "cOrganization") {}

void CRF_Org::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    const QString d = StateTable(select, run);
    select.Select(QStringLiteral("orginf.cOrgID AS cOrganization"));
    select.Select(d + QStringLiteral(".nRegionDataID"));
    select.Join(QStringLiteral("LEFT"), QStringLiteral("orginf"),
                QStringLiteral("orginf.ROWID=") + d + QStringLiteral(".nRegionDataID"));
}

// ---- town and region ----

CRF_Town::CRF_Town() : CRF_Town(kRFTown, "Город оказания услуг", "msgPOUTown", "cent") {}

CRF_Town::CRF_Town(long id, const char* title, const char* key, const char* css)
    : CRepFieldBase(id, "nTownID", title, key, kTownFlags, css, "*") {}

bool CRF_Town::LoadTowns(CxSQL* sql, CxSQLError* error) {
    return TownTree::LoadLeafTowns(sql, m_names, error);
}

void CRF_Town::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    CxSQLError failed;
    if (!LoadTowns(run->GetSQL(), &failed))
        throw CRepError{SafeHTML(failed.statement) + QStringLiteral("<br/><b>") +
                        SafeHTML(failed.text) + QStringLiteral("</b>")};
    select.Group(QStringLiteral("WorkPlace.nTown"));
    select.Select(QStringLiteral("WorkPlace.nTown AS nTownID"));
    select.Join(QStringLiteral("LEFT"), QStringLiteral("dir AS WorkPlace"),
                QStringLiteral("WorkPlace.ROWID=") + SummaryTable(run) +
                    QStringLiteral(".nWorkplace"));
}

bool CRF_Town::Lookup(long town, long& id, QString& name) const {
    auto found = m_names.constFind(town);
    if (found == m_names.constEnd())
        return false;
    id = found.key();
    name = found.value();
    return true;
}

void CRF_Town::Compute(const char* getter) {
    if (!IsNewRow())
        return;
    m_group = -1;
    if (!Lookup(ColumnLong(), m_group, m_text)) {
        m_group = -1;
        m_text = ErrorText(ContextPrefix(), getter);
    }
}

QString CRF_Town::GetDetValue() {
    Compute("GetDetValue");
    return m_text;
}

long CRF_Town::GetGroupID() {
    Compute("GetGroupID");
    return m_group;
}

CRF_Obl::CRF_Obl() : CRF_Town(kRFObl, "Область оказания услуг", "msgPOUReg", "d") {}

bool CRF_Obl::LoadTowns(CxSQL* sql, CxSQLError* error) {
    return TownTree::LoadTownList(sql, m_ancestors, m_names, error);
}

bool CRF_Obl::Lookup(long town, long& id, QString& name) const {
    auto ancestor = m_ancestors.constFind(town);
    if (ancestor == m_ancestors.constEnd())
        return false;
    return CRF_Town::Lookup(ancestor.value(), id, name);
}

// ---- number of points ----

CRF_WokrPlaceCount::CRF_WokrPlaceCount()
    : CRepFieldBase(kRFWorkPlaceCount, "nWorkplaceCount", "Количетсво пунктов", "msgWorkplaceCount",
                    0x8, "cent", "**") {}

void CRF_WokrPlaceCount::AddSelect(CSimpleSelect& select, CRepBaseData* run) {
    select.Select(QStringLiteral("COUNT(DISTINCT ") + SummaryTable(run) +
                  QStringLiteral(".nWorkplace ) AS nWorkplaceCount"));
}

void CRF_WokrPlaceCount::OnNewRow() {
    m_count = ColumnLong();
}

double CRF_WokrPlaceCount::GetValue() {
    Refresh();
    return double(m_count);
}
