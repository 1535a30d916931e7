#include "run_steps.h"

#include "framework/core/sql_connection.h"

bool CvRunSteps::RunStatement(CxSQL* sql, const QString& statement, CxResult* out) {
    CxResult res = sql->Execute(statement);
    if (!res.isValid())
        return Fail(DescribeSQLError(res.Error()));
    if (out)
        *out = res;
    return true;
}
