#pragma once
// Menus described once as data (the program's menu "resources") and built
// into QMenu trees on demand. Every command item carries its command id in
// QAction::data(); separators and popups carry none.
#include <QList>
#include <QString>

class QAction;
class QMenu;
class QWidget;

struct CxMenuItem {
    unsigned id = 0;
    QString text;     // may hold a second part after U+0001 (see DisplayText)
    QString shortcut; // portable text, e.g. "Ctrl+F4"
    bool isPopup = false;
    QList<CxMenuItem> items;

    static CxMenuItem Command(unsigned id, const QString& text, const QString& shortcut = {});
    static CxMenuItem Separator();
    static CxMenuItem Popup(const QString& text, const QList<CxMenuItem>& items);
};

class CxMenuResources {
public:
    static void Register(int id, const QList<CxMenuItem>& items);
    static bool Has(int id);
    // A new menu holding the resource's items (popups as sub-menus); null for
    // an unknown id. The caller owns it.
    static QMenu* Load(int id, QWidget* parent = nullptr);
    // Appends one described item to a menu.
    static QAction* AppendItem(QMenu* menu, const CxMenuItem& item);

    // The part of a caption that menus show: up to U+0001, which separates a
    // caption from its long name.
    static QString DisplayText(const QString& text);
    // The caption as stored (with its long name), and the command id.
    static QString ItemText(const QAction* action);
    static unsigned ItemID(const QAction* action);
};
