#include "rep_page_parts.h"

#include <QList>
#include <QRegularExpression>

namespace {
struct Table {
    qsizetype open = 0;    // where its opening tag starts
    qsizetype openEnd = 0; // just after its opening tag
    qsizetype close = -1;  // where its closing tag starts
    QList<qsizetype> rows; // where its own rows start
};
} // namespace

CRepPageParts CRepPageParts::Split(const QString& page, const Limits& limits) {
    CRepPageParts parts;
    parts.m_first = page;
    // One pass over the tags that matter: tables and the rows directly in
    // them. A row of a nested table belongs to the innermost open table.
    static const QRegularExpression tag(QStringLiteral("<(/?)(table|tr)\\b[^>]*>"),
                                        QRegularExpression::CaseInsensitiveOption);
    QList<Table> tables;
    QList<int> open; // indexes into tables
    for (auto it = tag.globalMatch(page); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool closing = !m.capturedView(1).isEmpty();
        const bool isTable =
            m.capturedView(2).compare(QLatin1String("table"), Qt::CaseInsensitive) == 0;
        if (isTable && !closing) {
            tables.append({m.capturedStart(), m.capturedEnd(), -1, {}});
            open.append(int(tables.size()) - 1);
        } else if (isTable && closing) {
            if (!open.isEmpty())
                tables[open.takeLast()].close = m.capturedStart();
        } else if (!closing && !open.isEmpty()) {
            tables[open.last()].rows.append(m.capturedStart());
        }
    }
    int best = -1;
    for (int i = 0; i < tables.size(); ++i)
        if (tables[i].close >= 0 && (best < 0 || tables[i].rows.size() > tables[best].rows.size()))
            best = i;
    const int firstRows = qMax(1, limits.firstRows);
    const int partRows = qMax(1, limits.partRows);
    if (best < 0 || tables[best].rows.size() <= qMax(limits.threshold, firstRows))
        return parts;

    const Table& t = tables[best];
    // A part goes into the page on its own, without the page's head: it
    // takes the page's style sheets along, or its rows would lose the look
    // the first rows have.
    static const QRegularExpression style(QStringLiteral("<style\\b[^>]*>.*?</style\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    QString styles;
    for (auto it = style.globalMatch(QStringView(page).left(t.open)); it.hasNext();)
        styles += it.next().capturedView();
    const QString openTag = styles + page.mid(t.open, t.openEnd - t.open);
    static const QLatin1String closeTag("</table>");
    const auto rowAt = [&](qsizetype i) { return i < t.rows.size() ? t.rows[i] : t.close; };
    parts.m_first = page.left(rowAt(firstRows)) + page.mid(t.close);
    for (qsizetype from = firstRows; from < t.rows.size(); from += partRows)
        parts.m_parts.append(openTag + page.mid(rowAt(from), rowAt(from + partRows) - rowAt(from)) +
                             closeTag);
    parts.m_tableIndex = best;
    parts.m_firstRows = firstRows;
    return parts;
}
