#include "rep_ohvat.h"

#include "client_fields.h"
#include "field_list.h"
#include "field_support.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/config/configuration.h"
#include "ohvat_tables.h"
#include "report_sql.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"

#include <QHash>
#include <QRegularExpression>

using RepFieldSupport::InPeriod;
using RepFieldSupport::SqlDate;
using RepFieldSupport::Tr;
using ReportSQL::ShownDate;

namespace {
enum ClientKind { kAllClients = 1, kNewClients = 2, kRegularClients = 3 };
enum PeriodMode { kOnePeriod = 0, kByMonths = 1, kByYears = 2 };
constexpr int kCountryWide = 2; // the new-client algorithm "Новые клиенты в рамках страны"

QDate MonthEnd(const QDate& date) {
    return QDate(date.year(), date.month(), GetLastMonthDay(date.year(), date.month()));
}

QString WithDate(const char* text, const char* key, const char* placeholder, const QDate& date) {
    return Tr(text, key).replace(QLatin1String(placeholder), ShownDate(date));
}
} // namespace

QString CRep_OhvatZaPeriod::GetReportTitle() {
    return Tr("Охват за период", "msgOhvatZaPeriod");
}

QList<CRepPresetChoice> CRep_OhvatZaPeriod::GetPresetChoices() {
    const CRFList catalogue;
    return PresetChoicesOf(catalogue);
}

void CRep_OhvatZaPeriod::OnGenerateReport(CAccStringT<wchar_t>& html) {
    CRepBaseData* run = GetRunData();
    KDRepPresetEx2& preset = run->GetPreset();
    const CRepBaseParams& params = Params();
    const auto corrupted = [] {
        CTarvikApp::AddErrorMessage(
            Tr("Отчет испорчен или некоторые поля были удалены из программы", "msgReportCorrupted"),
            0);
    };
    // The footnotes the title points to, each once.
    QStringList marks;
    const auto mark = [&](const QString& text) {
        const QString number = run->AddFootnote(text);
        if (!marks.contains(number))
            marks << number;
        return number;
    };

    // The fields the preset names, found in the catalogue.
    CRFList catalogue;
    QHash<long, CRepField*> byId;
    for (long id : preset.SumRows.GetIDs())
        if (id != -1)
            byId.insert(id, nullptr);
    for (long id : preset.Detailed.GetIDs())
        byId.insert(id, nullptr);
    for (long id : preset.SumGroup.GetIDs())
        byId.insert(id, nullptr);
    for (long id : preset.SumCols2.GetIDs())
        byId.insert(id, nullptr);
    for (CRepField* field : catalogue)
        if (byId.contains(field->GetID()))
            byId[field->GetID()] = field;

    QList<CRepField*> detail;
    for (long id : preset.Detailed.GetIDs()) {
        if (CRepField* field = byId.value(id))
            detail << field;
        else
            corrupted();
    }

    // Which clients count.
    const QDate viewFrom = run->From();
    const QDate viewTo = run->To();
    QString heading;
    int clientKind = params.clientKind;
    if (clientKind == kNewClients) {
        heading = Tr("Только новые клиенты", "msgOnlyNewRecords");
    } else if (clientKind == kRegularClients) {
        heading = Tr("Только регулярные клиенты", "msgOnlyRegualClients");
        const QDate windowStart = viewTo.addYears(-1).addDays(1);
        if (windowStart != viewFrom)
            heading += QStringLiteral("<sup>") +
                       run->AddFootnote(CxString::StrTr(
                           Tr("Регулярные клиенты расчитаны для периода с {startdate} по "
                              "{enddate}",
                              "msgRegClientCalculatedForPeriod"),
                           {{QStringLiteral("{startdate}"), ShownDate(windowStart)},
                            {QStringLiteral("{enddate}"), ShownDate(viewTo)}})) +
                       QStringLiteral("</sup>");
    } else {
        heading = Tr("Все клиенты за период", "msgAllClients");
        clientKind = kAllClients;
    }

    // The summary tables: one per group of SUMROWS (-1 separates them); in
    // pivot mode one table, its first field the rows and the others pivots.
    const bool pivotMode = preset.PivotMode != 0;
    QList<QList<CRepField*>> groups{{}};
    QList<CRepField*> pivots;
    const QList<long> rowIds = preset.SumRows.GetIDs();
    for (qsizetype i = 0; i < rowIds.size(); ++i) {
        const long id = rowIds.at(i);
        if (id == -1) {
            if (i == rowIds.size() - 1 || pivotMode)
                break;
            if (!groups.last().isEmpty())
                groups.append(QList<CRepField*>());
            continue;
        }
        CRepField* field = byId.value(id);
        if (!field) {
            corrupted();
            continue;
        }
        if (!pivotMode || (groups.last().isEmpty() && pivots.isEmpty()))
            groups.last() << field;
        else
            pivots << field;
        // A row field that may count a client twice has no header of its
        // own: the title points to its footnote.
        const QString warning = field->GetWarning(run);
        static const QRegularExpression number(QStringLiteral("\\d+"));
        const QString footnote = number.match(warning).captured(0);
        if (!footnote.isEmpty() && !marks.contains(footnote))
            marks << footnote;
    }
    if (groups.size() > 1 && groups.last().isEmpty())
        groups.removeLast();
    QList<CRepField*> values;
    for (long id : preset.SumCols2.GetIDs()) {
        CRepField* field = byId.value(id);
        if (!field) {
            corrupted();
            continue;
        }
        values << field;
        field->GetWarning(run);
    }
    COhvatTables tables(groups, pivots, values,
                        Tr("Всего", "CRep_OhvatZaPeriod::OnGenerateReport"));

    // A split period takes whole months.
    const int periodMode = int(preset.PeriodMode);
    QDate start = viewFrom;
    QDate end = viewTo;
    if (periodMode != kOnePeriod) {
        const QDate first(start.year(), start.month(), 1);
        if (first != start) {
            start = first;
            mark(WithDate("Дата начала периода принята {date}", "msgFirstDateSetTo", "{date}",
                          start));
        }
        const QDate last = MonthEnd(end);
        if (last != end) {
            end = last;
            mark(WithDate("Дата конца периода принята {date}", "msgEndDateSetTo", "{date}", end));
        }
    }
    const QString chosen = CPoshFilter::GetPoshList(run->GetSQL());
    if (!chosen.isEmpty())
        mark(chosen);
    if (preset.SumGroup.GetCount() > 0)
        mark(Tr("Включена альтернативная группировка записей", "msgDiffGroup"));

    // One query per sub-period, read page by page.
    QList<QPair<QDate, QDate>> periods;
    QString detailRows;
    const CHTMLTemplate& tpl = run->GetReportTemplate();
    const QString detailCell = tpl.GetSection(QStringLiteral("DT.CELL"));
    const QString detailRow = tpl.GetSection(QStringLiteral("DT.ROW"));
    for (QDate from = start; from.isValid() && from <= end;) {
        QDate to = periodMode == kByMonths  ? MonthEnd(from)
                   : periodMode == kByYears ? from.addYears(1).addDays(-1)
                                            : end;
        // The last sub-period ends with the period.
        if (to > end)
            to = end;
        periods.append({from, to});
        tables.BeginPeriod(int(periods.size()) - 1);
        run->From() = from;
        run->To() = to;
        if (periodMode != kOnePeriod && !detail.isEmpty()) {
            detail.clear();
            preset.Detailed.RemoveAll();
            CTarvikApp::AddErrorMessage(Tr("Детальный отчет недоступен при опции - разбивать на "
                                           "периоды",
                                           "msgDetReportDisabled"),
                                        0);
        }
        // The work tables the fields take depend on the counting of new
        // clients: set it before they are asked.
        if (params.newClientMode == kCountryWide) {
            mark(Tr("Новые клиенты в рамках страны", "msgNCMContryCmt"));
            run->SetNewClientMode(kCountryWide);
        } else {
            run->SetNewClientMode(0);
        }

        CSimpleSelect select;
        for (CRepField* field : catalogue)
            if (byId.value(field->GetID()) == field)
                field->AddSelect(select, run);
        const QString summary = run->PrepareSummaryTable();
        if (params.project != -1) {
            QString name;
            xConfiguration* config = CurrentConfiguration();
            if (config)
                config->GetCurrentLanguage()->PrjList.GetValueText(quint32(params.project), name);
            const QString bold = QStringLiteral("<b>") + SafeHTML(name) + QStringLiteral("</b>");
            mark(params.projectExact
                     ? Tr("Обработаны только ведомости по проекту {project}. Точное соответствие",
                          "msgOnlyProjectEQ")
                           .replace(QLatin1String("{project}"), bold)
                     : Tr("Обработаны только ведомости по проекту {project}. Частичное "
                          "соответствие",
                          "msgOnlyProjectOR")
                           .replace(QLatin1String("{project}"), bold));
            select.Where(summary +
                         (params.projectExact ? QStringLiteral(".nProject=")
                                              : QStringLiteral(".nProject&")) +
                         QString::number(params.project));
        }
        // The records: one per client unless the preset groups them by fields
        // that group (a field that adds no grouping term leaves them per client).
        bool grouped = false;
        for (long id : preset.SumGroup.GetIDs()) {
            if (CRepField* field = byId.value(id)) {
                const qsizetype before = select.GetGroup().size();
                field->AddGroup(select, run);
                grouped = grouped || (field->GetFlags() & CRepField::kFlagGrouping) ||
                          select.GetGroup().size() > before;
            }
        }
        if (!grouped)
            select.Group(summary + QStringLiteral(".nClientID"));
        const QString points = run->PrepareSelectedPOU();
        select.Join(QString(), points,
                    points + QStringLiteral(".ROWID=") + summary + QStringLiteral(".nWorkplace"));
        if (params.workerId > 0) {
            select.Where(summary + QStringLiteral(".nWorker1=") + QString::number(params.workerId));
            QString worker = params.workerText;
            ClipClientCode(worker);
            mark(Tr("Показаны только визиты к социальному работнику {worker}",
                    "msgVisitsOnlyToSocWorker")
                     .replace(QLatin1String("{worker}"),
                              QStringLiteral("<b>") + SafeHTML(worker) + QStringLiteral("</b>")));
        }
        if (clientKind == kNewClients) {
            const QString state = run->PrepareSnapshotTables(&select, to);
            select.Where(InPeriod(state + QStringLiteral(".dFirstDate"), run));
        } else if (clientKind == kRegularClients) {
            const QDate windowStart = to.addYears(-1).addDays(1);
            if (windowStart != from)
                mark(CxString::StrTr(Tr("Регулярные клиенты расчитаны для периода с {startdate} "
                                        "по {enddate}",
                                        "msgRegClientCalculatedForPeriod"),
                                     {{QStringLiteral("{startdate}"), ShownDate(windowStart)},
                                      {QStringLiteral("{enddate}"), ShownDate(to)}}));
            select.Where(QStringLiteral("NOT ISNULL(") + run->PrepareRegularClients(&select) +
                         QStringLiteral(".nClientID)"));
        }
        // Pages follow one order that no two records share: the grouping's
        // (the detail list by client code first), so paging neither skips
        // nor repeats a record.
        if (!detail.isEmpty())
            select.Order(run->PrepareSnapshotTables(&select, to) + QStringLiteral(".cGClientCode"));
        for (const QString& term : select.GetGroup())
            select.Order(term);
        const QString statement = select.Build(summary);

        for (qint64 offset = 0;; offset += m_pageRows) {
            CxResult page = ReportSQL::Query(
                run, statement + QStringLiteral(" LIMIT %1,%2").arg(offset).arg(m_pageRows));
            for (CRepField* field : std::as_const(byId))
                if (field)
                    field->Bind(&page);
            qint64 rows = 0;
            while (page.FetchRow()) {
                ++rows;
                if (!detail.isEmpty()) {
                    QString cells;
                    for (CRepField* field : std::as_const(detail))
                        cells += CxString::StrTr(
                            detailCell,
                            {{QStringLiteral("%CLASS%"), field->GetCSSClass()},
                             {QStringLiteral("%BODY%"), SafeHTML(field->GetDetValue())}});
                    detailRows += CxString::StrTr(detailRow, {{QStringLiteral("%BODY%"), cells}});
                }
                tables.AddRecord();
            }
            for (CRepField* field : std::as_const(byId))
                if (field)
                    field->Bind(nullptr);
            if (rows < m_pageRows)
                break;
        }
        from = to.addDays(1);
    }

    // The page.
    const QString summaryHtml =
        CxString::StrTr(tpl.GetSection(QStringLiteral("SM.REPORT")),
                        {{QStringLiteral("%BODY%"), tables.GetHTML(tpl, run, periods)}});
    QString detailHtml;
    if (!detailRows.isEmpty()) {
        QString head;
        for (CRepField* field : std::as_const(detail))
            head += CxString::StrTr(tpl.GetSection(QStringLiteral("DT.HCELL")),
                                    {{QStringLiteral("%CLASS%"), field->GetCSSClass()},
                                     {QStringLiteral("%BODY%"), SafeHTML(field->GetTitle())}});
        detailHtml = CxString::StrTr(
            tpl.GetSection(QStringLiteral("DT.REPORT")),
            {{QStringLiteral("%BODY%"), CxString::StrTr(tpl.GetSection(QStringLiteral("DT.HROW")),
                                                        {{QStringLiteral("%BODY%"), head}}) +
                                            detailRows}});
    }
    QString comment;
    const QStringList& footnotes = run->GetFootnotes();
    if (!footnotes.isEmpty()) {
        QString rows;
        for (qsizetype i = 0; i < footnotes.size(); ++i)
            rows += CxString::StrTr(tpl.GetSection(QStringLiteral("COMMENT.DET")),
                                    {{QStringLiteral("%ID%"), QString::number(i + 1)},
                                     {QStringLiteral("%BODY%"), footnotes.at(i)}});
        comment = CxString::StrTr(tpl.GetSection(QStringLiteral("COMMENT")),
                                  {{QStringLiteral("%BODY%"), rows}});
    }
    if (!marks.isEmpty())
        heading += QStringLiteral("<sup>") + marks.join(u',') + QStringLiteral("</sup>");
    html.Add(
        CxString::StrTr(tpl.GetSection(QStringLiteral("REPORT")),
                        {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
                         {QStringLiteral("%HEADING%"), QStringLiteral("<h3 align=\"center\">") +
                                                           heading + QStringLiteral("</h3>")},
                         {QStringLiteral("%FROM%"), SafeHTML(ShownDate(start))},
                         {QStringLiteral("%TO%"),
                          SafeHTML(ShownDate(periods.isEmpty() ? end : periods.last().second))},
                         {QStringLiteral("%DETAIL%"), detailHtml},
                         {QStringLiteral("%SUMMARY%"), summaryHtml},
                         {QStringLiteral("%COMMENT%"), comment}}));
}
