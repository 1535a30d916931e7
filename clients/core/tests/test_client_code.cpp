// The client code against the stored codes: the look-up of another client
// with the code and the save's refusal find exactly the codes the table's
// unique key would refuse, so the card never meets the server's error.
#include "clients/core/client_code_rules.h"
#include "tests/support/schema_test_database.h"

#include "framework/core/tarvik_app.h"

#include <QTest>
#include <memory>

class TestClientCode : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void takenAsTheTableSees_data();
    void takenAsTheTableSees();

private:
    std::unique_ptr<SchemaTestDatabase> m_db;
};

void TestClientCode::initTestCase() {
    m_db = std::make_unique<SchemaTestDatabase>("code");
    m_db->Exec("INSERT INTO clientdata (ROWID,cClientCode,bIsFolder,nGroupID,nEthnicity,nRelCount) "
               "VALUES (1,'Папка',1,0,0,0),(10,'АБВ0587ч',0,1,0,0),(11,'ГДЕ0190ж`7',0,0,0,0),"
               "(12,'O''Brien',0,0,0,0)");
}

void TestClientCode::cleanupTestCase() {
    m_db.reset();
}

void TestClientCode::takenAsTheTableSees_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<qint64>("own");     // the client saved; -1 for a new one
    QTest::addColumn<qint64>("takenBy"); // 0: free

    QTest::newRow("the client's own code") << "АБВ0587ч" << qint64(10) << qint64(0);
    QTest::newRow("another client's, other case") << "абв0587Ч" << qint64(11) << qint64(10);
    QTest::newRow("new client, code with a suffix") << "ГДЕ0190ж`7" << qint64(-1) << qint64(11);
    QTest::newRow("the same code without the suffix") << "ГДЕ0190ж" << qint64(-1) << qint64(0);
    QTest::newRow("a folder's name") << "папка" << qint64(10) << qint64(1);
    QTest::newRow("a quote in the code") << "O'Brien" << qint64(-1) << qint64(12);
    QTest::newRow("free") << "ЖЗИ0285ч" << qint64(10) << qint64(0);
}

void TestClientCode::takenAsTheTableSees() {
    QFETCH(QString, code);
    QFETCH(qint64, own);
    QFETCH(qint64, takenBy);
    CxMySQL* sql = m_db->Connection();
    QString error;
    qint64 other = -5;
    QVERIFY(FindOtherClientWithCode(sql, code, own, &other, &error));
    QCOMPARE(other, takenBy);

    CRuleVerdict verdict;
    QVERIFY(CheckClientCodeFree(sql, code, own, &verdict, &error));
    QCOMPARE(verdict.ok, takenBy == 0);
    if (!verdict.ok) {
        QCOMPARE(verdict.field, EClientField::ClientCode);
        QCOMPARE(verdict.key, QString("msgClientCodeTaken"));
        QVERIFY(verdict.text.contains(code));
    }

    // The server agrees: storing the code fails exactly when it is taken.
    QVERIFY(sql->BeginTransaction());
    const QString quoted = "'" + QString(code).replace("'", "''") + "'";
    const CxResult written =
        own > 0 ? sql->Execute(QString("UPDATE clientdata SET cClientCode=%1 WHERE ROWID=%2")
                                   .arg(quoted)
                                   .arg(own))
                : sql->Execute("INSERT INTO clientdata (cClientCode,bIsFolder,nGroupID,nEthnicity,"
                               "nRelCount) VALUES (" +
                               quoted + ",0,0,0,0)");
    QVERIFY(sql->RollbackTransaction());
    QCOMPARE(written.isValid(), takenBy == 0);
    CTarvikApp::TakeErrorMessages();
}

QTEST_GUILESS_MAIN(TestClientCode)
#include "test_client_code.moc"
