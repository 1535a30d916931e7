#include "config_lists.h"

#include <QSet>

void xMatGroups::ReadExtra(sMatGroups& item, const xml2Attr& attrs) {
    item.nGroup = XmlToLong(attrs.GetAttr(QStringLiteral("GROUP"), QStringLiteral("0")));
}

void xMatGroups::WriteExtra(const sMatGroups& item, QString& text) {
    if (item.nGroup)
        text += QStringLiteral(" Group='%1'").arg(item.nGroup);
}

void xPrjList::ReadExtra(sPrjList& item, const xml2Attr& attrs) {
    item.bNoSQLMap = IsTrue(attrs.GetAttr(QStringLiteral("NOSQLMAP"), QStringLiteral("NO")));
}

void xPrjList::WriteExtra(const sPrjList& item, QString& text) {
    if (item.bNoSQLMap)
        text += QStringLiteral(" NoSQLMap='YES'");
}

void xTowns::ReadExtra(sTowns& item, const xml2Attr& attrs) {
    item.nGroup = XmlToLong(attrs.GetAttr(QStringLiteral("GROUP"), QStringLiteral("0")));
}

void xTowns::WriteExtra(const sTowns& item, QString& text) {
    if (item.nGroup)
        text += QStringLiteral(" Group='%1'").arg(item.nGroup);
}

QString xTowns::GetFullName(long id) const {
    QStringList titles; // from the town upward
    QSet<long> seen;
    for (const sTowns* town = Lookup(id); town && !seen.contains(town->nCode);
         town = town->nGroup ? Lookup(town->nGroup) : nullptr) {
        seen.insert(town->nCode);
        titles << town->cText;
    }
    QString name;
    for (qsizetype i = titles.size() - 1; i >= 0; --i)
        name = name.isEmpty() ? titles.at(i) : titles.at(i) + QStringLiteral(", ") + name;
    return name;
}

long xToolTips::ReadID(const xml2Attr& attrs) {
    ++m_nCount;
    return XmlToLong(attrs.GetAttr(QStringLiteral("ID"), QString::number(m_nCount)));
}

QString xToolTips::GetToolTip(const QString& name, const QString& def) const {
    const sToolTips* item = FindIdentifier(name);
    return item ? item->cText : def;
}
