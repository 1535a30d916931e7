#pragma once
// The names under which the framework's work is known beyond one run of the
// program: other copies on the same server wait on its schema lock, and other
// installations read its backup files. They are the program's, not the
// framework's: the program hands them in once at start, before it connects,
// and a value once released never changes, or those copies and files no
// longer know each other. Until then the framework uses neutral names of its
// own (tools and tests that share nothing with the program).
#include <QByteArray>
#include <QString>

struct CxProgramMarks {
    // The server-wide named lock of schema work is "<prefix><database>".
    QString schemaLockPrefix = QStringLiteral("schema:");
    // The container part that holds a backup's header, and the header's
    // first bytes.
    QByteArray backupHeaderPart = QByteArrayLiteral("Backup.Header");
    QByteArray backupMagic = QByteArrayLiteral("database backup");
    // The file name extension of backups, without the dot.
    QString backupExtension = QStringLiteral("backup");
};

void SetProgramMarks(const CxProgramMarks& marks);
const CxProgramMarks& ProgramMarks();
