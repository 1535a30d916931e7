#pragma once
// Sends the database as an exchange package: every row of the tables the
// helper names, as one consistent reading of the database, in bounded memory
// (pages of rows in key order). The window of the wizard drives this engine.
#include "sql_import_wizard_helper.h"

#include <QMap>

class CvProgress;

class CSQLExportWizard {
public:
    explicit CSQLExportWizard(CSQLImportWizard_Helper* helper) : m_helper(helper) {}

    // Writes the package to path (replacing a file of that name only once the
    // package is whole). progress may be null; a cancel leaves no file.
    bool Export(CxSQL* sql, const QString& path, CvProgress* progress, QString* error);

    // After a successful export: rows written per table, and the package.
    const QMap<QString, qint64>& RowCounts() const { return m_rows; }
    const CSQLExchangeAttributes& Attributes() const { return m_attributes; }

    // The package's attribute that names the organisation behind a number of
    // the sender's rows (nRegionDataID).
    static QString OriginAttribute(int number) { return QStringLiteral("Origin.%1").arg(number); }
    static QString OriginPrefix() { return QStringLiteral("Origin."); }
    // The package's attribute that holds the creation stamp of the data the
    // sender holds of the organisation behind a number (that of the
    // organisation's package they came in), so that a receiver never takes
    // them for newer than they are.
    static QString OriginCreatedAttribute(int number) {
        return QStringLiteral("Created.%1").arg(number);
    }

    // Rows read per statement.
    static constexpr int kPageRows = 5000;

private:
    CSQLImportWizard_Helper* m_helper;
    QMap<QString, qint64> m_rows;
    CSQLExchangeAttributes m_attributes;
};
