#include "modules_info.h"

#include <QMap>
#include <QMultiMap>
#include <algorithm>

namespace {
// Made on first use and never freed: processors register and leave during
// static initialisation and destruction, in no known order.
struct Processor {
    int priority;
    CvMessageQueryProcessor* processor;
};
QMap<int, QList<Processor>>& Processors() {
    static auto* processors = new QMap<int, QList<Processor>>;
    return *processors;
}
} // namespace

QList<CModulesInfo*> CModulesInfo::All() {
    QList<CModulesInfo*> list;
    for (CSelfRegisterObject* object : CSelfRegisterObject::Modules())
        if (auto* info = dynamic_cast<CModulesInfo*>(object))
            list << info;
    return list;
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
