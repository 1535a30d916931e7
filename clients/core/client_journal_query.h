#pragma once
// The query of the client journal: one row per client (and per folder) of
// clientdata with its own columns and, through the newest-row mark
// nLastLinkID, the newest rows of its vulnerable groups (the "{CLIEXT}" join
// of the client table), risk behaviour, social status and drug use. A client
// without rows in a history shows nothing in that history's columns (NULL,
// or an empty text for the columns that show an enumeration's text).
//
// The journal is a descriptor of its own over clientdata
// (CxTable_ClientJournal): every field of the client table, and the history
// columns as fields joined on the mark ("{RiskBehavior}.nUseDirtySyr",
// "{DrugUseData_BASICDRUG}.cString"). So a list pages, sorts and filters the
// journal like any table: one flat SELECT whose joins hang on unique keys,
// read in the order of an index of clientdata, with only the joins its
// columns and conditions need.
//
// Built from the table descriptors, so it needs the table set (InitTables).
#include "framework/core/table/cx_table.h"

#include <QList>
#include <QString>

struct CClientJournalColumn {
    const CxTable* table = nullptr; // the journal's descriptor
    const CxField* field = nullptr; // its field
    QString resultName;             // the column's name in the query's result
    QString caption;                // the descriptor's caption
};

class CxTable_ClientJournal : public CxTable {
public:
    CxTable_ClientJournal();
    // The fields of the journal's 36 columns, in their order.
    const QList<CxField*>& JournalFields() const { return m_journal; }
    // The copy of a field of the client table.
    CxField* ClientField(const CxField* original) const;

private:
    friend class CClientJournalQuery;
    void Build();
    QList<CxField*> m_journal;
    QList<QPair<const CxField*, CxField*>> m_clientCopies;
};

class CClientJournalQuery {
public:
    // The journal's descriptor, made (again) from the current table set.
    static CxTable_ClientJournal* Table();
    // The journal's 36 columns in their order.
    static QList<CClientJournalColumn> Columns();
    // The SELECT of the journal: the columns above, then bIsFolder and
    // nGroupID of each row; folders first, then by code. folder >= 0 lists the
    // rows directly in that folder; where is a condition on the journal
    // ({TABLE} and its aliases may be used).
    static QString Select(qint64 folder = -1, const QString& where = QString());
};
