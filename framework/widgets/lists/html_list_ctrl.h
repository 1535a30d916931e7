#pragma once
// A list whose items are short HTML texts (a title in colour over a comment,
// as the preset lists show them): the model gives each item's HTML under
// CHTMLListCtrl::HtmlRole (its plain text under Qt::DisplayRole, for search
// and accessibility) and, where items can be ticked, a check state. The HTML
// is laid out to the list's width, so long comments wrap.
#include <QListView>
#include <QStyledItemDelegate>

class CHTMLItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class CHTMLListCtrl : public QListView {
    Q_OBJECT
public:
    enum Roles : int { HtmlRole = Qt::UserRole + 100 };
    explicit CHTMLListCtrl(QWidget* parent = nullptr);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
