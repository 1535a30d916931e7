#pragma once
// Reading a report page back into its figures: every table of the page as
// rows of cell texts (tags stripped, entities read, each cell trimmed),
// joined by '|'; rows whose cells are all empty are left out.
#include <QRegularExpression>
#include <QStringList>

inline QString CellText(QString html) {
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    html.remove(tags);
    html.replace(QLatin1String("&nbsp;"), QLatin1String(" "));
    html.replace(QLatin1String("&lt;"), QLatin1String("<"));
    html.replace(QLatin1String("&gt;"), QLatin1String(">"));
    html.replace(QLatin1String("&quot;"), QLatin1String("\""));
    html.replace(QLatin1String("&#39;"), QLatin1String("'"));
    html.replace(QLatin1String("&amp;"), QLatin1String("&"));
    return html.trimmed();
}

// The tables whose opening tag holds `marker` (all tables for an empty one).
inline QList<QStringList> PageTables(const QString& page, const QString& marker = QString()) {
    static const QRegularExpression table(QStringLiteral("<table([^>]*)>(.*?)</table>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression row(QStringLiteral("<tr[^>]*>(.*?)</tr>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    QList<QStringList> tables;
    for (const auto& t : table.globalMatch(page)) {
        if (!t.captured(1).contains(marker))
            continue;
        QStringList rows;
        for (const auto& r : row.globalMatch(t.captured(2))) {
            QStringList cells;
            bool any = false;
            for (const auto& c : cell.globalMatch(r.captured(1))) {
                cells << CellText(c.captured(1));
                any = any || !cells.last().isEmpty();
            }
            if (any)
                rows << cells.join(u'|');
        }
        tables << rows;
    }
    return tables;
}
