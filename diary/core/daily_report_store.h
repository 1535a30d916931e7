#pragma once
// A daily report as the form opens and saves it: the header (dailyreport) and
// its numbered sheets, visits sheets (dailyvisits, dailyvisitssubhdr) and
// redirections sheets (dailyredirects). Sheet numbers are counted across both
// kinds: a new sheet of either kind takes the highest number plus one.
//
// The form saves through SaveDailyReport, which runs one transaction:
// 1. the header is checked (nothing is written when it is refused); the
//    report's rows, locked, must still be as the form loaded them (another
//    copy of the program may have saved the report meanwhile);
// 2. the header row is inserted or updated, its checksum cleared; a delete
//    removes the report's sheet rows and the header instead, and refuses a
//    row that other rows name as their folder;
// 3. each opened sheet is saved in tab order (a sheet the user never opened
//    keeps its rows as stored); the first refusal stops the save;
// 4. the checksums of the reports without one are computed (the saved one
//    among them);
// 5. when other reports carry the same checksum, the form's question decides
//    (never for a delete);
// 6. COMMIT; any failure, refusal or "no" rolls everything back.
#include "daily_report_header.h"
#include "diary_verdict.h"
#include "framework/core/record/rows_fingerprint.h"

#include <QList>
#include <functional>

class CxSQL;
class CVisitsSheet;
struct CRedirectionsSheet;

enum class EDiarySheetKind { Visits, Redirections };

// The sheets a stored report has, as the form's tabs show them: all visits
// sheets, then all redirections sheets, each in number order.
struct CDailyReportSheets {
    QList<int> visits;
    QList<int> redirections;
    int highest = -1; // the highest sheet number of either kind; -1 when none
};

// The tab title of a sheet: "Визиты" for sheet 0, "Визиты 2" for sheet 1;
// "Переадресация" the same way.
QString DailyReportSheetTitle(EDiarySheetKind kind, int number);

// Reads a report's header and the numbers of its sheets.
bool LoadDailyReport(CxSQL* sql, qint64 reportId, CDailyReportHeader* header,
                     CDailyReportSheets* sheets, QString* error);
// Reads the numbers of a report's sheets.
bool LoadDailyReportSheets(CxSQL* sql, qint64 reportId, CDailyReportSheets* sheets, QString* error);

// The rows a stored report consists of, as a form guards them: the header
// (its checksum aside: every copy's save computes missing ones), the visits
// cells, the sheets' column layouts and the redirections.
QList<CxGuardedRows> DailyReportGuardedRows(qint64 reportId);

// The key of the refusal of a save over a report another copy changed.
inline constexpr char kReportChangedMeanwhileKey[] = "msgReportChangedMeanwhile";

// An opened sheet of the form.
struct CDailyReportPage {
    int number = 0;
    const CVisitsSheet* visits = nullptr;             // a visits sheet, or
    const CRedirectionsSheet* redirections = nullptr; // a redirections sheet
};

enum class EDailyReportAction { Insert, Update, Delete };

struct CDailyReportSave {
    EDailyReportAction action = EDailyReportAction::Update;
    CDailyReportHeader header; // header.rowId names the report to update or delete
    QList<CDailyReportPage> pages;
    // Asked, inside the transaction, when `others` other reports carry the
    // saved report's checksum ("Похожая ведомость уже имеется в базе данных,
    // вы уверены, что хотите сохранить эту ведомость?"): true saves all the
    // same. Without it the save goes on.
    std::function<bool(qint64 others)> confirmDuplicate;
    // The report's rows as the form loaded them (DailyReportGuardedRows):
    // when they changed since, the save is refused (key
    // kReportChangedMeanwhileKey). Null or not taken: not checked.
    const CxRowsFingerprint* loaded = nullptr;
    // Receives, after a save that is not a delete, the fingerprint of the
    // rows as saved, taken before the COMMIT.
    CxRowsFingerprint* stored = nullptr;
};

// The question the form asks through confirmDuplicate.
QString DuplicateReportQuestion();

// Saves as described above; *reportId gets the report's ROWID. Answers false
// when refused (*refusal: the field, or the sheet with its row and column),
// when a statement fails (*error), or when the user declined the duplicate
// question (neither set). Nothing of the save remains after false.
[[nodiscard]] bool SaveDailyReport(CxSQL* sql, const CDailyReportSave& save, qint64* reportId,
                                   CDiaryVerdict* refusal, QString* error);
