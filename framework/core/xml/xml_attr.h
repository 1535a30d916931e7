#pragma once
// The attributes of one XML element as the parser hands them to tag objects.
// Names are looked up in upper case, so documents may spell them in any case;
// the attributes a tag object does not ask for are kept and written back.
#include <QList>
#include <QString>

class xml2Attr {
public:
    struct Attr {
        QString name; // as written in the document
        QString value;
        mutable bool used = false;
    };

    explicit xml2Attr(const QString& tagName = QString()) : m_tagName(tagName) {}

    void Append(const QString& name, const QString& value) { m_attrs.append({name, value}); }
    // The value of the attribute (name in upper case), or the default.
    QString GetAttr(const QString& upperName, const QString& def = QString()) const;
    bool HasAttr(const QString& upperName) const;
    // The element's name as written in the document.
    const QString& GetTagName() const { return m_tagName; }
    const QList<Attr>& GetAll() const { return m_attrs; }
    // The attributes that nobody asked for, in document order.
    QList<Attr> GetUnused() const;

private:
    const Attr* Find(const QString& upperName) const;

    QString m_tagName;
    QList<Attr> m_attrs;
};

// A number read the lenient way: leading blanks and a sign, then digits up
// to the first other character; 0 when there are none.
long XmlToLong(const QString& text);

// Whether an attribute text means "yes" ("YES", "TRUE", "Y", "ON" or a
// non-zero number, in any case).
bool IsTrue(const QString& text);

// The text escaped for XML content and for attribute values in either kind
// of quotes; line breaks and tabs are escaped too, so that they read back
// unchanged from an attribute.
QString SafeXMLData(const QString& text);
