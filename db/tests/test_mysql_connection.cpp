#include "db/mysql_connection.h"
#include "framework/core/table/safe_sql.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/test_database.h"

#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

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
        QTest::newRow("database and table") << "UPDATE `kx`.`dir` SET ROWID=1"
                                            << "DIR";
        // Any run of blanks, tabs and line breaks counts as one blank.
        QTest::newRow("double blank") << "UPDATE  dir SET ROWID=1"
                                      << "DIR";
        QTest::newRow("line break and tab") << "UPDATE\n\tdir SET ROWID=1"
                                            << "DIR";
        QTest::newRow("leading blanks and comment") << "  /* who */ DELETE\r\nFROM  dir"
                                                    << "DIR";
        QTest::newRow("per-statement setting") << "SET STATEMENT max_statement_time=5 FOR "
                                                  "UPDATE dir SET ROWID=1"
                                               << "DIR";
        QTest::newRow("select") << "SELECT * FROM dir"
                                << "";
        QTest::newRow("verb without blank") << "SELECT UPDATE_TIME FROM t"
                                            << "";
        // A verb inside a literal, a comment or a function call is not the
        // statement's.
        QTest::newRow("verb in a literal") << "SELECT 'UPDATE dir SET x=1' FROM clientdata"
                                           << "";
        QTest::newRow("verb in a comment") << "SELECT 1 -- DELETE FROM dir\n"
                                           << "";
        QTest::newRow("replace function") << "SELECT REPLACE (cString,'a','b') FROM dir"
                                          << "";
        QTest::newRow("quote inside a literal") << "SELECT 'it''s \\' UPDATE', 1 FROM dir"
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

    // Only what the server carried out is announced.
    void failedStatementNotesNothing() {
        QVERIFY(!sql->Execute(QStringLiteral("UPDATE dir SET nosuchcolumn=1")).isValid());
        QVERIFY(sql->handed.isEmpty());
        QVERIFY(CTarvikApp::GetErrorMessages().join(u'\n').contains(
            QStringLiteral("UPDATE dir SET nosuchcolumn=1")));
        QVERIFY(sql->BeginTransaction());
        QVERIFY(
            !sql->Execute(QStringLiteral("INSERT INTO clientdata (nosuch) VALUES (1)")).isValid());
        QVERIFY(sql->CommitTransaction());
        QVERIFY(sql->handed.isEmpty());
    }

    // However the statement that ends a transaction is written, the changes
    // wait for it; a statement that merely starts with blanks is not one.
    void changesWaitForTheTransactionsEnd_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("handed");
        QTest::newRow("COMMIT") << "COMMIT" << true;
        QTest::newRow("blanks and lower case") << "  \n commit work" << true;
        QTest::newRow("comment first") << "/* done */ COMMIT" << true;
        QTest::newRow("statement that commits by itself")
            << "CREATE TABLE t_commits (x int)" << true;
        QTest::newRow("ROLLBACK") << "  ROLLBACK" << false;
    }
    void changesWaitForTheTransactionsEnd() {
        QFETCH(QString, ending);
        QFETCH(bool, handed);
        sql->ExecuteCleanup(QStringLiteral("DROP TABLE IF EXISTS t_commits"));
        sql->handed.clear();
        QVERIFY(sql->BeginTransaction());
        QVERIFY(sql->Execute(QStringLiteral("UPDATE dir SET ROWID=2")).isValid());
        QVERIFY(sql->Execute(QStringLiteral("UPDATE clientdata SET ROWID=2")).isValid());
        QVERIFY(sql->Execute(QStringLiteral("  SELECT 1")).isValid());
        QVERIFY(sql->Execute(QStringLiteral("SAVEPOINT s1")).isValid());
        QVERIFY(sql->Execute(QStringLiteral("ROLLBACK TO SAVEPOINT s1")).isValid());
        QVERIFY(sql->handed.isEmpty());
        QVERIFY(sql->Execute(ending).isValid());
        if (!handed) {
            QVERIFY(sql->handed.isEmpty());
        } else {
            QCOMPARE(sql->handed.size(), 1);
            QStringList tables = sql->handed.first();
            tables.sort();
            QCOMPARE(tables, (QStringList{QStringLiteral("CLIENTDATA"), QStringLiteral("DIR")}));
        }
        // The transaction is over either way: the next change goes at once.
        sql->handed.clear();
        QVERIFY(sql->Execute(QStringLiteral("DELETE FROM clientdata WHERE ROWID=-5")).isValid());
        QCOMPARE(sql->handed, QList<QStringList>{{QStringLiteral("CLIENTDATA")}});
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

    // The session keeps its non-strict rules for dates and numbers, as the
    // stored data expects.
    void sessionIsNotStrict() {
        QCOMPARE(db->Scalar(QStringLiteral("SELECT @@SESSION.sql_mode")),
                 QStringLiteral("NO_ENGINE_SUBSTITUTION"));
        QVERIFY(sql->Execute(QStringLiteral("CREATE TABLE lax (n int, d date, c varchar(5))"))
                    .isValid());
        QVERIFY(sql->Execute(
                       QStringLiteral("INSERT INTO lax (n,d) VALUES ('',''),('12x','2020-13-45')"))
                    .isValid());
        QCOMPARE(db->Rows(QStringLiteral("SELECT n,d FROM lax ORDER BY n")),
                 QStringLiteral("0|0000-00-00;12|0000-00-00"));
    }

    // Every value either arrives as it was written or is refused with the
    // column named, and then nothing of the statement is written; the same
    // inside a transaction and under LOCK TABLES.
    void writesAreKeptOrRefused_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("kept");
        const QString emoji = QString::fromUtf8("Привет 😀");
        const struct {
            const char* name;
            QString value;
        } values[] = {
            {"quotes", QStringLiteral("O'Hara \"x\"")},
            {"backslash", QStringLiteral("a\\b\\")},
            {"NUL", QStringLiteral("a") + QChar(0) + QStringLiteral("b")},
            {"Cyrillic", QStringLiteral("Пункт «Север» – ёж")},
            {"emoji", emoji},
            {"300 characters", QString(300, u'ж')},
            {"70000 characters", QString(70000, u'x')},
        };
        // utf8 varchar(255), ucs2 varchar(255), utf8 text (65535 bytes)
        for (const char* column : {"cUtf8", "cUcs2", "cText"}) {
            for (const auto& v : values) {
                const QString c = QString::fromLatin1(column);
                const bool tooLong = (v.value.size() > 255 && c != QLatin1String("cText")) ||
                                     v.value.toUtf8().size() > 65535;
                const bool kept = !tooLong && v.value != emoji;
                QTest::addRow("%s %s", column, v.name) << c << v.value << kept;
            }
        }
    }
    // Values appended to a statement as bytes come back from the server byte
    // for byte, whatever quotes, escapes or multi-byte letters they hold.
    void byteLiteralsReadBack_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("plain") << QByteArray("abc 123");
        QTest::newRow("quotes") << QByteArray("O'Brien \"x\" ''");
        QTest::newRow("backslashes") << QByteArray("a\\b\\\\ \\'");
        QTest::newRow("line ends") << QByteArray("one\r\ntwo\nthree\r");
        QTest::newRow("NUL and Ctrl-Z") << QByteArray("a\0b\x1a", 4);
        QTest::newRow("cyrillic") << QStringLiteral("Клиент «ёлка»'\\").toUtf8();
        QTest::newRow("escape at both ends") << QByteArray("'middle\\");
    }
    void byteLiteralsReadBack() {
        QFETCH(QByteArray, text);
        sql->ExecuteCleanup(QStringLiteral("DROP TABLE IF EXISTS literal"));
        QVERIFY(
            sql->Execute(QStringLiteral("CREATE TABLE literal (c text CHARSET utf8)")).isValid());
        QByteArray statement("INSERT INTO literal VALUES (");
        AppendSQLLiteral(statement, text);
        statement += ')';
        QVERIFY(sql->ExecuteRaw(statement).isValid());
        CxResult res = sql->Execute(QStringLiteral("SELECT c FROM literal"));
        QVERIFY(res.FetchRow());
        QCOMPARE(res.Base()->RawTextOrEmpty(0), text);
    }
    void writesAreKeptOrRefused() {
        QFETCH(QString, column);
        QFETCH(QString, value);
        QFETCH(bool, kept);
        sql->ExecuteCleanup(QStringLiteral("DROP TABLE IF EXISTS hostile"));
        QVERIFY(sql->Execute(QStringLiteral("CREATE TABLE hostile (ROWID int PRIMARY KEY, cUtf8 "
                                            "varchar(255) CHARSET utf8, cUcs2 varchar(255) "
                                            "CHARSET ucs2, cText text CHARSET utf8)"))
                    .isValid());
        QVERIFY(
            sql->Execute(
                   QStringLiteral("INSERT INTO hostile (ROWID,%1) VALUES (1,'before')").arg(column))
                .isValid());
        const QString literal = SafeSQL(value);
        const QStringList writes{
            QStringLiteral("INSERT INTO hostile (ROWID,%1) VALUES (2,%2)").arg(column, literal),
            QStringLiteral("UPDATE hostile SET %1=%2 WHERE ROWID=1").arg(column, literal)};
        for (const QString& write : writes) {
            for (const char* mode : {"alone", "transaction", "locked"}) {
                const QString how = QString::fromLatin1(mode);
                QVERIFY(
                    sql->Execute(QStringLiteral("DELETE FROM hostile WHERE ROWID=2")).isValid());
                QVERIFY(sql->Execute(QStringLiteral("UPDATE hostile SET %1='before'").arg(column))
                            .isValid());
                if (how == QLatin1String("transaction"))
                    QVERIFY(sql->BeginTransaction());
                if (how == QLatin1String("locked"))
                    QVERIFY(sql->Execute(QStringLiteral("LOCK TABLES hostile WRITE")).isValid());
                CTarvikApp::ClearErrorMessages();
                const CxResult res = sql->Execute(write);
                QCOMPARE(res.isValid(), kept);
                if (!kept) {
                    QCOMPARE(res.Error().column, column);
                    QVERIFY2(res.Error().text.contains(column), qPrintable(res.Error().text));
                    QVERIFY(CTarvikApp::GetErrorMessages().join(u'\n').contains(column));
                    QVERIFY(sql->GetSqlErrorString().contains(column));
                }
                if (how == QLatin1String("transaction")) {
                    // A refusal undoes the whole transaction, whose later
                    // statements fail to its end: no half of it is committed.
                    QCOMPARE(sql->Execute(QStringLiteral("INSERT INTO hostile (ROWID) VALUES (3)"))
                                 .isValid(),
                             kept);
                    QCOMPARE(sql->CommitTransaction(), kept);
                    QCOMPARE(db->Scalar(QStringLiteral("SELECT COUNT(*) FROM hostile WHERE "
                                                       "ROWID=3")),
                             kept ? QStringLiteral("1") : QStringLiteral("0"));
                    QVERIFY(sql->Execute(QStringLiteral("DELETE FROM hostile WHERE ROWID=3"))
                                .isValid());
                }
                if (how == QLatin1String("locked")) {
                    // The table lock holds after the write: another table is still out of reach.
                    QVERIFY(!sql->Execute(QStringLiteral("SELECT * FROM dir")).isValid());
                    QVERIFY(sql->Execute(QStringLiteral("UNLOCK TABLES")).isValid());
                }
                const QString expected = kept ? value : QStringLiteral("before");
                const int row = write.startsWith(QLatin1String("INSERT")) ? 2 : 1;
                CxResult back = sql->Execute(
                    QStringLiteral("SELECT %1 FROM hostile WHERE ROWID=%2").arg(column).arg(row));
                if (!kept && row == 2) {
                    QVERIFY2(!back.FetchRow(), qPrintable(how + u' ' + write.left(40)));
                    continue;
                }
                QVERIFY(back.FetchRow());
                QVERIFY2(back.SFieldValue(0) == expected, qPrintable(how + u' ' + write.left(40)));
            }
        }
        QCOMPARE(db->Scalar(QStringLiteral("SELECT @@SESSION.autocommit")), QStringLiteral("1"));
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
        QVERIFY(sql->Lock(10));
        QVERIFY(sql->Lock(10));
        QVERIFY(!other.Lock(0));
        sql->Unlock();
        QVERIFY(!other.Lock(0));
        sql->Unlock();
        QVERIFY(other.Lock(0));
        other.Unlock();
        QVERIFY(!db->HoldsDbLock());
        {
            CxSQLLockGuard guard(sql.get(), 5);
            QVERIFY(guard.Locked());
            QVERIFY(db->HoldsDbLock());
        }
        QVERIFY(!db->HoldsDbLock());

        // A connection that closes gives the lock back before Close returns,
        // not when the server gets round to the ended session.
        QVERIFY(other.Lock(5));
        other.Close();
        QVERIFY(!db->HoldsDbLock());
        // Unlock without the lock (gone with a closed or lost session) does nothing.
        other.Unlock();
    }

    // A server that takes the connection and never answers: the connection
    // gives up after its time limit instead of waiting without end (without
    // one, Connect would not come back, and the test's own time limit fails
    // it).
    void silentServerTimesOut() {
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(listener >= 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        QCOMPARE(listen(listener, 4), 0);
        socklen_t length = sizeof address;
        QCOMPARE(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

        SQLConnectXML info;
        info.put_Server(QStringLiteral("127.0.0.1"));
        info.put_Port(QString::number(ntohs(address.sin_port)));
        info.put_User(QStringLiteral("root"));
        CxMySQL silent;
        CxMySQL::Timeouts timeouts;
        timeouts.connect = 1;
        silent.SetTimeouts(timeouts);
        QVERIFY(!silent.Connect(&info));
        close(listener);
        QVERIFY(!silent.IsConnected());
        QVERIFY(!silent.GetSqlErrorString().isEmpty());
        QVERIFY(!silent.Execute(QStringLiteral("SELECT 1")).isValid());
    }

    void cloneAndListTables() {
        std::unique_ptr<CxSQL> clone(sql->Clone(nullptr));
        QVERIFY(clone);
        QStringList tables;
        QVERIFY(clone->ListTables(tables));
        QVERIFY(tables.size() >= 2);
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
