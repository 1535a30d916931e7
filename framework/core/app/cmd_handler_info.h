#pragma once
// Handed to a command handler when the user interface only asks whether the
// command is handled (to enable its menu item or button) rather than running
// it: its presence is the question, so the handler must not run the command.
struct CxCmdHandlerInfo {};
