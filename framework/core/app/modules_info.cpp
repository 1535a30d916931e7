#include "modules_info.h"

#include <QMap>
#include <QMultiMap>
#include <algorithm>

namespace {
// Lists made on first use and never freed: global objects of several
// libraries register during static initialisation and leave during static
// destruction, in no known order.
QList<CModulesInfo*>& AllObjects() {
    static auto* list = new QList<CModulesInfo*>;
    return *list;
}
QMap<int, QList<CModulesInfo*>>& Groups() {
    static auto* groups = new QMap<int, QList<CModulesInfo*>>;
    return *groups;
}
struct Processor {
    int priority;
    CvMessageQueryProcessor* processor;
};
QMap<int, QList<Processor>>& Processors() {
    static auto* processors = new QMap<int, QList<Processor>>;
    return *processors;
}
bool g_initialised = false;
} // namespace

CModulesInfo::CModulesInfo() {
    AllObjects().append(this);
}

CModulesInfo::~CModulesInfo() {
    AllObjects().removeAll(this);
    CGlobalRegisterObject::UnregisterObject(this);
}

QList<CModulesInfo*> CModulesInfo::All() {
    return AllObjects();
}

void CModulesInfo::InitAll() {
    if (g_initialised)
        return;
    g_initialised = true;
    for (CModulesInfo* object : AllObjects())
        object->Init(1);
}

void CGlobalRegisterObject::RegisterObject(int group, CModulesInfo* object) {
    QList<CModulesInfo*>& list = Groups()[group];
    if (!list.contains(object))
        list.append(object);
}

void CGlobalRegisterObject::UnregisterObject(CModulesInfo* object) {
    for (auto& list : Groups())
        list.removeAll(object);
}

QList<CModulesInfo*> CGlobalRegisterObject::Objects(int group) {
    return Groups().value(group);
}

void CGlobalRegisterObject::InitStaticObjects(int group) {
    for (CModulesInfo* object : Objects(group))
        object->Init(0);
}

CvMessageQueryProcessor::~CvMessageQueryProcessor() {
    CvMessageQuery::UnregisterQueryProcessor(this);
}

void CvMessageQuery::RegisterQueryProcessor(int queryId, CvMessageQueryProcessor* processor,
                                            int priority) {
    QList<Processor>& list = Processors()[queryId];
    for (const Processor& p : list)
        if (p.processor == processor)
            return;
    // Stable: among equal priorities the first registered stays first.
    auto at = std::find_if(list.begin(), list.end(),
                           [priority](const Processor& p) { return p.priority < priority; });
    list.insert(at, Processor{priority, processor});
}

void CvMessageQuery::UnregisterQueryProcessor(CvMessageQueryProcessor* processor) {
    for (auto& list : Processors())
        list.removeIf([processor](const Processor& p) { return p.processor == processor; });
}

int CvMessageQuery::SendQuery(int queryId, void* sender) {
    int handled = 0;
    const QList<Processor> list = Processors().value(queryId);
    for (const Processor& p : list)
        if (p.processor->vProcessMessage(queryId, sender) == 0)
            ++handled;
    return handled;
}
