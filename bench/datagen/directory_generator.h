#pragma once
// The shared tables of a generated database: the own organisation, the towns
// of the configuration, and every kind of directory row (service points,
// workers, materials and services, drugs, training types, material groups
// and packages, donors), each kind in folders.
#include "datagen_random.h"
#include "datagen_world.h"
#include "framework/core/sql_result.h"

class CxSQL;
class xKDConfiguration;

// Writes orginf row 0 and the towns (through the configuration's own copy of
// its TOWNS list). False with *error when a statement fails.
bool GenerateOrganisation(CxSQL* sql, const CDataGenOptions& options, xKDConfiguration& config,
                          CDataGenWorld& world, QString* error);

// Writes the directory rows and records in the world what later stages use.
bool GenerateDirectories(CxSQL* sql, const CDataGenOptions& options, xKDConfiguration& config,
                         CDataGenRandom rnd, CDataGenWorld& world, QString* error);

// The text of a failed statement for the user: code, text, the statement's start.
QString DescribeSQLError(const CxSQLError& error);
