#pragma once
// Drops the report work tables when one of the tables they are built from
// changes, in this copy or another. The application keeps one for the run;
// the schema update makes it at its end.
#include "framework/core/notify_processor.h"

class CxSQL;

class CCacheClear : public CxNotifyProcessor {
public:
    // `sql`: the connection to drop through; nullptr uses the base connection.
    explicit CCacheClear(CxSQL* sql = nullptr);
    void OnNotify(const QString& channel, const QString& message) override;

private:
    CxSQL* m_sql;
};
