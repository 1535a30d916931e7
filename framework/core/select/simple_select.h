#pragma once
// Builds one SELECT from its parts: items, joins, conditions (joined by AND)
// and grouping, for callers that write their SQL without a table descriptor.
// A statement to run before the select (a temporary table it reads, for
// example) may ride along.
//
// Several parts of a report often need the same table: an item given twice
// is selected once, and a join given twice (the same alias, kind and
// condition) is made once. One alias joined twice on different terms would
// make a query that reads the wrong rows or none; the builder refuses it
// (Join answers false and the builder keeps the reason in GetError()).
#include <QString>
#include <QStringList>

class CxSQL;
struct CxSQLError;

class CSimpleSelect {
public:
    // An item already selected (the same text) is not added again.
    void Select(const QString& item);
    // kind: "LEFT", "INNER" or empty (a plain JOIN). The alias is the word
    // after "AS" (or after the table's name), else the table's name.
    // False when the alias was joined before on another kind or condition.
    bool Join(const QString& kind, const QString& table, const QString& condition);
    void Where(const QString& condition) { m_where << condition; }
    // A grouping or ordering term given again, word for word, is kept once
    // (two report fields may both group by the client).
    void Group(const QString& term) {
        if (!m_group.contains(term))
            m_group << term;
    }
    void Order(const QString& term) {
        if (!m_order.contains(term))
            m_order << term;
    }
    // The grouping terms in the order given (a caller that pages the result
    // orders by them).
    const QStringList& GetGroup() const { return m_group; }
    void Limit(const QString& limit) { m_limit = limit; }
    void PreQuery(const QString& statement) { m_preQueries << statement; }

    // Empty while every join was accepted; else what was refused.
    const QString& GetError() const { return m_error; }
    const QStringList& GetOrder() const { return m_order; }

    // Runs the statements given to PreQuery in order; stops at the first that
    // fails (its error handed back).
    bool ExecPreQuery(CxSQL* sql = nullptr, CxSQLError* error = nullptr) const;
    // The SELECT over the table (a name, or a name with an alias).
    QString Build(const QString& table) const;

    // The alias a join's table text names ("dir AS WorkPlace" -> WorkPlace).
    static QString AliasOf(const QString& table);

private:
    struct JoinPart {
        QString alias; // lower case
        QString kind;  // upper case, empty for a plain join
        QString table;
        QString condition;
    };
    QStringList m_items;
    QList<JoinPart> m_joins;
    QStringList m_where;
    QStringList m_group;
    QStringList m_order;
    QString m_limit;
    QStringList m_preQueries;
    QString m_error;
};
