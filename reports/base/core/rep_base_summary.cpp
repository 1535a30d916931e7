#include "rep_base_summary.h"

#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"
#include "rep_base_data.h"
#include "rep_field.h"

CRepBaseSummary::CRepBaseSummary(const QString& title, long summaryId) : m_summaryId(summaryId) {
    m_lines.SetRootTitle(title.isNull() ? CTarvikApp::TranslateString(QStringLiteral("Всего"),
                                                                      QStringLiteral("msgTotal"))
                                        : title);
    m_keyMap.reserve(1024);
}

void CRepBaseSummary::LoadTemplates(CRepBaseData* run) {
    const CHTMLTemplate& t = run->GetReportTemplate();
    m_rowTemplate = t.GetSection(QStringLiteral("SM.ROW"));
    m_hdrTemplate = t.GetSection(QStringLiteral("SM.HDR"));
    m_cellTemplate = t.GetSection(QStringLiteral("SM.CELL"));
    m_hcellTemplate = t.GetSection(QStringLiteral("SM.HCELL"));
    m_current.RemoveAll();
    m_current.SetSize(int(m_columnFields.size()));
}

int CRepBaseSummary::GetRowForCurrentRecord() {
    m_rowKey.RemoveAll();
    for (CRepField* field : std::as_const(m_rowFields))
        m_rowKey.Add(field->GetGroupID());
    long lineId = CSummaryLines<CDoubleArr>::kRootID;
    auto found = m_keyMap.constFind(m_rowKey);
    if (found != m_keyMap.constEnd()) {
        lineId = *found;
    } else {
        const CMemNDX<long> full = m_rowKey;
        CMemNDX<long> partial;
        long parent = CSummaryLines<CDoubleArr>::kRootID;
        for (int level = 0; level < full.GetCount(); ++level) {
            partial.Add(full.GetAt(level));
            auto known = m_keyMap.constFind(partial);
            if (known != m_keyMap.constEnd()) {
                parent = *known;
                continue;
            }
            const long id = m_nextLineId++;
            m_keyMap.insert(partial, id);
            m_lines.AddLine(id, parent, m_rowFields.at(level)->GetGroupText(), 0,
                            full.GetAt(level));
            parent = id;
        }
        lineId = parent;
    }
    m_current.SetSize(int(m_columnFields.size()));
    for (int j = 0; j < m_columnFields.size(); ++j)
        m_current[j] = m_columnFields.at(j)->GetValue();
    return m_lines.AddValues(lineId, m_current);
}

long CRepBaseSummary::FindRow(const CMemNDX<long>& key) const {
    return m_keyMap.value(key, -1);
}

CDoubleArr* CRepBaseSummary::GetLineTotals(long id) {
    CSummaryLine<CDoubleArr>* line = m_lines.FindLine(id);
    if (!line)
        return nullptr;
    line->CalcTotals();
    return &line->GetTotals();
}

QString CRepBaseSummary::CellText(double value) {
    return DoubleToString(value, QStringLiteral("%.3f"), kDoubleTrimZeros | kDoubleTrimPoint,
                          QStringLiteral("&nbsp;"));
}

QString CRepBaseSummary::LineClass(int level, int depth) const {
    if (m_level0Style && level == 0)
        return QStringLiteral("3");
    int k = level;
    if (depth < 6)
        k = level + 7 - depth;
    return (k >= 0 && k <= 5) ? QString::number(k + 1) : QStringLiteral("7");
}

void CRepBaseSummary::GetHTML(CAccStringT<wchar_t>& html, CRepBaseData* run, bool noHeader) {
    m_lines.CalcTotals();
    m_lines.SetTotalsValid();
    if (!noHeader) {
        const int columns = int(m_columnFields.size());
        QString cells;
        for (CRepField* field : std::as_const(m_columnFields)) {
            const long n = field->GetFootnote(run);
            const QString mark =
                n != -1 ? QStringLiteral("<sup><small>%1</small></sup>").arg(n) : QString();
            const QString body =
                SafeHTML(field->GetTitle(), kSafeHTMLBreaks) + mark + field->GetWarning(run);
            cells += CxString::StrTr(
                m_hcellTemplate,
                {{QStringLiteral("%BODY%"), body},
                 {QStringLiteral("%CLASS%"), field->GetCSSClass()},
                 {QStringLiteral("%WIDTH%"), QString::number(100 / (columns + 2))}});
        }
        html.Add(CxString::StrTr(m_hdrTemplate,
                                 {{QStringLiteral("%BODY%"), cells},
                                  {QStringLiteral("%SPANCOUNT%"), QString::number(columns + 1)},
                                  {QStringLiteral("%SUBBODY%"), QString()}}));
    }
    WriteLine(&m_lines, html, 0, GetDepth(&m_lines));
}

void CRepBaseSummary::WriteLine(CSummaryLine<CDoubleArr>* line, CAccStringT<wchar_t>& html,
                                int level, int depth) {
    const QString cls = LineClass(level, depth);
    line->Sort();
    const CDoubleArr& totals = line->GetTotals();
    QString cells;
    bool any = false;
    for (int i = 0; i < totals.GetSize(); ++i) {
        const double v = totals.GetAt(i);
        if (v != 0.0)
            any = true;
        cells += CxString::StrTr(m_cellTemplate, {{QStringLiteral("%BODY%"), CellText(v)},
                                                  {QStringLiteral("%CLASS%"), cls}});
    }
    if (any)
        html.Add(CxString::StrTr(m_rowTemplate,
                                 {{QStringLiteral("%BODY%"), cells},
                                  {QStringLiteral("%TITLE%"), SafeHTML(line->GetTitle())},
                                  {QStringLiteral("%CLASS%"), cls},
                                  {QStringLiteral("%PADDING%"), QString::number(level * 20)}}));
    for (CSummaryLine<CDoubleArr>* child : line->GetChildren())
        WriteLine(child, html, level + 1, depth);
}

void CRepBaseSummary::AddValueRow(CAccStringT<wchar_t>& html, const QString& title, double value) {
    const QString cell =
        CxString::StrTr(m_cellTemplate, {{QStringLiteral("%BODY%"), CellText(value)},
                                         {QStringLiteral("%CLASS%"), QStringLiteral("3")}});
    html.Add(CxString::StrTr(m_rowTemplate, {{QStringLiteral("%BODY%"), cell},
                                             {QStringLiteral("%TITLE%"), SafeHTML(title)},
                                             {QStringLiteral("%CLASS%"), QStringLiteral("3")},
                                             {QStringLiteral("%PADDING%"), QStringLiteral("0")}}));
}
