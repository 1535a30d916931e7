#include "cx_table.h"
#include "framework/core/enums/enum2.h"
#include "safe_sql.h"

QString EnumTextSQL(CEnum2* enumeration, const QString& codeExpression) {
    // A CASE needs at least one WHEN: an empty list (a configuration list
    // without items) shows no text.
    if (!enumeration || enumeration->GetCount_sEnum2() == 0)
        return SafeSQL(QString());
    return enumeration->GetSQL(codeExpression);
}
