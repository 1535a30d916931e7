#include "mysql_result.h"

#include "framework/core/sql_connection.h"

#include <cstdlib>
#include <stdexcept>

MYSQLRES::~MYSQLRES() {
    ClearRow();
    if (m_result)
        mysql_free_result(m_result);
    m_result = nullptr;
    m_connection.reset();
}

void MYSQLRES::SetStream(MYSQL_RES* result, std::unique_ptr<CxSQL> connection,
                         const QString& statement) {
    SetResult(result);
    m_streamed = true;
    m_connection = std::move(connection);
    m_statement = statement;
}

void MYSQLRES::SetResult(MYSQL_RES* result) {
    if (m_result)
        mysql_free_result(m_result);
    m_result = result;
    m_row = nullptr;
    m_names.clear();
    ClearRow();
}

void MYSQLRES::ClearRow() {
    m_converted.clear();
    m_convertedNull.clear();
    m_rowConverted = false;
}

bool MYSQLRES::FetchRow(qint64 row) {
    if (m_streamed) {
        // Forward only: the rows already read are gone.
        if (!m_result || row != -1)
            return false;
        ClearRow();
        m_row = mysql_fetch_row(m_result);
        if (!m_row && mysql_errno(m_handle) != 0)
            m_fetchError = CxSQLError{mysql_errno(m_handle), m_connection->GetSqlErrorString(),
                                      m_statement, QString()};
        return m_row != nullptr;
    }
    if (!m_result || row >= RowsCount())
        return false;
    if (row != -1) {
        if (row < 0)
            return false;
        mysql_data_seek(m_result, static_cast<my_ulonglong>(row));
    }
    ClearRow();
    m_row = mysql_fetch_row(m_result);
    return m_row != nullptr;
}

int MYSQLRES::FieldsCount() const {
    return m_result ? static_cast<int>(mysql_num_fields(m_result)) : 0;
}

qint64 MYSQLRES::RowsCount() const {
    return m_result ? static_cast<qint64>(mysql_num_rows(m_result)) : 0;
}

void MYSQLRES::CheckIndex(int index) const {
    if (index < 0 || index >= FieldsCount())
        throw std::invalid_argument("field index out of range");
}

QString MYSQLRES::FieldName(int index) {
    CheckIndex(index);
    if (m_names.size() != FieldsCount()) {
        m_names.clear();
        const MYSQL_FIELD* fields = mysql_fetch_fields(m_result);
        for (int i = 0; i < FieldsCount(); ++i)
            m_names << QString::fromUtf8(fields[i].name, fields[i].name_length);
    }
    return m_names[index];
}

int MYSQLRES::FieldIndex(const QString& name, int quiet) {
    for (int i = 0; i < FieldsCount(); ++i) {
        if (FieldName(i) == name)
            return i;
    }
    if (!quiet)
        ReportFieldNotFound(name);
    return -1;
}

const QString* MYSQLRES::TextValue(int index) {
    CheckIndex(index);
    if (!m_row)
        return nullptr;
    if (!m_rowConverted) {
        const unsigned long* lengths = mysql_fetch_lengths(m_result);
        const int n = FieldsCount();
        m_converted.resize(n);
        m_convertedNull.resize(n);
        for (int i = 0; i < n; ++i) {
            m_convertedNull[i] = m_row[i] == nullptr;
            if (m_row[i])
                m_converted[i] = QString::fromUtf8(m_row[i], static_cast<qsizetype>(lengths[i]));
        }
        m_rowConverted = true;
    }
    return m_convertedNull[index] ? nullptr : &m_converted[index];
}

long MYSQLRES::LongValue(int index) {
    CheckIndex(index);
    if (!m_row || !m_row[index])
        return 0;
    return std::atol(m_row[index]);
}

QByteArray MYSQLRES::RawTextOrEmpty(int index) {
    CheckIndex(index);
    if (!m_row || !m_row[index])
        return QByteArray();
    return QByteArray(m_row[index], static_cast<qsizetype>(FieldLength(index)));
}

unsigned long MYSQLRES::FieldLength(int index) {
    CheckIndex(index);
    if (!m_row)
        return 0;
    return mysql_fetch_lengths(m_result)[index];
}

const char* MYSQLRES::RawField(int index) {
    CheckIndex(index);
    return m_row ? m_row[index] : nullptr;
}
