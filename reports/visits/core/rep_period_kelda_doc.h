#pragma once
// The period pivots: "Отчет за период по материалам" (rows: the materials
// and services handed out, by group and type) and "Отчет за период по
// консультациям и перенаправлениям" (rows: the consultation items by kind;
// redirections, which name no client, in the "Без кода" columns). Columns:
// the clients' sex, age group (at the period's end) and vulnerable group; a
// value without a column of its grouping goes to that grouping's "Другое"
// column. Parent rows and columns open and close by links; a click writes
// the page again from the values held.
#include "framework/core/report/age_groups.h"
#include "framework/core/report/tab_calc.h"
#include "ndx_map.h"
#include "rep_visits_variants.h"

#include <QSet>

class CRepPeriodKeldaDoc : public CRepVisitsDoc {
    Q_OBJECT
public:
    // The pivot with rows banded by their data word.
    class CxTabCalcEx : public CxTabCalc {
    public:
        void ResetBands() {
            m_lastData = 0;
            m_color = 0xFFFFFF;
        }

    protected:
        QString GetStyle(CLine* row, CLine* col, int rowPos, int colPos) override;

    private:
        quint32 m_lastData = 0;
        quint32 m_color = 0xFFFFFF; // 0xRRGGBB
    };

    Q_INVOKABLE explicit CRepPeriodKeldaDoc(QObject* parent = nullptr);
    QString GetReportTitle() override;
    CVisitsViewSetup GetViewSetup() const override;
    bool UsesPreset() const override { return false; }
    void CreateColumns() override {}
    virtual int IsConsultReport() const { return 0; }

    void OnGenerateReport(CAccStringT<wchar_t>& html) override;
    // Writes the pivot into the page.
    void OnBuildHTML(CAccStringT<wchar_t>& html);
    // A pivot link rewrites the page (answers 1); other links go on.
    int OnProcessURL(const QString& url) override;

    CxTabCalcEx& GetPivot() { return m_pivot; }

private:
    void MakeColumns(CNdxToIDMap<CPivotKey>& cols, const QString& points);
    void MakeRows(CNdxToIDMap<CPivotKey>& rows, QSet<long>& skip);
    // The column of a grouping's value: its own line, else the grouping's
    // "Другое" line (made when first needed).
    long ColumnOf(CNdxToIDMap<CPivotKey>& cols, long grouping, long value);
    void AddValues(CNdxToIDMap<CPivotKey>& rows, CNdxToIDMap<CPivotKey>& cols,
                   const QSet<long>& skip, CxResult& result);

    CxTabCalcEx m_pivot;
    CAgeGroups m_ageGroups;
    QSet<long> m_parentColumns; // indexes of the grouping lines
    // The page's header of the last build, for pages written after a click.
    QString m_poshList;
    QString m_workerText;
    QDate m_from;
    QDate m_to;
    CHTMLTemplate m_template;
};

class CRepPeriodKeldaConsDoc : public CRepPeriodKeldaDoc {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRepPeriodKeldaConsDoc(QObject* parent = nullptr)
        : CRepPeriodKeldaDoc(parent) {}
    QString GetReportTitle() override;
    int IsConsultReport() const override { return 1; }
};
