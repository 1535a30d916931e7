#pragma once
// The report work tables "_cache_…" hold results derived from the data; they
// are dropped whenever the data under them may have changed.
//
// A build reads the work tables it made or found for its whole length, so a
// drop must not take them from under it. Each build holds the tables
// (CCacheHold) from its start to its end; the hold is a named server lock of
// a slot among kCacheHoldSlots per database, so it ends with the connection
// when a program dies. A drop asked for while other builds hold the tables
// marks them stale instead (the table "_cache_stale"); a build that starts
// while they are stale waits until the holders are done and the tables are
// gone, and the last holder to end drops them. So a running build finishes
// on the tables it started with, and no later build reads a stale one.
#include <QString>

class CvProgress;
class CxSQL;

// Whether a table is a work table (its name begins with "_cache_", any case).
bool IsCacheTableName(const QString& name);

// Drops every work table of the database (the base connection when none is
// given), or, while builds of other connections hold them, marks them stale
// so that they are dropped as soon as the last of those builds ends. The
// drop itself takes the named lock "dblock" first, under which other copies
// build work tables, so a table in the making is not taken from under them.
// Answers false when the lock was not had or a drop failed (the connection
// reports the failure).
bool DropCacheTables(CxSQL* sql = nullptr);

// Whether the work tables are marked stale (a drop waits for their holders).
bool CacheTablesStale(CxSQL* sql);

// The hold of one build on the work tables. Holds of one connection nest.
class CCacheHold {
public:
    // Builds that may hold the tables of one database at once; more wait.
    static constexpr int kCacheHoldSlots = 64;

    explicit CCacheHold(CxSQL* sql = nullptr);
    ~CCacheHold();
    CCacheHold(const CCacheHold&) = delete;
    CCacheHold& operator=(const CCacheHold&) = delete;

    // Takes the hold. While the tables are stale it waits (telling the
    // progress, which may stop it) until their holders end, then drops them
    // and takes the hold on a fresh start. False when stopped or the server
    // failed; `error` says why.
    bool Acquire(CvProgress* progress = nullptr, QString* error = nullptr);
    // Gives the hold back; the last holder drops tables marked stale.
    void Release();
    bool Held() const { return m_held; }

private:
    CxSQL* m_sql;
    bool m_held = false;
};
