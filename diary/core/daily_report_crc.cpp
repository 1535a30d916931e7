#include "daily_report_crc.h"

#include "framework/core/checksum.h"
#include "framework/core/progress.h"
#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"
#include "framework/core/translation.h"

#include <QDate>
#include <QList>
#include <bit>
#include <climits>
#include <cstring>
#include <future>

namespace {
// Reports whose checksums one UPDATE writes.
constexpr int kWriteBatch = 1000;
// Rows between two progress steps and two looks at cancellation.
constexpr int kStepRows = 1024;

// The day an OLE automation date counts from.
const QDate kOleEpoch(1899, 12, 30);
constexpr int kOleFirstYear = 100;
constexpr int kOleLastYear = 9999;

// Column positions of the checksum query.
enum CrcColumn {
    ColWorkPlace,
    ColWorker1,
    ColWorker2,
    ColWorker3,
    ColDate,
    ColItem,
    ColClient,
    ColCount,
    ColReport,
};

constexpr CxTr Tr("BuildCRC");

void PutLE32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Reads n digits at pos; false unless they are all digits.
bool Digits(QByteArrayView text, qsizetype pos, int n, int* value) {
    if (pos + n > text.size())
        return false;
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char c = text[pos + i];
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    *value = v;
    return true;
}

uint32_t HeaderCrc(uint32_t seed, int32_t workPlace, int32_t worker1, int32_t worker2,
                   int32_t worker3, double oleDate) {
    unsigned char record[24];
    PutLE32(record, uint32_t(workPlace));
    PutLE32(record + 4, uint32_t(worker1));
    PutLE32(record + 8, uint32_t(worker2));
    PutLE32(record + 12, uint32_t(worker3));
    const auto bits = std::bit_cast<uint64_t>(oleDate);
    PutLE32(record + 16, uint32_t(bits));
    PutLE32(record + 20, uint32_t(bits >> 32));
    return CalcCrc(record, sizeof record, seed);
}

CxSQL* Connection(CxSQL* sql) {
    return sql ? sql : g_pBaseSQLConnection.get();
}

bool NoConnection(CxSQLError* error) {
    if (error)
        *error = CxSQLError{0, Tr("Нет соединения с базой данных"), QString()};
    return false;
}

struct PendingCrc {
    qint64 report;
    int32_t stored;
};

// Writes a batch of checksums; only reports still without one are touched.
bool WriteCrcs(CxSQL* sql, QList<PendingCrc>& pending, CxSQLError* error) {
    if (pending.isEmpty())
        return true;
    QString values;
    values.reserve(pending.size() * 32);
    for (qsizetype i = 0; i < pending.size(); ++i) {
        if (i == 0)
            values += QStringLiteral("SELECT %1 AS nID,%2 AS nValue")
                          .arg(pending[i].report)
                          .arg(pending[i].stored);
        else
            values += QStringLiteral(" UNION ALL SELECT %1,%2")
                          .arg(pending[i].report)
                          .arg(pending[i].stored);
    }
    pending.clear();
    CxResult res = sql->Execute(
        QStringLiteral("UPDATE dailyreport JOIN (") + values +
        QStringLiteral(") AS c ON c.nID=dailyreport.ROWID SET dailyreport.nCrc=c.nValue "
                       "WHERE IFNULL(dailyreport.nCrc,0)=0"));
    if (!res.isValid()) {
        if (error)
            *error = res.Error();
        return false;
    }
    return true;
}
} // namespace

double DailyReportOleDate(QByteArrayView text) {
    int year = 0, month = 0, day = 0;
    if (!Digits(text, 0, 4, &year) || text.size() < 10 || text[4] != '-' || text[7] != '-' ||
        !Digits(text, 5, 2, &month) || !Digits(text, 8, 2, &day))
        return 0.0;
    int hour = 0, minute = 0, second = 0;
    if (text.size() > 10) {
        if (text.size() < 19 || text[10] != ' ' || !Digits(text, 11, 2, &hour) || text[13] != ':' ||
            !Digits(text, 14, 2, &minute) || text[16] != ':' || !Digits(text, 17, 2, &second) ||
            hour > 23 || minute > 59 || second > 59)
            return 0.0;
    }
    if (!QDate::isValid(year == 0 ? 2000 : year, month, day))
        return 0.0;
    if (year < kOleFirstYear || year > kOleLastYear)
        return -1.0;
    const double days = double(kOleEpoch.daysTo(QDate(year, month, day)));
    const double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    // Before the epoch the OLE date keeps the time as a positive fraction
    // after the negative day number.
    return days < 0 ? days - fraction : days + fraction;
}

uint32_t BuildCRC_HeaderCrc(uint32_t seed, int32_t workPlace, int32_t worker1, int32_t worker2,
                            int32_t worker3, const QString& dateText) {
    return HeaderCrc(seed, workPlace, worker1, worker2, worker3,
                     DailyReportOleDate(dateText.toLatin1()));
}

uint32_t BuildCRC_VisitCrc(uint32_t seed, int32_t item, int32_t clientId, int32_t count) {
    unsigned char record[12];
    PutLE32(record, uint32_t(item));
    PutLE32(record + 4, uint32_t(clientId));
    PutLE32(record + 8, uint32_t(count));
    return CalcCrc(record, sizeof record, seed);
}

int32_t DailyReportStoredCrc(uint32_t crc) {
    return crc == 0 ? 1 : static_cast<int32_t>(crc);
}

bool BuildCRC(CvProgress* progress, bool allRegions, CxSQL* sql, CxSQLError* error) {
    sql = Connection(sql);
    if (!sql || !sql->IsConnected())
        return NoConnection(error);
    if (progress)
        progress->BeginProgress(Tr("Проверка контрольных сумм"), -1);

    QString pick = QStringLiteral("IFNULL(dailyreport.nCrc,0)=0");
    if (!allRegions)
        pick += QStringLiteral(" AND dailyreport.nRegionDataID=0");
    auto fail = [&](const CxResult& failed) {
        if (error)
            *error = failed.Error().isSet() ? failed.Error() : failed.FetchError();
        if (progress)
            progress->EndProgress();
        return false;
    };
    // The progress counts reports: counting the cells would cost a pass of
    // its own over the biggest table.
    CxResult count = sql->Execute(QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE ") + pick);
    if (!count.isValid() || !count.FetchRow())
        return fail(count);
    const qint64 reports = count.LFieldValue(0);
    if (progress && reports > 0)
        progress->SetRange(int(qMin<qint64>(reports, INT_MAX)), Tr("Расчет контрольных сумм"));

    // One query reads every report still without a checksum with its cells,
    // in report order, so each report ends where the next one begins. Rows
    // number from 0 on every sheet, so the sheet and the row key complete the
    // order: the same cells give the same checksum whatever order the server
    // hands equal keys in.
    const QString query =
        QStringLiteral(
            "SELECT dailyreport.nWorkPlace,dailyreport.nWorker1,dailyreport.nWorker2,"
            "dailyreport.nWorker3,dailyreport.dDate,dailyvisits.nItem,dailyvisits.nClientID,"
            "dailyvisits.nCount,dailyreport.ROWID FROM dailyreport LEFT JOIN dailyvisits ON "
            "dailyvisits.nReportID=dailyreport.ROWID WHERE ") +
        pick +
        QStringLiteral(" ORDER BY dailyreport.ROWID,dailyvisits.nItem,dailyvisits.NPP,"
                       "dailyvisits.nVedID,dailyvisits.ROWID");
    // The rows stream in, whatever their number, while the checksums are
    // written on this connection: a batch is written on another thread while
    // the rows of the next one come. Inside a transaction the rows must come
    // from the transaction itself, so they are read in one go and the batches
    // written in turn.
    const bool streamed = sql->IsUpdateEnabled();
    QList<PendingCrc> pending;
    pending.reserve(kWriteBatch);
    CxResult res = streamed ? sql->ExecuteStreamed(query) : sql->Execute(query);
    if (!res.isValid())
        return fail(res);
    std::future<CxSQLError> writing;
    auto write = [&]() {
        if (writing.valid()) {
            const CxSQLError failed = writing.get();
            if (failed.isSet()) {
                if (error)
                    *error = failed;
                return false;
            }
        }
        if (!streamed)
            return WriteCrcs(sql, pending, error);
        if (pending.isEmpty())
            return true;
        writing = std::async(std::launch::async, [sql, batch = std::move(pending)]() mutable {
            CxSQLError failed;
            WriteCrcs(sql, batch, &failed);
            return failed;
        });
        pending = QList<PendingCrc>();
        pending.reserve(kWriteBatch);
        return true;
    };

    CxResultBase* raw = res.Base();
    qint64 current = -1;
    uint32_t crc = kDailyReportCrcSeed;
    int unstepped = 0;
    int rowsSinceLook = 0;
    bool ok = true;
    while (ok && res.FetchRow()) {
        if (++rowsSinceLook == kStepRows) {
            if (progress) {
                progress->Step(QString(), unstepped);
                if (progress->IsCancelled()) {
                    if (writing.valid())
                        writing.wait();
                    if (error)
                        *error = CxSQLError{0, Tr("Прервано пользователем"), QString()};
                    progress->EndProgress();
                    return false;
                }
            }
            unstepped = 0;
            rowsSinceLook = 0;
        }
        const qint64 report = res.LFieldValue(ColReport);
        if (report != current) {
            ++unstepped;
            if (current != -1) {
                pending.append({current, DailyReportStoredCrc(crc)});
                if (pending.size() == kWriteBatch)
                    ok = write();
            }
            current = report;
            const char* date = raw->RawField(ColDate);
            crc = HeaderCrc(
                kDailyReportCrcSeed, int32_t(res.LFieldValue(ColWorkPlace)),
                int32_t(res.LFieldValue(ColWorker1)), int32_t(res.LFieldValue(ColWorker2)),
                int32_t(res.LFieldValue(ColWorker3)),
                DailyReportOleDate(date ? QByteArrayView(date, raw->FieldLength(ColDate))
                                        : QByteArrayView()));
        }
        crc = BuildCRC_VisitCrc(crc, int32_t(res.LFieldValue(ColItem)),
                                int32_t(res.LFieldValue(ColClient)),
                                int32_t(res.LFieldValue(ColCount)));
    }
    if (ok && res.FetchError().isSet()) {
        ok = false;
        if (error)
            *error = res.FetchError();
    }
    if (ok && current != -1)
        pending.append({current, DailyReportStoredCrc(crc)});
    // The last batch, and the one still being written, whatever went wrong.
    if (ok)
        ok = write();
    if (writing.valid()) {
        const CxSQLError failed = writing.get();
        if (ok && failed.isSet()) {
            ok = false;
            if (error)
                *error = failed;
        }
    }
    if (progress) {
        if (unstepped)
            progress->Step(QString(), unstepped);
        progress->EndProgress(ok ? QStringLiteral("Ok") : QString());
    }
    return ok;
}

bool CountReportsWithSameCrc(qint64 reportId, qint64* others, CxSQL* sql, CxSQLError* error) {
    sql = Connection(sql);
    if (!sql || !sql->IsConnected())
        return NoConnection(error);
    const QString read =
        QStringLiteral("SELECT nCrc FROM dailyreport WHERE ROWID=%1").arg(reportId);
    CxResult own = sql->Execute(read);
    if (!own.isValid() || !own.FetchRow()) {
        if (error)
            *error =
                own.isValid()
                    ? CxSQLError{0, Tr("Ежедневный отчет не найден", "CDDiary::CheckDuplicateCrc"),
                                 read}
                    : own.Error();
        return false;
    }
    const long crc = own.LFieldValue(0);
    // 0 and NULL mean "not computed": such reports are no one's duplicates.
    if (crc == 0) {
        *others = 0;
        return true;
    }
    CxResult count =
        sql->Execute(QStringLiteral("SELECT COUNT(*) FROM dailyreport WHERE nCrc=%1").arg(crc));
    if (!count.isValid() || !count.FetchRow()) {
        if (error)
            *error = count.Error();
        return false;
    }
    // The count holds the report itself.
    *others = qMax<qint64>(0, count.LFieldValue(0) - 1);
    return true;
}
