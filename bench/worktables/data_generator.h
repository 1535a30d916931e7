#pragma once
// Fills an empty database at the current schema with a realistic load for
// the report benchmarks: three years (2013-2015) of daily reports at 30
// service points, a pool of clients of whom some are the same person under
// two records, materials of every configured group, consultations, and the
// clients' dated histories. Everything is made on the server (the sequence
// engine), so a million visit lines take seconds.
#include <QString>

class CxSQL;

// `visits`: the number of visit lines. Answers false with the reason.
bool GenerateReportData(CxSQL* sql, long visits, QString* error);
