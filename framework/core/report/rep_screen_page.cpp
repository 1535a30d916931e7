#include "rep_screen_page.h"

#include "rep_doc.h"

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QStringEncoder>
#include <QStringList>
#include <algorithm>

namespace {
constexpr QRegularExpression::PatternOptions kNoCase = QRegularExpression::CaseInsensitiveOption;

struct Row {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// A table at the top of the page: its start tag, its rows, and whether it
// holds nothing but rows (no parts of its own, no table inside, no text
// between the rows).
struct Table {
    qsizetype begin = 0;
    qsizetype startEnd = 0;
    qsizetype endBegin = 0;
    qsizetype end = 0;
    QList<Row> rows;
    bool plain = true;
};

// The tables at the top of the page, as they stand in its text.
QList<Table> TopTables(const QString& html) {
    static const QRegularExpression tag(
        QStringLiteral(
            "<!--.*?-->|<(/?)(table|tr|tbody|thead|tfoot|caption|colgroup|col)\\b[^>]*>"),
        kNoCase | QRegularExpression::DotMatchesEverythingOption);
    QList<Table> tables;
    Table table;
    int depth = 0;
    bool inRow = false;
    qsizetype last = 0; // where the text not yet seen to be space begins
    const auto onlySpace = [&html](qsizetype from, qsizetype to) {
        for (qsizetype i = from; i < to; ++i)
            if (!html.at(i).isSpace())
                return false;
        return true;
    };
    for (QRegularExpressionMatchIterator it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedLength(2) == 0)
            continue; // a comment
        const bool closing = m.capturedLength(1) > 0;
        const QString name = m.captured(2).toLower();
        if (name == QLatin1String("table")) {
            if (!closing) {
                if (depth == 0) {
                    table = Table();
                    table.begin = m.capturedStart();
                    table.startEnd = m.capturedEnd();
                    last = table.startEnd;
                    inRow = false;
                } else {
                    table.plain = false;
                }
                ++depth;
            } else if (depth > 0 && --depth == 0) {
                if (inRow)
                    table.rows.last().end = m.capturedStart();
                else if (!onlySpace(last, m.capturedStart()))
                    table.plain = false;
                table.endBegin = m.capturedStart();
                table.end = m.capturedEnd();
                tables.append(table);
            }
            continue;
        }
        if (depth != 1)
            continue;
        if (name != QLatin1String("tr")) {
            table.plain = false;
            continue;
        }
        if (!closing) {
            if (inRow)
                table.rows.last().end = m.capturedStart();
            else if (!onlySpace(last, m.capturedStart()))
                table.plain = false;
            table.rows.append(Row{m.capturedStart(), m.capturedEnd()});
            inRow = true;
        } else if (inRow) {
            table.rows.last().end = m.capturedEnd();
            inRow = false;
            last = m.capturedEnd();
        }
    }
    return tables;
}

// Whether the page collapses the borders of a table whose start tag is
// `start`: by the tag's own style or by a rule of the page's style for its
// class or its id. Only such a table is cut: where two of its groups meet,
// one border drawn of the two is the line its rows share.
bool Collapses(const QString& html, QStringView start) {
    static const QRegularExpression own(QStringLiteral("border-collapse\\s*:\\s*collapse"),
                                        kNoCase);
    if (own.match(start).hasMatch())
        return true;
    static const QRegularExpression attr(
        QStringLiteral("\\b(class|id)\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"), kNoCase);
    for (QRegularExpressionMatchIterator it = attr.globalMatch(start); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const bool isClass =
            m.captured(1).compare(QLatin1String("class"), Qt::CaseInsensitive) == 0;
        const QString value = m.captured(2) + m.captured(3) + m.captured(4);
        for (const QString& name : value.split(u' ', Qt::SkipEmptyParts)) {
            // A rule for tables of that class or id (first of a list or
            // alone) that collapses their borders.
            const QRegularExpression rule(
                QStringLiteral("table%1%2\\s*(,[^{}]*)?\\{[^}]*border-collapse\\s*:\\s*collapse")
                    .arg(isClass ? QLatin1String("\\.") : QLatin1String("#"),
                         QRegularExpression::escape(name)),
                kNoCase);
            if (rule.match(html).hasMatch())
                return true;
        }
    }
    return false;
}

// The width of a character in a proportional face, in a thousandth of its
// size: near enough to tell which of a column's cells are the widest.
int CharWidth(QChar c) {
    switch (c.unicode()) {
    case u' ':
    case u'.':
    case u',':
    case u':':
    case u';':
    case u'\'':
    case u'!':
    case u'|':
    case u'i':
    case u'l':
    case u'j':
    case u'I':
    case u'f':
    case u't':
    case u'/':
    case u'(':
    case u')':
    case u'[':
    case u']':
        return 278;
    case u'r':
    case u'-':
    case u'`':
    case u'"':
    case u'г':
        return 350;
    case u'm':
    case u'w':
    case u'M':
    case u'W':
    case u'%':
    case u'ш':
    case u'щ':
    case u'ж':
    case u'ю':
    case u'ы':
    case u'ф':
    case u'м':
        return 800;
    case u'Ж':
    case u'Ш':
    case u'Щ':
    case u'Ю':
    case u'Ы':
    case u'М':
    case u'Ф':
    case u'Ъ':
    case u'№':
        return 920;
    default:
        return c.isUpper() ? 690 : 556;
    }
}

// How the cells of a table's column take room: the widest lines and the
// widest words, a few of each with their rows (the measure is near only).
class ColumnWidths {
public:
    void Add(qsizetype column, int line, int word, qsizetype row) {
        if (m_columns.size() <= column)
            m_columns.resize(column + 1);
        Keep(m_columns[column].lines, line, row);
        Keep(m_columns[column].words, word, row);
    }
    void RowsOf(QSet<qsizetype>& rows) const {
        for (const Column& column : m_columns) {
            for (const auto& [width, row] : column.lines)
                rows.insert(row);
            for (const auto& [width, row] : column.words)
                rows.insert(row);
        }
    }

private:
    static constexpr qsizetype kEach = 4;
    using Best = QList<std::pair<int, qsizetype>>;
    struct Column {
        Best lines, words;
    };
    static void Keep(Best& best, int width, qsizetype row) {
        if (best.size() == kEach && width <= best.last().first)
            return;
        best.append({width, row});
        std::sort(best.begin(), best.end(),
                  [](const auto& a, const auto& b) { return a.first > b.first; });
        if (best.size() > kEach)
            best.removeLast();
    }
    QList<Column> m_columns;
};

// Whether the markup at `at` (just after "<") is a tag named `name`.
bool IsTag(QStringView text, qsizetype at, QStringView name) {
    if (text.size() - at < name.size() + 1 ||
        text.sliced(at, name.size()).compare(name, Qt::CaseInsensitive) != 0)
        return false;
    const QChar after = text[at + name.size()];
    return after == u'>' || after == u'/' || after.isSpace();
}

// Measures the cells of a row, in one pass: markup takes no room, a break or
// a block starts a line, a character reference is one character.
void MeasureRow(QStringView row, qsizetype r, ColumnWidths& widths) {
    static const QRegularExpression colspan(QStringLiteral("\\bcolspan\\s*=\\s*[\"']?(\\d+)"),
                                            kNoCase);
    qsizetype column = -1;
    qsizetype span = 1;
    int line = 0, lineEnd = 0, word = 0, widestLine = 0, widestWord = 0;
    const auto endWord = [&] {
        widestWord = std::max(widestWord, word);
        word = 0;
    };
    const auto endLine = [&] {
        endWord();
        widestLine = std::max(widestLine, lineEnd);
        line = lineEnd = 0;
    };
    const auto endCell = [&] {
        endLine();
        if (column >= 0)
            widths.Add(column, widestLine, widestWord, r);
        widestLine = widestWord = 0;
    };
    const auto text = [&](QChar c) {
        const int w = CharWidth(c);
        if (c.isSpace()) {
            endWord();
            if (line > 0)
                line += w;
        } else {
            word += w;
            line += w;
            lineEnd = line;
        }
    };
    for (qsizetype i = 0; i < row.size(); ++i) {
        const QChar c = row[i];
        if (c == u'<') {
            const qsizetype close = row.indexOf(u'>', i);
            if (close < 0)
                break;
            if (IsTag(row, i + 1, u"td") || IsTag(row, i + 1, u"th")) {
                endCell();
                column += span;
                const QRegularExpressionMatch m = colspan.match(row.sliced(i, close - i));
                span = m.hasMatch() ? std::max(1, m.captured(1).toInt()) : 1;
            } else if (IsTag(row, i + 1, u"br") || IsTag(row, i + 1, u"p") ||
                       IsTag(row, i + 1, u"div")) {
                endLine();
            }
            i = close;
        } else if (c == u'&') {
            const qsizetype semicolon = row.indexOf(u';', i);
            if (semicolon > i && semicolon - i <= 9)
                i = semicolon;
            text(QChar(u'n'));
        } else if (column >= 0) {
            text(c);
        }
    }
    endCell();
}

// The rows whose cells are the widest of their columns and the first row,
// the table's heading: with them, any group of the rows lays its columns
// out as the whole table does.
QList<qsizetype> SizerRows(const QString& html, const Table& table) {
    ColumnWidths widths;
    for (qsizetype r = 1; r < table.rows.size(); ++r)
        MeasureRow(
            QStringView(html).sliced(table.rows[r].begin, table.rows[r].end - table.rows[r].begin),
            r, widths);
    QSet<qsizetype> rows{0};
    widths.RowsOf(rows);
    QList<qsizetype> sorted(rows.begin(), rows.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

// Where the groups of a table's rows begin: every kGroupRows rows, later
// where a cell of a row above spans down across the place.
QList<qsizetype> GroupStarts(const QString& html, const Table& table) {
    static const QRegularExpression rowspan(QStringLiteral("\\browspan\\s*=\\s*[\"']?(\\d+)"),
                                            kNoCase);
    QList<qsizetype> starts{0};
    qsizetype covered = 0; // the last row a cell spans down to
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        if (r - starts.last() >= CRepScreenPage::kGroupRows && covered < r &&
            table.rows.size() - r >= CRepScreenPage::kGroupRows / 2)
            starts.append(r);
        const QStringView row =
            QStringView(html).sliced(table.rows[r].begin, table.rows[r].end - table.rows[r].begin);
        if (!row.contains(u"rowspan", Qt::CaseInsensitive))
            continue;
        for (QRegularExpressionMatchIterator it = rowspan.globalMatch(row); it.hasNext();)
            covered = std::max(covered, r + it.next().captured(1).toInt() - 1);
    }
    return starts;
}

QString Style() {
    const QString whole = QLatin1String(CRepScreenPage::kWholeLayout);
    const QString group = QLatin1String(CRepScreenPage::kGroupClass);
    const QString sizer = QLatin1String(CRepScreenPage::kSizerClass);
    // Only on the screen, what is not seen is not laid out; a chart is made
    // a block for this (the engine contains no table box), which looks the
    // same. A group's block takes the width the table would take (so that
    // nothing of it is cut off when it is wider than the page, and it wraps
    // where it would), and the page's width when the table is narrower, so
    // that a centred table stays where it was. Where two groups meet, the
    // later draws no border of its own above its first row and the earlier
    // none below its last: the line is that of the earlier's last row.
    return QStringLiteral(
               "<style>@media screen{html:not([%1]) table.chart{display:block;"
               "content-visibility:auto;contain-intrinsic-size:auto 330px auto 200px}"
               "html:not([%1]) div.%2{content-visibility:auto}}"
               "div.%2{width:fit-content;min-width:100%}"
               "div.%2+div.%2>table>tbody:first-child>tr:first-child>*{border-top-style:hidden}"
               "div.%4>table{border-bottom-style:none}"
               "tbody.%3{visibility:collapse}</style>")
        .arg(whole, group, sizer, QLatin1String(CRepScreenPage::kCutClass));
}

// The screen's page as pieces: parts of the page's own text and texts of
// the pane's, written out at once. A page is megabytes: it is never copied
// whole on the way (fresh memory is what costs here).
class Pieces {
public:
    void Add(QStringView text) { m_pieces.append(text); }
    void AddOwn(const QString& text) { m_pieces.append(Keep(text)); }
    // A text of the pane's kept for pieces to come.
    QStringView Keep(const QString& text) {
        m_own.append(text);
        return m_own.last();
    }
    QByteArray Utf8() const {
        qsizetype size = 0;
        for (const QStringView piece : m_pieces)
            size += piece.size();
        // Room for the longest encoding; only what is written is touched.
        QByteArray bytes(size * 3, Qt::Uninitialized);
        QStringEncoder encoder(QStringEncoder::Utf8);
        char* end = bytes.data();
        for (const QStringView piece : m_pieces)
            end = encoder.appendToBuffer(end, piece);
        bytes.truncate(end - bytes.data());
        return bytes;
    }

private:
    QList<QStringView> m_pieces;
    QStringList m_own; // a QString's text stays where it is when the list grows
};

// A table cut into groups.
void AddGrouped(Pieces& out, const QString& html, const Table& table) {
    const QList<qsizetype> starts = GroupStarts(html, table);
    const QList<qsizetype> sizerRows = SizerRows(html, table);
    const QStringView start = QStringView(html).sliced(table.begin, table.startEnd - table.begin);
    QString sizer =
        QStringLiteral("<tbody class=\"%1\">").arg(QLatin1String(CRepScreenPage::kSizerClass));
    for (const qsizetype r : sizerRows)
        sizer +=
            QStringView(html).sliced(table.rows[r].begin, table.rows[r].end - table.rows[r].begin);
    sizer += QStringLiteral("</tbody></table></div>");
    const QStringView sizerText = out.Keep(sizer);
    for (qsizetype g = 0; g < starts.size(); ++g) {
        const qsizetype first = starts[g];
        const qsizetype next = g + 1 < starts.size() ? starts[g + 1] : table.rows.size();
        // The text from the start tag on in the first group, so that
        // nothing of the table's own is lost.
        const qsizetype from = g == 0 ? table.startEnd : table.rows[first].begin;
        const qsizetype to = next < table.rows.size() ? table.rows[next].begin : table.endBegin;
        // Until seen, a group holds the place of its rows, one line each,
        // and no width of its own: a width kept from when it was last seen
        // would hold the page as wide as the pane was then.
        out.AddOwn(QStringLiteral("<div class=\"%1%2\" style=\"contain-intrinsic-size:0px "
                                  "auto %3px\">")
                       .arg(QLatin1String(CRepScreenPage::kGroupClass),
                            next < table.rows.size()
                                ? QStringLiteral(" ") + QLatin1String(CRepScreenPage::kCutClass)
                                : QString())
                       .arg((next - first) * 20));
        out.Add(start);
        out.Add(QStringView(html).sliced(from, to - from));
        out.Add(sizerText);
    }
}
} // namespace

QByteArray CRepScreenPage::Make(const QString& html) {
    const QString page = CRepDoc::StandalonePage(html);
    // The pane's style goes at the end of the head.
    static const QRegularExpression headEnd(QStringLiteral("</head\\s*>"), kNoCase);
    static const QRegularExpression body(QStringLiteral("<body[^>]*>"), kNoCase);
    qsizetype styleAt = page.size();
    if (const QRegularExpressionMatch m = headEnd.match(page); m.hasMatch())
        styleAt = m.capturedStart();
    else if (const QRegularExpressionMatch b = body.match(page); b.hasMatch())
        styleAt = b.capturedEnd();
    Pieces out;
    qsizetype done = 0;
    const auto copyTo = [&](qsizetype to) {
        if (done <= styleAt && styleAt <= to) {
            out.Add(QStringView(page).sliced(done, styleAt - done));
            out.AddOwn(Style());
            done = styleAt;
        }
        out.Add(QStringView(page).sliced(done, to - done));
        done = to;
    };
    for (const Table& table : TopTables(page)) {
        if (!table.plain || table.rows.size() < 2 * kGroupRows || table.begin < styleAt ||
            !Collapses(page, QStringView(page).sliced(table.begin, table.startEnd - table.begin)))
            continue;
        copyTo(table.begin);
        AddGrouped(out, page, table);
        done = table.end;
    }
    copyTo(page.size());
    return out.Utf8();
}
