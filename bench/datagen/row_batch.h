#pragma once
// Rows for one table gathered into multi-row INSERT statements and sent when
// a statement is full: the fast way to fill a table over a connection.
//
//   CRowBatch visits(sql, "dailyvisits", {"nReportID", "nClientID"});
//   visits.BeginRow(); visits.Int(7); visits.Int(12); visits.EndRow();
//   visits.Finish();
#include "framework/core/sql_result.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <initializer_list>

class CxSQL;

class CRowBatch {
public:
    CRowBatch(CxSQL* sql, const char* table, std::initializer_list<const char*> columns,
              int rowsPerStatement = 5000);

    void BeginRow();
    void Int(qint64 value);
    void Null();
    // A text, escaped; an empty text is stored as NULL when nullIfEmpty.
    void Text(const QString& value, bool nullIfEmpty = false);
    // A date as 'yyyy-mm-dd'; an invalid date is stored as NULL.
    void Date(const QDate& value);
    // Ends the row; sends the statement when it is full. False once a
    // statement failed (Error() says why); later rows are dropped.
    bool EndRow();
    // Sends what is left.
    bool Finish();

    qint64 Rows() const { return m_rows; }
    const CxSQLError& Error() const { return m_error; }

private:
    void Separate();
    bool Send();

    CxSQL* m_sql;
    QByteArray m_head;
    QByteArray m_values;
    int m_rowsPerStatement;
    int m_pending = 0;
    qint64 m_rows = 0;
    bool m_firstValue = true;
    bool m_failed = false;
    CxSQLError m_error;
};
