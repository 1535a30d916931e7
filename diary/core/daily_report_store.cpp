#include "daily_report_store.h"

#include "daily_report_crc.h"
#include "diary_sql.h"
#include "redirections_sheet.h"
#include "visits_sheet_store.h"

#include "framework/core/table/safe_sql.h"

namespace {
QString DateSQL(const QDate& date) {
    return QStringLiteral("STR_TO_DATE('%1','%Y%m%d')")
        .arg(date.toString(QStringLiteral("yyyyMMdd")));
}

QString DirRowSQL(qint64 id) {
    return QString::number(id > 0 ? id : kNoDirRow);
}

QString NotFound() {
    return DiaryText("Ежедневный отчет не найден.", "CDDiary::Apply");
}

bool SheetNumbers(CxSQL* sql, const QString& table, qint64 reportId, QList<int>* numbers,
                  QString* error) {
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT DISTINCT nVedID FROM %1 WHERE nReportID=%2 ORDER BY "
                                    "nVedID")
                         .arg(table)
                         .arg(reportId),
                     &r, error))
        return false;
    while (r.FetchRow())
        numbers->append(int(r.LFieldValue(0)));
    return true;
}

// The header row: a new row, or the stored report's values (its checksum
// cleared, to be computed anew).
bool WriteHeader(CxSQL* sql, const CDailyReportSave& save, qint64* reportId, QString* error) {
    const CDailyReportHeader& h = save.header;
    const QString comment = h.comment.isEmpty() ? QStringLiteral("NULL") : SafeSQL(h.comment);
    if (save.action == EDailyReportAction::Insert)
        return RunDiarySQL(
            sql,
            QStringLiteral("INSERT INTO dailyreport (dDate,nWorkPlace,nWorker1,nWorker2,nWorker3,"
                           "nProject,cComment,nGroupID,bIsFolder,nRegionDataID,nCrc) VALUES "
                           "(%1,%2,%3,%4,%5,%6,%7,%8,0,0,NULL)")
                .arg(DateSQL(h.date), DirRowSQL(h.workPlace), DirRowSQL(h.worker1),
                     DirRowSQL(h.worker2), DirRowSQL(h.worker3), QString::number(h.project),
                     comment, QString::number(qMax<qint64>(0, h.groupId))),
            nullptr, error, reportId);
    *reportId = h.rowId;
    return RunDiarySQL(
        sql,
        QStringLiteral("UPDATE dailyreport SET dDate=%1,nWorkPlace=%2,nWorker1=%3,nWorker2=%4,"
                       "nWorker3=%5,nProject=%6,cComment=%7,nCrc=NULL WHERE ROWID=%8")
            .arg(DateSQL(h.date), DirRowSQL(h.workPlace), DirRowSQL(h.worker1),
                 DirRowSQL(h.worker2), DirRowSQL(h.worker3), QString::number(h.project), comment,
                 QString::number(h.rowId)),
        nullptr, error);
}

// Deletes the report with its sheets' rows. Rows that name it as their
// folder keep it.
bool DeleteReport(CxSQL* sql, qint64 reportId, CDiaryVerdict* refusal, QString* error) {
    qint64 value = 0;
    bool found = false;
    if (!DiaryScalar(
            sql,
            QStringLiteral("SELECT 1 FROM dailyreport WHERE nGroupID=%1 LIMIT 1").arg(reportId),
            &value, &found, error))
        return false;
    if (found) {
        if (refusal)
            *refusal = CDiaryVerdict::Refuse(EDiaryField::Report,
                                             DiaryText("Папка не пуста.", "msgFolderNotEmpty"),
                                             QStringLiteral("msgFolderNotEmpty"));
        return false;
    }
    for (const char* table : {"dailyvisits", "dailyvisitssubhdr", "dailyredirects"})
        if (!RunDiarySQL(sql,
                         QStringLiteral("DELETE FROM %1 WHERE nReportID=%2")
                             .arg(QLatin1String(table))
                             .arg(reportId),
                         nullptr, error))
            return false;
    return RunDiarySQL(sql, QStringLiteral("DELETE FROM dailyreport WHERE ROWID=%1").arg(reportId),
                       nullptr, error);
}

bool SavePages(CxSQL* sql, const QList<CDailyReportPage>& pages, qint64 reportId,
               CDiaryVerdict* refusal, QString* error) {
    for (const CDailyReportPage& page : pages) {
        CDiaryVerdict verdict;
        bool ok = true;
        if (page.visits)
            ok = CVisitsSheetStore::Save(sql, reportId, page.number, *page.visits, &verdict, error);
        else if (page.redirections)
            ok = CRedirectionsSheetStore::Save(sql, reportId, page.number, *page.redirections,
                                               &verdict, error);
        if (!ok) {
            if (!verdict.ok && refusal) {
                verdict.sheet = page.number;
                *refusal = verdict;
            }
            return false;
        }
    }
    return true;
}

bool Run(CxSQL* sql, const CDailyReportSave& save, qint64* reportId, CDiaryVerdict* refusal,
         QString* error) {
    if (save.action != EDailyReportAction::Insert) {
        // The report must still be there (someone may have deleted it), and is
        // held until the save ends.
        qint64 value = 0;
        bool found = false;
        if (!DiaryScalar(sql,
                         QStringLiteral("SELECT ROWID FROM dailyreport WHERE ROWID=%1 AND "
                                        "bIsFolder=0 FOR UPDATE")
                             .arg(save.header.rowId),
                         &value, &found, error))
            return false;
        if (!found)
            return FailDiary(error, NotFound());
        bool unchanged = true;
        if (save.loaded && !save.loaded->CheckUnchanged(sql, &unchanged, error))
            return false;
        if (!unchanged) {
            if (refusal)
                *refusal = CDiaryVerdict::Refuse(
                    EDiaryField::Report,
                    DiaryText("Этот ежедневный отчет изменили или удалили в другом окне или на "
                              "другом компьютере после того, как вы его открыли. Ваши изменения "
                              "не сохранены, чтобы не затереть чужие.",
                              kReportChangedMeanwhileKey),
                    QString::fromLatin1(kReportChangedMeanwhileKey));
            return false;
        }
    }
    if (save.action == EDailyReportAction::Delete) {
        *reportId = save.header.rowId;
        if (!DeleteReport(sql, *reportId, refusal, error))
            return false;
    } else if (!WriteHeader(sql, save, reportId, error) ||
               !SavePages(sql, save.pages, *reportId, refusal, error)) {
        return false;
    }

    CxSQLError crcError;
    if (!BuildCRC(nullptr, false, sql, &crcError))
        return FailDiary(error, DiaryText("Ошибка расчета CRC", "msgCalcCrcError") +
                                    QStringLiteral(": ") + crcError.text);
    if (save.action == EDailyReportAction::Delete)
        return true;
    qint64 others = 0;
    if (!CountReportsWithSameCrc(*reportId, &others, sql, &crcError))
        return FailDiary(error, DiaryText("Ошибка при работе с базой данных", "msgDBError") +
                                    QStringLiteral(": ") + crcError.text);
    if (others != 0 && save.confirmDuplicate && !save.confirmDuplicate(others))
        return false;
    return !save.stored || save.stored->Take(sql, DailyReportGuardedRows(*reportId), error);
}
} // namespace

QList<CxGuardedRows> DailyReportGuardedRows(qint64 reportId) {
    const QString ofReport = QStringLiteral("nReportID=") + QString::number(reportId);
    return {CxGuardedRows{QStringLiteral("dailyreport"),
                          QStringLiteral("ROWID=") + QString::number(reportId),
                          {QStringLiteral("nCrc")}},
            CxGuardedRows{QStringLiteral("dailyvisits"), ofReport, {}},
            CxGuardedRows{QStringLiteral("dailyvisitssubhdr"), ofReport, {}},
            CxGuardedRows{QStringLiteral("dailyredirects"), ofReport, {}}};
}

QString DailyReportSheetTitle(EDiarySheetKind kind, int number) {
    const QString word = kind == EDiarySheetKind::Visits
                             ? DiaryText("Визиты", "CDDiary::GetVisitsName")
                             : DiaryText("Переадресация", "CDDiary::GetRedirName");
    return number == 0 ? word : word + QLatin1Char(' ') + QString::number(number + 1);
}

bool LoadDailyReport(CxSQL* sql, qint64 reportId, CDailyReportHeader* header,
                     CDailyReportSheets* sheets, QString* error) {
    CxResult r;
    if (!RunDiarySQL(sql,
                     QStringLiteral("SELECT DATE_FORMAT(dDate,'%Y%m%d'),nWorkPlace,nWorker1,"
                                    "nWorker2,nWorker3,nProject,cComment,nGroupID,nRegionDataID "
                                    "FROM dailyreport WHERE ROWID=%1 AND bIsFolder=0")
                         .arg(reportId),
                     &r, error))
        return false;
    if (!r.FetchRow())
        return FailDiary(error, NotFound());
    *header = CDailyReportHeader();
    header->rowId = reportId;
    header->date = QDate::fromString(r.SFieldValue(0), QStringLiteral("yyyyMMdd"));
    header->workPlace = r.LFieldValue(1);
    header->worker1 = r.LFieldValue(2);
    header->worker2 = r.LFieldValue(3);
    header->worker3 = r.LFieldValue(4);
    header->project = r.LFieldValue(5);
    header->comment = r.SFieldValue(6);
    header->groupId = r.LFieldValue(7);
    header->regionId = r.LFieldValue(8);

    return LoadDailyReportSheets(sql, reportId, sheets, error);
}

bool LoadDailyReportSheets(CxSQL* sql, qint64 reportId, CDailyReportSheets* sheets,
                           QString* error) {
    *sheets = CDailyReportSheets();
    if (!SheetNumbers(sql, QStringLiteral("dailyvisits"), reportId, &sheets->visits, error) ||
        !SheetNumbers(sql, QStringLiteral("dailyredirects"), reportId, &sheets->redirections,
                      error))
        return false;
    for (const int n : sheets->visits + sheets->redirections)
        sheets->highest = qMax(sheets->highest, n);
    return true;
}

QString DuplicateReportQuestion() {
    return DiaryText("Похожая ведомость уже имеется в базе данных, вы уверены, что хотите "
                     "сохранить эту ведомость?",
                     "msgVedomoctEst");
}

bool SaveDailyReport(CxSQL* sql, const CDailyReportSave& save, qint64* reportId,
                     CDiaryVerdict* refusal, QString* error) {
    if (refusal)
        *refusal = CDiaryVerdict();
    *reportId = save.header.rowId;
    if (save.action != EDailyReportAction::Delete) {
        const CDiaryVerdict verdict = CheckDailyReportHeader(save.header);
        if (!verdict.ok) {
            if (refusal)
                *refusal = verdict;
            return false;
        }
    }
    if (!RunDiarySQL(sql, QStringLiteral("START TRANSACTION"), nullptr, error))
        return false;
    qint64 id = save.header.rowId;
    if (!Run(sql, save, &id, refusal, error) ||
        !RunDiarySQL(sql, QStringLiteral("COMMIT"), nullptr, error)) {
        sql->RollbackAfterFailure(error);
        return false;
    }
    *reportId = id;
    return true;
}
