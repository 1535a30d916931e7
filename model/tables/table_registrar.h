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
    // A folder table's rows hang on their own key through nGroupID.
    void LinkFolders(CxField* key, CxField* parent);

private:
    QString Caption(const char* caption) const;
    CxTable* m_table;
    QString m_context;
};

// The enumeration singleton of that class name ("xSex"), created on first use.
CEnum2* TableEnum(const char* className);
// The predefined list of that element name ("PRJLIST") in the configuration's
// current language; null when no configuration is loaded.
CEnum2* TableConfigList(const char* element);
