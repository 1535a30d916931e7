// A server restarted under a running connection, on a private server of this
// test's own (the shared test server must stay up for the other tests): the
// loss is noticed and announced, the cut transaction fails cleanly and leaves
// nothing, the connection comes back by itself with its session as the
// program wants it, the next statement succeeds and the change watcher acts
// on another copy's change again.
#include "db/change_watcher.h"
#include "db/mysql_connection.h"
#include "framework/core/notify_processor.h"
#include "framework/core/tarvik_app.h"

#include <QProcess>
#include <QTest>

namespace {
class Recorder : public CxNotifyProcessor {
public:
    explicit Recorder(const QString& channel) { RequestForNotify(channel, QString()); }
    void OnNotify(const QString&, const QString& message) override { notices << message; }
    QStringList notices;
};

const QString kDatabase = QStringLiteral("kt_loss");
} // namespace

class TestConnectionLoss : public QObject {
    Q_OBJECT
    QString m_socket;

    // Starts or stops the private server; answers whether the script succeeded.
    bool Server(const QString& command) {
        QProcess script;
        script.start(QStringLiteral(KELDA_SOURCE_DIR "/scripts/mariadb-private.sh"),
                     {command, QStringLiteral(KELDA_LOSS_DB_DIR)});
        if (!script.waitForFinished(180000) || script.exitCode() != 0) {
            qWarning().noquote() << script.readAllStandardError();
            return false;
        }
        if (command == QLatin1String("start"))
            m_socket = QString::fromLocal8Bit(script.readAllStandardOutput()).trimmed();
        return true;
    }
    SQLConnectXML Info() const {
        SQLConnectXML info;
        info.put_Server(QStringLiteral("localhost"));
        info.put_User(QStringLiteral("root"));
        info.put_Socket(m_socket);
        info.put_Database(kDatabase);
        return info;
    }
    QString Scalar(const QString& statement) {
        CxMySQL sql;
        SQLConnectXML info = Info();
        if (!sql.Connect(&info))
            return QStringLiteral("no connection");
        CxResult res = sql.Execute(statement);
        return res.FetchRow() ? res.SFieldValue(0) : QString();
    }

private slots:
    void initTestCase() {
        QVERIFY(Server(QStringLiteral("start")));
        CxMySQL admin;
        SQLConnectXML info = Info();
        info.put_Database(QString());
        QVERIFY(admin.Connect(&info));
        QVERIFY(admin.MultiQuery(QStringLiteral(
            "DROP DATABASE IF EXISTS kt_loss; CREATE DATABASE kt_loss; USE kt_loss;"
            "CREATE TABLE dir (ROWID int PRIMARY KEY, cString varchar(50)) ENGINE=InnoDB;"
            "CREATE TABLE watchdog (cTable varchar(64) NOT NULL, nChangeID int NOT NULL "
            "default 0, UNIQUE KEY cTable (cTable)) ENGINE=InnoDB")));
    }
    void cleanupTestCase() {
        MySQLWatchdog().Stop();
        QVERIFY(Server(QStringLiteral("stop")));
    }

    void restartedServerIsSurvived() {
        Recorder connection{QString::fromLatin1(kSQLConnectionChannel)};
        Recorder changes{QStringLiteral("SQL")};
        CxMySQL sql;
        SQLConnectXML info = Info();
        QVERIFY(sql.Connect(&info));
        MySQLWatchdog().SetTiming(CxWatchdogTiming{10, 5, 20});
        sql.WatchTable(QStringLiteral("dir"));
        sql.StartWatchdog();
        // A change of its own gives the watcher its counter.
        QVERIFY(sql.Execute(QStringLiteral("INSERT INTO dir VALUES (0,'seen')")).isValid());
        QTRY_COMPARE_WITH_TIMEOUT(changes.notices, QStringList{QStringLiteral("DIR")}, 5000);

        // Work under way when the server goes: the named lock and a transaction.
        QVERIFY(sql.Lock(5));
        QVERIFY(sql.BeginTransaction());
        QVERIFY(sql.Execute(QStringLiteral("INSERT INTO dir VALUES (1,'cut')")).isValid());
        QVERIFY(Server(QStringLiteral("stop")));
        CTarvikApp::ClearErrorMessages();
        const CxResult cut = sql.Execute(QStringLiteral("INSERT INTO dir VALUES (2,'cut')"));
        QVERIFY(!cut.isValid());
        QCOMPARE(sql.GetErrorCode(), int(SQLERR_CONNECTION_LOST));
        QVERIFY(sql.IsReconnecting());
        QCOMPARE(connection.notices, QStringList{QString::fromLatin1(kSQLConnectionLost)});
        const QString log = CTarvikApp::GetErrorMessages().join(u'\n');
        QVERIFY2(log.contains(QStringLiteral("dblock")) &&
                     log.contains(QStringLiteral("Транзакция")),
                 qPrintable(log));
        // Meanwhile statements fail at once.
        QVERIFY(!sql.Execute(QStringLiteral("SELECT 1")).isValid());

        // While the server is away the watcher keeps quiet: the error list
        // does not fill with its failed polls.
        const quint64 quiet = CTarvikApp::ErrorMessageMark();
        QTest::qWait(10 * 20 * 2);
        QCOMPARE(CTarvikApp::ErrorMessagesSince(quiet), QStringList());
        const quint64 outage = CTarvikApp::ErrorMessageMark();
        QVERIFY(Server(QStringLiteral("start")));
        // Back by itself: the attempts run while the program waits for events.
        QTRY_VERIFY_WITH_TIMEOUT(sql.IsConnected(), 10000);
        QCOMPARE(CTarvikApp::ErrorMessagesSince(outage).size(), 1); // "восстановлено"
        QCOMPARE(connection.notices, (QStringList{QString::fromLatin1(kSQLConnectionLost),
                                                  QString::fromLatin1(kSQLConnectionRestored)}));
        QVERIFY(
            CTarvikApp::GetErrorMessages().join(u'\n').contains(QStringLiteral("восстановлено")));

        // The cut transaction fails to its end and left nothing.
        QVERIFY(!sql.Execute(QStringLiteral("INSERT INTO dir VALUES (3,'cut')")).isValid());
        QVERIFY(!sql.CommitTransaction());
        QCOMPARE(Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE cString='cut'")),
                 QStringLiteral("0"));

        // The session is restored, and the next statement succeeds.
        CxResult session = sql.Execute(
            QStringLiteral("SELECT @@SESSION.sql_mode, @@character_set_client, DATABASE()"));
        QVERIFY(session.FetchRow());
        QCOMPARE(session.SFieldValue(0), QStringLiteral("NO_ENGINE_SUBSTITUTION"));
        QVERIFY(session.SFieldValue(1).startsWith(QStringLiteral("utf8")));
        QCOMPARE(session.SFieldValue(2), kDatabase);
        QVERIFY(sql.Execute(QStringLiteral("INSERT INTO dir VALUES (4,'after')")).isValid());
        // The lock went with the old session: it is free and can be taken again.
        QVERIFY(sql.Lock(5));
        sql.Unlock();

        // The watcher acts on another copy's change again.
        changes.notices.clear();
        CxMySQL other;
        QVERIFY(other.Connect(&info));
        QVERIFY(other
                    .Execute(QStringLiteral("UPDATE watchdog SET nChangeID=nChangeID+10 WHERE "
                                            "cTable='DIR'"))
                    .isValid());
        QTRY_VERIFY_WITH_TIMEOUT(changes.notices.contains(QStringLiteral("DIR")), 10000);
        MySQLWatchdog().Stop();
    }

    // Without an event loop between, the next statement reconnects itself.
    void nextStatementReconnects() {
        CxMySQL sql;
        SQLConnectXML info = Info();
        QVERIFY(sql.Connect(&info));
        QVERIFY(Server(QStringLiteral("stop")));
        QVERIFY(!sql.Execute(QStringLiteral("SELECT 1")).isValid());
        QVERIFY(Server(QStringLiteral("start")));
        CxResult res = sql.Execute(QStringLiteral("SELECT COUNT(*) FROM dir"));
        QVERIFY(res.FetchRow());
        QVERIFY(sql.IsConnected());
    }
};

QTEST_GUILESS_MAIN(TestConnectionLoss)
#include "test_connection_loss.moc"
