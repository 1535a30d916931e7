#include "temp_table.h"

#include "framework/core/sql_connection.h"

#include <QRandomGenerator>

CxSQLTempTable::CxSQLTempTable(CxSQL* sql, const QString& name, const QString& createStatement)
    : m_sql(sql ? sql : g_pBaseSQLConnection.get()), m_name(name), m_statement(createStatement) {
    if (m_name.isEmpty())
        m_name = QStringLiteral("tmp%1").arg(QRandomGenerator::global()->generate64(), 16, 16,
                                             QLatin1Char('0'));
}

CxSQLTempTable::~CxSQLTempTable() {
    if (m_created && m_sql)
        m_sql->ExecuteCleanup(QStringLiteral("DROP TEMPORARY TABLE IF EXISTS `%1`").arg(m_name));
}

bool CxSQLTempTable::Create(CxSQLError* error) {
    if (!m_sql)
        return false;
    QString statement = m_statement;
    if (statement.contains(QStringLiteral("$$$")))
        statement.replace(QStringLiteral("$$$"), m_name);
    else
        statement = QStringLiteral("CREATE TEMPORARY TABLE `%1` ").arg(m_name) + statement;
    CxResult res = m_sql->Execute(statement);
    if (!res.isValid()) {
        if (error)
            *error = res.Error();
        return false;
    }
    m_created = true;
    return true;
}

bool CxSQLTempTable::CreateIndex(const QString& fields, bool unique, CxSQLError* error) {
    if (!m_sql || !m_created)
        return false;
    CxResult res =
        m_sql->Execute(QStringLiteral("ALTER TABLE `%1` ADD %2INDEX (%3)")
                           .arg(m_name, unique ? QStringLiteral("UNIQUE ") : QString(), fields));
    if (!res.isValid() && error)
        *error = res.Error();
    return res.isValid();
}
