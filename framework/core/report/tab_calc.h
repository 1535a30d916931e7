#pragma once
// A pivot table: rows and columns are trees of lines, each line named by an
// index the caller chooses; values are added at (row, column) and every
// parent line shows the sum over the lines below it. Parent lines open and
// close by links in the HTML ("tabcalc:row:<index>", "tabcalc:col:<index>"),
// which the document hands back through OnProcessURL; the page is then
// written again from the values held, without a query.
#include "framework/core/containers/acc_string.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

class CxTabCalc {
public:
    class CLine {
    public:
        long GetIndex() const { return m_index; }
        CLine* GetParent() const { return m_parent; }
        const QString& GetTitle() const { return m_title; }
        bool IsExpanded() const { return m_expanded; }
        quint32 GetData() const { return m_data; }
        const QList<CLine*>& Children() const { return m_children; }
        int GetLevel() const;
        // Each answers the line, for chaining.
        CLine* SetTitle(const QString& title) {
            m_title = title;
            return this;
        }
        CLine* Expand(bool expand = true) {
            m_expanded = expand;
            return this;
        }
        CLine* SetData(quint32 data) {
            m_data = data;
            return this;
        }

    private:
        friend class CxTabCalc;
        long m_index = 0;
        CLine* m_parent = nullptr;
        QString m_title;
        bool m_expanded = false;
        quint32 m_data = 0;
        QList<CLine*> m_children; // in the order made
    };

    // The lines of one side (rows or columns).
    class CRoot {
    public:
        // The line of the index, made under the parent's line when new (at the
        // top for parent 0 or a parent without a line). A known index keeps
        // its place.
        CLine* Map(long index, long parentIndex);
        CLine* Find(long index) const;
        const QList<CLine*>& Top() const { return m_top; }

    private:
        friend class CxTabCalc;
        void Clear();
        QHash<long, CLine*> m_lines;
        QList<CLine*> m_top;
        std::vector<std::unique_ptr<CLine>> m_owned;
    };

    // How values are written.
    class CReformater {
    public:
        void SetFloatDigitCount(int digits) { m_digits = digits; }
        int GetFloatDigitCount() const { return m_digits; }
        QString Format(double value) const;

    private:
        int m_digits = 2;
    };

    CxTabCalc() = default;
    virtual ~CxTabCalc() = default;
    CxTabCalc(const CxTabCalc&) = delete;
    CxTabCalc& operator=(const CxTabCalc&) = delete;

    CRoot* GetRows() { return &m_rows; }
    CRoot* GetCols() { return &m_cols; }
    // Adds to the cell; an index without a line adds nothing visible.
    void Add(long rowIndex, long colIndex, double value);
    // The value of a cell: the sum over the lines below both lines.
    double GetValue(long rowIndex, long colIndex) const;
    // Drops every line and value (remembered open states stay).
    void Reset();

    // Open states survive a Reset: KeepExpanded remembers them by index,
    // RestoreExpanded puts them back on the lines that exist (over the
    // defaults of new lines), ClearExpanded forgets them.
    void KeepExpanded(void* rows = nullptr, void* cols = nullptr);
    void RestoreExpanded(void* rows = nullptr, void* cols = nullptr);
    void ClearExpanded();

    CReformater* GetReformater() { return &m_reformater; }
    void SetDefaultHDRTDStyle(const QString& css) { m_headerStyle = css; }

    // Appends the table as HTML.
    void BuildHTML(CAccStringT<wchar_t>& out, void* reserved = nullptr);
    // Opens or closes the line of a link of this table; 0 for another link.
    virtual int OnProcessURL(const QString& url);

protected:
    // The style of a value cell; the position arguments count visible rows
    // and columns from 0.
    virtual QString GetStyle(CLine* row, CLine* col, int rowPos, int colPos);

private:
    // The shown lines in display order: a line, then (when open) the lines below.
    static void Visible(const QList<CLine*>& lines, QList<CLine*>& out);
    void HeaderRows(CLine* line, int level, int depth, QList<QString>& rows);
    static int Depth(const CLine* line);
    static int Width(const CLine* line);
    static QString Link(const QString& side, const CLine* line);
    void Aggregate(QHash<QPair<long, long>, double>& sums) const;

    CRoot m_rows;
    CRoot m_cols;
    QHash<QPair<long, long>, double> m_values;
    QHash<long, bool> m_keptRows;
    QHash<long, bool> m_keptCols;
    CReformater m_reformater;
    QString m_headerStyle;
};
