#pragma once
// What the exchange wizards ask of the program: which tables travel and how
// their rows refer to each other, where a sending organisation's data are
// kept, how a column is rewritten while a load is merged, and the record of
// each received load. The program derives its helper from this class; the
// export and import wizards (sql_export_wizard.h, sql_import_wizard.h) call
// its virtual operations and fill its fields before they do.
#include "exchange_package.h"
#include "wizard_log.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class CxSQL;

// A column that holds the ROWID of a row of another exchanged table (or of
// its own table, for folder parents): ids above 0 move with that table's rows.
struct CSQLExchangeReference {
    QString column;
    QString table;
};

// A table that travels: its key column (empty for a table without one) and
// its references. nRegionDataID, when the table has it, names the
// organisation a row belongs to. A table without a key may name an indexed
// column by whose values it is read in pages; without one it is read in the
// order of all its columns, which suits small tables only.
struct CSQLExchangeTable {
    QString name;
    QString key;
    QList<CSQLExchangeReference> references;
    QString pageColumn = QString();
    // The key is a 64-bit number: moving the load's keys past the
    // receiver's highest never runs out of numbers.
    bool wideKey = false;
};

// Marks of FillTableMap.
enum SQLExchangeTableMark {
    // The table of organisations: the sender's own card (its row 0) is kept
    // as the row of the sender's organisation number.
    kExchangeOrganisationTable = 1,
};

class CSQLImportWizard_Helper {
public:
    virtual ~CSQLImportWizard_Helper() = default;

    // The tables that travel, parents before the tables that refer to them.
    virtual QList<CSQLExchangeTable> GetExchangeTables() const = 0;
    // The identifier of the installation's own organisation; empty when unset.
    virtual QString GetOwnOrgID() = 0;
    // The number under which an organisation's data are kept: -1 when no
    // organisation has the identifier (or the look-up failed: then the error
    // is set). prefix goes before the organisations' table name.
    virtual int FindOrgNumber(const QString& orgID, const QString& prefix, QString* error) = 0;
    // The organisation's number, allocated and recorded when it is new; -1 and
    // the error when that cannot be done.
    virtual int GetOrgNumber(const QString& orgID, const QString& prefix, QString* error) = 0;
    // The select expression of a column of a table being merged; proposed is
    // what the wizard would use.
    virtual QString GetFieldExpression(const QString& table, const QString& column,
                                       const QString& proposed);
    // Inserts the rows of one table of the load: insertHead (the INSERT with
    // the target and its columns) followed by select (which reads the load's
    // table). The helper may repair the load's table and extend the select
    // first, then calls this base operation.
    virtual bool QueryInsert(const QString& table, QString& select, const QString& insertHead,
                             QString* error);
    // Marks tables that need handling of their own (SQLExchangeTableMark).
    virtual void FillTableMap(QHash<QString, int>& map);
    // Writes the program's application key into the package's attributes
    // ("SCAppID"); a package carrying another key is refused.
    virtual void SetAppID(CSQLExchangeAttributes& attributes) = 0;
    // The organisations the sending installation knows, by the number its
    // rows carry in nRegionDataID, each with its stable identifier; the export
    // names them in the package ("Origin.<number>") so that every receiver
    // files a row under the organisation it came from. Empty (the default):
    // every row is the sender's own.
    virtual bool GetOrigins(QMap<int, QString>* origins, QString* error);
    // An expression over a row of table (columns unqualified) that gives the
    // row's ROWID in the database of the organisation it came from, NULL when
    // that is not known; empty when the table keeps no such trace. load: a row
    // of the load being merged (the sender's own rows are known by their
    // ROWID), else a row the receiver holds. The import finds by it the
    // receiver's own rows sent back to it, and the new place of a replaced row
    // that the receiver's other rows refer to.
    virtual QString GetOriginRowExpression(const QString& table, bool load) const;
    // Records the load just merged under the organisation number, inside the
    // wizard's transaction; loadId receives the load's number. package holds
    // the package's attributes (its "PackageID" tells a package read again).
    [[nodiscard]] virtual bool SaveLoadSnapshot(int regionNumber,
                                                const CSQLExchangeAttributes& package, int* loadId,
                                                QString* error);

    // Filled by the wizard before it calls the operations above.
    CxSQL* m_pSQL = nullptr;
    // The organisation number under which the load being merged is stored.
    int m_nRegionID = 0;
    CSQLWizardLog* m_pLog = nullptr;

    // The name of the table that holds a table's rows of the load being
    // merged (a temporary table of the wizard's session), quoted.
    QString LoadTable(const QString& table) const;
    // What is added to a table's ROWID (and to the references to it) while a
    // load is merged.
    qint64 RowIdOffset(const QString& table) const { return m_offsets.value(table.toLower()); }
    // Set by the wizard.
    void SetLoadPrefix(const QString& prefix) { m_loadPrefix = prefix; }
    void SetRowIdOffset(const QString& table, qint64 offset) {
        m_offsets[table.toLower()] = offset;
    }

private:
    QString m_loadPrefix;
    QHash<QString, qint64> m_offsets;
};
