#pragma once
// Receives an exchange package from another installation: all or nothing, in
// one transaction under the database lock "dblock". The package is checked
// whole (checksum, format version, application key, sender, not older than
// the sender's last package) before the database is touched; its rows go into
// temporary tables of the session, every row is placed under the receiver's
// number of the organisation it came from (the receiver's own rows sent back
// are not filed again), the earlier rows of those organisations are removed,
// and the rows are merged with their ids moved past the receiving tables' own
// and their columns as the helper rewrites them; the helper then records the
// load. Importing one package again leaves the same data
// (docs/exchange_package.md).
#include "sql_import_wizard_helper.h"

#include <QMap>
#include <QStringList>

class CvProgress;

class CSQLImportWizard {
public:
    explicit CSQLImportWizard(CSQLImportWizard_Helper* helper) : m_helper(helper) {}

    // log receives the helper's lines (may be null), progress the steps (may
    // be null; a cancel rolls everything back).
    bool Import(CxSQL* sql, const QString& path, CvProgress* progress, CSQLWizardLog* log,
                QString* error);

    // A package older than the data the receiver holds of its sender (by
    // their creation stamps) is refused, and rows the sender passes on from
    // another organisation that are older than the receiver's rows of it are
    // left out, unless the user confirmed it here.
    void SetAcceptOlder(bool accept) { m_acceptOlder = accept; }
    // After a failed import: it was refused only for being older.
    bool RefusedAsOlder() const { return m_refusedAsOlder; }
    // After a successful import: one message per organisation whose rows were
    // left out as older than those the receiver holds (naming it and both
    // dates); empty when nothing was left out.
    const QStringList& OlderOrigins() const { return m_olderOrigins; }
    // The settings variable that keeps the creation stamp of the newest data
    // of an organisation the database received: that of the organisation's
    // package they came in, whether it came directly or passed on by another.
    static QString LastPackageVariable(const QString& orgID);
    // The stamp LastPackageVariable keeps, as stored; empty when none is.
    static bool LastPackageStamp(CxSQL* sql, const QString& orgID, QString* stamp, QString* error);

    // After a successful import.
    QString SenderOrgID() const { return m_sender; }
    int RegionNumber() const { return m_region; }
    int LoadID() const { return m_loadId; }
    const QMap<QString, qint64>& RowCounts() const { return m_rows; }

    // Temporary tables of the load are named with this prefix.
    static QString LoadPrefix() { return QStringLiteral("__load__"); }
    // How long the import waits for "dblock".
    static constexpr int kLockSeconds = 60;

private:
    struct Run;
    CSQLImportWizard_Helper* m_helper;
    QString m_sender;
    int m_region = -1;
    int m_loadId = 0;
    QMap<QString, qint64> m_rows;
    bool m_acceptOlder = false;
    bool m_refusedAsOlder = false;
    QStringList m_olderOrigins;
};
