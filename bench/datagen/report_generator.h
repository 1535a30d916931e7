#pragma once
// The daily reports of a generated database: one report per service point
// and working day, in a folder per year, with its visits sheets (cells in
// dailyvisits, columns in dailyvisitssubhdr) and, on some days, a
// redirections sheet (dailyredirects); exactly the number of visit cells
// asked for. Trainings with their participants complete the activity.
#include "datagen_random.h"
#include "datagen_world.h"

class CxSQL;

bool GenerateDailyReports(CxSQL* sql, const CDataGenOptions& options, CDataGenRandom rnd,
                          const CDataGenWorld& world, QString* error);

bool GenerateTrainings(CxSQL* sql, const CDataGenOptions& options, CDataGenRandom rnd,
                       const CDataGenWorld& world, QString* error);
