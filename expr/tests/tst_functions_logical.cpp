#include "expr_test_support.h"

#include <QSet>

using exprtest::row;

class TestFunctionsLogical : public QObject {
    Q_OBJECT
private slots:
    void calls_data();
    void calls() { EXPR_FUNCTION_TABLE_TEST }
    void table();
};

void TestFunctionsLogical::calls_data() {
    exprtest::functionColumns();
    row("between inside", "BETWEEN", {"N:5", "N:1", "N:10"}, "L:T");
    row("between on bounds", "BETWEEN", {"N:10", "N:1", "N:10"}, "L:T");
    row("between above", "BETWEEN", {"N:11", "N:1", "N:10"}, "L:F");
    row("between below", "BETWEEN", {"N:0", "N:1", "N:10"}, "L:F");
    row("between texts", "BETWEEN", {"C:b", "C:a", "C:c"}, "L:T");
    row("between dates", "BETWEEN", {"D:2019-06-01", "D:2019-01-01", "D:2019-05-31"}, "L:F");
    row("between null", "BETWEEN", {"null", "N:1", "N:2"}, "null");
    row("between mixed kinds", "BETWEEN", {"N:1", "C:a", "N:2"}, "E:3204");
    row("empty blanks", "EMPTY", {"C:  \t\r\n"}, "L:T");
    row("empty text", "EMPTY", {"C:a"}, "L:F");
    row("empty no text", "EMPTY", {"C:"}, "L:T");
    row("empty zero", "EMPTY", {"N:0"}, "L:T");
    row("empty currency", "EMPTY", {"Y:0"}, "L:T");
    row("empty currency unit", "EMPTY", {"Y:0.0001"}, "L:F");
    row("empty date", "EMPTY", {"D:empty"}, "L:T");
    row("empty real date", "EMPTY", {"D:2019-01-05"}, "L:F");
    row("empty false", "EMPTY", {"L:F"}, "L:T");
    row("empty null", "EMPTY", {"null"}, "L:F");
    row("empty binary", "EMPTY", {"G:"}, "L:T");
    row("empty binary bytes", "EMPTY", {"G:00"}, "L:F");
    row("iif true", "IIF", {"L:T", "C:a", "N:1"}, "C:a");
    row("iif false float", "IIF", {"L:F", "C:a", "F:2"}, "N:2");
    row("iif memo", "IIF", {"L:T", "M:x", "N:1"}, "C:x");
    row("iif null", "IIF", {"null", "C:a", "C:b"}, "null");
    row("iif number", "IIF", {"N:1", "C:a", "C:b"}, "E:3205");
    row("isnull", "ISNULL", {"null"}, "L:T");
    row("isnull typed", "ISNULL", {"null:N"}, "L:T");
    row("isnull zero", "ISNULL", {"N:0"}, "L:F");
    row("max", "MAX", {"N:1", "N:3", "N:2"}, "N:3");
    row("min", "MIN", {"N:2", "N:1", "N:3"}, "N:1");
    row("max texts", "MAX", {"C:b", "C:a"}, "C:b");
    row("max dates", "MAX", {"D:2019-01-05", "T:2019-01-05 10:00:00"}, "T:2019-01-05 10:00:00");
    row("max number and currency", "MAX", {"N:1", "Y:2"}, "Y:2.0000");
    row("max float", "MAX", {"F:1.5", "N:1"}, "N:1.5");
    row("max null", "MAX", {"N:1", "null", "N:2"}, "null");
    row("max one", "MAX", {"N:1"}, "E:3205");
    row("max mixed kinds", "MAX", {"N:1", "C:a"}, "E:3204");
    row("vartype text", "VARTYPE", {"C:x"}, "C:C");
    row("vartype memo", "VARTYPE", {"M:x"}, "C:C");
    row("vartype float", "VARTYPE", {"F:1"}, "C:N");
    row("vartype logical", "VARTYPE", {"L:T"}, "C:L");
    row("vartype date", "VARTYPE", {"D:2019-01-05"}, "C:D");
    row("vartype datetime", "VARTYPE", {"T:2019-01-05 10:00:00"}, "C:T");
    row("vartype currency", "VARTYPE", {"Y:1"}, "C:Y");
    row("vartype binary", "VARTYPE", {"G:00"}, "C:G");
    row("vartype null", "VARTYPE", {"null"}, "C:X");
    row("vartype null typed flag", "VARTYPE", {"null:N", "L:T"}, "C:N");
    row("vartype null untyped flag", "VARTYPE", {"null", "L:T"}, "C:U");
    row("vartype null typed no flag", "VARTYPE", {"null:N", "L:F"}, "C:X");
    row("vartype number flag", "VARTYPE", {"N:1", "N:1"}, "E:3223");
    row("deleted", "DELETED", {"L:T"}, "L:T");
    row("deleted not", "DELETED", {"L:F"}, "L:F");
    row("deleted unbound", "DELETED", {}, "L:F");
    row("recno", "RECNO", {"N:42"}, "N:42");
    row("recno null", "RECNO", {"null"}, "null");
}

void TestFunctionsLogical::table() {
    QCOMPARE(ALXFunctionTable.nCount, 80);
    QSet<QString> names;
    for (int i = 0; i < ALXFunctionTable.nCount; ++i) {
        const ALXFunction& f = ALXFunctionTable.entries[i];
        const QString name = QString::fromLatin1(f.pszName);
        QVERIFY2(!names.contains(name), qPrintable(name));
        names.insert(name);
        QCOMPARE(name, name.toUpper());
        QVERIFY(f.MinArgs() <= f.MaxArgs());
        QCOMPARE(f.pArgSpecs == nullptr, f.MaxArgs() == 0);
    }
    QCOMPARE(QString(ALXFunctionTable.entries[0].pszName), QString("ABS"));
    QCOMPARE(QString(ALXFunctionTable.entries[79].pszName), QString("RECNO"));
    QCOMPARE(QString(FunctionNameOf(ALXFunctionTable.entries[41].pfnHandler)), QString("MAX"));
    // TRIM shares its handler with RTRIM, which comes first.
    QCOMPARE(QString(FunctionNameOf(exprtest::findFunction("TRIM")->pfnHandler)), QString("RTRIM"));
    const ALXFunction* strtran = exprtest::findFunction("STRTRAN");
    QCOMPARE(strtran->MinArgs(), 2);
    QCOMPARE(strtran->MaxArgs(), 5);
    QCOMPARE(QString(strtran->pArgSpecs[4].pszDefault), QString("16777184"));
    QCOMPARE(QString(exprtest::findFunction("RECNO")->pArgSpecs[0].pszDefault),
             QString("__RECNO__"));
}

QTEST_APPLESS_MAIN(TestFunctionsLogical)
#include "tst_functions_logical.moc"
