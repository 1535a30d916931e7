#include "sql_import_wizard_helper.h"

#include "framework/core/sql_connection.h"

QString CSQLImportWizard_Helper::GetFieldExpression(const QString&, const QString&,
                                                    const QString& proposed) {
    return proposed;
}

bool CSQLImportWizard_Helper::QueryInsert(const QString&, QString& select,
                                          const QString& insertHead, QString* error) {
    CxResult res = m_pSQL->Execute(insertHead + select);
    if (res.isValid())
        return true;
    if (error)
        *error = res.Error().text + u'\n' + res.Error().statement.left(500);
    return false;
}

bool CSQLImportWizard_Helper::GetOrigins(QMap<int, QString>* origins, QString*) {
    origins->clear();
    return true;
}

QString CSQLImportWizard_Helper::GetOriginRowExpression(const QString&, bool) const {
    return QString();
}

void CSQLImportWizard_Helper::FillTableMap(QHash<QString, int>&) {}

bool CSQLImportWizard_Helper::SaveLoadSnapshot(int, const CSQLExchangeAttributes&, int* loadId,
                                               QString*) {
    if (loadId)
        *loadId = 0;
    return true;
}

QString CSQLImportWizard_Helper::LoadTable(const QString& table) const {
    return u'`' + m_loadPrefix + table + u'`';
}
