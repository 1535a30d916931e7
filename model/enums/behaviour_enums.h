#pragma once
// Enumerations of drug use, risk behaviour and health.
#include "framework/core/enums/enum2.h"

struct sCondYesNoNosex : sEnum2 {};

class xCondYesNoNosex : public CEnum2Tpl<sCondYesNoNosex> {
public:
    explicit xCondYesNoNosex(int mode = 1) : CEnum2Tpl<sCondYesNoNosex>(mode) {}
    void OnCreateInit();
};

struct sLastSexual : sEnum2 {};

class xLastSexual : public CEnum2Tpl<sLastSexual> {
public:
    explicit xLastSexual(int mode = 1) : CEnum2Tpl<sLastSexual>(mode) {}
    void OnCreateInit();
};

struct sLastInjectionWith : sEnum2 {};

class xLastInjectionWith : public CEnum2Tpl<sLastInjectionWith> {
public:
    explicit xLastInjectionWith(int mode = 1) : CEnum2Tpl<sLastInjectionWith>(mode) {}
    void OnCreateInit();
};

struct sDesinfectionWay : sEnum2 {};

class xDesinfectionWay : public CEnum2Tpl<sDesinfectionWay> {
public:
    explicit xDesinfectionWay(int mode = 1) : CEnum2Tpl<sDesinfectionWay>(mode) {}
    void OnCreateInit();
};

struct sDrugsEnum : sEnum2 {};

class xDrugsEnum : public CEnum2Tpl<sDrugsEnum> {
public:
    explicit xDrugsEnum(int mode = 1) : CEnum2Tpl<sDrugsEnum>(mode) {}
    void OnCreateInit();
};

struct sMainRouteEnum : sEnum2 {};

class xMainRouteEnum : public CEnum2Tpl<sMainRouteEnum> {
public:
    explicit xMainRouteEnum(int mode = 2) : CEnum2Tpl<sMainRouteEnum>(mode) {}
    void OnCreateInit();
};

struct sProdType : sEnum2 {};

class xProdType : public CEnum2Tpl<sProdType> {
public:
    explicit xProdType(int mode = 1) : CEnum2Tpl<sProdType>(mode) {}
    void OnCreateInit();
};

struct sUseFreqEnum : sEnum2 {};

class xUseFreqEnum : public CEnum2Tpl<sUseFreqEnum> {
public:
    explicit xUseFreqEnum(int mode = 1) : CEnum2Tpl<sUseFreqEnum>(mode) {}
    void OnCreateInit();
};

struct sDiseases : sEnum2 {};

class xDiseases : public CEnum2Tpl<sDiseases> {
public:
    explicit xDiseases(int mode = 1) : CEnum2Tpl<sDiseases>(mode) {}
    void OnCreateInit();
};

struct sDiseaseStates : sEnum2 {};

class xDiseaseStates : public CEnum2Tpl<sDiseaseStates> {
public:
    explicit xDiseaseStates(int mode = 2) : CEnum2Tpl<sDiseaseStates>(mode) {}
    void OnCreateInit();
};

extern CxObjAutoAlloc<xCondYesNoNosex> g_pCondYesNoNosex;
extern CxObjAutoAlloc<xLastSexual> g_pLastSexual;
extern CxObjAutoAlloc<xLastInjectionWith> g_pLastInjectionWith;
extern CxObjAutoAlloc<xDesinfectionWay> g_pDesinfectionWay;
extern CxObjAutoAlloc<xDrugsEnum> g_pDrugsEnum;
extern CxObjAutoAlloc<xMainRouteEnum> g_pMainRouteEnum;
extern CxObjAutoAlloc<xProdType> g_pProdType;
extern CxObjAutoAlloc<xUseFreqEnum> g_pUseFreqEnum;
extern CxObjAutoAlloc<xDiseases> g_pDiseases;
extern CxObjAutoAlloc<xDiseaseStates> g_pDiseaseStates;
