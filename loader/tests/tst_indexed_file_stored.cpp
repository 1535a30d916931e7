#include "archive_writer.h"
#include "indexed_file.h"

#include <QTemporaryDir>
#include <QTest>

#include <random>
#include <zlib.h>

// Parts written whole (their blocks compressed beforehand) read back like parts
// written through SeekToPart and Write.
class TestIndexedFileStored : public QObject {
    Q_OBJECT

    static QByteArray Noise(qsizetype size, unsigned seed) {
        std::mt19937 gen(seed);
        QByteArray b(size, '\0');
        for (qsizetype i = 0; i < size; ++i)
            b[i] = (i / 1000) % 2 ? char(gen()) : char('a' + i % 7);
        return b;
    }

    static QByteArray ReadPart(CIndexedFile& file, const std::string& name) {
        if (!file.SeekToPart(name))
            return "<missing>";
        QByteArray out(qsizetype(file.PartBytesLeft()), '\0');
        out.resize(qsizetype(file.ReadRaw(out.data(), size_t(out.size()))));
        return out;
    }

private slots:
    void storedPartsReadBack_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("level");
        QTest::newRow("empty") << 0 << -1;
        QTest::newRow("one byte") << 1 << 1;
        QTest::newRow("exactly one block") << CIndexedFile::kBlockSize << 6;
        QTest::newRow("many blocks, fast level") << 5 * CIndexedFile::kBlockSize + 17 << 1;
        QTest::newRow("many blocks, default level") << 200000 << -1;
    }

    void storedPartsReadBack() {
        QFETCH(int, size);
        QFETCH(int, level);
        QTemporaryDir dir;
        const std::string path = dir.filePath("a.bin").toStdString();
        const QByteArray raw = Noise(size, unsigned(size));
        {
            CIndexedFile file;
            QVERIFY(file.Open(path, CIndexedFile::modeCreate));
            std::vector<unsigned char> blocks;
            QVERIFY(
                CIndexedFile::CompressBlocks(raw.constData(), size_t(raw.size()), blocks, level));
            // Mixed with parts written the usual way, before and after.
            QVERIFY(file.SeekToPart("a", true));
            file.Write("first", 5);
            QVERIFY(file.WriteStoredPart("b", blocks.data(), blocks.size(), true));
            QVERIFY(file.WriteStoredPart("c", "plain", 5, false));
            QVERIFY(!file.WriteStoredPart("b", "again", 5, false)); // a name is stored once
            QVERIFY(file.SeekToPart("d", false));
            file.Write("last", 4);
            QVERIFY(file.Close());
        }
        CIndexedFile file;
        QVERIFY(file.Open(path, CIndexedFile::modeRead));
        QVERIFY(file.VerifyChecksum());
        QCOMPARE(file.Directory().at("b").bCompressed, 1);
        QCOMPARE(file.Directory().at("c").bCompressed, 0);
        QCOMPARE(ReadPart(file, "a"), QByteArray("first"));
        QCOMPARE(ReadPart(file, "b"), raw);
        QCOMPARE(ReadPart(file, "c"), QByteArray("plain"));
        QCOMPARE(ReadPart(file, "d"), QByteArray("last"));
    }

    // At zlib's default level the blocks are the ones the part writer makes.
    void sameBytesAsThePartWriter() {
        QTemporaryDir dir;
        const QByteArray raw = Noise(100000, 7);
        const QString usual = dir.filePath("usual.bin"), whole = dir.filePath("whole.bin");
        QVERIFY(WriteWithIndexedFile(usual, {{"p", raw, true}}));
        {
            CIndexedFile file;
            QVERIFY(file.Open(whole.toStdString(), CIndexedFile::modeCreate));
            std::vector<unsigned char> blocks;
            QVERIFY(CIndexedFile::CompressBlocks(raw.constData(), size_t(raw.size()), blocks, -1));
            QVERIFY(file.WriteStoredPart("p", blocks.data(), blocks.size(), true));
            QVERIFY(file.Close());
        }
        QCOMPARE(ReadBytes(whole), ReadBytes(usual));
    }

    // A part deflated elsewhere a piece of whole blocks at a time is byte for
    // byte the part the writer makes block by block; blocks are not appended
    // after raw bytes still waiting for their block, nor outside a compressed
    // part.
    void partInPiecesIsThePartWritersBytes() {
        QTemporaryDir dir;
        const QByteArray raw = Noise(7 * CIndexedFile::kBlockSize + 123, 5);
        const QString usual = dir.filePath("usual.bin"), pieces = dir.filePath("pieces.bin");
        QVERIFY(WriteWithIndexedFile(usual, {{"p", raw, true}, {"q", "tail", true}}));
        {
            CIndexedFile file;
            QVERIFY(file.Open(pieces.toStdString(), CIndexedFile::modeCreate));
            QVERIFY(!file.WriteBlocks("x", 1)); // no part yet
            QVERIFY(file.SeekToPart("p", true));
            const qsizetype piece = 3 * CIndexedFile::kBlockSize;
            for (qsizetype at = 0; at < raw.size(); at += piece) {
                const QByteArray part = raw.mid(at, piece);
                std::vector<unsigned char> blocks;
                QVERIFY(CIndexedFile::CompressBlocks(part.constData(), size_t(part.size()), blocks,
                                                     -1));
                QVERIFY(file.WriteBlocks(blocks.data(), blocks.size()));
            }
            QVERIFY(file.SeekToPart("q", true));
            file.Write("tail", 4);
            QVERIFY(!file.WriteBlocks("x", 1)); // raw bytes wait for their block
            QVERIFY(file.Close());
        }
        QCOMPARE(ReadBytes(pieces), ReadBytes(usual));
    }

    // One deflate stream serves every block, yet each block stays the
    // stand-alone zlib stream compress() makes, so packages and backups read
    // wherever the block format is read.
    void everyBlockIsWhatCompressMakes() {
        const QByteArray raw = Noise(4 * CIndexedFile::kBlockSize + 999, 11);
        std::vector<unsigned char> blocks;
        QVERIFY(CIndexedFile::CompressBlocks(raw.constData(), size_t(raw.size()), blocks, -1));
        size_t at = 0;
        qsizetype rawAt = 0;
        int count = 0;
        while (at < blocks.size()) {
            QVERIFY(at + 8 <= blocks.size());
            const auto le32 = [&](size_t p) {
                return uint32_t(blocks[p]) | uint32_t(blocks[p + 1]) << 8 |
                       uint32_t(blocks[p + 2]) << 16 | uint32_t(blocks[p + 3]) << 24;
            };
            const uint32_t rawLength = le32(at), packedLength = le32(at + 4);
            const QByteArray chunk = raw.mid(rawAt, qsizetype(rawLength));
            std::vector<unsigned char> expected(compressBound(uLong(rawLength)));
            uLongf expectedLength = uLongf(expected.size());
            QCOMPARE(compress(expected.data(), &expectedLength,
                              reinterpret_cast<const Bytef*>(chunk.constData()), uLong(rawLength)),
                     Z_OK);
            QCOMPARE(size_t(packedLength), size_t(expectedLength));
            QVERIFY(std::equal(expected.begin(), expected.begin() + expectedLength,
                               blocks.begin() + qsizetype(at + 8)));
            at += 8 + packedLength;
            rawAt += rawLength;
            ++count;
        }
        QCOMPARE(rawAt, raw.size());
        QCOMPARE(count, 5);
    }
};

QTEST_APPLESS_MAIN(TestIndexedFileStored)
#include "tst_indexed_file_stored.moc"
