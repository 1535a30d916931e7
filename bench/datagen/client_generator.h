#pragma once
// The client register of a generated database: clients under valid codes, in
// folders, with their dated histories (vulnerable groups, drug use, risk
// behaviour, social status; the newest row of each marked by nLastLinkID) and
// their health rows.
#include "datagen_random.h"
#include "datagen_world.h"

class CxSQL;

bool GenerateClients(CxSQL* sql, const CDataGenOptions& options, CDataGenRandom rnd,
                     CDataGenWorld& world, QString* error);

// The client code of the card: three capital letters, the two-digit birth
// day, the last two digits of the birth year and the sex letter (ч, ж or т).
QString MakeClientCode(const QString& letters, int birthDay, int birthYear, int sex);
