#include "sql_result.h"

#include <QDebug>
#include <atomic>

namespace {
std::atomic<CxFieldNotFoundHandler> g_fieldNotFound{nullptr};
std::atomic<qint64> g_nextFetchId{1};
} // namespace

void SetFieldNotFoundHandler(CxFieldNotFoundHandler handler) {
    g_fieldNotFound = handler;
}

void ReportFieldNotFound(const QString& name) {
    if (auto handler = g_fieldNotFound.load())
        handler(name);
    else
        qWarning() << "Not found!" << name;
}

bool CxResult::FetchRow(qint64 row) {
    if (!m_base || !m_base->FetchRow(row))
        return false;
    m_fetchId = g_nextFetchId++;
    return true;
}

int CxResult::FieldPos(const QString& name, int quiet) const {
    return m_base ? m_base->FieldIndex(name, quiet) : -1;
}

bool CxResult::IsNull(int index) const {
    if (!m_base || index < 0 || index >= m_base->FieldsCount() || !m_base->HasRow())
        return true;
    return m_base->RawField(index) == nullptr;
}

QString CxResult::SFieldValue(int index) const {
    if (!m_base || index < 0 || index >= m_base->FieldsCount() || !m_base->HasRow())
        return QString();
    const QString* text = m_base->TextValue(index);
    return text ? *text : QString();
}

long CxResult::LFieldValue(int index) const {
    if (!m_base || index < 0 || index >= m_base->FieldsCount() || !m_base->HasRow())
        return 0;
    return m_base->LongValue(index);
}

double CxResult::DFieldValue(int index) const {
    if (!m_base || index < 0 || index >= m_base->FieldsCount() || !m_base->HasRow())
        return 0;
    const char* raw = m_base->RawField(index);
    return raw ? QByteArray(raw).toDouble() : 0.0;
}
