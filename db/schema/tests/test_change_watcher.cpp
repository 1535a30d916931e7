// The change watcher: local changes counted and announced once per burst,
// rolled-back work not at all, other copies' changes announced after a poll,
// and the work tables dropped on a notice.
#include "db/change_watcher.h"
#include "db/schema/cache_clear.h"
#include "db/schema/cache_tables.h"
#include "framework/core/notify_processor.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/schema_test_database.h"

#include <QTest>
#include <thread>

namespace {
class Recorder : public CxNotifyProcessor {
public:
    Recorder() { RequestForNotify(QStringLiteral("sql"), QString()); }
    void OnNotify(const QString&, const QString& message) override { notices << message; }
    QStringList notices;
};

QString Counter(const SchemaTestDatabase& db, const QString& table) {
    return db.Scalar(QStringLiteral("SELECT nChangeID FROM watchdog WHERE cTable='%1'").arg(table));
}

bool HasTable(const SchemaTestDatabase& db, const QString& name) {
    return !db.Scalar(QStringLiteral("SHOW TABLES LIKE '%1'").arg(name)).isEmpty();
}
} // namespace

// The watcher's clock is stepped by hand (no timer): a burst, a flush and a
// poll happen at exact ticks, whatever the machine's speed.
constexpr CxWatchdogTiming kManual{0, 5, 20};

void Tick(int ticks) {
    for (int i = 0; i < ticks; ++i)
        MySQLWatchdog().OnTimer();
}

class TestChangeWatcher : public QObject {
    Q_OBJECT

private slots:
    void init() {
        MySQLWatchdog().Stop();
        MySQLWatchdog().SetTiming(kManual);
    }
    void cleanup() { MySQLWatchdog().Stop(); }

    // Before the start nothing is queued or written.
    void idleBeforeStart() {
        SchemaTestDatabase db;
        Recorder recorder;
        db.Connection()->WatchTable(QStringLiteral("dir"));
        db.Exec(QStringLiteral("INSERT INTO dir (cString) VALUES ('x')"));
        Tick(50);
        QVERIFY(recorder.notices.isEmpty());
        QCOMPARE(Counter(db, QStringLiteral("DIR")), QString());
    }

    // Three changes a few ticks apart add one to the counter and are
    // announced once, five ticks after the last; an unwatched table is
    // neither counted nor announced.
    void burstCountsOnce() {
        SchemaTestDatabase db;
        Recorder recorder;
        CxMySQL* sql = db.Connection();
        sql->WatchTable(QStringLiteral("dir"));
        sql->StartWatchdog();
        for (int i = 0; i < 3; ++i) {
            db.Exec(QStringLiteral("UPDATE dir SET nOrder=%1").arg(i));
            db.Exec(QStringLiteral("INSERT INTO profiles (cUser,cPath) VALUES ('u','%1')").arg(i));
            Tick(kManual.flushTicks - 1);
            QVERIFY(recorder.notices.isEmpty());
        }
        Tick(1);
        QCOMPARE(recorder.notices, QStringList{QStringLiteral("DIR")});
        QCOMPARE(Counter(db, QStringLiteral("DIR")), QStringLiteral("1"));
        QCOMPARE(Counter(db, QStringLiteral("PROFILES")), QString());
        // Its own counter move is not announced again at the next polls.
        Tick(3 * kManual.pollTicks);
        QCOMPARE(recorder.notices.size(), 1);
    }

    void rollbackCountsNothing() {
        SchemaTestDatabase db;
        Recorder recorder;
        CxMySQL* sql = db.Connection();
        sql->WatchTable(QStringLiteral("dir"));
        sql->StartWatchdog();
        QVERIFY(sql->BeginTransaction());
        db.Exec(QStringLiteral("INSERT INTO dir (cString) VALUES ('x')"));
        QVERIFY(sql->RollbackTransaction());
        Tick(2 * kManual.pollTicks);
        QVERIFY(recorder.notices.isEmpty());
        QCOMPARE(Counter(db, QStringLiteral("DIR")), QString());

        QVERIFY(sql->BeginTransaction());
        db.Exec(QStringLiteral("INSERT INTO dir (cString) VALUES ('y')"));
        Tick(2 * kManual.flushTicks);
        QVERIFY(recorder.notices.isEmpty());
        QVERIFY(sql->CommitTransaction());
        Tick(kManual.flushTicks);
        QCOMPARE(Counter(db, QStringLiteral("DIR")), QStringLiteral("1"));
        QCOMPARE(recorder.notices, QStringList{QStringLiteral("DIR")});
    }

    // While suspended nothing is polled, written or announced; the changes
    // wait and go once it resumes.
    void suspendedWaits() {
        SchemaTestDatabase db;
        Recorder recorder;
        CxMySQL* sql = db.Connection();
        sql->WatchTable(QStringLiteral("dir"));
        sql->StartWatchdog();
        sql->SuspendWatchdog(0);
        db.Exec(QStringLiteral("UPDATE dir SET nOrder=1"));
        Tick(2 * kManual.pollTicks);
        QVERIFY(recorder.notices.isEmpty());
        QCOMPARE(Counter(db, QStringLiteral("DIR")), QString());
        sql->SuspendWatchdog(1);
        Tick(kManual.flushTicks);
        QCOMPARE(recorder.notices, QStringList{QStringLiteral("DIR")});
    }

    // Another copy moves the counter: this copy announces the table at its next
    // poll, and the cache-clear listener drops the work tables.
    void otherCopyDropsWorkTables() {
        SchemaTestDatabase db;
        CxMySQL* sql = db.Connection();
        sql->WatchTable(QStringLiteral("dir"));
        sql->StartWatchdog();
        CCacheClear cacheClear(sql);
        db.Exec(QStringLiteral("UPDATE dir SET nOrder=1"));
        Tick(kManual.flushTicks);
        QCOMPARE(Counter(db, QStringLiteral("DIR")), QStringLiteral("1"));
        db.Exec(QStringLiteral("CREATE TABLE _cache_mat (x int) ENGINE=MyISAM"));
        db.Exec(QStringLiteral("CREATE TABLE _CACHE_Fast (x int)"));

        CxMySQL other;
        SQLConnectXML info = db.Info();
        QVERIFY(other.Connect(&info));
        QVERIFY(other
                    .Execute(QStringLiteral("UPDATE watchdog SET nChangeID=nChangeID+1 WHERE "
                                            "cTable='DIR'"))
                    .isValid());
        Tick(kManual.pollTicks);
        QVERIFY(!HasTable(db, QStringLiteral("_cache_mat")));
        QVERIFY(!HasTable(db, QStringLiteral("_cache_fast")));
    }

    // A work table that another copy builds under the lock is not dropped from
    // under it: the drop waits for the lock and then takes that table too.
    void dropWaitsForTheLock() {
        SchemaTestDatabase db;
        db.Exec(QStringLiteral("CREATE TABLE _cache_old (x int)"));
        CxMySQL other;
        SQLConnectXML info = db.Info();
        QVERIFY(other.Connect(&info));
        QCOMPARE(other.Lock(10), 1);
        bool built = false;
        std::thread builder([&other, &built] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            built = other.Execute(QStringLiteral("CREATE TABLE _cache_new (x int)")).isValid();
            other.Unlock();
        });
        const bool dropped = DropCacheTables(db.Connection());
        builder.join();
        QVERIFY(built);
        QVERIFY(dropped);
        QVERIFY(!HasTable(db, QStringLiteral("_cache_old")));
        QVERIFY(!HasTable(db, QStringLiteral("_cache_new")));
    }

    void cacheTableNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("cache");
        QTest::newRow("lower") << "_cache_fast" << true;
        QTest::newRow("upper") << "_CACHE_X" << true;
        QTest::newRow("prefix only") << "_cache_" << true;
        QTest::newRow("short") << "_cache" << false;
        QTest::newRow("other") << "cache_x" << false;
    }
    void cacheTableNames() {
        QFETCH(QString, name);
        QFETCH(bool, cache);
        QCOMPARE(IsCacheTableName(name), cache);
    }
};

QTEST_GUILESS_MAIN(TestChangeWatcher)
#include "test_change_watcher.moc"
