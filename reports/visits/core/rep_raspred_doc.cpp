#include "rep_raspred_doc.h"

#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/enums/client_enums.h"
#include "visits_templates.h"

#include <map>

namespace {
constexpr CxTr Tr;
// Every vulnerable-group bit (the union of the group codes).
constexpr quint32 kAllGroups = 0x3BF7FF;
constexpr int kBarRows = 25;
} // namespace

CRepRaspredDoc::CRepRaspredDoc(QObject* parent) : CRepVisitsDoc(parent) {
    InitVisitsTemplates();
    m_template.Load(kRaspredTemplateID);
}

QString CRepRaspredDoc::GetReportTitle() {
    return Tr("Распределение визитов", "CRepRaspredDoc::GetReportTitle");
}

CVisitsViewSetup CRepRaspredDoc::GetViewSetup() const {
    CVisitsViewSetup setup;
    setup.periodEnd = false;
    setup.worker = false;
    setup.presets = false;
    setup.periodStartTip = Tr("Информация", "msgInfoStartOfPeriodMonth") + u'\n' +
                           Tr("Это поле задает начало периода, конец периода - следующий месяц",
                              "msgInfoStartOfPeriodMonth");
    return setup;
}

int CRepRaspredDoc::Bucket(long visits, int divisor) {
    const long bucket = visits / (divisor > 0 ? divisor : 1);
    return int(qBound(0L, bucket, 7L));
}

QString CRepRaspredDoc::ChartHTML(const CHTMLTemplate& tpl, const QString& title,
                                  const Counts& counts) {
    unsigned max = 0;
    unsigned total = 0;
    for (unsigned c : counts) {
        max = std::max(max, c);
        total += c;
    }
    const QString tr = tpl.GetSection(QStringLiteral("TR"));
    const QString checked = tpl.GetSection(QStringLiteral("TD.CHECKED"));
    const QString unchecked = tpl.GetSection(QStringLiteral("TD.UNCHECKED"));
    const QString bottom = tpl.GetSection(QStringLiteral("TD.BOTTOM"));
    QString rows;
    for (int r = 0; r < kBarRows; ++r) {
        QString cells;
        for (unsigned c : counts) {
            const unsigned q = max ? (max - c) * kBarRows / max : kBarRows;
            cells += q > unsigned(r) ? unchecked : checked;
        }
        rows += CxString::StrTr(tr, {{QStringLiteral("%BODY%"), cells}});
    }
    QString numbers;
    QString shares;
    QString labels;
    for (int i = 0; i < kBuckets; ++i) {
        numbers +=
            CxString::StrTr(bottom, {{QStringLiteral("%BODY%"), QString::number(counts[i])}});
        const double share = total ? counts[i] * 100.0 / total : 0.0;
        shares += CxString::StrTr(
            bottom, {{QStringLiteral("%BODY%"),
                      DoubleToString(share, QStringLiteral("%.2f"), 0, QString()) + u'%'}});
        const QString label = i == 0              ? QStringLiteral("&lt;1")
                              : i == kBuckets - 1 ? QStringLiteral("&gt;=7")
                                                  : QString::number(i);
        labels += CxString::StrTr(bottom, {{QStringLiteral("%BODY%"), label}});
    }
    for (const QString& line : {numbers, shares, labels})
        rows += CxString::StrTr(tr, {{QStringLiteral("%BODY%"), line}});
    return CxString::StrTr(
        tpl.GetSection(QStringLiteral("TABLE")),
        {{QStringLiteral("%TABLENAME%"), SafeHTML(title)},
         {QStringLiteral("%CLIENTS%"),
          SafeHTML(Tr("Итого:", "CRepRaspredDoc::OnGroupTable")) + QString::number(total)},
         {QStringLiteral("%BODY%"), rows}});
}

QString CRepRaspredDoc::ProcessPosh(long id, const QString& name, const QString& table,
                                    int divisor) {
    CRepVisitsRunData* run = Run();
    Progress(Tr("Обрабатывается пункт предоставления услуг %s", "CRepRaspredDoc::ProcessPosh")
                 .replace(QLatin1String("%s"), name));
    const QString sql = QStringLiteral("SELECT SUM(nCount) AS nCount,MAX(nClientType) AS "
                                       "nClientType,nClientID FROM ") +
                        table +
                        (id != -1 ? QStringLiteral(" WHERE nWorkPlace=%1").arg(id) : QString()) +
                        QStringLiteral(" GROUP BY nClientID");
    CxResult rows = run->GetSQL()->Execute(sql);
    if (!rows.isValid())
        ThrowSQL(rows.Error().text, sql);
    std::map<quint32, Counts> charts; // group bit -> histogram, in ascending order
    while (rows.FetchRow()) {
        if (rows.IsNull(1))
            continue; // no client type: in no chart
        const quint32 type = quint32(rows.LFieldValue(1));
        const int bucket = Bucket(rows.LFieldValue(0), divisor);
        for (quint32 b = 1; b <= kAllGroups; b <<= 1) {
            if (type & b) {
                auto [it, made] = charts.try_emplace(b);
                if (made)
                    it->second.fill(0);
                ++it->second[size_t(bucket)];
            }
        }
    }
    QString body;
    for (const auto& [bit, counts] : charts) {
        int found = 0;
        QString title = g_pClientGroup->IDToString(long(bit), QString(), &found);
        if (!found)
            title = Tr("Ошибка", "CRepRaspredDoc::ProcessPosh");
        body += ChartHTML(m_template, title, counts);
    }
    return CxString::StrTr(
        m_template.GetSection(QStringLiteral("POSH")),
        {{QStringLiteral("%POSH%"), SafeHTML(name)}, {QStringLiteral("%BODY%"), body}});
}

void CRepRaspredDoc::OnGenerateReport(CAccStringT<wchar_t>& html) {
    CRepVisitsRunData* run = Run();
    // One calendar month: the month of the start date.
    QDate start = Params().from.isValid() ? Params().from : QDate::currentDate();
    start = QDate(start.year(), start.month(), 1);
    const QDate end(start.year(), start.month(), GetLastMonthDay(start.year(), start.month()));
    Params().from = run->From() = start;
    Params().to = run->To() = end;

    QString poshError;
    const QString posh = run->Posh().Create(&poshError);
    if (posh.isEmpty())
        throw CRepError{QStringLiteral("<p>") + SafeHTML(poshError) + QStringLiteral("</p>")};
    // One row per daily report and client; the client type is the client's
    // current record. Named uniquely and dropped with the run.
    const QString table = run->CreateTempTable(
        QStringLiteral("CREATE TEMPORARY TABLE $$$ AS SELECT MAX(dailyreport.nWorkPlace) AS "
                       "nWorkPlace,dailyvisits.nClientID,1 AS nCount,MAX(clientdatachanges."
                       "nClientType) AS nClientType FROM dailyvisits JOIN clientdata ON "
                       "clientdata.ROWID=dailyvisits.nClientID JOIN dailyreport ON "
                       "dailyreport.ROWID=dailyvisits.nReportID LEFT JOIN clientdatachanges ON "
                       "clientdatachanges.nLastLinkID=dailyvisits.nClientID JOIN ") +
        posh +
        QStringLiteral(" AS Filter ON Filter.ROWID=dailyreport.nWorkPlace WHERE dailyreport.dDate "
                       "BETWEEN '%1' AND '%2' GROUP BY dailyreport.ROWID,dailyvisits.nClientID")
            .arg(start.toString(QStringLiteral("yyyy-MM-dd")),
                 end.toString(QStringLiteral("yyyy-MM-dd"))));

    const QString worker = run->workerId > 0
                               ? run->workerText
                               : Tr("Все социальные работники", "CRepRaspredDoc::OnInitHTML");
    const int divisor = std::max(1, int(start.daysTo(end)) / 30);

    const QString pointsSql =
        QStringLiteral("SELECT dir.cString,dir.nType,dir.ROWID  FROM ") + table +
        QStringLiteral(" AS t1 LEFT JOIN dir ON dir.ROWID=t1.nWorkPlace GROUP "
                       "BY dir.ROWID ORDER BY dir.cString");
    CxResult points = run->GetSQL()->Execute(pointsSql);
    if (!points.isValid())
        ThrowSQL(points.Error().text, pointsSql);
    QString body;
    while (points.FetchRow())
        body += ProcessPosh(points.LFieldValue(2), points.SFieldValue(0), table, divisor);
    body += ProcessPosh(-1, Tr("Все пункты предоставления услуг", "CRepRaspredDoc::OnInitHTML"),
                        table, divisor);

    html.Add(CxString::StrTr(
        m_template.GetSection(QStringLiteral("BODY")),
        {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
         {QStringLiteral("%POSH_LIST%"), run->Posh().GetPoshList()},
         {QStringLiteral("%WORKER%"), SafeHTML(worker)},
         {QStringLiteral("%DATE_FROM%"), SafeHTML(DateToText(start))},
         {QStringLiteral("%DATE_TO%"), SafeHTML(DateToText(end))},
         {QStringLiteral("%BODY%"), body},
         {QStringLiteral("%NOTICE%"),
          SafeHTML(Tr("Внимание! Клиент, в данных которого отмечено несколько уязвимых групп "
                      "будет учтен в нескольких таблицах. Итоги таблиц складывать НЕЛЬЗЯ!",
                      "CRepRaspredDoc::OnInitHTML"))}}));
}
