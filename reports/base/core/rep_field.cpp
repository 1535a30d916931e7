#include "rep_field.h"

#include "framework/core/sql_result.h"

void CRepField::Bind(CxResult* result) {
    m_pResult = result;
    m_nFetchID = result ? result->GetFetchID() : -1;
    const QString name = GetFieldName();
    m_nColumn = name.isEmpty() ? 0 : ColumnPos(name);
}

int CRepField::ColumnPos(const QString& name) const {
    if (!m_pResult)
        return -1;
    const int exact = m_pResult->FieldPos(name, 1);
    if (exact >= 0)
        return exact;
    for (int i = 0; i < m_pResult->FieldsCount(); ++i)
        if (m_pResult->FieldName(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

long CRepField::ColumnLong(long pos) const {
    if (!m_pResult || pos < 0 || !m_pResult->isFetched())
        return 0;
    return m_pResult->LFieldValue(int(pos));
}

QString CRepField::ColumnText(long pos) const {
    if (!m_pResult || pos < 0 || !m_pResult->isFetched())
        return QString();
    return m_pResult->SFieldValue(int(pos));
}

bool CRepField::IsNewRow() {
    if (!m_pResult)
        return false;
    const qint64 id = m_pResult->GetFetchID();
    if (id == m_nFetchID)
        return false;
    m_nFetchID = id;
    return true;
}
