#pragma once
// What the report fields share: translation, the run's period in SQL, and the
// work tables a field reads (S the period summary the query runs over, D the
// clients' state at the period's end, C the client records, both joined to S
// by client).
#include <QDate>
#include <QString>

#include "framework/core/translation.h"

class CRepBaseData;
class CSimpleSelect;

namespace RepFieldSupport {
inline constexpr CxTr Tr;
// "STR_TO_DATE('yyyymmdd','%Y%m%d')"
QString SqlDate(const QDate& date);
// "<column> BETWEEN <From> AND <To>" over the run's period.
QString InPeriod(const QString& column, CRepBaseData* run);
// S: the run's period summary table.
QString SummaryTable(CRepBaseData* run);
// D: the state table at the run's period end, joined into the select.
QString StateTable(CSimpleSelect& select, CRepBaseData* run);
// C: the client records (code, sex, birth year, person key), joined into the
// select; a field that reads nothing else takes them from here, not from D.
QString ClientTable(CSimpleSelect& select, CRepBaseData* run);
} // namespace RepFieldSupport
