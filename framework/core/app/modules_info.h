#pragma once
// Self-registering objects of the framework that also describe a module for
// the about box (a caption with its version, and a module key). They join the
// framework's self-registration (CSelfRegisterObject): the start of the run
// calls Init(1) on each, a group's objects get Init(0) when the framework
// initialises that group (CGlobalRegisterObject::InitGroup).
#include "framework/core/table/self_register.h"

#include <QList>
#include <QString>

class CModulesInfo : public CSelfRegisterObject {
public:
    void Init(int first) override { (void)first; }
    virtual QString GetAboutString() { return QString(); }
    virtual QString GetModuleKey() { return QString(); }

    // Every such object of the run, in construction order.
    static QList<CModulesInfo*> All();
};

// Object groups that the shell uses.
enum : unsigned {
    OBJGROUP_SETTINGS_PAGES = 18791,
    OBJGROUP_DOC_TEMPLATES = 18792,
    OBJGROUP_OPTIONS_PAGES = 18795,
};

// Processors of numbered message queries: a query goes to every processor
// registered for it, the higher priority first.
class CvMessageQueryProcessor {
public:
    virtual ~CvMessageQueryProcessor();
    // 0 when handled, 3 when the query is not this processor's.
    virtual int vProcessMessage(int queryId, void* sender) = 0;
};

class CvMessageQuery {
public:
    static void RegisterQueryProcessor(int queryId, CvMessageQueryProcessor* processor,
                                       int priority);
    static void UnregisterQueryProcessor(CvMessageQueryProcessor* processor);
    // The number of processors that handled it.
    static int SendQuery(int queryId, void* sender);
};

// Asks the option pages and groups to (re)set their captions, as after a
// change of language.
constexpr int MQ_OPTIONS = 20159;
