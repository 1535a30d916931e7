#pragma once
// A table descriptor: the SQL table, its caption and logical name, an optional
// row filter (a view over a shared table), the registered fields, the joins
// they bring, sub-tables and the record address; builds the SELECT of a list
// or of one record. Column texts may hold {TABLE} (this table's alias),
// {MAINTABLE} (the master of a sub-table) and upper-case aliases in braces.
#include "cx_field.h"

#include <QList>
#include <QString>
#include <initializer_list>

class CEnum2;

struct CxJoin {
    CxTable* table = nullptr;
    QString alias; // bare word, without braces
    QString expression;
    quint32 flags = 0;
};

struct CxSubTable {
    CxTable* table = nullptr;
    QString link; // condition between {MAINTABLE} and {TABLE}
};

struct CxSelectOptions {
    QList<const CxField*> fields; // with no expressions either: every registered field
    QStringList expressions;      // further select items before the fields ({TABLE}, aliases)
    QString where;                // may use {TABLE} and the join aliases
    qint64 folder = -1;           // 0 or more: only the rows directly in that folder
    QStringList groupBy;          // GROUP BY terms ({TABLE}, aliases)
    QString orderBy;              // empty: folders first, then by name or key
    bool defaultOrder = true;     // false: no ORDER BY unless orderBy is given
    QString limit;                // the LIMIT clause ("1", "0,200"), empty for none
};

class CxTable {
public:
    CxTable(const QString& sqlTable, const QString& caption, const QString& name,
            const QString& filter = QString());
    virtual ~CxTable();

    virtual QString GetObjectName() const { return m_name; }
    // Nonzero for a table that the program refills from the configuration
    // rather than edits row by row.
    virtual int IsFilledFromConfig() const { return 0; }

    const QString& GetSQLTable() const { return m_sqlTable; }
    const QString& GetCaption() const { return m_caption; }
    const QString& GetName() const { return m_name; }
    const QString& GetFilter() const { return m_filter; }
    // The alias that {TABLE} stands for in this table's own statements.
    QString GetAlias() const { return m_sqlTable; }

    CxField* RegisterField(unsigned id, const QString& column, const QString& caption,
                           quint32 flags);
    CxField* RegisterField(unsigned id, const QString& column, const QString& caption,
                           quint32 flags, CEnum2* enumeration);
    CxField* RegisterField(unsigned id, const QString& column, const QString& caption,
                           quint32 flags, CxTable* lookup);
    void RegisterSubTable(CxTable* subTable, const QString& link);

    template <typename... Ids> void SetFlags(Ids... ids) { AddAttributes({int(ids)...}); }
    void AddAttributes(std::initializer_list<int> ids);
    bool HasAttribute(int id) const { return m_attributes.contains(id); }
    const QList<int>& GetAttributes() const { return m_attributes; }

    const QList<CxField*>& GetFields() const { return m_fields; }
    // The first field registered with that column text.
    CxField* FindField(const QString& column) const;
    CxField* FindFieldByID(unsigned id) const;
    // The first field carrying all these flags.
    CxField* FindFieldByFlags(quint32 flags) const;
    CxField* GetKeyField() const { return FindFieldByFlags(FF_KEY); }
    CxField* GetFolderMarkField() const { return FindFieldByFlags(FF_FOLDERMARK); }
    CxField* GetParentField() const { return FindFieldByFlags(FF_PARENT); }
    CxField* GetNameField() const { return FindFieldByFlags(FF_NAME); }
    // The column that names a folder (attribute 19114).
    CxField* GetFolderNameField() const;
    bool HasFolders() const { return GetFolderMarkField() && GetParentField(); }

    const QList<CxJoin>& GetJoins() const { return m_joins; }
    const CxJoin* FindJoin(const QString& alias) const;
    const QList<CxSubTable>& GetSubTables() const { return m_subTables; }

    void SetRecordAddress(const QString& address) { m_recordAddress = address; }
    const QString& GetRecordAddress() const { return m_recordAddress; }

    // Replaces {TABLE} by the given alias (this table's by default) and every
    // other {ALIAS} by its bare word, leaving string literals alone.
    QString ExpandSQL(const QString& text, const QString& selfAlias = QString()) const;
    // The SQL that yields the field's value inside this table's SELECT.
    QString GetFieldSQL(const CxField* field) const;
    // The row filter with this table's alias, empty when there is none.
    QString GetFilterSQL(const QString& selfAlias = QString()) const;

    QString BuildSelect(const CxSelectOptions& options = CxSelectOptions()) const;
    QString BuildListSelect(qint64 folder = -1, const QString& where = QString()) const;
    // One row by its key; a table without a key column is addressed by a
    // condition instead.
    QString BuildRecordSelect(qint64 key) const;
    QString BuildRecordSelect(const QString& condition) const;
    // The rows of a sub-table that belong to one master row.
    QString BuildSubTableSelect(int index, qint64 masterKey) const;

    CxTable(const CxTable&) = delete;
    CxTable& operator=(const CxTable&) = delete;

private:
    friend class CxField;
    CxField* AddField(CxField* field);
    void AddJoin(const CxJoin& join);
    // The joins a set of SQL texts needs, dependencies first.
    QList<const CxJoin*> RequiredJoins(const QStringList& texts) const;

    QString m_sqlTable;
    QString m_caption;
    QString m_name;
    QString m_filter;
    QString m_recordAddress;
    QList<int> m_attributes;
    QList<CxField*> m_fields;
    QList<CxJoin> m_joins;
    QList<CxSubTable> m_subTables;
};

// The SQL text of an enumeration's item text for a code expression; texts
// reach it only as quoted literals.
QString EnumTextSQL(CEnum2* enumeration, const QString& codeExpression);
