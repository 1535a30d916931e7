#pragma once
// A report field: one attribute or measure a configurable report can show
// (a grouping of rows, a detail column, a summed column). The run lists its
// fields (CRepBase::AddField); each adds its SQL to the report's select,
// is bound to the result, and answers its value, group and texts for the
// current row. The catalogue of concrete fields belongs to the reports
// (reports/period/core).
//
// Every getter reads the field's columns at most once per fetched row: the
// first getter called on a new row recomputes the field's cached value and
// text (IsNewRow), the others answer from the cache.
#include <QString>

class CRepBaseData;
class CSimpleSelect;
class CxResult;

class CRepField {
public:
    // Bits of GetValueKind.
    enum ValueKind { kValuePersonKey = 1, kValuePercent = 2 };
    // Bits of GetFlags: the preset editor pages that offer the field.
    enum Flags {
        kFlagSumRow = 0x1,
        kFlagDetail = 0x4,
        kFlagSumColumn = 0x8,
        kFlagGrouping = 0x10,
    };

    virtual ~CRepField() = default;

    virtual long GetValueKind() { return 0; }
    // A footnote mark for the column header ("<sup>n</sup>"), entering its
    // text in the run's footnotes; empty when the field warns of nothing.
    virtual QString GetWarning(CRepBaseData* run) {
        (void)run;
        return QString();
    }
    // Keeps the result, its current row and the field's column in it (found
    // without regard to letter case: the server names a column as the
    // statement spelled it). A field without a name reads column 0.
    virtual void Bind(CxResult* result);
    virtual long GetID() = 0;
    virtual QString GetFieldName() = 0;
    virtual QString GetTitle() = 0;
    virtual void AddSelect(CSimpleSelect& select, CRepBaseData* run) = 0;
    virtual void AddGroup(CSimpleSelect& select, CRepBaseData* run) {
        (void)select;
        (void)run;
    }
    virtual double GetValue() { return 0.0; }
    virtual QString GetDetValue() { return QString(); }
    virtual long GetGroupID() { return 0; }
    virtual QString GetGroupText() { return QString(); }
    virtual QString GetCSSClass() { return QStringLiteral("num"); }
    virtual long GetFootnote(CRepBaseData* run) {
        (void)run;
        return -1;
    }
    virtual unsigned GetFlags() { return 0; }

protected:
    // Whether the result moved to another row since the field last read it;
    // the first call after a fetch answers true and remembers the row.
    bool IsNewRow();
    // The position of a column of the bound result; -1 when it has none.
    int ColumnPos(const QString& name) const;
    // The field's column (or another position) of the current row; NULL
    // and a missing column read as 0 or an empty text.
    long ColumnLong(long pos) const;
    long ColumnLong() const { return ColumnLong(m_nColumn); }
    QString ColumnText(long pos) const;
    QString ColumnText() const { return ColumnText(m_nColumn); }

    CxResult* m_pResult = nullptr;
    qint64 m_nFetchID = -1;
    long m_nColumn = 0;
};
