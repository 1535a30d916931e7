#pragma once
// Command routing of the user interface. A command id goes first to the
// active document window, then to the main frame, then to the application's
// command map, and last to the application's map of command addresses
// (CTarvikApp::OnMapCmdToURL). A command that nobody handles stays disabled.
#include <QHash>
#include <functional>

// The state a handler gives a command's menu item or button.
struct CxCmdUI {
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
};

class CxCmdTarget {
public:
    virtual ~CxCmdTarget() = default;
    // ui set: only say whether (and how) the command is handled; ui null: run
    // it, if it is enabled. Answers whether this target handles the command
    // (a claimed but disabled command ends here too).
    virtual bool OnCmdMsg(unsigned id, CxCmdUI* ui) = 0;
};

// The routing answer of a target whose two questions are separate: `can`
// says whether it handles the command and fills its state; `run` runs it.
// Asked (ui set), the state is the answer; run (ui null), only an enabled
// command runs, and a command the target claims but disables ends with it,
// as its disabled button shows.
bool CxAnswerCommand(unsigned id, CxCmdUI* ui, const std::function<bool(unsigned, CxCmdUI&)>& can,
                     const std::function<bool(unsigned)>& run);

// Handlers by command id: what running the command does and how its menu
// item or button shows.
class CxCommandMap {
public:
    using Run = std::function<void()>;
    using Update = std::function<void(CxCmdUI&)>;
    void Add(unsigned id, Run run, Update update = {});
    void Remove(unsigned id) { m_handlers.remove(id); }
    // As CxCmdTarget::OnCmdMsg.
    bool OnCmdMsg(unsigned id, CxCmdUI* ui) const;

private:
    struct Handler {
        Run run;
        Update update;
    };
    QHash<unsigned, Handler> m_handlers;
};

// The application's own command handlers (the application's message map).
class CxAppCommands {
public:
    using Run = CxCommandMap::Run;
    using Update = CxCommandMap::Update;
    static void Add(unsigned id, Run run, Update update = {});
    static void Remove(unsigned id);
    static bool OnCmdMsg(unsigned id, CxCmdUI* ui);
};
