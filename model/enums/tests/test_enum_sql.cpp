#include "model/enums/enums.h"
#include "tests/support/test_database.h"

#include <QTest>

// The SQL that turns stored codes into texts, run by the server.
class TestEnumSql : public QObject {
    Q_OBJECT
    std::unique_ptr<TestDatabase> db;

private slots:
    void initTestCase() { db = std::make_unique<TestDatabase>(QStringLiteral("enumsql")); }
    void cleanupTestCase() { db.reset(); }

    void codesBecomeTexts_data() {
        QTest::addColumn<bool>("bitSet");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("bit set")
            << true << 5 << "Учет по коду, Направлен на консультацию/ тестирование/ лечение";
        QTest::newRow("bit set, nothing set") << true << 0 << "";
        QTest::newRow("single value") << false << 2 << "для работников";
        QTest::newRow("single value, no item") << false << 77 << "нет 'такого'";
    }
    void codesBecomeTexts() {
        QFETCH(bool, bitSet);
        QFETCH(int, value);
        QFETCH(QString, text);
        CEnum2* e = bitSet ? static_cast<CEnum2*>(g_pConsAndDir.Get())
                           : static_cast<CEnum2*>(g_pTrainingFor.Get());
        const QString sql = e->GetSQL(QStringLiteral("t.nCount"), QStringLiteral("нет 'такого'"));
        QCOMPARE(
            db->Scalar(
                QStringLiteral("SELECT %1 FROM (SELECT %2 AS nCount) AS t").arg(sql).arg(value)),
            text);
    }
};

QTEST_GUILESS_MAIN(TestEnumSql)
#include "test_enum_sql.moc"
