#include "sql_auto_complete.h"

#include "framework/core/sql_connection.h"
#include "framework/core/table/cx_table.h"
#include "framework/core/table/safe_sql.h"

CSQLAutoComplete::CSQLAutoComplete(CxTable* table, CxSQL* sql) : m_table(table), m_sql(sql) {}

CxSQL* CSQLAutoComplete::Connection() const {
    return m_sql ? m_sql : g_pBaseSQLConnection.get();
}

QString CSQLAutoComplete::LikePrefix(const QString& text) {
    QString escaped;
    for (QChar c : text) {
        if (c == u'%' || c == u'_' || c == u'\\')
            escaped += u'\\';
        escaped += c;
    }
    return SafeSQL(escaped + u'%');
}

QString CSQLAutoComplete::BaseCondition(bool pickable) const {
    QStringList parts;
    if (pickable) {
        if (const CxField* mark = m_table->GetFolderMarkField())
            parts << QStringLiteral("IFNULL(") + m_table->GetFieldSQL(mark) +
                         QStringLiteral(",0)=0");
        if (const CxField* hidden = m_table->FindFieldByFlags(FF_HIDDEN))
            parts << QStringLiteral("IFNULL(") + m_table->GetFieldSQL(hidden) +
                         QStringLiteral(",0)=0");
    }
    if (!m_filter.isEmpty())
        parts << u'(' + m_filter + u')';
    return parts.join(QStringLiteral(" AND "));
}

QList<QPair<qint64, QString>> CSQLAutoComplete::Match(const QString& prefix, int limit,
                                                      const QPair<qint64, QString>* after) const {
    QList<QPair<qint64, QString>> rows;
    CxSQL* sql = Connection();
    const CxField* key = m_table ? m_table->GetKeyField() : nullptr;
    const CxField* name = m_table ? m_table->GetNameField() : nullptr;
    if (!sql || !key || !name)
        return rows;
    const QString keySQL = m_table->GetFieldSQL(key);
    const QString nameSQL = m_table->GetFieldSQL(name);
    QStringList where{BaseCondition(true)};
    if (!prefix.isEmpty())
        where << nameSQL + QStringLiteral(" LIKE ") + LikePrefix(prefix);
    if (after)
        where << QStringLiteral("(%1>%2 OR (%1=%2 AND %3>%4))")
                     .arg(nameSQL, SafeSQL(after->second), keySQL, QString::number(after->first));
    where.removeAll(QString());
    CxSelectOptions options;
    options.expressions << keySQL << nameSQL;
    options.where = where.join(QStringLiteral(" AND "));
    options.orderBy = nameSQL + u',' + keySQL;
    options.limit = QString::number(limit);
    CxResult res = sql->Execute(m_table->BuildSelect(options));
    while (res.FetchRow())
        rows.append({res.SFieldValue(0).toLongLong(), res.SFieldValue(1)});
    return rows;
}

qint64 CSQLAutoComplete::KeyOfText(const QString& text) const {
    CxSQL* sql = Connection();
    const CxField* key = m_table ? m_table->GetKeyField() : nullptr;
    const CxField* name = m_table ? m_table->GetNameField() : nullptr;
    if (!sql || !key || !name || text.trimmed().isEmpty())
        return -1;
    CxSelectOptions options;
    options.expressions << m_table->GetFieldSQL(key);
    QStringList where{BaseCondition(false),
                      m_table->GetFieldSQL(name) + u'=' + SafeSQL(text.trimmed())};
    // A folder is never a value, even when its name is typed in full.
    if (const CxField* mark = m_table->GetFolderMarkField())
        where << QStringLiteral("IFNULL(") + m_table->GetFieldSQL(mark) + QStringLiteral(",0)=0");
    where.removeAll(QString());
    options.where = where.join(QStringLiteral(" AND "));
    options.orderBy = m_table->GetFieldSQL(key);
    options.limit = QStringLiteral("1");
    CxResult res = sql->Execute(m_table->BuildSelect(options));
    return res.FetchRow() ? res.SFieldValue(0).toLongLong() : -1;
}

QString CSQLAutoComplete::TextOfKey(qint64 key) const {
    CxSQL* sql = Connection();
    const CxField* keyField = m_table ? m_table->GetKeyField() : nullptr;
    const CxField* name = m_table ? m_table->GetNameField() : nullptr;
    if (!sql || !keyField || !name)
        return QString();
    CxSelectOptions options;
    options.expressions << m_table->GetFieldSQL(name);
    options.where = m_table->GetFieldSQL(keyField) + u'=' + QString::number(key);
    options.defaultOrder = false;
    CxResult res = sql->Execute(m_table->BuildSelect(options));
    if (!res.FetchRow())
        return QString();
    QString text = res.SFieldValue(0);
    return text.isNull() ? QStringLiteral("") : text;
}
