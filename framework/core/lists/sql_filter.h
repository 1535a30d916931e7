#pragma once
// A filter of a list: conditions on fields (field, operator, value; values
// written as the field's type needs) and raw SQL conditions, all joined by
// AND. Forms and pages that filter a list derive from it or own one.
#include <QList>
#include <QString>

class CxField;
class CxTable;

class CxSQLFilter {
public:
    virtual ~CxSQLFilter() = default;

    void AddFilter(const CxField* field, const QString& op, const QString& value);
    // A condition in SQL ({TABLE} and the join aliases allowed).
    void AddSQLFilter(const QString& condition);
    void ClearFilter();
    bool IsEmpty() const { return m_terms.isEmpty(); }

    // The condition for a table's select; empty for no condition. A value
    // that does not fit its field makes the filter match nothing.
    virtual QString BuildCondition(const CxTable* table) const;

private:
    struct Term {
        const CxField* field = nullptr;
        QString op;
        QString value;
        QString sql;
    };
    QList<Term> m_terms;
};
