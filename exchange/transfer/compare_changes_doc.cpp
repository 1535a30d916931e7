#include "compare_changes_doc.h"

#include "framework/core/app/html_template.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

using CxString::StrTr;

static void InitResources() {
    Q_INIT_RESOURCE(compare_templates);
}

namespace {
constexpr CxTr Tr;

QString DateText(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy"))
                          : Tr("Ошибка", "CRepCompareChanges::OnBnClickedBuild");
}

// The cells of a report as one load holds it; suffix "" for the first load's
// placeholders, "2" for the second's.
QList<CxString::Pair> ReportCells(const CCompareReport& r, const QString& suffix) {
    const auto p = [&suffix](const char* name) {
        return QStringLiteral("{%1%2}").arg(QLatin1String(name), suffix);
    };
    return {
        {p("DATE"), SafeHTML(DateText(r.date))},
        {p("POU_STR"), SafeHTML(r.workPlace.Text())},
        {p("POU_ID"), QString::number(r.workPlace.id)},
        {p("WRK1_STR"), SafeHTML(r.worker1.Text())},
        {p("WRK1_ID"), QString::number(r.worker1.id)},
        {p("WRK2_STR"), SafeHTML(r.worker2.Text())},
        {p("WRK2_ID"), QString::number(r.worker2.id)},
        {p("WRK3_STR"), SafeHTML(r.worker3.Text())},
        {p("WRK3_ID"), QString::number(r.worker3.id)},
    };
}
} // namespace

CRepCompareChangesDoc::CRepCompareChangesDoc(QObject* parent) : CRepDoc(parent) {
    static const bool init = (InitResources(), true);
    (void)init;
}

QString CRepCompareChangesDoc::GetReportTitle() {
    return Tr("Сравнение загрузок", "msgCompareReportTitle");
}

QString CRepCompareChangesDoc::SetChoice(const QList<int>& ticked, const QString& org,
                                         const QDate& date) {
    int first = 0, second = 0;
    const QString problem = CheckCompareChoice(GetSQL(), ticked, date, &first, &second);
    if (!problem.isEmpty())
        return problem;
    m_first = first;
    m_second = second;
    m_org = org;
    m_date = date;
    return QString();
}

void CRepCompareChangesDoc::OnInitHTML(CAccStringT<wchar_t>& html) {
    if (!RepCheckTrue(m_first > 0 && m_second > 0,
                      Tr("Не выбраны данные для сравнения", "msgNothingToDo"), GetReportTitle()))
        return;
    CCompareLoadsData data;
    QString error;
    if (!CompareLoads(GetSQL(), m_first, m_second, m_date, &data, &error)) {
        // The user is told what failed instead of getting an empty page.
        RepCheckTrue(false, error, GetReportTitle());
        return;
    }
    CHTMLTemplate tpl;
    if (!RepCheckTrue(tpl.Load(kTemplateId),
                      Tr("Не найден шаблон отчета {id}", "msgTemplateNotFound")
                          .replace(QLatin1String("{id}"), QString::number(kTemplateId)),
                      GetReportTitle()))
        return;
    html.Add(RenderPage(tpl, data, m_org, m_date));
}

QString CRepCompareChangesDoc::RenderPage(const CHTMLTemplate& tpl, const CCompareLoadsData& data,
                                          const QString& org, const QDate& date) {
    const QString clr1 = tpl.GetSection(QStringLiteral("CLR1"));
    const QString clr2 = tpl.GetSection(QStringLiteral("CLR2"));

    QString added;
    const QString addedRow = tpl.GetSection(QStringLiteral("ROW_ADD_REMOVE"));
    for (const CCompareAddedRemoved& row : data.addedRemoved) {
        QList<CxString::Pair> pairs = ReportCells(row.report, QString());
        pairs << CxString::Pair{QStringLiteral("{COLOR}"), row.inFirst ? clr1 : clr2}
              << CxString::Pair{QStringLiteral("{ID}"), QString::number(row.report.reportId)};
        added += StrTr(addedRow, pairs);
    }

    QString changed;
    const QString changedRow = tpl.GetSection(QStringLiteral("ROW_CHANGED"));
    const QString subRow = tpl.GetSection(QStringLiteral("ROW_CHANGED_SUBROW"));
    const QString noSubRow = tpl.GetSection(QStringLiteral("ROW_CHANGED_SUBROW_NONE"));
    for (const CCompareChanged& row : data.changed) {
        QString visits;
        for (const CCompareVisit& v : row.visits)
            visits += StrTr(subRow, {{QStringLiteral("{COLOR}"), v.inFirst ? clr1 : clr2},
                                     {QStringLiteral("{COUNT}"), QString::number(v.count)},
                                     {QStringLiteral("{ITEM_ID}"), QString::number(v.itemId)},
                                     {QStringLiteral("{ITEM}"), SafeHTML(v.item)},
                                     {QStringLiteral("{CLIENT_ID}"), QString::number(v.clientId)},
                                     {QStringLiteral("{CLIENT}"), SafeHTML(v.clientCode)}});
        if (row.visits.isEmpty())
            visits = noSubRow;
        QList<CxString::Pair> pairs = ReportCells(row.second, QStringLiteral("2"));
        pairs << ReportCells(row.first, QString());
        pairs << CxString::Pair{QStringLiteral("{ID}"), QString::number(row.first.reportId)}
              << CxString::Pair{QStringLiteral("{ROWS}"), visits};
        changed += StrTr(changedRow, pairs);
    }

    const QString title = SafeHTML(org) + QStringLiteral(" :: ") + SafeHTML(DateText(date));
    return StrTr(tpl.GetSection(QStringLiteral("BODY")),
                 {{QStringLiteral("{ROW_ADD_REMOVE}"), added},
                  {QStringLiteral("{ROW_CHANGED}"), changed},
                  {QStringLiteral("{LOAD1}"), QString::number(data.first)},
                  {QStringLiteral("{LOAD2}"), QString::number(data.second)},
                  {QStringLiteral("{TITLE}"), title}});
}
