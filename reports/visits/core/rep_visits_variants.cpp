#include "rep_visits_variants.h"

#include "framework/core/select/simple_select.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "visits_columns.h"

namespace {
constexpr CxTr Tr;
const QString kFast = QStringLiteral("_cache_fast");
const QString kClients = QStringLiteral("_cache_clients");
} // namespace

QString CRepVisitsDoc::GetReportTitle() {
    return Tr("Охват за период", "CRepVisitsDoc::GetReportTitle");
}

// ---- new clients ----

QString CRepVisitsNewDoc::GetReportTitle() {
    return Tr("Новые клиенты", "CRepVisitsNewDoc::GetReportTitle");
}

bool CRepVisitsNewDoc::AddReportQuery(CSimpleSelect& select) {
    CRepVisitsRunData* run = Run();
    if (run->workerId > 0)
        select.Where(kClients + QStringLiteral(".nWorker1=") + QString::number(run->workerId));
    select.Where(run->GetPeriodCondition(kClients + QStringLiteral(".dFirstDate")));
    // A temporary table cannot be opened twice in one statement: the chosen
    // points are copied for the join on the first visit's point.
    const QString copy = run->CreateTempTable(
        QStringLiteral("CREATE TEMPORARY TABLE $$$ SELECT * FROM ") + run->Posh().GetName(),
        QStringLiteral("ROWID"));
    select.Join(QString(), copy + QStringLiteral(" AS jPosh1"),
                QStringLiteral("jPosh1.ROWID=") + kClients + QStringLiteral(".nWorkPlace"));
    return true;
}

// ---- regular clients ----

QString CRepVisitsRegDoc::GetReportTitle() {
    return Tr("Регулярные клиенты", "CRepVisitsRegDoc::GetReportTitle");
}

CVisitsViewSetup CRepVisitsRegDoc::GetViewSetup() const {
    CVisitsViewSetup setup;
    setup.periodStart = false;
    return setup;
}

void CRepVisitsRegDoc::AdjustPeriod() {
    CRepVisitsRunData* run = Run();
    const QDate end = run->To();
    if (!end.isValid())
        return;
    const int y = end.year();
    const int m = end.month();
    run->To() = QDate(y, m, GetLastMonthDay(y, m));
    run->From() = QDate(y - 1, m, GetLastMonthDay(y - 1, m)).addDays(1);
}

bool CRepVisitsRegDoc::AddReportQuery(CSimpleSelect& select) {
    CRepVisitsRunData* run = Run();
    const QString regular = run->CreateTempTable(
        QStringLiteral("CREATE TEMPORARY TABLE $$$ select nClientID,count(distinct  "
                       "DATE_FORMAT(dDate,'%Y%m')) AS nVisits FROM ") +
            kFast + QStringLiteral(" WHERE ") + run->GetPeriodCondition(QStringLiteral("dDate")) +
            QStringLiteral(" GROUP BY nClientID HAVING nVisits=12"),
        QStringLiteral("nClientID"));
    select.Join(QString(), regular + QStringLiteral(" AS jRegCl"),
                QStringLiteral("jRegCl.nClientID=") + kFast + QStringLiteral(".nClientID"));
    return true;
}

// ---- visits per month ----

QString CRep_Kelda_VisSummary::GetReportTitle() {
    return Tr("Итоги по визитам за период", "CRep_Kelda_VisSummary::GetReportTitle");
}

void CRep_Kelda_VisSummary::OnLoadMat() {
    Progress(Tr("Подготовка колонок по датам", "CRep_Kelda_VisSummary::OnLoadMat"));
    CRepVisitsRunData* run = Run();
    QDate d = run->From();
    const QDate end = run->To();
    while (d.isValid() && d <= end) {
        Cxrp* column = run->AddOwnedColumn(
            new CxrpMonth(QStringLiteral("%1.%2").arg(d.month()).arg(d.year()), d));
        run->selectColumns << column;
        run->detailColumns << column;
        run->valueColumns << column;
        d = QDate(d.year(), d.month(), 1).addMonths(1);
    }
}

// ---- summary by years ----

QString CRep_SvodnyiOtchetPoGodam::GetReportTitle() {
    return Tr("Сводный отчет по годам", "msgSvodnyiPoGodam");
}

void CRep_SvodnyiOtchetPoGodam::OnLoadMat() {
    CRepVisitsRunData* run = Run();
    run->selectColumns << run->AddOwnedColumn(new CxrpVisitYear);
}

bool CRep_SvodnyiOtchetPoGodam::AddReportQuery(CSimpleSelect& select) {
    select.Group(QStringLiteral("YEAR(") + kFast + QStringLiteral(".dDate)"));
    // Every build starts its table afresh: titles of an earlier build (of
    // other presets or data) must not name this build's groups.
    m_rowCounts.clear();
    m_groupTitles.clear();
    return true;
}

bool CRep_SvodnyiOtchetPoGodam::OnResultRow() {
    CRepVisitsRunData* run = Run();
    std::vector<long> key;
    for (int i = 0; i < run->selectColumns.size(); ++i) {
        Cxrp* column = run->selectColumns.at(i);
        if (!(column->GetKind() & kKindGroup))
            continue;
        const long g = column->GetGroupID();
        key.push_back(g);
        const QPair<int, long> titleKey(i, g);
        if (!m_groupTitles.contains(titleKey))
            m_groupTitles.insert(titleKey, column->GetSumTitle());
    }
    ++m_rowCounts[key];
    return true;
}

void CRep_SvodnyiOtchetPoGodam::OnPreFinalHTML(QString& summary) {
    CRepVisitsRunData* run = Run();
    const QString cell = QStringLiteral("<td style='border:1px solid black'>");
    QList<int> positions;
    QString header = QStringLiteral("<tr>");
    for (int i = 0; i < run->selectColumns.size(); ++i) {
        Cxrp* column = run->selectColumns.at(i);
        if (!(column->GetKind() & kKindGroup))
            continue;
        positions << i;
        header += cell + SafeHTML(column->GetTitle()) + QStringLiteral("</td>");
    }
    header +=
        cell + SafeHTML(Tr("Количество клиентов", "msgClientCont")) + QStringLiteral("</td></tr>");
    summary += header;
    for (const auto& [key, count] : m_rowCounts) {
        QString row = QStringLiteral("<tr>");
        for (size_t k = 0; k < key.size() && k < size_t(positions.size()); ++k) {
            const auto it = m_groupTitles.constFind(qMakePair(positions.at(int(k)), key[k]));
            const QString title = it != m_groupTitles.cend()
                                      ? it.value()
                                      : Tr("Ошибка", "CRep_SvodnyiOtchetPoGodam::OnPreFinalHTML");
            row += cell + SafeHTML(title) + QStringLiteral("</td>");
        }
        row += cell + QString::number(count) + QStringLiteral("</td></tr>");
        summary += row;
    }
}
