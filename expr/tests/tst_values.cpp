#include "expr_test_support.h"

#include "expr/conversions.h"
#include "expr/wildcard.h"

#include <cmath>
#include <limits>

class TestValues : public QObject {
    Q_OBJECT
private slots:
    void copies();
    void setTextFromOwnBuffer();
    void currency_data();
    void currency();
    void calendar_data();
    void calendar();
    void emptyDate();
    void dateLiteral_data();
    void dateLiteral();
    void generalNumber_data();
    void generalNumber();
    void roundDecimal_data();
    void roundDecimal();
    void powerOf();
    void wildcard_data();
    void wildcard();
    void codePages();
    void parserErrors();
    void reportError();
};

void TestValues::copies() {
    using exprtest::OwnedValue;
    OwnedValue f, n, m, c, empty, g, marked, target;
    exprtest::makeValue("F:1.25", &f.v);
    ValueCopy(&f.v, &n.v);
    QCOMPARE(n.v.nType, std::uint32_t(ALX_N));
    QCOMPARE(n.v.dbl, 1.25);

    exprtest::makeValue("M:текст", &m.v);
    ValueCopy(&m.v, &c.v);
    QCOMPARE(c.v.nType, std::uint32_t(ALX_C));
    QCOMPARE(exprtest::render(c.v), QString("C:текст"));
    QVERIFY(c.v.text.pData != m.v.text.pData);
    QCOMPARE(c.v.text.pData[c.v.text.nLength], '\0');

    exprtest::makeValue("C:", &empty.v);
    ValueCopy(&empty.v, &target.v);
    QCOMPARE(target.v.nType, std::uint32_t(ALX_C));
    QCOMPARE(target.v.text.nLength, 0);
    QVERIFY(target.v.text.pData == nullptr);

    exprtest::makeValue("G:00ff10", &g.v);
    ValueCopy(&g.v, &target.v); // replaces a text value
    QCOMPARE(exprtest::render(target.v), QString("G:00ff10"));
    // A shorter binary reuses the buffer.
    char* buffer = target.v.text.pData;
    ValueSetBinary("\x01", 1, &target.v);
    QCOMPARE(static_cast<void*>(target.v.text.pData), static_cast<void*>(buffer));
    QCOMPARE(exprtest::render(target.v), QString("G:01"));

    exprtest::makeValue("D:2019-01-05", &marked.v);
    marked.v.nType |= ALX_MARK;
    ValueCopy(&marked.v, &target.v);
    QCOMPARE(target.v.nType, std::uint32_t(ALX_D));
    QCOMPARE(exprtest::render(target.v), QString("D:2019-01-05"));

    ValueCopy(nullptr, &target.v);
    QCOMPARE(target.v.nType, std::uint32_t(ALX_NULL));
    OwnedValue typedNull;
    exprtest::makeValue("null:N", &typedNull.v);
    ValueCopy(&typedNull.v, &target.v);
    QCOMPARE(target.v.nType, std::uint32_t(ALX_NULL));

    ValueClear(&target.v);
    QCOMPARE(target.v.nType, 0u);
    QCOMPARE(target.v.currency, std::int64_t(0));
}

void TestValues::setTextFromOwnBuffer() {
    exprtest::OwnedValue v;
    exprtest::makeValue("C:abcdef", &v.v);
    ValueSetText(v.v.text.pData + 2, 3, &v.v);
    QCOMPARE(exprtest::render(v.v), QString("C:cde"));
}

void TestValues::currency_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<qlonglong>("units"); // -1 marks error 3221
    QTest::newRow("whole") << 1.5 << 15000LL;
    QTest::newRow("decimal") << 0.1 << 1000LL;
    QTest::newRow("rounded") << 1.23456789 << 12346LL;
    QTest::newRow("half to even down") << 0.03125 << 312LL;
    QTest::newRow("half to even up") << 0.09375 << 938LL;
    QTest::newRow("negative half mirrors") << -0.09375 << -938LL;
    // These doubles lie a hair above a half unit: not a tie.
    QTest::newRow("tiny just above half") << 0.00005 << 1LL;
    QTest::newRow("tiny just above half, even below") << 0.00025 << 3LL;
    QTest::newRow("large") << 123456789012.3456 << 1234567890123456LL;
    QTest::newRow("largest") << 922337203685477.5 << 9223372036854775000LL;
    QTest::newRow("upper bound") << 922337203685477.6 << -1LL;
    QTest::newRow("lower bound") << -922337203685477.6 << -1LL;
    QTest::newRow("nan") << std::numeric_limits<double>::quiet_NaN() << -1LL;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << -1LL;
}

void TestValues::currency() {
    QFETCH(double, x);
    QFETCH(qlonglong, units);
    try {
        const std::int64_t y = DoubleToCurrency(x);
        QCOMPARE(qlonglong(y), units);
        QCOMPARE(CurrencyAsDouble(y), double(y) / 10000.0);
    } catch (CALXParserException* e) {
        const int code = e->GetErrorCode();
        delete e;
        QCOMPARE(units, -1LL);
        QCOMPARE(code, 3221);
    }
}

void TestValues::calendar_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<int>("dayNumber");
    QTest::newRow("first day") << 1 << 1 << 1 << 1721426;
    QTest::newRow("gregorian start") << 1582 << 10 << 15 << 2299161;
    QTest::newRow("automation epoch") << 1899 << 12 << 30 << 2415019;
    QTest::newRow("1900 not leap") << 1900 << 3 << 1 << 2415080;
    QTest::newRow("2000 leap") << 2000 << 2 << 29 << 2451604;
    QTest::newRow("ordinary") << 2019 << 1 << 5 << 2458489;
    QTest::newRow("year end") << 2019 << 12 << 31 << 2458849;
    QTest::newRow("last day") << 9999 << 12 << 31 << 5373484;
}

void TestValues::calendar() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(int, dayNumber);
    std::int32_t n = 0, ms = 0;
    DateTimeFromParts(year, month, day, 13, 5, 7, &n, &ms);
    QCOMPARE(n, dayNumber);
    QCOMPARE(ms, (13 * 3600 + 5 * 60 + 7) * 1000);
    int dayOfYear = 0, leap = 0, d = 0;
    QCOMPARE(YearFromDay(n, ms, &dayOfYear, &leap), year);
    QCOMPARE(leap, IsLeapYear(year) ? 1 : 0);
    QCOMPARE(MonthDayFromDayOfYear(dayOfYear, leap, &d), month);
    QCOMPARE(d, day);
}

void TestValues::emptyDate() {
    int dayOfYear = -1, leap = -1, day = -1;
    QCOMPARE(YearFromDay(kALXEmptyDay, 0, &dayOfYear, &leap), 0);
    QCOMPARE(dayOfYear, 0);
    QCOMPARE(leap, 1);
    QCOMPARE(MonthDayFromDayOfYear(0, 1, &day), 1);
    QCOMPARE(day, 0);
    // Every day of a 400-year cycle survives the round trip.
    for (std::int32_t n = 2451545; n < 2451545 + 146097; ++n) {
        int doy = 0, lp = 0, dd = 0;
        const int y = YearFromDay(n, 0, &doy, &lp);
        const int m = MonthDayFromDayOfYear(doy, lp, &dd);
        std::int32_t back = 0;
        DateTimeFromParts(y, m, dd, 0, 0, 0, &back, nullptr);
        if (back != n)
            QFAIL(qPrintable(QString("day %1 came back as %2").arg(n).arg(back)));
    }
}

void TestValues::dateLiteral_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected"); // "fail" when the parse fails
    const auto row = [](const char* text, const char* expected) {
        QTest::newRow(text) << QString(text) << QString(expected);
    };
    row("^2019.1.5", "T:2019-01-05 00:00:00");
    row("^ 2019 - 01 - 05 ,13:05:00", "T:2019-01-05 13:05:00");
    row("^2019-01-05 01:00 pm", "T:2019-01-05 13:00:00");
    row("^2019-01-05 12:30 PM", "T:2019-01-05 12:30:00");
    row("^2020-02-29", "T:2020-02-29 00:00:00");
    row("^2019-13-01", "fail");
    row("^2019-02-29", "fail");
    row("^2019-01-32", "fail");
    row("^2019-01-05 24:00", "fail");
    row("^2019-01-05 10:60", "fail");
    row("^2019", "fail");
    row("", "T:empty 00:00:00");
    row("   ", "T:empty 00:00:00");
    row("05.01.2019", "T:2019-01-05 00:00:00");
    row(" 5/1/19 ", "T:2019-01-05 00:00:00");
    row("01.01.50", "T:1950-01-01 00:00:00");
    row("2019-01-05 13:05:07", "T:2019-01-05 13:05:07");
    row("05.01.2019 1:05 pm", "T:2019-01-05 13:05:00");
    row("05.01.2019 12:05 am", "T:2019-01-05 00:05:00");
    row("13:05:07", "T:1899-12-30 13:05:07");
    row("31.04.2019", "fail");
    row("05.01.2019 x", "fail");
    row("25:00", "fail");
    row("abc", "fail");
}

void TestValues::dateLiteral() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    exprtest::OwnedValue v;
    const QByteArray bytes = text.toLatin1();
    const int ok = ParseDateLiteral(bytes.constData(), &v.v);
    QCOMPARE(ok ? exprtest::render(v.v) : QString("fail"), expected);
}

void TestValues::generalNumber_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("one") << 1.0 << "1";
    QTest::newRow("ten") << 10.0 << "10";
    QTest::newRow("negative") << -1.5 << "-1.5";
    QTest::newRow("fraction") << 123.456 << "123.456";
    QTest::newRow("binary noise") << 0.1 + 0.2 << "0.3";
    QTest::newRow("third") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("big whole") << 123456789.125 << "123456789.125";
    QTest::newRow("twenty digits") << 1e19 << "10000000000000000000";
    QTest::newRow("scientific") << 1.5e25 << "1.5E+25";
    QTest::newRow("three exponent digits") << 1e100 << "1E+100";
    QTest::newRow("small fixed") << 1e-14 << "0.00000000000001";
    QTest::newRow("small scientific") << 1e-15 << "1E-15";
    QTest::newRow("tiny negative") << -2.5e-120 << "-2.5E-120";
}

void TestValues::generalNumber() {
    QFETCH(double, x);
    QFETCH(QString, text);
    const QByteArray g = FormatNumberGeneral(x);
    QCOMPARE(QString::fromLatin1(g), text);
    QVERIFY(g.size() <= 20);
}

void TestValues::roundDecimal_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("places");
    QTest::addColumn<double>("expected");
    QTest::newRow("half up") << 2.5 << 0 << 3.0;
    QTest::newRow("half away from zero") << -2.5 << 0 << -3.0;
    QTest::newRow("one place") << 1.25 << 1 << 1.3;
    QTest::newRow("one place negative") << -1.25 << 1 << -1.3;
    QTest::newRow("hundreds") << 1234.5678 << -2 << 1200.0;
    QTest::newRow("hundreds half") << -1250.0 << -2 << -1300.0;
    QTest::newRow("past precision") << 1e300 << 5 << 1e300;
}

void TestValues::roundDecimal() {
    QFETCH(double, x);
    QFETCH(int, places);
    QFETCH(double, expected);
    QCOMPARE(RoundDecimal(x, places), expected);
}

void TestValues::powerOf() {
    QCOMPARE(PowerOf(2, 10), 1024.0);
    QCOMPARE(PowerOf(2, -2), 0.25);
    QCOMPARE(PowerOf(10, 0), 1.0);
    QCOMPARE(PowerOf(-3, 3), -27.0);
}

void TestValues::wildcard_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("match");
    QTest::newRow("exact") << "abc"
                           << "abc" << true;
    QTest::newRow("shorter") << "ab"
                             << "abc" << false;
    QTest::newRow("longer") << "abcd"
                            << "abc" << false;
    QTest::newRow("star middle") << "a*c"
                                 << "abbc" << true;
    QTest::newRow("star empty run") << "a*c"
                                    << "ac" << true;
    QTest::newRow("star end") << "ab**"
                              << "abxyz" << true;
    QTest::newRow("star start") << "*bc"
                                << "abc" << true;
    QTest::newRow("backtrack") << "*ab*ab"
                               << "xabyabab" << true;
    QTest::newRow("question") << "a??d"
                              << "abcd" << true;
    QTest::newRow("question at end") << "abc?"
                                     << "abc" << false;
    QTest::newRow("case") << "ABC"
                          << "abc" << false;
    QTest::newRow("empty both") << ""
                                << "" << true;
    QTest::newRow("empty pattern") << ""
                                   << "a" << false;
}

void TestValues::wildcard() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, match);
    QCOMPARE(WildcardMatch(pattern.toLatin1().constData(), text.toLatin1().constData()),
             match ? 1 : 0);
}

void TestValues::codePages() {
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    // Every byte comes back, 0x98 (which the code page leaves without a
    // character) included.
    QCOMPARE(alx::UnicodeToCp1251(alx::Cp1251ToUnicode(all)), all);
    QCOMPARE(alx::Cp1251ToUnicode("\x98", 1), QString(QChar(0x98)));
    QCOMPARE(alx::UnicodeToCp1251(QString::fromUtf8("Ёё€№")), QByteArray("\xA8\xB8\x88\xB9"));
    QCOMPARE(alx::UnicodeToCp1251(QString::fromUtf8("日")), QByteArray("?"));
    QCOMPARE(alx::Cp866ToUnicode("\x80\xF0", 2), QString::fromUtf8("АЁ"));
    QCOMPARE(alx::UnicodeToCp866(QString::fromUtf8("яё")), QByteArray("\xEF\xF1"));
}

void TestValues::parserErrors() {
    try {
        ThrowParserError(ALXERR_RANGE, "DATE");
        QFAIL("no exception");
    } catch (CALXParserException* e) {
        QCOMPARE(e->GetErrorCode(), 3224);
        QCOMPARE(e->GetErrorCount(), 1);
        QCOMPARE(QString(e->GetErrorText()), QString("Error number 0x00000C98."));
        char small[8];
        unsigned help = 99;
        QCOMPARE(e->GetErrorMessage(small, sizeof small, &help), 1);
        QCOMPARE(QString(small), QString("Error n"));
        QCOMPARE(help, 0u);
        delete e;
    }
    char text[64];
    FormatErrorFallback(3205, text, sizeof text);
    QCOMPARE(QString(text), QString("Error number 0x00000C85."));

    ALXErrorRecord records[2];
    records[0].nCode = 3204;
    records[1].nCode = 3215;
    qstrcpy(records[1].szText, "second");
    CALXParserException e(records, 2);
    e.SelectError(1);
    QCOMPARE(e.GetErrorCode(), 3215);
    e.SelectError(2); // out of range keeps the current record
    QCOMPARE(QString(e.GetErrorText()), QString("second"));
}

namespace {
QString g_shown;
int capture(const char* text, const char* caption, unsigned style) {
    g_shown = QString("%1|%2|%3").arg(caption, text).arg(style);
    return 7;
}
} // namespace

void TestValues::reportError() {
    CALXException::SetPresenter(capture);
    ALXErrorRecord record;
    record.nCode = 3222;
    FormatErrorFallback(3222, record.szText, sizeof record.szText);
    CALXParserException parser(&record, 1);
    QCOMPARE(parser.ReportError(16), 7);
    QCOMPARE(g_shown, QString("Error|Error number 0x00000C96.|16"));

    CALXException plain; // has no text: the message id names the error
    QCOMPARE(plain.ReportError(0, 3221), 7);
    QCOMPARE(g_shown, QString("Error|Error number 0x00000C95.|0"));
    CALXException::SetPresenter(nullptr);
}

QTEST_APPLESS_MAIN(TestValues)
#include "tst_values.moc"
