#include "db/mysql_connection.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/test_database.h"

#include <QTest>

namespace {
// Records what the connection hands over to the change watcher.
class RecordingMySQL : public CxMySQL {
public:
    QList<QStringList> handed;

protected:
    void OnTablesChanged(const QStringList& tables) override {
        if (!tables.isEmpty())
            handed << tables;
    }
};
} // namespace

class TestMySQLConnection : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<RecordingMySQL> sql;

private slots:
    void initTestCase() {
        db = std::make_unique<TestDatabase>(QStringLiteral("conn"));
        sql = std::make_unique<RecordingMySQL>();
        SQLConnectXML info = db->Info();
        QVERIFY(sql->Connect(&info));
        QVERIFY(sql->Execute(QStringLiteral("CREATE TABLE dir (ROWID int, cString varchar(50))"))
                    .isValid());
        QVERIFY(sql->Execute(QStringLiteral("CREATE TABLE clientdata (ROWID int)")).isValid());
    }
    void cleanupTestCase() {
        sql.reset();
        db.reset();
    }
    void init() {
        sql->handed.clear();
        CTarvikApp::ClearErrorMessages();
    }

    void changedTable_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("table");
        QTest::newRow("back-quoted lower case") << "insert into `dir` (ROWID) values (1)"
                                                << "DIR";
        QTest::newRow("quick from") << "DELETE QUICK FROM clientdata WHERE ROWID=1"
                                    << "CLIENTDATA";
        QTest::newRow("ignore into") << "INSERT IGNORE INTO towns VALUES (1)"
                                     << "TOWNS";
        QTest::newRow("low priority") << "UPDATE LOW_PRIORITY dailyreport SET nCrc=0"
                                      << "DAILYREPORT";
        QTest::newRow("replace") << "REPLACE INTO watchdog set nChangeID=0"
                                 << "WATCHDOG";
        QTest::newRow("name stops at parenthesis") << "INSERT INTO dir(ROWID) VALUES(1)"
                                                   << "DIR";
        QTest::newRow("select") << "SELECT * FROM dir"
                                << "";
        QTest::newRow("verb without blank") << "SELECT UPDATE_TIME FROM t"
                                            << "";
        QTest::newRow("double blank ends search") << "UPDATE  dir SET ROWID=1"
                                                  << "";
    }
    void changedTable() {
        QFETCH(QString, statement);
        QFETCH(QString, table);
        QCOMPARE(CxMySQL::ChangedTable(statement), table);
    }

    void changesOutsideTransactionGoAtOnce() {
        QVERIFY(sql->Execute(QStringLiteral("INSERT INTO `dir` (ROWID) VALUES (1)")).isValid());
        QCOMPARE(sql->handed, QList<QStringList>{{QStringLiteral("DIR")}});
    }

    void failedUpdateStillNotesItsTable() {
        QVERIFY(!sql->Execute(QStringLiteral("UPDATE dir SET nosuchcolumn=1")).isValid());
        QCOMPARE(sql->handed, QList<QStringList>{{QStringLiteral("DIR")}});
        QVERIFY(CTarvikApp::GetErrorMessages().join(u'\n').contains(
            QStringLiteral("UPDATE dir SET nosuchcolumn=1")));
    }

    void changesWaitForCommit() {
        QVERIFY(sql->BeginTransaction());
        QVERIFY(sql->Execute(QStringLiteral("UPDATE dir SET ROWID=2")).isValid());
        QVERIFY(sql->Execute(QStringLiteral("UPDATE clientdata SET ROWID=2")).isValid());
        QVERIFY(sql->handed.isEmpty());
        // Blanks before the word: not a COMMIT for the change tracking.
        QVERIFY(sql->Execute(QStringLiteral("  SELECT 1")).isValid());
        QVERIFY(sql->handed.isEmpty());
        QVERIFY(sql->CommitTransaction());
        QCOMPARE(sql->handed.size(), 1);
        QStringList tables = sql->handed.first();
        tables.sort();
        QCOMPARE(tables, (QStringList{QStringLiteral("CLIENTDATA"), QStringLiteral("DIR")}));
    }

    void rollbackDropsChanges() {
        QVERIFY(sql->BeginTransaction());
        QVERIFY(sql->Execute(QStringLiteral("INSERT INTO dir (ROWID) VALUES (7)")).isValid());
        QVERIFY(sql->RollbackTransaction());
        QVERIFY(sql->handed.isEmpty());
        QCOMPARE(db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE ROWID=7")),
                 QStringLiteral("0"));
        QVERIFY(sql->Execute(QStringLiteral("DELETE FROM clientdata")).isValid());
        QCOMPARE(sql->handed, QList<QStringList>{{QStringLiteral("CLIENTDATA")}});
    }

    void cyrillicRoundTrip() {
        const QString text = QStringLiteral("Пункт «Север» – ёж");
        qint64 id = 0;
        QVERIFY(
            sql->Execute(
                   QStringLiteral("INSERT INTO dir (ROWID, cString) VALUES (42, '%1')").arg(text),
                   &id)
                .isValid());
        CxResult res = sql->Execute(QStringLiteral("SELECT cString FROM dir WHERE ROWID=42"));
        QVERIFY(res.FetchRow());
        QCOMPARE(res.SFieldValue(QStringLiteral("cString")), text);
    }

    void sessionIsNotStrict() {
        QCOMPARE(db->Scalar(QStringLiteral("SELECT @@SESSION.sql_mode")),
                 QStringLiteral("NO_ENGINE_SUBSTITUTION"));
        // Outside strict mode an over-long text is cut, not refused.
        QVERIFY(sql->Execute(QStringLiteral("INSERT INTO dir (ROWID, cString) VALUES (9, '%1')")
                                 .arg(QString(60, u'x')))
                    .isValid());
    }

    void insertId() {
        QVERIFY(sql->Execute(QStringLiteral("CREATE TABLE ai (ROWID int AUTO_INCREMENT PRIMARY "
                                            "KEY, v int)"))
                    .isValid());
        qint64 id = 0;
        QVERIFY(sql->Execute(QStringLiteral("INSERT INTO ai (v) VALUES (1)"), &id).isValid());
        QCOMPARE(id, 1);
        QVERIFY(!sql->Execute(QStringLiteral("INSERT INTO nosuch (v) VALUES (1)"), &id).isValid());
        QCOMPARE(id, -1);
    }

    void errorCodes_data() {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("socket");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("mustContain");
        QTest::newRow("unknown database") << "kt_no_such_db"
                                          << "" << 3 << "kt_no_such_db";
        QTest::newRow("no server") << ""
                                   << "/nonexistent/mysqld.sock" << 5 << "/nonexistent";
    }
    void errorCodes() {
        QFETCH(QString, database);
        QFETCH(QString, socket);
        QFETCH(int, code);
        QFETCH(QString, mustContain);
        SQLConnectXML info = TestDatabase::ServerInfo();
        info.put_Database(database);
        if (!socket.isEmpty())
            info.put_Socket(socket);
        CxMySQL other;
        QVERIFY(!other.Connect(&info));
        QCOMPARE(other.GetErrorCode(), code);
        QVERIFY(other.GetSqlErrorString().startsWith(SQLErrorText(code) + u'\n'));
        QVERIFY(other.GetSqlErrorString().contains(mustContain));
        QVERIFY(!CTarvikApp::GetErrorMessages().isEmpty());
    }

    void unknownCodeNamesMySQLNumber() {
        QVERIFY(!sql->Execute(QStringLiteral("SELEKT 1")).isValid());
        QCOMPARE(sql->GetErrorCode(), -1);
        QVERIFY(sql->GetSqlErrorString().endsWith(QStringLiteral("Код ошибки MySQL: 1064")));
    }

    // GET_LOCK nests on MariaDB: the connection's own count must free the lock
    // after the outermost Unlock, and another connection must wait meanwhile.
    void namedLockNests() {
        CxMySQL other;
        SQLConnectXML info = db->Info();
        QVERIFY(other.Connect(&info));
        QCOMPARE(sql->Lock(10), 1);
        QCOMPARE(sql->Lock(10), 1);
        QCOMPARE(other.Lock(0), 0);
        sql->Unlock();
        QCOMPARE(other.Lock(0), 0);
        sql->Unlock();
        QCOMPARE(other.Lock(0), 1);
        other.Unlock();
        QCOMPARE(db->Scalar(QStringLiteral("SELECT IS_FREE_LOCK('dblock')")), QStringLiteral("1"));
        {
            CxSQLLockGuard guard(sql.get(), 5);
            QVERIFY(guard.Locked());
            QCOMPARE(db->Scalar(QStringLiteral("SELECT IS_FREE_LOCK('dblock')")),
                     QStringLiteral("0"));
        }
        QCOMPARE(db->Scalar(QStringLiteral("SELECT IS_FREE_LOCK('dblock')")), QStringLiteral("1"));
    }

    void cloneAndListTables() {
        std::unique_ptr<CxSQL> clone(sql->Clone(nullptr));
        QVERIFY(clone);
        QStringList tables;
        QVERIFY(clone->ListTables(tables) >= 2);
        QVERIFY(tables.contains(QStringLiteral("dir")));
        QVERIFY(clone->RenameTable(QStringLiteral("clientdata"), QStringLiteral("clientdata2")));
        clone->ListTables(tables);
        QVERIFY(tables.contains(QStringLiteral("clientdata2")));
        SQLConnectXML bad = TestDatabase::ServerInfo();
        bad.put_Socket(QStringLiteral("/nonexistent/s"));
        QVERIFY(!sql->Clone(&bad));
    }

    void multiQuerySplitsOutsideQuotes() {
        const QStringList parts =
            CxSQL::SplitScript(QStringLiteral("INSERT INTO dir VALUES (1,'a;b'); -- note; here\n"
                                              "/* c; */ INSERT INTO dir VALUES (2,'it''s;');;"));
        QCOMPARE(parts, (QStringList{QStringLiteral("INSERT INTO dir VALUES (1,'a;b')"),
                                     QStringLiteral("INSERT INTO dir VALUES (2,'it''s;')")}));
        QVERIFY(
            sql->MultiQuery(QStringLiteral("DELETE FROM dir; INSERT INTO dir VALUES (3,'x');")));
        QCOMPARE(db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir")), QStringLiteral("1"));
        QVERIFY(!sql->MultiQuery(QStringLiteral("INSERT INTO dir VALUES (4,'y'); BAD; "
                                                "INSERT INTO dir VALUES (5,'z')")));
        QCOMPARE(db->Scalar(QStringLiteral("SELECT COUNT(*) FROM dir WHERE ROWID=5")),
                 QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestMySQLConnection)
#include "test_mysql_connection.moc"
