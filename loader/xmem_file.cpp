#include "xmem_file.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
constexpr uint64_t kMaxLength = 0xFFFFFFFFu;
}

CXMemFile::CXMemFile(size_t growBytes) : m_growBytes(growBytes) {}

CXMemFile::~CXMemFile() {
    Close();
}

void CXMemFile::Close() {
    std::free(m_buffer);
    m_buffer = nullptr;
    m_position = m_bufferSize = m_fileSize = 0;
}

void CXMemFile::GrowFile(size_t needed) {
    if (needed <= m_bufferSize)
        return;
    if (m_growBytes == 0 || needed > kMaxLength)
        throw std::bad_alloc();
    size_t size = m_bufferSize ? m_bufferSize : m_growBytes;
    while (size < needed)
        size *= 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(m_buffer, size));
    if (!grown)
        throw std::bad_alloc();
    m_buffer = grown;
    m_bufferSize = size;
}

bool CXMemFile::Seek(int64_t offset, int from) {
    int64_t base;
    switch (from) {
    case begin:
        base = 0;
        break;
    case current:
        base = int64_t(m_position);
        break;
    case end:
        base = int64_t(m_fileSize);
        break;
    default:
        return true;
    }
    if ((offset < 0 && base + offset < 0) || (offset > 0 && uint64_t(base + offset) > kMaxLength))
        return false;
    m_position = size_t(base + offset);
    return true;
}

void CXMemFile::SetLength(uint64_t length) {
    if (length > kMaxLength)
        throw std::bad_alloc();
    GrowFile(size_t(length));
    if (length > m_fileSize)
        std::memset(m_buffer + m_fileSize, 0, size_t(length) - m_fileSize);
    m_fileSize = size_t(length);
    if (m_position > m_fileSize)
        m_position = m_fileSize;
}

size_t CXMemFile::Read(void* buffer, size_t count) {
    if (m_position >= m_fileSize || count == 0)
        return 0;
    const size_t n = count < m_fileSize - m_position ? count : m_fileSize - m_position;
    std::memcpy(buffer, m_buffer + m_position, n);
    m_position += n;
    return n;
}

void CXMemFile::Write(const void* buffer, size_t count) {
    if (count == 0)
        return;
    if (count > kMaxLength - m_position)
        throw std::bad_alloc();
    GrowFile(m_position + count);
    if (m_position > m_fileSize) // a seek past the end leaves no stale heap bytes behind
        std::memset(m_buffer + m_fileSize, 0, m_position - m_fileSize);
    std::memcpy(m_buffer + m_position, buffer, count);
    m_position += count;
    if (m_position > m_fileSize)
        m_fileSize = m_position;
}
