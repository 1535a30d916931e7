#include "expr_test_support.h"

using exprtest::row;

class TestFunctionsConversion : public QObject {
    Q_OBJECT
private slots:
    void calls_data();
    void calls() { EXPR_FUNCTION_TABLE_TEST }
};

void TestFunctionsConversion::calls_data() {
    exprtest::functionColumns();
    row("asc", "ASC", {"C:A"}, "N:65");
    row("asc cyrillic is unsigned", "ASC", {"C:я"}, "N:255");
    row("asc empty", "ASC", {"C:"}, "N:0");
    row("asc null", "ASC", {"null"}, "null");
    row("chr", "CHR", {"N:65"}, "C:A");
    row("chr cyrillic", "CHR", {"N:255"}, "C:я");
    row("chr 256", "CHR", {"N:256"}, "E:3224");
    row("chr negative", "CHR", {"N:-1"}, "E:3224");
    row("chr text", "CHR", {"C:x"}, "E:3223");
    // STR: fixed width, right-aligned.
    row("str default width", "STR", {"N:123.456"}, "C:       123");
    row("str decimals", "STR", {"N:123.456", "N:8", "N:2"}, "C:  123.46");
    row("str negative", "STR", {"N:-1.5", "N:5", "N:1"}, "C: -1.5");
    row("str zero", "STR", {"N:0", "N:5", "N:2"}, "C: 0.00");
    row("str rounds half up", "STR", {"N:0.5"}, "C:         1");
    row("str tiny negative", "STR", {"N:-0.001", "N:6", "N:2"}, "C:  0.00");
    row("str fewer decimals fit", "STR", {"N:123.456", "N:6", "N:3"}, "C:123.46");
    row("str whole units", "STR", {"N:12345.6", "N:5", "N:2"}, "C:12346");
    row("str too wide", "STR", {"N:123456", "N:3"}, "C:***");
    row("str scientific", "STR", {"N:1e25", "N:10"}, "C: 1.000E+25");
    row("str scientific small", "STR", {"N:1e-30", "N:10", "N:2"}, "C: 1.000E-30");
    row("str currency", "STR", {"Y:12.5", "N:6", "N:2"}, "C: 12.50");
    row("str length 0", "STR", {"N:1.5", "N:0"}, "C:");
    row("str length 513", "STR", {"N:1", "N:513"}, "E:3224");
    row("str decimals 19", "STR", {"N:1", "N:10", "N:19"}, "E:3224");
    row("str null", "STR", {"null"}, "null");
    // VAL: the leading number; "$" makes currency.
    row("val", "VAL", {"C:12.5"}, "N:12.5");
    row("val leading part", "VAL", {"C:  -3e2xyz"}, "N:-300");
    row("val no number", "VAL", {"C:abc"}, "N:0");
    row("val two signs", "VAL", {"C:--5"}, "N:0");
    row("val underflow", "VAL", {"C:1e-400"}, "N:0");
    row("val overflow", "VAL", {"C:-1e400"}, "N:-inf");
    row("val empty", "VAL", {"C:"}, "N:0");
    row("val comma is not a point", "VAL", {"C:1,5"}, "N:1");
    row("val currency", "VAL", {"C:$12.34"}, "Y:12.3400");
    row("val currency comma", "VAL", {"C: $1,5"}, "Y:1.5000");
    row("val currency half even up", "VAL", {"C:$1.23455"}, "Y:1.2346");
    row("val currency half even down", "VAL", {"C:$1.23445"}, "Y:1.2344");
    row("val currency negative", "VAL", {"C:$-7"}, "Y:-7.0000");
    row("val currency overflow", "VAL", {"C:$99999999999999999"}, "E:3221");
    row("val currency junk", "VAL", {"C:$12abc"}, "Y:0.0000");
    row("val number", "VAL", {"N:1"}, "E:3223");
    row("val null", "VAL", {"null"}, "null");
    // Text to date.
    row("ctod literal", "CTOD", {"C:^2019-01-05"}, "D:2019-01-05");
    row("ctod russian", "CTOD", {"C:05.01.2019"}, "D:2019-01-05");
    row("ctod iso", "CTOD", {"C:2019-01-05"}, "D:2019-01-05");
    row("ctod short year", "CTOD", {"C:5/1/19"}, "D:2019-01-05");
    row("ctod drops time", "CTOD", {"C:05.01.2019 13:05"}, "D:2019-01-05");
    row("ctod empty", "CTOD", {"C:"}, "D:empty");
    row("ctod no such day", "CTOD", {"C:^2019-02-29"}, "E:3222");
    // A "^" literal separates its date parts by "." or "-", nothing else.
    row("ctod literal slash", "CTOD", {"C:^2019/01/05"}, "E:3222");
    row("ctod literal colon", "CTOD", {"C:^2019:01:05"}, "E:3222");
    row("ctot literal mixed", "CTOT", {"C:^2019.01-05,10:00"}, "T:2019-01-05 10:00:00");
    row("ctod junk", "CTOD", {"C:junk"}, "E:3222");
    row("ctod number", "CTOD", {"N:1"}, "E:3205");
    row("ctod null", "CTOD", {"null"}, "null");
    row("ctot pm", "CTOT", {"C:^2019-01-05 01:00 pm"}, "T:2019-01-05 13:00:00");
    row("ctot blanks", "CTOT", {"C:^ 2019 - 01 - 05 ,13:05:00"}, "T:2019-01-05 13:05:00");
    row("ctot russian", "CTOT", {"C:05.01.2019 13:05:07"}, "T:2019-01-05 13:05:07");
    row("ctot time only", "CTOT", {"C:13:05"}, "T:1899-12-30 13:05:00");
    // Date to text.
    row("dtoc", "DTOC", {"D:2019-01-05"}, "C:05.01.2019");
    row("dtoc sortable", "DTOC", {"D:2019-01-05", "N:1"}, "C:20190105");
    row("dtoc empty", "DTOC", {"D:empty"}, "C:  .  .    ");
    row("dtoc empty sortable", "DTOC", {"D:empty", "N:1"}, "C:        ");
    row("dtoc number", "DTOC", {"N:1"}, "E:3205");
    row("dtoc null", "DTOC", {"null"}, "null");
    row("dtoc null mode", "DTOC", {"D:2019-01-05", "null"}, "null");
    row("dtos date-time", "DTOS", {"T:2019-01-05 10:00:00"}, "C:20190105");
    row("ttod", "TTOD", {"T:2019-01-05 13:00:00"}, "D:2019-01-05");
    row("ttod text", "TTOD", {"C:x"}, "E:3205");
    // Number and currency.
    row("ntom", "NTOM", {"N:1.23456"}, "Y:1.2346");
    row("ntom half to even down", "NTOM", {"N:0.03125"}, "Y:0.0312");
    row("ntom half to even up", "NTOM", {"N:0.09375"}, "Y:0.0938");
    row("ntom negative half", "NTOM", {"N:-0.03125"}, "Y:-0.0312");
    row("ntom overflow", "NTOM", {"N:1e300"}, "E:3221");
    row("ntom currency", "NTOM", {"Y:5"}, "Y:5.0000");
    row("ntom text", "NTOM", {"C:5"}, "E:3205");
    row("mton", "MTON", {"Y:1.5"}, "N:1.5");
    row("mton float", "MTON", {"F:2"}, "N:2");
}

QTEST_APPLESS_MAIN(TestFunctionsConversion)
#include "tst_functions_conversion.moc"
