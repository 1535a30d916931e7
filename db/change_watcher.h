#pragma once
// Counts this copy's table changes in `watchdog` and announces changed tables,
// its own and other copies', on the notice channel "SQL".
//
// The connection hands over the tables that statements changed (outside a
// transaction at once, inside one at COMMIT). About 50 ms after the last
// change of a burst the watcher adds one to each watched table's counter and
// announces the table; every 2 s it reads all counters and announces the
// tables whose counters another copy moved. It ticks every 10 ms on a timer of
// the thread that started it; a tick that finds the watcher busy is skipped,
// and so is one while the connection is away (it goes on where it was once
// the connection is back, so other copies' changes made meanwhile are
// announced at the next poll).
#include <QHash>
#include <QRecursiveMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class CxSQL;
class QTimer;

// The watcher's clock, in ticks of tickMs: a change is counted flushTicks
// after the last one of a burst, and the counters are read every pollTicks.
// A tickMs of 0 starts no timer: the caller ticks (OnTimer), as tests do to
// step through time without waiting on it.
struct CxWatchdogTiming {
    int tickMs = 10;
    int flushTicks = 5;
    int pollTicks = 200;
};

class CxMySQLWatchdog {
public:
    CxMySQLWatchdog();
    ~CxMySQLWatchdog();

    // Starts on the connection; a second call changes nothing.
    void Start(CxSQL* connection);
    // Used from the next Start on; Stop goes back to the default timing.
    void SetTiming(const CxWatchdogTiming& timing);
    // Forgets the connection (it is closing) and everything queued; nullptr
    // stops whatever connection it runs on.
    void Stop(CxSQL* connection = nullptr);
    bool IsStarted() const { return m_connection != nullptr; }

    // Only watched tables are counted and announced.
    void WatchTable(const QString& table);
    // 0 suspends (counted), another value resumes; answers the flag.
    int Suspend(int flag);
    void AddChanges(const QStringList& tables);

    // One tick of the timer.
    void OnTimer();

private:
    void Poll();
    void Flush();
    void Restart();

    QRecursiveMutex m_lock;
    CxWatchdogTiming m_timing;
    CxSQL* m_connection = nullptr;
    std::unique_ptr<QTimer> m_timer;
    int m_flushCountdown = 0;
    int m_pollCountdown = 0;
    QHash<QString, long> m_known; // upper-case name -> last known counter, -1 unread
    bool m_inTick = false;
    int m_suspend = 0;
    QSet<QString> m_pending;
    QSet<QString> m_watched;
};

CxMySQLWatchdog& MySQLWatchdog();
