#pragma once
// Builds one SELECT from its parts: items, joins, conditions (joined by AND)
// and grouping, for callers that write their SQL without a table descriptor.
// A statement to run before the select (a temporary table it reads, for
// example) may ride along.
//
// Several independent callers may add the same part (two report fields that
// both join the service point under one alias): an item, a join or a grouping
// term given again, word for word, is kept once, so the statement stays valid.
#include <QString>
#include <QStringList>

class CxSQL;
struct CxSQLError;

class CSimpleSelect {
public:
    void Select(const QString& item) { AddOnce(m_items, item); }
    // kind: "LEFT", "INNER" or empty (a plain JOIN).
    void Join(const QString& kind, const QString& table, const QString& condition);
    void Where(const QString& condition) { m_where << condition; }
    void Group(const QString& term) { AddOnce(m_group, term); }
    void Order(const QString& term) { AddOnce(m_order, term); }
    // The grouping terms in the order given (a caller that pages the result
    // orders by them).
    const QStringList& GetGroup() const { return m_group; }
    void Limit(const QString& limit) { m_limit = limit; }
    void PreQuery(const QString& statement) { m_preQueries << statement; }

    // Runs the statements given to PreQuery in order; stops at the first that
    // fails (its error handed back).
    bool ExecPreQuery(CxSQL* sql = nullptr, CxSQLError* error = nullptr) const;
    // The SELECT over the table (a name, or a name with an alias).
    QString Build(const QString& table) const;

private:
    static void AddOnce(QStringList& list, const QString& part) {
        if (!list.contains(part))
            list << part;
    }

    QStringList m_items;
    QStringList m_joins;
    QStringList m_where;
    QStringList m_group;
    QStringList m_order;
    QString m_limit;
    QStringList m_preQueries;
};
