#pragma once
// Builds one SELECT from its parts: items, joins, conditions (joined by AND)
// and grouping, for callers that write their SQL without a table descriptor.
// A statement to run before the select (a temporary table it reads, for
// example) may ride along.
#include <QString>
#include <QStringList>

class CxSQL;
struct CxSQLError;

class CSimpleSelect {
public:
    void Select(const QString& item) { m_items << item; }
    // kind: "LEFT", "INNER" or empty (a plain JOIN).
    void Join(const QString& kind, const QString& table, const QString& condition);
    void Where(const QString& condition) { m_where << condition; }
    void Group(const QString& term) { m_group << term; }
    void Order(const QString& term) { m_order << term; }
    void Limit(const QString& limit) { m_limit = limit; }
    void PreQuery(const QString& statement) { m_preQueries << statement; }

    // Runs the statements given to PreQuery in order; stops at the first that
    // fails (its error handed back).
    bool ExecPreQuery(CxSQL* sql = nullptr, CxSQLError* error = nullptr) const;
    // The SELECT over the table (a name, or a name with an alias).
    QString Build(const QString& table) const;

private:
    QStringList m_items;
    QStringList m_joins;
    QStringList m_where;
    QStringList m_group;
    QStringList m_order;
    QString m_limit;
    QStringList m_preQueries;
};
