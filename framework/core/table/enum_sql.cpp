#include "cx_table.h"

// Placeholder until the enumeration model lands: the code itself as text.
QString EnumTextSQL(CEnum2*, const QString& codeExpression) {
    return QStringLiteral("CAST(") + codeExpression + QStringLiteral(" AS CHAR)");
}
