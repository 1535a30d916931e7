// The mapping file of the old-archive conversion: how its lines read, that a
// missing file is made, that -999 still counts as missing, and how the file
// is written back.
#include "exchange/oldarchive/dir_mapping_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestDirMappingFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void reading() {
        const QString path = m_dir.filePath(QStringLiteral("m1/dir3converter.txt"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("m1")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("6:Программа\t196608+5\r\n"
                   "5:Гепатит\t17\tремарка\n"
                   "\t42\r\n"
                   "5:Пусто\r\n"
                   "DG.7\t-999\r\n"
                   "DG.8\t12+x\r\n"
                   "DG.9\t-1\r\n");
        file.close();
        CDirMappingFile mapping;
        QString error;
        QVERIFY(mapping.Load(path, &error));
        int value = 0;
        QVERIFY(mapping.Lookup(QStringLiteral("6:Программа"), &value));
        QCOMPARE(value, 196613);
        QVERIFY(mapping.Lookup(QStringLiteral("5:Гепатит"), &value));
        QCOMPARE(value, 17);
        QVERIFY(mapping.Lookup(QStringLiteral("5:Пусто"), &value));
        QCOMPARE(value, 0);
        QVERIFY(mapping.Lookup(QStringLiteral("DG.8"), &value));
        QCOMPARE(value, 12);
        QVERIFY(mapping.Lookup(QStringLiteral("DG.9"), &value));
        QCOMPARE(value, -1);
        QVERIFY(!mapping.Lookup(QStringLiteral("DG.7"), &value)); // still to be filled in
        QVERIFY(!mapping.Lookup(QStringLiteral("DG.1"), &value));
        QCOMPARE(mapping.Entries().size(), 6);

        mapping.AddMissing(QStringLiteral("DG.7"));
        mapping.AddMissing(CDirMappingFile::DirectoryKey(1, QStringLiteral("\tНовое")));
        mapping.AddMissing(CDirMappingFile::DirectoryKey(6, QStringLiteral("Два\nслова")));
        QVERIFY(mapping.Save(&error));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()),
                 QStringLiteral("1: Новое\t-999\r\n5:Гепатит\t17\r\n5:Пусто\t0\r\n6:Два "
                                "слова\t-999\r\n6:Программа\t196613\r\nDG.7\t-999\r\nDG.8\t12\r\n"
                                "DG.9\t-1\r\n"));
    }

    // The file comes back from the user saved by any editor: each encoding
    // gives the same entries.
    void encodings_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("6:Программа\t196608+5\r\n5:Ёлка №1\t17\r\n");
        QByteArray utf16("\xFF\xFE");
        for (QChar c : text)
            utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
        QTest::newRow("UTF-16 with its mark") << utf16;
        QTest::newRow("UTF-8") << text.toUtf8();
        QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8();
        // "Программа", "Ёлка", "№" in code page 1251.
        QTest::newRow("code page 1251")
            << QByteArray("6:\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0\t196608+5\r\n"
                          "5:\xA8\xEB\xEA\xE0 \xB9"
                          "1\t17\r\n");
    }
    void encodings() {
        QFETCH(QByteArray, bytes);
        const QString path =
            m_dir.filePath(QStringLiteral("enc/%1.txt").arg(QTest::currentDataTag()));
        QDir().mkpath(m_dir.filePath(QStringLiteral("enc")));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        CDirMappingFile mapping;
        QString error;
        QVERIFY2(mapping.Load(path, &error), qPrintable(error));
        QCOMPARE(mapping.Entries().keys(),
                 (QStringList{QStringLiteral("5:Ёлка №1"), QStringLiteral("6:Программа")}));
        int value = 0;
        QVERIFY(mapping.Lookup(QStringLiteral("6:Программа"), &value));
        QCOMPARE(value, 196613);
        QVERIFY(mapping.Lookup(QStringLiteral("5:Ёлка №1"), &value));
        QCOMPARE(value, 17);
    }

    void missingFileIsMade() {
        const QString path = m_dir.filePath(QStringLiteral("new/folder/dir3converter.txt"));
        CDirMappingFile mapping;
        QString error;
        QVERIFY2(mapping.Load(path, &error), qPrintable(error));
        QVERIFY(QFile::exists(path));
        QVERIFY(mapping.Entries().isEmpty());
        QVERIFY(
            CDirMappingFile::DefaultPath().endsWith(QStringLiteral("/Kelda2/dir3converter.txt")));
        QVERIFY(!CDirMappingFile::DefaultPath().startsWith(QStringLiteral("dir3")));
    }
};

QTEST_GUILESS_MAIN(TestDirMappingFile)
#include "test_dir_mapping_file.moc"
