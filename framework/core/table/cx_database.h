#pragma once
// The database model: the foreign-key links between descriptors' fields
// (master key field, detail column). Lists, forms and the exchange tools ask
// it which rows refer to which.
#include "field_flags.h"

#include <QList>

class CxField;
class CxTable;

struct CxLink {
    CxField* master = nullptr;
    CxField* detail = nullptr;
    FKMODE mode = FKMODE_DEFAULT;
};

class CxDatabase {
public:
    void LinkData(CxField* master, CxField* detail, FKMODE mode);
    const QList<CxLink>& GetLinks() const { return m_links; }
    // The links whose master field belongs to the table.
    QList<CxLink> GetDetailLinks(const CxTable* master) const;
    // Forgets every link that names a field of the table (it is going away).
    void RemoveLinksOf(const CxTable* table);
    void RemoveAll() { m_links.clear(); }

private:
    QList<CxLink> m_links;
};

// The application's one database model; it lives for the whole run.
extern CxDatabase* const g_pDatabase;
