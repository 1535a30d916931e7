#include "report_presets.h"

#include "framework/core/tarvik_app.h"
#include "framework/core/xml/xml_parser.h"

namespace {
const QString kV1Element = QStringLiteral("KDREPPRESET");
const QString kV2Element = QStringLiteral("KDREPPRESET2");

QString IntAttr(const QString& name, long value) {
    return u' ' + name + QStringLiteral("='") + QString::number(value) + u'\'';
}

QString TextAttr(const QString& name, const QString& value) {
    return u' ' + name + QStringLiteral("='") + SafeXMLData(value) + u'\'';
}

long ReadInt(const xml2Attr& attrs, const char* upperName) {
    return XmlToLong(attrs.GetAttr(QString::fromLatin1(upperName), QStringLiteral("0")));
}

QString ReadText(const xml2Attr& attrs, const char* upperName) {
    return attrs.GetAttr(QString::fromLatin1(upperName));
}

bool Is(const QString& name, const char* field) {
    return name.compare(QLatin1String(field), Qt::CaseInsensitive) == 0;
}

// Copies a preset through its own text: what the copy holds is exactly what
// would be stored, kept attributes and elements included.
template <class T> void CopyThroughXML(T& target, const T& source) {
    CXMLOut out;
    const_cast<T&>(source).BuildXML(out);
    target.Clear();
    XML2Parser parser;
    parser.Parse(out.ToString(), &target);
}
} // namespace

// ---- the fields of both versions ----

void xKDRepPresetFields::ReadFields(const xml2Attr& attrs) {
    Title = ReadText(attrs, "TITLE");
    Comment = ReadText(attrs, "COMMENT");
    RecordType = ReadInt(attrs, "RECORDTYPE");
    ClipCodes = ReadInt(attrs, "CLIPCODES");
    DirOnly = ReadInt(attrs, "DIRONLY");
    ProjectStartDate = ReadText(attrs, "PROJECTSTARTDATE");
}

QString xKDRepPresetFields::FieldAttrs() const {
    return TextAttr(QStringLiteral("Title"), Title) + TextAttr(QStringLiteral("Comment"), Comment) +
           IntAttr(QStringLiteral("RecordType"), RecordType) +
           IntAttr(QStringLiteral("ClipCodes"), ClipCodes) +
           IntAttr(QStringLiteral("DirOnly"), DirOnly) +
           TextAttr(QStringLiteral("ProjectStartDate"), ProjectStartDate);
}

void xKDRepPresetFields::ClearFields() {
    Title.clear();
    Comment.clear();
    RecordType = ClipCodes = DirOnly = 0;
    ProjectStartDate.clear();
}

bool xKDRepPresetFields::SetField(const QString& name, const QString& value) {
    if (Is(name, "Title"))
        Title = value;
    else if (Is(name, "Comment"))
        Comment = value;
    else if (Is(name, "RecordType"))
        RecordType = XmlToLong(value);
    else if (Is(name, "ClipCodes"))
        ClipCodes = XmlToLong(value);
    else if (Is(name, "DirOnly"))
        DirOnly = XmlToLong(value);
    else if (Is(name, "ProjectStartDate"))
        ProjectStartDate = value;
    else
        return false;
    return true;
}

bool xKDRepPresetFields::GetField(const QString& name, QString* value) const {
    if (Is(name, "Title"))
        *value = Title;
    else if (Is(name, "Comment"))
        *value = Comment;
    else if (Is(name, "RecordType"))
        *value = QString::number(RecordType);
    else if (Is(name, "ClipCodes"))
        *value = QString::number(ClipCodes);
    else if (Is(name, "DirOnly"))
        *value = QString::number(DirOnly);
    else if (Is(name, "ProjectStartDate"))
        *value = ProjectStartDate;
    else
        return false;
    return true;
}

// ---- version 1 ----

xKDReportPresets::xKDRepPreset::xKDRepPreset() = default;

_XML2Processor* xKDReportPresets::xKDRepPreset::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                                _XML2Processor* parent) {
    if (tag == kV1Element)
        return this;
    if (tag == Detailed.GetTag())
        return &Detailed;
    if (tag == Summary.GetTag())
        return &Summary;
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

int xKDReportPresets::xKDRepPreset::OnOpenTag(xml2Attr& attrs) {
    if (!_XML2Tag::OnOpenTag(attrs))
        return 0;
    ReadFields(attrs);
    return 1;
}

void xKDReportPresets::xKDRepPreset::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<") + kV1Element + FieldAttrs());
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    Detailed.BuildXML(out);
    Summary.BuildXML(out);
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</") + kV1Element + QStringLiteral(">"));
}

void xKDReportPresets::xKDRepPreset::Clear() {
    ClearFields();
    for (xIDItemList* list : {&Detailed, &Summary}) {
        list->RemoveAll();
        list->ClearKept();
    }
    ClearKept();
}

void xKDReportPresets::xKDRepPreset::Copy(const xKDRepPreset& other) {
    if (&other != this)
        CopyThroughXML(*this, other);
}

int xKDReportPresets::xKDRepPreset::SetFieldValue(const QString& name, const QString& value) {
    return SetField(name, value) ? 1 : 0;
}

QString xKDReportPresets::xKDRepPreset::GetFieldValue(const QString& name) const {
    QString value;
    GetField(name, &value);
    return value;
}

_XML2Processor* xKDReportPresets::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                  _XML2Processor* parent) {
    if (tag == QLatin1String("KDREPORTPRESETS"))
        return this;
    if (tag == kV1Element) {
        m_presets.push_back(std::make_unique<xKDRepPreset>());
        return m_presets.back().get();
    }
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

void xKDReportPresets::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<KDREPORTPRESETS"));
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    for (const auto& preset : m_presets)
        preset->BuildXML(out);
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</KDREPORTPRESETS>"));
}

// ---- version 2 ----

xKDReportPresets2::xKDRepPreset2::xKDRepPreset2() = default;

xIDItemList* xKDReportPresets2::xKDRepPreset2::ListOfTag(const QString& tag) {
    for (xIDItemList* list : {&Detailed, &SumRows, &SumCols, &SumCols2, &SumGroup})
        if (tag == list->GetTag())
            return list;
    return nullptr;
}

_XML2Processor* xKDReportPresets2::xKDRepPreset2::CreateTagObject(const QString& tag,
                                                                  xml2Attr& attrs,
                                                                  _XML2Processor* parent) {
    if (tag == kV2Element)
        return this;
    if (xIDItemList* list = ListOfTag(tag))
        return list;
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

int xKDReportPresets2::xKDRepPreset2::OnOpenTag(xml2Attr& attrs) {
    if (!_XML2Tag::OnOpenTag(attrs))
        return 0;
    RepGrp = ReadInt(attrs, "REPGRP");
    PivotMode = ReadInt(attrs, "PIVOTMODE");
    PeriodMode = ReadInt(attrs, "PERIODMODE");
    ReadFields(attrs);
    return 1;
}

void xKDReportPresets2::xKDRepPreset2::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<") + kV2Element + IntAttr(QStringLiteral("RepGrp"), RepGrp) +
            IntAttr(QStringLiteral("PivotMode"), PivotMode) +
            IntAttr(QStringLiteral("PeriodMode"), PeriodMode) + FieldAttrs());
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    for (xIDItemList* list : {&Detailed, &SumRows, &SumCols, &SumCols2, &SumGroup})
        list->BuildXML(out);
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</") + kV2Element + QStringLiteral(">"));
}

void xKDReportPresets2::xKDRepPreset2::Clear() {
    RepGrp = PivotMode = PeriodMode = 0;
    ClearFields();
    for (xIDItemList* list : {&Detailed, &SumRows, &SumCols, &SumCols2, &SumGroup}) {
        list->RemoveAll();
        list->ClearKept();
    }
    ClearKept();
}

void xKDReportPresets2::xKDRepPreset2::Copy(const xKDRepPreset2& other) {
    if (&other != this)
        CopyThroughXML(*this, other);
}

int xKDReportPresets2::xKDRepPreset2::SetFieldValue(const QString& name, const QString& value) {
    if (Is(name, "RepGrp"))
        RepGrp = XmlToLong(value);
    else if (Is(name, "PivotMode"))
        PivotMode = XmlToLong(value);
    else if (Is(name, "PeriodMode"))
        PeriodMode = XmlToLong(value);
    else
        return SetField(name, value) ? 1 : 0;
    return 1;
}

QString xKDReportPresets2::xKDRepPreset2::GetFieldValue(const QString& name) const {
    if (Is(name, "RepGrp"))
        return QString::number(RepGrp);
    if (Is(name, "PivotMode"))
        return QString::number(PivotMode);
    if (Is(name, "PeriodMode"))
        return QString::number(PeriodMode);
    QString value;
    GetField(name, &value);
    return value;
}

_XML2Processor* xKDReportPresets2::CreateTagObject(const QString& tag, xml2Attr& attrs,
                                                   _XML2Processor* parent) {
    if (tag == QLatin1String("KDREPORTPRESETS2"))
        return this;
    if (tag == kV2Element) {
        m_presets.push_back(std::make_unique<xKDRepPreset2>());
        return m_presets.back().get();
    }
    return _XML2Tag::CreateTagObject(tag, attrs, parent);
}

void xKDReportPresets2::BuildXML(CXMLOut& out) {
    out.Add(QStringLiteral("<KDREPORTPRESETS2"));
    BuildXMLAttr(out);
    out.Add(QStringLiteral(">"));
    for (const auto& preset : m_presets)
        preset->BuildXML(out);
    _XML2Tag::BuildXML(out);
    out.Add(QStringLiteral("</KDREPORTPRESETS2>"));
}

xKDReportPresets2::xKDRepPreset2* xKDReportPresets2::FindByTitle(const QString& title) const {
    for (const auto& preset : m_presets)
        if (preset->Title == title)
            return preset.get();
    return nullptr;
}

void xKDReportPresets2::AddCopy(const xKDRepPreset2& preset) {
    auto copy = std::make_unique<xKDRepPreset2>();
    copy->Copy(preset);
    m_presets.push_back(std::move(copy));
}

void xKDReportPresets2::RemoveAt(int index) {
    if (index >= 0 && index < GetCount())
        m_presets.erase(m_presets.begin() + index);
}

void xKDReportPresets2::RemoveAll() {
    m_presets.clear();
}

QString xKDReportPresets2::BuildText() {
    CXMLOut out;
    BuildXML(out);
    return out.ToString();
}

bool xKDReportPresets2::LoadFromProfile(QString* error) {
    const QString text = CTarvikApp::GetProfileString(QStringLiteral("Reports"),
                                                      QStringLiteral("KDPresets2"), QString());
    if (text.trimmed().isEmpty())
        return true;
    XML2Parser parser;
    if (parser.Parse(text, this))
        return true;
    if (error)
        *error = parser.GetError();
    return false;
}

bool xKDReportPresets2::SaveToProfile() {
    return CTarvikApp::WriteProfileString(QStringLiteral("Reports"), QStringLiteral("KDPresets2"),
                                          BuildText());
}
