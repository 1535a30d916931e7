#include "rep_svod_kvart.h"

#include "count_fields.h"
#include "field_ids.h"
#include "field_support.h"
#include "framework/core/select/simple_select.h"
#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "model/enums/enums.h"
#include "report_sql.h"
#include "reports/base/core/posh_selection.h"
#include "reports/base/core/rep_base_data.h"
#include "reports/base/core/rep_base_summary.h"
#include "reports/base/core/rep_config.h"
#include "reports/base/core/rep_footnotes.h"

#include <QSet>
#include <cmath>
#include <memory>
#include <vector>

using RepFieldSupport::Tr;
using ReportSQL::ShownDate;

namespace {
// Vulnerable groups and sexes the shares are made of.
constexpr long kDrugUsers = 1;
constexpr long kSexWorkers = 2;
constexpr long kMSM = 4;
constexpr long kStreetChildren = 4096;
constexpr long kMale = 1, kFemale = 2, kTrans = 3;
// Material groups the plain indicators read (the default configuration's
// codes and titles).
struct MaterialColumn {
    long code;
    const char* alias;
    const char* name;
};
constexpr MaterialColumn kCollectedSyringes{400, "syr_sobrano", "Собрано шприцев"};
constexpr MaterialColumn kSyringes{510, "syr_rozd", "Шприцы"};
constexpr MaterialColumn kNeedles{560, "igl_rozd", "Иглы"};
constexpr MaterialColumn kBooklets{520, "book_rozd", "Информационные материалы"};
constexpr MaterialColumn kFemaleCondoms{535, "wprez_rozd", "Женские презервативы"};
constexpr MaterialColumn kMaleCondoms{530, "prez", "Мужские презервативы"};

class Builder {
public:
    Builder(CRepBaseData* run, CSvodKvartFigures& figures) : m_run(run), m_figures(figures) {}

    template <class F, class... A> F* Field(A&&... args) {
        auto field = std::make_unique<F>(std::forward<A>(args)...);
        F* kept = field.get();
        m_figures.fields.push_back(std::move(field));
        return kept;
    }

    CRepBaseSummary* Add(const char* key, const char* text, CRepField* column,
                         std::initializer_list<CRepField*> rows) {
        CSvodKvartFigures::Indicator indicator;
        indicator.key = QString::fromLatin1(key);
        indicator.title = CxString::StrTr(Tr(text, key), {{QStringLiteral("{period}"), m_period}});
        indicator.table = std::make_unique<CRepBaseSummary>(indicator.title);
        indicator.table->AddColumnField(column);
        for (CRepField* row : rows)
            indicator.table->AddRowField(row);
        indicator.table->LoadTemplates(m_run);
        m_figures.indicators.push_back(std::move(indicator));
        return m_figures.indicators.back().table.get();
    }

    void SetPeriod() { m_period = ShownDate(m_run->From()) + u'-' + ShownDate(m_run->To()); }

    // The query of the fields over the window's summary, one record per
    // client; every record goes to the tables.
    void Standard(const std::vector<CRepField*>& fields,
                  const std::vector<CRepBaseSummary*>& tables) {
        CSimpleSelect select;
        for (CRepField* field : fields)
            field->AddSelect(select, m_run);
        const QString summary = m_run->PrepareSummaryTable();
        const QString points = m_run->PrepareSelectedPOU();
        select.Join(QString(), points,
                    points + QStringLiteral(".ROWID=") + summary + QStringLiteral(".nWorkplace"));
        select.Group(summary + QStringLiteral(".nClientID"));
        CxResult result = ReportSQL::Query(m_run, select.Build(summary));
        for (CRepField* field : fields)
            field->Bind(&result);
        while (result.FetchRow())
            for (CRepBaseSummary* table : tables)
                table->GetRowForCurrentRecord();
        for (CRepField* field : fields)
            field->Bind(nullptr);
    }

    // Whether the configuration's material groups give the summary a column
    // of the code; when not, the reader is told which indicator lacks what.
    bool HasColumn(const MaterialColumn& column, const QString& indicator) {
        if (m_codes.isEmpty()) {
            for (const RepMatGroup& group : RepConfig::MaterialGroups())
                if (group.group == 0)
                    m_codes.insert(group.id);
        }
        if (m_codes.contains(column.code))
            return true;
        m_run->AddFootnote(CxString::StrTr(
            Tr("В конфигурации нет группы материалов {code} «{name}»: в показателе «{indicator}» "
               "она не учтена",
               "msgNoMatGroupForIndicator"),
            {{QStringLiteral("{code}"), QString::number(column.code)},
             {QStringLiteral("{name}"), SafeHTML(QString::fromUtf8(column.name))},
             {QStringLiteral("{indicator}"), SafeHTML(indicator)}}));
        return false;
    }

    QString Title(const char* key, const char* text) const {
        return CxString::StrTr(Tr(text, key), {{QStringLiteral("{period}"), m_period}});
    }

private:
    CRepBaseData* m_run;
    CSvodKvartFigures& m_figures;
    QString m_period;
    QSet<long> m_codes;
};

double Share(long count, long base) {
    if (base == 0)
        return 0.0;
    return std::round(double(count) * 100.0 / double(base) * 100.0) / 100.0;
}

} // namespace

// ---- the figures ----

CSvodKvartFigures::CSvodKvartFigures() = default;
CSvodKvartFigures::~CSvodKvartFigures() = default;

const CSvodKvartFigures::Indicator* CSvodKvartFigures::Find(const QString& key) const {
    for (const Indicator& indicator : indicators)
        if (indicator.key == key)
            return &indicator;
    return nullptr;
}

long CSvodKvartFigures::Cell(const QString& key, const QList<long>& groupValues) const {
    const Indicator* indicator = Find(key);
    if (!indicator)
        return 0;
    CMemNDX<long> row;
    for (long value : groupValues)
        row.Add(value);
    const long line = indicator->table->FindRow(row);
    if (line < 0)
        return 0;
    const CDoubleArr* totals = indicator->table->GetLineTotals(line);
    return totals && totals->GetSize() > 0 ? long(totals->GetAt(0)) : 0;
}

// ---- the fields of this report ----

CRF_RiskDlyaRegKvart::CRF_RiskDlyaRegKvart(const QDate& yearStart, const QDate& quarterStart,
                                           const QDate& end)
    : CRF_RiskGroup(kRFRiskDlyaRegKvart, "nClientType", "Основная уязвимая группа на конец периода",
                    "msgMainRiskGroup", 0x10017),
      m_yearStart(yearStart), m_quarterStart(quarterStart), m_end(end) {}

void CRF_RiskDlyaRegKvart::OnNewRow() {
    m_code = ColumnLong();
    m_text = GroupsText(m_code, "CRF_RiskDlyaRegKvart::GetDetValue");
    const QDate start = (m_code == kSexWorkers || m_code == kMSM) ? m_quarterStart : m_yearStart;
    m_groupText = QStringLiteral("%1 (%2-%3)").arg(m_text, ShownDate(start), ShownDate(m_end));
}

QString CRF_RiskDlyaRegKvart::GetGroupText() {
    Refresh();
    return m_groupText;
}

CRF_VirtualColumn::CRF_VirtualColumn()
    : CRepFieldBase(kRFVirtualColumn, "", "Количество", "CRF_VirtualColumn::GetTitle", 0x8, "num") {
}

// ---- the report ----

QString CRep_SvodnyeDannyDlyaKvart::GetReportTitle() {
    return Tr("Сводные данные для квартального отчета в Велмар", "msgRepSvodVelmar");
}

void CRep_SvodnyeDannyDlyaKvart::OnSetupView() {
    if (CRepViewLink* view = GetView()) {
        view->EnableControl(kRepCtlWorker, false);
        view->EnableControl(kRepCtlFrom, false);
    }
}

void CRep_SvodnyeDannyDlyaKvart::OnGenerateReport(CAccStringT<wchar_t>& html) {
    m_figures.reset();
    std::unique_ptr<CSvodKvartFigures> figures = Gather();
    m_figures = std::move(figures);
    html.Add(Page(*m_figures));
}

std::unique_ptr<CSvodKvartFigures> CRep_SvodnyeDannyDlyaKvart::Gather() {
    CRepBaseData* run = GetRunData();
    CxSQL* sql = run->GetSQL();
    auto figures = std::make_unique<CSvodKvartFigures>();
    Builder b(run, *figures);
    const QString chosen = CPoshFilter::GetPoshList(sql);
    figures->selectionMark = chosen.isEmpty() ? QString() : run->AddFootnote(chosen);

    // The quarter: the end date's month and the two before it.
    run->SetEndToMonthEnd();
    run->SetStartMonthsBack(3);
    const QDate end = run->To();
    figures->end = end;
    const QDate quarterStart = run->From();
    b.SetPeriod();

    // Block A: people served in the quarter, one record per client.
    auto* risk = b.Field<CRF_RiskGroup>();
    auto* sex = b.Field<CRF_Sex>();
    auto* clients = b.Field<CRF_Clients>();
    auto* fresh = b.Field<CRF_NewClient>();
    auto* pharmacy = b.Field<CRF_Apteka>();
    auto* pharmacyNew = b.Field<CRF_AptekaNew>();
    // People who used the community centre's services (not the services).
    auto* centre = b.Field<CRF_Config>(CRF_VirtKC::kCommunityCode + kRFConfigClients,
                                       Tr("Клиентов", "msgClientOne"));
    auto* pdiIdu = b.Field<CRF_PDIIDU_New>();
    auto* pdiWcs = b.Field<CRF_PDIWCS_New>();
    CRepBaseSummary* tot3 =
        b.Add("msgSumTot3",
              "Общее количество людей, получивших услуги по профилактике ВИЧ за отчётный период "
              "({period})",
              clients, {risk, sex});
    const std::vector<CRepBaseSummary*> blockA{
        tot3,
        b.Add("msgSumNew3",
              "Из них - количество  новых людей, получивших услуги по профилактике ВИЧ за "
              "отчетный квартал ({period})",
              fresh, {risk, sex}),
        b.Add("msgSumApt3",
              "Количество людей, получивших услуги по профилактике ВИЧ в АПТЕКАХ за отчётный "
              "период ({period})",
              pharmacy, {risk, sex}),
        b.Add("msgSumNewApt3",
              "Из них - количество  новых людей, получивших услуги по профилактике ВИЧ в "
              "АПТЕКАХ за отчетный квартал ({period})",
              pharmacyNew, {risk, sex}),
        b.Add("msgSumKC3",
              "Количество людей, воспользовавшихся услугами комьюнити центра в течение "
              "отчётного квартала ({period})",
              centre, {sex}),
        b.Add("msgPDIIDU12",
              "Количество ПИН, привлеченных в рамках модели \"Внедрение силами равных\", за "
              "квартал ({period})",
              pdiIdu, {sex}),
        b.Add("msgPDIWCS12",
              "Количество РКС, привлеченных в рамках модели \"Внедрение силами равных\", за "
              "квартал ({period})",
              pdiWcs, {sex}),
    };
    b.Standard({risk, sex, clients, fresh, pharmacy, pharmacyNew, centre, pdiIdu, pdiWcs}, blockA);
    // The bases of the quarter's shares.
    const auto cell = [&](const char* key, const QList<long>& groupValues) {
        return figures->Cell(QString::fromLatin1(key), groupValues);
    };
    const long wcs = cell("msgSumTot3", {kSexWorkers});
    const long wcsMale = cell("msgSumTot3", {kSexWorkers, kMale});
    const long wcsFemale = cell("msgSumTot3", {kSexWorkers, kFemale});
    const long msm = cell("msgSumTot3", {kMSM});
    const long msmMale = cell("msgSumTot3", {kMSM, kMale});
    const long msmFemale = cell("msgSumTot3", {kMSM, kFemale});
    const long msmTrans = cell("msgSumTot3", {kMSM, kTrans});

    const QString summary = run->PrepareSummaryTable();
    const QString points = run->PrepareSelectedPOU();
    const QString inPoints = QStringLiteral(" JOIN ") + points + QStringLiteral(" ON ") + points +
                             QStringLiteral(".ROWID=") + summary + QStringLiteral(".nWorkplace");
    auto* column = b.Field<CRF_VirtualColumn>();
    const auto sumOf = [&](const MaterialColumn& m) {
        return QStringLiteral("SUM(%1.`sum%2`) AS %3")
            .arg(summary)
            .arg(m.code)
            .arg(QString::fromLatin1(m.alias));
    };

    // Block B: materials handed out and collected in the quarter.
    const QString syrOutTitle =
        b.Title("msgSyrOut", "Количество распространённых шприцев за период ({period})");
    const QString syrBackTitle =
        b.Title("msgSyrBack2", "Количество собранных шприцев за период ({period})");
    const QString bookTitle = b.Title("msgBuk", "Общее количество распространенных ИОМ ({period})");
    const QString condWTitle = b.Title(
        "msgCondW", "Количество распространенных женских презервативов за период ({period})");
    const bool syringes = b.HasColumn(kSyringes, syrOutTitle);
    const bool needles = b.HasColumn(kNeedles, syrOutTitle);
    const bool collected = b.HasColumn(kCollectedSyringes, syrBackTitle);
    const bool booklets = b.HasColumn(kBooklets, bookTitle);
    const bool femaleCondoms = b.HasColumn(kFemaleCondoms, condWTitle);
    QStringList items;
    for (const auto& [present, m] :
         {std::pair{collected, kCollectedSyringes}, std::pair{syringes, kSyringes},
          std::pair{needles, kNeedles}, std::pair{booklets, kBooklets},
          std::pair{femaleCondoms, kFemaleCondoms}})
        if (present)
            items << sumOf(m);
    CxResult materials;
    if (!items.isEmpty()) {
        materials = ReportSQL::Query(run, QStringLiteral("SELECT ") + items.join(u',') +
                                              QStringLiteral(" FROM ") + summary + inPoints);
        materials.FetchRow();
    }
    const auto material = [&](const MaterialColumn& m) {
        return double(materials.LFieldValue(QString::fromLatin1(m.alias)));
    };
    long nextLine = 1;
    const auto valueLine = [&](CRepBaseSummary* table, const QString& title, double value) {
        const long id = nextLine++;
        table->GetLines().AddLine(id, 0, title, 0, id);
        CDoubleArr values;
        values.Append(value);
        table->GetLines().AddValues(id, values);
    };
    const auto total = [](CRepBaseSummary* table, double value) {
        CDoubleArr values;
        values.Append(value);
        table->GetLines().AddValues(0, values);
    };
    if (syringes || needles) {
        CRepBaseSummary* t = b.Add(
            "msgSyrOut", "Количество распространённых шприцев за период ({period})", column, {});
        if (syringes)
            valueLine(t, Tr("Шприцы", "msgSyrs"), material(kSyringes));
        if (needles)
            valueLine(t, Tr("Иглы", "msgNeedles"), material(kNeedles));
    }
    if (collected)
        total(b.Add("msgSyrBack2", "Количество собранных шприцев за период ({period})", column, {}),
              material(kCollectedSyringes));
    if (booklets)
        total(b.Add("msgBuk", "Общее количество распространенных ИОМ ({period})", column, {}),
              material(kBooklets));

    // Block C: male condoms by the client's group at the end date.
    const QString condMTitle = b.Title(
        "msgCondMan", "Количество распространенных мужских презервативов за период ({period})");
    if (b.HasColumn(kMaleCondoms, condMTitle)) {
        CSimpleSelect select;
        const QString state = run->PrepareSnapshotTables(&select, end);
        select.Select(sumOf(kMaleCondoms));
        select.Select(state + QStringLiteral(".nClientType"));
        select.Join(QString(), points,
                    points + QStringLiteral(".ROWID=") + summary + QStringLiteral(".nWorkplace"));
        select.Group(state + QStringLiteral(".nClientType"));
        select.Order(state + QStringLiteral(".nClientType"));
        CxResult rows = ReportSQL::Query(run, select.Build(summary));
        double others = 0, children = 0;
        bool any = false;
        while (rows.FetchRow()) {
            any = true;
            const double prez = rows.DFieldValue(QStringLiteral("prez"));
            if (rows.LFieldValue(QStringLiteral("nClientType")) == kStreetChildren)
                children += prez;
            else
                others += prez;
        }
        if (any) {
            CRepBaseSummary* t = b.Add("msgCondMan",
                                       "Количество распространенных мужских презервативов за "
                                       "период ({period})",
                                       column, {});
            valueLine(t, Tr("Основные группы риска", "msgOther"), others);
            valueLine(t, Tr("Дети улиц", "msgChildUliz"), children);
        }
    }
    if (femaleCondoms)
        total(b.Add("msgCondW",
                    "Количество распространенных женских презервативов за период ({period})",
                    column, {}),
              material(kFemaleCondoms));

    // Block D: service points that served anyone in the quarter, by type.
    {
        CRepBaseSummary* t =
            b.Add("msgDeistvPunkt",
                  "Количество действующих пунктов предоставления услуг ({period})", column, {});
        CxResult rows =
            ReportSQL::Query(run, QStringLiteral("SELECT dir.nType,COUNT(DISTINCT ") + summary +
                                      QStringLiteral(".nWorkplace) AS nCount FROM ") + summary +
                                      QStringLiteral(" JOIN dir ON dir.ROWID=") + summary +
                                      QStringLiteral(".nWorkplace AND dir.nDirType=1") + inPoints +
                                      QStringLiteral(" GROUP BY dir.nType ORDER BY dir.nType"));
        const QString error = Tr("Ошибка", "msgError");
        while (rows.FetchRow()) {
            const long type = rows.LFieldValue(0);
            const long id = nextLine++;
            t->GetLines().AddLine(id, 0, g_pNodeType->IDToString(type, error), 0, type);
            CDoubleArr values;
            values.Append(rows.DFieldValue(1));
            t->GetLines().AddValues(id, values);
        }
    }

    // Block E: the twelve months that end with the quarter.
    run->SetStartMonthsBack(12);
    const QDate yearStart = run->From();
    b.SetPeriod();
    auto* riskE = b.Field<CRF_RiskGroup>();
    auto* sexE = b.Field<CRF_Sex>();
    auto* clientsE = b.Field<CRF_Clients>();
    auto* pharmacyE = b.Field<CRF_Apteka>();
    auto* regular = b.Field<CRF_RegClients>();
    auto* riskReg = b.Field<CRF_RiskDlyaRegKvart>(yearStart, quarterStart, end);
    CRepBaseSummary* tot12 =
        b.Add("msgSumTot12",
              "Общее количество людей, охваченных профилактическими услугами за последние 12 "
              "месяцев ({period})",
              clientsE, {riskE, sexE});
    CRepBaseSummary* apt12 =
        b.Add("msgSumApt12",
              "Общее количество людей, охваченных профилактическими услугами в Аптеках за "
              "последние 12 месяцев ({period})",
              pharmacyE, {riskE, sexE});
    CRepBaseSummary* reg12 =
        b.Add("msgSumReg12", "Количество регулярных клиентов проекта", regular, {riskReg, sexE});
    b.Standard({riskE, sexE, clientsE, pharmacyE, regular, riskReg}, {tot12, apt12, reg12});

    // Shares of regular clients: drug users over the twelve months, sex
    // workers and MSM over the quarter. The MSM rows of one sex show when
    // that sex has regular clients.
    struct ShareRow {
        const char* key;
        const char* text;
        long regular;
        long base;
        bool shown;
    };
    const long regMsmMale = cell("msgSumReg12", {kMSM, kMale});
    const long regMsmFemale = cell("msgSumReg12", {kMSM, kFemale});
    const long regMsmTrans = cell("msgSumReg12", {kMSM, kTrans});
    const ShareRow shares[] = {
        {"msgRegIDU", "Регулярных клиентов ПИН (12 мес), %", cell("msgSumReg12", {kDrugUsers}),
         cell("msgSumTot12", {kDrugUsers}), true},
        {"msgRegIDU_Male", "мужчин (12 мес), %", cell("msgSumReg12", {kDrugUsers, kMale}),
         cell("msgSumTot12", {kDrugUsers, kMale}), true},
        {"msgRegIDU_Female", "женщин (12 мес), %", cell("msgSumReg12", {kDrugUsers, kFemale}),
         cell("msgSumTot12", {kDrugUsers, kFemale}), true},
        {"msgRegWCS", "Регулярных клиентов РКС (3 мес), %", cell("msgSumReg12", {kSexWorkers}), wcs,
         true},
        {"msgRegWCS_Male", "мужчин (3 мес), %", cell("msgSumReg12", {kSexWorkers, kMale}), wcsMale,
         true},
        {"msgRegWCS_Female", "женщин (3 мес), %", cell("msgSumReg12", {kSexWorkers, kFemale}),
         wcsFemale, true},
        {"msgRegMS", "Регулярных клиентов МСМ (3 мес), %", cell("msgSumReg12", {kMSM}), msm, true},
        {"msgRegMS_Male", "мужчин (3 мес), %", regMsmMale, msmMale, regMsmMale != 0},
        {"msgRegMS_Trans", "трансгендеров (3 мес), %", regMsmTrans, msmTrans, regMsmTrans != 0},
        {"msgRegMS_Female", "женщин (3 мес), %", regMsmFemale, msmFemale, regMsmFemale != 0},
    };
    CSvodKvartFigures::Indicator* regular12 = nullptr;
    for (CSvodKvartFigures::Indicator& indicator : figures->indicators)
        if (indicator.table.get() == reg12)
            regular12 = &indicator;
    for (const ShareRow& row : shares)
        if (row.shown)
            regular12->shares.append({Tr(row.text, row.key), Share(row.regular, row.base)});
    return figures;
}

QString CRep_SvodnyeDannyDlyaKvart::Page(const CSvodKvartFigures& figures) {
    CRepBaseData* run = GetRunData();
    // Every indicator's table in the order made, its share rows after it. A
    // table writes no line whose figures are all zero, its title line
    // included, like every other summary table.
    CAccStringT<wchar_t> tables;
    for (const CSvodKvartFigures::Indicator& indicator : figures.indicators) {
        indicator.table->GetHTML(tables, run, false);
        for (const auto& [title, value] : indicator.shares)
            indicator.table->AddValueRow(tables, title, value);
    }
    const CHTMLTemplate& tpl = run->GetReportTemplate();
    const QString body = tables.ToString();
    return CxString::StrTr(
        tpl.GetSection(QStringLiteral("REPORT2")),
        {{QStringLiteral("%TITLE%"), SafeHTML(GetReportTitle())},
         // The mark goes beside the heading only: the browser's title shows no markup.
         {QStringLiteral("%MARK%"),
          figures.selectionMark.isEmpty()
              ? QString()
              : QStringLiteral("<sup>") + figures.selectionMark + QStringLiteral("</sup>")},
         {QStringLiteral("%PERIOD%"),
          SafeHTML(Tr("На дату {enddate}", "msgNaDatu")
                       .replace(QLatin1String("{enddate}"), ShownDate(figures.end)))},
         {QStringLiteral("%DETAIL%"), QString()},
         {QStringLiteral("%SUMMARY%"),
          body.isEmpty() ? QString()
                         : CxString::StrTr(tpl.GetSection(QStringLiteral("SM.REPORT")),
                                           {{QStringLiteral("%BODY%"), body}})},
         {QStringLiteral("%COMMENT%"), FootnotesHTML(tpl, run->GetFootnotes())}});
}
