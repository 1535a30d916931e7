#pragma once
// The query of the client journal: one row per client (and per folder) of
// clientdata with its own columns and, through the newest-row mark
// nLastLinkID, the newest rows of its vulnerable groups (the "{CLIEXT}" join
// of the client table), risk behaviour, social status and drug use. A client
// without rows in a history shows NULL in that history's columns.
//
// Built from the table descriptors, so it needs the table set (InitTables).
#include <QList>
#include <QString>

class CxField;
class CxTable;

struct CClientJournalColumn {
    const CxTable* table = nullptr;
    const CxField* field = nullptr;
    QString resultName; // the column's name in the query's result
    QString caption;    // the descriptor's caption
};

class CClientJournalQuery {
public:
    // The journal's 36 columns in their order.
    static QList<CClientJournalColumn> Columns();
    // The SELECT of the journal: the columns above, then bIsFolder and
    // nGroupID of each row; folders first, then by code. folder >= 0 lists the
    // rows directly in that folder; where is a condition on clientdata
    // ({TABLE} and the client table's aliases may be used).
    static QString Select(qint64 folder = -1, const QString& where = QString());
};
