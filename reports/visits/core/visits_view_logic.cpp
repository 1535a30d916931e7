#include "visits_view_logic.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "model/enums/directory_enums.h"

QList<CVisitsMarkEntry> VisitsMarkMenu(CxSQL* sql) {
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    QList<CVisitsMarkEntry> entries;
    entries.append(
        {-1, CTarvikApp::TranslateString(QStringLiteral("Все"), QStringLiteral("msgALL")), false});
    CxResult types = sql->Execute(QStringLiteral(
        "SELECT nType FROM dir WHERE nDirType=1 AND NOT bIsFolder GROUP BY nType ORDER BY nType"));
    bool first = true;
    while (types.FetchRow()) {
        const long code = types.LFieldValue(0);
        int found = 0;
        QString text = g_pNodeType->IDToString(code, QString(), &found);
        if (!found)
            text = CTarvikApp::TranslateString(QStringLiteral("Ошибка. Код типа {code}"),
                                               QStringLiteral("CRepVisitsView::OnCheck"))
                       .replace(QLatin1String("{code}"), QString::number(code));
        entries.append({code, text, first});
        first = false;
    }
    return entries;
}
