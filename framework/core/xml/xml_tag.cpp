#include "xml_tag.h"

struct _XML2Tag::Content {
    std::unique_ptr<CxXMLKeptTag> element; // null for text
    QString text;
};

_XML2Tag::_XML2Tag() = default;
_XML2Tag::~_XML2Tag() = default;

_XML2Processor* _XML2Tag::CreateTagObject(const QString&, xml2Attr& attrs, _XML2Processor*) {
    auto kept = std::make_unique<CxXMLKeptTag>(attrs.GetTagName());
    CxXMLKeptTag* raw = kept.get();
    m_content.push_back({std::move(kept), QString()});
    return raw;
}

int _XML2Tag::OnOpenTag(xml2Attr&) {
    return 1;
}

int _XML2Tag::OnData(const QString& text) {
    if (!text.trimmed().isEmpty())
        m_content.push_back({nullptr, text});
    return 1;
}

int _XML2Tag::OnCloseTag(const QString&) {
    return 1;
}

void _XML2Tag::BuildXML(CXMLOut& out) {
    for (Content& content : m_content) {
        if (content.element)
            content.element->BuildXML(out);
        else
            out.Add(SafeXMLData(content.text));
    }
}

void _XML2Tag::BuildXMLAttr(CXMLOut& out) {
    for (const xml2Attr::Attr& attr : m_extraAttrs)
        out.Add(QStringLiteral(" ") + attr.name + QStringLiteral("='") + SafeXMLData(attr.value) +
                QStringLiteral("'"));
}

void _XML2Tag::KeepAttributes(const QList<xml2Attr::Attr>& attrs) {
    m_extraAttrs = attrs;
}

void _XML2Tag::ClearKept() {
    m_extraAttrs.clear();
    m_content.clear();
}

void CxXMLKeptTag::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<") + m_name);
    BuildXMLAttr(out);
    CXMLOut inner;
    _XML2Tag::BuildXML(inner);
    if (inner.GetLength() == 0) {
        out.Add(QStringLiteral("/>"));
        return;
    }
    out.Add(QStringLiteral(">"));
    out.Add(inner.GetBuffer());
    out.Add(QStringLiteral("</") + m_name + QStringLiteral(">"));
}
