#include "expr_test_support.h"

using exprtest::row;

class TestFunctionsNumeric : public QObject {
    Q_OBJECT
private slots:
    void calls_data();
    void calls() { EXPR_FUNCTION_TABLE_TEST }
};

void TestFunctionsNumeric::calls_data() {
    exprtest::functionColumns();
    row("abs", "ABS", {"N:-2.5"}, "N:2.5");
    row("abs float gives numeric", "ABS", {"F:-1"}, "N:1");
    row("abs currency", "ABS", {"Y:-1.5"}, "Y:1.5000");
    row("abs null", "ABS", {"null"}, "null");
    row("abs text", "ABS", {"C:x"}, "E:3205");
    row("ceiling", "CEILING", {"N:1.2"}, "N:2");
    row("ceiling negative", "CEILING", {"N:-1.2"}, "N:-1");
    row("ceiling currency", "CEILING", {"Y:1.0001"}, "Y:2.0000");
    row("ceiling negative currency", "CEILING", {"Y:-1.5"}, "Y:-1.0000");
    row("floor", "FLOOR", {"N:-1.2"}, "N:-2");
    row("floor negative currency", "FLOOR", {"Y:-1.5"}, "Y:-2.0000");
    row("floor whole currency", "FLOOR", {"Y:2"}, "Y:2.0000");
    row("floor date", "FLOOR", {"D:2019-01-05"}, "E:3205");
    row("int", "INT", {"N:-3.7"}, "N:-3");
    row("int currency", "INT", {"Y:-3.7"}, "Y:-3.0000");
    row("int date", "INT", {"D:2019-01-05"}, "E:3205");
    row("sign negative", "SIGN", {"N:-2"}, "N:-1");
    row("sign zero currency", "SIGN", {"Y:0"}, "N:0");
    row("sign positive", "SIGN", {"N:3"}, "N:1");
    row("sign text", "SIGN", {"C:1"}, "E:3205");
    // Rounding: half away from zero.
    row("round half up", "ROUND", {"N:2.5", "N:0"}, "N:3");
    row("round half negative", "ROUND", {"N:-2.5", "N:0"}, "N:-3");
    row("round places", "ROUND", {"N:1.2345", "N:2"}, "N:1.23");
    row("round negative places", "ROUND", {"N:1234.5678", "N:-2"}, "N:1200");
    row("round huge places", "ROUND", {"N:1.5", "N:400"}, "N:1.5");
    row("round huge negative places", "ROUND", {"N:1234", "N:-1e10"}, "N:0");
    row("round currency", "ROUND", {"Y:1.2345", "N:2"}, "Y:1.2300");
    row("round currency half", "ROUND", {"Y:-1.235", "N:2"}, "Y:-1.2400");
    row("round currency negative places", "ROUND", {"Y:1250", "N:-2"}, "Y:1300.0000");
    row("round currency more places", "ROUND", {"Y:1.2345", "N:6"}, "Y:1.2345");
    row("round currency huge negative places", "ROUND", {"Y:1234", "N:-1e10"}, "Y:0.0000");
    row("round null", "ROUND", {"null", "N:2"}, "null");
    row("round null places", "ROUND", {"N:1", "null"}, "null");
    row("round text places", "ROUND", {"N:1", "C:x"}, "E:3223");
    row("round text", "ROUND", {"C:x", "N:1"}, "E:3205");
    // Remainders.
    row("mod", "MOD", {"N:7", "N:3"}, "N:1");
    row("mod negative", "MOD", {"N:-7", "N:3"}, "N:-1");
    row("mod by zero", "MOD", {"N:7", "N:0"}, "E:3215");
    row("mod currency by zero", "MOD", {"Y:7", "N:0"}, "E:3215");
    row("mod by zero currency", "MOD", {"N:7", "Y:0"}, "E:3215");
    row("mod currency", "MOD", {"Y:7.5", "N:2"}, "Y:1.5000");
    row("mod null", "MOD", {"null", "N:1"}, "null");
    row("mod text", "MOD", {"C:x", "Y:1"}, "E:3223");
    // Mathematics.
    row("sqrt", "SQRT", {"N:16"}, "N:4");
    row("sqrt currency", "SQRT", {"Y:4"}, "N:2");
    row("sqrt negative", "SQRT", {"N:-1"}, "E:3212");
    row("sqrt null", "SQRT", {"null"}, "null");
    row("log zero", "LOG", {"N:0"}, "E:3212");
    row("log negative", "LOG", {"N:-1"}, "E:3212");
    row("log one", "LOG", {"N:1"}, "N:0");
    row("log10", "LOG10", {"N:1000"}, "N:3");
    row("log10 zero", "LOG10", {"N:0"}, "E:3212");
    row("exp", "EXP", {"N:0"}, "N:1");
    row("sin", "SIN", {"N:0"}, "N:0");
    row("cos", "COS", {"N:0"}, "N:1");
    row("tan", "TAN", {"N:0"}, "N:0");
    row("atan", "ATAN", {"N:1"}, "N:0.785398163397448");
    row("cos text", "COS", {"C:x"}, "E:3223");
    row("pi", "PI", {}, "N:3.14159265358979");
}

QTEST_APPLESS_MAIN(TestFunctionsNumeric)
#include "tst_functions_numeric.moc"
