#pragma once
// An editable grid of text cells: columns registered with a caption, a width
// and a kind of cell (plain text, a number, a check box that holds "1" or
// "0", a choice from an enumeration, the key of a row of a table chosen by
// name), rows that grow as cells are filled. Forms and sheets fill it cell by
// cell and read it back; a value that fails a check gets a tip at its cell.
#include <QAbstractTableModel>
#include <QHash>
#include <QStyledItemDelegate>
#include <QTableView>
#include <memory>

class CEnum2;
class CSQLAutoComplete;
class CxTable;
class CGridCtrl;

// The in-place editors a column may use (SetRuntimeClass takes their
// run-time classes: CxInplacedCheck, CxComboList, CxSqlComboList,
// CxOldEditSQLAcc).
class CxInplacedCheck : public QObject {
    Q_OBJECT
};

class CGridColumnDef {
public:
    enum class Kind { Text, Check, Enum, TableKey };

    QString caption;
    int width = 100;
    bool readOnly = false;
    bool integer = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool hasColor = false;
    quint32 colorRef = 0;
    Kind kind = Kind::Text;
    const CEnum2* enumeration = nullptr;
    std::shared_ptr<CSQLAutoComplete> table; // rows of a table, by name
    bool plainEditForKeys = false;           // CxOldEditSQLAcc rather than the combo list

    CGridColumnDef& SetReadOnly(bool on = true) {
        readOnly = on;
        return *this;
    }
    CGridColumnDef& SetIntegerField(bool on = true) {
        integer = on;
        return *this;
    }
    // 0 left, 1 centre, 2 right.
    CGridColumnDef& SetAlign(int align);
    // The background colour of the column's cells, a COLORREF value.
    CGridColumnDef& SetColor(quint32 colorRef);
    // The editor: the run-time class of one of the in-place editors above.
    CGridColumnDef& SetRuntimeClass(const QMetaObject* editor);
    // A check box stays a check box when the row is not being edited (the
    // only way this grid shows them); accepted for callers.
    CGridColumnDef& SetRemoveInactive(bool) { return *this; }
    // The choices of an enumeration (for CxComboList cells).
    CGridColumnDef& SetEnum(const CEnum2* enumeration);
    // The table whose row keys the column holds (for CxSqlComboList and
    // CxOldEditSQLAcc cells).
    CGridColumnDef& SetTable(CxTable* table);
};

class CGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CGridModel(CGridCtrl* grid);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    friend class CGridCtrl;
    CGridCtrl* m_grid;
};

class CGridCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CGridCtrl(QWidget* parent = nullptr);
    ~CGridCtrl() override;

    // Status of SaveCell.
    enum : int { CELL_VALUE = 1, CELL_EMPTY = 2, CELL_NOT_FOUND = 4 };

    // Columns: Begin empties the grid, RegisterColumn adds a column (answers
    // its index), End shows them.
    void Begin();
    int RegisterColumn(const QString& caption, int width = 100);
    void End();
    CGridColumnDef* GetColumnDef(int column);
    int GetColumnsCount() const { return int(m_columns.size()); }
    // Empties the grid (columns and rows).
    void Reset();

    // Rows and cells.
    void SetItemCount(int rows);
    int GetItemCount() const { return int(m_cells.size()); }
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    // Puts a text into a cell, growing the grid to the row.
    void LoadCell(int row, int column, const QString& text);
    // Reads a cell back: CELL_VALUE with the text, CELL_EMPTY, or, in a
    // column of row keys, CELL_NOT_FOUND when the typed name names no row.
    int SaveCell(int row, int column, QString* text) const;
    // Makes one cell read-only (or editable again).
    void SetCellReadOnly(int row, int column, bool readOnly);
    bool IsCellReadOnly(int row, int column) const;
    // Keeps one empty row at the end for typing a new one.
    void SetAutoGrow(bool on);

    void SelectItem(int row, int column);
    void ShowErrorTip(int row, int column, const QString& text, const QString& title = QString());
    // The last tip shown at a cell (row, column, text), for checks.
    QString LastErrorTip(int* row = nullptr, int* column = nullptr) const;

    // Checks a value the user typed before it goes into the cell; the base
    // refuses a non-number in an integer column. May change the text.
    virtual bool CheckValue(int row, int column, QString& text);
    // The editor of a cell (the column's kind decides the default).
    virtual QWidget* CreateInplaceObject(int row, int column, QWidget* parent);
    // A cell changed by the user.
    virtual void OnItemChanged(int row, int column);

    CGridModel* Model() const { return m_model; }

signals:
    void itemChanged(int row, int column);

private:
    friend class CGridModel;
    friend class CGridDelegate;
    QString DisplayText(int row, int column) const;
    void EnsureRows(int rows);
    void KeepEmptyLastRow();

    CGridModel* m_model;
    QList<CGridColumnDef> m_columns;
    QList<QStringList> m_cells;
    QHash<quint64, bool> m_readOnlyCells;
    mutable QHash<QString, QString> m_keyNames; // "<column>:<key>" -> name
    bool m_autoGrow = false;
    QString m_lastTip;
    int m_lastTipRow = -1;
    int m_lastTipColumn = -1;
};

// Edits the grid's cells with the column's editor.
class CGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CGridDelegate(CGridCtrl* grid);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    CGridCtrl* m_grid;
};
