#include "configuration.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

// Rows go to the server in batches of this many.
static constexpr int kTownsBatch = 10000;

static void InitDefaultConfigResource() {
    Q_INIT_RESOURCE(default_config);
}

namespace {
constexpr CxTr Tr;

} // namespace

xKDConfiguration::xKDConfiguration() {
    InitDefaultConfigResource();
}

QString xKDConfiguration::GetDefaultConfigResource() const {
    return QStringLiteral(":/config/default_config.xml");
}

bool xKDConfiguration::OnStoreConfig() {
    return StoreTowns(g_pBaseSQLConnection.get());
}

bool xKDConfiguration::StoreTowns(CxSQL* sql) {
    xTowns& towns = GetCurrentLanguage()->Towns;
    // Once copied, the towns live in the table; a document without towns
    // must not wipe them.
    if (!towns.GetCount_sEnum2())
        return true;
    auto fail = [&](const QString& detail) {
        QString text = Tr("Не удалось скопировать список населенных пунктов в базу данных; "
                          "прежний список сохранен.",
                          "msgTownsNotStored");
        if (!detail.isEmpty())
            text += u' ' + detail;
        m_lastError = text;
        CTarvikApp::AddErrorMessage(text);
        return false;
    };
    if (!sql)
        return fail(QString());

    CxSQLLockGuard lock(sql, 999999);
    if (!sql->BeginTransaction())
        return fail(sql->GetSqlErrorString());
    bool ok = sql->Execute(QStringLiteral("DELETE FROM towns")).isValid();
    QStringList rows;
    auto flush = [&] {
        if (ok && !rows.isEmpty())
            ok = sql->Execute(QStringLiteral("INSERT INTO towns (ROWID,cShortName,nGroupID,"
                                             "cFullName) VALUES ") +
                              rows.join(u','))
                     .isValid();
        rows.clear();
    };
    POSITION pos = towns.InitScan_sEnum2();
    while (ok && towns.ScanNext_sEnum2(pos)) {
        if (rows.size() == kTownsBatch)
            flush();
        const sTowns* town = towns.Current(pos);
        rows << QStringLiteral("(%1,%2,%3,%4)")
                    .arg(town->nCode)
                    .arg(SafeSQL(town->cText))
                    .arg(town->nGroup)
                    .arg(SafeSQL(towns.GetFullName(town->nCode)));
    }
    flush();
    if (!ok || !sql->CommitTransaction()) {
        QString error = sql->GetSqlErrorString();
        sql->RollbackAfterFailure(&error);
        return fail(error);
    }
    for (auto& language : Languages)
        language->Towns.RemoveAll();
    GetCurrentLanguage()->Towns.RemoveAll();
    return true;
}
