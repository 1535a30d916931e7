#include "executer.h"

#include "framework/core/sql_connection.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"

QString SQLFieldLiteral(const CxField* field, const QString& value, bool* ok) {
    if (ok)
        *ok = true;
    if (field && (field->GetFlags() & FF_INT)) {
        bool isNumber = false;
        const qint64 number = value.trimmed().toLongLong(&isNumber);
        if (!isNumber) {
            if (ok)
                *ok = false;
            return QString();
        }
        return QString::number(number);
    }
    return SafeSQL(value);
}

CxExecuter::CxExecuter(CxTable* table, CxSQL* sql) : m_table(table), m_sql(sql) {}

void CxExecuter::ASel(const CxField* field) {
    if (field)
        m_fields << field;
}

void CxExecuter::ASel(const QString& expression) {
    m_expressions << expression;
}

void CxExecuter::ASelAll() {
    if (m_table)
        for (const CxField* f : m_table->GetFields())
            m_fields << f;
}

void CxExecuter::ASelByFlags(quint32 flags) {
    if (m_table)
        for (const CxField* f : m_table->GetFields())
            if (f->Is(flags))
                m_fields << f;
}

void CxExecuter::AWhere(const QString& condition, const QString& joiner) {
    if (condition.trimmed().isEmpty())
        return;
    if (m_where.isEmpty())
        m_where = u'(' + condition + u')';
    else
        m_where += u' ' + joiner.trimmed().toUpper() + QStringLiteral(" (") + condition + u')';
}

void CxExecuter::AWhereField(const CxField* field, const QString& op, const QString& value,
                             const QString& joiner) {
    if (!field || !m_table) {
        m_valid = false;
        return;
    }
    bool ok = false;
    const QString literal = SQLFieldLiteral(field, value, &ok);
    if (!ok) {
        m_valid = false;
        return;
    }
    AWhere(m_table->GetFieldSQL(field) + op + literal, joiner);
}

void CxExecuter::AWhereField(quint32 flags, const QString& op, const QString& value,
                             const QString& joiner) {
    AWhereField(m_table ? m_table->FindFieldByFlags(flags) : nullptr, op, value, joiner);
}

QString CxExecuter::BuildSelect() const {
    if (!m_table || !m_valid)
        return QString();
    CxSelectOptions options;
    options.fields = m_fields;
    options.expressions = m_expressions;
    if (m_fields.isEmpty() && m_expressions.isEmpty())
        for (const CxField* f : m_table->GetFields())
            options.fields << f;
    options.where = m_where;
    options.groupBy = m_group;
    options.orderBy = m_order;
    options.defaultOrder = false;
    options.limit = m_limit;
    return m_table->BuildSelect(options);
}

QString CxExecuter::BuildDelete() const {
    if (!m_table || !m_valid || m_where.isEmpty())
        return QString();
    const QString alias = m_table->GetAlias();
    QString condition = m_table->ExpandSQL(m_where);
    const QString filter = m_table->GetFilterSQL();
    if (!filter.isEmpty())
        condition = u'(' + filter + QStringLiteral(") AND (") + condition + u')';
    // A delete names its table without an alias, so {TABLE} is the table.
    return QStringLiteral("DELETE FROM ") + m_table->GetSQLTable() + QStringLiteral(" WHERE ") +
           condition;
}

CxResult CxExecuter::ExecSelect() {
    CxSQL* sql = m_sql ? m_sql : g_pBaseSQLConnection.get();
    const QString statement = BuildSelect();
    if (!sql || statement.isEmpty())
        return CxResult();
    return sql->Execute(statement);
}

bool CxExecuter::ExecDelete(CxSQLError* error) {
    CxSQL* sql = m_sql ? m_sql : g_pBaseSQLConnection.get();
    const QString statement = BuildDelete();
    if (!sql || statement.isEmpty())
        return false;
    CxResult res = sql->Execute(statement);
    if (!res.isValid() && error)
        *error = res.Error();
    return res.isValid();
}
