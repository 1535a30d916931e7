#pragma once
// The summary tables of the coverage report: for every row group a tree of
// lines keyed by the group values of its fields (and of the pivot fields),
// plain values added to the deepest line of a record and totalled upwards,
// unique persons counted once per line in the columns of person keys, and
// the columns repeated per sub-period when the period is split.
#include "reports/base/core/summary_lines.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSet>
#include <QString>
#include <memory>
#include <vector>

class CHTMLTemplate;
class CRepBaseData;
class CRepField;

class COhvatTables {
public:
    // The row fields of each table (one table per group), the pivot fields
    // (shown as text columns before the values) and the value columns.
    COhvatTables(const QList<QList<CRepField*>>& rowGroups, const QList<CRepField*>& pivots,
                 const QList<CRepField*>& values, const QString& rootTitle);

    // The records that follow belong to sub-period `index` (from 0): their
    // values go to that sub-period's block of columns.
    void BeginPeriod(int index);
    // Adds the current record of the fields' result to every table.
    void AddRecord();

    // The tables as rows of the report template's SM.* sections, one header
    // per table; `periods` are the sub-periods' dates (a sub-header names
    // them when there are several).
    QString GetHTML(const CHTMLTemplate& tpl, CRepBaseData* run,
                    const QList<QPair<QDate, QDate>>& periods);

    // A cell's figure of a line (line 0 the total) at a value position (the
    // sub-period's block offset plus the column): persons for a column of
    // person keys, a share of the total for a percent column.
    double CellValue(int group, long line, int position);
    // The line of a key of group values below the table's root (pivot values
    // first); -1 when no record made it.
    long FindLine(int group, const QList<long>& groupValues) const;

private:
    struct Table {
        QList<CRepField*> rows;
        CSummaryLines<CDoubleArr> lines;
    };
    // A person counted in a line's column (the column's position in the
    // whole value vector, so sub-periods never share a count).
    struct PersonSlot {
        qint32 person;
        long line;
        int position;
        bool operator==(const PersonSlot& o) const {
            return person == o.person && line == o.line && position == o.position;
        }
    };
    friend size_t qHash(const PersonSlot& slot, size_t seed) {
        return qHashMulti(seed, slot.person, slot.line, slot.position);
    }

    void CountPersons(long line, const QList<qint32>& persons);
    QString WriteLines(const CHTMLTemplate& tpl, int group, CSummaryLine<CDoubleArr>* line,
                       int level, int periodCount);
    QString ShadeClass(int level) const;

    std::vector<std::unique_ptr<Table>> m_tables;
    QList<CRepField*> m_pivots;
    QList<CRepField*> m_values;
    QList<long> m_kinds;
    int m_block = 0; // the first value position of the current sub-period
    long m_nextLine = 1;
    QHash<QList<long>, long> m_lineKeys;
    QSet<PersonSlot> m_persons;
    QHash<long, CDoubleArr> m_unique;             // line -> persons per value position
    QHash<QPair<int, long>, QString> m_pivotText; // (pivot index, line) -> text
};
