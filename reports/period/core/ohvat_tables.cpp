#include "ohvat_tables.h"

#include "framework/core/app/html_template.h"
#include "framework/core/report/rep_doc.h"
#include "framework/core/strings/cx_string.h"
#include "reports/base/core/rep_field.h"

#include <cmath>

COhvatTables::COhvatTables(const QList<QList<CRepField*>>& rowGroups,
                           const QList<CRepField*>& pivots, const QList<CRepField*>& values,
                           const QString& rootTitle)
    : m_pivots(pivots), m_values(values) {
    for (const QList<CRepField*>& rows : rowGroups) {
        auto table = std::make_unique<Table>();
        table->rows = rows;
        table->lines.SetRootTitle(rootTitle);
        m_tables.push_back(std::move(table));
    }
    for (CRepField* field : values)
        m_kinds << field->GetValueKind();
}

void COhvatTables::BeginPeriod(int index) {
    m_block = index * int(m_values.size());
}

void COhvatTables::CountPersons(long line, const QList<qint32>& persons) {
    const int n = int(m_values.size());
    for (int j = 0; j < n; ++j) {
        if (!(m_kinds.at(j) & CRepField::kValuePersonKey))
            continue;
        const PersonSlot slot{persons.at(j), line, m_block + j};
        if (m_persons.contains(slot))
            continue;
        m_persons.insert(slot);
        CDoubleArr& counts = m_unique[line];
        if (counts.GetSize() < m_block + n)
            counts.SetSize(m_block + n);
        counts[m_block + j] += 1.0;
    }
}

void COhvatTables::AddRecord() {
    const int n = int(m_values.size());
    QList<qint32> persons(n, 0);
    CDoubleArr values;
    values.SetSize(m_block + n);
    for (int j = 0; j < n; ++j) {
        if (m_kinds.at(j) & CRepField::kValuePersonKey)
            persons[j] = qint32(qint64(m_values.at(j)->GetValue()));
        else
            values[m_block + j] = m_values.at(j)->GetValue();
    }
    // The root of every table is the same line: all records.
    CountPersons(CSummaryLines<CDoubleArr>::kRootID, persons);
    QList<long> pivotIds;
    for (CRepField* pivot : std::as_const(m_pivots))
        pivotIds << pivot->GetGroupID();
    for (int g = 0; g < int(m_tables.size()); ++g) {
        Table& table = *m_tables[g];
        QList<long> key{g};
        key += pivotIds;
        long parent = CSummaryLines<CDoubleArr>::kRootID;
        for (CRepField* field : std::as_const(table.rows)) {
            key << field->GetGroupID();
            long id;
            auto known = m_lineKeys.constFind(key);
            if (known != m_lineKeys.constEnd()) {
                id = known.value();
            } else {
                id = m_nextLine++;
                m_lineKeys.insert(key, id);
                table.lines.AddLine(id, parent, field->GetGroupText(), 0, key.last());
                for (int p = 0; p < m_pivots.size(); ++p)
                    m_pivotText.insert({p, id}, m_pivots.at(p)->GetGroupText());
            }
            CountPersons(id, persons);
            parent = id;
        }
        // Plain values go to the deepest line; the lines above get them as
        // totals.
        table.lines.AddValues(parent, values);
    }
}

long COhvatTables::FindLine(int group, const QList<long>& groupValues) const {
    QList<long> key{group};
    key += groupValues;
    return m_lineKeys.value(key, -1);
}

double COhvatTables::CellValue(int group, long line, int position) {
    const int n = int(m_values.size());
    if (n == 0 || group < 0 || group >= int(m_tables.size()))
        return 0.0;
    const long kind = m_kinds.at(position % n);
    CSummaryLines<CDoubleArr>& lines = m_tables[group]->lines;
    if (!lines.TotalsValid()) {
        lines.CalcTotals();
        lines.SetTotalsValid();
    }
    const auto figure = [&](long id) {
        if (kind & CRepField::kValuePersonKey) {
            const CDoubleArr counts = m_unique.value(id);
            return position < counts.GetSize() ? counts.GetAt(position) : 0.0;
        }
        CSummaryLine<CDoubleArr>* at = lines.FindLine(id);
        if (!at)
            return 0.0;
        const CDoubleArr& totals = at->GetTotals();
        return position < totals.GetSize() ? totals.GetAt(position) : 0.0;
    };
    const double value = figure(line);
    if (!(kind & CRepField::kValuePercent))
        return value;
    // A share of the sub-period's total of the column.
    const double base = std::trunc(figure(CSummaryLines<CDoubleArr>::kRootID));
    if (base == 0.0)
        return 0.0;
    return std::round(value * 100.0 / base * 100.0) / 100.0;
}

QString COhvatTables::ShadeClass(int level) const {
    return level == 0   ? QStringLiteral("5")
           : level == 1 ? QStringLiteral("6")
                        : QStringLiteral("7");
}

QString COhvatTables::WriteLines(const CHTMLTemplate& tpl, int group,
                                 CSummaryLine<CDoubleArr>* line, int level, int periodCount) {
    const QString cls = ShadeClass(level);
    const QString cellTemplate = tpl.GetSection(QStringLiteral("SM.CELL"));
    const QString pivotTemplate = tpl.GetSection(QStringLiteral("SM.CCELL"));
    QString cells;
    for (int p = 0; p < m_pivots.size(); ++p)
        cells += CxString::StrTr(
            pivotTemplate,
            {{QStringLiteral("%CLASS%"), cls},
             {QStringLiteral("%BODY%"), SafeHTML(m_pivotText.value({p, line->GetID()}))}});
    const int n = int(m_values.size());
    for (int k = 0; k < periodCount; ++k)
        for (int j = 0; j < n; ++j)
            cells += CxString::StrTr(
                cellTemplate,
                {{QStringLiteral("%CLASS%"), cls},
                 {QStringLiteral("%BODY%"),
                  DoubleToString(CellValue(group, line->GetID(), k * n + j), QStringLiteral("%.2f"),
                                 kDoubleTrimZeros | kDoubleTrimPoint, QStringLiteral("&nbsp;"))}});
    QString html = CxString::StrTr(tpl.GetSection(QStringLiteral("SM.ROW")),
                                   {{QStringLiteral("%CLASS%"), cls},
                                    {QStringLiteral("%PADDING%"), QString::number(level * 20)},
                                    {QStringLiteral("%TITLE%"), SafeHTML(line->GetTitle())},
                                    {QStringLiteral("%BODY%"), cells}});
    // The lines below in the order of their group values, whatever order the
    // records came in.
    line->Sort();
    for (CSummaryLine<CDoubleArr>* child : line->GetChildren())
        html += WriteLines(tpl, group, child, level + 1, periodCount);
    return html;
}

QString COhvatTables::GetHTML(const CHTMLTemplate& tpl, CRepBaseData* run,
                              const QList<QPair<QDate, QDate>>& periods) {
    const int periodCount = std::max(1, int(periods.size()));
    const int n = int(m_values.size());
    QString html;
    for (int g = 0; g < int(m_tables.size()); ++g) {
        QString sub;
        if (periods.size() > 1) {
            const QString span = tpl.GetSection(QStringLiteral("SM.HCELLSPAN"));
            QString cells;
            if (!m_pivots.isEmpty())
                cells += CxString::StrTr(
                    span, {{QStringLiteral("%COLSPAN%"), QString::number(m_pivots.size())},
                           {QStringLiteral("%BODY%"), QStringLiteral("&nbsp;")}});
            for (const auto& period : periods)
                cells += CxString::StrTr(
                    span, {{QStringLiteral("%COLSPAN%"), QString::number(n)},
                           {QStringLiteral("%BODY%"), SafeHTML(DateToText(period.first) + u'-' +
                                                               DateToText(period.second))}});
            sub = CxString::StrTr(tpl.GetSection(QStringLiteral("SM.HDRSUB")),
                                  {{QStringLiteral("%BODY%"), cells}});
        }
        QList<CRepField*> columns = m_pivots;
        for (int k = 0; k < periodCount; ++k)
            columns += m_values;
        QString cells;
        for (CRepField* field : std::as_const(columns))
            cells += CxString::StrTr(
                tpl.GetSection(QStringLiteral("SM.HCELL")),
                {{QStringLiteral("%CLASS%"), field->GetCSSClass()},
                 {QStringLiteral("%WIDTH%"), QString::number(100 / (columns.size() + 2))},
                 {QStringLiteral("%BODY%"),
                  SafeHTML(field->GetTitle(), kSafeHTMLBreaks) + field->GetWarning(run)}});
        html +=
            CxString::StrTr(tpl.GetSection(QStringLiteral("SM.HDR")),
                            {{QStringLiteral("%SPANCOUNT%"), QString::number(columns.size() + 1)},
                             {QStringLiteral("%SUBBODY%"), sub},
                             {QStringLiteral("%BODY%"), cells}});
        html += WriteLines(tpl, g, &m_tables[g]->lines, 0, periodCount);
    }
    return html;
}
