#pragma once
// The program's helper of the exchange wizards: the tables that travel and
// their links, the organisation numbers under which senders' data are kept,
// the unique keys of received rows, the repairs of a received client history,
// and the snapshot of every received load (`cmp_*`) that the comparison of
// loads reads (load_comparison.h).
#include "framework/core/exchange/sql_import_wizard_helper.h"

class CKeldaSQLImportWizard_Helper : public CSQLImportWizard_Helper {
public:
    QList<CSQLExchangeTable> GetExchangeTables() const override;
    QString GetOwnOrgID() override;
    int FindOrgNumber(const QString& orgID, const QString& prefix, QString* error) override;
    int GetOrgNumber(const QString& orgID, const QString& prefix, QString* error) override;
    QString GetFieldExpression(const QString& table, const QString& column,
                               const QString& proposed) override;
    bool QueryInsert(const QString& table, QString& select, const QString& insertHead,
                     QString* error) override;
    void FillTableMap(QHash<QString, int>& map) override;
    void SetAppID(CSQLExchangeAttributes& attributes) override;
    [[nodiscard]] bool SaveLoadSnapshot(int regionNumber, const CSQLExchangeAttributes& package,
                                        int* loadId, QString* error) override;
    // Every organisation of orginf with an identifier, by its number.
    bool GetOrigins(QMap<int, QString>* origins, QString* error) override;
    // Directory entries and clients keep the ROWID of the database they were
    // made in, in the suffix of their key (the sender's own rows: their ROWID).
    QString GetOriginRowExpression(const QString& table, bool load) const override;

    // The select expression of a received text key: the text up to its first
    // back-quote, cut to 230 characters and trailing blanks, then the suffix
    // of the organisation number (m_nRegionID) and the sender's ROWID.
    QString MakeOrgUniqueKey(const QString& column) const;
    // The same key for any row of a load: a row the sender passes on from
    // another organisation takes the number the load's nRegionDataID gives
    // that organisation and its ROWID in the organisation's own database, so
    // one row keeps one key whichever way it came.
    QString MakeOriginUniqueKey(const QString& table, const QString& column) const;

    // The program's module key, stored as "SCAppID".
    static QString AppKey() { return QStringLiteral("kelda2"); }
    // How long GetOrgNumber waits for the database lock.
    static constexpr int kLockSeconds = 999999;
};
