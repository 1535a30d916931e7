#include "cmd_target.h"

#include <QHash>

void CxCommandMap::Add(unsigned id, Run run, Update update) {
    m_handlers.insert(id, Handler{std::move(run), std::move(update)});
}

bool CxCommandMap::OnCmdMsg(unsigned id, CxCmdUI* ui) const {
    const auto found = m_handlers.constFind(id);
    if (found == m_handlers.constEnd())
        return false;
    if (ui) {
        if (found->update)
            found->update(*ui);
        return true;
    }
    // Running asks the same question first: a disabled command runs nowhere.
    CxCmdUI state;
    if (found->update)
        found->update(state);
    if (state.enabled && found->run) {
        // A copy: the handler may change the map.
        const Run run = found->run;
        run();
    }
    return true;
}

bool CxAnswerCommand(unsigned id, CxCmdUI* ui, const std::function<bool(unsigned, CxCmdUI&)>& can,
                     const std::function<bool(unsigned)>& run) {
    CxCmdUI state;
    if (!can(id, ui ? *ui : state))
        return false;
    if (!ui && state.enabled)
        run(id);
    return true;
}

namespace {
CxCommandMap& Handlers() {
    static auto* handlers = new CxCommandMap;
    return *handlers;
}
} // namespace

void CxAppCommands::Add(unsigned id, Run run, Update update) {
    Handlers().Add(id, std::move(run), std::move(update));
}

void CxAppCommands::Remove(unsigned id) {
    Handlers().Remove(id);
}

bool CxAppCommands::OnCmdMsg(unsigned id, CxCmdUI* ui) {
    return Handlers().OnCmdMsg(id, ui);
}
