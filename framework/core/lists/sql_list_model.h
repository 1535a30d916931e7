#pragma once
// The rows of a table descriptor's list query as an item model: the columns
// registered from the descriptor's fields, the rows of one folder (folders
// first), optional filters and grouping, sorted by a column. Rows arrive in
// pages: the first page when the list is set up, the next ones when a view
// asks for more (canFetchMore / fetchMore). Each page continues after the
// last row of the one before by the sort key and the row key (keyset
// paging), so a page costs the same wherever it starts and memory grows only
// with what the user scrolled through. A page asked for after others reads
// as many rows as are loaded (up to kMaxPageSize): a user who drags the
// scroll bar to the end of a long list waits for a few queries, not for one
// sort of the whole folder per couple of hundred rows. A folder of at most
// kMaxPageSize rows (counted by its index) is read to its end by the first
// page after the first: one more sort of the folder, not one per page.
//
// The list reloads when the change watcher announces its table or a table it
// joins, once per burst of notices, keeping the rows loaded so far.
#include "framework/core/sql_result.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>

class CxField;
class CxSQL;
class CxSQLFilter;
class CxTable;
class QTimer;

// One column of a list: its field, caption and look.
struct CxColumnData {
    const CxField* field = nullptr;
    QString caption;
    quint32 flags = 0;
    bool hasColor = false;
    quint32 colorRef = 0; // 0x00bbggrr

    // The text colour of the column, as a COLORREF value (0x00bbggrr).
    void SetColor(quint32 colorRef);
};

class CxSQLListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Roles : int {
        KeyRole = Qt::UserRole + 1, // the row's key (qint64)
        IsFolderRole,               // whether the row is a folder (bool)
        TextColorRole,              // the column's colour as 0xAARRGGBB (uint), when it has one
    };
    static constexpr int kDefaultPageSize = 200;
    // The most rows a growing page reads at once.
    static constexpr int kMaxPageSize = 10000;
    // A folder with more rows than this is read in the order of the sort
    // column's index where it has a unique one.
    static constexpr int kIndexOrderRows = 20000;

    explicit CxSQLListModel(QObject* parent = nullptr);
    ~CxSQLListModel() override;

    // Set-up: Begin, the columns, folders, filters and grouping, then End,
    // which loads the first page. A second Begin starts a new set-up.
    void Begin(CxTable* table, const QString& name);
    // A column of a field of the table; an empty caption takes the field's,
    // flags -1 the field's flags. Answers the column's index.
    int RegisterField(const CxField* field, const QString& caption = QString(), qint64 flags = -1);
    // Folders: the folder name column, the folder mark and the parent link
    // (0 is the root).
    void EnableFolders(const CxField* name, const CxField* mark, const CxField* parent);
    // Filters stay the caller's; every load applies them as they are then.
    void AddFilter(const CxSQLFilter* filter);
    // One line per value of the expression (a field of the table, or SQL).
    void AddGroupBy(const CxField* field);
    void AddGroupBy(const QString& expression);
    bool End();

    CxTable* GetTable() const { return m_table; }
    const QString& GetName() const { return m_name; }
    // null: the application's base connection.
    void SetConnection(CxSQL* sql) { m_sql = sql; }
    CxSQL* GetConnection() const { return m_sql; }
    void SetPageSize(int rows) {
        m_pageSize = qMax(1, rows);
        m_folderRows = -1;
    }
    // The most rows a later page reads at once (kMaxPageSize unless set;
    // the page size itself keeps every page at that size).
    void SetMaxPageSize(int rows) {
        m_maxPageSize = qMax(1, rows);
        m_folderRows = -1;
    }
    // From how many rows on a folder is read in the order of its sort
    // column's unique index (kIndexOrderRows unless set).
    void SetIndexOrderRows(int rows) { m_indexOrderRows = qMax(0, rows); }
    int PageSize() const { return m_pageSize; }

    const QList<CxColumnData>& Columns() const { return m_columns; }
    CxColumnData* FindSColumnData(const CxField* field);
    const CxField* ColumnField(int column) const;

    // Folders.
    bool HasFolders() const { return m_folderMark != nullptr; }
    const CxField* FolderNameField() const { return m_folderName; }
    const CxField* FolderMarkField() const { return m_folderMark; }
    const CxField* FolderParentField() const { return m_folderParent; }
    qint64 CurrentFolder() const { return m_folder; }
    // Shows the rows of that folder (0: the root); false when the rows could
    // not be read (the folder shown before stays).
    bool SetFolder(qint64 folder);
    // The folders from the root down to the current one, each (key, name);
    // empty at the root.
    QList<QPair<qint64, QString>> FolderPath() const;
    // The folder that holds a row, -1 when the row is not found.
    qint64 ParentOf(qint64 key) const;

    // Rows.
    qint64 RowKey(int row) const;
    bool IsFolderRow(int row) const;
    QString RowText(int row, int column) const;
    // The row of a key among the loaded rows, loading further pages while the
    // key is not found (at most maxRows rows in all); -1 when not found.
    int FindRow(qint64 key, int maxRows = 10000);

    // Reads every row of the current folder, filters and order from the
    // start, pages of pageSize rows, apart from the rows loaded for the view;
    // each row's texts, as the view shows them, go to `row`, which answers
    // false to stop (then the answer is false and error stays empty).
    bool ReadAllRows(const std::function<bool(const QStringList& texts)>& row, int pageSize,
                     CxSQLError* error) const;
    // A cell's text as the view shows it (a date column's date in the
    // program's form, empty for no date).
    QString DisplayText(int column, const QString& text) const;

    // Loads again from the start, as many rows as were loaded (at least one
    // page); the sort, folder and filters stay.
    bool Reload();

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int SortColumn() const { return m_sortColumn; }
    Qt::SortOrder SortOrder() const { return m_sortOrder; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent = QModelIndex()) const override;
    void fetchMore(const QModelIndex& parent = QModelIndex()) override;

    // What the last failed load left (empty after a good one).
    const CxSQLError& LastError() const { return m_error; }
    // The statement of a page that starts after the given row (-1: the first
    // page) and holds at most limit rows.
    QString BuildPageQuery(int afterRow, int limit) const;
    // The upper-case names of the tables whose change reloads the list.
    QStringList WatchedTables() const;

signals:
    // A page could not be read; the rows shown stay as they were.
    void loadFailed(const CxSQLError& error);
    // The rows were loaded again (after Reload, a folder change or a sort).
    void reloaded();

private:
    struct Row {
        qint64 key = -1;
        bool folder = false;
        int part = 0;      // the part of the list it was read in (see Parts)
        QString tieBreak;  // the value of the tie-break key
        QStringList texts; // one per column; a null QString is SQL NULL
    };

    // The list is read in parts, one after the other, each continuing after
    // its own last row: folders before the other rows, and, where the sort
    // column's values are unique, the rows without a value apart from those
    // with one.
    struct PartSpec {
        enum class Kind { Mixed, NullOnly, ValueOnly };
        QString condition;
        bool folder = false;
        Kind kind = Kind::Mixed;
    };
    QList<PartSpec> Parts() const;
    CxSQL* Connection() const;
    QString BuildPartQuery(int part, int afterRow, int limit) const;
    // The page of a part after a row of it (null: from the part's start),
    // that is the offset-th row of the part (used without a keyset).
    QString BuildPartQueryAfter(int part, const Row* last, int offset, int limit) const;
    bool ReadRows(const QString& statement, int part, QList<Row>& rows, CxSQLError* error) const;
    bool RunPage(const QString& statement, int part, QList<Row>& rows);
    bool Fetch(int afterRow, int limit, QList<Row>& rows, bool* atEnd);
    void FindUniqueSort();
    // The rows of the current folder, counted up to cap (-1: not read).
    int FolderRowsUpTo(int cap) const;
    int MaxPageSize() const { return qMax(m_pageSize, m_maxPageSize); }
    bool LoadFromStart(int minRows);
    void OnTableChanged(const QString& table);
    QString TieBreakSQL() const;
    QString SortSQL(const PartSpec& part) const;
    QString KeysetCondition(const Row& last, const PartSpec& part) const;
    QString ValueLiteral(const CxField* field, const QString& value) const;

    CxTable* m_table = nullptr;
    QString m_name;
    CxSQL* m_sql = nullptr;
    int m_pageSize = kDefaultPageSize;
    int m_maxPageSize = kMaxPageSize;
    QList<CxColumnData> m_columns;
    const CxField* m_folderName = nullptr;
    const CxField* m_folderMark = nullptr;
    const CxField* m_folderParent = nullptr;
    QList<const CxSQLFilter*> m_filters;
    QStringList m_groupBy;
    qint64 m_folder = 0;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QList<Row> m_rows;
    bool m_atEnd = true;
    bool m_ready = false;
    bool m_changing = false;         // while rows are being replaced or appended
    bool m_sortColumnUnique = false; // the sort column's values are unique, NULLs aside
    bool m_uniqueSort = false;       // and the current folder is read in its order
    int m_indexOrderRows = kIndexOrderRows;
    // The current folder's rows, counted up to one more than a page may
    // read (more where the index order asks); -1 until counted.
    int m_folderRows = -1;
    CxSQLError m_error;
    QTimer* m_reloadTimer;
};
