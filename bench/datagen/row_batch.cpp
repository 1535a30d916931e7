#include "row_batch.h"

#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"

#include <charconv>

CRowBatch::CRowBatch(CxSQL* sql, const char* table, std::initializer_list<const char*> columns,
                     int rowsPerStatement)
    : m_sql(sql), m_rowsPerStatement(rowsPerStatement) {
    m_head = QByteArray("INSERT INTO ") + table + " (";
    bool first = true;
    for (const char* column : columns) {
        if (!first)
            m_head += ',';
        m_head += column;
        first = false;
    }
    m_head += ") VALUES ";
    m_values.reserve(1 << 20);
}

void CRowBatch::BeginRow() {
    if (m_pending)
        m_values += ',';
    m_values += '(';
    m_firstValue = true;
}

void CRowBatch::Separate() {
    if (!m_firstValue)
        m_values += ',';
    m_firstValue = false;
}

void CRowBatch::Int(qint64 value) {
    Separate();
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_values.append(digits, end - digits);
}

void CRowBatch::Null() {
    Separate();
    m_values += "NULL";
}

void CRowBatch::Text(const QString& value, bool nullIfEmpty) {
    if (nullIfEmpty && value.isEmpty()) {
        Null();
        return;
    }
    Separate();
    m_values += SafeSQL(value).toUtf8();
}

void CRowBatch::Date(const QDate& value) {
    if (!value.isValid()) {
        Null();
        return;
    }
    Separate();
    char text[16];
    const int n = std::snprintf(text, sizeof text, "'%04d-%02d-%02d'", value.year(), value.month(),
                                value.day());
    m_values.append(text, n);
}

bool CRowBatch::EndRow() {
    m_values += ')';
    ++m_pending;
    ++m_rows;
    if (m_pending >= m_rowsPerStatement)
        return Send();
    return !m_failed;
}

bool CRowBatch::Finish() {
    return m_pending ? Send() : !m_failed;
}

bool CRowBatch::Send() {
    if (!m_failed) {
        CxResult res = m_sql->ExecuteRaw(m_head + m_values);
        if (!res.isValid()) {
            m_failed = true;
            m_error = res.Error();
        }
    }
    m_values.truncate(0);
    m_pending = 0;
    return !m_failed;
}
