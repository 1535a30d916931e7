#include "tab_calc.h"

#include "framework/core/strings/cx_string.h"
#include "framework/core/tarvik_app.h"

#include <algorithm>

int CxTabCalc::CLine::GetLevel() const {
    int level = 0;
    for (const CLine* p = m_parent; p; p = p->m_parent)
        ++level;
    return level;
}

CxTabCalc::CLine* CxTabCalc::CRoot::Map(long index, long parentIndex) {
    if (CLine* line = m_lines.value(index))
        return line;
    auto owned = std::make_unique<CLine>();
    CLine* line = owned.get();
    m_owned.push_back(std::move(owned));
    line->m_index = index;
    CLine* parent = parentIndex != 0 ? m_lines.value(parentIndex) : nullptr;
    line->m_parent = parent;
    if (parent)
        parent->m_children.append(line);
    else
        m_top.append(line);
    m_lines.insert(index, line);
    return line;
}

CxTabCalc::CLine* CxTabCalc::CRoot::Find(long index) const {
    return m_lines.value(index);
}

void CxTabCalc::CRoot::Clear() {
    m_lines.clear();
    m_top.clear();
    m_owned.clear();
}

QString CxTabCalc::CReformater::Format(double value) const {
    if (value == 0.0)
        return QStringLiteral("&nbsp;");
    return DoubleToString(value, QStringLiteral("%.") + QString::number(m_digits) + u'f',
                          m_digits > 0 ? kDoubleTrimZeros | kDoubleTrimPoint : 0,
                          QStringLiteral("&nbsp;"));
}

void CxTabCalc::Add(long rowIndex, long colIndex, double value) {
    if (!m_rows.Find(rowIndex) || !m_cols.Find(colIndex))
        return;
    m_values[qMakePair(rowIndex, colIndex)] += value;
}

void CxTabCalc::Aggregate(QHash<QPair<long, long>, double>& sums) const {
    sums.clear();
    for (auto it = m_values.cbegin(); it != m_values.cend(); ++it) {
        for (const CLine* r = m_rows.Find(it.key().first); r; r = r->GetParent())
            for (const CLine* c = m_cols.Find(it.key().second); c; c = c->GetParent())
                sums[qMakePair(r->GetIndex(), c->GetIndex())] += it.value();
    }
}

double CxTabCalc::GetValue(long rowIndex, long colIndex) const {
    QHash<QPair<long, long>, double> sums;
    Aggregate(sums);
    return sums.value(qMakePair(rowIndex, colIndex));
}

void CxTabCalc::Reset() {
    m_rows.Clear();
    m_cols.Clear();
    m_values.clear();
}

void CxTabCalc::KeepExpanded(void*, void*) {
    for (auto it = m_rows.m_lines.cbegin(); it != m_rows.m_lines.cend(); ++it)
        m_keptRows.insert(it.key(), it.value()->IsExpanded());
    for (auto it = m_cols.m_lines.cbegin(); it != m_cols.m_lines.cend(); ++it)
        m_keptCols.insert(it.key(), it.value()->IsExpanded());
}

void CxTabCalc::RestoreExpanded(void*, void*) {
    for (auto it = m_keptRows.cbegin(); it != m_keptRows.cend(); ++it)
        if (CLine* line = m_rows.Find(it.key()))
            line->Expand(it.value());
    for (auto it = m_keptCols.cbegin(); it != m_keptCols.cend(); ++it)
        if (CLine* line = m_cols.Find(it.key()))
            line->Expand(it.value());
}

void CxTabCalc::ClearExpanded() {
    m_keptRows.clear();
    m_keptCols.clear();
}

void CxTabCalc::Visible(const QList<CLine*>& lines, QList<CLine*>& out) {
    for (CLine* line : lines) {
        out.append(line);
        if (line->IsExpanded() && !line->Children().isEmpty())
            Visible(line->Children(), out);
    }
}

int CxTabCalc::Depth(const CLine* line) {
    if (!line->IsExpanded() || line->Children().isEmpty())
        return 1;
    int deepest = 1;
    for (const CLine* child : line->Children())
        deepest = std::max(deepest, Depth(child));
    return 1 + deepest;
}

int CxTabCalc::Width(const CLine* line) {
    if (!line->IsExpanded() || line->Children().isEmpty())
        return 1;
    int width = 1; // the parent's own total column
    for (const CLine* child : line->Children())
        width += Width(child);
    return width;
}

QString CxTabCalc::Link(const QString& side, const CLine* line) {
    if (line->Children().isEmpty())
        return QString();
    return QStringLiteral("<a href='tabcalc:%1:%2'>%3</a>&nbsp;")
        .arg(side)
        .arg(line->GetIndex())
        .arg(line->IsExpanded() ? QStringLiteral("&minus;") : QStringLiteral("+"));
}

void CxTabCalc::HeaderRows(CLine* line, int level, int depth, QList<QString>& rows) {
    const QString style =
        m_headerStyle.isEmpty() ? QString() : QStringLiteral(" style='") + m_headerStyle + u'\'';
    const QString title = Link(QStringLiteral("col"), line) + SafeHTML(line->GetTitle());
    if (!line->IsExpanded() || line->Children().isEmpty()) {
        rows[level] += QStringLiteral("<td id='TABCALC' rowspan='%1'%2>%3</td>")
                           .arg(depth - level)
                           .arg(style, title);
        return;
    }
    rows[level] += QStringLiteral("<td id='TABCALC' colspan='%1'%2>%3</td>")
                       .arg(Width(line))
                       .arg(style, title);
    rows[level + 1] += QStringLiteral("<td id='TABCALC' rowspan='%1'%2>%3</td>")
                           .arg(depth - level - 1)
                           .arg(style, SafeHTML(CTarvikApp::TranslateString(
                                           QStringLiteral("Всего"), QStringLiteral("msgTotal"))));
    for (CLine* child : line->Children())
        HeaderRows(child, level + 1, depth, rows);
}

QString CxTabCalc::GetStyle(CLine*, CLine*, int, int) {
    return QStringLiteral("text-align:right");
}

void CxTabCalc::BuildHTML(CAccStringT<wchar_t>& out, void*) {
    QHash<QPair<long, long>, double> sums;
    Aggregate(sums);
    QList<CLine*> rows;
    QList<CLine*> cols;
    Visible(m_rows.Top(), rows);
    Visible(m_cols.Top(), cols);

    int depth = 1;
    for (const CLine* line : m_cols.Top())
        depth = std::max(depth, Depth(line));
    QList<QString> headerRows(depth);
    for (CLine* line : m_cols.Top())
        HeaderRows(line, 0, depth, headerRows);

    // Borders by attribute as well, for viewers without CSS borders.
    QString html =
        QStringLiteral("<table id='TABCALC' border='1' cellspacing='0' cellpadding='2'>");
    const QString style =
        m_headerStyle.isEmpty() ? QString() : QStringLiteral(" style='") + m_headerStyle + u'\'';
    for (int i = 0; i < depth; ++i) {
        html += QStringLiteral("<tr>");
        if (i == 0)
            html +=
                QStringLiteral("<td id='TABCALC' rowspan='%1'%2>&nbsp;</td>").arg(depth).arg(style);
        html += headerRows.at(i) + QStringLiteral("</tr>\n");
    }
    for (int r = 0; r < rows.size(); ++r) {
        CLine* row = rows.at(r);
        html += QStringLiteral(
                    "<tr><td id='TABCALC' style='text-align:left;padding-left:%1px'>%2%3</td>")
                    .arg(row->GetLevel() * 12)
                    .arg(Link(QStringLiteral("row"), row), SafeHTML(row->GetTitle()));
        for (int c = 0; c < cols.size(); ++c) {
            CLine* col = cols.at(c);
            const double value = sums.value(qMakePair(row->GetIndex(), col->GetIndex()));
            html += QStringLiteral("<td id='TABCALC' style='") + GetStyle(row, col, r, c) +
                    QStringLiteral("'>") + m_reformater.Format(value) + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>");
    out.Add(html);
}

int CxTabCalc::OnProcessURL(const QString& url) {
    const QStringList parts = url.split(u':');
    if (parts.size() != 3 || parts.at(0) != QLatin1String("tabcalc"))
        return 0;
    bool ok = false;
    const long index = parts.at(2).toLong(&ok);
    if (!ok)
        return 0;
    CRoot* root = parts.at(1) == QLatin1String("row")   ? &m_rows
                  : parts.at(1) == QLatin1String("col") ? &m_cols
                                                        : nullptr;
    CLine* line = root ? root->Find(index) : nullptr;
    if (!line)
        return 0;
    line->Expand(!line->IsExpanded());
    return 1;
}
