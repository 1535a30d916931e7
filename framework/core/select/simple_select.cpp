#include "simple_select.h"

#include "framework/core/sql_connection.h"

#include <QRegularExpression>

void CSimpleSelect::Select(const QString& item) {
    if (!m_items.contains(item))
        m_items << item;
}

QString CSimpleSelect::AliasOf(const QString& table) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList words = table.trimmed().split(blanks, Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QString();
    QString alias = words.last();
    alias.remove(u'`');
    return alias.toLower();
}

bool CSimpleSelect::Join(const QString& kind, const QString& table, const QString& condition) {
    JoinPart part;
    part.alias = AliasOf(table);
    part.kind = kind.trimmed().toUpper();
    part.table = table.simplified();
    part.condition = condition.simplified();
    for (const JoinPart& other : std::as_const(m_joins)) {
        if (other.alias != part.alias)
            continue;
        if (other.kind == part.kind && other.condition == part.condition &&
            other.table.compare(part.table, Qt::CaseInsensitive) == 0)
            return true; // the same join: made once
        const QString refused = QStringLiteral("JOIN ") + part.table + QStringLiteral(" ON ") +
                                part.condition + QStringLiteral(" / ") + other.table +
                                QStringLiteral(" ON ") + other.condition;
        if (m_error.isEmpty())
            m_error = refused;
        return false;
    }
    m_joins << part;
    return true;
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
    for (const JoinPart& join : m_joins)
        sql += u' ' + (join.kind.isEmpty() ? QString() : join.kind + u' ') +
               QStringLiteral("JOIN ") + join.table + QStringLiteral(" ON ") + join.condition;
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
