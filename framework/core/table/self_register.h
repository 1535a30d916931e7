#pragma once
// Self-registering modules: global objects that announce themselves when they
// are constructed and that the framework initialises later, group by group
// (the table set is group 18800).
#include <QList>

class CSelfRegisterObject {
public:
    CSelfRegisterObject();
    virtual ~CSelfRegisterObject();
    // Nonzero: join the framework (register into a group); 0: do the work.
    virtual void Init(int registerOnly) = 0;

    // Every module constructed so far, in construction order.
    static QList<CSelfRegisterObject*>& Modules();
    // Lets every module register itself (Init with 1); runs once per module.
    static void RegisterAll();

private:
    bool m_registered = false;
};

class CGlobalRegisterObject {
public:
    static void RegisterObject(CSelfRegisterObject* object, unsigned group, int flags);
    static QList<CSelfRegisterObject*> Objects(unsigned group);
    // Calls Init(0) on every object of the group, in registration order.
    static void InitGroup(unsigned group);
    static void Unregister(CSelfRegisterObject* object);
};

// The group of the table set.
constexpr unsigned SELFREG_TABLES = 18800;

// Builds every table descriptor (the modules of group 18800); called once the
// schema is current and the configuration loaded. Answers true.
bool InitTables();
