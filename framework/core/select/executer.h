#pragma once
// Runs selects and deletes over a table descriptor: the columns by field (or
// by a field flag), conditions on fields with their values escaped by the
// field's type, and the descriptor's joins and row filter applied. Deletes
// keep to the rows the descriptor sees (a directory view deletes only rows
// of its own kind).
#include "framework/core/sql_result.h"

#include <QList>
#include <QString>
#include <QStringList>

class CxField;
class CxSQL;
class CxTable;

// A value as an SQL literal of the field's type: a number for an integer
// field (ok false when the text is none), a quoted text otherwise.
QString SQLFieldLiteral(const CxField* field, const QString& value, bool* ok = nullptr);

class CxExecuter {
public:
    // sql null: the application's base connection.
    explicit CxExecuter(CxTable* table, CxSQL* sql = nullptr);

    // Select items: a field of the table, an SQL expression ({TABLE} and the
    // join aliases allowed), every field, or every field that has all the
    // flags (in registration order).
    void ASel(const CxField* field);
    void ASel(const QString& expression);
    void ASelAll();
    void ASelByFlags(quint32 flags);

    // A condition; joiner ("AND" or "OR") links it to the conditions before.
    void AWhere(const QString& condition, const QString& joiner = QStringLiteral("AND"));
    // field op value, the value written as the field's type needs (a number
    // for an integer field, a quoted text otherwise). The field may be named
    // by its flags: the table's first field carrying them.
    void AWhereField(const CxField* field, const QString& op, const QString& value,
                     const QString& joiner = QStringLiteral("AND"));
    void AWhereField(quint32 flags, const QString& op, const QString& value,
                     const QString& joiner = QStringLiteral("AND"));
    void AGroup(const QString& term) { m_group << term; }
    void AOrder(const QString& term) { m_order = term; }
    void ALimit(const QString& limit) { m_limit = limit; }

    QString BuildSelect() const;
    // DELETE of the rows the conditions name, within the table's row filter;
    // empty when there is no condition (a delete of everything is never
    // built by accident).
    QString BuildDelete() const;

    CxResult ExecSelect();
    bool ExecDelete(CxSQLError* error = nullptr);
    // Whether every value given so far could be written (a text where an
    // integer field needs a number is refused, and the statements then fail).
    bool IsValid() const { return m_valid; }

private:
    CxTable* m_table;
    CxSQL* m_sql;
    QList<const CxField*> m_fields;
    QStringList m_expressions;
    QString m_where;
    QStringList m_group;
    QString m_order;
    QString m_limit;
    bool m_valid = true;
};
