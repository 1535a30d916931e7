#include "posh_selection.h"

#include "db/digests.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/enums/directory_enums.h"

#include <QHash>
#include <QSet>
#include <functional>

namespace {
constexpr CxTr Tr;

CxSQL* Connection(CxSQL* sql) {
    return sql ? sql : g_pBaseSQLConnection.get();
}

// A name from data exchange may carry the sender's suffix after a back-quote.
QString StripSuffix(const QString& text) {
    const qsizetype at = text.indexOf(u'`');
    return at < 0 ? text : text.left(at);
}

QString ErrorOf(const CxResult& res) {
    return res.Error().text;
}

enum Level { kOrg, kTown, kType };
} // namespace

// ---- the selection ----

namespace CPoshSelection {
CxMap<long, QString>* Get() {
    static CxMap<long, QString> processSelection;
    if (CTarvikApp* app = CTarvikApp::Instance())
        if (void* p = app->GetAppPointer(QStringLiteral("CSelectedPOSH")))
            return static_cast<CxMap<long, QString>*>(p);
    return &processSelection;
}

void Store(const QList<QPair<long, QString>>& tickedItems) {
    CxMap<long, QString>* selection = Get();
    selection->RemoveAll();
    for (const auto& [id, name] : tickedItems)
        if (id > 0)
            selection->FindOrAdd(id)->value = name;
}

QList<long> SelectedIDs() {
    QList<long> ids;
    for (auto* el = Get()->GetHead(); el; el = el->next)
        ids << el->key;
    return ids;
}
} // namespace CPoshSelection

// ---- groupings ----

QList<CPoshGrouping> PoshGroupings() {
    const char* key = "CPoshList::GroupingMenu";
    return {{kPoshByOrg, Tr("Организаци -> ПОУ", key)},
            {kPoshByTownOrg, Tr("Регион -> Организация -> ПОУ", key)},
            {kPoshByOrgTown, Tr("Организация -> Регион -> ПОУ", key)},
            {kPoshByTypeOrg, Tr("Тип ПОУ -> Организация -> ПОУ", key)},
            {kPoshByTypeTownOrg, Tr("Тип ПОУ -> Регион -> Организация -> ПОУ", key)},
            {kPoshByTypeOrgTown, Tr("Тип ПОУ -> Организация -> Регион -> ПОУ", key)}};
}

int CurrentPoshGrouping() {
    const int mode =
        CTarvikApp::GetProfileInt(QStringLiteral("Settings"), QStringLiteral("PoshMode"), 0);
    for (const CPoshGrouping& grouping : PoshGroupings())
        if (grouping.id == mode)
            return mode;
    return kPoshByOrg;
}

void StorePoshGrouping(int mode) {
    CTarvikApp::WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("PoshMode"), mode);
}

bool BuildPoshTree(CxSQL* sql, int mode, QList<CPoshTreeNode>& nodes, QString* error) {
    sql = Connection(sql);
    nodes.clear();
    QHash<long, long> townParents;
    QHash<long, QString> townNames;
    {
        CxResult towns =
            sql->Execute(QStringLiteral("SELECT ROWID,nGroupID,cShortName FROM towns"));
        if (!towns.isValid()) {
            if (error)
                *error = ErrorOf(towns);
            return false;
        }
        while (towns.FetchRow()) {
            townParents.insert(towns.LFieldValue(0), towns.LFieldValue(1));
            townNames.insert(towns.LFieldValue(0), towns.SFieldValue(2));
        }
    }
    QList<Level> levels;
    QString order;
    switch (mode) {
    case kPoshByTownOrg:
        levels = {kTown, kOrg};
        order = QStringLiteral("cTownName,cOrgID");
        break;
    case kPoshByOrgTown:
        levels = {kOrg, kTown};
        order = QStringLiteral("cOrgID,cTownName");
        break;
    case kPoshByTypeOrg:
        levels = {kType, kOrg};
        order = QStringLiteral("cTypeText,cOrgID");
        break;
    case kPoshByTypeTownOrg:
        levels = {kType, kTown, kOrg};
        order = QStringLiteral("cTypeText,cTownName,cOrgID");
        break;
    case kPoshByTypeOrgTown:
        levels = {kType, kOrg, kTown};
        order = QStringLiteral("cTypeText,cOrgID,cTownName");
        break;
    default:
        levels = {kOrg};
        order = QStringLiteral("cOrgID");
        break;
    }
    const QString typeText = g_pNodeType.Get()->GetSQL(QStringLiteral("d.nType"));
    CxResult rows = sql->Execute(
        QStringLiteral(
            "SELECT d.nRegionDataID,o.cOrgID,d.nTown,t.cFullName AS cTownName,d.nType,") +
        typeText +
        QStringLiteral(" AS cTypeText,d.cString,d.ROWID FROM dir AS d LEFT JOIN orginf AS o ON "
                       "o.ROWID=d.nRegionDataID LEFT JOIN towns AS t ON t.ROWID=d.nTown WHERE "
                       "d.nDirType=1 AND NOT d.bIsFolder ORDER BY ") +
        order + QStringLiteral(",d.cString"));
    if (!rows.isValid()) {
        if (error)
            *error = ErrorOf(rows);
        return false;
    }
    const auto add = [&nodes](const QString& caption, long pointId, int parent) {
        nodes.append({caption, pointId, parent});
        return int(nodes.size()) - 1;
    };
    // A town under a group node, below the chain of the towns it lies in.
    QHash<QPair<int, long>, int> townNodes;
    std::function<int(long, int, QSet<long>&)> townNode = [&](long town, int parent,
                                                              QSet<long>& seen) -> int {
        const auto key = qMakePair(parent, town);
        auto found = townNodes.constFind(key);
        if (found != townNodes.constEnd())
            return *found;
        seen.insert(town);
        int under = parent;
        const long up = townParents.value(town, 0);
        if (up != 0 && townNames.contains(up) && !seen.contains(up))
            under = townNode(up, parent, seen);
        const QString caption = townNames.contains(town)
                                    ? townNames.value(town)
                                    : Tr("Ошибка", "CPoshList::BUILDDATA::GetTownTree");
        const int node = add(caption, 0, under);
        townNodes.insert(key, node);
        return node;
    };
    QHash<QList<long>, int> groupNodes;
    while (rows.FetchRow()) {
        QList<long> key;
        int parent = -1;
        for (Level level : levels) {
            long id = 0;
            QString caption;
            switch (level) {
            case kOrg:
                id = rows.LFieldValue(0);
                caption = StripSuffix(rows.SFieldValue(1));
                break;
            case kTown:
                id = rows.LFieldValue(2);
                break;
            case kType:
                id = rows.LFieldValue(4);
                caption = rows.SFieldValue(5);
                break;
            }
            key.append(id);
            auto found = groupNodes.constFind(key);
            if (found != groupNodes.constEnd()) {
                parent = *found;
                continue;
            }
            int node;
            if (level == kTown) {
                QSet<long> seen;
                node = townNode(id, parent, seen);
            } else {
                node = add(caption, 0, parent);
            }
            groupNodes.insert(key, node);
            parent = node;
        }
        add(StripSuffix(rows.SFieldValue(6)), rows.LFieldValue(7), parent);
    }
    return true;
}

bool PoshPointsOfType(CxSQL* sql, long typeCode, QList<long>& ids, QString* error) {
    ids.clear();
    QString statement = QStringLiteral("SELECT ROWID FROM dir WHERE nDirType=1 AND NOT bIsFolder");
    if (typeCode != -1)
        statement += QStringLiteral(" AND nType=%1").arg(typeCode);
    CxResult res = Connection(sql)->Execute(statement + QStringLiteral(" ORDER BY ROWID"));
    if (!res.isValid()) {
        if (error)
            *error = ErrorOf(res);
        return false;
    }
    while (res.FetchRow())
        ids << res.LFieldValue(0);
    return true;
}

bool PoshPointTypes(CxSQL* sql, QList<long>& types, QString* error) {
    types.clear();
    CxResult res = Connection(sql)->Execute(
        QStringLiteral("SELECT nType FROM dir WHERE nDirType=1 AND NOT bIsFolder GROUP BY nType "
                       "ORDER BY nType"));
    if (!res.isValid()) {
        if (error)
            *error = ErrorOf(res);
        return false;
    }
    while (res.FetchRow())
        types << res.LFieldValue(0);
    return true;
}

// ---- the temporary table ----

CSelectedPOSH::CSelectedPOSH(CxSQL* sql) : m_sql(Connection(sql)) {}

CSelectedPOSH::~CSelectedPOSH() {
    if (!m_name.isEmpty() && m_sql && m_sql->IsConnected())
        m_sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + m_name);
}

QString CSelectedPOSH::Create(QString* error) {
    if (!m_name.isEmpty())
        m_sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + m_name);
    m_name.clear();
    m_names.clear();
    QStringList ids;
    for (auto* el = CPoshSelection::Get()->GetHead(); el; el = el->next) {
        ids << QString::number(el->key);
        m_names << el->value;
    }
    const QString name = QStringLiteral("_tmpPP") + MD5HexOfText(ids.join(u','));
    QStringList statements = {QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + name,
                              QStringLiteral("CREATE TEMPORARY TABLE ") + name +
                                  QStringLiteral(" (ROWID INT NOT NULL PRIMARY KEY)")};
    for (qsizetype at = 0; at < ids.size(); at += 1000)
        statements << QStringLiteral("INSERT INTO ") + name + QStringLiteral(" VALUES (") +
                          ids.mid(at, 1000).join(QStringLiteral("),(")) + u')';
    for (const QString& statement : std::as_const(statements)) {
        CxResult res = m_sql->Execute(statement);
        if (!res.isValid()) {
            if (error)
                *error = ErrorOf(res);
            m_sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + name);
            m_names.clear();
            return QString();
        }
    }
    m_name = name;
    return m_name;
}

QString CSelectedPOSH::GetPoshList() const {
    return CPoshFilter::GetPoshList(m_sql);
}

namespace CPoshFilter {
QString GetPoshList(CxSQL* sql) {
    CxMap<long, QString>* selection = CPoshSelection::Get();
    if (selection->IsEmpty())
        return QString();
    CxResult rows = Connection(sql)->Execute(QStringLiteral(
        "SELECT d.nRegionDataID,o.cOrgID,d.cString,d.ROWID FROM dir AS d LEFT JOIN orginf AS o "
        "ON o.ROWID=d.nRegionDataID WHERE d.nDirType=1 AND NOT d.bIsFolder ORDER BY "
        "o.cOrgID,d.cString"));
    QString html;
    bool started = false;
    long org = 0;
    QString orgCode;
    QStringList chosen;
    bool allChosen = true;
    const auto flush = [&] {
        if (!started || chosen.isEmpty())
            return;
        html += QStringLiteral("<b>") + SafeHTML(orgCode) + QStringLiteral(":</b> ");
        html += allChosen ? SafeHTML(Tr("все", "CPoshFilter::GetPoshList"))
                          : SafeHTML(chosen.join(QStringLiteral(", ")));
        html += QStringLiteral("<br/>");
    };
    while (rows.FetchRow()) {
        const long rowOrg = rows.LFieldValue(0);
        if (!started || rowOrg != org) {
            flush();
            started = true;
            org = rowOrg;
            orgCode = rows.SFieldValue(1);
            chosen.clear();
            allChosen = true;
        }
        auto* el = selection->Find(rows.LFieldValue(3));
        if (el)
            chosen << el->value;
        else
            allChosen = false;
    }
    flush();
    return html;
}
} // namespace CPoshFilter
