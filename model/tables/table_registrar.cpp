#include "table_registrar.h"

#include "framework/core/table/cx_database.h"
#include "framework/core/tarvik_app.h"
#include "model/tables/org_tables.h"
#include "model/tables/table_set.h"

QString CxFieldRegistrar::Caption(const char* caption) const {
    return CTarvikApp::TranslateString(QString::fromUtf8(caption), m_context, 1);
}

CxField* CxFieldRegistrar::Add(unsigned id, const QString& column, const char* caption,
                               quint32 flags) {
    CxField* f = m_table->RegisterField(id, column, Caption(caption), flags);
    f->SetFlags(ATTR_BASE, ATTR_SHARED, -1);
    return f;
}

CxField* CxFieldRegistrar::Add(unsigned id, const QString& column, const char* caption,
                               quint32 flags, CEnum2* enumeration) {
    CxField* f = m_table->RegisterField(id, column, Caption(caption), flags, enumeration);
    f->SetFlags(ATTR_BASE, ATTR_SHARED, -1);
    return f;
}

CxField* CxFieldRegistrar::Add(unsigned id, const QString& column, const char* caption,
                               quint32 flags, CxTable* lookup) {
    CxField* f = m_table->RegisterField(id, column, Caption(caption), flags, lookup);
    f->SetFlags(ATTR_BASE, ATTR_SHARED, -1);
    return f;
}

CxField* CxFieldRegistrar::AddPersonal(unsigned id, const QString& column, const char* caption,
                                       quint32 flags) {
    CxField* f = m_table->RegisterField(id, column, Caption(caption), flags);
    f->SetFlags(ATTR_BASE, -1);
    return f;
}

CxField* CxFieldRegistrar::Join(CxField* field, CxTable* joined, const char* alias,
                                const char* expression) {
    return field->LeftJoin(joined, QString::fromLatin1(alias), QString::fromLatin1(expression), 0);
}

CxField* CxFieldRegistrar::AddOrgText(unsigned id, const char* orgColumn, const char* caption) {
    return Join(Add(id, QStringLiteral("{RGCODE}.") + QString::fromLatin1(orgColumn), caption,
                    FF_TEXT | FF_JOINED),
                g_pOrgInfTable.GetPtr(), "{RGCODE}", "{RGCODE}.ROWID={TABLE}.nRegionDataID");
}

void CxFieldRegistrar::LinkFolders(CxField* key, CxField* parent) {
    g_pDatabase->LinkData(key, parent, FKMODE_DEFAULT);
}
