#include "archive_writer.h"
#include "indexed_file.h"

#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <random>

using Mutation = std::function<void(QByteArray&, const ArchiveLayout&)>;
Q_DECLARE_METATYPE(Mutation)
Q_DECLARE_METATYPE(CIndexedFile::Error)

namespace {

QByteArray Noise(qsizetype size, unsigned seed) {
    // Half random, half repetitive: blocks that compress and blocks that do not.
    std::mt19937 gen(seed);
    QByteArray b(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        b[i] = (i / 1000) % 2 ? char(gen()) : char('a' + i % 7);
    return b;
}

QByteArray ReadWholePart(CIndexedFile& file) {
    QByteArray out;
    char buffer[5000];
    size_t n;
    while ((n = file.ReadRaw(buffer, sizeof buffer)) > 0)
        out.append(buffer, qsizetype(n));
    return out;
}

int CountBlocks(const QByteArray& archive, qint64 offset, qint64 length) {
    int blocks = 0;
    for (qint64 at = offset; at < offset + length; ++blocks)
        at += 8 + GetLE32(archive, at + 4);
    return blocks;
}

} // namespace

class TestIndexedFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString Path(const QString& name) const { return m_dir.filePath(name); }

private slots:
    void checksum() {
        QCOMPARE(CIndexedFile::Checksum("abc", 3), 0xCADBBE3Du);
        QCOMPARE(HandChecksum("abc"), 0xCADBBE3Du);
        const QByteArray data = Noise(70000, 1);
        const uint32_t chained = CIndexedFile::Checksum(
            data.constData() + 40000, 30000, CIndexedFile::Checksum(data.constData(), 40000));
        QCOMPARE(chained, HandChecksum(data));
    }

    void roundTrip_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("compressed");
        QTest::addColumn<int>("blocks");
        for (bool compressed : {false, true})
            for (int size : {0, 1, 32767, 32768, 32769, 100000}) {
                const int blocks = compressed ? (size + 0x7FFF) / 0x8000 : 0;
                QTest::addRow("%s %d", compressed ? "compressed" : "plain", size)
                    << size << compressed << blocks;
            }
    }

    // The writer's file equals the hand-built one byte for byte, and both read back.
    void roundTrip() {
        QFETCH(int, size);
        QFETCH(bool, compressed);
        QFETCH(int, blocks);
        const QByteArray content = Noise(size, unsigned(size));
        const QList<TestPart> parts = {{"data", content, compressed},
                                       {"after", "tail", compressed}};
        ArchiveLayout layout;
        const QByteArray expected = HandBuiltArchive(parts, &layout);
        if (compressed)
            QCOMPARE(CountBlocks(expected, layout.partOffsets["data"], layout.partLengths["data"]),
                     blocks);

        const QString written = Path("written.bkz");
        QVERIFY(WriteWithIndexedFile(written, parts));
        QCOMPARE(ReadBytes(written), expected);

        const QString handMade = Path("hand.bkz");
        QVERIFY(WriteBytes(handMade, expected));
        CIndexedFile file;
        QVERIFY(file.Open(handMade.toStdString(), CIndexedFile::modeRead));
        QVERIFY(file.VerifyChecksum());
        QVERIFY(file.SeekToPart("data"));
        QCOMPARE(ReadWholePart(file), content);
        QVERIFY(file.SeekToPart("after"));
        QCOMPARE(ReadWholePart(file), QByteArray("tail"));
        QVERIFY(file.SeekToPart("data")); // parts can be visited again
        QCOMPARE(ReadWholePart(file).size(), content.size());
    }

    // Stored bytes keep the order of writing; the directory is sorted by name.
    void layoutOfWrittenFile() {
        const QString path = Path("layout.bkz");
        {
            CIndexedFile file;
            QVERIFY(file.Open(path.toStdString(), CIndexedFile::modeCreate));
            for (const char* name : {"b", "a", "c"}) {
                QVERIFY(file.SeekToPart(name));
                file.WriteText(name);
            }
            QVERIFY(!file.SeekToPart("a")); // a name occurs once
            QVERIFY(file.Close());
        }
        const QByteArray bytes = ReadBytes(path);
        QCOMPARE(bytes.left(15), String8("b") + String8("a") + String8("c"));
        const qint64 trailer = bytes.size() - 128;
        QCOMPARE(bytes.mid(trailer, 18), QByteArray("IndexedFile V.2.2\0", 18));
        QCOMPARE(bytes.mid(trailer + 18, 14), QByteArray(14, '\0'));
        QCOMPARE(GetLE32(bytes, trailer + 32), 104u);
        QCOMPARE(GetLE64(bytes, trailer + 40), 15u);
        QCOMPARE(GetLE32(bytes, trailer + 48), 3u);
        QCOMPARE(GetLE32(bytes, trailer + 52), HandChecksum(bytes.left(trailer)));
        QCOMPARE(GetLE32(bytes, trailer + 56), 202u);
        qint64 at = 15;
        const QList<QPair<QByteArray, int>> expected = {{"a", 5}, {"b", 0}, {"c", 10}};
        for (const auto& [name, offset] : expected) {
            QCOMPARE(bytes.mid(at, 5), String8(name));
            QCOMPARE(GetLE64(bytes, at + 5), 0u);
            QCOMPARE(GetLE64(bytes, at + 5 + 8), quint64(offset));
            QCOMPARE(GetLE64(bytes, at + 5 + 16), 5u);
            QCOMPARE(GetLE32(bytes, at + 5 + 24), 0u);
            QCOMPARE(bytes.mid(at + 5 + 28, 76), QByteArray(76, '\0'));
            at += 5 + 104;
        }
        QCOMPARE(at, trailer);
    }

    void readsStayInsideTheirPart() {
        const QString path = Path("bounds.bkz");
        QVERIFY(WriteBytes(path, HandBuiltArchive({{"a", "\x01\x02", false},
                                                   {"b", Int32(7) + String8("xyz"), false},
                                                   {"s", Int32(1000) + "short", true}})));
        CIndexedFile file;
        QVERIFY(file.Open(path.toStdString(), CIndexedFile::modeRead));
        QVERIFY(!file.SeekToPart("missing"));
        QVERIFY(file.LastError() == CIndexedFile::Error::None);

        QVERIFY(file.SeekToPart("a"));
        int32_t value = -5;
        QCOMPARE(file.ReadInt(value), 2); // cut at the end of the part
        QCOMPARE(value, -5);
        QCOMPARE(file.ReadInt(value), 0);

        QVERIFY(file.SeekToPart("b"));
        QCOMPARE(file.ReadInt(value), 4);
        QCOMPARE(value, 7);
        QVERIFY(file.SeekToPart("b")); // the current part is not rewound
        std::string text;
        QCOMPARE(file.ReadString(text), 7);
        QCOMPARE(text, std::string("xyz"));

        QVERIFY(file.SeekToPart("s"));
        QCOMPARE(file.ReadString(text), 0); // the length runs past the part
    }

    void emptyArchive() {
        const QString path = Path("empty.bkz");
        QVERIFY(WriteWithIndexedFile(path, {}));
        QCOMPARE(ReadBytes(path).size(), 128);
        CIndexedFile file;
        QVERIFY(file.Open(path.toStdString(), CIndexedFile::modeRead));
        QVERIFY(file.VerifyChecksum());
        QVERIFY(!file.SeekToPart("Backup"));
    }

    void malformed_data() {
        QTest::addColumn<Mutation>("mutate");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<CIndexedFile::Error>("error");
        using E = CIndexedFile::Error;
        const auto trailer = [](const QByteArray& a) { return a.size() - 128; };

        QTest::newRow("no file at all")
            << Mutation([](QByteArray& a, auto&) { a.clear(); }) << false << E::BadTrailer;
        QTest::newRow("truncated trailer")
            << Mutation([](QByteArray& a, auto&) { a.chop(a.size() - 127); }) << false
            << E::BadTrailer;
        QTest::newRow("trailer cut off the end")
            << Mutation([](QByteArray& a, auto&) { a.chop(1); }) << false << E::BadTrailer;
        QTest::newRow("wrong signature")
            << Mutation([=](QByteArray& a, auto&) { a[trailer(a) + 12] = '3'; }) << false
            << E::BadTrailer;
        QTest::newRow("wrong record size")
            << Mutation([=](QByteArray& a, auto&) { PutLE32(a, trailer(a) + 32, 105); }) << false
            << E::BadTrailer;
        QTest::newRow("wrong marker")
            << Mutation([=](QByteArray& a, auto&) { PutLE32(a, trailer(a) + 56, 201); }) << false
            << E::BadTrailer;
        QTest::newRow("directory past the end") << Mutation([=](QByteArray& a, auto&) {
            PutLE64(a, trailer(a) + 40, quint64(a.size()));
        }) << false << E::BadDirectory;
        QTest::newRow("negative directory offset")
            << Mutation([=](QByteArray& a, auto&) { PutLE64(a, trailer(a) + 40, ~0ull); }) << false
            << E::BadDirectory;
        QTest::newRow("too many parts")
            << Mutation([=](QByteArray& a, auto&) { PutLE32(a, trailer(a) + 48, 3); }) << false
            << E::BadDirectory;
        QTest::newRow("huge part count")
            << Mutation([=](QByteArray& a, auto&) { PutLE32(a, trailer(a) + 48, 0x7FFFFFFF); })
            << false << E::BadDirectory;
        QTest::newRow("negative part count")
            << Mutation([=](QByteArray& a, auto&) { PutLE32(a, trailer(a) + 48, 0xFFFFFFFF); })
            << false << E::BadDirectory;
        QTest::newRow("name past the directory")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE32(a, l.entryOffsets["z"], 1000);
               })
            << false << E::BadDirectory;
        QTest::newRow("negative name length")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE32(a, l.entryOffsets["a"], ~0u);
               })
            << false << E::BadDirectory;
        QTest::newRow("part starts in the directory")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE64(a, l.entryOffsets["a"] + 5 + 8, quint64(l.directoryOffset + 1));
               })
            << false << E::BadDirectory;
        QTest::newRow("part runs into the directory")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE64(a, l.entryOffsets["a"] + 5 + 16, quint64(l.directoryOffset + 1));
               })
            << false << E::BadDirectory;
        QTest::newRow("negative part length")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE64(a, l.entryOffsets["a"] + 5 + 16, ~0ull);
               })
            << false << E::BadDirectory;
        QTest::newRow("corrupt zlib data") << Mutation([](QByteArray& a, const ArchiveLayout& l) {
            a[l.partOffsets["z"] + 8 + 20] ^= 0x55;
        }) << true << E::BadPart;
        QTest::newRow("raw length larger than a block")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE32(a, l.partOffsets["z"], 0x8001);
               })
            << true << E::BadPart;
        QTest::newRow("raw length disagrees with the data")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE32(a, l.partOffsets["z"], GetLE32(a, l.partOffsets["z"]) - 1);
               })
            << true << E::BadPart;
        QTest::newRow("packed length past the part")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   PutLE32(a, l.partOffsets["z"] + 4, 1 << 30);
               })
            << true << E::BadPart;
        QTest::newRow("block header cut by the part end")
            << Mutation([](QByteArray& a, const ArchiveLayout& l) {
                   // two bytes into the second block's header
                   const quint32 packed = GetLE32(a, l.partOffsets["z"] + 4);
                   PutLE64(a, l.entryOffsets["z"] + 5 + 16, 8 + packed + 2);
               })
            << true << E::BadPart;
    }

    // Every damaged archive gives its error; none crashes or reads outside the file.
    void malformed() {
        QFETCH(Mutation, mutate);
        QFETCH(bool, opens);
        QFETCH(CIndexedFile::Error, error);
        ArchiveLayout layout;
        QByteArray archive = HandBuiltArchive(
            {{"a", Int32(5) + "plain", false}, {"z", Noise(40000, 3), true}}, &layout);
        mutate(archive, layout);
        const QString path = Path("bad.bkz");
        QVERIFY(WriteBytes(path, archive));
        CIndexedFile file;
        QCOMPARE(file.Open(path.toStdString(), CIndexedFile::modeRead), opens);
        if (opens) {
            QVERIFY(!file.SeekToPart("z"));
            QVERIFY(file.SeekToPart("a")); // the sound part still reads
            int32_t v = 0;
            QCOMPARE(file.ReadInt(v), 4);
            QCOMPARE(v, 5);
            QVERIFY(!file.SeekToPart("z"));
        }
        QCOMPARE(file.LastError(), error);
    }

    // A changed byte inside a part is no reason to refuse opening; only the checksum tells.
    void changedByteShowsInChecksum() {
        ArchiveLayout layout;
        QByteArray archive = HandBuiltArchive({{"a", "plain text", false}}, &layout);
        archive[2] = 'X';
        const QString path = Path("changed.bkz");
        QVERIFY(WriteBytes(path, archive));
        CIndexedFile file;
        QVERIFY(file.Open(path.toStdString(), CIndexedFile::modeRead));
        QVERIFY(file.SeekToPart("a"));
        QVERIFY(!file.VerifyChecksum());
        QCOMPARE(ReadWholePart(file), QByteArray("plXin text")); // position kept across the check
    }
};

QTEST_GUILESS_MAIN(TestIndexedFile)
#include "tst_indexed_file.moc"
