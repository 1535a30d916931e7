#include "db/mysql_connection.h"
#include "framework/core/tarvik_app.h"
#include "tests/support/test_database.h"

#include <QTest>

namespace {
QStringList g_missing;
void Record(const QString& name) {
    g_missing << name;
}
} // namespace

class TestMySQLResult : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;

private slots:
    void initTestCase() {
        db = std::make_unique<TestDatabase>(QStringLiteral("res"));
        db->Exec(QStringLiteral("CREATE TABLE t (ROWID int, cName varchar(20), nNum int)"));
        db->Exec(QStringLiteral("INSERT INTO t VALUES (1,'один',10),(2,NULL,NULL),(3,'три',30)"));
        SetFieldNotFoundHandler(&Record);
    }
    void cleanupTestCase() { db.reset(); }

    void statementWithoutRows() {
        CxResult res = db->Exec(QStringLiteral("UPDATE t SET nNum=nNum WHERE ROWID>0"));
        QCOMPARE(res.RowsCount(), 0);
        QCOMPARE(res.FieldsCount(), 0);
        QVERIFY(!res.FetchRow());
        QCOMPARE(res.AffectedRows(), 0); // values unchanged
        CxResult upd = db->Exec(QStringLiteral("UPDATE t SET nNum=nNum+1 WHERE ROWID=1"));
        QCOMPARE(upd.AffectedRows(), 1);
    }

    void walkingRows() {
        CxResult res = db->Exec(QStringLiteral("SELECT ROWID, cName, nNum FROM t ORDER BY ROWID"));
        QCOMPARE(res.RowsCount(), 3);
        QVERIFY(res.FetchRow());
        const qint64 firstId = res.GetFetchID();
        QCOMPARE(res.LFieldValue(0), 1);
        QVERIFY(res.FetchRow(2));
        QVERIFY(res.GetFetchID() != firstId);
        QCOMPARE(res.SFieldValue(QStringLiteral("cName")), QStringLiteral("три"));
        // Past the end: refused, the current row stays.
        QVERIFY(!res.FetchRow(3));
        QCOMPARE(res.LFieldValue(0), 3);
        QVERIFY(!res.FetchRow());
        QVERIFY(!res.isFetched());
        // After the last row, row 0 starts again.
        QVERIFY(res.FetchRow(0));
        QCOMPARE(res.LFieldValue(0), 1);
        QVERIFY(res.FetchRow());
        QCOMPARE(res.LFieldValue(0), 2);
    }

    void nullValues() {
        CxResult res = db->Exec(QStringLiteral("SELECT cName, nNum FROM t WHERE ROWID=2"));
        QVERIFY(res.FetchRow());
        QVERIFY(res.IsNull(0));
        QVERIFY(res.Base()->TextValue(0) == nullptr);
        QCOMPARE(res.SFieldValue(0), QString());
        QCOMPARE(res.LFieldValue(1), 0);
        QCOMPARE(res.Base()->RawTextOrEmpty(1), QByteArray());
        QCOMPARE(res.Base()->FieldLength(1), 0ul);
    }

    void fieldLookup() {
        CxResult res = db->Exec(QStringLiteral("SELECT ROWID, cName FROM t"));
        QCOMPARE(res.FieldName(1), QStringLiteral("cName"));
        g_missing.clear();
        QCOMPARE(res.FieldPos(QStringLiteral("cname"), 1), -1); // exact case
        QVERIFY(g_missing.isEmpty());
        QCOMPARE(res.FieldPos(QStringLiteral("nosuch"), 0), -1);
        QCOMPARE(g_missing, QStringList{QStringLiteral("nosuch")});
        QCOMPARE(res.FieldPos(QStringLiteral("cName")), 1);
    }

    void rawBytesAreUtf8() {
        CxResult res = db->Exec(QStringLiteral("SELECT cName FROM t WHERE ROWID=1"));
        QVERIFY(res.FetchRow());
        QCOMPARE(res.Base()->RawTextOrEmpty(0), QStringLiteral("один").toUtf8());
        QCOMPARE(res.Base()->FieldLength(0), static_cast<unsigned long>(8));
    }

    // A streamed result holds a connection of its own: the caller's stays
    // free for statements between the rows, and the rows come forward only.
    void streamedRowsLeaveTheConnectionFree() {
        CxResult res = db->Connection()->ExecuteStreamed(
            QStringLiteral("SELECT ROWID, cName, nNum FROM t ORDER BY ROWID"));
        QVERIFY(res.isValid());
        QStringList names;
        while (res.FetchRow()) {
            names << (res.IsNull(1) ? QStringLiteral("NULL") : res.SFieldValue(1));
            QVERIFY(db->Connection()
                        ->Execute(QStringLiteral("UPDATE t SET nNum=nNum WHERE ROWID=%1")
                                      .arg(res.LFieldValue(0)))
                        .isValid());
            QVERIFY(!res.FetchRow(0));
        }
        QCOMPARE(names, (QStringList{QStringLiteral("один"), QStringLiteral("NULL"),
                                     QStringLiteral("три")}));
        QVERIFY(!res.FetchError().isSet());
        QVERIFY(!res.FetchRow());
    }

    void streamedFailures() {
        CxResult bad =
            db->Connection()->ExecuteStreamed(QStringLiteral("SELECT ROWID FROM no_such_table"));
        QVERIFY(!bad.isValid());
        QCOMPARE(bad.Error().serverCode, 1146u);
        QVERIFY(!bad.Error().text.isEmpty());
        CTarvikApp::ClearErrorMessages();

        // A stream cut by the server ends its rows with the reason, not as
        // if the rows had all come.
        const QString statement =
            QStringLiteral("SELECT seq, REPEAT('x',1000) FROM seq_1_to_1000000 /*cut*/");
        CxResult cut = db->Connection()->ExecuteStreamed(statement);
        QVERIFY(cut.isValid());
        CxResult id = db->Exec(QStringLiteral(
            "SELECT ID FROM information_schema.PROCESSLIST WHERE INFO LIKE '%/*cut*/%' AND "
            "INFO NOT LIKE '%PROCESSLIST%'"));
        QVERIFY(id.FetchRow());
        db->Exec(QStringLiteral("KILL %1").arg(id.SFieldValue(0)));
        qint64 rows = 0;
        while (cut.FetchRow())
            ++rows;
        QVERIFY(rows < 1000000);
        QVERIFY(cut.FetchError().isSet());
        QCOMPARE(cut.FetchError().statement, statement);
    }
};

QTEST_GUILESS_MAIN(TestMySQLResult)
#include "test_mysql_result.moc"
