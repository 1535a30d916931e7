#pragma once
// The XML tag model: the parser asks the current tag object for the object
// that handles each child element (CreateTagObject), hands that object the
// element's attributes (OnOpenTag), its text (OnData) and its end
// (OnCloseTag); writing asks each object to append itself (BuildXML).
// _XML2Tag keeps whatever its subclass does not handle (attributes, child
// elements, text) and writes it back, so a document survives a read and write
// by a program that knows only part of it.
#include "framework/core/containers/acc_string.h"
#include "xml_attr.h"

#include <memory>
#include <vector>

using CXMLOut = CAccStringT<wchar_t>;

class _XML2Processor {
public:
    virtual ~_XML2Processor() = default;
    // The object for a child element; tag is the element name in upper case,
    // parent the object handling the enclosing element (null for the root).
    // Null refuses the element.
    virtual _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                            _XML2Processor* parent) = 0;
    virtual int OnOpenTag(xml2Attr& attrs) = 0;
    virtual int OnData(const QString& text) = 0;
    virtual int OnCloseTag(const QString& tag) = 0;
    virtual void BuildXML(CXMLOut& out) = 0;
    virtual void BuildXMLAttr(CXMLOut& out) = 0;
    // The attributes of the element that OnOpenTag did not ask for.
    virtual void KeepAttributes(const QList<xml2Attr::Attr>& attrs) = 0;
};

class _XML2Tag : public _XML2Processor {
public:
    _XML2Tag();
    ~_XML2Tag() override;

    // Keeps an element it does not know as a child to write back.
    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override;
    int OnOpenTag(xml2Attr& attrs) override;
    // Keeps text that is not only white space.
    int OnData(const QString& text) override;
    int OnCloseTag(const QString& tag) override;
    // Writes the kept children and text.
    void BuildXML(CXMLOut& out) override;
    // Writes the kept attributes, each as " Name='value'".
    void BuildXMLAttr(CXMLOut& out) override;
    void KeepAttributes(const QList<xml2Attr::Attr>& attrs) override;

    // Forgets everything kept.
    void ClearKept();

private:
    struct Content; // a kept child element or text
    QList<xml2Attr::Attr> m_extraAttrs;
    std::vector<Content> m_content;
};

// An element kept whole: its name, attributes, text and children.
class CxXMLKeptTag : public _XML2Tag {
public:
    explicit CxXMLKeptTag(const QString& name) : m_name(name) {}
    const QString& GetName() const { return m_name; }
    void BuildXML(CXMLOut& out) override;

private:
    QString m_name;
};
