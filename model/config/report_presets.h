#pragma once
// The two report preset lists of a configuration language section. Until the
// report framework supplies its preset classes, each preset is kept as read
// and written back unchanged.
#include "framework/core/containers/cx_obj.h"
#include "framework/core/xml/xml_tag.h"

class xKDReportPresets : public _XML2Tag {
public:
    xKDReportPresets()
        : xKDReportPresets(QStringLiteral("KDREPORTPRESETS"), QStringLiteral("KDREPPRESET")) {}

    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override;
    void BuildXML(CXMLOut& out) override;

    int GetCount() const { return m_presets.GetSize(); }
    _XML2Tag* GetAt(int index) const { return m_presets.GetAt(index); }

protected:
    xKDReportPresets(const QString& listElement, const QString& presetElement)
        : m_listElement(listElement), m_presetElement(presetElement) {}
    // A new preset for a preset element.
    virtual _XML2Tag* NewPreset(const xml2Attr& attrs);

private:
    QString m_listElement;
    QString m_presetElement;
    CxObjArray<_XML2Tag*> m_presets;
};

class xKDReportPresets2 : public xKDReportPresets {
public:
    xKDReportPresets2()
        : xKDReportPresets(QStringLiteral("KDREPORTPRESETS2"), QStringLiteral("KDREPPRESET2")) {}
};
