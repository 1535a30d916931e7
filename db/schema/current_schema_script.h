#pragma once
// A database's tables at schema version 486 in one script (no CREATE
// DATABASE or USE), with the settings rows that say so: what the creation
// script and the schema steps up to 486 make, without replaying every step.
// The updater takes a database made from it on to the current version.
extern const char kCurrentSchemaScript[];
