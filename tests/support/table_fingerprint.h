#pragma once
// Every table's checksum in one text, for tests that must show a failed or
// stopped run left a database exactly as it was: equal before and after
// means nothing stored changed.
#include "test_database.h"

#include <QStringList>

inline QString TableFingerprint(const TestDatabase& db) {
    CxResult tables = db.Exec(QStringLiteral("SHOW TABLES"));
    QStringList names;
    while (tables.FetchRow())
        names << QStringLiteral("`%1`").arg(tables.SFieldValue(0));
    return db.Rows(QStringLiteral("CHECKSUM TABLE ") + names.join(u','));
}
