#pragma once
// Kinds of material and service: a code carries its group in the high 16 bits
// and the kind within the group in the low 16 bits; each item also names the
// group item it belongs to (the medicines, with codes of group 3, belong to
// the group item 0x90000).
#include "framework/core/enums/enum2.h"

struct sMaterialType : sEnum2 {
    long nGroup = 0; // code of the group item; 0 for the mask item
    QString cNote;
};

class xMaterialType : public CEnum2Tpl<sMaterialType> {
public:
    explicit xMaterialType(int mode = 1) : CEnum2Tpl<sMaterialType>(mode) {}
    void OnCreateInit();

    // The mask that separates the group part of a code.
    static constexpr long TypeMask = 0xfff0000;
};

extern CxObjAutoAlloc<xMaterialType> g_pMaterialType;
