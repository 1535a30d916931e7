#pragma once
// Running the daily reports' statements: a failure hands the server's text to
// the caller (the connection has already put the statement and the text on
// the application's error list), and rows go to a table in multi-row INSERTs.
#include "framework/core/sql_connection.h"

#include <QString>
#include <QStringList>

// Runs one statement; false (with *error) when there is no connection or the
// statement fails. result and insertId may be null.
bool RunDiarySQL(CxSQL* sql, const QString& statement, CxResult* result, QString* error,
                 qint64* insertId = nullptr);
// Sets *error (when given) and answers false.
bool FailDiary(QString* error, const QString& text);
// The first column of the first row as a number; *found says whether a row
// came back (a NULL reads as 0).
bool DiaryScalar(CxSQL* sql, const QString& statement, qint64* value, bool* found, QString* error);
// The organisation a report belongs to (its sheets' rows take it); a report
// that is gone is refused with "Ежедневный отчет не найден." translated in the
// sheet's context.
bool DiaryReportRegion(CxSQL* sql, qint64 reportId, const char* context, qint64* region,
                       QString* error);

// Rows for one table, sent as multi-row INSERTs of a bounded size. Values are
// complete SQL literals (numbers, SafeSQL texts, NULL): the caller escapes.
class CDiaryInsert {
public:
    CDiaryInsert(CxSQL* sql, const QString& table, const QStringList& columns);

    // Adds a row; sends the rows gathered so far when the statement is full.
    bool Add(const QStringList& values, QString* error);
    // Sends what is left.
    bool Finish(QString* error);
    qint64 Rows() const { return m_rows; }

private:
    bool Send(QString* error);

    CxSQL* m_sql;
    QString m_head;
    QString m_values;
    int m_pending = 0;
    qint64 m_rows = 0;
};
