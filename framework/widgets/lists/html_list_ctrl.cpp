#include "html_list_ctrl.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QPainter>
#include <QTextDocument>

namespace {
// The item's HTML laid out for the width its text gets.
void LayOut(QTextDocument& doc, const QStyleOptionViewItem& option, const QModelIndex& index,
            int width) {
    QString html = index.data(CHTMLListCtrl::HtmlRole).toString();
    if (html.isEmpty())
        html = index.data(Qt::DisplayRole).toString().toHtmlEscaped();
    doc.setDefaultFont(option.font);
    doc.setDocumentMargin(2);
    doc.setHtml(html);
    if (width > 0)
        doc.setTextWidth(width);
}

QStyle* StyleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}
} // namespace

void CHTMLItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    QStyle* style = StyleOf(opt);
    // Background, selection, check box and focus as the style draws them.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    QTextDocument doc;
    LayOut(doc, opt, index, textRect.width());
    painter->save();
    painter->translate(textRect.topLeft());
    painter->setClipRect(QRect(QPoint(0, 0), textRect.size()));
    QAbstractTextDocumentLayout::PaintContext context;
    if (opt.state & QStyle::State_Selected)
        context.palette.setColor(QPalette::Text, opt.palette.color(QPalette::HighlightedText));
    doc.documentLayout()->draw(painter, context);
    painter->restore();
}

QSize CHTMLItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    int width = -1;
    if (const auto* view = qobject_cast<const QAbstractItemView*>(opt.widget)) {
        // The text's share of the row: the row's width less the check box.
        opt.rect = QRect(0, 0, view->viewport()->width(), 20);
        width = StyleOf(opt)->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).width();
    }
    QTextDocument doc;
    LayOut(doc, opt, index, width);
    const int textWidth = width > 0 ? width : int(doc.idealWidth());
    const int check = opt.rect.width() > 0 && width > 0 ? opt.rect.width() - width : 0;
    return QSize(textWidth + check, int(doc.size().height()) + 2);
}

CHTMLListCtrl::CHTMLListCtrl(QWidget* parent) : QListView(parent) {
    setItemDelegate(new CHTMLItemDelegate(this));
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(false);
    setWordWrap(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void CHTMLListCtrl::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    // Heights follow the width the HTML is laid out to.
    doItemsLayout();
}
