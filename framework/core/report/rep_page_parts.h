#pragma once
// A big report page cut into parts so a window can show it without a long
// freeze: the table with the most rows is cut at row boundaries. The first
// part is the whole page with that table cut short after its first rows (so
// what follows the table, the totals and footnotes, shows at once); each
// further part is a table of its own with the same opening tag and the next
// rows (after the page's style sheets, which a part needs for the look of
// its rows), to be put after the previous part's table. Tables inside the rows
// stay with their row. A page with no table longer than the threshold is one
// part.
#include <QString>
#include <QStringList>

class CRepPageParts {
public:
    struct Limits {
        int threshold = 1500; // a table with more rows than this is cut
        int firstRows = 150;  // rows of the cut table in the first part
        int partRows = 60;    // rows of each further part
    };

    static CRepPageParts Split(const QString& page) { return Split(page, Limits()); }
    static CRepPageParts Split(const QString& page, const Limits& limits);

    // The page as first shown (the page itself when it was not cut).
    const QString& First() const { return m_first; }
    // The further parts, each a complete table.
    const QStringList& Parts() const { return m_parts; }
    bool IsCut() const { return !m_parts.isEmpty(); }
    // The position of the cut table among the page's tables, in the order
    // their opening tags come (nested ones included); -1 when not cut.
    int TableIndex() const { return m_tableIndex; }
    // Rows of the cut table in the first part.
    int FirstRows() const { return m_firstRows; }

private:
    QString m_first;
    QStringList m_parts;
    int m_tableIndex = -1;
    int m_firstRows = 0;
};
