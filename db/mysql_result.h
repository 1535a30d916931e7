#pragma once
// A stored MySQL result read row by row, with values converted from the
// connection's UTF-8 to QString once per row.
#include "framework/core/sql_result.h"

#include <QList>
#include <QStringList>
#include <memory>
#include <mysql.h>

class CxSQL;

class MYSQLRES : public CxResultBase {
public:
    explicit MYSQLRES(MYSQL* handle = nullptr) : m_handle(handle) {}
    ~MYSQLRES() override;

    // Takes over a stored result, dropping any earlier one.
    void SetResult(MYSQL_RES* result);
    void SetAffectedRows(qint64 rows) { m_affected = rows; }
    // Takes over a result read row by row (mysql_use_result) together with
    // the connection it holds busy until its end.
    void SetStream(MYSQL_RES* result, std::unique_ptr<CxSQL> connection, const QString& statement);

    bool FetchRow(qint64 row) override;
    int FieldsCount() const override;
    qint64 RowsCount() const override;
    QString FieldName(int index) override;
    int FieldIndex(const QString& name, int quiet) override;
    bool HasRow() const override { return m_row != nullptr; }
    const QString* TextValue(int index) override;
    long LongValue(int index) override;
    QByteArray RawTextOrEmpty(int index) override;
    qint64 AffectedRows() const override { return m_affected; }
    unsigned long FieldLength(int index) override;
    const char* RawField(int index) override;
    CxSQLError FetchError() const override { return m_fetchError; }

private:
    void CheckIndex(int index) const;
    void ClearRow();

    QStringList m_names;
    QList<QString> m_converted;
    QList<bool> m_convertedNull;
    bool m_rowConverted = false;
    MYSQL_RES* m_result = nullptr;
    MYSQL_ROW m_row = nullptr;
    MYSQL* m_handle;
    qint64 m_affected = -1;
    bool m_streamed = false;
    CxSQLError m_fetchError;
    QString m_statement;
    // Freed after the result (the destructor frees that first).
    std::unique_ptr<CxSQL> m_connection;
};
