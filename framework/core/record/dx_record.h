#pragma once
#include "framework/core/app/record_commands.h"
// Record binding: the values of one or more rows of one SQL table, loaded by
// key, changed field by field and written back with an edit action. Forms
// bind their controls to such a record; list pages and sheets push several
// rows and write them at once.
//
// Only the fields that were set since the row was loaded are written, so a
// column that no control shows keeps its stored value. Every value reaches
// the statement through SafeSQL (the connection's escaping); column names
// come from the program and must be plain identifiers.
#include "framework/core/sql_result.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class CxSQL;
class CxTable;

// What an edit action does with the record's rows.
enum EditActions : int {
    // Insert or update by key: each row is inserted, and where a row with the
    // same primary or unique key already exists, that row is updated with the
    // row's set fields instead (INSERT ... ON DUPLICATE KEY UPDATE). A row
    // written alone gets the ROWID of the row inserted or updated as index.
    EA_INSERT_OR_UPDATE = 2002,
    EA_EDIT = ID_RECORD_EDIT, // update the existing row by its key
    // Insert every row of the record (0x808): they go to the server in
    // multi-row INSERT statements, and each row's index becomes its new
    // ROWID.
    EA_NEW = ID_RECORD_NEW,
    EA_DELETE = ID_RECORD_DELETE, // delete the row by its key
};

// What failed in a record operation, for the caller to show at the right
// place: the failed statement (server code, text, statement), the column the
// failure is about (a bare column name, empty when it is the record as a
// whole) and the user's text.
struct CxDXError {
    CxSQLError sql;
    QString field;
    QString message;
    bool isSet() const { return !message.isEmpty() || sql.isSet(); }
};

// The server's error number for a value that a unique key already holds.
constexpr unsigned kSQLErrDuplicateEntry = 1062;

// "dir.cString" -> "cString"; a bare name stays as it is.
QString SqlFieldFromFullName(const QString& fullName);

class CDXRecordSQL {
public:
    // sql null: the application's base connection at the time of each call.
    CDXRecordSQL(CxSQL* sql, const QString& table, int flags = 0);
    ~CDXRecordSQL();

    const QString& GetTableName() const { return m_table; }
    CxSQL* GetSQL() const;

    // Loads the row of that ROWID into a fresh record of one row. False when
    // there is no such row (error left empty) or the select failed (error
    // set).
    bool Load(qint64 key, CxDXError* error = nullptr);
    // Whether the current row came from the database.
    bool IsLoaded() const;

    // Rows: the record starts with one empty row; Push adds an empty row and
    // makes it current; RemoveAll leaves one empty row.
    void Push();
    void RemoveAll();
    int GetRowCount() const { return int(m_rows.size()); }
    // Makes another row current (0-based).
    void SetCurrentRow(int index);
    int GetCurrentRow() const { return m_current; }

    // The key of the current row as text: its ROWID once stored, empty for a
    // row not stored yet.
    QString GetDXIndex() const;
    void SetDXIndex(const QString& index);
    // The key as a number, -1 when there is none.
    qint64 GetKey() const;

    // Fields of the current row, by full ("dir.cString") or bare name,
    // without regard to case: every column of a loaded row plus every field
    // set since.
    QStringList GetFields() const;
    bool HasField(const QString& name) const;
    bool IsFieldNull(const QString& name) const;
    // NULL and unknown fields read as an empty text or 0.
    QString SFieldValue(const QString& name) const;
    long LFieldValue(const QString& name) const;
    // Whether the field was set since the row was loaded or written.
    bool IsFieldChanged(const QString& name) const;
    void SetFieldValue(const QString& name, const QString& value);
    void SetFieldValue(const QString& name, long value);
    void SetFieldNull(const QString& name);
    // Forgets that a field was set (it will not be written).
    void ClearFieldChange(const QString& name);

    // Writes the rows with the action; on success the changes count as
    // stored. On failure nothing of the record changes (the caller's
    // transaction decides what stays in the database).
    bool ApplyDXRecordAction(int action, CxDXError* error = nullptr);

    // The statement an action would run for the current row (for tests and
    // messages); empty when there is nothing to write.
    QString BuildStatement(int action) const;

    CDXRecordSQL(const CDXRecordSQL&) = delete;
    CDXRecordSQL& operator=(const CDXRecordSQL&) = delete;

    struct Value {
        QString name; // the column's own spelling
        QString text;
        bool null = true;
        bool changed = false;
    };
    struct Row {
        QList<Value> values;
        QString index;
        bool loaded = false;
        const Value* Find(const QString& bare) const;
        Value* Find(const QString& bare);
        Value& Get(const QString& bare);
    };

    // The whole state of the record (rows, values, what is set, indexes), to
    // put back when the transaction that wrote it was rolled back.
    struct State {
        QList<Row> rows;
        int current = 0;
    };
    State SaveState() const { return State{m_rows, m_current}; }
    void RestoreState(const State& state) {
        m_rows = state.rows;
        m_current = state.current;
    }

private:
    Row& Current() { return m_rows[m_current]; }
    const Row& Current() const { return m_rows[m_current]; }
    QString BuildInsert(const QList<const Row*>& rows, bool orUpdate) const;
    // Whether the table has the ROWID column (asked once).
    bool HasKeyColumn() const;
    QString BuildUpdate(const Row& row) const;
    QString BuildDelete(const Row& row) const;
    bool Run(const QString& statement, CxDXError* error, qint64* insertId = nullptr,
             qint64* affected = nullptr);
    void DescribeFailure(const CxSQLError& sql, CxDXError* error);

    CxSQL* m_sql;
    QString m_table;
    QList<Row> m_rows;
    int m_current = 0;
    mutable int m_hasKeyColumn = -1; // -1 not asked yet
};
using CDXRecord = CDXRecordSQL;

// A record of a table for a ROWID: with load set, the row is read and null is
// answered when it does not exist (or the select failed); without, an empty
// record of one new row. key -1 never loads.
std::unique_ptr<CDXRecordSQL> AllocateSQLDXRecord(const QString& table, qint64 key, int load,
                                                  CxSQL* sql = nullptr);

// Whether the row of a descriptor can be deleted: no row of another table
// refers to it (by the links of the database model; the rows of its
// sub-tables are its own and do not count), and a folder is empty.
// When it cannot, reason receives the user's text. A failed look-up answers
// false.
bool IsSafeToDelete(CxTable* table, qint64 key, int flags, QString* reason = nullptr,
                    CxSQL* sql = nullptr);
// Rows of the table's registered sub-tables (a client's dated histories)
// belong to the row and do not keep it from going: this deletes them, inside
// the caller's transaction, before the row itself. False with the server's
// text when a statement fails.
bool DeleteOwnedRows(CxTable* table, qint64 key, CxSQL* sql = nullptr, QString* error = nullptr);
