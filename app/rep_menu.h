#pragma once
// Puts the report items (menu 1125) into the main menu's popup that holds the
// report placeholder, and fills the third popup ("Справочники") with the
// directory items (menu 3221), every time the main menu is built.
#include "framework/widgets/main_menu_ext.h"

class CKeldaRepMenu : public CMainMenuExt {
public:
    bool OnBuildMenu(QMenu* mainMenu) override;
    // Merges the source menu into the destination; at the top level a source
    // popup joins a destination popup of the same caption. False when a step
    // failed.
    static bool MergeMenu(QMenu* destination, QMenu* source, bool topLevel);
};
