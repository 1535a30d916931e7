#include "rep_field.h"

#include "framework/core/sql_result.h"

void CRepField::Bind(CxResult* result) {
    m_pResult = result;
    m_nFetchID = result ? result->GetFetchID() : -1;
    const QString name = GetFieldName();
    m_nColumn = (result && !name.isEmpty()) ? result->FieldPos(name, 0) : 0;
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
