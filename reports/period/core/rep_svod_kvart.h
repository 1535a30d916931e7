#pragma once
// "Сводные данные для квартального отчета в Велмар": fixed indicators for the
// quarter that ends with the month of the view's end date and, for some, for
// the twelve months that end there. Each indicator is a small summary table;
// they are made block by block and all written at the end, so every field an
// indicator reads lives until the page is written.
#include "client_fields.h"
#include "reports/base/core/rep_base.h"

#include <QDate>

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
};
