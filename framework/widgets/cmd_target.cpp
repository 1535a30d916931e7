#include "cmd_target.h"

#include <QHash>

namespace {
struct Handler {
    CxAppCommands::Run run;
    CxAppCommands::Update update;
};
QHash<unsigned, Handler>& Handlers() {
    static auto* handlers = new QHash<unsigned, Handler>;
    return *handlers;
}
} // namespace

void CxAppCommands::Add(unsigned id, Run run, Update update) {
    Handlers().insert(id, Handler{std::move(run), std::move(update)});
}

void CxAppCommands::Remove(unsigned id) {
    Handlers().remove(id);
}

bool CxAppCommands::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    const auto found = Handlers().constFind(id);
    if (found == Handlers().constEnd())
        return false;
    if (ui) {
        if (found->update)
            found->update(*ui);
    } else if (found->run) {
        // A copy: the handler may change the map.
        const CxAppCommands::Run run = found->run;
        run();
    }
    return true;
}
