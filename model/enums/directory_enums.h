#pragma once
// Enumerations of the directories, trainings and the organisation card.
#include "framework/core/enums/enum2.h"

struct sPubType : sEnum2 {};

class xPubType : public CEnum2Tpl<sPubType> {
public:
    explicit xPubType(int mode = 1) : CEnum2Tpl<sPubType>(mode) {}
    void OnCreateInit();
};

struct sBookAUID : sEnum2 {};

class xBookAUID : public CEnum2Tpl<sBookAUID> {
public:
    explicit xBookAUID(int mode = 2) : CEnum2Tpl<sBookAUID>(mode) {}
    void OnCreateInit();
};

struct sNodeType : sEnum2 {};

class xNodeType : public CEnum2Tpl<sNodeType> {
public:
    explicit xNodeType(int mode = 1) : CEnum2Tpl<sNodeType>(mode) {}
    void OnCreateInit();
};

struct sConsAndDir : sEnum2 {};

class xConsAndDir : public CEnum2Tpl<sConsAndDir> {
public:
    explicit xConsAndDir(int mode = 2) : CEnum2Tpl<sConsAndDir>(mode) {}
    void OnCreateInit();
};

struct sTrainingFor : sEnum2 {};

class xTrainingFor : public CEnum2Tpl<sTrainingFor> {
public:
    explicit xTrainingFor(int mode = 1) : CEnum2Tpl<sTrainingFor>(mode) {}
    void OnCreateInit();
};

struct sTrainingType : sEnum2 {};

class xTrainingType : public CEnum2Tpl<sTrainingType> {
public:
    explicit xTrainingType(int mode = 1) : CEnum2Tpl<sTrainingType>(mode) {}
    void OnCreateInit();
};

struct sOrgInfoFields : sEnum2 {};

class xOrgInfoFields : public CEnum2Tpl<sOrgInfoFields> {
public:
    explicit xOrgInfoFields(int mode = 1) : CEnum2Tpl<sOrgInfoFields>(mode) {}
    void OnCreateInit();
};

// A holder kept for a directory enumeration that has no items and that
// nothing creates.
struct sDirectories : sEnum2 {};
class xDirectories : public CEnum2Tpl<sDirectories> {};

extern CxObjAutoAlloc<xPubType> g_pPubType;
extern CxObjAutoAlloc<xBookAUID> g_pBookAUID;
extern CxObjAutoAlloc<xNodeType> g_pNodeType;
extern CxObjAutoAlloc<xConsAndDir> g_pConsAndDir;
extern CxObjAutoAlloc<xTrainingFor> g_pTrainingFor;
extern CxObjAutoAlloc<xTrainingType> g_pTrainingType;
extern CxObjAutoAlloc<xOrgInfoFields> g_pOrgInfoFields;
extern CxObjAutoAlloc<xDirectories> g_pDirectories;
