#include "cx_table.h"

#include "cx_database.h"
#include "sql_placeholders.h"

#include <QDebug>

namespace {
QString And(const QStringList& parts) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.trimmed().isEmpty())
            kept << u'(' + p + u')';
    return kept.join(QStringLiteral(" AND "));
}
} // namespace

CxTable::CxTable(const QString& sqlTable, const QString& caption, const QString& name,
                 const QString& filter)
    : m_sqlTable(sqlTable), m_caption(caption), m_name(name), m_filter(filter) {}

CxTable::~CxTable() {
    g_pDatabase->RemoveLinksOf(this);
    qDeleteAll(m_fields);
}

CxField* CxTable::AddField(CxField* field) {
    m_fields.append(field);
    return field;
}

CxField* CxTable::RegisterField(unsigned id, const QString& column, const QString& caption,
                                quint32 flags) {
    return AddField(new CxField(this, id, column, caption, flags, nullptr, nullptr));
}

CxField* CxTable::RegisterField(unsigned id, const QString& column, const QString& caption,
                                quint32 flags, CEnum2* enumeration) {
    return AddField(new CxField(this, id, column, caption, flags, enumeration, nullptr));
}

CxField* CxTable::RegisterField(unsigned id, const QString& column, const QString& caption,
                                quint32 flags, CxTable* lookup) {
    return AddField(new CxField(this, id, column, caption, flags, nullptr, lookup));
}

void CxTable::RegisterSubTable(CxTable* subTable, const QString& link) {
    if (subTable)
        m_subTables.append(CxSubTable{subTable, link});
}

void CxTable::AddAttributes(std::initializer_list<int> ids) {
    for (int id : ids) {
        if (id == -1)
            break;
        if (!m_attributes.contains(id))
            m_attributes << id;
    }
}

CxField* CxTable::FindField(const QString& column) const {
    for (CxField* f : m_fields)
        if (f->GetColumn() == column)
            return f;
    return nullptr;
}

CxField* CxTable::FindFieldByID(unsigned id) const {
    for (CxField* f : m_fields)
        if (f->GetID() == id)
            return f;
    return nullptr;
}

CxField* CxTable::FindFieldByFlags(quint32 flags) const {
    for (CxField* f : m_fields)
        if (f->Is(flags))
            return f;
    return nullptr;
}

CxField* CxTable::GetFolderNameField() const {
    for (CxField* f : m_fields)
        if (f->HasAttribute(ATTR_FOLDERNAME))
            return f;
    return nullptr;
}

const CxJoin* CxTable::FindJoin(const QString& alias) const {
    for (const CxJoin& j : m_joins)
        if (j.alias.compare(alias, Qt::CaseInsensitive) == 0)
            return &j;
    return nullptr;
}

void CxTable::AddJoin(const CxJoin& join) {
    if (const CxJoin* known = FindJoin(join.alias)) {
        // One alias is one join; a second registration must say the same.
        if (known->table != join.table || known->expression != join.expression)
            qWarning().noquote() << "CxTable" << m_name << ": alias" << join.alias
                                 << "joined twice in different ways; the first join holds";
        return;
    }
    m_joins.append(join);
}

QString CxTable::ExpandSQL(const QString& text, const QString& selfAlias) const {
    const QString self = selfAlias.isEmpty() ? GetAlias() : selfAlias;
    return ReplaceSQLPlaceholders(text, [&](const QString& word) {
        if (word == QStringLiteral("TABLE"))
            return self;
        return word;
    });
}

QString CxTable::GetFieldSQL(const CxField* field) const {
    QString code = field->IsPlainColumn() ? GetAlias() + u'.' + field->GetColumn()
                                          : ExpandSQL(field->GetColumn());
    if ((field->GetFlags() & FF_ENUMTEXT) && field->GetEnum())
        return EnumTextSQL(field->GetEnum(), code);
    return code;
}

QString CxTable::GetFilterSQL(const QString& selfAlias) const {
    return m_filter.isEmpty() ? QString() : ExpandSQL(m_filter, selfAlias);
}

QList<const CxJoin*> CxTable::RequiredJoins(const QStringList& texts) const {
    QList<const CxJoin*> ordered;
    QStringList visiting;
    std::function<void(const QString&)> need = [&](const QString& word) {
        const CxJoin* join = FindJoin(word);
        if (!join || ordered.contains(join) || visiting.contains(join->alias))
            return;
        visiting << join->alias;
        // A join may hang on another join's alias: that one comes first.
        for (const QString& dep : SQLPlaceholders(join->expression))
            if (dep.compare(join->alias, Qt::CaseInsensitive) != 0)
                need(dep);
        ordered << join;
    };
    for (const QString& text : texts)
        for (const QString& word : SQLPlaceholders(text))
            need(word);
    return ordered;
}

QString CxTable::BuildSelect(const CxSelectOptions& options) const {
    QList<const CxField*> fields = options.fields;
    if (fields.isEmpty() && options.expressions.isEmpty())
        for (const CxField* f : m_fields)
            fields << f;

    QStringList texts{m_filter, options.where};
    QStringList columns;
    for (const QString& e : options.expressions) {
        texts << e;
        columns << ExpandSQL(e);
    }
    for (const QString& g : options.groupBy)
        texts << g;
    for (const CxField* f : fields) {
        texts << f->GetColumn();
        columns << GetFieldSQL(f) + QStringLiteral(" AS `") + f->GetResultName() + u'`';
    }

    QStringList where{GetFilterSQL(), ExpandSQL(options.where)};
    if (options.folder >= 0) {
        if (const CxField* parent = GetParentField())
            where << GetAlias() + u'.' + parent->GetColumn() + u'=' +
                         QString::number(options.folder);
    }

    QString order = options.orderBy;
    if (order.isEmpty() && options.defaultOrder) {
        QStringList parts;
        if (const CxField* mark = GetFolderMarkField())
            parts << GetAlias() + u'.' + mark->GetColumn() + QStringLiteral(" DESC");
        if (const CxField* name = GetNameField())
            parts << GetFieldSQL(name);
        if (const CxField* key = GetKeyField())
            parts << GetFieldSQL(key);
        order = parts.join(QStringLiteral(","));
    } else {
        texts << order;
        order = ExpandSQL(order);
    }

    QString sql = QStringLiteral("SELECT ") + columns.join(QStringLiteral(", ")) +
                  QStringLiteral(" FROM ") + m_sqlTable + QStringLiteral(" AS ") + GetAlias();
    for (const CxJoin* j : RequiredJoins(texts)) {
        const QString table = j->table ? j->table->GetSQLTable() : QString();
        QStringList on{ExpandSQL(j->expression)};
        if (j->table)
            on << j->table->GetFilterSQL(j->alias);
        sql += QStringLiteral(" LEFT JOIN ") + table + QStringLiteral(" AS ") + j->alias +
               QStringLiteral(" ON ") + And(on);
    }
    const QString condition = And(where);
    if (!condition.isEmpty())
        sql += QStringLiteral(" WHERE ") + condition;
    if (!options.groupBy.isEmpty()) {
        QStringList terms;
        for (const QString& g : options.groupBy)
            terms << ExpandSQL(g);
        sql += QStringLiteral(" GROUP BY ") + terms.join(u',');
    }
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order;
    if (!options.limit.isEmpty())
        sql += QStringLiteral(" LIMIT ") + options.limit;
    return sql;
}

QString CxTable::BuildListSelect(qint64 folder, const QString& where) const {
    CxSelectOptions options;
    options.folder = folder;
    options.where = where;
    return BuildSelect(options);
}

QString CxTable::BuildRecordSelect(qint64 key) const {
    const CxField* keyField = GetKeyField();
    if (!keyField)
        return QString();
    return BuildRecordSelect(QStringLiteral("{TABLE}.") + keyField->GetColumn() + u'=' +
                             QString::number(key));
}

QString CxTable::BuildRecordSelect(const QString& condition) const {
    CxSelectOptions options;
    options.where = condition;
    return BuildSelect(options);
}

QString CxTable::BuildSubTableSelect(int index, qint64 masterKey) const {
    if (index < 0 || index >= m_subTables.size())
        return QString();
    const CxSubTable& sub = m_subTables[index];
    const CxField* key = GetKeyField();
    if (!key)
        return QString();
    const QString master = QStringLiteral("MAINTABLE");
    const QString link = ReplaceSQLPlaceholders(sub.link, [&](const QString& word) {
        if (word == QStringLiteral("MAINTABLE"))
            return master;
        if (word == QStringLiteral("TABLE"))
            return sub.table->GetAlias();
        return word;
    });
    CxSelectOptions options;
    options.where = QStringLiteral("EXISTS (SELECT 1 FROM ") + m_sqlTable + QStringLiteral(" AS ") +
                    master + QStringLiteral(" WHERE ") + master + u'.' + key->GetColumn() + u'=' +
                    QString::number(masterKey) + QStringLiteral(" AND (") + link +
                    QStringLiteral("))");
    return sub.table->BuildSelect(options);
}
