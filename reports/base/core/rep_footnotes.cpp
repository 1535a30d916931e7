#include "rep_footnotes.h"

#include "framework/core/app/html_template.h"
#include "framework/core/strings/cx_string.h"

QString FootnotesHTML(const CHTMLTemplate& tpl, const QStringList& footnotes) {
    if (footnotes.isEmpty())
        return QString();
    const QString row = tpl.GetSection(QStringLiteral("COMMENT.DET"));
    QString rows;
    for (qsizetype i = 0; i < footnotes.size(); ++i)
        rows += CxString::StrTr(row, {{QStringLiteral("%ID%"), QString::number(i + 1)},
                                      {QStringLiteral("%BODY%"), footnotes.at(i)}});
    return CxString::StrTr(tpl.GetSection(QStringLiteral("COMMENT")),
                           {{QStringLiteral("%BODY%"), rows}});
}
