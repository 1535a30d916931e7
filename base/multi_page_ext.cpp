#include "multi_page_ext.h"

#include <QSet>

CMultiPageExt::CMultiPageExt() {
    m_cache.reserve(17);
}

CMultiPageExt::~CMultiPageExt() = default;

void* CMultiPageExt::GetBaseClass(unsigned id, const char* name) {
    if (id == IID)
        return this;
    void* found = CBaseClass::GetBaseClass(id, name);
    if (!found && id == IID_CBaseClass)
        return static_cast<CBaseClass*>(this);
    return found;
}

long CMultiPageExt::CMultiPageExt_GetParentID(unsigned id) {
    const long key = long(id);
    const auto cached = m_cache.constFind(key);
    if (cached != m_cache.constEnd())
        return *cached ? (*cached)->GetPageID() : -1;

    CMultiPageExt* current = this;
    QSet<CMultiPageExt*> visited; // a page chain that loops must not hang the caller
    while (!visited.contains(current)) {
        visited.insert(current);
        if (current->GetBaseClass(id, nullptr)) {
            auto* page = static_cast<CMultiPageExt*>(current->GetBaseClass(IID, nullptr));
            m_cache.insert(key, page);
            return page ? page->GetPageID() : -1;
        }
        auto* parent = static_cast<CxParentPageInfo*>(current->GetBaseClass(IID_ParentPage));
        if (!parent)
            return -1; // nothing cached: a later call walks again
        if (!parent->pParentPage) {
            m_cache.insert(key, nullptr);
            return -1;
        }
        current = static_cast<CMultiPageExt*>(parent->pParentPage->GetBaseClass(IID));
        if (!current)
            return -1; // a parent outside the page contract: nothing cached
    }
    return -1;
}
