#include "visits_sheet.h"

#include "cell_number.h"
#include "diary_verdict.h"

QString ClientColumnCaption() {
    return DiaryText("Код клиента", "CDDiaryVisits::DoDataExchange");
}

QString CSheetColumn::Caption() const {
    if (key.IsClient())
        return ClientColumnCaption();
    const QString name = itemName.isEmpty() ? QStringLiteral("№%1").arg(key.item) : itemName;
    return flagText.isEmpty() ? name : name + QLatin1Char('\n') + flagText;
}

CVisitsSheet::CVisitsSheet() {
    CSheetColumn client;
    client.key = kClientColumnKey;
    client.kind = ESheetColumnKind::Client;
    m_columns.append(client);
    m_totals.resize(1);
    m_totalKnown.resize(1);
}

int CVisitsSheet::FindColumn(const CSheetColumnKey& key) const {
    for (int c = 0; c < m_columns.size(); ++c)
        if (m_columns[c].key == key)
            return c;
    return -1;
}

void CVisitsSheet::MoveColumn(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= m_columns.size() || to >= m_columns.size())
        return;
    m_columns.move(from, to);
    m_totals.move(from, to);
    m_totalKnown.move(from, to);
    for (Row& row : m_rows)
        row.texts.move(from, to);
}

void CVisitsSheet::SetColumnWidth(int column, int width) {
    m_columns[column].width = qMax(0, width);
}

QList<qint32> CVisitsSheet::Items() const {
    QList<qint32> items;
    for (const CSheetColumn& column : m_columns)
        if (!column.key.IsClient() && !items.contains(column.key.item))
            items.append(column.key.item);
    return items;
}

CVisitsSheet::Row CVisitsSheet::EmptyRow() const {
    Row row;
    row.texts.resize(m_columns.size());
    return row;
}

void CVisitsSheet::InsertRows(int row, int count) {
    row = qBound(0, row, RowCount());
    for (int i = 0; i < count; ++i)
        m_rows.insert(row, EmptyRow());
    m_totalKnown.fill(false);
}

void CVisitsSheet::RemoveRows(int row, int count) {
    if (row < 0 || count <= 0 || row >= RowCount())
        return;
    m_rows.remove(row, qMin(count, RowCount() - row));
    m_totalKnown.fill(false);
}

int CVisitsSheet::AppendRow() {
    m_rows.append(EmptyRow());
    return RowCount() - 1;
}

void CVisitsSheet::SetText(int row, int column, const QString& text) {
    Row& r = m_rows[row];
    const CSheetColumn& c = m_columns[column];
    if (c.kind == ESheetColumnKind::Client) {
        if (r.texts[column] != text)
            r.clientId = 0;
        r.texts[column] = text;
        return;
    }
    qint32 value = 0;
    if (c.kind == ESheetColumnKind::YesNo && ReadCellNumber(text, &value) && value != 0)
        r.texts[column] = QStringLiteral("1");
    else
        r.texts[column] = text;
    m_totalKnown[column] = false;
}

void CVisitsSheet::SetClient(int row, qint64 clientId, const QString& code) {
    Row& r = m_rows[row];
    r.clientId = clientId > 0 ? clientId : 0;
    r.texts[ClientColumn()] = code;
}

int CVisitsSheet::FindClientRow(qint64 clientId) const {
    if (clientId <= 0)
        return -1;
    for (int r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].clientId == clientId)
            return r;
    return -1;
}

qint32 CVisitsSheet::Number(int row, int column) const {
    const CSheetColumn& c = m_columns[column];
    if (c.kind == ESheetColumnKind::Client)
        return 0;
    const qint32 value = CellNumber(m_rows[row].texts[column]);
    return c.kind == ESheetColumnKind::YesNo ? (value != 0 ? 1 : 0) : value;
}

qint64 CVisitsSheet::Total(int column) const {
    if (m_columns[column].kind == ESheetColumnKind::Client)
        return 0;
    if (!m_totalKnown[column]) {
        qint64 total = 0;
        for (int r = 0; r < m_rows.size(); ++r)
            total += Number(r, column);
        m_totals[column] = total;
        m_totalKnown[column] = true;
    }
    return m_totals[column];
}

void CVisitsSheet::ReplaceColumns(const QList<CSheetColumn>& columns, const QList<int>& sources) {
    Q_ASSERT(columns.size() == sources.size());
    for (Row& row : m_rows) {
        QList<QString> texts(columns.size());
        for (int c = 0; c < columns.size(); ++c)
            if (sources[c] >= 0 && sources[c] < row.texts.size())
                texts[c] = row.texts[sources[c]];
        row.texts = std::move(texts);
    }
    m_columns = columns;
    m_totals = QList<qint64>(columns.size());
    m_totalKnown = QList<bool>(columns.size(), false);
}
