#include "report_presets.h"

_XML2Processor* xKDReportPresets::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                  _XML2Processor* parent) {
    if (tag == m_listElement)
        return this;
    if (tag == m_presetElement) {
        _XML2Tag* preset = NewPreset(attrs);
        m_presets.Add(preset);
        return preset;
    }
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

void xKDReportPresets::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<") + m_listElement);
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    for (_XML2Tag* preset : m_presets)
        preset->BuildXML(out);
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</") + m_listElement + QStringLiteral(">"));
}

_XML2Tag* xKDReportPresets::NewPreset(const xml2Attr& attrs) {
    return new _XML2KeptTag(attrs.GetTagName());
}
