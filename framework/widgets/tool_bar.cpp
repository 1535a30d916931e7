#include "tool_bar.h"

#include "icons.h"
#include "menu_resource.h"

#include <QAction>
#include <QFont>
#include <QToolButton>

namespace {
// A caption of several words goes on two lines under its icon, split at the
// blank nearest the middle, so the buttons stay narrow.
QString ButtonText(const QString& caption) {
    if (caption.size() <= 10)
        return caption;
    qsizetype best = -1;
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i] == u' ' &&
            (best < 0 || qAbs(i - caption.size() / 2) < qAbs(best - caption.size() / 2)))
            best = i;
    if (best < 0)
        return caption;
    return caption.left(best) + u'\n' + caption.mid(best + 1);
}
} // namespace

CxToolBar::CxToolBar(QWidget* parent) : QToolBar(parent) {
    setIconSize(QSize(24, 24));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Captions under the icons in a slightly smaller type keep the whole bar
    // on one line of an ordinary screen.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    setFont(small);
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
        action->setIconText(ButtonText(caption));
        addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
            button->setToolButtonStyle((item->Style() & ITEM_TEXT) ? Qt::ToolButtonTextUnderIcon
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
