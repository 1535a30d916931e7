#include "db/mysql_connection.h"
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
};

QTEST_GUILESS_MAIN(TestMySQLResult)
#include "test_mysql_result.moc"
