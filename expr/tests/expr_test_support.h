// Values written as short texts for the test tables:
//   "-" an omitted argument, "null", "null:N" (null beside a type bit),
//   "C:text" and "M:text" (UTF-8 here, Windows-1251 in the value), "N:1.5",
//   "F:1.5", "Y:1.2345", "D:2019-01-05", "D:empty", "T:2019-01-05 13:05:00",
//   "L:T", "L:F", "G:0a0b" (hex); a raised error reads "E:3224".
#pragma once

#include "expr/calendar.h"
#include "expr/codepage.h"
#include "expr/errors.h"
#include "expr/functions.h"
#include "expr/values.h"

#include <QStringList>
#include <QTest>

#include <memory>
#include <vector>

namespace exprtest {

struct OwnedValue {
    ALXValue v;
    OwnedValue() = default;
    OwnedValue(const OwnedValue&) = delete;
    ~OwnedValue() { ValueClear(&v); }
};

inline std::int64_t currencyUnits(const QString& text) {
    const bool negative = text.startsWith('-');
    const QString digits = negative ? text.mid(1) : text;
    const QStringList parts = digits.split('.');
    const QString fraction = (parts.value(1) + "0000").left(4);
    const std::int64_t units = parts[0].toLongLong() * 10000 + fraction.toLongLong();
    return negative ? -units : units;
}

// Fills `out` from the notation; false for "-" (omitted).
inline bool makeValue(const QString& notation, ALXValue* out) {
    if (notation == "-")
        return false;
    if (notation.startsWith("null")) {
        ValueSetNull(out);
        if (notation == "null:N")
            out->nType |= ALX_N;
        return true;
    }
    const QString kind = notation.section(':', 0, 0);
    const QString body = notation.section(':', 1);
    if (kind == "C" || kind == "M") {
        const QByteArray bytes = alx::UnicodeToCp1251(body);
        ValueSetText(bytes.constData(), int(bytes.size()), out);
        if (kind == "M")
            out->nType = ALX_M;
    } else if (kind == "N" || kind == "F") {
        ValueSetNumber(body.toDouble(), out);
        if (kind == "F")
            out->nType = ALX_F;
    } else if (kind == "Y") {
        ValueSetCurrency(currencyUnits(body), out);
    } else if (kind == "L") {
        ValueSetLogical(body == "T", out);
    } else if (kind == "D" || kind == "T") {
        std::int32_t day = kALXEmptyDay, ms = 0;
        if (body != "empty") {
            const QStringList dt = body.split(' ');
            const QStringList d = dt[0].split('-');
            const QStringList t = dt.value(1, "0:0:0").split(':');
            DateTimeFromParts(d[0].toInt(), d[1].toInt(), d[2].toInt(), t[0].toInt(), t[1].toInt(),
                              int(t[2].toDouble()), &day, &ms);
            ms += int(qRound((t[2].toDouble() - int(t[2].toDouble())) * 1000));
        }
        if (kind == "D")
            ValueSetDate(day, out);
        else
            ValueSetDateTime(day, ms, out);
    } else if (kind == "G") {
        const QByteArray bytes = QByteArray::fromHex(body.toLatin1());
        ValueSetBinary(bytes.constData(), int(bytes.size()), out);
    } else {
        qFatal("bad value notation %s", qPrintable(notation));
    }
    return true;
}

inline QString dateText(std::int32_t day) {
    const ALXCivilDate c = CivilFromDay(day);
    if (c.month == 0)
        return "empty";
    return QString::asprintf("%04d-%02d-%02d", c.year, c.month, c.day);
}

inline QString render(const ALXValue& v) {
    if (v.nType == 0)
        return "none";
    if (v.nType & ALX_NULL)
        return "null";
    switch (v.nType & ALX_TYPEBITS) {
    case ALX_C:
    case ALX_M: {
        const QString prefix = (v.nType & ALX_TYPEBITS) == ALX_C ? "C:" : "M:";
        return prefix + alx::Cp1251ToUnicode(v.text.pData, v.text.nLength);
    }
    case ALX_N:
        return "N:" + QString::number(v.dbl, 'g', 15);
    case ALX_F:
        return "F:" + QString::number(v.dbl, 'g', 15);
    case ALX_Y: {
        const std::int64_t a = v.currency < 0 ? -v.currency : v.currency;
        return QString::asprintf("Y:%s%lld.%04lld", v.currency < 0 ? "-" : "",
                                 static_cast<long long>(a / 10000),
                                 static_cast<long long>(a % 10000));
    }
    case ALX_L:
        return v.logical ? "L:T" : "L:F";
    case ALX_D:
        return "D:" + dateText(v.date.nDay);
    case ALX_T: {
        const int s = v.date.nMs / 1000;
        QString t = "T:" + dateText(v.date.nDay) +
                    QString::asprintf(" %02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
        if (v.date.nMs % 1000)
            t += QString::asprintf(".%03d", v.date.nMs % 1000);
        return t;
    }
    case ALX_G:
        return "G:" + QString::fromLatin1(QByteArray(v.text.pData, v.text.nLength).toHex());
    default:
        return QString("type:%1").arg(v.nType);
    }
}

inline const ALXFunction* findFunction(const QString& name) {
    for (int i = 0; i < ALXFunctionTable.nCount; ++i)
        if (name == QLatin1String(ALXFunctionTable.entries[i].pszName))
            return &ALXFunctionTable.entries[i];
    return nullptr;
}

// Runs a built-in function over arguments in the notation above and gives
// its result in the same notation. A plain result must also be of a type
// that the function's table entry promises.
inline QString call(const QString& name, const QStringList& args) {
    const ALXFunction* f = findFunction(name);
    if (!f)
        return "no such function";
    std::vector<std::unique_ptr<OwnedValue>> values;
    std::vector<ALXValue*> pointers(std::size_t(std::max(f->MaxArgs(), int(args.size())) + 1),
                                    nullptr);
    for (int i = 0; i < args.size(); ++i) {
        values.push_back(std::make_unique<OwnedValue>());
        if (makeValue(args[i], &values.back()->v))
            pointers[std::size_t(i)] = &values.back()->v;
    }
    OwnedValue result;
    try {
        f->pfnHandler(pointers.data(), &result.v);
    } catch (CALXParserException* e) {
        const int code = e->GetErrorCode();
        delete e;
        return QString("E:%1").arg(code);
    }
    const std::uint32_t type = result.v.nType & (ALX_TYPEBITS | ALX_NULL);
    if (f->pResultSpec.nRule == ALXRES_TYPE && !(type & ALX_NULL) &&
        (type == 0 || (type & ~f->pResultSpec.nTypeMask) != 0))
        return QString("result type %1 outside the table's").arg(type, 0, 16);
    return render(result.v);
}

} // namespace exprtest

namespace exprtest {

// Columns of a function table: function, arguments, expected result.
inline void functionColumns() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expected");
}

inline void row(const char* tag, const QString& function, const QStringList& args,
                const QString& expected) {
    QTest::newRow(tag) << function << args << expected;
}

} // namespace exprtest

#define EXPR_FUNCTION_TABLE_TEST                                                                   \
    QFETCH(QString, function);                                                                     \
    QFETCH(QStringList, args);                                                                     \
    QFETCH(QString, expected);                                                                     \
    QCOMPARE(exprtest::call(function, args), expected);
