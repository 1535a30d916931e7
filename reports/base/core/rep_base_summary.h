#pragma once
// One summary table of a report run: rows nested by the grouping fields,
// one column per value field, each row carrying the totals of the rows below
// it and the first row the grand total. Rows are found from the current
// result row through a key of the grouping fields' group values; the table is
// written with the SM.* sections of the report template.
#include "framework/core/containers/acc_string.h"
#include "summary_lines.h"

#include <QHash>
#include <QList>
#include <QString>

class CRepBaseData;
class CRepField;

class CRepBaseSummary {
public:
    // The root row's title is the translated "Всего" when none is given.
    explicit CRepBaseSummary(const QString& title = QString(), long summaryId = 0);
    virtual ~CRepBaseSummary() = default;

    void AddRowField(CRepField* field) { m_rowFields.append(field); }
    void AddColumnField(CRepField* field) { m_columnFields.append(field); }
    // Takes the SM.ROW, SM.HDR, SM.CELL and SM.HCELL sections of the run's
    // report template.
    void LoadTemplates(CRepBaseData* run);
    // Adds the current result row: finds (or makes) its line from the row
    // fields' group values and adds the column fields' values to it.
    int GetRowForCurrentRecord();
    // The line id of a key of group values; -1 when no line has it.
    long FindRow(const CMemNDX<long>& key) const;
    CSummaryLines<CDoubleArr>& GetLines() { return m_lines; }
    // The totals of a line, brought up to date.
    CDoubleArr* GetLineTotals(long id);
    // Appends the table's rows (and its header unless noHeader).
    void GetHTML(CAccStringT<wchar_t>& html, CRepBaseData* run, bool noHeader);
    // Appends one finished row with a single value cell.
    void AddValueRow(CAccStringT<wchar_t>& html, const QString& title, double value);
    virtual int GetDepth(CSummaryLine<CDoubleArr>* line) { return line->GetDepth(); }

    // Rows of level 0 take class "3" when set.
    void SetLevel0Style(int style) { m_level0Style = style; }
    long GetSummaryID() const { return m_summaryId; }

    // A cell's number: whole numbers plainly, fractions with up to three
    // decimals, zero as an empty cell.
    static QString CellText(double value);

private:
    void WriteLine(CSummaryLine<CDoubleArr>* line, CAccStringT<wchar_t>& html, int level,
                   int depth);
    QString LineClass(int level, int depth) const;

    QString m_hdrTemplate;
    QString m_hcellTemplate;
    QString m_cellTemplate;
    QString m_rowTemplate;
    long m_nextLineId = 1;
    int m_level0Style = 0;
    long m_summaryId;
    CMemNDX<long> m_rowKey;
    QHash<CMemNDX<long>, long> m_keyMap;
    QList<CRepField*> m_rowFields;    // not owned
    QList<CRepField*> m_columnFields; // not owned
    CSummaryLines<CDoubleArr> m_lines;
    CDoubleArr m_current;
};
