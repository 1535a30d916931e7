#include "rep_period_kelda_doc.h"

#include "framework/core/report/rep_doc.h"
#include "framework/core/sql_connection.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"
#include "model/config/configuration.h"
#include "model/enums/client_enums.h"
#include "model/enums/directory_enums.h"
#include "model/enums/material_type.h"
#include "model/options/kelda_options.h"
#include "visits_age_groups.h"
#include "visits_columns.h"
#include "visits_templates.h"

namespace {
constexpr CxTr Tr;
constexpr CxTr TrDoc("CRepPeriodKeldaDoc::OnInitHTML");

constexpr long kGroupMask = 0xFFF0000;
constexpr long kServices = 0x40000;
constexpr long kBooklets = 0x50000;
constexpr long kConsultations = 0x70000;
// Groupings of the columns; the values no line of them holds.
constexpr long kBySex = 0;
constexpr long kByAge = 1;
constexpr long kByGroup = 2;
constexpr long kNoCode = -1000;
constexpr long kOther = -2;
const CPivotKey kTotalRow(0, 2);
} // namespace

QString CRepPeriodKeldaDoc::CxTabCalcEx::GetStyle(CLine* row, CLine* col, int rowPos, int colPos) {
    if (rowPos == 0 && colPos == 0)
        ResetBands();
    const quint32 data = row->GetData();
    if (colPos == 0 && data != 0 && data != m_lastData) {
        m_lastData = data;
        m_color = m_color == 0xFFFFFF ? 0xD3D3D3 : 0xFFFFFF;
    }
    return CxTabCalc::GetStyle(row, col, rowPos, colPos) + QStringLiteral(";background-color:#") +
           QStringLiteral("%1").arg(m_color, 6, 16, QLatin1Char('0'));
}

CRepPeriodKeldaDoc::CRepPeriodKeldaDoc(QObject* parent) : CRepVisitsDoc(parent) {
    InitVisitsTemplates();
    m_template.Load(kPeriodTemplateID);
}

QString CRepPeriodKeldaDoc::GetReportTitle() {
    return Tr("Отчет за период по материалам", "CRepPeriodKeldaDoc::GetReportTitle");
}

QString CRepPeriodKeldaConsDoc::GetReportTitle() {
    return Tr("Отчет за период по консультациям и перенаправлениям",
              "CRepPeriodKeldaConsDoc::GetReportTitle");
}

CVisitsViewSetup CRepPeriodKeldaDoc::GetViewSetup() const {
    CVisitsViewSetup setup;
    setup.presets = false;
    return setup;
}

long CRepPeriodKeldaDoc::ColumnOf(CNdxToIDMap<CPivotKey>& cols, long grouping, long value) {
    const long index = cols.FindNdx(CPivotKey(grouping, value));
    if (index > 0 && !m_parentColumns.contains(index))
        return index;
    // A value without a column of its own (a sex code other than those
    // listed, an age outside every group) is counted apart, never in the
    // grouping's total alone.
    int made = 0;
    const long other = cols.GetNdx(CPivotKey(grouping, kOther), &made);
    if (made) {
        const long parent = cols.FindNdx(CPivotKey(grouping, grouping == kBySex ? 0 : -1));
        m_pivot.GetCols()
            ->Map(other, parent)
            ->SetTitle(Tr("Другое", "CRepPeriodKeldaDoc::OtherColumn"))
            ->Expand(true);
    }
    return other;
}

void CRepPeriodKeldaDoc::MakeColumns(CNdxToIDMap<CPivotKey>& cols, const QString& points) {
    CRepVisitsRunData* run = Run();
    const bool consult = IsConsultReport();
    CxTabCalc::CRoot* root = m_pivot.GetCols();
    m_parentColumns.clear();

    const long bySex = cols.GetNdx(CPivotKey(kBySex, 0));
    m_parentColumns.insert(bySex);
    root->Map(bySex, 0)->SetTitle(TrDoc("По полу"));
    const struct {
        long code;
        const char* key;
        const char* text;
    } sexes[] = {{1, "msgGen_mujskoyi_566743875", "Мужской"},
                 {2, "msgGen_jenskiyi_1907555100", "Женский"},
                 {3, "msgGen_transgende_1464018538", "Трансгендер"}};
    for (const auto& sex : sexes)
        root->Map(cols.GetNdx(CPivotKey(kBySex, sex.code)), bySex)
            ->SetTitle(Tr(sex.text, sex.key))
            ->Expand(true);
    if (consult)
        root->Map(cols.GetNdx(CPivotKey(kBySex, 9)), bySex)
            ->SetTitle(TrDoc("Без кода"))
            ->Expand(true);

    const long byAge = cols.GetNdx(CPivotKey(kByAge, -1));
    m_parentColumns.insert(byAge);
    root->Map(byAge, 0)->SetTitle(TrDoc("По возрастной группе"));
    for (const CAgeGroups::Group& group : m_ageGroups.Groups())
        root->Map(cols.GetNdx(CPivotKey(kByAge, group.lower)), byAge)->SetTitle(group.title);
    if (consult)
        root->Map(cols.GetNdx(CPivotKey(kByAge, kNoCode)), byAge)
            ->SetTitle(TrDoc("Без кода"))
            ->Expand(true);

    const QString worker = run->workerId > 0 ? QStringLiteral(" AND dailyreport.nWorker1=") +
                                                   QString::number(run->workerId)
                                             : QString();
    const QString sql =
        QStringLiteral("SELECT clientdatachanges.nClientType FROM dailyreport JOIN dailyvisits ON "
                       "dailyvisits.nReportID=dailyreport.ROWID LEFT JOIN clientdatachanges ON "
                       "clientdatachanges.nLastLinkID=dailyvisits.nClientID JOIN clientdata ON  "
                       "clientdata.ROWID=dailyvisits.nClientID JOIN ") +
        points +
        QStringLiteral(" AS Filter ON Filter.ROWID=dailyreport.nWorkPlace WHERE "
                       "dailyreport.dDate>=") +
        SafeSQL(run->From().toString(QStringLiteral("yyyy-MM-dd"))) + worker +
        QStringLiteral(" AND dailyreport.dDate<=") +
        SafeSQL(run->To().toString(QStringLiteral("yyyy-MM-dd"))) +
        QStringLiteral(" GROUP BY clientdatachanges.nClientType");
    CxResult types = run->GetSQL()->Execute(sql);
    if (!types.isValid())
        ThrowSQL(types.Error().text, sql);
    const long byGroup = cols.GetNdx(CPivotKey(kByGroup, -1));
    m_parentColumns.insert(byGroup);
    root->Map(byGroup, 0)->SetTitle(TrDoc("По уязвимой группе"));
    while (types.FetchRow()) {
        const long value = types.SFieldValue(0).toLong();
        QString title;
        g_pClientGroup->GetValueText(quint32(value), title);
        root->Map(cols.GetNdx(CPivotKey(kByGroup, value)), byGroup)->SetTitle(title);
    }
    if (consult)
        root->Map(cols.GetNdx(CPivotKey(kByGroup, kNoCode)), byGroup)
            ->SetTitle(TrDoc("Без кода"))
            ->Expand(true);
}

void CRepPeriodKeldaDoc::MakeRows(CNdxToIDMap<CPivotKey>& rows, QSet<long>& skip) {
    CRepVisitsRunData* run = Run();
    const bool consult = IsConsultReport();
    CxTabCalc::CRoot* root = m_pivot.GetRows();
    const long total = rows.GetNdx(kTotalRow);
    root->Map(total, 0)->SetTitle(TrDoc("Всего"))->Expand(true);
    const QString sql =
        QStringLiteral("SELECT cString,nType,ROWID,nSpecFlags,nConfigGroup FROM dir "
                       "WHERE nDirType=3 AND NOT(dir.bIsFolder) ORDER BY nType,cString");
    CxResult items = run->GetSQL()->Execute(sql);
    if (!items.isValid())
        ThrowSQL(items.Error().text, sql);
    xLanguage* language =
        CurrentConfiguration() ? CurrentConfiguration()->GetCurrentLanguage() : nullptr;
    while (items.FetchRow()) {
        const QString name = items.SFieldValue(0);
        const long type = items.LFieldValue(1);
        const long id = items.LFieldValue(2);
        const long configGroup = items.LFieldValue(4);
        const long masked = type & kGroupMask;
        if (!consult) {
            if (masked == kConsultations) {
                skip.insert(id);
                continue;
            }
            const sMaterialType* typeItem = g_pMaterialType->Lookup(type);
            const long group = typeItem ? typeItem->nGroup : -1;
            long parent = total;
            if (masked != kServices && masked != kBooklets) {
                int made = 0;
                parent = rows.GetNdx(CPivotKey(group, 0), &made);
                if (made)
                    root->Map(parent, total)
                        ->SetTitle(g_pMaterialType->IDToString(group, QString()))
                        ->Expand(true);
            }
            int made = 0;
            long typeRow = rows.GetNdx(CPivotKey(type, 0), &made);
            if (made)
                root->Map(typeRow, parent)->SetTitle(g_pMaterialType->IDToString(type, QString()));
            long itemParent = typeRow;
            if (masked == kServices) {
                itemParent = rows.GetNdx(CPivotKey(configGroup, -1), &made);
                if (made)
                    root->Map(itemParent, typeRow)
                        ->SetTitle(language
                                       ? language->Services.IDToString(configGroup, TrDoc("Ошибка"))
                                       : TrDoc("Ошибка"));
            }
            root->Map(rows.GetNdx(CPivotKey(id, 1)), itemParent)->SetTitle(name);
            continue;
        }
        if (masked != kConsultations) {
            skip.insert(id);
            continue;
        }
        POSITION pos = g_pConsAndDir->InitScan_sEnum2();
        while (g_pConsAndDir->ScanNext_sEnum2(pos)) {
            const long kind = g_pConsAndDir->Index_sEnum2(pos);
            if (kind == 1)
                continue;
            const QString kindText = g_pConsAndDir->Current(pos)->cText;
            int made = 0;
            const long kindRow = rows.GetNdx(CPivotKey(configGroup, -kind), &made);
            if (made)
                root->Map(kindRow, total)
                    ->SetTitle((language ? language->DirectionAndConsulting.IDToString(
                                               configGroup, TrDoc("Ошибка"))
                                         : TrDoc("Ошибка")) +
                               QStringLiteral(", ") + kindText)
                    ->SetData(quint32(configGroup));
            QString itemName = name;
            if (g_pOption_RepParam->m_ClipClientCode.Get())
                itemName = Cxrp::ClipAtBackQuote(itemName);
            root->Map(rows.GetNdx(CPivotKey(id, kind)), kindRow)
                ->SetTitle(itemName + QStringLiteral(", ") + kindText);
        }
    }
}

void CRepPeriodKeldaDoc::AddValues(CNdxToIDMap<CPivotKey>& rows, CNdxToIDMap<CPivotKey>& cols,
                                   const QSet<long>& skip, CxResult& result) {
    const bool consult = IsConsultReport();
    const int endYear = Run()->To().year();
    while (result.FetchRow()) {
        const long item = result.LFieldValue(QStringLiteral("nItem"));
        if (skip.contains(item))
            continue;
        const double value = result.DFieldValue(QStringLiteral("nCount"));
        const long sex = result.LFieldValue(QStringLiteral("nSex"));
        const long birthYear = result.LFieldValue(QStringLiteral("nBirthYear"));
        const long clientType = result.LFieldValue(QStringLiteral("nClientType"));
        long ageGroup = kNoCode;
        if (birthYear != kNoCode) {
            ageGroup = m_ageGroups.GetAgeGroup(endYear - birthYear);
            if (ageGroup < 0)
                ageGroup = kOther; // below every group
        }
        const long sexCol = ColumnOf(cols, kBySex, sex);
        const long ageCol = ColumnOf(cols, kByAge, ageGroup);
        const long groupCol = ColumnOf(cols, kByGroup, clientType);
        if (!consult) {
            const long row = rows.FindNdx(CPivotKey(item, 1));
            if (row < 0) {
                CTarvikApp::AddErrorMessage(
                    Tr("Нет данных о материале с кодом {id}", "msgMatWithCodeID")
                        .replace(QLatin1String("{id}"), QString::number(item)));
                continue;
            }
            m_pivot.Add(row, sexCol, value);
            m_pivot.Add(row, ageCol, value);
            m_pivot.Add(row, groupCol, value);
            continue;
        }
        const quint32 kinds = quint32(result.LFieldValue(QStringLiteral("nSubID")));
        POSITION pos = g_pConsAndDir->InitScan_sEnum2();
        while (g_pConsAndDir->ScanNext_sEnum2(pos)) {
            const long kind = g_pConsAndDir->Index_sEnum2(pos);
            if (kind == 1 || !(kinds & quint32(kind)))
                continue;
            const long row = rows.FindNdx(CPivotKey(item, kind));
            if (row < 0) {
                CTarvikApp::AddErrorMessage(
                    Tr("Нет данных о консультации с кодом {id}", "msgConsWithCodeID")
                        .replace(QLatin1String("{id}"), QString::number(item)));
                continue;
            }
            m_pivot.Add(row, sexCol, value);
            m_pivot.Add(row, ageCol, value);
            m_pivot.Add(row, groupCol, value);
        }
    }
}

void CRepPeriodKeldaDoc::OnGenerateReport(CAccStringT<wchar_t>& html) {
    CRepVisitsRunData* run = Run();
    m_pivot.KeepExpanded();
    m_pivot.Reset();
    m_ageGroups = CAgeGroups();
    FillConfiguredAgeGroups(m_ageGroups);
    CNdxToIDMap<CPivotKey> cols;
    CNdxToIDMap<CPivotKey> rows;
    cols.InitHashTable(10001);
    rows.InitHashTable(10001);
    QString poshError;
    const QString points = run->Posh().Create(&poshError);
    if (points.isEmpty())
        throw CRepError{QStringLiteral("<p>") + SafeHTML(poshError) + QStringLiteral("</p>")};

    Progress(GetReportTitle());
    MakeColumns(cols, points);
    QSet<long> skip;
    MakeRows(rows, skip);

    const QString s = SafeSQL(run->From().toString(QStringLiteral("yyyy-MM-dd")));
    const QString e = SafeSQL(run->To().toString(QStringLiteral("yyyy-MM-dd")));
    const QString w = run->workerId > 0 ? QStringLiteral(" AND dailyreport.nWorker1=") +
                                              QString::number(run->workerId)
                                        : QString();
    const bool consult = IsConsultReport();
    // Ages count from the period's end, so the rows need no date of their own.
    QStringList queries;
    queries << QStringLiteral("SELECT ") +
                   (consult ? QStringLiteral("COUNT(*) AS nCount,dailyvisits.nCount AS nSubID")
                            : QStringLiteral("SUM(dailyvisits.nCount) AS nCount")) +
                   QStringLiteral(
                       ",clientdata.nSex,clientdata.nBirthYear,clientdatachanges."
                       "nClientType,dailyvisits.nItem FROM dailyreport JOIN dailyvisits ON "
                       "dailyvisits.nReportID=dailyreport.ROWID JOIN clientdata ON  "
                       "clientdata.ROWID=dailyvisits.nClientID LEFT JOIN clientdatachanges "
                       "ON clientdatachanges.nLastLinkID=dailyvisits.nClientID JOIN ") +
                   points +
                   QStringLiteral(" AS Filter ON Filter.ROWID=dailyreport.nWorkPlace WHERE "
                                  "dailyreport.dDate>=") +
                   s + w + QStringLiteral(" AND dailyreport.dDate<=") + e +
                   QStringLiteral(" GROUP BY clientdata.nSex,clientdata.nBirthYear,"
                                  "clientdatachanges.nClientType,dailyvisits.nItem") +
                   (consult ? QStringLiteral(",dailyvisits.nCount") : QString());
    if (consult)
        queries << QStringLiteral(
                       "SELECT SUM(nCount) AS nCount,nConsultKey AS nSubID,9 AS nSex,-1000 "
                       "AS nBirthYear,-1000 AS nClientType,dailyredirects.nItem FROM "
                       "dailyreport JOIN dailyredirects ON "
                       "dailyredirects.nReportID=dailyreport.ROWID JOIN ") +
                       points +
                       QStringLiteral(" AS Filter ON Filter.ROWID=dailyreport.nWorkPlace WHERE "
                                      "dailyreport.dDate>=") +
                       s + w + QStringLiteral(" AND dailyreport.dDate<=") + e +
                       QStringLiteral(" GROUP BY  dailyredirects.nItem,dailyredirects.nConsultKey");
    std::vector<CxResult> results;
    for (const QString& query : std::as_const(queries)) {
        results.push_back(run->GetSQL()->Execute(query));
        if (!results.back().isValid())
            ThrowSQL(results.back().Error().text, query);
    }
    for (CxResult& result : results)
        AddValues(rows, cols, skip, result);

    m_pivot.GetReformater()->SetFloatDigitCount(0);
    m_poshList = run->Posh().GetPoshList();
    m_workerText = run->workerText;
    m_from = run->From();
    m_to = run->To();
    if (run->workerId <= 0)
        m_workerText.clear();
    OnBuildHTML(html);
}

void CRepPeriodKeldaDoc::OnBuildHTML(CAccStringT<wchar_t>& html) {
    m_pivot.SetDefaultHDRTDStyle(QStringLiteral("background:#cccccc;width:60px;text-align:center"));
    m_pivot.RestoreExpanded();
    m_pivot.ClearExpanded();
    CAccStringT<wchar_t> table;
    m_pivot.ResetBands();
    m_pivot.BuildHTML(table);
    const QString worker = !m_workerText.isEmpty()
                               ? m_workerText
                               : Tr("Все социальные работники", "CRepPeriodKeldaDoc::OnBuildHTML");
    html.Add(CxString::StrTr(m_template.GetSection(QStringLiteral("BODY")),
                             {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
                              {QStringLiteral("%POSH_LIST%"), m_poshList},
                              {QStringLiteral("%DATE_FROM%"), SafeHTML(DateToText(m_from))},
                              {QStringLiteral("%DATE_TO%"), SafeHTML(DateToText(m_to))},
                              {QStringLiteral("%WORKER%"), SafeHTML(worker)},
                              {QStringLiteral("%COMMENT%"), QString()},
                              {QStringLiteral("%BODY%"), table.ToString()}}));
}

int CRepPeriodKeldaDoc::OnProcessURL(const QString& url) {
    if (m_pivot.OnProcessURL(url)) {
        CAccStringT<wchar_t> page;
        OnBuildHTML(page);
        SetHTML(page.ToString());
        return 1;
    }
    return CRepVisitsDoc::OnProcessURL(url);
}
