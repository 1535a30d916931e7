#pragma once
// The rules of the list editor CSQLEditList without its window: a typed list
// of names or codes becomes the member rows of a link table (here the
// participants of a training in trainingssubdata), each entry resolved to a
// row of a look-up table.
//
// Its rules:
// - Entries: the text is cut at ";", tab and line breaks; each entry is
//   trimmed; empty entries are dropped.
// - Resolution: an entry stands for the look-up row whose text column equals
//   it as the look-up table compares texts (its collation: without regard to
//   case or trailing blanks), among the rows the look-up's filter admits. When
//   several rows match (the same free name stored by several organisations),
//   the look-up's preference picks one (the own organisation's first), then
//   the lowest ROWID.
// - Duplicates: a later entry that stands for the same row as an earlier one,
//   or, among entries that stand for no row, one equal to an earlier entry
//   without regard to case. It is reported and the member is stored once.
// - Not found: an entry that stands for no row is reported and not stored;
//   the save goes on without it. With automatic adding on, such an entry is
//   not reported: the save adds it to the look-up table (under the list's
//   group, for the own organisation) and stores it; an entry longer than the
//   text column holds is never added, but reported as not found.
// - The error text: empty when there is nothing to report; otherwise the
//   entries not found, a line break, and the duplicated entries, each line's
//   entries joined by "; ".
// - The count: the number of different entries, found or not.
// - Loading: the owner's members, each shown as its look-up text, sorted,
//   joined by "; ". A stored member that the look-up does not hold (a row
//   deleted since) is not shown, and the next save drops it.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class CxSQL;

struct CEditListLookup {
    QString table;      // the look-up table
    QString textColumn; // the list's key column: what an entry is matched against
    QString filter;     // condition on the look-up's own columns; empty: every row
    QString preference; // ORDER BY among several matching rows, before ROWID
    // Automatic adding: the column that takes the list's group, further
    // columns with their SQL values, and the longest text the column holds.
    QString groupColumn;
    QList<QPair<QString, QString>> addValues;
    int maxTextLength = 0;
};

class CSQLEditListCore {
public:
    // The link table, its owner column and its member column.
    void Init(const QString& linkTable, const QString& ownerColumn, const QString& memberColumn);
    // The look-up whose text column the entries are (SetDirKeyField).
    void SetLookup(const CEditListLookup& lookup);
    bool HasKeyColumn() const { return !m_lookup.textColumn.isEmpty(); }
    void SetGroupID(int group) { m_group = group; }
    void EnableAutoAdd(bool enable) { m_autoAdd = enable; }

    void SetText(const QString& text) { m_text = text; }
    const QString& GetText() const { return m_text; }
    static QStringList SplitEntries(const QString& text);

    // Replaces the text by the owner's stored members.
    bool Load(CxSQL* sql, qint64 ownerKey, QString* error);
    // Resolves the entries of the text; GetCount and GetError answer for it.
    bool CheckList(CxSQL* sql, QString* error);
    int GetCount() const { return m_count; }
    QString GetError() const;
    const QStringList& NotFound() const { return m_notFound; }
    const QStringList& Duplicated() const { return m_duplicated; }
    // Stores the entries as the owner's members, replacing the stored ones,
    // inside the caller's transaction (adding look-up rows where the rules
    // say so).
    [[nodiscard]] bool Save(CxSQL* sql, qint64 ownerKey, QString* error);

    // What the auto-complete offers for a typed beginning: look-up texts that
    // start with it, sorted, at most limit of them.
    bool Complete(CxSQL* sql, const QString& prefix, int limit, QStringList* texts,
                  QString* error) const;

private:
    // The look-up row of each entry (0 for none), in one statement per batch.
    bool Resolve(CxSQL* sql, const QStringList& entries, QList<qint64>* ids, QString* error) const;
    QString LookupCondition() const;

    QString m_linkTable, m_ownerColumn, m_memberColumn;
    CEditListLookup m_lookup;
    int m_group = -1;
    bool m_autoAdd = false;
    QString m_text;

    // Result of the last check.
    QStringList m_entries;  // different entries, in order
    QList<qint64> m_ids;    // their rows, 0 for none
    QStringList m_notFound; // reported as not found
    QStringList m_toAdd;    // to be added at save
    QStringList m_duplicated;
    int m_count = 0;
};
