#include "client_visit_writer.h"

#include "daily_report_crc.h"
#include "daily_report_header.h"
#include "daily_report_store.h"
#include "diary_sql.h"
#include "sheet_materials.h"

#include <QRegularExpression>
#include <QSet>
#include <bit>

namespace {
struct VisitCell {
    qint32 item;
    qint32 value;
    bool redirection; // a consultation not counted per client
};

QString Text(const char* text) {
    return DiaryText(text, "CDClientsVisitsAdd::OnApply");
}

bool Refuse(CDiaryVerdict* refusal, CDiaryVerdict verdict) {
    if (refusal)
        *refusal = std::move(verdict);
    return false;
}

// A whole number as the value lists and the count cell give it; false for
// anything else (an empty text included).
bool WholeNumber(const QString& text, qint32* value) {
    static const QRegularExpression number(QStringLiteral("^[+-]?\\d+$"));
    const QString t = text.trimmed();
    bool ok = false;
    *value = number.match(t).hasMatch() ? t.toInt(&ok) : 0;
    return ok;
}

// The cells of the visit's lines; a line the user left without a material
// is no line.
bool GatherCells(CxSQL* sql, const QList<CClientVisitLine>& lines, QList<VisitCell>* cells,
                 CDiaryVerdict* refusal, QString* error) {
    QList<qint32> ids;
    for (const CClientVisitLine& line : lines)
        if (line.material > 0)
            ids << qint32(line.material);
    CSheetMaterials materials;
    if (!LoadSheetMaterials(sql, ids, &materials, error))
        return false;
    for (int row = 0; row < lines.size(); ++row) {
        const CClientVisitLine& line = lines[row];
        if (line.material < 0)
            continue;
        const auto m = materials.constFind(qint32(line.material));
        if (m == materials.constEnd())
            return Refuse(refusal, CDiaryVerdict::Refuse(EDiaryField::VisitMaterial,
                                                         Text("Ошибка запроса из базы"), {}, row));
        const CDiaryVerdict wrongValue =
            CDiaryVerdict::Refuse(EDiaryField::VisitValue, Text("Ошибка"), {}, row);
        qint32 value = 0;
        if (m->IsService()) {
            // A service named without its value is refused, not read as 0:
            // the line the user chose would otherwise vanish unseen.
            if (!WholeNumber(line.value, &value))
                return Refuse(refusal, wrongValue);
            if (value != 0)
                cells->append({m->id, 1, false});
        } else if (m->IsConsultation()) {
            const qint32 kinds = m->specFlags & ~kConsultByCode;
            if (!WholeNumber(line.value, &value) || value <= 0 ||
                std::popcount(quint32(value)) != 1 || !(kinds & value))
                return Refuse(refusal, wrongValue);
            cells->append({m->id, value, !m->ByCode()});
        } else {
            if (!line.value.trimmed().isEmpty() && !WholeNumber(line.value, &value))
                return Refuse(refusal, wrongValue);
            if (value != 0)
                cells->append({m->id, value, false});
        }
    }
    return true;
}

QString DateSQL(const QDate& date) {
    return QStringLiteral("STR_TO_DATE('%1','%Y%m%d')")
        .arg(date.toString(QStringLiteral("yyyyMMdd")));
}

// The report of the day, service point and main worker among the own
// organisation's reports; a new one when there is none.
bool FindOrMakeReport(CxSQL* sql, const CClientVisit& visit, qint64* reportId, QString* error) {
    bool found = false;
    if (!DiaryScalar(sql,
                     QStringLiteral("SELECT ROWID FROM dailyreport WHERE nWorkPlace=%1 AND "
                                    "nWorker1=%2 AND dDate=%3 AND nRegionDataID=0 AND bIsFolder=0 "
                                    "ORDER BY ROWID LIMIT 1 FOR UPDATE")
                         .arg(visit.workPlace)
                         .arg(visit.worker)
                         .arg(DateSQL(visit.date)),
                     reportId, &found, error))
        return false;
    if (found)
        return true;
    return RunDiarySQL(sql,
                       QStringLiteral("INSERT INTO dailyreport (dDate,nWorker1,nWorkPlace,nGroupID,"
                                      "bIsFolder,nRegionDataID,nCrc) VALUES (%1,%2,%3,0,0,0,NULL)")
                           .arg(DateSQL(visit.date))
                           .arg(visit.worker)
                           .arg(visit.workPlace),
                       nullptr, error, reportId);
}

// Columns for the items the sheet does not show yet, after its last column.
// A sheet without a stored layout gets none: it lays its columns out from its
// cells when it is opened.
bool AddColumns(CxSQL* sql, qint64 reportId, int sheet, const QList<VisitCell>& cells,
                QString* error) {
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT nKeyFirst,nKeySecond,nPos FROM dailyvisitssubhdr "
                                    "WHERE nReportID=%1 AND nVedID=%2")
                         .arg(reportId)
                         .arg(sheet),
                     &r, error))
        return false;
    QSet<QPair<qint32, qint32>> keys;
    qint64 last = -1;
    while (r.FetchRow()) {
        keys.insert({qint32(r.LFieldValue(0)), qint32(r.LFieldValue(1))});
        last = qMax<qint64>(last, r.LFieldValue(2));
    }
    if (keys.isEmpty())
        return true;
    QList<qint32> ids;
    for (const VisitCell& cell : cells)
        ids << cell.item;
    CSheetMaterials materials;
    if (!LoadSheetMaterials(sql, ids, &materials, error))
        return false;
    CDiaryInsert insert(sql, QStringLiteral("dailyvisitssubhdr"),
                        {QStringLiteral("nReportID"), QStringLiteral("nVedID"),
                         QStringLiteral("nKeyFirst"), QStringLiteral("nKeySecond"),
                         QStringLiteral("nWidth"), QStringLiteral("nPos"),
                         QStringLiteral("nRegionDataID")});
    auto add = [&](qint32 item, qint32 flag) {
        if (keys.contains({item, flag}))
            return true;
        keys.insert({item, flag});
        return insert.Add({QString::number(reportId), QString::number(sheet), QString::number(item),
                           QString::number(flag), QStringLiteral("0"), QString::number(++last),
                           QStringLiteral("0")},
                          error);
    };
    for (const VisitCell& cell : cells) {
        const CSheetMaterial& m = materials[cell.item];
        if (!m.IsConsultation()) {
            if (!add(cell.item, -1))
                return false;
            continue;
        }
        for (const qint32 flag : kConsultationFlags)
            if ((m.specFlags & flag) && !add(cell.item, flag))
                return false;
    }
    return insert.Finish(error);
}
} // namespace

bool WriteClientVisit(CxSQL* sql, const CClientVisit& visit, qint64* reportId,
                      CDiaryVerdict* refusal, QString* error) {
    *reportId = -1;
    if (refusal)
        *refusal = CDiaryVerdict();
    QList<VisitCell> cells;
    if (!GatherCells(sql, visit.lines, &cells, refusal, error))
        return false;
    if (cells.isEmpty())
        return true;
    if (visit.workPlace <= 0)
        return Refuse(refusal, DiaryRequired(EDiaryField::WorkPlace, Text("Пункт")));
    if (visit.worker <= 0)
        return Refuse(refusal, DiaryRequired(EDiaryField::Worker1, Text("Работник")));
    if (!visit.date.isValid())
        return Refuse(refusal, DiaryRequired(EDiaryField::Date, Text("Дата")));
    if (visit.clientId <= 0)
        return FailDiary(error, DiaryText("Клиент не найден в базе данных.", "msgClientNotFound"));

    qint64 report = -1;
    CDailyReportSheets sheets;
    if (!FindOrMakeReport(sql, visit, &report, error) ||
        !LoadDailyReportSheets(sql, report, &sheets, error))
        return false;

    QList<VisitCell> visits, redirections;
    for (const VisitCell& cell : cells)
        (cell.redirection ? redirections : visits).append(cell);
    int highest = sheets.highest;
    const int visitsSheet = sheets.visits.isEmpty() ? highest + 1 : sheets.visits.first();
    if (!visits.isEmpty())
        highest = qMax(highest, visitsSheet);
    const int redirectionsSheet =
        sheets.redirections.isEmpty() ? highest + 1 : sheets.redirections.first();

    if (!visits.isEmpty()) {
        qint64 row = 0;
        bool found = false;
        if (!DiaryScalar(sql,
                         QStringLiteral("SELECT IFNULL(MAX(NPP)+1,0) FROM dailyvisits WHERE "
                                        "nReportID=%1 AND nVedID=%2")
                             .arg(report)
                             .arg(visitsSheet),
                         &row, &found, error))
            return false;
        CDiaryInsert insert(sql, QStringLiteral("dailyvisits"),
                            {QStringLiteral("nReportID"), QStringLiteral("nVedID"),
                             QStringLiteral("NPP"), QStringLiteral("nClientID"),
                             QStringLiteral("nItem"), QStringLiteral("nCount"),
                             QStringLiteral("nRegionDataID")});
        // A line naming an item that this visit already wrote starts the next
        // row; the row number never goes back, so no row holds an item twice.
        QSet<qint32> written;
        for (const VisitCell& cell : visits) {
            if (written.contains(cell.item))
                ++row;
            written.insert(cell.item);
            if (!insert.Add({QString::number(report), QString::number(visitsSheet),
                             QString::number(row), QString::number(visit.clientId),
                             QString::number(cell.item), QString::number(cell.value),
                             QStringLiteral("0")},
                            error))
                return false;
        }
        if (!insert.Finish(error) || !AddColumns(sql, report, visitsSheet, visits, error))
            return false;
    }

    // One person per item and kind, however often the lines name them.
    QSet<QPair<qint32, qint32>> counted;
    for (const VisitCell& cell : redirections) {
        if (counted.contains({cell.item, cell.value}))
            continue;
        counted.insert({cell.item, cell.value});
        if (!RunDiarySQL(sql,
                         QStringLiteral("INSERT INTO dailyredirects (nReportID,nVedID,nItem,"
                                        "nConsultKey,nCount,nRegionDataID) VALUES "
                                        "(%1,%2,%3,%4,1,0) ON DUPLICATE KEY UPDATE "
                                        "nCount=nCount+1")
                             .arg(report)
                             .arg(redirectionsSheet)
                             .arg(cell.item)
                             .arg(cell.value),
                         nullptr, error))
            return false;
    }

    CxSQLError crcError;
    if (!RunDiarySQL(sql,
                     QStringLiteral("UPDATE dailyreport SET nCrc=NULL WHERE ROWID=%1").arg(report),
                     nullptr, error))
        return false;
    if (!BuildCRC(nullptr, false, sql, &crcError))
        return FailDiary(error, DiaryText("Ошибка расчета CRC", "msgCalcCrcError") +
                                    QStringLiteral(": ") + crcError.text);
    *reportId = report;
    return true;
}
