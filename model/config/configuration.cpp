#include "configuration.h"

#include "framework/core/tarvik_app.h"

#include <stdexcept>
#include <utility>

namespace {
QString Attr(const QString& name, const QString& value) {
    return u' ' + name + QStringLiteral("='") + SafeXMLData(value) + u'\'';
}
} // namespace

// PERIODS

_XML2Processor* xConfiguration::xPeriods::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                          _XML2Processor* parent) {
    if (tag == QLatin1String("PERIODS"))
        return this;
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

int xConfiguration::xPeriods::OnOpenTag(xml2Attr& attrs) {
    if (!_XML2Tag::OnOpenTag(attrs))
        return 0;
    BackupReminder =
        XmlToLong(attrs.GetAttr(QStringLiteral("BACKUPREMINDER"), QStringLiteral("0")));
    ProjectStartDate = attrs.GetAttr(QStringLiteral("PROJECTSTARTDATE"));
    return 1;
}

void xConfiguration::xPeriods::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<PERIODS") +
            Attr(QStringLiteral("BackupReminder"), QString::number(BackupReminder)) +
            Attr(QStringLiteral("ProjectStartDate"), ProjectStartDate));
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</PERIODS>"));
}

void xConfiguration::xPeriods::Reset() {
    ClearKept();
    BackupReminder = 0;
    ProjectStartDate.clear();
}

// LANGUAGE

_XML2Processor* xConfiguration::xLanguage::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                           _XML2Processor* parent) {
    const std::pair<const QString&, _XML2Tag*> lists[] = {
        {DirectionAndConsulting.GetElementName(), &DirectionAndConsulting},
        {Donors.GetElementName(), &Donors},
        {ParticipantProgram.GetElementName(), &ParticipantProgram},
        {Services.GetElementName(), &Services},
        {Speciality.GetElementName(), &Speciality},
        {WhoDirect.GetElementName(), &WhoDirect},
        {MatGroups.GetElementName(), &MatGroups},
        {WorkerType.GetElementName(), &WorkerType},
        {AgeGroup.GetElementName(), &AgeGroup},
        {PrjList.GetElementName(), &PrjList},
        {Towns.GetElementName(), &Towns},
        {ToolTips.GetElementName(), &ToolTips},
    };
    for (const auto& [element, list] : lists)
        if (tag == element)
            return list;
    if (tag == QLatin1String("KDREPORTPRESETS"))
        return &KDReportPresets;
    if (tag == QLatin1String("KDREPORTPRESETS2"))
        return &KDReportPresets2;
    if (tag == QLatin1String("LANGUAGE"))
        return this;
    return xLanguageBase::CreateTagObject(tag, attrs, parent);
}

void xConfiguration::xLanguage::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<LANGUAGE"));
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    DirectionAndConsulting.BuildXML(out);
    Donors.BuildXML(out);
    ParticipantProgram.BuildXML(out);
    Services.BuildXML(out);
    Speciality.BuildXML(out);
    WhoDirect.BuildXML(out);
    MatGroups.BuildXML(out);
    WorkerType.BuildXML(out);
    AgeGroup.BuildXML(out);
    PrjList.BuildXML(out);
    Towns.BuildXML(out);
    KDReportPresets.BuildXML(out);
    KDReportPresets2.BuildXML(out);
    ToolTips.BuildXML(out);
    xLanguageBase::BuildXML(out);
    out.Add(QStringLiteral("</LANGUAGE>"));
}

// CONFIGURATION

xConfiguration::xConfiguration() = default;
xConfiguration::~xConfiguration() = default;

_XML2Processor* xConfiguration::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                _XML2Processor* parent) {
    if (tag == QLatin1String("CONFIGURATION"))
        return this;
    if (!parent)
        return nullptr; // a document of another kind
    if (tag == QLatin1String("PERIODS"))
        return &Periods;
    if (tag == QLatin1String("LANGUAGE")) {
        Languages.push_back(std::make_unique<xLanguage>());
        return Languages.back().get();
    }
    return xCfgBase2::CreateTagObject(tag, attrs, parent);
}

int xConfiguration::OnOpenTag(xml2Attr& attrs) {
    if (!xCfgBase2::OnOpenTag(attrs))
        return 0;
    Version = XmlToLong(attrs.GetAttr(QStringLiteral("VERSION"), QStringLiteral("0")));
    UpdateURL = attrs.GetAttr(QStringLiteral("UPDATEURL"));
    PDIMode = XmlToLong(attrs.GetAttr(QStringLiteral("PDIMODE"), QStringLiteral("0")));
    return 1;
}

void xConfiguration::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<CONFIGURATION") +
            Attr(QStringLiteral("Version"), QString::number(Version)) +
            Attr(QStringLiteral("UpdateURL"), UpdateURL) +
            Attr(QStringLiteral("PDIMode"), QString::number(PDIMode)));
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    Periods.BuildXML(out);
    for (auto& language : Languages)
        language->BuildXML(out);
    xCfgBase2::BuildXML(out);
    out.Add(QStringLiteral("</CONFIGURATION>"));
}

xConfiguration::xLanguage* xConfiguration::GetCurrentLanguage() {
    auto* language = static_cast<xLanguage*>(xCfgBase2::GetCurrentLanguage());
    return language ? language : &m_emptyLanguage;
}

void xConfiguration::ResetContent() {
    xCfgBase2::ResetContent();
    Version = 0;
    UpdateURL.clear();
    PDIMode = 0;
    Periods.Reset();
    for (auto& language : Languages)
        m_retired.push_back(std::move(language));
    Languages.clear();
}

// The program's configuration

int xKDConfiguration::GetLanguageIDs(QList<int>& ids) {
    ids.clear();
    for (auto& language : Languages)
        ids.append(language->GetLanguageID());
    return int(ids.size());
}

xLanguageBase* xKDConfiguration::GetLanguageAt(int index) {
    if (index < 0 || index >= int(Languages.size()))
        throw std::invalid_argument("xKDConfiguration::GetLanguageAt: no such language section");
    return Languages[size_t(index)].get();
}

xConfiguration* CurrentConfiguration() {
    return dynamic_cast<xConfiguration*>(CTarvikApp::GetConfig());
}
