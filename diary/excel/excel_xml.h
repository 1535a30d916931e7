#pragma once
// Reads one Excel 2003 XML Spreadsheet file (as Excel and LibreOffice Calc
// save it) into cell texts addressed by row, column and worksheet, all
// 0-based. A cell is only its text as the file stores it: styles, formulas,
// value types and options are not read. The daily-sheet import reads the
// filled stencil with it.
//
//   CExcelXML sheet;
//   QString error;
//   if (!sheet.Load(path, &error)) ...;        // error says why, in Russian
//   if (const QString* t = sheet.GetCellText(row, column, 0)) ...
//
// Cell text is the character data of the cell's Data element, including that
// of rich-text runs nested in it (bold, italic, font); a cell comment, or
// text anywhere else, is not part of a cell. Worksheet, Row, Cell and Data
// are recognised with or without the "ss" prefix. A Row or Cell with
// ss:Index moves to that (1-based) place; a Cell without it follows the
// previous cell and the columns that cell merges to its right. A cell merged
// over several columns holds its text at its first column.
#include "xml_tag_root.h"

#include <QByteArray>
#include <QHash>

class CExcelXML : public xmlTagRoot {
public:
    // The largest sheet the format's programs make: a row or column index
    // beyond these marks a damaged file.
    static constexpr int kMaxRows = 1048576;
    static constexpr int kMaxColumns = 16384;

    // Bounds what the next loads keep: a row at or beyond rows fails the
    // load (RowLimitReached() then says so); a cell at or beyond columns is
    // passed over, its text not kept. The format's own sheet by default.
    void SetLimits(int rows, int columns) {
        m_rowLimit = rows;
        m_columnLimit = columns;
    }
    bool RowLimitReached() const { return m_rowLimitReached; }

    // Reads and parses the file. On failure error (when given) says why: the
    // file could not be read, or the parse error in the "(code) text" form of
    // GetErrorText, whose code stays in GetErrors(). The text goes to the
    // caller only, not to the application's error list: the sheet import
    // puts it in its own log under the file's name. Cells of an earlier load
    // stay, so callers use one reader per file.
    bool Load(const QString& path, QString* error = nullptr);
    // The same for the file's bytes: UTF-8 (a byte-order mark is skipped),
    // whatever the XML declaration says; the text ends at a zero byte.
    bool LoadData(const QByteArray& bytes, QString* error = nullptr);

    // The text of a cell, or null when the file names no cell there; a cell
    // named without data gives an empty text.
    const QString* GetCellText(int row, int column, int sheet) const;
    // The greatest row index of a cell of the sheet; 0 when the sheet has no
    // cell in a row above 0.
    int GetLastRow(int sheet) const;
    // The greatest row index of a cell of the sheet that holds more than
    // blanks; -1 when none does.
    int GetLastFilledRow(int sheet) const { return m_lastFilledRow.value(sheet, -1); }
    // The worksheets the file named.
    int GetSheetCount() const { return m_sheetCount; }
    int GetCellCount() const { return int(m_cells.size()); }

protected:
    bool OnOpenTag(const QString& name, const xmlAttributes& attrs) override;
    bool OnData(QStringView text) override;
    bool OnCloseTag(const QString& name) override;

private:
    struct CellKey {
        int row;
        int column;
        int sheet;
        bool operator==(const CellKey&) const = default;
    };
    friend size_t qHash(const CellKey& key, size_t seed) {
        return qHashMulti(seed, key.row, key.column, key.sheet);
    }

    // What an open element means for the cell text inside it.
    enum class Kind : quint8 {
        Other,
        Cell,
        CellData, // a Data element of a cell
        RichRun,  // an element inside a cell's Data (bold, italic, font...)
    };

    // The cursor of the walk; fresh at every load.
    struct LOADINGDATA {
        int column = -1; // -1 before the first cell of a row
        int row = -1;    // -1 before the first row of a worksheet
        int sheet = -1;  // -1 before the first worksheet
        int merged = 0;  // columns the previous cell of the row merges to its right
        QList<Kind> open;
    };

    QString& TouchCell();

    QHash<CellKey, QString> m_cells;
    QHash<int, int> m_lastRow;       // sheet → greatest row index of its cells
    QHash<int, int> m_lastFilledRow; // sheet → greatest row index of a filled cell
    int m_sheetCount = 0;
    int m_rowLimit = kMaxRows;
    int m_columnLimit = kMaxColumns;
    bool m_rowLimitReached = false;
    LOADINGDATA m_loading;
};
