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
#include "reports/base/core/rep_footnotes.h"

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

COhvatFigures::COhvatFigures() = default;
COhvatFigures::~COhvatFigures() = default;

CRep_OhvatZaPeriod::CRep_OhvatZaPeriod(QObject* parent) : CRepBase(parent) {}
CRep_OhvatZaPeriod::~CRep_OhvatZaPeriod() = default;

QString CRep_OhvatZaPeriod::GetReportTitle() {
    return Tr("Охват за период", "msgOhvatZaPeriod");
}

QList<CRepPresetChoice> CRep_OhvatZaPeriod::GetPresetChoices() {
    const CRFList catalogue;
    return PresetChoicesOf(catalogue);
}

void CRep_OhvatZaPeriod::OnGenerateReport(CAccStringT<wchar_t>& html) {
    m_figures.reset();
    std::unique_ptr<COhvatFigures> figures = Gather();
    m_figures = std::move(figures);
    html.Add(Page(*m_figures));
}

std::unique_ptr<COhvatFigures> CRep_OhvatZaPeriod::Gather() {
    CRepBaseData* run = GetRunData();
    KDRepPresetEx2& preset = run->GetPreset();
    const CRepBaseParams& params = Params();
    auto figures = std::make_unique<COhvatFigures>();
    COhvatFigures& f = *figures;
    const auto corrupted = [] {
        CTarvikApp::AddErrorMessage(
            Tr("Отчет испорчен или некоторые поля были удалены из программы", "msgReportCorrupted"),
            0);
    };
    // The footnotes the title points to, each once.
    const auto mark = [&](const QString& text) {
        const QString number = run->AddFootnote(text);
        if (!f.marks.contains(number))
            f.marks << number;
        return number;
    };

    // The fields the preset names, found in the catalogue.
    f.catalogue = std::make_unique<CRFList>();
    const CRFList& catalogue = *f.catalogue;
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

    for (long id : preset.Detailed.GetIDs()) {
        if (CRepField* field = byId.value(id))
            f.detail << field;
        else
            corrupted();
    }

    // Which clients count.
    const QDate viewFrom = run->From();
    const QDate viewTo = run->To();
    int clientKind = params.clientKind;
    if (clientKind == kNewClients) {
        f.heading = Tr("Только новые клиенты", "msgOnlyNewRecords");
    } else if (clientKind == kRegularClients) {
        f.heading = Tr("Только регулярные клиенты", "msgOnlyRegualClients");
        const QDate windowStart = viewTo.addYears(-1).addDays(1);
        if (windowStart != viewFrom)
            f.headingMark = run->AddFootnote(CxString::StrTr(
                Tr("Регулярные клиенты расчитаны для периода с {startdate} по {enddate}",
                   "msgRegClientCalculatedForPeriod"),
                {{QStringLiteral("{startdate}"), ShownDate(windowStart)},
                 {QStringLiteral("{enddate}"), ShownDate(viewTo)}}));
    } else {
        f.heading = Tr("Все клиенты за период", "msgAllClients");
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
        if (!footnote.isEmpty() && !f.marks.contains(footnote))
            f.marks << footnote;
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
    f.tables = std::make_unique<COhvatTables>(groups, pivots, values,
                                              Tr("Всего", "CRep_OhvatZaPeriod::OnGenerateReport"));

    // A split period takes whole months.
    const int periodMode = int(preset.PeriodMode);
    f.start = viewFrom;
    f.end = viewTo;
    if (periodMode != kOnePeriod) {
        const QDate first(f.start.year(), f.start.month(), 1);
        if (first != f.start) {
            f.start = first;
            mark(WithDate("Дата начала периода принята {date}", "msgFirstDateSetTo", "{date}",
                          f.start));
        }
        const QDate last = MonthEnd(f.end);
        if (last != f.end) {
            f.end = last;
            mark(WithDate("Дата конца периода принята {date}", "msgEndDateSetTo", "{date}", f.end));
        }
    }
    const QString chosen = CPoshFilter::GetPoshList(run->GetSQL());
    if (!chosen.isEmpty())
        mark(chosen);
    if (preset.SumGroup.GetCount() > 0)
        mark(Tr("Включена альтернативная группировка записей", "msgDiffGroup"));

    QList<QPair<QDate, QDate>> spans;
    for (QDate from = f.start; from.isValid() && from <= f.end;) {
        QDate to = periodMode == kByMonths  ? MonthEnd(from)
                   : periodMode == kByYears ? from.addYears(1).addDays(-1)
                                            : f.end;
        // The last sub-period ends with the period.
        if (to > f.end)
            to = f.end;
        spans.append({from, to});
        from = to.addDays(1);
    }
    // Their summaries are made together, in one pass over the visit lines.
    run->PlanSummaries(spans);

    // One query per sub-period, read page by page.
    for (const auto& [from, to] : std::as_const(spans)) {
        f.periods.append({from, to});
        f.tables->BeginPeriod(int(f.periods.size()) - 1);
        run->From() = from;
        run->To() = to;
        if (periodMode != kOnePeriod && !f.detail.isEmpty()) {
            f.detail.clear();
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
        const QString rows = run->SummaryRows();
        if (!rows.isEmpty())
            select.Where(rows);
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
        if (!f.detail.isEmpty())
            select.Order(run->JoinClientTable(&select) + QStringLiteral(".cGClientCode"));
        for (const QString& term : select.GetGroup())
            select.Order(term);
        GatherPeriod(f, select, summary, byId);
    }
    return figures;
}

void CRep_OhvatZaPeriod::GatherPeriod(COhvatFigures& f, CSimpleSelect& select,
                                      const QString& summary, const QHash<long, CRepField*>& byId) {
    CRepBaseData* run = GetRunData();
    const QString statement = select.Build(summary);
    for (qint64 offset = 0;; offset += m_pageRows) {
        CxResult page = ReportSQL::Query(
            run, statement + QStringLiteral(" LIMIT %1,%2").arg(offset).arg(m_pageRows));
        for (CRepField* field : byId)
            if (field)
                field->Bind(&page);
        qint64 rows = 0;
        while (page.FetchRow()) {
            ++rows;
            if (!f.detail.isEmpty()) {
                QStringList cells;
                cells.reserve(f.detail.size());
                for (CRepField* field : std::as_const(f.detail))
                    cells << field->GetDetValue();
                f.detailRows << cells;
            }
            f.tables->AddRecord();
        }
        for (CRepField* field : byId)
            if (field)
                field->Bind(nullptr);
        if (rows < m_pageRows)
            break;
    }
}

QString CRep_OhvatZaPeriod::Page(COhvatFigures& f) {
    CRepBaseData* run = GetRunData();
    const CHTMLTemplate& tpl = run->GetReportTemplate();
    const QString summaryHtml =
        CxString::StrTr(tpl.GetSection(QStringLiteral("SM.REPORT")),
                        {{QStringLiteral("%BODY%"), f.tables->GetHTML(tpl, run, f.periods)}});
    QString detailHtml;
    if (!f.detailRows.isEmpty()) {
        const QString cell = tpl.GetSection(QStringLiteral("DT.CELL"));
        const QString row = tpl.GetSection(QStringLiteral("DT.ROW"));
        QString head;
        for (CRepField* field : std::as_const(f.detail))
            head += CxString::StrTr(tpl.GetSection(QStringLiteral("DT.HCELL")),
                                    {{QStringLiteral("%CLASS%"), field->GetCSSClass()},
                                     {QStringLiteral("%BODY%"), SafeHTML(field->GetTitle())}});
        QString rows = CxString::StrTr(tpl.GetSection(QStringLiteral("DT.HROW")),
                                       {{QStringLiteral("%BODY%"), head}});
        for (const QStringList& texts : std::as_const(f.detailRows)) {
            QString cells;
            for (qsizetype i = 0; i < texts.size(); ++i)
                cells += CxString::StrTr(
                    cell, {{QStringLiteral("%CLASS%"), f.detail.at(i)->GetCSSClass()},
                           {QStringLiteral("%BODY%"), SafeHTML(texts.at(i))}});
            rows += CxString::StrTr(row, {{QStringLiteral("%BODY%"), cells}});
        }
        detailHtml = CxString::StrTr(tpl.GetSection(QStringLiteral("DT.REPORT")),
                                     {{QStringLiteral("%BODY%"), rows}});
    }
    QString heading = f.heading;
    if (!f.headingMark.isEmpty())
        heading += QStringLiteral("<sup>") + f.headingMark + QStringLiteral("</sup>");
    if (!f.marks.isEmpty())
        heading += QStringLiteral("<sup>") + f.marks.join(u',') + QStringLiteral("</sup>");
    return CxString::StrTr(
        tpl.GetSection(QStringLiteral("REPORT")),
        {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
         {QStringLiteral("%HEADING%"),
          QStringLiteral("<h3 align=\"center\">") + heading + QStringLiteral("</h3>")},
         {QStringLiteral("%FROM%"), SafeHTML(ShownDate(f.start))},
         {QStringLiteral("%TO%"),
          SafeHTML(ShownDate(f.periods.isEmpty() ? f.end : f.periods.last().second))},
         {QStringLiteral("%DETAIL%"), detailHtml},
         {QStringLiteral("%SUMMARY%"), summaryHtml},
         {QStringLiteral("%COMMENT%"), FootnotesHTML(tpl, run->GetFootnotes())}});
}
