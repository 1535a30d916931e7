#include "tool_bar.h"

#include "icons.h"
#include "menu_resource.h"

#include <QAction>
#include <QToolButton>

CxToolBar::CxToolBar(QWidget* parent) : QToolBar(parent) {
    setIconSize(QSize(24, 24));
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

CxToolBar::~CxToolBar() {
    qDeleteAll(m_groups);
}

void CxToolBar::AddToolGroup(CxToolBarGroup* group) {
    if (!m_groups.isEmpty())
        addSeparator();
    m_groups.append(group);
    for (const CxToolBarItem* item : group->Items()) {
        const QString caption = CxMenuResources::DisplayText(item->Caption());
        auto* action = new QAction(CxIcons::Get(item->IconID()), caption, this);
        action->setData(item->ID());
        action->setToolTip(caption);
        addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
            button->setToolButtonStyle((item->Style() & ITEM_TEXT) ? Qt::ToolButtonTextBesideIcon
                                                                   : Qt::ToolButtonIconOnly);
    }
}

QList<QAction*> CxToolBar::CommandActions() const {
    QList<QAction*> list;
    for (QAction* action : actions())
        if (!action->isSeparator())
            list << action;
    return list;
}
