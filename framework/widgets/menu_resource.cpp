#include "menu_resource.h"

#include <QAction>
#include <QHash>
#include <QKeySequence>
#include <QMenu>

namespace {
QHash<int, QList<CxMenuItem>>& Resources() {
    static auto* resources = new QHash<int, QList<CxMenuItem>>;
    return *resources;
}
const char* const kFullText = "cxFullText";
} // namespace

CxMenuItem CxMenuItem::Command(unsigned id, const QString& text, const QString& shortcut) {
    CxMenuItem item;
    item.id = id;
    item.text = text;
    item.shortcut = shortcut;
    return item;
}

CxMenuItem CxMenuItem::Separator() {
    return CxMenuItem();
}

CxMenuItem CxMenuItem::Popup(const QString& text, const QList<CxMenuItem>& items) {
    CxMenuItem item;
    item.text = text;
    item.isPopup = true;
    item.items = items;
    return item;
}

void CxMenuResources::Register(int id, const QList<CxMenuItem>& items) {
    Resources().insert(id, items);
}

bool CxMenuResources::Has(int id) {
    return Resources().contains(id);
}

QAction* CxMenuResources::AppendItem(QMenu* menu, const CxMenuItem& item) {
    if (item.isPopup) {
        auto* popup = new QMenu(DisplayText(item.text), menu);
        popup->menuAction()->setProperty(kFullText, item.text);
        for (const CxMenuItem& sub : item.items)
            AppendItem(popup, sub);
        menu->addMenu(popup);
        return popup->menuAction();
    }
    if (item.id == 0 && item.text.isEmpty())
        return menu->addSeparator();
    auto* action = new QAction(DisplayText(item.text), menu);
    action->setProperty(kFullText, item.text);
    action->setData(item.id);
    if (!item.shortcut.isEmpty()) {
        action->setShortcut(QKeySequence(item.shortcut, QKeySequence::PortableText));
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    menu->addAction(action);
    return action;
}

QMenu* CxMenuResources::Load(int id, QWidget* parent) {
    const auto found = Resources().constFind(id);
    if (found == Resources().constEnd())
        return nullptr;
    auto* menu = new QMenu(parent);
    for (const CxMenuItem& item : *found)
        AppendItem(menu, item);
    return menu;
}

QString CxMenuResources::DisplayText(const QString& text) {
    const qsizetype cut = text.indexOf(QChar(1));
    return cut < 0 ? text : text.left(cut);
}

QString CxMenuResources::ItemText(const QAction* action) {
    const QVariant full = action->property(kFullText);
    return full.isValid() ? full.toString() : action->text();
}

unsigned CxMenuResources::ItemID(const QAction* action) {
    return action->menu() || action->isSeparator() ? 0 : action->data().toUInt();
}
