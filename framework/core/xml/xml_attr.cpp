#include "xml_attr.h"

#include "framework/core/strings/cx_string.h"

#include <algorithm>
#include <cstdint>

const xml2Attr::Attr* xml2Attr::Find(const QString& upperName) const {
    for (const Attr& attr : m_attrs)
        if (attr.name.compare(upperName, Qt::CaseInsensitive) == 0)
            return &attr;
    return nullptr;
}

QString xml2Attr::GetAttr(const QString& upperName, const QString& def) const {
    const Attr* attr = Find(upperName);
    if (!attr)
        return def;
    attr->used = true;
    return attr->value;
}

bool xml2Attr::HasAttr(const QString& upperName) const {
    return Find(upperName) != nullptr;
}

QList<xml2Attr::Attr> xml2Attr::GetUnused() const {
    QList<Attr> unused;
    for (const Attr& attr : m_attrs)
        if (!attr.used)
            unused.append(attr);
    return unused;
}

bool IsTrue(const QString& text) {
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("YES") || t == QLatin1String("TRUE") || t == QLatin1String("Y") ||
        t == QLatin1String("ON"))
        return true;
    bool ok = false;
    const long long number = t.toLongLong(&ok);
    return ok && number != 0;
}

QString SafeXMLData(const QString& text) {
    return SafeHTML(text, kSafeHTMLXmlAttribute);
}

long XmlToLong(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > 0x80000000LL) // beyond 32 bits the value is meaningless
            break;
    }
    if (negative)
        value = -value;
    return long(qint32(std::clamp<qint64>(value, INT32_MIN, INT32_MAX)));
}
