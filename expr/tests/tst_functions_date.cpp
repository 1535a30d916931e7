#include "expr_test_support.h"

#include <QDate>
#include <QRegularExpression>
#include <climits>

using exprtest::row;

class TestFunctionsDate : public QObject {
    Q_OBJECT
private slots:
    void calls_data();
    void calls() { EXPR_FUNCTION_TABLE_TEST }
    void clockFunctions();
    void malformedMillisecondsStayInTheDay_data();
    void malformedMillisecondsStayInTheDay();
};

void TestFunctionsDate::calls_data() {
    exprtest::functionColumns();
    row("date", "DATE", {"N:2019", "N:1", "N:5"}, "D:2019-01-05");
    row("date currency parts", "DATE", {"Y:2019", "N:1", "N:5"}, "D:2019-01-05");
    row("date leap day", "DATE", {"N:2020", "N:2", "N:29"}, "D:2020-02-29");
    row("date past month end", "DATE", {"N:2019", "N:2", "N:29"}, "E:3224");
    row("date april 31", "DATE", {"N:2019", "N:4", "N:31"}, "E:3224");
    row("date year 0", "DATE", {"N:0", "N:1", "N:1"}, "E:3224");
    row("date month 13", "DATE", {"N:2019", "N:13", "N:1"}, "E:3224");
    row("date null part", "DATE", {"N:2019", "null", "N:1"}, "null");
    row("date text part", "DATE", {"C:2019", "N:1", "N:1"}, "E:3223");
    row("datetime", "DATETIME", {"N:2019", "N:1", "N:5", "N:13", "N:5", "N:7"},
        "T:2019-01-05 13:05:07");
    row("datetime date only", "DATETIME", {"N:2019", "N:1", "N:5"}, "T:2019-01-05 00:00:00");
    row("datetime hour 24", "DATETIME", {"N:2019", "N:1", "N:5", "N:24"}, "E:3224");
    row("datetime minute 60", "DATETIME", {"N:2019", "N:1", "N:5", "N:1", "N:60"}, "E:3224");
    row("datetime past month end", "DATETIME", {"N:2019", "N:4", "N:31"}, "E:3224");
    row("datetime null", "DATETIME", {"N:2019", "N:1", "N:5", "null"}, "null");
    // A part that is not a number is out of range, never hour 0.
    row("datetime hour nan", "DATETIME", {"N:2019", "N:1", "N:5", "N:nan"}, "E:3224");
    row("datetime minute nan", "DATETIME", {"N:2019", "N:1", "N:5", "N:1", "N:nan"}, "E:3224");
    row("datetime second nan", "DATETIME", {"N:2019", "N:1", "N:5", "N:1", "N:1", "N:nan"},
        "E:3224");
    row("date day nan", "DATE", {"N:2019", "N:1", "N:nan"}, "E:3224");
    // Parts.
    row("day", "DAY", {"D:2019-01-05"}, "N:5");
    row("month", "MONTH", {"T:2019-03-05 10:00:00"}, "N:3");
    row("year", "YEAR", {"D:2019-01-05"}, "N:2019");
    row("day of empty date", "DAY", {"D:empty"}, "N:0");
    row("day number", "DAY", {"N:1"}, "E:3205");
    row("day null", "DAY", {"null"}, "null");
    row("hour", "HOUR", {"T:2019-01-05 13:05:07"}, "N:13");
    row("minute", "MINUTE", {"T:2019-01-05 13:05:07"}, "N:5");
    row("sec", "SEC", {"T:2019-01-05 13:05:07"}, "N:7");
    row("minute rounds seconds", "MINUTE", {"T:2019-01-05 13:05:59.600"}, "N:6");
    row("sec at day end", "SEC", {"T:2019-01-05 23:59:59.700"}, "N:59");
    row("hour of date", "HOUR", {"D:2019-01-05"}, "E:3205");
    // Names, in Russian.
    row("cdow saturday", "CDOW", {"D:2019-01-05"}, "C:суббота");
    row("cdow sunday", "CDOW", {"T:2019-01-06 08:00:00"}, "C:воскресенье");
    row("cdow empty", "CDOW", {"D:empty"}, "C:");
    row("cmonth", "CMONTH", {"D:2019-03-01"}, "C:Март");
    row("dmy", "DMY", {"D:2019-01-05"}, "C:05 января 19");
    row("mdy", "MDY", {"D:2019-12-25"}, "C:Декабрь 25, 19");
    row("cmonth null", "CMONTH", {"null"}, "null");
    row("cmonth text", "CMONTH", {"C:x"}, "E:3205");
    // Month arithmetic.
    row("gomonth cuts to february", "GOMONTH", {"D:2019-01-31", "N:1"}, "D:2019-02-28");
    row("gomonth leap february", "GOMONTH", {"D:2020-01-31", "N:1"}, "D:2020-02-29");
    row("gomonth 2000 is leap", "GOMONTH", {"D:2000-01-31", "N:1"}, "D:2000-02-29");
    row("gomonth 1900 is not", "GOMONTH", {"D:1900-01-31", "N:1"}, "D:1900-02-28");
    row("gomonth back over year", "GOMONTH", {"D:2019-01-15", "N:-1"}, "D:2018-12-15");
    row("gomonth into january", "GOMONTH", {"D:2019-12-15", "N:1"}, "D:2020-01-15");
    row("gomonth thirteen back", "GOMONTH", {"D:2019-03-31", "N:-13"}, "D:2018-02-28");
    row("gomonth date-time", "GOMONTH", {"T:2019-05-31 10:00:00", "N:1"}, "D:2019-06-30");
    row("gomonth empty", "GOMONTH", {"D:empty", "N:1"}, "D:empty");
    row("gomonth past 9999", "GOMONTH", {"D:9999-12-01", "N:1"}, "E:3224");
    row("gomonth null", "GOMONTH", {"D:2019-01-01", "null"}, "null");
    row("gomonth not a number", "GOMONTH", {"D:2019-01-01", "N:nan"}, "E:3224");
}

void TestFunctionsDate::clockFunctions() {
    const QDate today = QDate::currentDate();
    const QString date = exprtest::call("DATE", {});
    // Midnight may pass between the two readings.
    QVERIFY2(date == "D:" + today.toString("yyyy-MM-dd") ||
                 date == "D:" + QDate::currentDate().toString("yyyy-MM-dd"),
             qPrintable(date));
    QCOMPARE(exprtest::call("DATE", {"N:2001"}).left(6), QString("D:2001"));
    QVERIFY(QRegularExpression("^C:\\d\\d:\\d\\d:\\d\\d$")
                .match(exprtest::call("TIME", {}))
                .hasMatch());
    QVERIFY(QRegularExpression("^T:\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d$")
                .match(exprtest::call("DATETIME", {}))
                .hasMatch());
    const QString seconds = exprtest::call("SECONDS", {});
    QVERIFY(seconds.startsWith("N:"));
    const double s = seconds.mid(2).toDouble();
    QVERIFY(s >= 0 && s < 86400);
}

void TestFunctionsDate::malformedMillisecondsStayInTheDay_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("ms");
    QTest::addColumn<double>("expected");
    QTest::newRow("hour of the largest word") << "HOUR" << INT_MAX << 23.0;
    QTest::newRow("minute of the largest word") << "MINUTE" << INT_MAX << 59.0;
    QTest::newRow("sec of the largest word") << "SEC" << INT_MAX - 499 << 59.0;
    QTest::newRow("hour of a negative word") << "HOUR" << INT_MIN << 0.0;
    QTest::newRow("sec of a negative word") << "SEC" << -1 << 0.0;
}

void TestFunctionsDate::malformedMillisecondsStayInTheDay() {
    // A date-time read from a damaged row can carry any millisecond word.
    QFETCH(QString, function);
    QFETCH(int, ms);
    QFETCH(double, expected);
    exprtest::OwnedValue value, result;
    ValueSetDateTime(2458489, ms, &value.v);
    ALXValue* arguments[] = {&value.v, nullptr};
    exprtest::findFunction(function)->pfnHandler(arguments, &result.v);
    QCOMPARE(result.v.dbl, expected);
}

QTEST_APPLESS_MAIN(TestFunctionsDate)
#include "tst_functions_date.moc"
