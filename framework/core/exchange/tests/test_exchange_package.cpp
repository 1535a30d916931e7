// The exchange package file: what is written reads back (NULL apart from an
// empty text, any bytes), and a damaged, foreign, cut or newer file is refused
// with its reason before anything is handed over.
#include "framework/core/exchange/exchange_package.h"
#include "loader/tests/archive_writer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kManyRows = 150000;

const QList<CSQLExchangeColumn> kColumns = {{QStringLiteral("ROWID"), true},
                                            {QStringLiteral("cString"), false},
                                            {QStringLiteral("nCount"), true}};

CSQLExchangeAttributes Attributes() {
    return {{QStringLiteral("SCAppID"), QStringLiteral("kelda2")},
            {QStringLiteral("cOrgID"), QStringLiteral("ORG-A")},
            {QStringLiteral("PackageID"), QStringLiteral("p1")}};
}

// Writes `rows` generated rows into table "dir" and an empty table "towns".
bool WritePackage(const QString& path, int rows, QString* error) {
    CSQLExchangePackageWriter writer;
    if (!writer.Open(path, error) || !writer.BeginTable(QStringLiteral("dir"), kColumns, error))
        return false;
    for (int i = 0; i < rows; ++i)
        writer.WriteRow({QByteArray::number(i + 1),
                         i % 3 == 0   ? QByteArray()
                         : i % 3 == 1 ? QByteArray("", 0)
                                      : QStringLiteral("Шприц 'инсулиновый' №%1").arg(i).toUtf8(),
                         QByteArray::number(i * 7)});
    return writer.EndTable(error) &&
           writer.BeginTable(QStringLiteral("towns"), {{QStringLiteral("ROWID"), true}}, error) &&
           writer.EndTable(error) && writer.Finish(Attributes(), error);
}

} // namespace

class TestExchangePackage : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void roundTrip() {
        const QString path = Path("round.k2x");
        QString error;
        // Enough rows for several pieces of 32 KB blocks deflated on other
        // threads, more than are under way at once.
        QVERIFY2(WritePackage(path, kManyRows, &error), qPrintable(error));
        QVERIFY(!QFile::exists(path + QStringLiteral(".part")));

        CSQLExchangePackageReader reader;
        QVERIFY2(reader.Open(path, &error), qPrintable(error));
        QCOMPARE(reader.Version(), kExchangePackageVersion);
        QCOMPARE(reader.Attributes(), Attributes());
        QCOMPARE(reader.Tables().size(), 2);
        const CSQLExchangeTableInfo* dir = reader.FindTable(QStringLiteral("DIR"));
        QVERIFY(dir);
        QCOMPARE(dir->rows, kManyRows);
        QCOMPARE(dir->columns.size(), 3);
        QVERIFY(dir->columns[0].numeric && !dir->columns[1].numeric);

        QVERIFY(reader.BeginTable(QStringLiteral("dir"), &error));
        CSQLExchangeRow row;
        int n = 0;
        while (reader.ReadRow(row)) {
            QCOMPARE(row[0], QByteArray::number(n + 1));
            if (n % 3 == 0)
                QVERIFY(row[1].isNull());
            else if (n % 3 == 1)
                QVERIFY(!row[1].isNull() && row[1].isEmpty());
            else
                QCOMPARE(QString::fromUtf8(row[1]),
                         QStringLiteral("Шприц 'инсулиновый' №%1").arg(n));
            QCOMPARE(row[2], QByteArray::number(n * 7));
            ++n;
        }
        QCOMPARE(n, kManyRows);
        QVERIFY(reader.EndTable(&error));
        QVERIFY(reader.BeginTable(QStringLiteral("towns"), &error));
        QVERIFY(!reader.ReadRow(row));
        QVERIFY(reader.EndTable(&error));
    }

    void refused_data() {
        QTest::addColumn<int>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("byte changed in a table") << 1 << "поврежден";
        QTest::newRow("file cut short") << 2 << "не является пакетом";
        QTest::newRow("newer format") << 3 << "более новой версией";
        QTest::newRow("no such file") << 4 << "Не удалось открыть";
        QTest::newRow("another kind of file") << 5 << "не является пакетом";
        QTest::newRow("loader archive") << 6 << "не является пакетом";
    }

    // Every refusal happens in Open, so an importer never starts on such a file.
    void refused() {
        QFETCH(int, damage);
        QFETCH(QString, reason);
        const QString path = Path(QStringLiteral("bad%1.k2x").arg(damage));
        QString error;
        QVERIFY(WritePackage(path, 2000, &error));
        QByteArray bytes = ReadBytes(path);
        switch (damage) {
        case 1:
            bytes[bytes.size() / 2] = char(bytes[bytes.size() / 2] ^ 0x20);
            break;
        case 2:
            bytes.chop(300);
            break;
        case 3: // the version part is the first one written: its int at offset 0
            PutLE32(bytes, 0, kExchangePackageVersion + 1);
            FixChecksum(bytes);
            break;
        case 4:
            QFile::remove(path);
            break;
        case 5:
            bytes = QByteArray("<html>not a package</html>").repeated(20);
            break;
        case 6:
            bytes = BackupArchive(101, {});
            break;
        }
        if (damage != 4)
            QVERIFY(WriteBytes(path, bytes));
        CSQLExchangePackageReader reader;
        QVERIFY(!reader.Open(path, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(reader.Tables().isEmpty());
    }

    // A cancelled export leaves nothing behind, not even its partial file,
    // also while rows are still being deflated.
    void abandoned() {
        const QString path = Path("abandoned.k2x");
        {
            CSQLExchangePackageWriter writer;
            QString error;
            QVERIFY(writer.Open(path, &error));
            QVERIFY(writer.BeginTable(QStringLiteral("dir"), kColumns, &error));
            for (int i = 0; i < kManyRows; ++i)
                writer.WriteRow({QByteArray::number(i), "a", "2"});
        }
        QVERIFY(!QFile::exists(path));
        QVERIFY(!QFile::exists(path + QStringLiteral(".part")));
    }
};

QTEST_GUILESS_MAIN(TestExchangePackage)
#include "test_exchange_package.moc"
