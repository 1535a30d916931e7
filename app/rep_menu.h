#pragma once
// Puts the report items (menu 1125) into the main menu's popup that holds the
// report placeholder, and fills the third popup ("Справочники") with the
// directory items (menu 3221), every time the main menu is built.
#include "framework/widgets/main_menu_ext.h"

#include <QHash>

class CKeldaRepMenu : public CMainMenuExt {
public:
    int OnBuildMenu(QMenu* mainMenu) override;
    // Merges the source menu into the destination; at the top level a source
    // popup joins a destination popup of the same caption. 1 on success.
    static int MergeMenu(QMenu* destination, QMenu* source, bool topLevel);

private:
    QHash<int, int> m_map; // kept for the menu building of later versions
};
