#pragma once
// A mix-in for pages of multi-page containers (tab views, wizards, settings
// dialogs): finds the nearest page, starting with itself and going up through
// the parent pages, that implements a given interface, and answers that
// page's id. Answers are remembered per interface id.
#include "framework/core/app/base_class.h"
#include "pavo_export.h"

#include <QHash>

class PAVO_EXPORT CMultiPageExt : public virtual CBaseClass {
public:
    enum : unsigned { IID = 20810 };

    CMultiPageExt();
    ~CMultiPageExt() override;

    virtual long GetPageID() = 0;

    void* GetBaseClass(unsigned id, const char* name = nullptr) override;
    // The page id of the nearest page implementing the interface; -1 when no
    // page up to the top does, or when a page cannot name its parent.
    long CMultiPageExt_GetParentID(unsigned id);

private:
    QHash<long, CMultiPageExt*> m_cache; // null: no page answers
};
