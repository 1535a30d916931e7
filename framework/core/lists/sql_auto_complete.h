#pragma once
// The rows of a table that a user picks by name: the values of its name
// column (the one field flagged FF_NAME) with their keys, without folders and
// hidden rows, optionally narrowed by an SQL condition. It finds the rows
// that begin with a typed text, the key of a name and the name of a key; the
// auto-complete edit and the SQL combo list complete and resolve through it.
#include <QList>
#include <QPair>
#include <QString>

class CxSQL;
class CxTable;
class CxField;

class CSQLAutoComplete {
public:
    // sql null: the application's base connection.
    explicit CSQLAutoComplete(CxTable* table, CxSQL* sql = nullptr);

    CxTable* GetTable() const { return m_table; }
    // An extra condition ({TABLE} and the join aliases allowed), empty for
    // none.
    void SetSQLFilter(const QString& condition) { m_filter = condition; }
    const QString& GetSQLFilter() const { return m_filter; }

    // Up to limit rows (key, name) whose name begins with the text (without
    // regard to case), in name order; after (key, name) continues a list.
    QList<QPair<qint64, QString>> Match(const QString& prefix, int limit,
                                        const QPair<qint64, QString>* after = nullptr) const;
    // The key of the row with exactly that name (without regard to case),
    // -1 when none (or several: then the first by key). Folders are not
    // found; hidden rows are.
    qint64 KeyOfText(const QString& text) const;
    // The name of the row with that key, whatever its flags; a null text
    // when there is no such row.
    QString TextOfKey(qint64 key) const;

    // The SQL of a LIKE pattern that matches texts beginning with the text.
    static QString LikePrefix(const QString& text);

private:
    QString BaseCondition(bool pickable) const;
    CxSQL* Connection() const;

    CxTable* m_table;
    CxSQL* m_sql;
    QString m_filter;
};
