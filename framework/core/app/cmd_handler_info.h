#pragma once
// Filled when the user interface only asks who handles a command (to enable
// its menu item or button) rather than running it.
class QObject;

struct CxCmdHandlerInfo {
    QObject* pTarget = nullptr;
};
