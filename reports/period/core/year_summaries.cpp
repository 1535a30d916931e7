#include "year_summaries.h"

#include "field_support.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/enums/enums.h"
#include "place_fields.h"
#include "report_sql.h"
#include "reports/base/core/rep_base_data.h"

namespace {
// The kind bits of a consultation that the extended report totals.
constexpr int kConsultBits[] = {1, 2, 4, 8, 16, 32};
} // namespace

QString CRepYearTableBase::Cell(const QString& text) const {
    return QStringLiteral("<td>") + text + QStringLiteral("</td>");
}

void CRepYearTableBase::OnGenerateReport(CAccStringT<wchar_t>& html) {
    CRepBaseData* run = GetRunData();
    const QString t = SourceTable(run);
    const QString points = run->PrepareSelectedPOU();
    const QString periods = run->PrepareRiskGroupTable();
    CxSQLError failed;
    if (!TownTree::LoadLeafTowns(run->GetSQL(), m_leafTowns, &failed) ||
        !TownTree::LoadTownList(run->GetSQL(), m_ancestors, m_regionNames, &failed))
        throw CRepError{SafeHTML(failed.statement) + QStringLiteral("<br/><b>") +
                        SafeHTML(failed.text) + QStringLiteral("</b>")};
    // The state at the year's end, or at the period's end within its last year.
    const QString stateDate = QStringLiteral("LEAST(STR_TO_DATE(CONCAT(YEAR(") + t +
                              QStringLiteral(".dDate),'1231'),'%Y%m%d'),") +
                              RepFieldSupport::SqlDate(run->To()) + u')';

    CSimpleSelect select;
    select.Select(QStringLiteral("YEAR(") + t + QStringLiteral(".dDate) AS nYear"));
    select.Group(QStringLiteral("YEAR(") + t + QStringLiteral(".dDate)"));
    select.Select(QStringLiteral("WorkPlace.nTown AS nTownID"));
    select.Join(QString(), QStringLiteral("dir AS WorkPlace"),
                QStringLiteral("WorkPlace.ROWID=") + t + QStringLiteral(".nWorkPlace"));
    select.Group(QStringLiteral("WorkPlace.nTown"));
    AddOwnParts(select, t);
    // A client with no group recorded by that date still came: he counts
    // under "Не заполнена" rather than dropping out of the year.
    select.Join(QStringLiteral("LEFT"), periods,
                periods + QStringLiteral(".nClientID=") + t + QStringLiteral(".nClientID AND ") +
                    stateDate + QStringLiteral(" BETWEEN ") + periods +
                    QStringLiteral(".dStartDate AND ") + periods + QStringLiteral(".dEndDate"));
    select.Select(periods + QStringLiteral(".nClientType"));
    select.Group(periods + QStringLiteral(".nClientType"));
    select.Join(QString(), QStringLiteral("clientdata"),
                QStringLiteral("clientdata.ROWID=") + t + QStringLiteral(".nClientID"));
    select.Select(QStringLiteral("clientdata.nSex"));
    select.Group(QStringLiteral("clientdata.nSex"));
    // Only the chosen service points.
    select.Join(QString(), points,
                points + QStringLiteral(".ROWID=") + t + QStringLiteral(".nWorkPlace"));
    select.Where(RepFieldSupport::InPeriod(t + QStringLiteral(".dDate"), run));
    select.Where(QStringLiteral("NOT clientdata.bIsFolder"));
    // The rows in the order of their groups, the same on every build.
    for (const QString& term : select.GetGroup())
        select.Order(term);

    CxResult rows = ReportSQL::Query(run, select.Build(t));
    const QString error =
        CTarvikApp::TranslateString(QStringLiteral("Ошибка"), QString::fromLatin1(ErrorContext()));
    QString table = QStringLiteral("<table border=1>");
    while (rows.FetchRow()) {
        const long town = rows.LFieldValue(QStringLiteral("nTownID"));
        auto ancestor = m_ancestors.constFind(town);
        const auto regionName = ancestor != m_ancestors.constEnd()
                                    ? m_regionNames.constFind(ancestor.value())
                                    : m_regionNames.constEnd();
        const QString region = regionName != m_regionNames.constEnd() ? regionName.value() : error;
        const QString townName = m_leafTowns.value(town, error);
        // A client of several groups shows all of them; of none, "Не заполнена".
        QString group;
        const long code = rows.LFieldValue(QStringLiteral("nClientType"));
        if (code == 0)
            group = RepFieldSupport::Tr("Не заполнена", "msgNotFilled");
        else if (!g_pClientGroup->GetValueText(quint32(code), group))
            group = error;
        const QString sex = g_pSex->IDToString(rows.LFieldValue(QStringLiteral("nSex")), error);
        table +=
            QStringLiteral("<tr>") +
            Cell(QString::number(rows.LFieldValue(QStringLiteral("nYear")))) +
            RowCells(rows, SafeHTML(region), SafeHTML(townName), SafeHTML(group), SafeHTML(sex)) +
            QStringLiteral("</tr>");
    }
    table += QStringLiteral("</table>");

    html.Add(
        CxString::StrTr(run->GetReportTemplate().GetSection(QStringLiteral("REPORT")),
                        {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
                         {QStringLiteral("%FROM%"), SafeHTML(ReportSQL::ShownDate(run->From()))},
                         {QStringLiteral("%TO%"), SafeHTML(ReportSQL::ShownDate(run->To()))},
                         {QStringLiteral("%HEADING%"), QString()},
                         {QStringLiteral("%DETAIL%"), QString()},
                         {QStringLiteral("%SUMMARY%"), table},
                         {QStringLiteral("%COMMENT%"), QString()}}));
}

// ---- summary by years ----

QString CRep_SvodnyiPoGodam::GetReportTitle() {
    return CTarvikApp::TranslateString(QStringLiteral("Сводный отчет по годам"),
                                       QStringLiteral("msgSvodnyiPoGodam"));
}

QString CRep_SvodnyiPoGodam::SourceTable(CRepBaseData* run) {
    return run->PrepareCompactTable();
}

void CRep_SvodnyiPoGodam::AddOwnParts(CSimpleSelect& select, const QString& source) {
    select.Select(QStringLiteral("COUNT(DISTINCT ") + source +
                  QStringLiteral(".nClientID) AS nClients"));
}

QString CRep_SvodnyiPoGodam::RowCells(CxResult& row, const QString& region, const QString& town,
                                      const QString& group, const QString& sex) {
    return QStringLiteral("<td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td>")
        .arg(region, town, group, sex,
             QString::number(row.LFieldValue(QStringLiteral("nClients"))));
}

// ---- extended consultations ----

QString CRepNewConsult::GetReportTitle() {
    return CTarvikApp::TranslateString(QStringLiteral("Расширенный отчет по консультациям"),
                                       QStringLiteral("msgExtConsultReport"));
}

QString CRepNewConsult::SourceTable(CRepBaseData* run) {
    return run->PrepareConsCompactTable();
}

void CRepNewConsult::AddOwnParts(CSimpleSelect& select, const QString& source) {
    for (int bit : kConsultBits)
        select.Select(QStringLiteral("SUM(%1.val%2) AS sum%2").arg(source).arg(bit));
    select.Group(source + QStringLiteral(".nItem"));
    select.Select(QStringLiteral("dir.cString"));
    select.Join(QString(), QStringLiteral("dir"),
                QStringLiteral("dir.ROWID=") + source + QStringLiteral(".nItem"));
}

QString CRepNewConsult::RowCells(CxResult& row, const QString& region, const QString& town,
                                 const QString& group, const QString& sex) {
    QString cells =
        QStringLiteral("<td>%1</td><td>%2</td><td>%3</td><td>%4</td><td>%5</td>")
            .arg(SafeHTML(row.SFieldValue(QStringLiteral("cString"))), region, town, group, sex);
    for (int bit : kConsultBits)
        cells +=
            QStringLiteral("<td>%1</td>").arg(row.LFieldValue(QStringLiteral("sum%1").arg(bit)));
    return cells;
}
