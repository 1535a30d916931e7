// Makes the schema template database once per test run (ctest fixture
// "schema_template"), from which every SchemaTestDatabase is copied.
#include "schema_test_database.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        SchemaTestDatabase::BuildTemplate();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
