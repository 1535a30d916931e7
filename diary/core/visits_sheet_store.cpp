#include "visits_sheet_store.h"

#include "cell_number.h"
#include "diary_sql.h"
#include "sheet_columns.h"
#include "sheet_materials.h"

#include "framework/core/table/safe_sql.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <bit>

namespace {
// Positions of the directory look-ups, for the error list.
constexpr int kCellItemPosition = 18151;
// Client codes looked up by one statement.
constexpr int kCodesPerQuery = 500;

void AddNote(QStringList* notes, const QString& text) {
    if (notes && !notes->contains(text))
        notes->append(text);
}

QString LoadText(const char* text) {
    return DiaryText(text, "CDDiaryVisits::DoDataExchange");
}

QString SaveText(const char* text) {
    return DiaryText(text, "CDDiaryVisits::Apply");
}

CDiaryVerdict CellRefusal(int row, int column, const QString& text, const QString& key = {}) {
    return CDiaryVerdict::Refuse(EDiaryField::SheetCell, text, key, row, column);
}

bool SetRefusal(CDiaryVerdict* refusal, CDiaryVerdict verdict) {
    if (refusal)
        *refusal = std::move(verdict);
    return false;
}

// The client of every row (0: none) from what the rows name: a ROWID the row
// was loaded or picked with, else the code typed. A code or ROWID that names
// no client of the register refuses the save at its cell.
bool ResolveClients(CxSQL* sql, const CVisitsSheet& sheet, QList<qint64>* clients,
                    CDiaryVerdict* refusal, QString* error) {
    const int clientColumn = sheet.ClientColumn();
    clients->fill(0, sheet.RowCount());
    QSet<qint64> ids;
    QStringList codes;
    QHash<QString, int> codeIndex;
    for (int r = 0; r < sheet.RowCount(); ++r) {
        if (sheet.ClientId(r) > 0) {
            ids.insert(sheet.ClientId(r));
            continue;
        }
        const QString code = sheet.Text(r, clientColumn).trimmed();
        if (!code.isEmpty() && !codeIndex.contains(code)) {
            codeIndex.insert(code, int(codes.size()));
            codes << code;
        }
    }

    QSet<qint64> known;
    if (!ids.isEmpty()) {
        QStringList list;
        for (const qint64 id : ids)
            list << QString::number(id);
        CxResult r;
        if (!RunDiarySQL(sql,
                         QStringLiteral("SELECT ROWID FROM clientdata WHERE bIsFolder=0 AND "
                                        "ROWID IN (%1)")
                             .arg(list.join(QLatin1Char(','))),
                         &r, error))
            return false;
        while (r.FetchRow())
            known.insert(r.LFieldValue(0));
    }
    // Each code is compared by the server, under the column's own collation,
    // exactly as its unique key compares codes.
    QList<qint64> byCode(codes.size(), 0);
    for (qsizetype from = 0; from < codes.size(); from += kCodesPerQuery) {
        QStringList parts;
        for (qsizetype i = from; i < qMin(codes.size(), from + kCodesPerQuery); ++i)
            parts << QStringLiteral("SELECT %1,(SELECT clientdata.ROWID FROM clientdata WHERE "
                                    "clientdata.cClientCode=%2 AND clientdata.bIsFolder=0 "
                                    "LIMIT 1)")
                         .arg(i)
                         .arg(SafeSQL(codes[i]));
        CxResult r;
        if (!RunDiarySQL(sql, parts.join(QStringLiteral(" UNION ALL ")), &r, error))
            return false;
        while (r.FetchRow())
            byCode[r.LFieldValue(0)] = r.LFieldValue(1);
    }

    for (int r = 0; r < sheet.RowCount(); ++r) {
        qint64 client = 0;
        if (sheet.ClientId(r) > 0) {
            client = known.contains(sheet.ClientId(r)) ? sheet.ClientId(r) : 0;
        } else {
            const QString code = sheet.Text(r, clientColumn).trimmed();
            if (code.isEmpty())
                continue;
            client = byCode[codeIndex.value(code)];
        }
        if (client <= 0)
            return SetRefusal(
                refusal, CellRefusal(r, clientColumn, SaveText("Код клиента не найден в базе")));
        (*clients)[r] = client;
    }
    return true;
}

struct Cell {
    int row;
    qint32 item;
    qint64 client;
    qint32 count;
    bool isCount; // from a count column (not OR-ed kinds)
};
} // namespace

bool CVisitsSheetStore::Load(CxSQL* sql, qint64 reportId, int sheetNo, CVisitsSheet* sheet,
                             QStringList* notes, QString* error) {
    *sheet = CVisitsSheet();
    CxResult r;
    if (!RunDiarySQL(
            sql,
            QStringLiteral("SELECT dailyvisits.NPP,dailyvisits.nClientID,dailyvisits.nItem,"
                           "dailyvisits.nCount,clientdata.cClientCode FROM dailyvisits "
                           "LEFT JOIN clientdata ON clientdata.ROWID=dailyvisits.nClientID "
                           "WHERE dailyvisits.nReportID=%1 AND dailyvisits.nVedID=%2 "
                           "ORDER BY dailyvisits.NPP,dailyvisits.ROWID")
                .arg(reportId)
                .arg(sheetNo),
            &r, error))
        return false;

    QList<CVisitsSheetCell> cells;
    while (r.FetchRow()) {
        // A client the register no longer has still shows its ROWID; a row
        // stored without a client shows no code.
        const qint64 client = r.LFieldValue(1);
        const QString code = client == -1  ? QString()
                             : r.IsNull(4) ? QString::number(client)
                                           : r.SFieldValue(4);
        cells.append(
            {r.LFieldValue(0), client, code, qint32(r.LFieldValue(2)), qint32(r.LFieldValue(3))});
    }

    QList<CStoredSheetColumn> stored;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT nKeyFirst,nKeySecond,nWidth FROM dailyvisitssubhdr "
                                    "WHERE dailyvisitssubhdr.nReportID=%1 AND "
                                    "dailyvisitssubhdr.nVedID=%2 ORDER BY dailyvisitssubhdr.nPos")
                         .arg(reportId)
                         .arg(sheetNo),
                     &r, error))
        return false;
    while (r.FetchRow())
        stored.append(
            {{qint32(r.LFieldValue(0)), qint32(r.LFieldValue(1))}, int(r.LFieldValue(2))});

    return Build(sql, std::move(cells), stored, sheet, notes, error);
}

bool CVisitsSheetStore::Build(CxSQL* sql, QList<CVisitsSheetCell> cells,
                              const QList<CStoredSheetColumn>& stored, CVisitsSheet* sheet,
                              QStringList* notes, QString* error) {
    *sheet = CVisitsSheet();
    std::stable_sort(
        cells.begin(), cells.end(),
        [](const CVisitsSheetCell& a, const CVisitsSheetCell& b) { return a.npp < b.npp; });
    // Rows are told apart by (client, NPP): two rows of one client stay two.
    struct LoadedRow {
        QList<QPair<qint32, qint32>> cells; // item, count; one per item
    };
    QList<LoadedRow> rows;
    QHash<QPair<qint64, qint64>, int> rowOf;
    QList<qint32> items;
    QSet<qint32> itemSet;
    for (const CVisitsSheetCell& cell : cells) {
        const qint64 npp = cell.npp;
        const qint64 client = cell.clientId;
        const qint32 item = cell.item;
        const qint32 count = cell.count;
        if (!itemSet.contains(item)) {
            itemSet.insert(item);
            items << item;
        }
        auto it = rowOf.constFind({client, npp});
        int row;
        if (it == rowOf.constEnd()) {
            row = sheet->AppendRow();
            rowOf.insert({client, npp}, row);
            rows.append(LoadedRow());
            sheet->SetClient(row, client > 0 ? client : 0, cell.clientCode);
        } else {
            row = *it;
        }
        auto& rowCells = rows[row].cells;
        auto same = std::find_if(rowCells.begin(), rowCells.end(),
                                 [item](const auto& c) { return c.first == item; });
        if (same != rowCells.end())
            same->second = count;
        else
            rowCells.append({item, count});
    }

    CSheetMaterials materials;
    if (!LoadSheetMaterials(sql, items, &materials, error))
        return false;
    LayOutLoadedSheet(sheet, stored, items, materials, notes);

    for (int row = 0; row < rows.size(); ++row) {
        for (const auto& [item, count] : rows[row].cells) {
            const auto found = materials.constFind(item);
            if (found == materials.constEnd()) {
                AddNote(notes, MaterialLoadErrorText(kCellItemPosition, item));
                const int column = sheet->FindColumn({item, -1});
                if (column >= 0)
                    sheet->SetText(row, column, QString::number(count));
                continue;
            }
            if (found->IsConsultation()) {
                for (const qint32 flag : kConsultationFlags) {
                    if (!(found->specFlags & flag))
                        continue;
                    const int column = sheet->FindColumn({item, flag});
                    if (column < 0)
                        AddNote(notes, LoadText("Ошибка загрузки некоторых колонок 18152"));
                    else
                        sheet->SetText(row, column,
                                       (count & flag) ? QStringLiteral("1") : QStringLiteral("0"));
                }
                continue;
            }
            const int column = sheet->FindColumn({item, -1});
            if (column < 0)
                AddNote(notes, LoadText("Ошибка загрузки некоторых колонок 18149"));
            else
                sheet->SetText(row, column, QString::number(count));
        }
    }
    return true;
}

bool CVisitsSheetStore::Save(CxSQL* sql, qint64 reportId, int sheetNo, const CVisitsSheet& sheet,
                             CDiaryVerdict* refusal, QString* error) {
    const int clientColumn = sheet.ClientColumn();
    if (clientColumn < 0)
        return FailDiary(error, SaveText("Внутрення ошибка 18154"));
    // The rows belong to the report's organisation; a report that is gone
    // takes no rows.
    qint64 region = 0;
    if (!DiaryReportRegion(sql, reportId, "CDDiaryVisits::Apply", &region, error))
        return false;

    QList<qint64> clients;
    if (!ResolveClients(sql, sheet, &clients, refusal, error))
        return false;
    const bool anyClient =
        std::any_of(clients.cbegin(), clients.cend(), [](qint64 c) { return c > 0; });

    // The service every listed client received, while only clients are shown.
    qint32 service = -1, serviceFlag = -1;
    if (sheet.ServiceAllowed()) {
        CSheetMaterials materials;
        if (sheet.ServiceItem() > 0 &&
            !LoadSheetMaterials(sql, {sheet.ServiceItem()}, &materials, error))
            return false;
        const auto m = materials.constFind(sheet.ServiceItem());
        if (m != materials.constEnd()) {
            if (m->IsConsultation()) {
                if (!m->ByCode())
                    return SetRefusal(
                        refusal, CDiaryVerdict::Refuse(
                                     EDiaryField::SheetService,
                                     SaveText("Нельзя выбирать консультацию и перенаправление, "
                                              "если в нем не отмечен учет по коду")));
                if (std::popcount(quint32(m->specFlags)) != 2)
                    return SetRefusal(
                        refusal, CDiaryVerdict::Refuse(
                                     EDiaryField::SheetService,
                                     SaveText("Нельзя выбирать консультацию и перенаправление, "
                                              "если в нем отмечено несколько полей")));
                serviceFlag = m->specFlags & ~kConsultByCode;
            }
            service = m->id;
        } else if (anyClient) {
            return SetRefusal(refusal, CDiaryVerdict::Refuse(EDiaryField::SheetService,
                                                             SaveText("Не найдена услуга")));
        }
    }

    // The cells, one per row and item.
    QList<Cell> cells;
    QHash<QPair<int, qint32>, qsizetype> cellOf;
    if (service > 0) {
        // Every row of the sheet receives the service, so a row without a
        // client is refused, not silently left out of what is stored.
        for (int r = 0; r < sheet.RowCount(); ++r) {
            if (clients[r] <= 0)
                return SetRefusal(refusal,
                                  CellRefusal(r, clientColumn, SaveText("Пропущен код клиента")));
            cells.append(
                {r, service, clients[r], serviceFlag == -1 ? 1 : serviceFlag, serviceFlag == -1});
        }
    }
    for (int c = 0; c < sheet.ColumnCount(); ++c) {
        const CSheetColumnKey key = sheet.Column(c).key;
        if (key.IsClient())
            continue;
        for (int r = 0; r < sheet.RowCount(); ++r) {
            qint32 value = 0;
            if (!ReadCellNumber(sheet.Text(r, c), &value))
                return SetRefusal(
                    refusal,
                    CellRefusal(
                        r, c,
                        SaveText("Число «%1» слишком велико.").arg(sheet.Text(r, c).trimmed())));
            // The form takes no sign; a count that came in otherwise (a
            // sheet filled outside the program, an old row) is refused the
            // same way, not stored.
            if (value < 0)
                return SetRefusal(
                    refusal, CellRefusal(r, c,
                                         SaveText("Количество не может быть отрицательным: «%1».")
                                             .arg(sheet.Text(r, c).trimmed())));
            value = sheet.Number(r, c);
            if (value == 0)
                continue;
            if (clients[r] <= 0)
                return SetRefusal(refusal,
                                  CellRefusal(r, clientColumn, SaveText("Пропущен код клиента")));
            const auto at = cellOf.constFind({r, key.item});
            if (at != cellOf.constEnd()) {
                Cell& cell = cells[*at];
                if (key.flag == -1 || cell.isCount)
                    return SetRefusal(
                        refusal,
                        CellRefusal(r, c, DiaryText("Ведомость испорчена", "msgCorruptedVedomost"),
                                    QStringLiteral("msgCorruptedVedomost")));
                cell.count |= key.flag;
                continue;
            }
            cellOf.insert({r, key.item}, cells.size());
            cells.append(
                {r, key.item, clients[r], key.flag == -1 ? value : key.flag, key.flag == -1});
        }
    }

    const QString where =
        QStringLiteral(" WHERE nReportID=%1 AND nVedID=%2").arg(reportId).arg(sheetNo);
    if (!RunDiarySQL(sql, QStringLiteral("DELETE FROM dailyvisits") + where, nullptr, error) ||
        !RunDiarySQL(sql, QStringLiteral("DELETE FROM dailyvisitssubhdr") + where, nullptr, error))
        return false;
    if (cells.isEmpty())
        return true;

    const QString report = QString::number(reportId);
    const QString number = QString::number(sheetNo);
    const QString regionText = QString::number(region);
    CDiaryInsert layout(sql, QStringLiteral("dailyvisitssubhdr"),
                        {QStringLiteral("nReportID"), QStringLiteral("nVedID"),
                         QStringLiteral("nKeyFirst"), QStringLiteral("nKeySecond"),
                         QStringLiteral("nWidth"), QStringLiteral("nPos"),
                         QStringLiteral("nRegionDataID")});
    for (int c = 0; c < sheet.ColumnCount(); ++c) {
        const CSheetColumn& column = sheet.Column(c);
        if (!layout.Add({report, number, QString::number(column.key.item),
                         QString::number(column.key.flag), QString::number(column.width),
                         QString::number(c), regionText},
                        error))
            return false;
    }
    if (!layout.Finish(error))
        return false;

    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell& a, const Cell& b) { return a.row < b.row; });
    CDiaryInsert visits(sql, QStringLiteral("dailyvisits"),
                        {QStringLiteral("nReportID"), QStringLiteral("nVedID"),
                         QStringLiteral("NPP"), QStringLiteral("nClientID"),
                         QStringLiteral("nItem"), QStringLiteral("nCount"),
                         QStringLiteral("nRegionDataID")});
    for (const Cell& cell : cells)
        if (!visits.Add({report, number, QString::number(cell.row), QString::number(cell.client),
                         QString::number(cell.item), QString::number(cell.count), regionText},
                        error))
            return false;
    return visits.Finish(error);
}
