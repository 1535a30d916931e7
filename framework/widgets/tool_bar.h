#pragma once
// The frame's tool bar, made of captioned groups of command buttons. Item
// style bit 1 shows the caption under the icon (otherwise the caption is the
// button's tip); a group opens with a separator unless it is the first.
#include "framework/core/app/base_class.h"

#include <QIcon>
#include <QList>
#include <QString>
#include <QToolBar>

class CxToolBarItem {
public:
    CxToolBarItem(unsigned id, const QString& caption, int iconId, int value, int style)
        : m_id(id), m_caption(caption), m_iconId(iconId), m_value(value), m_style(style) {}
    unsigned ID() const { return m_id; }
    QString Caption() const { return m_caption; }
    int IconID() const { return m_iconId; }
    int Value() const { return m_value; }
    int Style() const { return m_style; }

private:
    unsigned m_id;
    QString m_caption;
    int m_iconId;
    int m_value;
    int m_style;
};

class CxToolBarGroup {
public:
    explicit CxToolBarGroup(const QString& caption, int style = 0)
        : m_caption(caption), m_style(style) {}
    ~CxToolBarGroup() { qDeleteAll(m_items); }
    void AddItem(CxToolBarItem* item) { m_items.append(item); } // takes ownership
    QString Caption() const { return m_caption; }
    int Style() const { return m_style; }
    const QList<CxToolBarItem*>& Items() const { return m_items; }

private:
    QString m_caption;
    int m_style;
    QList<CxToolBarItem*> m_items;
};

class CxToolBar : public QToolBar, public CBaseClass {
    Q_OBJECT
public:
    explicit CxToolBar(QWidget* parent = nullptr);
    ~CxToolBar() override;

    // Adds the group's buttons (the tool bar owns the group from here on).
    void AddToolGroup(CxToolBarGroup* group);
    const QList<CxToolBarGroup*>& Groups() const { return m_groups; }
    // The button actions, each with its command id in data().
    QList<QAction*> CommandActions() const;

    enum : int { ITEM_TEXT = 1 };

private:
    QList<CxToolBarGroup*> m_groups;
};
