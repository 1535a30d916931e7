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

void CRepVisitsBaseDoc::OnDetailRowHTML(QString& detail) {
    CRepVisitsRunData* run = Run();
    const QString cellTemplate = Section(QStringLiteral("DT.CELL"));
    QString cells;
    for (Cxrp* column : std::as_const(run->detailColumns))
        cells += CxString::StrTr(cellTemplate, {{QStringLiteral("%CLASS%"), column->GetCellClass()},
                                                {QStringLiteral("%BODY%"), column->GetDetValue()}});
    detail +=
        CxString::StrTr(Section(QStringLiteral("DT.ROW")), {{QStringLiteral("%BODY%"), cells}});
}

void CRepVisitsBaseDoc::RenderLine(CSummaryLine<CDoubleArr>* line, QString& out, int level,
                                   int depth) {
    int p = level;
    if (depth < 6)
        p += 7 - depth;
    const QString cls = p >= 0 && p <= 5 ? QString::number(p + 1) : QStringLiteral("7");
    line->Sort();
    const QString cellTemplate = Section(QStringLiteral("SM.CELL"));
    QString cells;
    CDoubleArr& totals = line->GetTotals();
    CDoubleArr& own = line->GetValues();
    for (int i = 0; i < totals.GetSize(); ++i) {
        double value = 0;
        if (i == m_uniqueIndex)
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
        RenderLine(child, out, level + 1, depth);
}

void CRepVisitsBaseDoc::OnGenerateReport(CAccStringT<wchar_t>& html) {
    CRepVisitsRunData* run = Run();
    CxSQL* sql = run->GetSQL();
    m_uniqueAliases.clear();
    m_uniqueAliases.reserve(100);
    m_groups.clear();
    m_rows = nullptr;
    if (m_columns.empty())
        CreateColumns();

    // Step 4: the period and the preset's id sets.
    run->RebuildIdSets();
    AdjustPeriod();
    Params().from = run->From();
    Params().to = run->To();

    // Step 5: the fast work tables.
    {
        CFastTables fast(sql);
        QString error;
        if (!fast.Process(GetProgress(), &error)) {
            if (GetProgress() && GetProgress()->IsCancelled())
                throw CRepError{QString(), true};
            throw CRepError{QStringLiteral("<p>") + SafeHTML(error) + QStringLiteral("</p>")};
        }
    }

    // Step 6.
    Progress(Tr("Формирование отчета", "CRepVisitsBaseDoc::OnInitHTML"));
    QString poshError;
    const QString poshTable = run->Posh().Create(&poshError);
    if (poshTable.isEmpty())
        throw CRepError{QStringLiteral("<p>") + SafeHTML(poshError) + QStringLiteral("</p>")};
    Progress(Tr("Финальный запрос", "CRepVisitsBaseDoc::OnInitHTML"));

    // Step 7.
    CSimpleSelect select;
    select.Group(kFast + QStringLiteral(".nClientID"));

    // Step 8: the detail columns.
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
            return;
        }
        run->selectColumns << column;
        run->detailColumns << column;
    }

    // Step 9: the summary items.
    m_uniqueIndex = -1;
    Cxrp* uniqueColumn = run->AddOwnedColumn(new CxrpClientsUniq);
    m_uniqueIndex = int(run->valueColumns.size());
    run->valueColumns << uniqueColumn;
    bool unique = true;
    QStringList blocking;
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
            !blocking.contains(column->GetTitle())) {
            blocking << column->GetTitle();
            unique = false;
        }
    }

    // Step 10: the value columns of the catalogue.
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

    // Step 11.
    if (!unique)
        run->AddComment(Tr("Расчет уникального количества клиентов невозможен из-за следующих "
                           "полей:",
                           "CRepVisitsBaseDoc::OnInitHTML") +
                        SafeHTML(blocking.join(QStringLiteral(", "))));

    // Step 12: materials, the detail count, the summary groups.
    OnLoadMat();
    Progress(Tr("Подготовка запроса", "CRepVisitsBaseDoc::OnInitHTML"));
    const int detail = int(run->DetailIDs().size());
    for (int i = 0; i < summaryIds.size(); ++i) {
        const long id = summaryIds.at(i);
        // The first group opens at the first item, a separator too: a list
        // of only a separator still gives the table of the totals.
        if (m_groups.empty())
            m_groups.emplace_back();
        if (id == -1) {
            if (i + 1 < summaryIds.size() && !m_groups.back().columns.isEmpty())
                m_groups.emplace_back();
            continue;
        }
        if (Cxrp* column = FindColumn(id))
            m_groups.back().columns << column;
    }
    for (Group& group : m_groups) {
        group.lines = std::make_unique<CSummaryLines<CDoubleArr>>();
        group.lines->SetRootTitle(Tr("Всего", "msgTotal"));
    }

    // Step 13: the main select.
    for (Cxrp* column : std::as_const(run->selectColumns))
        if (!column->AddToSelect(detail, select, run))
            ThrowSQL(Tr("Колонки отчета требуют несовместимых объединений таблиц",
                        "CRepVisitsBaseDoc::OnInitHTML"),
                     select.GetError());
    select.Where(run->GetPeriodCondition(kFast + QStringLiteral(".dDate")));
    select.Join(QString(), poshTable,
                poshTable + QStringLiteral(".ROWID=") + kFast + QStringLiteral(".nWorkPlace"));
    select.Select(kFast + QStringLiteral(".nClientID"));
    if (run->workerId > 0)
        select.Where(kFast + QStringLiteral(".nWorker1=") + QString::number(run->workerId));
    if (unique) {
        select.Select(kClients + QStringLiteral(".gROWID"));
        select.Select(kClients + QStringLiteral(".nBirthYear"));
        select.Select(kClients + QStringLiteral(".nSex"));
    }
    AddReportQuery(select);
    if (!select.GetError().isEmpty())
        ThrowSQL(Tr("Колонки отчета требуют несовместимых объединений таблиц",
                    "CRepVisitsBaseDoc::OnInitHTML"),
                 select.GetError());

    // Steps 14-16: the result table and its rows.
    Progress(Tr("Выполнение запроса", "CRepVisitsBaseDoc::OnInitHTML"));
    CxSQLError error;
    if (!select.ExecPreQuery(sql, &error))
        ThrowSQL(error.text, error.statement);
    const QString resultTable = run->CreateTempTable(
        QStringLiteral("CREATE TEMPORARY TABLE $$$ AS ") + select.Build(kFast));
    CSimpleSelect second;
    second.Select(QStringLiteral("*"));
    if (detail)
        second.Order(QStringLiteral("cGClientCode"));
    second.Order(QStringLiteral("nClientID"));
    for (Cxrp* column : std::as_const(run->selectColumns))
        column->PreQuery(detail, second, run);
    if (!second.ExecPreQuery(sql, &error))
        ThrowSQL(error.text, error.statement);
    const QString secondSql = second.Build(resultTable);
    CxResult rows = sql->Execute(secondSql);
    if (!rows.isValid())
        ThrowSQL(rows.Error().text, secondSql);
    m_rows = &rows;
    for (Cxrp* column : std::as_const(run->selectColumns))
        column->Bind(&rows);
    for (Cxrp* column : std::as_const(run->valueColumns))
        column->Bind(&rows);
    for (Cxrp* column : std::as_const(run->detailColumns))
        column->Bind(&rows);

    // Step 17.
    QString detailText;
    if (detail)
        OnDetailHeaderHTML(detailText);

    // Step 18: the row walk.
    QHash<CMemNDX<long>, long> lineIds;
    long nextId = 1;
    QString uniqueList = QStringLiteral("COUNT(DISTINCT gROWID,IFNULL(nSex,-1),IFNULL(nBirthYear,"
                                        "-1)) AS un_total");
    bool lastConsumed = false;
    CDoubleArr values;
    qint64 counter = 0;
    while (rows.FetchRow()) {
        if (counter++ % 100 == 0)
            Progress(Tr("Формирование отчета", "CRepVisitsBaseDoc::OnInitHTML"));
        if (detail)
            OnDetailRowHTML(detailText);
        lastConsumed = OnResultRow();
        if (lastConsumed)
            continue;
        for (int g = 0; g < int(m_groups.size()); ++g) {
            Group& group = m_groups[size_t(g)];
            CMemNDX<long> key;
            key.Add(g);
            for (Cxrp* column : std::as_const(group.columns))
                key.Add(column->GetGroupID());
            long lineId = lineIds.value(key, -1);
            if (lineId < 0) {
                long parent = 0;
                CMemNDX<long> prefix;
                prefix.Add(g);
                QString terms;
                for (int k = 0; k < group.columns.size(); ++k) {
                    Cxrp* column = group.columns.at(k);
                    const long gid = key.GetAt(k + 1);
                    prefix.Add(gid);
                    const QString term = column->GetUniqueTerm();
                    if (!term.isEmpty())
                        terms += QStringLiteral(",IF(") + term + u'=' + QString::number(gid) +
                                 u',' + QString::number(gid) + QStringLiteral(",NULL)");
                    const long known = lineIds.value(prefix, -1);
                    if (known >= 0) {
                        parent = known;
                        continue;
                    }
                    const long id = nextId++;
                    lineIds.insert(prefix, id);
                    group.lines->AddLine(id, parent, column->GetSumTitle(), 0, gid);
                    if (unique) {
                        const QString alias = QStringLiteral("u%1").arg(id);
                        uniqueList +=
                            u',' + kUniqueTriple + terms + QStringLiteral(") AS ") + alias;
                        m_uniqueAliases.insert(qMakePair(g, id), alias);
                    }
                    parent = id;
                }
                lineId = group.columns.isEmpty() ? 0 : parent;
            }
            values.RemoveAll();
            values.SetSize(int(run->valueColumns.size()));
            for (int j = 0; j < run->valueColumns.size(); ++j)
                values[j] = run->valueColumns.at(j)->GetValue();
            group.lines->AddValues(lineId, values);
        }
    }

    // Steps 19-20: the unique counts.
    if (uniqueList.size() > kUniqueListLimit)
        unique = false;
    if (unique) {
        Progress(Tr("Расчет уникального количества клиентов", "CRepVisitsBaseDoc::OnInitHTML"));
        const QString uniqueSql =
            QStringLiteral("SELECT ") + uniqueList + QStringLiteral(" FROM ") + resultTable;
        CxResult counts = sql->Execute(uniqueSql);
        if (!counts.isValid() || !counts.FetchRow())
            ThrowSQL(counts.Error().text, uniqueSql);
        CDoubleArr vector;
        vector.SetSize(int(run->valueColumns.size()));
        for (auto it = m_uniqueAliases.cbegin(); it != m_uniqueAliases.cend(); ++it) {
            vector[m_uniqueIndex] = double(counts.LFieldValue(it.value()));
            m_groups[size_t(it.key().first)].lines->AddValues(it.key().second, vector);
        }
        vector[m_uniqueIndex] = double(counts.LFieldValue(QStringLiteral("un_total")));
        for (Group& group : m_groups)
            group.lines->AddValues(0, vector);
    }

    // Step 21: the summary tables.
    QString summaryText;
    if (!lastConsumed) {
        Progress(Tr("Формирование итогов", "CRepVisitsBaseDoc::OnInitHTML"));
        for (Group& group : m_groups) {
            group.lines->CalcTotals();
            group.lines->SetTotalsValid();
            QString headerCells;
            const int width = 100 / (int(run->valueColumns.size()) + 2);
            for (Cxrp* column : std::as_const(run->valueColumns)) {
                const int n = run->AddComment(column->GetComment());
                const QString mark = n != -1 ? QStringLiteral("<sup>%1</sup>").arg(n) : QString();
                headerCells +=
                    CxString::StrTr(Section(QStringLiteral("SM.HCELL")),
                                    {{QStringLiteral("%WIDTH%"), QString::number(width)},
                                     {QStringLiteral("%CLASS%"), column->GetCellClass()},
                                     {QStringLiteral("%BODY%"),
                                      SafeHTML(column->GetTitle(), kSafeHTMLBreaks) + mark}});
            }
            summaryText += CxString::StrTr(
                Section(QStringLiteral("SM.HDR")),
                {{QStringLiteral("%SPANCOUNT%"), QString::number(run->valueColumns.size() + 1)},
                 {QStringLiteral("%SUBBODY%"), QString()},
                 {QStringLiteral("%BODY%"), headerCells}});
            RenderLine(group.lines.get(), summaryText, 0, group.lines->GetDepth());
        }
    }

    // Steps 22-23: footnotes.
    const int before = int(run->Comments().size());
    OnBuildCommentList();
    OnPreFinalHTML(summaryText);
    QString marks;
    for (int i = before + 1; i <= run->Comments().size(); ++i)
        marks += QString::number(i) + u' ';
    const QString commentText = FootnotesHTML(run->GetReportTemplate(), run->Comments());

    // Steps 24-25: the page.
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
    html.Add(CxString::StrTr(Section(QStringLiteral("REPORT")),
                             {{QStringLiteral("%TITLE%"), title},
                              {QStringLiteral("%HEADING%"), QString()},
                              {QStringLiteral("%FROM%"), SafeHTML(DateToText(run->From()))},
                              {QStringLiteral("%TO%"), SafeHTML(DateToText(run->To()))},
                              {QStringLiteral("%COMMENT%"), commentText},
                              {QStringLiteral("%SUMMARY%"), part("SM.REPORT", summaryText)},
                              {QStringLiteral("%DETAIL%"), part("DT.REPORT", detailText)}}));
    Progress(Tr("Загрузка отчета", "CRepVisitsBaseDoc::OnInitHTML"));
    m_rows = nullptr;
    for (const auto& column : m_columns)
        column->Bind(nullptr);
}
