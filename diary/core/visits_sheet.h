#pragma once
// A visits sheet as a table of cells, without widgets: one row per client met,
// one column per directory item, each cell the text the user typed (or the
// stored value). The sheet's grid is a thin Qt model over it; the store loads
// it from and saves it to dailyvisits and dailyvisitssubhdr; the sheet import
// fills one from a file. Rows and columns are the grid's: what a model adds
// for the user to type a new row into is not a row of the sheet until the
// user types into it.
//
// Columns are keyed by (nKeyFirst, nKeySecond) as dailyvisitssubhdr stores
// them: (-1, -1) the client column (always present), (item, -1) a material or
// service, (item, kind) one kind of a consultation counted per client. Their
// order is the order the grid shows them, and the order the save stores.
#include <QHashFunctions>
#include <QList>
#include <QString>

struct CSheetColumnKey {
    qint32 item = -1; // nKeyFirst: the directory item, -1 for the client column
    qint32 flag = -1; // nKeySecond: the consultation kind, -1 for a whole item

    bool IsClient() const { return item == -1 && flag == -1; }
    bool operator==(const CSheetColumnKey&) const = default;
};
inline size_t qHash(const CSheetColumnKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.item, key.flag);
}
inline constexpr CSheetColumnKey kClientColumnKey{-1, -1};

enum class ESheetColumnKind {
    Client, // client codes
    Count,  // a material: how many the client received
    YesNo,  // a service, or one kind of a consultation: 1 given, 0 or empty not
    Text,   // an item the directory no longer has: kept as typed
};

struct CSheetColumn {
    CSheetColumnKey key;
    ESheetColumnKind kind = ESheetColumnKind::Text;
    QString itemName; // the item's name in the directory (empty for the client column)
    QString flagText; // the consultation kind's text of a kind column
    int width = 0;    // pixels; 0 leaves it to the view

    // The header text: "Код клиента", the item's name, or the name and the
    // kind on a second line.
    QString Caption() const;
};

class CVisitsSheet {
public:
    // A new sheet: the client column, no rows.
    CVisitsSheet();

    int ColumnCount() const { return int(m_columns.size()); }
    const CSheetColumn& Column(int column) const { return m_columns[column]; }
    int FindColumn(const CSheetColumnKey& key) const;
    int ClientColumn() const { return FindColumn(kClientColumnKey); }
    // The user dragged a column elsewhere.
    void MoveColumn(int from, int to);
    void SetColumnWidth(int column, int width);
    // The items that have columns, each once, in column order (the chooser
    // starts from them).
    QList<qint32> Items() const;

    // While the sheet shows only the client column, the user names one
    // service that every listed client received (-1: none chosen); the save
    // reads it only then.
    bool ServiceAllowed() const { return m_columns.size() == 1; }
    qint32 ServiceItem() const { return m_service; }
    void SetServiceItem(qint32 item) { m_service = item; }

    int RowCount() const { return int(m_rows.size()); }
    void InsertRows(int row, int count);
    void RemoveRows(int row, int count);
    int AppendRow();

    QString Text(int row, int column) const { return m_rows[row].texts[column]; }
    // Puts what the user typed into a cell. In a 0/1 column any non-zero
    // number becomes "1". In the client column the text is a client code and
    // the row forgets the client it named until the save looks the code up.
    void SetText(int row, int column, const QString& text);
    // The client a row names: the ROWID when the row was loaded or the client
    // was picked from the completion list, else 0 (look the code up).
    qint64 ClientId(int row) const { return m_rows[row].clientId; }
    void SetClient(int row, qint64 clientId, const QString& code);
    // The first row of the client, -1 when none.
    int FindClientRow(qint64 clientId) const;

    // The value the save reads from a cell (0/1 in a 0/1 column).
    qint32 Number(int row, int column) const;
    // The totals row: the sum of a column's values, kept until a cell of the
    // column changes.
    qint64 Total(int column) const;

    // Puts a new set of columns in place (the column rebuild): column i takes
    // the cells of the old column sources[i], or empty cells when it is -1.
    // The set holds the client column.
    void ReplaceColumns(const QList<CSheetColumn>& columns, const QList<int>& sources);

private:
    struct Row {
        qint64 clientId = 0;
        QList<QString> texts;
    };
    Row EmptyRow() const;

    QList<CSheetColumn> m_columns;
    QList<Row> m_rows;
    qint32 m_service = -1;
    // The totals row, per column; a total is worked out again once a cell of
    // its column changed.
    mutable QList<qint64> m_totals;
    mutable QList<bool> m_totalKnown;
};

// The caption of the client column.
QString ClientColumnCaption();
