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

void CxFieldRegistrar::AddEnum(CxField*& code, CxField*& text, unsigned id, const QString& column,
                               const char* caption, CEnum2* enumeration) {
    code = Add(id, column, caption, FF_ENUM | FF_INT, enumeration);
    text = Add(id, column, caption, FF_ENUMTEXT | FF_TEXT, enumeration);
}

void CxFieldRegistrar::AddLookup(CxField*& code, CxField*& text, unsigned id, const char* column,
                                 const char* caption, CxTable* lookup, const char* alias,
                                 const char* nameColumn, CxField** flatCode) {
    const QString braced = u'{' + QString::fromLatin1(alias) + u'}';
    const QString join = braced + QStringLiteral(".ROWID={TABLE}.") + QString::fromLatin1(column);
    code = Add(id, QString::fromLatin1(column), caption, FF_LOOKUP | FF_INT, lookup);
    text = Add(id, braced + u'.' + QString::fromLatin1(nameColumn), caption, FF_JOINED | FF_TEXT)
               ->LeftJoin(lookup, braced, join, 0);
    if (flatCode)
        *flatCode = Add(id, braced + QStringLiteral(".cFlatCode"), caption, FF_FLATCODE | FF_TEXT)
                        ->LeftJoin(lookup, braced, join, 0);
}

void CxFieldRegistrar::AddFolders(CxField*& folderName, CxField*& parent, unsigned id,
                                  const char* nameColumn, CxField* nameField, CxField* key) {
    folderName = Join(
        Add(id, QStringLiteral("{FOLDER}.") + QString::fromLatin1(nameColumn), "Папка", FF_TEXT),
        m_table, "{FOLDER}", "{TABLE}.nGroupID={FOLDER}.ROWID");
    nameField->SetFlags(ATTR_FOLDERNAME);
    parent = Add(id, QStringLiteral("nGroupID"), "Папка", FF_PARENT | FF_INT);
    LinkFolders(key, parent);
}
