#include "org_keys.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <map>

namespace {
CxSQL* Connection(CxSQL* sql) {
    return sql ? sql : g_pBaseSQLConnection.get();
}

// nType bits 16..18 all set: the class of materials offered only when chosen
// or flagged.
constexpr long kOnlyWhenChosenClass = 0x70000;
constexpr long kAlwaysOfferFlag = 1; // nSpecFlags bit 0
} // namespace

QString StripOrgSuffix(QString key) {
    const qsizetype quote = key.indexOf(u'`');
    if (quote >= 0)
        key.truncate(quote);
    return key;
}

QString GetOwnOrgID(CxSQL* sql) {
    sql = Connection(sql);
    if (!sql)
        return QString();
    CxResult res = sql->Execute(QStringLiteral("SELECT cOrgID FROM orginf WHERE ROWID=0"));
    if (!res.FetchRow() || res.FieldsCount() < 1 || res.IsNull(0))
        return QString();
    return res.SFieldValue(0);
}

bool LoadMaterialList(CxListSelOrderEntries& entries, const QList<int>& chosen, CxSQL* sql) {
    entries.clear();
    sql = Connection(sql);
    if (!sql)
        return false;
    CxResult res = sql->Execute(QStringLiteral(
        "SELECT * FROM dir WHERE dir.nDirType=3 AND IFNULL(dir.bIsFolder,0)=0  ORDER BY "
        "(dir.nType&458752<>458752 OR dir.nSpecFlags&1),dir.cString"));
    if (!res.isValid())
        return false;
    std::map<qsizetype, QString> chosenNames; // by place in `chosen`
    while (res.FetchRow()) {
        const int id = int(res.LFieldValue(QStringLiteral("ROWID")));
        const qsizetype pos = chosen.indexOf(id);
        const QString name = res.SFieldValue(QStringLiteral("cString"));
        if (pos >= 0) {
            chosenNames[pos] = name;
            continue;
        }
        const bool hidden = res.LFieldValue(QStringLiteral("bHidden")) != 0;
        const bool flagged =
            (res.LFieldValue(QStringLiteral("nSpecFlags")) & kAlwaysOfferFlag) != 0;
        const bool onlyWhenChosen = (res.LFieldValue(QStringLiteral("nType")) &
                                     kOnlyWhenChosenClass) == kOnlyWhenChosenClass;
        if (!hidden && (flagged || !onlyWhenChosen))
            entries.append({false, name, id});
    }
    for (const auto& [pos, name] : chosenNames)
        entries.append({true, name, chosen[pos]});
    return true;
}

void AddLoadMatError(int position, int materialId) {
    const QString text = CTarvikApp::TranslateString(
        QStringLiteral("Ошибка загрузки материала с кодом %d\n(позиция ошибки %d)"),
        QStringLiteral("AddLoadMatError"));
    QString message = text;
    for (const int value : {materialId, position}) {
        const qsizetype at = message.indexOf(QLatin1String("%d"));
        if (at >= 0)
            message.replace(at, 2, QString::number(value));
    }
    CTarvikApp::AddErrorMessage(message, 0);
}
