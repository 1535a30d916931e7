#include "org_card.h"

#include "framework/core/app/record_commands.h"

#include "framework/core/enums/enum2.h"
#include "framework/core/run_log.h"
#include "framework/core/sql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "model/enums/directory_enums.h"
#include "model/tables/table_set.h"

namespace {
QString Quoted(const QString& column) {
    QString c = column;
    return u'`' + c.replace(u'`', QStringLiteral("``")) + u'`';
}

const QList<CxGuardedRows>& OwnCardRows() {
    static const QList<CxGuardedRows> rows{
        CxGuardedRows{QStringLiteral("orginf"), QStringLiteral("ROWID=0"), {}}};
    return rows;
}
} // namespace

bool COrgInfoCard::Load(CxSQL* sql, QString* error) {
    // The fingerprint first: a change arriving while the card is read makes
    // its save refuse rather than overwrite it.
    if (!m_guard.Take(sql, OwnCardRows(), error))
        return false;
    CxResult res = sql->Execute(QStringLiteral("SELECT * FROM orginf WHERE orginf.ROWID=0"));
    if (!res.isValid()) {
        if (error)
            *error = DescribeSQLError(res.Error());
        return false;
    }
    m_new = !res.FetchRow();
    m_facts.clear();
    const xOrgInfoFields* fields = g_pOrgInfoFields.Get();
    POSITION pos = fields->InitScan_sEnum2();
    while (fields->ScanNext_sEnum2(pos)) {
        const sEnum2* item = fields->Current_sEnum2(pos);
        COrgFact fact;
        fact.column = item->GetName();
        fact.caption = item->GetText();
        if (!m_new)
            fact.value = res.SFieldValue(res.FieldPos(fact.column, 1));
        m_facts << fact;
    }
    return true;
}

bool COrgInfoCard::Save(CxSQL* sql, QString* error) {
    QStringList columns, values, assignments;
    for (const COrgFact& fact : m_facts) {
        columns << Quoted(fact.column);
        values << SafeSQL(fact.value);
        assignments << Quoted(fact.column) + u'=' + SafeSQL(fact.value);
    }
    m_changedMeanwhile = false;
    CxResult res;
    if (sql->BeginTransaction()) {
        // Row 0 as the card read it, locked to the end of the save.
        bool unchanged = true;
        QString why;
        if (!m_guard.CheckUnchanged(sql, &unchanged, &why) || !unchanged) {
            m_changedMeanwhile = why.isEmpty();
            if (error)
                *error = why.isEmpty() ? CxRowsFingerprint::ChangedMeanwhileText() : why;
            sql->RollbackAfterFailure(error);
            return false;
        }
        // Whether row 0 exists now decides between UPDATE and INSERT.
        res = sql->Execute(QStringLiteral("SELECT ROWID FROM orginf WHERE ROWID=0 FOR UPDATE"));
        if (res.isValid()) {
            const bool exists = res.FetchRow();
            res =
                sql->Execute(exists ? QStringLiteral("UPDATE orginf SET %1 WHERE ROWID=0")
                                          .arg(assignments.join(u','))
                                    : QStringLiteral("INSERT INTO orginf (ROWID,%1) VALUES (0,%2)")
                                          .arg(columns.join(u','), values.join(u',')));
        }
        // The next save starts from what this one stored.
        CxRowsFingerprint stored;
        if (res.isValid() && !stored.Take(sql, OwnCardRows(), &why)) {
            if (error)
                *error = why;
            sql->RollbackAfterFailure(error);
            return false;
        }
        if (res.isValid() && sql->CommitTransaction()) {
            m_new = false;
            m_guard = stored;
            return true;
        }
        if (error)
            *error = res.Error().isSet() ? DescribeSQLError(res.Error()) : sql->GetSqlErrorString();
        sql->RollbackAfterFailure(error);
        return false;
    }
    if (error)
        *error = sql->GetSqlErrorString();
    return false;
}

QString OrgListSelect() {
    const CxTable_OrgInf* table = g_pOrgInfTable;
    if (!table)
        return QString();
    CxSelectOptions options;
    options.fields = {table->m_ROWID, table->m_cOrgID,  table->m_cOrgName, table->m_cPrjName,
                      table->m_cCity, table->m_cRegion, table->m_cSogName};
    return table->BuildSelect(options);
}

bool OrgListCommandEnabled(int command, qint64 selectedId, bool ownCardExists) {
    switch (command) {
    case ID_RECORD_EDIT:
    case kOrgCmdOpenCard2:
        return selectedId == 0;
    case ID_RECORD_NEW:
        return !ownCardExists;
    case ID_RECORD_DELETE:
        return selectedId >= 1;
    case kOrgCmdSearchPanel:
        return true;
    default:
        return false;
    }
}

bool OwnOrgCardExists(CxSQL* sql, bool* exists, QString* error) {
    CxResult res = sql->Execute(QStringLiteral("SELECT ROWID FROM orginf WHERE ROWID=0"));
    if (!res.isValid()) {
        if (error)
            *error = DescribeSQLError(res.Error());
        return false;
    }
    *exists = res.FetchRow();
    return true;
}
