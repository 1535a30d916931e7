#pragma once
// A session temporary table that lives as long as its object: made from a
// creating statement in which "$$$" stands for the table's name, indexed on
// demand, dropped when the object goes.
#include <QString>

class CxSQL;
struct CxSQLError;

class CxSQLTempTable {
public:
    // An empty name: a unique one is made ("tmp" and 16 hexadecimal digits).
    // The statement is run as given, with "$$$" replaced by the name; one
    // without "$$$" is the definition or SELECT that follows
    // "CREATE TEMPORARY TABLE <name>".
    CxSQLTempTable(CxSQL* sql, const QString& name, const QString& createStatement);
    ~CxSQLTempTable();

    bool Create(CxSQLError* error = nullptr);
    // fields: "a,b"; unique makes it a unique index.
    bool CreateIndex(const QString& fields, bool unique, CxSQLError* error = nullptr);
    const QString& GetName() const { return m_name; }
    bool IsCreated() const { return m_created; }

    CxSQLTempTable(const CxSQLTempTable&) = delete;
    CxSQLTempTable& operator=(const CxSQLTempTable&) = delete;

private:
    CxSQL* m_sql;
    QString m_name;
    QString m_statement;
    bool m_created = false;
};
