#include "cx_database.h"

#include "cx_field.h"

// Never destroyed: descriptors held by globals remove their links from it
// while the program exits.
CxDatabase* const g_pDatabase = new CxDatabase;

void CxDatabase::LinkData(CxField* master, CxField* detail, FKMODE mode) {
    if (!master || !detail)
        return;
    m_links.append(CxLink{master, detail, mode});
}

QList<CxLink> CxDatabase::GetDetailLinks(const CxTable* master) const {
    QList<CxLink> out;
    for (const CxLink& link : m_links)
        if (link.master->GetTable() == master)
            out << link;
    return out;
}

void CxDatabase::RemoveLinksOf(const CxTable* table) {
    m_links.removeIf([table](const CxLink& link) {
        return link.master->GetTable() == table || link.detail->GetTable() == table;
    });
}
