#include "change_watcher.h"
#include "framework/core/table/safe_sql.h"

#include "framework/core/sql_connection.h"
#include "framework/core/tarvik_app.h"

#include <QTimer>

CxMySQLWatchdog& MySQLWatchdog() {
    // Never destroyed: connections that close during program exit still reach it.
    static auto* watchdog = new CxMySQLWatchdog;
    return *watchdog;
}

CxMySQLWatchdog::CxMySQLWatchdog() = default;
CxMySQLWatchdog::~CxMySQLWatchdog() = default;

void CxMySQLWatchdog::Start(CxSQL* connection) {
    QMutexLocker lock(&m_lock);
    if (m_connection || !connection)
        return;
    m_connection = connection;
    m_flushCountdown = m_timing.flushTicks;
    m_pollCountdown = m_timing.pollTicks;
    if (m_timing.tickMs <= 0)
        return;
    m_timer = std::make_unique<QTimer>();
    m_timer->setSingleShot(true);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { OnTimer(); });
    m_timer->start(m_timing.tickMs);
}

void CxMySQLWatchdog::SetTiming(const CxWatchdogTiming& timing) {
    QMutexLocker lock(&m_lock);
    m_timing = timing;
}

void CxMySQLWatchdog::Stop(CxSQL* connection) {
    QMutexLocker lock(&m_lock);
    if (connection && connection != m_connection)
        return;
    m_timer.reset();
    m_connection = nullptr;
    m_flushCountdown = 0;
    m_pollCountdown = 0;
    m_known.clear();
    m_pending.clear();
    m_watched.clear();
    m_suspend = 0;
    m_timing = CxWatchdogTiming();
}

void CxMySQLWatchdog::WatchTable(const QString& table) {
    QMutexLocker lock(&m_lock);
    const QString name = table.toUpper();
    m_watched.insert(name);
    if (!m_known.contains(name))
        m_known.insert(name, -1);
}

int CxMySQLWatchdog::Suspend(int flag) {
    QMutexLocker lock(&m_lock);
    if (flag == 0)
        ++m_suspend;
    else if (m_suspend > 0)
        --m_suspend;
    return flag;
}

void CxMySQLWatchdog::AddChanges(const QStringList& tables) {
    QMutexLocker lock(&m_lock);
    // The watcher's own statements come back here while it ticks.
    if (m_inTick || tables.isEmpty() || !m_connection)
        return;
    for (const QString& t : tables)
        m_pending.insert(t);
    m_flushCountdown = m_timing.flushTicks;
}

void CxMySQLWatchdog::Restart() {
    if (m_timer)
        m_timer->start(m_timing.tickMs);
}

void CxMySQLWatchdog::OnTimer() {
    if (!m_lock.tryLock()) {
        Restart();
        return;
    }
    if (m_suspend > 0 || !m_connection || !m_connection->IsConnected()) {
        Restart();
        m_lock.unlock();
        return;
    }
    m_inTick = true;
    if (m_pollCountdown > 0 && --m_pollCountdown == 0) {
        Poll();
        m_pollCountdown = m_timing.pollTicks;
    }
    if (m_flushCountdown > 0 && --m_flushCountdown == 0)
        Flush();
    m_inTick = false;
    Restart();
    m_lock.unlock();
}

void CxMySQLWatchdog::Poll() {
    CxResult res = m_connection->Execute(QStringLiteral("SELECT * FROM watchdog"));
    if (!res.isValid())
        return;
    const int tableCol = res.FieldPos(QStringLiteral("cTable"), 1);
    const int changeCol = res.FieldPos(QStringLiteral("nChangeID"), 1);
    if (tableCol < 0 || changeCol < 0)
        return;
    QSet<QString> seen;
    QStringList changed;
    while (res.FetchRow()) {
        const QString table = res.SFieldValue(tableCol);
        const QString key = table.toUpper();
        seen.insert(key);
        auto it = m_known.find(key);
        if (it == m_known.end())
            continue;
        const long value = res.LFieldValue(changeCol);
        if (it.value() == value)
            continue;
        const bool firstRead = it.value() == -1;
        it.value() = value;
        if (!firstRead)
            changed << table;
    }
    // A watched table without a counter row counts as 0, so the first change
    // another copy makes to it is announced too.
    for (auto it = m_known.begin(); it != m_known.end(); ++it)
        if (it.value() == -1 && !seen.contains(it.key()))
            it.value() = 0;
    for (const QString& table : changed)
        CTarvikApp::SendForNotify(QStringLiteral("SQL"), table);
}

void CxMySQLWatchdog::Flush() {
    const QSet<QString> pending = std::exchange(m_pending, {});
    for (const QString& raw : pending) {
        const QString name = raw.toUpper();
        if (!m_watched.contains(name))
            continue;
        const QString literal = SafeSQL(name);
        CxResult res = m_connection->Execute(
            QStringLiteral("SELECT nChangeID FROM watchdog WHERE cTable=") + literal);
        // A count that fails (the failure is in the error list) only keeps
        // other copies from hearing of this change; this copy announces it.
        if (res.isValid() && res.FetchRow()) {
            m_known[name] = res.LFieldValue(0) + 1;
        } else {
            static_cast<void>(m_connection->Execute(
                QStringLiteral("REPLACE INTO watchdog set nChangeID=0,cTable=") + literal));
            m_known[name] = 1;
        }
        static_cast<void>(m_connection->Execute(
            QStringLiteral("UPDATE watchdog set nChangeID=nChangeID+1 WHERE cTable=") + literal));
        CTarvikApp::SendForNotify(QStringLiteral("SQL"), name);
    }
}
