#pragma once
// Pages that self-registering objects add to the about box: a title and an
// HTML text each.
#include "modules_info.h"

class CAboutSelfReg : public CModulesInfo {
public:
    virtual QString GetTitle() = 0;
    virtual QString GetHTML() = 0;

    static QList<CAboutSelfReg*> All();
};
