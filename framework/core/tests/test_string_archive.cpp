// The string archive and the variable sets stored through it, byte for byte:
// the stored texts of existing rows must keep reading the same, and a text
// that does not decode must be told apart from an empty list.
#include "framework/core/containers/string_archive.h"
#include "framework/core/containers/string_vars.h"

#include <QTest>

class TestStringArchive : public QObject {
    Q_OBJECT

    static QString TextOf(const QByteArray& stream) {
        CxStringArchive archive(CxStringArchive::store);
        archive.SetStream(stream);
        return archive.Pack();
    }

private slots:
    // What each write puts into the stream.
    void writesBytes_data() {
        QTest::addColumn<int>("what"); // 0 count, 1 int32, 2 string
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QString>("string");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("count 0") << 0 << 0LL << QString() << QByteArray("0000");
        QTest::newRow("count 300") << 0 << 300LL << QString() << QByteArray("2c01");
        QTest::newRow("count 0xFFFE") << 0 << 0xFFFELL << QString() << QByteArray("feff");
        QTest::newRow("count 0xFFFF") << 0 << 0xFFFFLL << QString() << QByteArray("ffffffff0000");
        QTest::newRow("count 70000") << 0 << 70000LL << QString() << QByteArray("ffff70110100");
        QTest::newRow("int 1") << 1 << 1LL << QString() << QByteArray("01000000");
        QTest::newRow("int -2") << 1 << -2LL << QString() << QByteArray("feffffff");
        QTest::newRow("int max") << 1 << 2147483647LL << QString() << QByteArray("ffffff7f");
        QTest::newRow("empty string") << 2 << 0LL << QString() << QByteArray("0000");
        QTest::newRow("string") << 2 << 0LL << QStringLiteral("1") << QByteArray("010031");
        QTest::newRow("cyrillic string")
            << 2 << 0LL << QStringLiteral("ПИН") << QByteArray("0600d09fd098d09d");
    }
    void writesBytes() {
        QFETCH(int, what);
        QFETCH(qint64, number);
        QFETCH(QString, string);
        QFETCH(QByteArray, hex);
        CxStringArchive out(CxStringArchive::store);
        QVERIFY(out.IsStoring());
        if (what == 0)
            out.WriteCount(quint32(number));
        else if (what == 1)
            out.WriteInt32(qint32(number));
        else
            out.WriteString(string);
        QCOMPARE(out.Stream().toHex(), hex);

        CxStringArchive in(CxStringArchive::load);
        QVERIFY(in.Unpack(out.Pack()));
        quint32 count = 0;
        qint32 value = 0;
        QString text;
        if (what == 0) {
            QVERIFY(in.ReadCount(&count));
            QCOMPARE(qint64(count), number);
        } else if (what == 1) {
            QVERIFY(in.ReadInt32(&value));
            QCOMPARE(qint64(value), number);
        } else {
            QVERIFY(in.ReadString(&text));
            QCOMPARE(text, string);
        }
        QVERIFY(in.AtEnd());
    }

    // The text is the stream in base64; only what Pack writes unpacks.
    void texts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("decodes");
        QTest::addColumn<QByteArray>("hex");
        QTest::newRow("empty") << QString() << true << QByteArray();
        QTest::newRow("two ids") << "AgAHAAAALAEAAA==" << true
                                 << QByteArray("0200070000002c010000");
        QTest::newRow("blanks around") << " AAA=\n" << true << QByteArray("0000");
        QTest::newRow("no padding") << "AAA" << false << QByteArray();
        QTest::newRow("padding bits set") << "AAB=" << false << QByteArray();
        QTest::newRow("line break inside") << "AgAHAAAA\nLAEAAA==" << false << QByteArray();
        QTest::newRow("not base64") << "AgAHAAAALAEAAA=*" << false << QByteArray();
        QTest::newRow("cyrillic") << "Шприц; Игла" << false << QByteArray();
    }
    void texts() {
        QFETCH(QString, text);
        QFETCH(bool, decodes);
        QFETCH(QByteArray, hex);
        CxStringArchive archive(CxStringArchive::load);
        QCOMPARE(archive.Unpack(text), decodes);
        QCOMPARE(archive.Stream().toHex(), hex);
        if (decodes)
            QCOMPARE(TextOf(archive.Stream()), text.trimmed());
    }

    // Reading past the end fails, and keeps failing.
    void readsPastTheEnd() {
        CxStringArchive archive(CxStringArchive::load);
        archive.SetStream(QByteArray::fromHex("ffff0100"));
        quint32 count = 7;
        QVERIFY(!archive.ReadCount(&count));
        QCOMPARE(count, 0u);
        QVERIFY(!archive.IsOk());
        archive.SetStream(QByteArray::fromHex("0500616263"));
        QString text = QStringLiteral("x");
        QVERIFY(!archive.ReadString(&text));
        QVERIFY(text.isEmpty());
        archive.SetStream(QByteArray::fromHex("0200ffff01000000"));
        QVERIFY(!archive.ReadString(&text)); // not UTF-8
        qint32 value = 0;
        QVERIFY(!archive.ReadInt32(&value));
        QVERIFY(!archive.AtEnd());
    }

    // A variable set, byte for byte: names in ascending order, name and
    // value as strings.
    void variableSets_data() {
        QTest::addColumn<QStringList>("vars"); // name=value
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList() << "AAA=";
        QTest::newRow("two material types")
            << QStringList{"65537=1", "196610=1"} << "AgAGADE5NjYxMAEAMQUANjU1MzcBADE=";
        QTest::newRow("cyrillic") << QStringList{"ключ=знач"} << "AQAIANC60LvRjtGHCADQt9C90LDRhw==";
    }
    void variableSets() {
        QFETCH(QStringList, vars);
        QFETCH(QString, text);
        CStringVars set;
        for (const QString& v : vars)
            set.SetVar(v.section(u'=', 0, 0), v.section(u'=', 1));
        QCOMPARE(set.Pack(), text);
        CStringVars back;
        back.SetVar(QStringLiteral("stale"), QStringLiteral("1"));
        QVERIFY(back.Unpack(text));
        QVERIFY(back == set);
        QString value;
        for (const QString& v : vars) {
            QVERIFY(back.GetVar(v.section(u'=', 0, 0), &value));
            QCOMPARE(value, v.section(u'=', 1));
        }
        QVERIFY(!back.GetVar(QStringLiteral("stale")));
    }

    // Variable texts that do not decode leave the set empty; an empty text
    // is an empty set.
    void variableSetsThatDoNotDecode_data() {
        QTest::addColumn<QString>("text");
        const QByteArray one = QByteArray::fromHex("010001003101003100");
        QTest::newRow("cut short") << TextOf(QByteArray::fromHex("0100010031010031").left(7));
        QTest::newRow("runs on") << TextOf(one);
        QTest::newRow("name twice") << TextOf(QByteArray::fromHex("0200"
                                                                  "010031"
                                                                  "010031"
                                                                  "010031"
                                                                  "010032"));
        QTest::newRow("not the archive's text") << QStringLiteral("65537=1;196610=1");
    }
    void variableSetsThatDoNotDecode() {
        QFETCH(QString, text);
        CStringVars set;
        set.SetVar(QStringLiteral("65537"), QStringLiteral("1"));
        QVERIFY(!set.Unpack(text));
        QCOMPARE(set.GetCount(), 0);
        QVERIFY(set.Unpack(QStringLiteral("  ")));
        QCOMPARE(set.GetCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TestStringArchive)
#include "test_string_archive.moc"
