#pragma once
// Enumerations of a client's card: sex, vulnerable groups and social status.
#include "framework/core/enums/enum2.h"

struct sSex : sEnum2 {};

class xSex : public CEnum2Tpl<sSex> {
public:
    explicit xSex(int mode = 1) : CEnum2Tpl<sSex>(mode) {}
    void OnCreateInit();
};

struct sClientGroup : sEnum2 {};

class xClientGroup : public CEnum2Tpl<sClientGroup> {
public:
    explicit xClientGroup(int mode = 2) : CEnum2Tpl<sClientGroup>(mode) {}
    void OnCreateInit();
};

struct sEployment : sEnum2 {};

class xEployment : public CEnum2Tpl<sEployment> {
public:
    explicit xEployment(int mode = 1) : CEnum2Tpl<sEployment>(mode) {}
    void OnCreateInit();
};

struct sLivingPlaceEnum : sEnum2 {};

class xLivingPlaceEnum : public CEnum2Tpl<sLivingPlaceEnum> {
public:
    explicit xLivingPlaceEnum(int mode = 1) : CEnum2Tpl<sLivingPlaceEnum>(mode) {}
    void OnCreateInit();
};

struct sEducationLevelEnum : sEnum2 {};

class xEducationLevelEnum : public CEnum2Tpl<sEducationLevelEnum> {
public:
    explicit xEducationLevelEnum(int mode = 1) : CEnum2Tpl<sEducationLevelEnum>(mode) {}
    void OnCreateInit();
};

struct sLegalProblemsEnum : sEnum2 {};

class xLegalProblemsEnum : public CEnum2Tpl<sLegalProblemsEnum> {
public:
    explicit xLegalProblemsEnum(int mode = 1) : CEnum2Tpl<sLegalProblemsEnum>(mode) {}
    void OnCreateInit();
};

struct sSocOtherReg : sEnum2 {};

class xSocOtherReg : public CEnum2Tpl<sSocOtherReg> {
public:
    explicit xSocOtherReg(int mode = 2) : CEnum2Tpl<sSocOtherReg>(mode) {}
    void OnCreateInit();
};

extern CxObjAutoAlloc<xSex> g_pSex;
extern CxObjAutoAlloc<xClientGroup> g_pClientGroup;
extern CxObjAutoAlloc<xEployment> g_pEployment;
extern CxObjAutoAlloc<xLivingPlaceEnum> g_pLivingPlaceEnum;
extern CxObjAutoAlloc<xEducationLevelEnum> g_pEducationLevelEnum;
extern CxObjAutoAlloc<xLegalProblemsEnum> g_pLegalProblemsEnum;
extern CxObjAutoAlloc<xSocOtherReg> g_pSocOtherReg;
