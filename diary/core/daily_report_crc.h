#pragma once
// The checksum of a daily report (dailyreport.nCrc): a fingerprint of the
// report's header (service point, three workers, date) and of all its visit
// cells, which tells two reports that hold the same sheet data. The daily
// report form clears it when it saves a report, rebuilds it (BuildCRC) in the
// same transaction and asks before it stores a report whose checksum another
// report has (CountReportsWithSameCrc); the database test rebuilds every
// missing checksum.
//
// The value is the CRC register (framework/core/checksum.h) started at
// 0xFFFFFFFF and chained over a 24-byte header record and one 12-byte record
// per visit cell, all little-endian:
//   header: nWorkPlace, nWorker1, nWorker2, nWorker3 (int32 each), the date as
//           an OLE automation date (double: days since 1899-12-30);
//   visit:  nItem, nClientID, nCount (int32 each).
// Cells are folded in the order of item, row (NPP), sheet and row key; a
// report without cells folds one visit record of zeros. NULL integers read as
// 0. The comment, the project, the sheet numbers, the redirections and the
// column layout are not covered.
//
// The column stores the unsigned value through its signed 32-bit form; 0 and
// NULL mean "not computed", so a checksum of 0 is stored as 1.
#include "framework/core/sql_result.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>

class CxSQL;
class CvProgress;

// The seed a report's checksum starts from.
inline constexpr uint32_t kDailyReportCrcSeed = 0xFFFFFFFFu;

// The OLE automation date of dDate as the server gives it ("yyyy-mm-dd", with
// an optional time "hh:mm:ss"): 0.0 when the text is not a date (a NULL date
// gives an empty text, a zero date "0000-00-00"), -1.0 for a date outside the
// years 100 to 9999.
double DailyReportOleDate(QByteArrayView text);

// The checksum continued over a header record.
uint32_t BuildCRC_HeaderCrc(uint32_t seed, int32_t workPlace, int32_t worker1, int32_t worker2,
                            int32_t worker3, const QString& dateText);
// The checksum continued over a visit record.
uint32_t BuildCRC_VisitCrc(uint32_t seed, int32_t item, int32_t clientId, int32_t count);
// The value the column stores for a checksum.
int32_t DailyReportStoredCrc(uint32_t crc);

// Computes and stores the checksum of every report whose nCrc is NULL or 0:
// only the own organisation's reports (nRegionDataID 0) unless allRegions.
// Runs on the connection given, else on the base connection; inside the
// caller's transaction when one is open. Only reports still without a
// checksum are written, so a report saved meanwhile by someone else keeps the
// checksum of its own save.
//
// Answers true when every report was done. A failing statement answers false
// with the server's error in *error; the checksums written before it stay
// (they are right, and the next run skips them). When the progress reports
// cancellation the run stops, writes nothing more and answers false.
bool BuildCRC(CvProgress* progress, bool allRegions, CxSQL* sql = nullptr,
              CxSQLError* error = nullptr);

// The duplicate question of a save: how many other reports carry the
// checksum of the report (all organisations and folder rows counted). A
// report without a checksum has none. Answers false, with *error, when the
// report cannot be read or a query fails.
bool CountReportsWithSameCrc(qint64 reportId, qint64* others, CxSQL* sql = nullptr,
                             CxSQLError* error = nullptr);
