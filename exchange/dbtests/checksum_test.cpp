// The test of the daily reports' checksums: every own report without one
// gets it computed and stored.
#include "diary/core/daily_report_crc.h"
#include "framework/core/run_log.h"
#include "framework/core/tarvik_app.h"
#include "kelda_db_tests.h"

IMPLEMENT_DBTEST(CKDDBTest_CalcCRC);

QString CKDDBTest_CalcCRC::GetTestName() const {
    return Tr(QStringLiteral("Проверка контрольных сумм"),
              QStringLiteral("CKDDBTest_CalcCRC::GetTestName"));
}

bool CKDDBTest_CalcCRC::FullTest() {
    // The computation shows its own progress. Checksums stored before a
    // failure stay: they are right, and the next run skips them.
    CxSQLError error;
    if (BuildCRC(GetProgress(), false, GetSQL(), &error))
        return true;
    return Fail(DescribeSQLError(error));
}
