#pragma once
// Self-registering objects of the framework. Every global object derived from
// CModulesInfo joins one process-wide list when it is constructed; the
// application initialises them all once at start (Init with 1), an object may
// then join a numbered object group (CGlobalRegisterObject), and the
// framework initialises a group when its time comes (Init with 0, see
// InitStaticObjects). An object may also describe a module for the about box.
#include <QList>
#include <QString>

class CModulesInfo {
public:
    CModulesInfo();
    virtual ~CModulesInfo();

    // 1: the start of the run; 0: the object's group is being initialised.
    virtual void Init(int first) { (void)first; }
    // A module record for the about box: its caption with its version, and
    // its key; empty when the object is no module record.
    virtual QString GetAboutString() { return QString(); }
    virtual QString GetModuleKey() { return QString(); }

    static QList<CModulesInfo*> All();
    // Runs Init(1) on every object once per process; later calls do nothing.
    static void InitAll();
};

class CGlobalRegisterObject {
public:
    static void RegisterObject(int group, CModulesInfo* object);
    static void UnregisterObject(CModulesInfo* object);
    static QList<CModulesInfo*> Objects(int group);
    // Runs Init(0) on every object of the group, in the order registered.
    static void InitStaticObjects(int group);
};

// Object groups that the shell uses.
enum : int {
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
