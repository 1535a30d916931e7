#pragma once
// The yes/no enumeration that flag columns bind to.
#include "enum2.h"

struct sYesNo : sEnum2 {};

class xYesNo : public CEnum2Tpl<sYesNo> {
public:
    xYesNo() : CEnum2Tpl<sYesNo>(1) {}
    void OnCreateInit();
};

extern CxObjAutoAlloc<xYesNo> g_pYesNo;
