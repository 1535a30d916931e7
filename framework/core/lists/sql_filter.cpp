#include "sql_filter.h"

#include "framework/core/select/executer.h"
#include "framework/core/table/cx_table.h"

void CxSQLFilter::AddFilter(const CxField* field, const QString& op, const QString& value) {
    m_terms.append(Term{field, op, value, QString()});
}

void CxSQLFilter::AddSQLFilter(const QString& condition) {
    if (!condition.trimmed().isEmpty())
        m_terms.append(Term{nullptr, QString(), QString(), condition});
}

void CxSQLFilter::ClearFilter() {
    m_terms.clear();
}

QString CxSQLFilter::BuildCondition(const CxTable* table) const {
    QStringList parts;
    for (const Term& t : m_terms) {
        if (!t.field) {
            parts << u'(' + t.sql + u')';
            continue;
        }
        bool ok = false;
        const QString literal = SQLFieldLiteral(t.field, t.value, &ok);
        if (!ok || !table)
            return QStringLiteral("1=0");
        parts << u'(' + table->GetFieldSQL(t.field) + t.op + literal + u')';
    }
    return parts.join(QStringLiteral(" AND "));
}
