#pragma once
// The program's page of user options ("Kelda") with its six groups, and the
// last choices of the daily report form under "AppState\LastState". Other
// parts read a group through its global pointer, e.g.
//   g_pOption_RepParam->m_ClipClientCode.Get()
// The pointer initialises the page on first use, so readers need no start-up
// of their own (tests included).
#include "framework/core/app/options.h"

class COption_ClientData : public COptionsGroup {
public:
    explicit COption_ClientData(COptionsPage* page);
    QString GetTitle() override;
    int vProcessMessage(int queryId, void* sender) override;
    CIntOption m_MinAge{this, QStringLiteral("MinAge"), 10};
    CIntOption m_MaxAge{this, QStringLiteral("MaxAge"), 100};
};

class COption_Diary : public COptionsGroup {
public:
    explicit COption_Diary(COptionsPage* page);
    QString GetTitle() override;
    int vProcessMessage(int queryId, void* sender) override;
    CBoolOption m_LoadLastSet{this, QStringLiteral("LoadLastSet"), 0};
    CBoolOption m_LoadLastPlace{this, QStringLiteral("LoadLastPlace"), 0};
    CBoolOption m_LoadLastWorker{this, QStringLiteral("LoadLastWorker"), 0};
    CBoolOption m_LoadLastProject{this, QStringLiteral("LoadLastProject"), 0};

    // "AppState\LastState": -1 until first written; a set answers its value.
    static int GetLastUsedSet();
    static int SetLastUsedSet(int value);
    static int GetLastPlace();
    static int SetLastPlace(int value);
    static int GetLastWorker();
    static int SetLastWorker(int value);
    static int GetLastProject();
    static int SetLastProject(int value);
};

class COption_Reminder : public COptionsGroup {
public:
    explicit COption_Reminder(COptionsPage* page);
    QString GetTitle() override;
    int vProcessMessage(int queryId, void* sender) override;
    CIntOption m_ARTEndBefore{this, QStringLiteral("ARTEndBefore"), 5};
    CIntOption m_PregEnd{this, QStringLiteral("PregEnd"), 5};
    CIntOption m_ZTMiss{this, QStringLiteral("ZTMiss"), 10};
};

class COption_XMLExcel : public COptionsGroup {
public:
    explicit COption_XMLExcel(COptionsPage* page);
    QString GetTitle() override;
    int vProcessMessage(int queryId, void* sender) override;
    CIntOption m_MaxClientsCountXML{this, QStringLiteral("MaxClientsCountXML"), 200};
};

class COption_DiaryEdit : public COptionsGroup {
public:
    explicit COption_DiaryEdit(COptionsPage* page);
    QString GetTitle() override;
    int vProcessMessage(int queryId, void* sender) override;
    CBoolOption m_OldDiaryEditMode{this, QStringLiteral("OldDiaryEditMode"), 0};
};

class COption_RepParam : public COptionsGroup {
public:
    explicit COption_RepParam(COptionsPage* page);
    QString GetTitle() override;
    int vProcessMessage(int queryId, void* sender) override;
    CBoolOption m_ClipClientCode{this, QStringLiteral("ClipClientCode"), 0};
};

class COptionsPage_Kelda : public COptionsPage {
public:
    void Init(int first) override;
    int vProcessMessage(int queryId, void* sender) override;
    // The one page of the run, initialised.
    static COptionsPage_Kelda* Instance();

    COption_ClientData* m_pClientData = nullptr;
    COption_Diary* m_pDiary = nullptr;
    COption_Reminder* m_pReminder = nullptr;
    COption_XMLExcel* m_pXMLExcel = nullptr;
    COption_DiaryEdit* m_pDiaryEdit = nullptr;
    COption_RepParam* m_pRepParam = nullptr;

private:
    bool m_initialised = false;
};

// A group's global pointer: initialises the page before the first use.
template <class T, T* COptionsPage_Kelda::*Member> struct COptionsGroupPtr {
    T* Get() const { return COptionsPage_Kelda::Instance()->*Member; }
    T* operator->() const { return Get(); }
    operator T*() const { return Get(); }
};

extern COptionsGroupPtr<COption_ClientData, &COptionsPage_Kelda::m_pClientData>
    g_pOption_ClientData;
extern COptionsGroupPtr<COption_Diary, &COptionsPage_Kelda::m_pDiary> g_pOption_Diary;
extern COptionsGroupPtr<COption_Reminder, &COptionsPage_Kelda::m_pReminder> g_pOption_Reminder;
extern COptionsGroupPtr<COption_XMLExcel, &COptionsPage_Kelda::m_pXMLExcel> g_pOption_XMLExcel;
extern COptionsGroupPtr<COption_DiaryEdit, &COptionsPage_Kelda::m_pDiaryEdit> g_pOption_DiaryEdit;
extern COptionsGroupPtr<COption_RepParam, &COptionsPage_Kelda::m_pRepParam> g_pOption_RepParam;
