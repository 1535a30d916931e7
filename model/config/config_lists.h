#pragma once
// The predefined lists of a configuration language section. Each list is an
// enumeration (single values) filled from the document's Item elements: ID is
// the code, Name the identifier, Title the text and Desc the description.
#include "framework/core/enums/enum2.h"
#include "framework/core/xml/xml_tag.h"

struct sDirectionAndConsulting : sEnum2 {};
struct sDonors : sEnum2 {};
struct sParticipantProgram : sEnum2 {};
struct sServices : sEnum2 {};
struct sSpeciality : sEnum2 {};
struct sWhoDirect : sEnum2 {};
struct sMatGroups : sEnum2 {
    long nGroup = 0; // ID of the parent group item; 0 for none
};
struct sWorkerType : sEnum2 {};
struct sAgeGroup : sEnum2 {};
struct sPrjList : sEnum2 {
    bool bNoSQLMap = false;
};
struct sTowns : sEnum2 {
    long nGroup = 0; // ID of the region or other parent entry; 0 for none
};
struct sToolTips : sEnum2 {};

template <class T> class xCfgList : public CEnum2Tpl<T>, public _XML2Tag {
public:
    explicit xCfgList(const QString& element) : CEnum2Tpl<T>(1), m_element(element) {}

    const QString& GetElementName() const { return m_element; }

    _XML2Processor* CreateTagObject(const QString& tag, xml2Attr& attrs,
                                    _XML2Processor* parent) override {
        if (tag == m_element)
            return this;
        if (tag == QLatin1String("ITEM") && parent == this) {
            // An item the list cannot use is kept as written and not listed.
            if (!AcceptItem(attrs))
                return _XML2Tag::CreateTagObject(tag, attrs, parent);
            const long id = ReadID(attrs);
            T* item = this->Add(id, attrs.GetAttr(QStringLiteral("NAME")),
                                attrs.GetAttr(QStringLiteral("TITLE")),
                                attrs.GetAttr(QStringLiteral("DESC")));
            if (!item)
                return nullptr;
            ReadExtra(*item, attrs);
            return this;
        }
        return _XML2Tag::CreateTagObject(tag, attrs, parent);
    }

    void BuildXML(CXMLOut& out) override {
        out.Add(QStringLiteral("<") + m_element + QStringLiteral(">\n"));
        POSITION pos = this->InitScan_sEnum2();
        while (this->ScanNext_sEnum2(pos)) {
            const T& item = *this->Current(pos);
            QString text = QStringLiteral("<Item ID='%1'").arg(item.nCode);
            AppendAttr(text, QStringLiteral("Title"), item.cText);
            AppendAttr(text, QStringLiteral("Name"), item.cName);
            AppendAttr(text, QStringLiteral("Desc"), item.cDesc);
            WriteExtra(item, text);
            out.Add(text + QStringLiteral("/>"));
        }
        _XML2Tag::BuildXML(out);
        out.Add(QStringLiteral("</") + m_element + QStringLiteral(">"));
    }

protected:
    static void AppendAttr(QString& text, const QString& name, const QString& value) {
        if (!value.isEmpty())
            text += u' ' + name + QStringLiteral("='") + SafeXMLData(value) + u'\'';
    }
    virtual long ReadID(const xml2Attr& attrs) {
        return XmlToLong(attrs.GetAttr(QStringLiteral("ID"), QStringLiteral("0")));
    }
    virtual bool AcceptItem(const xml2Attr&) { return true; }
    virtual void ReadExtra(T&, const xml2Attr&) {}
    virtual void WriteExtra(const T&, QString&) {}

private:
    QString m_element;
};

class xDirectionAndConsulting : public xCfgList<sDirectionAndConsulting> {
public:
    xDirectionAndConsulting() : xCfgList(QStringLiteral("DIRECTIONANDCONSULTING")) {}
};

class xDonors : public xCfgList<sDonors> {
public:
    xDonors() : xCfgList(QStringLiteral("DONORS")) {}
};

class xParticipantProgram : public xCfgList<sParticipantProgram> {
public:
    xParticipantProgram() : xCfgList(QStringLiteral("PARTICIPANTPROGRAM")) {}
};

class xServices : public xCfgList<sServices> {
public:
    xServices() : xCfgList(QStringLiteral("SERVICES")) {}
};

class xSpeciality : public xCfgList<sSpeciality> {
public:
    xSpeciality() : xCfgList(QStringLiteral("SPECIALITY")) {}
};

class xWhoDirect : public xCfgList<sWhoDirect> {
public:
    xWhoDirect() : xCfgList(QStringLiteral("WHODIRECT")) {}
};

// Material groups: ID is a material type code or a group number, Group the
// group an item belongs to. The report work tables make SQL and column names
// of both, so an item whose ID or Group is not a whole number from 0 up is
// reported and left out of the list (and kept in the document as written).
class xMatGroups : public xCfgList<sMatGroups> {
public:
    xMatGroups() : xCfgList(QStringLiteral("MATGROUPS")) {}

protected:
    bool AcceptItem(const xml2Attr& attrs) override;
    void ReadExtra(sMatGroups& item, const xml2Attr& attrs) override;
    void WriteExtra(const sMatGroups& item, QString& text) override;
};

class xWorkerType : public xCfgList<sWorkerType> {
public:
    xWorkerType() : xCfgList(QStringLiteral("WORKERTYPE")) {}
};

class xAgeGroup : public xCfgList<sAgeGroup> {
public:
    xAgeGroup() : xCfgList(QStringLiteral("AGEGROUP")) {}
};

class xPrjList : public xCfgList<sPrjList> {
public:
    xPrjList() : xCfgList(QStringLiteral("PRJLIST")) {}

protected:
    void ReadExtra(sPrjList& item, const xml2Attr& attrs) override;
    void WriteExtra(const sPrjList& item, QString& text) override;
};

// Towns and regions as a tree through Group.
class xTowns : public xCfgList<sTowns> {
public:
    xTowns() : xCfgList(QStringLiteral("TOWNS")) {}

    // The town's Title followed by ", " and the full name of its parent;
    // empty for an unknown ID. A loop in the Group chain ends the name at the
    // first entry met again.
    QString GetFullName(long id) const;

protected:
    void ReadExtra(sTowns& item, const xml2Attr& attrs) override;
    void WriteExtra(const sTowns& item, QString& text) override;
};

// Tool-tip texts, looked up by Name. Items without ID are numbered in
// document order (every item, with an ID or not, advances the count).
class xToolTips : public xCfgList<sToolTips> {
public:
    xToolTips() : xCfgList(QStringLiteral("TOOLTIPS")) {}

    QString GetToolTip(const QString& name, const QString& def = QString()) const;
    int GetReadCount() const { return m_nCount; }

protected:
    long ReadID(const xml2Attr& attrs) override;

private:
    int m_nCount = 0;
};
