#include "indexed_file.h"

#include "framework/core/checksum.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kCompressBufferSize = 36056; // room for zlib's worst case on one block

int32_t LoadLE32(const unsigned char* p) {
    return int32_t(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 |
                   uint32_t(p[3]) << 24);
}

int64_t LoadLE64(const unsigned char* p) {
    return int64_t(uint64_t(uint32_t(LoadLE32(p))) | uint64_t(uint32_t(LoadLE32(p + 4))) << 32);
}

void StoreLE32(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = (unsigned char)(v >> (8 * i));
}

void StoreLE64(unsigned char* p, uint64_t v) {
    StoreLE32(p, uint32_t(v));
    StoreLE32(p + 4, uint32_t(v >> 32));
}

} // namespace

CIndexedFile::CIndexedFile() = default;

CIndexedFile::~CIndexedFile() {
    Close();
}

uint32_t CIndexedFile::Checksum(const void* bytes, size_t count, uint32_t reg) {
    return CalcCrc(bytes, count, reg);
}

// --- disk file -------------------------------------------------------------

bool CIndexedFile::DiskSeek(int64_t offset) {
    if (offset < 0 || fseeko(m_file, off_t(offset), SEEK_SET) != 0) {
        m_error = Error::Io;
        return false;
    }
    m_diskPos = uint64_t(offset);
    return true;
}

size_t CIndexedFile::DiskReadSome(void* buffer, size_t count) {
    const size_t n = std::fread(buffer, 1, count, m_file);
    if (n < count && std::ferror(m_file))
        m_error = Error::Io;
    m_diskPos += n;
    return n;
}

bool CIndexedFile::DiskRead(void* buffer, size_t count) {
    if (DiskReadSome(buffer, count) == count)
        return true;
    if (m_error == Error::None)
        m_error = Error::Io;
    return false;
}

void CIndexedFile::DiskWrite(const void* bytes, size_t count) {
    const size_t n = std::fwrite(bytes, 1, count, m_file);
    if (n != count)
        m_error = Error::Io;
    m_diskPos += n;
}

void CIndexedFile::CloseDisk() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_compressed = false;
    m_block.clear();
    m_blockPos = 0;
    m_partRawLength = m_partRawRead = 0;
    m_hasPart = false;
    m_part = nullptr;
    m_partName.clear();
}

// --- opening and closing -----------------------------------------------------

bool CIndexedFile::Open(const std::string& path, int mode) {
    if (m_file)
        Close();
    if (mode != modeRead && mode != modeCreate)
        return false;
    m_error = Error::None;
    m_directory.clear();
    std::memset(m_trailer, 0, sizeof m_trailer);
    m_mode = mode;
    m_diskPos = 0;
    m_fileLength = 0;
    m_directoryOffset = 0;

    m_file = std::fopen(path.c_str(), mode == modeRead ? "rb" : "w+b");
    if (!m_file) {
        m_error = Error::CannotOpen;
        return false;
    }
    std::setvbuf(m_file, nullptr, _IOFBF, 1 << 16);
    if (mode == modeCreate)
        return true;

    if (fseeko(m_file, 0, SEEK_END) != 0) {
        m_error = Error::Io;
        CloseDisk();
        return false;
    }
    const off_t length = ftello(m_file);
    if (length < kTrailerSize) {
        m_error = length < 0 ? Error::Io : Error::BadTrailer;
        CloseDisk();
        return false;
    }
    m_fileLength = uint64_t(length);
    if (!DiskSeek(int64_t(m_fileLength) - kTrailerSize) || !DiskRead(m_trailer, kTrailerSize)) {
        CloseDisk();
        return false;
    }
    if (std::memcmp(m_trailer, kSignature, sizeof kSignature) != 0 ||
        LoadLE32(m_trailer + 32) != kPartInfoSize || LoadLE32(m_trailer + 56) != kMarker) {
        m_error = Error::BadTrailer;
        CloseDisk();
        return false;
    }
    if (!ReadDirectory()) {
        if (m_error == Error::None)
            m_error = Error::BadDirectory;
        m_directory.clear();
        CloseDisk();
        return false;
    }
    return true;
}

bool CIndexedFile::ReadDirectory() {
    const int64_t end = int64_t(m_fileLength) - kTrailerSize;
    const int64_t dirOffset = LoadLE64(m_trailer + 40);
    const int32_t count = LoadLE32(m_trailer + 48);
    constexpr int64_t kSmallestEntry = 4 + kPartInfoSize;
    if (dirOffset < 0 || dirOffset > end || count < 0 || count > (end - dirOffset) / kSmallestEntry)
        return false;
    if (!DiskSeek(dirOffset))
        return false;
    int64_t left = end - dirOffset;
    std::string name;
    unsigned char record[kPartInfoSize];
    for (int32_t i = 0; i < count; ++i) {
        unsigned char lengthBytes[4];
        if (left < kSmallestEntry || !DiskRead(lengthBytes, 4))
            return false;
        const int32_t nameLength = LoadLE32(lengthBytes);
        left -= 4;
        if (nameLength < 0 || nameLength > left - kPartInfoSize)
            return false;
        name.resize(size_t(nameLength));
        if (!DiskRead(name.data(), name.size()) || !DiskRead(record, kPartInfoSize))
            return false;
        left -= nameLength + kPartInfoSize;

        FILEPARTINFO info;
        info.nOffset = LoadLE64(record + 8);
        info.nLength = LoadLE64(record + 16);
        info.bCompressed = LoadLE32(record + 24);
        // Parts lie before the directory; anything else points into it or off the file.
        if (info.nOffset < 0 || info.nLength < 0 || info.nOffset > dirOffset ||
            info.nLength > dirOffset - info.nOffset)
            return false;
        m_directory[name] = info;
    }
    m_directoryOffset = dirOffset;
    return true;
}

bool CIndexedFile::Close() {
    if (!m_file)
        return true;
    if (m_mode == modeRead) {
        CloseDisk();
        return true;
    }

    EndPart();
    m_compressed = false;
    std::memset(m_trailer, 0, sizeof m_trailer);
    const uint64_t dirOffset = m_diskPos;
    unsigned char record[kPartInfoSize];
    for (const auto& [name, info] : m_directory) {
        WriteString(name);
        std::memset(record, 0, sizeof record);
        StoreLE64(record + 8, uint64_t(info.nOffset));
        StoreLE64(record + 16, uint64_t(info.nLength));
        StoreLE32(record + 24, uint32_t(info.bCompressed));
        DiskWrite(record, sizeof record);
    }
    const uint64_t end = m_diskPos;

    uint32_t checksum = 0xFFFFFFFFu;
    if (std::fflush(m_file) != 0 || !DiskSeek(0)) {
        checksum = 0xFFFFFFFFu;
    } else {
        std::vector<unsigned char> block(kBlockSize);
        size_t n;
        while ((n = std::fread(block.data(), 1, block.size(), m_file)) > 0)
            checksum = Checksum(block.data(), n, checksum);
        if (std::ferror(m_file))
            checksum = 0xFFFFFFFFu;
    }

    StoreLE32(m_trailer + 32, kPartInfoSize);
    StoreLE64(m_trailer + 40, dirOffset);
    StoreLE32(m_trailer + 48, uint32_t(m_directory.size()));
    StoreLE32(m_trailer + 52, checksum);
    StoreLE32(m_trailer + 56, kMarker);
    std::memcpy(m_trailer, kSignature, sizeof kSignature);
    if (DiskSeek(int64_t(end)))
        DiskWrite(m_trailer, kTrailerSize);
    if (std::fclose(m_file) != 0)
        m_error = Error::Io;
    m_file = nullptr;
    CloseDisk();
    return m_error == Error::None;
}

// --- parts -------------------------------------------------------------------

bool CIndexedFile::SeekToPart(const std::string& name, bool compressed) {
    if (!m_file)
        return false;
    if (m_hasPart && name == m_partName)
        return true;

    if (m_mode == modeCreate) {
        if (m_directory.count(name))
            return false;
        EndPart();
        m_block.clear();
        if (compressed)
            m_block.reserve(kBlockSize);
        FILEPARTINFO& info = m_directory[name];
        info = FILEPARTINFO();
        info.nOffset = int64_t(m_diskPos);
        m_part = &info;
        m_partName = name;
        m_hasPart = true;
        m_compressed = compressed;
        return true;
    }

    const auto it = m_directory.find(name);
    if (it == m_directory.end())
        return false;
    m_error = Error::None;
    m_compressed = false;
    m_block.clear();
    m_blockPos = 0;
    m_partRawLength = m_partRawRead = 0;
    m_part = &it->second;
    m_partName = name;
    m_hasPart = true;
    bool ok = DiskSeek(m_part->nOffset);
    if (ok && m_part->bCompressed) {
        // Every block is checked now, so a damaged part is refused before the
        // caller reads a byte of it; reading then inflates the blocks again.
        uint64_t rawLength = 0;
        ok = ScanCompressedPart(rawLength) && DiskSeek(m_part->nOffset);
        if (ok) {
            m_partRawLength = rawLength;
            m_compressed = true;
        }
        if (!ok && m_error == Error::None)
            m_error = Error::BadPart;
    }
    if (!ok) {
        m_compressed = false;
        m_hasPart = false;
        m_part = nullptr;
        m_partName.clear();
    }
    return ok;
}

void CIndexedFile::EndPart() {
    if (m_mode != modeCreate || !m_hasPart || !m_file)
        return;
    if (m_compressed) {
        m_part->bCompressed = 1;
        if (!m_block.empty() && !WriteBlock(m_block.data(), m_block.size()))
            m_error = Error::Io;
        m_block.clear();
    } else {
        m_part->bCompressed = 0;
    }
    m_compressed = false;
    m_part->nLength = int64_t(m_diskPos) - m_part->nOffset;
    m_hasPart = false;
    m_part = nullptr;
    m_partName.clear();
}

uint64_t CIndexedFile::PartBytesLeft() const {
    if (!m_file)
        return 0;
    if (m_compressed)
        return m_partRawLength - m_partRawRead;
    if (!m_hasPart)
        return m_fileLength > m_diskPos ? m_fileLength - m_diskPos : 0;
    const uint64_t end = uint64_t(m_part->nOffset) + uint64_t(m_part->nLength);
    return end > m_diskPos ? end - m_diskPos : 0;
}

// --- raw transfer --------------------------------------------------------------

void CIndexedFile::Write(const void* bytes, size_t count) {
    if (!m_file || m_mode != modeCreate || count == 0)
        return;
    if (!m_compressed) {
        DiskWrite(bytes, count);
        return;
    }
    const auto* p = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        const size_t n = std::min(count, size_t(kBlockSize) - m_block.size());
        m_block.insert(m_block.end(), p, p + n);
        p += n;
        count -= n;
        if (m_block.size() == size_t(kBlockSize)) {
            if (!WriteBlock(m_block.data(), m_block.size()))
                m_error = Error::Io;
            m_block.clear();
        }
    }
}

size_t CIndexedFile::Read(void* buffer, size_t count) {
    if (!m_file || count == 0)
        return 0;
    if (!m_compressed)
        return DiskReadSome(buffer, count);
    auto* p = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        if (m_blockPos == m_block.size()) {
            const int got = ReadBlock();
            if (got <= 0) {
                if (got < 0 && m_error == Error::None)
                    m_error = Error::BadPart;
                break;
            }
        }
        const size_t n = std::min(count - done, m_block.size() - m_blockPos);
        std::memcpy(p + done, m_block.data() + m_blockPos, n);
        m_blockPos += n;
        done += n;
    }
    m_partRawRead += done;
    return done;
}

void CIndexedFile::WriteRaw(const void* bytes, size_t count) {
    if (m_mode == modeCreate)
        Write(bytes, count);
}

size_t CIndexedFile::ReadRaw(void* buffer, size_t count) {
    if (m_mode != modeRead || !m_file)
        return 0;
    if (m_hasPart)
        count = size_t(std::min<uint64_t>(count, PartBytesLeft()));
    return Read(buffer, count);
}

// --- scalars and strings ------------------------------------------------------

void CIndexedFile::WriteInt(int32_t value) {
    unsigned char bytes[4];
    StoreLE32(bytes, uint32_t(value));
    Write(bytes, 4);
}

void CIndexedFile::WriteByte(uint8_t value) {
    Write(&value, 1);
}

void CIndexedFile::WriteString(const std::string& text) {
    WriteInt(int32_t(text.size()));
    Write(text.data(), text.size());
}

void CIndexedFile::WriteText(const char* text) {
    WriteString(text ? std::string(text) : std::string());
}

int CIndexedFile::ReadInt(int32_t& value) {
    unsigned char bytes[4];
    const size_t n = ReadRaw(bytes, 4);
    if (n == 4)
        value = LoadLE32(bytes);
    return int(n);
}

int CIndexedFile::ReadByte(uint8_t& value) {
    uint8_t byte;
    const size_t n = ReadRaw(&byte, 1);
    if (n == 1)
        value = byte;
    return int(n);
}

int CIndexedFile::ReadString(std::string& text) {
    int32_t length = 0;
    if (ReadInt(length) != 4 || length < 0 || uint64_t(length) > PartBytesLeft() ||
        length > 0x7FFFFFFF - 4)
        return 0;
    text.resize(size_t(length));
    if (ReadRaw(text.data(), size_t(length)) != size_t(length))
        return 0;
    return length + 4;
}

int CIndexedFile::SerializeString(std::string& text) {
    if (m_mode == modeRead)
        return ReadString(text);
    WriteString(text);
    return int(text.size()) + 4;
}

int CIndexedFile::SerializeInt(int32_t& value) {
    if (m_mode == modeRead)
        return ReadInt(value);
    WriteInt(value);
    return 4;
}

// --- compression -----------------------------------------------------------------

bool CIndexedFile::WriteBlock(const unsigned char* raw, size_t count) {
    if (!m_deflater)
        m_deflater = std::make_unique<CBlockDeflater>();
    if (m_packed.size() < kCompressBufferSize)
        m_packed.resize(kCompressBufferSize);
    size_t packedLength = 0;
    if (!m_deflater->Deflate(raw, count, m_packed.data(), m_packed.size(), packedLength))
        return false;
    const bool saved = m_compressed;
    m_compressed = false; // block headers and bytes go to the disk file
    WriteInt(int32_t(count));
    WriteInt(int32_t(packedLength));
    Write(m_packed.data(), packedLength);
    m_compressed = saved;
    return m_error == Error::None;
}

int CIndexedFile::ReadBlock() {
    const bool saved = m_compressed;
    m_compressed = false; // headers and packed bytes come from the disk file
    int result = 1;
    int32_t rawLength = 0, packedLength = 0;
    const int n = ReadInt(rawLength);
    // The writer never makes a block larger than kBlockSize, and the packed
    // bytes must still be in the part: nothing is allocated on a bare claim.
    if (n == 0) {
        result = 0;
    } else if (n != 4 || rawLength <= 0 || rawLength > kBlockSize || ReadInt(packedLength) != 4 ||
               packedLength <= 0 || uint64_t(packedLength) > PartBytesLeft()) {
        result = -1;
    } else {
        if (m_packed.size() < size_t(packedLength))
            m_packed.resize(size_t(packedLength));
        m_block.resize(size_t(rawLength));
        if (!m_inflater)
            m_inflater = std::make_unique<CBlockInflater>();
        if (ReadRaw(m_packed.data(), size_t(packedLength)) != size_t(packedLength) ||
            !m_inflater->Inflate(m_packed.data(), size_t(packedLength), m_block.data(),
                                 size_t(rawLength)))
            result = -1;
    }
    if (result <= 0)
        m_block.clear();
    m_blockPos = 0;
    m_compressed = saved;
    return result;
}

bool CIndexedFile::ScanCompressedPart(uint64_t& rawLength) {
    rawLength = 0;
    for (;;) {
        const int got = ReadBlock();
        if (got < 0)
            return false;
        if (got == 0)
            break;
        rawLength += m_block.size();
    }
    m_block.clear();
    m_blockPos = 0;
    return true;
}

bool CIndexedFile::StoreCompressed(CXMemFile& source) {
    std::vector<unsigned char> raw(kBlockSize);
    for (;;) {
        const size_t n = source.Read(raw.data(), raw.size());
        if (n == 0)
            return true;
        if (!WriteBlock(raw.data(), n))
            return false;
    }
}

bool CIndexedFile::CompressBlocks(const void* raw, size_t count, std::vector<unsigned char>& out,
                                  int level) {
    out.clear();
    const auto* p = static_cast<const unsigned char*>(raw);
    std::vector<unsigned char> packed(kCompressBufferSize);
    CBlockDeflater deflater(level);
    out.reserve(deflater.Bound(count) + (count / kBlockSize + 1) * 8);
    while (count > 0) {
        const size_t n = std::min<size_t>(count, kBlockSize);
        size_t packedLength = 0;
        if (!deflater.Deflate(p, n, packed.data(), packed.size(), packedLength))
            return false;
        unsigned char lengths[8];
        StoreLE32(lengths, uint32_t(n));
        StoreLE32(lengths + 4, uint32_t(packedLength));
        out.insert(out.end(), lengths, lengths + 8);
        out.insert(out.end(), packed.data(), packed.data() + packedLength);
        p += n;
        count -= n;
    }
    return true;
}

bool CIndexedFile::WriteBlocks(const void* blocks, size_t count) {
    if (!m_file || m_mode != modeCreate || !m_hasPart || !m_compressed || !m_block.empty())
        return false;
    DiskWrite(blocks, count);
    return m_error == Error::None;
}

bool CIndexedFile::WriteStoredPart(const std::string& name, const void* bytes, size_t count,
                                   bool compressed) {
    if (!m_file || m_mode != modeCreate || m_directory.count(name) || !SeekToPart(name, false))
        return false;
    DiskWrite(bytes, count);
    m_part->bCompressed = compressed ? 1 : 0;
    m_part->nLength = int64_t(m_diskPos) - m_part->nOffset;
    m_hasPart = false;
    m_part = nullptr;
    m_partName.clear();
    return m_error == Error::None;
}

bool CIndexedFile::LoadCompressed(CXMemFile& target) {
    for (;;) {
        const int got = ReadBlock();
        if (got <= 0) {
            m_block.clear();
            return got == 0;
        }
        target.Write(m_block.data(), m_block.size());
    }
}

bool CIndexedFile::VerifyChecksum() {
    if (!m_file || m_mode != modeRead)
        return false;
    const uint64_t savedPos = m_diskPos;
    uint64_t remaining = m_fileLength - kTrailerSize;
    if (!DiskSeek(0))
        return false;
    std::vector<unsigned char> block(kBlockSize);
    uint32_t reg = 0xFFFFFFFFu;
    bool ok = true;
    while (remaining > 0) {
        const size_t n =
            DiskReadSome(block.data(), size_t(std::min<uint64_t>(remaining, kBlockSize)));
        if (n == 0) {
            ok = false;
            break;
        }
        reg = Checksum(block.data(), n, reg);
        remaining -= n;
    }
    DiskSeek(int64_t(savedPos));
    return ok && reg == uint32_t(LoadLE32(m_trailer + 52));
}
