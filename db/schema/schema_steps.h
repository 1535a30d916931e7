#pragma once
// The numbered schema steps that take a database to the current version.
#include <QString>

enum class SchemaStepKind {
    Old,    // one statement of the first generation of steps
    Single, // one statement
    Multi,  // several statements separated by ';'
};

struct SchemaStep {
    int number;
    SchemaStepKind kind;
    const char* sql; // UTF-8; empty: only advances the version; null: built by the updater
};

extern const SchemaStep kSchemaSteps[];
extern const int kSchemaStepCount;

// The statement text of a step as the updater issues it (the built ones
// included); empty for a step that only moves the version.
QString SchemaStepText(const SchemaStep& step);

// The version that a database has when every step ran.
constexpr int kCurrentSchemaVersion = 486;
