#include "about_pages.h"

QList<CAboutSelfReg*> CAboutSelfReg::All() {
    QList<CAboutSelfReg*> list;
    for (CModulesInfo* info : CModulesInfo::All())
        if (auto* page = dynamic_cast<CAboutSelfReg*>(info))
            list << page;
    return list;
}
