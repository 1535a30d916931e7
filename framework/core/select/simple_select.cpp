#include "simple_select.h"

#include "framework/core/sql_connection.h"

void CSimpleSelect::Join(const QString& kind, const QString& table, const QString& condition) {
    const QString word = kind.trimmed().toUpper();
    AddOnce(m_joins, (word.isEmpty() ? QString() : word + u' ') + QStringLiteral("JOIN ") + table +
                         QStringLiteral(" ON ") + condition);
}

bool CSimpleSelect::ExecPreQuery(CxSQL* sql, CxSQLError* error) const {
    if (!sql)
        sql = g_pBaseSQLConnection.get();
    for (const QString& statement : m_preQueries) {
        CxResult res = sql ? sql->Execute(statement) : CxResult();
        if (!res.isValid()) {
            if (error)
                *error = res.Error();
            return false;
        }
    }
    return true;
}

QString CSimpleSelect::Build(const QString& table) const {
    QString sql = QStringLiteral("SELECT ") +
                  (m_items.isEmpty() ? QStringLiteral("*") : m_items.join(QStringLiteral(","))) +
                  QStringLiteral(" FROM ") + table;
    for (const QString& join : m_joins)
        sql += u' ' + join;
    if (!m_where.isEmpty()) {
        QStringList parts;
        for (const QString& w : m_where)
            parts << u'(' + w + u')';
        sql += QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
    }
    if (!m_group.isEmpty())
        sql += QStringLiteral(" GROUP BY ") + m_group.join(u',');
    if (!m_order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + m_order.join(u',');
    if (!m_limit.isEmpty())
        sql += QStringLiteral(" LIMIT ") + m_limit;
    return sql;
}
