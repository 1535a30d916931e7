#pragma once
// One registered column of a table descriptor: an SQL column or expression,
// its caption and flags, and what turns its code into text (an enumeration or
// a referenced table). Fields belong to their table.
#include "field_flags.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>

class CEnum2;
class CxTable;

class CxField {
public:
    CxField(CxTable* table, unsigned id, const QString& column, const QString& caption,
            quint32 flags, CEnum2* enumeration, CxTable* lookup);

    unsigned GetID() const { return m_id; }
    // The column text as registered: a column name, "{ALIAS}.column" or an
    // SQL expression with {TABLE} and alias placeholders.
    const QString& GetColumn() const { return m_column; }
    const QString& GetCaption() const { return m_caption; }
    quint32 GetFlags() const { return m_flags; }
    bool Is(quint32 flags) const { return (m_flags & flags) == flags; }
    CEnum2* GetEnum() const { return m_enum; }
    CxTable* GetLookupTable() const { return m_lookup; }
    CxTable* GetTable() const { return m_table; }

    // Joins another table under an alias ("{WORKER1}") on an expression; an
    // alias already joined by this table stays one join. Returns this field.
    CxField* LeftJoin(CxTable* joined, const QString& alias, const QString& expression,
                      quint32 flags);
    // The aliases (bare words) this field's joins made available.
    const QStringList& GetJoinAliases() const { return m_joinAliases; }

    // Attribute ids, ended by -1 (a single id may stand alone).
    template <typename... Ids> void SetFlags(Ids... ids) { AddAttributes({int(ids)...}); }
    void AddAttributes(std::initializer_list<int> ids);
    bool HasAttribute(int id) const { return m_attributes.contains(id); }
    const QList<int>& GetAttributes() const { return m_attributes; }

    // A bare column of the own table (no alias, no expression).
    bool IsPlainColumn() const;
    // The name under which the field comes back in a SELECT of its table.
    QString GetResultName() const;

private:
    CxTable* m_table;
    unsigned m_id;
    QString m_column;
    QString m_caption;
    quint32 m_flags;
    CEnum2* m_enum;
    CxTable* m_lookup;
    QStringList m_joinAliases;
    QList<int> m_attributes;
};
