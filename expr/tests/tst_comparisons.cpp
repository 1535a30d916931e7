#include "expr_test_support.h"

#include "expr/comparisons.h"

class TestComparisons : public QObject {
    Q_OBJECT
private slots:
    void compare_data();
    void compare();
};

void TestComparisons::compare_data() {
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const char* l, const char* op, const char* r,
                        const char* expected) {
        QTest::newRow(tag) << QString(l) << QString(op) << QString(r) << QString(expected);
    };
    // Texts compare over the shorter length: a prefix equals the longer text.
    row("prefix >", "C:AB", ">", "C:ABC", "L:F");
    row("prefix <", "C:AB", "<", "C:ABC", "L:F");
    row("prefix >=", "C:AB", ">=", "C:ABC", "L:T");
    row("prefix <=", "C:AB", "<=", "C:ABC", "L:T");
    row("empty text equals all", "C:", ">=", "C:x", "L:T");
    row("text order", "C:b", ">", "C:a", "L:T");
    row("cyrillic after latin", "C:я", ">", "C:z", "L:T");
    row("cyrillic order", "C:а", "<", "C:б", "L:T");
    row("memo and text", "M:b", ">", "C:a", "L:T");
    row("numbers", "N:2", ">", "F:1", "L:T");
    row("equal numbers", "N:1", ">=", "N:1", "L:T");
    row("number and currency equal", "N:1", ">=", "Y:1", "L:T");
    row("number and currency not greater", "N:1", ">", "Y:1", "L:F");
    row("currency and number", "Y:1", "<", "N:2", "L:T");
    row("currency", "Y:-1", "<", "Y:0.0001", "L:T");
    row("number above currency range", "N:1e20", ">", "Y:1", "L:T");
    row("number below currency range", "N:-1e20", "<", "Y:-1", "L:T");
    row("range bound above largest", "N:922337203685477.6", ">", "Y:922337203685477.5807", "L:T");
    row("currency below huge number", "Y:922337203685477.5807", "<", "N:1e19", "L:T");
    // A date is a date-time at midnight.
    row("date and midnight", "D:2019-01-05", ">=", "T:2019-01-05 00:00:00", "L:T");
    row("date and midnight <=", "D:2019-01-05", "<=", "T:2019-01-05 00:00:00", "L:T");
    row("date before noon", "D:2019-01-05", "<", "T:2019-01-05 12:00:00", "L:T");
    row("date-time seconds", "T:2019-01-05 12:00:01", ">", "T:2019-01-05 12:00:00", "L:T");
    row("dates", "D:2019-01-06", ">", "D:2019-01-05", "L:T");
    row("empty date first", "D:empty", "<", "D:0001-01-01", "L:T");
    row("logicals", "L:T", ">", "L:F", "L:T");
    row("null left", "null", ">", "N:1", "null");
    row("null right", "N:1", "<=", "null:N", "null");
    row("null and text", "null", "<", "C:a", "null");
    row("text and number", "C:1", ">", "N:1", "E:3204");
    row("number and text", "N:1", "<", "C:1", "E:3204");
    row("date and logical", "D:2019-01-05", ">", "L:T", "E:3204");
    row("logical and number", "L:T", ">=", "N:1", "E:3204");
    row("date and number", "D:2019-01-05", ">", "N:1", "E:3204");
    row("currency and date", "Y:1", ">", "D:2019-01-05", "E:3204");
    row("binary", "G:01", ">", "G:00", "E:3204");
}

void TestComparisons::compare() {
    QFETCH(QString, left);
    QFETCH(QString, op);
    QFETCH(QString, right);
    QFETCH(QString, expected);
    exprtest::OwnedValue l, r, result;
    exprtest::makeValue(left, &l.v);
    exprtest::makeValue(right, &r.v);
    const ALXValue* pair[2] = {&l.v, &r.v};
    const auto fn = op == ">"    ? CompareGreater
                    : op == "<"  ? CompareLess
                    : op == ">=" ? CompareGreaterEqual
                                 : CompareLessEqual;
    QString actual;
    try {
        fn(pair, &result.v);
        actual = exprtest::render(result.v);
    } catch (CALXParserException* e) {
        actual = QString("E:%1").arg(e->GetErrorCode());
        delete e;
    }
    QCOMPARE(actual, expected);
}

QTEST_APPLESS_MAIN(TestComparisons)
#include "tst_comparisons.moc"
