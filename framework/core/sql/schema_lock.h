#pragma once
// One connection at a time makes or upgrades a given database: the server's
// named lock "<prefix><database>" (the prefix is the program's,
// ProgramMarks; named locks are server-wide, the name keeps databases apart). A program that died
// half way keeps the lock until the server has finished the statement it was running and closed its
// session, so the next start never works beside the remains of the last one.
#include <QString>
#include <functional>

class CxSQL;

class CxSchemaWorkLock {
public:
    // Waits for the lock in short slices, up to a quarter of an hour; the
    // first time it must wait, `waiting` (may be empty) hears why.
    CxSchemaWorkLock(CxSQL* sql, const QString& database,
                     const std::function<void(const QString&)>& waiting = {});
    ~CxSchemaWorkLock();
    bool Locked() const { return m_locked; }

    CxSchemaWorkLock(const CxSchemaWorkLock&) = delete;
    CxSchemaWorkLock& operator=(const CxSchemaWorkLock&) = delete;

private:
    CxSQL* m_sql;
    QString m_name;
    bool m_locked = false;
};
