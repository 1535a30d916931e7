#pragma once
// Self-registering extensions of the main menu: each is asked to adjust the
// main menu every time a frame builds it.
#include <QList>

class QMenu;

class CMainMenuExt {
public:
    CMainMenuExt();
    virtual ~CMainMenuExt();
    // False when the extension left the menu as it was or could not finish.
    virtual bool OnBuildMenu(QMenu* mainMenu) = 0;

    // Runs every registered extension on a freshly built main menu.
    static void BuildMenu(QMenu* mainMenu);
};
