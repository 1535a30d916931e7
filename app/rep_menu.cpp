#include "rep_menu.h"

#include "command_ids.h"
#include "framework/widgets/menu_resource.h"

#include <QAction>
#include <QMenu>
#include <memory>

namespace {
// One global instance; never freed, since the menu may be built up to the
// very end of the run.
CKeldaRepMenu* const g_pRepMenu = new CKeldaRepMenu;

QString WithoutAmpersands(const QString& text) {
    QString out = text;
    out.remove(u'&');
    return out;
}

QAction* CopyItem(QAction* source, QMenu* destination) {
    if (source->isSeparator()) {
        auto* separator = new QAction(destination);
        separator->setSeparator(true);
        return separator;
    }
    auto* action = new QAction(source->icon(), source->text(), destination);
    action->setProperty("cxFullText", CxMenuResources::ItemText(source));
    action->setData(source->data());
    action->setShortcut(source->shortcut());
    action->setShortcutContext(source->shortcutContext());
    action->setEnabled(source->isEnabled());
    action->setCheckable(source->isCheckable());
    action->setChecked(source->isChecked());
    return action;
}
} // namespace

bool CKeldaRepMenu::MergeMenu(QMenu* destination, QMenu* source, bool topLevel) {
    if (!destination || !source)
        return false;
    if (source->actions().isEmpty())
        return true;
    if (!topLevel && !destination->actions().isEmpty())
        destination->addSeparator();
    for (QAction* item : source->actions()) {
        if (QMenu* popup = item->menu()) {
            const QString text = CxMenuResources::ItemText(item);
            QAction* insertBefore = nullptr;
            if (topLevel) {
                QMenu* match = nullptr;
                for (QAction* existing : destination->actions()) {
                    const QString existingText =
                        WithoutAmpersands(CxMenuResources::ItemText(existing));
                    if (!insertBefore && (existingText == QLatin1String("Window") ||
                                          existingText == QLatin1String("?") ||
                                          existingText == QLatin1String("Help")))
                        insertBefore = existing;
                    if (!match && existing->menu() && existingText == WithoutAmpersands(text))
                        match = existing->menu();
                }
                if (match) {
                    if (!MergeMenu(match, popup, false))
                        return false;
                    continue;
                }
            }
            auto* fresh = new QMenu(CxMenuResources::DisplayText(text), destination);
            fresh->menuAction()->setProperty("cxFullText", text);
            if (!MergeMenu(fresh, popup, false))
                return false;
            destination->insertMenu(insertBefore, fresh);
        } else {
            destination->addAction(CopyItem(item, destination));
        }
    }
    return true;
}

bool CKeldaRepMenu::OnBuildMenu(QMenu* mainMenu) {
    if (!mainMenu)
        return false;
    QMenu* reports = nullptr;
    QAction* placeholder = nullptr;
    for (QAction* top : mainMenu->actions()) {
        if (!top->menu())
            continue;
        for (QAction* item : top->menu()->actions())
            if (CxMenuResources::ItemID(item) == ID_PLACEHOLDER_REPORTS) {
                reports = top->menu();
                placeholder = item;
                break;
            }
        if (reports)
            break;
    }
    if (!reports)
        return false;

    std::unique_ptr<QMenu> reportItems(CxMenuResources::Load(IDR_REPORT_MENU));
    reports->removeAction(placeholder);
    delete placeholder;
    if (!reportItems || reportItems->actions().isEmpty() ||
        !reportItems->actions().first()->menu() ||
        !MergeMenu(reports, reportItems->actions().first()->menu(), true))
        return false;

    std::unique_ptr<QMenu> directoryItems(CxMenuResources::Load(IDR_DIRECTORY_MENU));
    const QList<QAction*> tops = mainMenu->actions();
    if (!directoryItems || tops.size() < 3 || !tops[2]->menu())
        return false;
    QMenu* directories = tops[2]->menu();
    for (QAction* old : directories->actions()) {
        directories->removeAction(old);
        if (old->parent() == directories)
            delete old;
    }
    if (directoryItems->actions().isEmpty() || !directoryItems->actions().first()->menu())
        return false;
    for (QAction* item : directoryItems->actions().first()->menu()->actions())
        if (!item->menu())
            directories->addAction(CopyItem(item, directories));
    return true;
}
