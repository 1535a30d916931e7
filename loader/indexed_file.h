#pragma once

#include "block_codec.h"
#include "brennock_export.h"
#include "xmem_file.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

// The backup container "IndexedFile V.2.2": named parts, stored plain or as
// zlib blocks, then a name-sorted directory and a 128-byte trailer. A part is
// read like a small file of its own: every read is bounded to it.
//
// A compressed part streams one 32 KB block at a time in both directions, so
// memory stays the same however large the part grows: the writer deflates
// each block as soon as it is full, the reader checks every block when it
// positions on the part and then inflates them again one by one as it reads.
//
// Nothing here trusts the file: every length, count and offset is checked
// against what is left of the part or the file before it is used, and a
// failure is a return value (see LastError), never an out-of-bounds read.
class BRENNOCK_EXPORT CIndexedFile {
public:
    enum Mode { modeCreate = 0, modeRead = 1 };
    enum class Error {
        None,
        CannotOpen,   // the file cannot be opened or created
        BadTrailer,   // too short, wrong signature, record size or marker
        BadDirectory, // an entry runs past the directory or points outside the parts
        BadPart,      // a compressed part does not inflate to what its blocks announce
        Io,           // the disk failed while reading or writing
    };

    struct FILEPARTINFO {
        int64_t nOffset = 0; // file offset of the first stored byte
        int64_t nLength = 0; // stored bytes (the whole block sequence when compressed)
        int32_t bCompressed = 0;
    };

    static constexpr char kSignature[] = "IndexedFile V.2.2";
    static constexpr int kTrailerSize = 128;
    static constexpr int kPartInfoSize = 104;
    static constexpr int kMarker = 202;
    static constexpr int kBlockSize = 0x8000;

    CIndexedFile();
    ~CIndexedFile();
    CIndexedFile(const CIndexedFile&) = delete;
    CIndexedFile& operator=(const CIndexedFile&) = delete;

    // path is in the file system's encoding (UTF-8).
    bool Open(const std::string& path, int mode);
    // Read mode: makes a part current (checking every block when compressed).
    // Write mode: begins a new part, compressed when compressed is set.
    bool SeekToPart(const std::string& name, bool compressed = false);
    void EndPart();
    // Write mode: ends the part, writes directory and trailer. False on a disk error.
    bool Close();

    void Write(const void* bytes, size_t count);
    size_t Read(void* buffer, size_t count);

    void WriteText(const char* text);
    void WriteString(const std::string& text);
    void WriteInt(int32_t value);
    void WriteByte(uint8_t value);
    void WriteRaw(const void* bytes, size_t count);

    // 0 on a negative length or one that runs past the part, else length + 4.
    int ReadString(std::string& text);
    // Bytes consumed; the target changes only when the whole value was there.
    int ReadInt(int32_t& value);
    int ReadByte(uint8_t& value);
    size_t ReadRaw(void* buffer, size_t count);

    int SerializeString(std::string& text);
    int SerializeInt(int32_t& value);

    // Write mode: stores a whole part at once, so its bytes can be prepared
    // elsewhere (on another thread). compressed: the bytes are a block sequence
    // that CompressBlocks made; otherwise plain bytes. False when a part of that
    // name exists or the disk failed.
    bool WriteStoredPart(const std::string& name, const void* bytes, size_t count, bool compressed);
    // The stored form of a compressed part: blocks of at most kBlockSize raw
    // bytes, each its raw length, packed length and zlib data; level as zlib's
    // (-1 its default). Touches no file, so any thread may call it.
    static bool CompressBlocks(const void* raw, size_t count, std::vector<unsigned char>& out,
                               int level);
    // Write mode, inside a compressed part with no raw bytes waiting: appends
    // blocks that CompressBlocks made, so a part can be deflated elsewhere a
    // piece at a time. Every piece but the part's last must hold whole blocks
    // of kBlockSize raw bytes. False when nothing may be appended or the disk
    // failed.
    bool WriteBlocks(const void* blocks, size_t count);

    // Deflates a whole source into blocks at the current position, and
    // inflates the current part's blocks into a target.
    bool StoreCompressed(CXMemFile& source);
    bool LoadCompressed(CXMemFile& target);
    // Read mode: whether the trailer's checksum matches the parts and directory.
    bool VerifyChecksum();

    bool IsOpen() const { return m_file != nullptr; }
    Error LastError() const { return m_error; }
    // What ReadRaw can still deliver of the current part.
    uint64_t PartBytesLeft() const;
    const std::map<std::string, FILEPARTINFO>& Directory() const { return m_directory; }

    // The trailer's checksum: CRC-32 with the register starting at all ones and
    // no final inversion; feed blocks one after another starting from 0xFFFFFFFF.
    static uint32_t Checksum(const void* bytes, size_t count, uint32_t reg = 0xFFFFFFFFu);

private:
    bool ReadDirectory();
    bool DiskRead(void* buffer, size_t count);
    size_t DiskReadSome(void* buffer, size_t count);
    void DiskWrite(const void* bytes, size_t count);
    bool DiskSeek(int64_t offset);
    void CloseDisk();
    // Deflates bytes as one block onto the disk file.
    bool WriteBlock(const unsigned char* raw, size_t count);
    // Reads the next block header and its packed bytes and inflates them into
    // m_block; 0 at the part's end, -1 when the block is damaged.
    int ReadBlock();
    // The whole current part checked block by block; its inflated length.
    bool ScanCompressedPart(uint64_t& rawLength);

    std::FILE* m_file = nullptr;
    int m_mode = modeRead;
    Error m_error = Error::None;
    uint64_t m_fileLength = 0;
    uint64_t m_diskPos = 0;
    int64_t m_directoryOffset = 0;
    unsigned char m_trailer[kTrailerSize] = {};
    std::map<std::string, FILEPARTINFO> m_directory; // ordinal (byte-wise) name order
    std::string m_partName;
    bool m_hasPart = false;
    FILEPARTINFO* m_part = nullptr;
    bool m_compressed = false;
    // The block in hand of a compressed part: raw bytes waiting to be
    // deflated (writing), or the inflated block being read and how far.
    std::vector<unsigned char> m_block;
    size_t m_blockPos = 0;
    std::vector<unsigned char> m_packed;
    // Made at the first block and kept for every block after it.
    std::unique_ptr<CBlockDeflater> m_deflater;
    std::unique_ptr<CBlockInflater> m_inflater;
    uint64_t m_partRawLength = 0; // inflated length of the current compressed part
    uint64_t m_partRawRead = 0;
};
