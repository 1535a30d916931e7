#include "self_register.h"

#include <QHash>

namespace {
struct Registration {
    CSelfRegisterObject* object;
    unsigned group;
};
// Never destroyed: modules held by globals leave it while the program exits,
// after function statics made later than they are gone.
QList<Registration>& Registrations() {
    static auto* list = new QList<Registration>;
    return *list;
}
} // namespace

CSelfRegisterObject::CSelfRegisterObject() {
    Modules().append(this);
}

CSelfRegisterObject::~CSelfRegisterObject() {
    Modules().removeAll(this);
    CGlobalRegisterObject::Unregister(this);
}

QList<CSelfRegisterObject*>& CSelfRegisterObject::Modules() {
    static QList<CSelfRegisterObject*> modules;
    return modules;
}

void CSelfRegisterObject::RegisterAll() {
    for (CSelfRegisterObject* module : QList<CSelfRegisterObject*>(Modules())) {
        if (module->m_registered)
            continue;
        module->m_registered = true;
        module->Init(1);
    }
}

void CGlobalRegisterObject::RegisterObject(CSelfRegisterObject* object, unsigned group, int) {
    for (const Registration& r : Registrations())
        if (r.object == object && r.group == group)
            return;
    Registrations().append(Registration{object, group});
}

QList<CSelfRegisterObject*> CGlobalRegisterObject::Objects(unsigned group) {
    QList<CSelfRegisterObject*> out;
    for (const Registration& r : Registrations())
        if (r.group == group)
            out << r.object;
    return out;
}

void CGlobalRegisterObject::InitGroup(unsigned group) {
    for (CSelfRegisterObject* object : Objects(group))
        object->Init(0);
}

void CGlobalRegisterObject::Unregister(CSelfRegisterObject* object) {
    Registrations().removeIf([object](const Registration& r) { return r.object == object; });
}

bool InitTables() {
    CSelfRegisterObject::RegisterAll();
    CGlobalRegisterObject::InitGroup(SELFREG_TABLES);
    return true;
}
