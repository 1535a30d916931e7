#include "config_lists.h"

#include "framework/core/tarvik_app.h"

#include <QRegularExpression>
#include <QSet>

namespace {
// A code as the work tables use it: decimal digits only, within 31 bits.
bool IsMaterialCode(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^\\s*\\+?[0-9]{1,10}\\s*$"));
    if (!digits.match(text).hasMatch())
        return false;
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok && value <= 0x7fffffffLL;
}

// Reads an attribute without marking it used: a refused item keeps all of
// its attributes for writing back.
QString Peek(const xml2Attr& attrs, const char* upperName, const QString& def = QString()) {
    for (const xml2Attr::Attr& attr : attrs.GetAll())
        if (attr.name.compare(QLatin1String(upperName), Qt::CaseInsensitive) == 0)
            return attr.value;
    return def;
}
} // namespace

bool xMatGroups::AcceptItem(const xml2Attr& attrs) {
    const QString id = Peek(attrs, "ID", QStringLiteral("0"));
    const QString group = Peek(attrs, "GROUP", QStringLiteral("0"));
    if (IsMaterialCode(id) && IsMaterialCode(group))
        return true;
    CTarvikApp::AddErrorMessage(
        CTarvikApp::TranslateString(
            QStringLiteral("Группа материалов «{title}» не используется: код ({id}) и группа "
                           "({group}) должны быть целыми числами от 0"),
            QStringLiteral("xMatGroups::AcceptItem"))
            .replace(QLatin1String("{title}"), Peek(attrs, "TITLE"))
            .replace(QLatin1String("{id}"), id)
            .replace(QLatin1String("{group}"), group));
    return false;
}

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
