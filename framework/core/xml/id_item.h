#pragma once
// An element that carries one integer id ("<Item ID='5'/>"), and a list of
// them under an element of its own ("<DETAILED><Item ID='5'/></DETAILED>").
// The order of the items is kept: it is the order of columns or rows for the
// documents that use the lists.
#include "framework/core/containers/cx_obj.h"
#include "xml_tag.h"

#include <QList>

class _xmlIDItem : public _XML2Tag {
public:
    _xmlIDItem() = default;
    explicit _xmlIDItem(long id) : ID(id) {}

    int OnOpenTag(xml2Attr& attrs) override;
    void BuildXML(CXMLOut& out) override;

    long ID = 0;
};

class xIDItemList : public _XML2Tag {
public:
    explicit xIDItemList(const QString& tag) : m_tag(tag) {}

    const QString& GetTag() const { return m_tag; }
    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override;
    void BuildXML(CXMLOut& out) override;

    int GetCount() const { return m_items.GetSize(); }
    long GetAt(int index) const { return m_items.GetAt(index)->ID; }
    QList<long> GetIDs() const;
    // Replaces the items by the ids, in order.
    void SetIDs(const QList<long>& ids);
    void Add(long id) { m_items.Add(new _xmlIDItem(id)); }
    void RemoveAll() { m_items.RemoveAll(); }

private:
    QString m_tag;
    CxObjArray<_xmlIDItem*> m_items;
};
