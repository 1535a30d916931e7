#pragma once
// A test database that already stands at the current schema version (486),
// with the program's final tables and the framework's own tables, empty.
//
// Running every schema step takes seconds, so the steps run once per test run
// into a template database ("kelda_schema_template" on the private server),
// and each SchemaTestDatabase is a fresh copy of it (same tables, keys,
// engines and character sets), dropped when the object goes.
//
// Use: register the test with the SCHEMA flag, which makes ctest build the
// template first (fixture "schema_template"):
//
//   kelda_add_test(test_my_tables SOURCES test_my_tables.cpp LIBS kelda_db SCHEMA)
//
//   SchemaTestDatabase db;                  // fresh copy at version 486
//   db.Exec("INSERT INTO dir (...) VALUES (...)");
//   CxMySQL* sql = db.Connection();          // a connection on the copy
//
// Outside ctest the first SchemaTestDatabase builds the template itself.
#include "test_database.h"

class SchemaTestDatabase : public TestDatabase {
public:
    explicit SchemaTestDatabase(const QString& purpose = QStringLiteral("s"));

    static QString TemplateName();
    // Makes the template anew (what the fixture runs); throws on failure.
    static void BuildTemplate();
    // Builds the template when it is missing or unfinished; throws on failure.
    static void EnsureTemplate();
};
