#include "id_item.h"

int _xmlIDItem::OnOpenTag(xml2Attr& attrs) {
    if (!_XML2Tag::OnOpenTag(attrs))
        return 0;
    ID = XmlToLong(attrs.GetAttr(QStringLiteral("ID"), QStringLiteral("0")));
    return 1;
}

void _xmlIDItem::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<Item ID='%1'").arg(ID));
    BuildXMLAttr(out);
    out.Add(QStringLiteral("/>"));
}

_XML2Processor* xIDItemList::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                             _XML2Processor* parent) {
    if (tag == m_tag)
        return this;
    if (tag == QLatin1String("ITEM")) {
        auto* item = new _xmlIDItem;
        m_items.Add(item);
        return item;
    }
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

void xIDItemList::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<") + m_tag);
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    for (int i = 0; i < m_items.GetSize(); ++i)
        m_items.GetAt(i)->BuildXML(out);
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</") + m_tag + QStringLiteral(">"));
}

QList<long> xIDItemList::GetIDs() const {
    QList<long> ids;
    for (int i = 0; i < m_items.GetSize(); ++i)
        ids << m_items.GetAt(i)->ID;
    return ids;
}

void xIDItemList::SetIDs(const QList<long>& ids) {
    m_items.RemoveAll();
    for (long id : ids)
        Add(id);
}
