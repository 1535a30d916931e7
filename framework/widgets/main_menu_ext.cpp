#include "main_menu_ext.h"

namespace {
QList<CMainMenuExt*>& Extensions() {
    static auto* list = new QList<CMainMenuExt*>;
    return *list;
}
} // namespace

CMainMenuExt::CMainMenuExt() {
    Extensions().append(this);
}

CMainMenuExt::~CMainMenuExt() {
    Extensions().removeAll(this);
}

void CMainMenuExt::BuildMenu(QMenu* mainMenu) {
    for (CMainMenuExt* ext : Extensions())
        ext->OnBuildMenu(mainMenu);
}
