#pragma once
// "Сводные данные для квартального отчета в Велмар": fixed indicators for the
// quarter that ends with the month of the view's end date and, for some, for
// the twelve months that end there. Each indicator is a small summary table;
// they are made block by block and all written at the end, so every field an
// indicator reads lives until the page is written.
#include "client_fields.h"
#include "reports/base/core/rep_base.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <memory>
#include <vector>

class CRepBaseSummary;

// The main vulnerable group, each group shown with the window its regular
// clients are counted in: the quarter for groups 2 and 4, the twelve months
// for the others.
class CRF_RiskDlyaRegKvart : public CRF_RiskGroup {
public:
    CRF_RiskDlyaRegKvart(const QDate& yearStart, const QDate& quarterStart, const QDate& end);
    QString GetGroupText() override;

private:
    void OnNewRow() override;
    QDate m_yearStart;
    QDate m_quarterStart;
    QDate m_end;
    QString m_groupText;
};

// The column of an indicator filled from a plain query rather than fields.
class CRF_VirtualColumn : public CRepFieldBase {
public:
    CRF_VirtualColumn();
    void AddSelect(CSimpleSelect&, CRepBaseData*) override {}
};

// What one run of the quarterly summary found: the indicators in the order
// they are shown, each a summary table (its lines and figures) and, after it,
// rows of shares; no HTML.
struct CSvodKvartFigures {
    struct Indicator {
        QString key; // the indicator's translation key ("msgSumTot3", ...)
        QString title;
        std::unique_ptr<CRepBaseSummary> table;
        QList<QPair<QString, double>> shares; // title, percent
    };
    CSvodKvartFigures();
    ~CSvodKvartFigures();
    CSvodKvartFigures(const CSvodKvartFigures&) = delete;
    CSvodKvartFigures& operator=(const CSvodKvartFigures&) = delete;

    // The indicator of a key; null when the run did not make it.
    const Indicator* Find(const QString& key) const;
    // The first figure of an indicator's line found by its group values
    // (none: the total), cut to a whole number; 0 when no record made it.
    long Cell(const QString& key, const QList<long>& groupValues) const;

    QString selectionMark; // the chosen points' footnote number, or empty
    QDate end;             // the date the summary is for
    std::vector<Indicator> indicators;
    std::vector<std::unique_ptr<CRepField>> fields; // the tables read them until the page
};

class CRep_SvodnyeDannyDlyaKvart : public CRepBase {
    Q_OBJECT
public:
    Q_INVOKABLE explicit CRep_SvodnyeDannyDlyaKvart(QObject* parent = nullptr) : CRepBase(parent) {}
    QString GetReportTitle() override;
    // The start follows from the end date, and no worker filter applies: the
    // view offers neither.
    void OnSetupView() override;
    // No preset list: the report always builds.
    int CheckPreset() override { return 1; }
    void OnGenerateReport(CAccStringT<wchar_t>& html) override;
    // The figures of the last run that reached its page; null before one.
    const CSvodKvartFigures* Figures() const { return m_figures.get(); }

private:
    // The queries of every block, into figures.
    std::unique_ptr<CSvodKvartFigures> Gather();
    // The page of the figures.
    QString Page(const CSvodKvartFigures& figures);

    std::unique_ptr<CSvodKvartFigures> m_figures;
};
