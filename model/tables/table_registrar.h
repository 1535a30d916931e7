#pragma once
// The steps every descriptor's Init repeats for a column: translate the
// caption in the Init's context, register the field, give it its attributes,
// join where the column needs it.
#include "framework/core/table/cx_table.h"

#include <QString>

class CxFieldRegistrar {
public:
    CxFieldRegistrar(CxTable* table, const char* context)
        : m_table(table), m_context(QString::fromLatin1(context)) {}

    CxField* Add(unsigned id, const QString& column, const char* caption, quint32 flags);
    CxField* Add(unsigned id, const QString& column, const char* caption, quint32 flags,
                 CEnum2* enumeration);
    CxField* Add(unsigned id, const QString& column, const char* caption, quint32 flags,
                 CxTable* lookup);
    // A personal column: kept out of the data shared with other organisations.
    CxField* AddPersonal(unsigned id, const QString& column, const char* caption, quint32 flags);
    CxField* Join(CxField* field, CxTable* joined, const char* alias, const char* expression);
    // A text of the organisation the row came from: `orginf` joined as {RGCODE}
    // on nRegionDataID.
    CxField* AddOrgText(unsigned id, const char* orgColumn, const char* caption);
    // An enumeration-bound column: its code field, then its text field, under
    // one id.
    void AddEnum(CxField*& code, CxField*& text, unsigned id, const QString& column,
                 const char* caption, CEnum2* enumeration);
    // A lookup column: its code field (naming the referenced table), then
    // under the same id the referenced table's naming column as
    // "{ALIAS}.<nameColumn>", joined on "{ALIAS}.ROWID={TABLE}.<column>";
    // with flatCode also the referenced table's nesting code through that
    // join.
    void AddLookup(CxField*& code, CxField*& text, unsigned id, const char* column,
                   const char* caption, CxTable* lookup, const char* alias, const char* nameColumn,
                   CxField** flatCode = nullptr);
    // The folder pair that ends a table holding folders: the parent folder's
    // name "{FOLDER}.<nameColumn>", then nGroupID, both captioned "Папка" under
    // one id; the table's folder-name field is marked, and its rows hang on
    // their own key through nGroupID.
    void AddFolders(CxField*& folderName, CxField*& parent, unsigned id, const char* nameColumn,
                    CxField* nameField, CxField* key);

private:
    QString Caption(const char* caption) const;
    void LinkFolders(CxField* key, CxField* parent);
    CxTable* m_table;
    QString m_context;
};

// The enumeration singleton of that class name ("xSex"), created on first use.
CEnum2* TableEnum(const char* className);
// The predefined list of that element name ("PRJLIST") in the configuration's
// current language; null when no configuration is loaded.
CEnum2* TableConfigList(const char* element);
