#include "rep_visits_base_doc.h"

#include "framework/core/progress.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/config/configuration.h"
#include "reports/base/core/fast_tables.h"
#include "reports/base/core/rep_footnotes.h"
#include "visits_columns.h"
#include "visits_templates.h"

#include <QSet>

namespace {
constexpr CxTr Tr;

const QString kFast = QStringLiteral("_cache_fast");
const QString kClients = QStringLiteral("_cache_clients");
// The unique count of a group of result rows: one per person, sex and year
// of birth; an unknown sex or year is a value of its own, not a reason to
// leave the client out.
const QString kUniqueTriple =
    QStringLiteral("COUNT(DISTINCT gROWID,IFNULL(nSex,-1),IFNULL(nBirthYear,-1)");
// A list of unique counts past this size is more than one statement should
// carry: the counts are then left out.
constexpr int kUniqueListLimit = 0x80000;
} // namespace

CRepVisitsBaseDoc::CRepVisitsBaseDoc(QObject* parent) : CRepBase(parent) {
    InitVisitsTemplates();
}
CRepVisitsBaseDoc::~CRepVisitsBaseDoc() = default;

void CRepVisitsBaseDoc::CreateColumns() {
    m_columns.clear();
    auto add = [this](Cxrp* column) { m_columns.emplace_back(column); };
    add(new CxrpRiscGroup);
    add(new CxrpSex);
    add(new CxrpAge2);
    add(new CxrpAgeGroup);
    add(new CxrpAgeGroup2);
    add(new CxrpClientOLDID);
    add(new CxrpClients);
    add(new CxrpRegion);
    add(new CxrpVisits);
    add(new CxrpSecondary);
    add(new CxrpReseler);
    add(new CxrpPDI);
    add(new CxrpFirstPOU);
    add(new CxrpFirstPOUType);
    add(new CxrpFirstVisitDate);
    add(new CxrpComment);
    add(new CxrpDrugType);
    add(new CxrpDrugFreq);
    add(new CxrpEploymentStatus);
    add(new CxrpEducationLevel);
    add(new CxrpPlaceOfLiving);
    add(new CxrpPOSH);
    add(new CxrpTOWN);
    add(new CxrpOBL);
}

Cxrp* CRepVisitsBaseDoc::FindColumn(long id) const {
    for (const auto& column : m_columns)
        if (column->GetID() == id)
            return column.get();
    return nullptr;
}

int CRepVisitsBaseDoc::ProcessRepViewCommand(unsigned id, int queryOnly) {
    if (id != kCmdVisitsPresetChoose)
        return CRepDoc::ProcessRepViewCommand(id, queryOnly);
    if (queryOnly)
        return m_presetChooser ? 1 : 0;
    if (!m_presetChooser)
        return 0;
    if (m_columns.empty())
        CreateColumns();
    m_visitsPresets.Fill(m_presetChooser(*this));
    return 1;
}

CRepBaseData* CRepVisitsBaseDoc::CreateReportData() {
    auto* run = new CRepVisitsRunData(GetSQL(), Params().from, Params().to, GetProgress());
    run->workerId = Params().workerId;
    run->workerText = Params().workerText;
    return run;
}

int CRepVisitsBaseDoc::CheckSelection() {
    if (UsesPreset() && !RepCheckTrue(m_visitsPresets.GetSelectedPreset(Run()->Preset()),
                                      Tr("Необходимо выбрать один из вариантов формирования отчета",
                                         "CRepVisitsBaseDoc::OnInitHTML"),
                                      Tr("Не заданы настройки", "CRepVisitsBaseDoc::OnInitHTML")))
        return 0;
    return RepCheckTrue(!CPoshSelection::Get()->IsEmpty(),
                        Tr("Необходимо выбрать ПОУ", "CRepVisitsBaseDoc::OnInitHTML"),
                        Tr("Нечего обрабатывать", "CRepVisitsBaseDoc::OnInitHTML"));
}

void CRepVisitsBaseDoc::Progress(const QString& text) {
    SetProgessMessage(text, 1);
    if (GetProgress() && GetProgress()->IsCancelled())
        throw CRepError{QString(), true};
}

void CRepVisitsBaseDoc::ThrowSQL(const QString& text, const QString& statement) {
    throw CRepError{QStringLiteral("<p>") + SafeHTML(text) + QStringLiteral("</p><pre>") +
                    SafeHTML(statement) + QStringLiteral("</pre>")};
}

QString CRepVisitsBaseDoc::Section(const QString& name) const {
    return Run()->GetReportTemplate().GetSection(name);
}

void CRepVisitsBaseDoc::OnLoadMat() {
    Progress(Tr("Загрузка материалов", "CRepVisitsBaseDoc::OnLoadMat"));
    CRepVisitsRunData* run = Run();
    const QString sql =
        QStringLiteral("SELECT nType FROM ") + kFast + QStringLiteral(" GROUP BY nType");
    CxResult rows = run->GetSQL()->Execute(sql);
    if (!rows.isValid())
        ThrowSQL(rows.Error().text, sql);
    xConfiguration* config = CurrentConfiguration();
    while (rows.FetchRow()) {
        const long type = rows.LFieldValue(0);
        const QString title =
            config ? config->GetCurrentLanguage()->MatGroups.IDToString(type, QString())
                   : QString();
        Cxrp* column = run->AddOwnedColumn(new CxrpMat(title, type));
        run->selectColumns << column;
        run->detailColumns << column;
        run->valueColumns << column;
    }
}

void CRepVisitsBaseDoc::OnBuildCommentList() {
    CRepVisitsRunData* run = Run();
    if (run->workerId > 0)
        run->AddComment(
            CTarvikApp::TranslateString(
                QStringLiteral("Отображаются только клиенты, которым предоставил услуги "
                               "социальный работник: <b>{name}</b>"),
                QStringLiteral("CRepVisitsBaseDoc::OnBuildCommentList"))
                .replace(QLatin1String("{name}"), SafeHTML(run->workerText)));
    run->AddComment(run->Posh().GetPoshList());
}

void CRepVisitsBaseDoc::OnDetailHeaderHTML(QString& detail) {
    CRepVisitsRunData* run = Run();
    const QString cell = Section(QStringLiteral("DT.HCELL"));
    QString cells;
    for (Cxrp* column : std::as_const(run->detailColumns)) {
        const int n = run->AddComment(column->GetComment());
        const QString mark = n != -1 ? QStringLiteral("<sup>%1</sup>").arg(n) : QString();
        cells += CxString::StrTr(cell, {{QStringLiteral("%CLASS%"), column->GetCellClass()},
                                        {QStringLiteral("%BODY%"),
                                         SafeHTML(column->GetTitle(), kSafeHTMLBreaks) + mark}});
    }
    detail +=
        CxString::StrTr(Section(QStringLiteral("DT.HROW")), {{QStringLiteral("%BODY%"), cells}});
}

void CRepVisitsBaseDoc::OnDetailRowHTML(QString& detail, const QStringList& cells) {
    CRepVisitsRunData* run = Run();
    const QString cellTemplate = Section(QStringLiteral("DT.CELL"));
    QString body;
    for (qsizetype i = 0; i < cells.size() && i < run->detailColumns.size(); ++i)
        body += CxString::StrTr(
            cellTemplate, {{QStringLiteral("%CLASS%"), run->detailColumns.at(i)->GetCellClass()},
                           {QStringLiteral("%BODY%"), cells.at(i)}});
    detail +=
        CxString::StrTr(Section(QStringLiteral("DT.ROW")), {{QStringLiteral("%BODY%"), body}});
}

// ---- the figures ----

CVisitsFigures::CVisitsFigures() = default;
CVisitsFigures::~CVisitsFigures() = default;

CSummaryLine<CDoubleArr>* CVisitsFigures::FindLine(int table, const QList<long>& groupIds) const {
    if (table < 0 || size_t(table) >= tables.size())
        return nullptr;
    Lines* lines = tables[size_t(table)].get();
    if (groupIds.isEmpty())
        return lines;
    CMemNDX<long> key;
    key.Add(table);
    for (long id : groupIds)
        key.Add(id);
    const long id = lineIds.value(key, -1);
    return id < 0 ? nullptr : lines->FindLine(id);
}

double CVisitsFigures::Cell(int table, const QList<long>& groupIds, int column) const {
    CSummaryLine<CDoubleArr>* line = FindLine(table, groupIds);
    if (!line)
        return 0;
    const CDoubleArr& values = column == uniqueIndex ? line->GetValues() : line->GetTotals();
    return column >= 0 && column < values.GetSize() ? values[column] : 0;
}

// ---- gathering ----

struct CRepVisitsBaseDoc::Gathering {
    std::unique_ptr<CVisitsFigures> figures;
    // The grouping columns of each summary table.
    std::vector<QList<Cxrp*>> groups;
    QStringList blocking; // the titles of grouping columns without a plain field
    int detail = 0;       // the number of detail ids: non-zero lists clients
    QString points;       // the chosen service points' table
    QString resultTable;
    QString uniqueList; // the items of the unique-count query
    // (table, line id) -> the line's alias in the unique-count query.
    QHash<QPair<int, long>, QString> uniqueAliases;
    long nextLine = 1;
};

void CRepVisitsBaseDoc::OnGenerateReport(CAccStringT<wchar_t>& html) {
    m_figures.reset();
    m_rows = nullptr;
    std::unique_ptr<CVisitsFigures> figures = Gather();
    if (!figures)
        return;
    m_figures = std::move(figures);
    html.Add(Page(*m_figures));
    Progress(Tr("Загрузка отчета", "CRepVisitsBaseDoc::OnInitHTML"));
}

std::unique_ptr<CVisitsFigures> CRepVisitsBaseDoc::Gather() {
    CRepVisitsRunData* run = Run();
    if (m_columns.empty())
        CreateColumns();
    Gathering g;
    g.figures = std::make_unique<CVisitsFigures>();
    g.uniqueAliases.reserve(100);

    // The period the report covers may differ from the one chosen; the view
    // shows it back.
    run->RebuildIdSets();
    AdjustPeriod();
    Params().from = run->From();
    Params().to = run->To();

    {
        CFastTables fast(run->GetSQL());
        QString error;
        if (!fast.Process(GetProgress(), &error)) {
            if (GetProgress() && GetProgress()->IsCancelled())
                throw CRepError{QString(), true};
            throw CRepError{QStringLiteral("<p>") + SafeHTML(error) + QStringLiteral("</p>")};
        }
    }
    Progress(Tr("Формирование отчета", "CRepVisitsBaseDoc::OnInitHTML"));
    QString poshError;
    g.points = run->Posh().Create(&poshError);
    if (g.points.isEmpty())
        throw CRepError{QStringLiteral("<p>") + SafeHTML(poshError) + QStringLiteral("</p>")};
    Progress(Tr("Финальный запрос", "CRepVisitsBaseDoc::OnInitHTML"));

    if (!ChooseColumns(g))
        return nullptr;
    CVisitsFigures& f = *g.figures;
    if (!f.unique)
        run->AddComment(Tr("Расчет уникального количества клиентов невозможен из-за следующих "
                           "полей:",
                           "CRepVisitsBaseDoc::OnInitHTML") +
                        SafeHTML(g.blocking.join(QStringLiteral(", "))));
    OnLoadMat();
    Progress(Tr("Подготовка запроса", "CRepVisitsBaseDoc::OnInitHTML"));
    g.detail = int(run->DetailIDs().size());
    f.detailList = g.detail != 0;
    MakeTables(g);
    for (Cxrp* column : std::as_const(run->valueColumns))
        f.valueTitles << column->GetTitle();

    CxResult rows = QueryRows(g);
    WalkRows(g, rows);
    // The result goes with this function: no column may read it later.
    m_rows = nullptr;
    for (const auto& column : m_columns)
        column->Bind(nullptr);
    for (const QList<Cxrp*>* list : {&run->selectColumns, &run->valueColumns, &run->detailColumns})
        for (Cxrp* column : *list)
            column->Bind(nullptr);
    if (g.uniqueList.size() > kUniqueListLimit)
        f.unique = false;
    if (f.unique)
        CountUnique(g);
    for (const auto& table : f.tables) {
        table->CalcTotals();
        table->SetTotalsValid();
    }
    return std::move(g.figures);
}

bool CRepVisitsBaseDoc::ChooseColumns(Gathering& g) {
    CRepVisitsRunData* run = Run();
    CVisitsFigures& f = *g.figures;
    // An id listed twice, or in both lists, gives one column of the select.
    QSet<long> seen;
    Cxrp* clientColumn = run->AddOwnedColumn(new CxrpClientID);
    run->selectColumns << clientColumn;
    run->detailColumns << clientColumn;
    const KDRepPresetEx& preset = run->Preset();
    for (long id : preset.Detailed.GetIDs()) {
        if (seen.contains(id))
            continue;
        seen.insert(id);
        Cxrp* column = FindColumn(id);
        if (!column) {
            RepCheckTrue(false,
                         Tr("Отчет испорчен или некоторые поля были удалены из программы",
                            "msgReportCorrupted"),
                         Tr("Ошибка", "msgError"));
            return false;
        }
        run->selectColumns << column;
        run->detailColumns << column;
    }

    Cxrp* uniqueColumn = run->AddOwnedColumn(new CxrpClientsUniq);
    f.uniqueIndex = int(run->valueColumns.size());
    run->valueColumns << uniqueColumn;
    f.unique = true;
    const QList<long> summaryIds = preset.Summary.GetIDs();
    for (long id : summaryIds) {
        if (id == -1)
            continue;
        Cxrp* column = FindColumn(id);
        if (!seen.contains(id)) {
            seen.insert(id);
            if (column)
                run->selectColumns << column;
        }
        // A grouping column also listed among the details is selected once,
        // but it groups all the same: without a result field its lines would
        // get the unique count of the line above them, so it blocks the
        // count like any other.
        if (column && column->GetResultField().isEmpty() &&
            !g.blocking.contains(column->GetTitle())) {
            g.blocking << column->GetTitle();
            f.unique = false;
        }
    }

    // Every summary table shows the catalogue's value columns.
    if (!summaryIds.isEmpty()) {
        for (const auto& owned : m_columns) {
            Cxrp* column = owned.get();
            if (!(column->GetKind() & kKindValue))
                continue;
            run->valueColumns << column;
            if (!seen.contains(column->GetID())) {
                seen.insert(column->GetID());
                run->selectColumns << column;
            }
        }
    }
    return true;
}

void CRepVisitsBaseDoc::MakeTables(Gathering& g) {
    const QList<long> summaryIds = Run()->Preset().Summary.GetIDs();
    for (int i = 0; i < summaryIds.size(); ++i) {
        const long id = summaryIds.at(i);
        // The first group opens at the first item, a separator too: a list
        // of only a separator still gives the table of the totals.
        if (g.groups.empty())
            g.groups.emplace_back();
        if (id == -1) {
            if (i + 1 < summaryIds.size() && !g.groups.back().isEmpty())
                g.groups.emplace_back();
            continue;
        }
        if (Cxrp* column = FindColumn(id))
            g.groups.back() << column;
    }
    for (size_t i = 0; i < g.groups.size(); ++i) {
        auto lines = std::make_unique<CVisitsFigures::Lines>();
        lines->SetRootTitle(Tr("Всего", "msgTotal"));
        g.figures->tables.push_back(std::move(lines));
    }
}

CxResult CRepVisitsBaseDoc::QueryRows(Gathering& g) {
    CRepVisitsRunData* run = Run();
    CxSQL* sql = run->GetSQL();
    CSimpleSelect select;
    select.Group(kFast + QStringLiteral(".nClientID"));
    for (Cxrp* column : std::as_const(run->selectColumns))
        if (!column->AddToSelect(g.detail, select, run))
            ThrowSQL(Tr("Колонки отчета требуют несовместимых объединений таблиц",
                        "CRepVisitsBaseDoc::OnInitHTML"),
                     select.GetError());
    select.Where(run->GetPeriodCondition(kFast + QStringLiteral(".dDate")));
    select.Join(QString(), g.points,
                g.points + QStringLiteral(".ROWID=") + kFast + QStringLiteral(".nWorkPlace"));
    select.Select(kFast + QStringLiteral(".nClientID"));
    if (run->workerId > 0)
        select.Where(kFast + QStringLiteral(".nWorker1=") + QString::number(run->workerId));
    if (g.figures->unique) {
        select.Select(kClients + QStringLiteral(".gROWID"));
        select.Select(kClients + QStringLiteral(".nBirthYear"));
        select.Select(kClients + QStringLiteral(".nSex"));
    }
    AddReportQuery(select);
    if (!select.GetError().isEmpty())
        ThrowSQL(Tr("Колонки отчета требуют несовместимых объединений таблиц",
                    "CRepVisitsBaseDoc::OnInitHTML"),
                 select.GetError());

    // One row per client into a table of the run, then its rows in page order.
    Progress(Tr("Выполнение запроса", "CRepVisitsBaseDoc::OnInitHTML"));
    CxSQLError error;
    if (!select.ExecPreQuery(sql, &error))
        ThrowSQL(error.text, error.statement);
    g.resultTable = run->CreateTempTable(QStringLiteral("CREATE TEMPORARY TABLE $$$ AS ") +
                                         select.Build(kFast));
    CSimpleSelect second;
    second.Select(QStringLiteral("*"));
    if (g.detail)
        second.Order(QStringLiteral("cGClientCode"));
    second.Order(QStringLiteral("nClientID"));
    for (Cxrp* column : std::as_const(run->selectColumns))
        column->PreQuery(g.detail, second, run);
    if (!second.ExecPreQuery(sql, &error))
        ThrowSQL(error.text, error.statement);
    const QString secondSql = second.Build(g.resultTable);
    CxResult rows = sql->Execute(secondSql);
    if (!rows.isValid())
        ThrowSQL(rows.Error().text, secondSql);
    return rows;
}

void CRepVisitsBaseDoc::WalkRows(Gathering& g, CxResult& rows) {
    CRepVisitsRunData* run = Run();
    CVisitsFigures& f = *g.figures;
    m_rows = &rows;
    for (Cxrp* column : std::as_const(run->selectColumns))
        column->Bind(&rows);
    for (Cxrp* column : std::as_const(run->valueColumns))
        column->Bind(&rows);
    for (Cxrp* column : std::as_const(run->detailColumns))
        column->Bind(&rows);

    g.uniqueList = QStringLiteral("COUNT(DISTINCT gROWID,IFNULL(nSex,-1),IFNULL(nBirthYear,"
                                  "-1)) AS un_total");
    bool lastConsumed = false;
    CDoubleArr values;
    qint64 counter = 0;
    while (rows.FetchRow()) {
        if (counter++ % 100 == 0)
            Progress(Tr("Формирование отчета", "CRepVisitsBaseDoc::OnInitHTML"));
        if (g.detail) {
            QStringList cells;
            cells.reserve(run->detailColumns.size());
            for (Cxrp* column : std::as_const(run->detailColumns))
                cells << column->GetDetValue();
            f.detailRows << cells;
        }
        lastConsumed = OnResultRow();
        if (lastConsumed)
            continue;
        values.RemoveAll();
        values.SetSize(int(run->valueColumns.size()));
        for (int j = 0; j < run->valueColumns.size(); ++j)
            values[j] = run->valueColumns.at(j)->GetValue();
        for (int t = 0; t < int(f.tables.size()); ++t)
            f.tables[size_t(t)]->AddValues(LineOf(g, t), values);
    }
    f.summaries = !lastConsumed;
}

long CRepVisitsBaseDoc::LineOf(Gathering& g, int t) {
    CVisitsFigures& f = *g.figures;
    const QList<Cxrp*>& columns = g.groups[size_t(t)];
    CMemNDX<long> key;
    key.Add(t);
    for (Cxrp* column : columns)
        key.Add(column->GetGroupID());
    const long known = f.lineIds.value(key, -1);
    if (known >= 0)
        return known;
    // The levels that are new get their lines, each under the one above.
    long parent = 0;
    CMemNDX<long> prefix;
    prefix.Add(t);
    QString terms;
    for (int k = 0; k < columns.size(); ++k) {
        Cxrp* column = columns.at(k);
        const long gid = key.GetAt(k + 1);
        prefix.Add(gid);
        const QString term = column->GetUniqueTerm();
        if (!term.isEmpty())
            terms += QStringLiteral(",IF(") + term + u'=' + QString::number(gid) + u',' +
                     QString::number(gid) + QStringLiteral(",NULL)");
        const long above = f.lineIds.value(prefix, -1);
        if (above >= 0) {
            parent = above;
            continue;
        }
        const long id = g.nextLine++;
        f.lineIds.insert(prefix, id);
        f.tables[size_t(t)]->AddLine(id, parent, column->GetSumTitle(), 0, gid);
        if (f.unique) {
            const QString alias = QStringLiteral("u%1").arg(id);
            g.uniqueList += u',' + kUniqueTriple + terms + QStringLiteral(") AS ") + alias;
            g.uniqueAliases.insert(qMakePair(t, id), alias);
        }
        parent = id;
    }
    return columns.isEmpty() ? 0 : parent;
}

void CRepVisitsBaseDoc::CountUnique(Gathering& g) {
    CVisitsFigures& f = *g.figures;
    Progress(Tr("Расчет уникального количества клиентов", "CRepVisitsBaseDoc::OnInitHTML"));
    const QString uniqueSql =
        QStringLiteral("SELECT ") + g.uniqueList + QStringLiteral(" FROM ") + g.resultTable;
    CxResult counts = Run()->GetSQL()->Execute(uniqueSql);
    if (!counts.isValid() || !counts.FetchRow())
        ThrowSQL(counts.Error().text, uniqueSql);
    CDoubleArr vector;
    vector.SetSize(int(f.valueTitles.size()));
    for (auto it = g.uniqueAliases.cbegin(); it != g.uniqueAliases.cend(); ++it) {
        vector[f.uniqueIndex] = double(counts.LFieldValue(it.value()));
        f.tables[size_t(it.key().first)]->AddValues(it.key().second, vector);
    }
    vector[f.uniqueIndex] = double(counts.LFieldValue(QStringLiteral("un_total")));
    for (const auto& table : f.tables)
        table->AddValues(0, vector);
}

// ---- the page ----

QString CRepVisitsBaseDoc::Page(const CVisitsFigures& f) {
    CRepVisitsRunData* run = Run();
    // Footnotes are numbered in the order the page meets them: the detail
    // header's, the summary header's, then the report's own, to which the
    // title points.
    QString detailText;
    if (f.detailList) {
        OnDetailHeaderHTML(detailText);
        for (const QStringList& cells : f.detailRows)
            OnDetailRowHTML(detailText, cells);
    }
    QString summaryText;
    if (f.summaries)
        summaryText = SummaryHTML(f);
    const int before = int(run->Comments().size());
    OnBuildCommentList();
    OnPreFinalHTML(summaryText);
    QString marks;
    for (int i = before + 1; i <= run->Comments().size(); ++i)
        marks += QString::number(i) + u' ';

    const auto part = [this](const char* name, const QString& body) {
        return body.isEmpty() ? QString()
                              : CxString::StrTr(Section(QString::fromLatin1(name)),
                                                {{QStringLiteral("%BODY%"), body}});
    };
    QString title = SafeHTML(GetReportTitle());
    if (!marks.isEmpty())
        title += QStringLiteral("<sup>") + marks + QStringLiteral("</sup>");
    // The title carries its own heading: the coverage report's place for
    // one stays empty here.
    return CxString::StrTr(
        Section(QStringLiteral("REPORT")),
        {{QStringLiteral("%TITLE%"), title},
         {QStringLiteral("%HEADING%"), QString()},
         {QStringLiteral("%FROM%"), SafeHTML(DateToText(run->From()))},
         {QStringLiteral("%TO%"), SafeHTML(DateToText(run->To()))},
         {QStringLiteral("%COMMENT%"), FootnotesHTML(run->GetReportTemplate(), run->Comments())},
         {QStringLiteral("%SUMMARY%"), part("SM.REPORT", summaryText)},
         {QStringLiteral("%DETAIL%"), part("DT.REPORT", detailText)}});
}

QString CRepVisitsBaseDoc::SummaryHTML(const CVisitsFigures& f) {
    CRepVisitsRunData* run = Run();
    Progress(Tr("Формирование итогов", "CRepVisitsBaseDoc::OnInitHTML"));
    QString text;
    for (const auto& table : f.tables) {
        QString headerCells;
        const int width = 100 / (int(run->valueColumns.size()) + 2);
        for (Cxrp* column : std::as_const(run->valueColumns)) {
            const int n = run->AddComment(column->GetComment());
            const QString mark = n != -1 ? QStringLiteral("<sup>%1</sup>").arg(n) : QString();
            headerCells += CxString::StrTr(
                Section(QStringLiteral("SM.HCELL")),
                {{QStringLiteral("%WIDTH%"), QString::number(width)},
                 {QStringLiteral("%CLASS%"), column->GetCellClass()},
                 {QStringLiteral("%BODY%"), SafeHTML(column->GetTitle(), kSafeHTMLBreaks) + mark}});
        }
        text += CxString::StrTr(
            Section(QStringLiteral("SM.HDR")),
            {{QStringLiteral("%SPANCOUNT%"), QString::number(run->valueColumns.size() + 1)},
             {QStringLiteral("%SUBBODY%"), QString()},
             {QStringLiteral("%BODY%"), headerCells}});
        RenderLine(f, table.get(), text, 0, table->GetDepth());
    }
    return text;
}

void CRepVisitsBaseDoc::RenderLine(const CVisitsFigures& f, CSummaryLine<CDoubleArr>* line,
                                   QString& out, int level, int depth) {
    int p = level;
    if (depth < 6)
        p += 7 - depth;
    const QString cls = p >= 0 && p <= 5 ? QString::number(p + 1) : QStringLiteral("7");
    line->Sort();
    const QString cellTemplate = Section(QStringLiteral("SM.CELL"));
    QString cells;
    const CDoubleArr& totals = line->GetTotals();
    const CDoubleArr& own = line->GetValues();
    for (int i = 0; i < totals.GetSize(); ++i) {
        double value = 0;
        if (i == f.uniqueIndex)
            value = i < own.GetSize() ? own[i] : 0;
        else
            value = totals[i];
        cells +=
            CxString::StrTr(cellTemplate, {{QStringLiteral("%CLASS%"), cls},
                                           {QStringLiteral("%BODY%"), VisitsNumberCell(value)}});
    }
    out += CxString::StrTr(Section(QStringLiteral("SM.ROW")),
                           {{QStringLiteral("%PADDING%"), QString::number(level * 20)},
                            {QStringLiteral("%CLASS%"), cls},
                            {QStringLiteral("%TITLE%"), SafeHTML(line->GetTitle())},
                            {QStringLiteral("%BODY%"), cells}});
    for (CSummaryLine<CDoubleArr>* child : line->GetChildren())
        RenderLine(f, child, out, level + 1, depth);
}
