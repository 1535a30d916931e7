#include "db/digests.h"

#include <QTest>

class TestDigests : public QObject {
    Q_OBJECT
private slots:
    void bytes_data() {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("md5");
        QTest::addColumn<QString>("sha256");
        QTest::newRow("empty, length 0")
            << QByteArray("") << 0 << "d41d8cd98f00b204e9800998ecf8427e"
            << "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
        QTest::newRow("empty, up to zero byte")
            << QByteArray("\0abc", 4) << -1 << "d41d8cd98f00b204e9800998ecf8427e"
            << "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
        QTest::newRow("abc") << QByteArray("abc") << -1 << "900150983cd24fb0d6963f7d28e17f72"
                             << "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
        QTest::newRow("embedded zero counted")
            << QByteArray("a\0b", 3) << 3 << "70350f6027bce3713f6b76473084309b"
            << "59b271ae1bbcb1d31d41929817f4b16fb439eb4f31520b5ad1d5ce98920a7138";
    }
    void bytes() {
        QFETCH(QByteArray, input);
        QFETCH(int, length);
        QFETCH(QString, md5);
        QFETCH(QString, sha256);
        char out[65];
        MD5Hex(input.constData(), length, out);
        QCOMPARE(QString::fromLatin1(out), md5);
        MD5Hex(input.constData(), length, out); // no state carried between calls
        QCOMPARE(QString::fromLatin1(out), md5);
        SHA256Hex(input.constData(), length, out);
        QCOMPARE(QString::fromLatin1(out), sha256);
    }

    // Work-table names come from the UTF-16LE bytes of the text.
    void textIsUtf16le() {
        const QString text = QStringLiteral("Пб");
        const char16_t raw[] = {u'П', u'б'};
        char out[65];
        MD5Hex(raw, sizeof raw, out);
        QCOMPARE(MD5HexOfText(text), QString::fromLatin1(out));
        SHA256Hex(raw, sizeof raw, out);
        QCOMPARE(SHA256HexOfText(text), QString::fromLatin1(out));
        QCOMPARE(MD5HexOfText(QStringLiteral("a")),
                 QStringLiteral("4144e195f46de78a3623da7364d04f11"));
    }
};

QTEST_APPLESS_MAIN(TestDigests)
#include "test_digests.moc"
