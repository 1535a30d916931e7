#include "field_support.h"

#include "framework/core/select/simple_select.h"
#include "framework/core/tarvik_app.h"
#include "reports/base/core/rep_base_data.h"

namespace RepFieldSupport {

QString SqlDate(const QDate& date) {
    return QStringLiteral("STR_TO_DATE('") + date.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral("','%Y%m%d')");
}

QString InPeriod(const QString& column, CRepBaseData* run) {
    return column + QStringLiteral(" BETWEEN ") + SqlDate(run->From()) + QStringLiteral(" AND ") +
           SqlDate(run->To());
}

QString SummaryTable(CRepBaseData* run) {
    return run->PrepareSummaryTable();
}

QString StateTable(CSimpleSelect& select, CRepBaseData* run) {
    return run->PrepareSnapshotTables(&select, run->To());
}

QString ClientTable(CSimpleSelect& select, CRepBaseData* run) {
    return run->JoinClientTable(&select);
}
} // namespace RepFieldSupport
