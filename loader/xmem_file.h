#pragma once

#include "brennock_export.h"

#include <cstddef>
#include <cstdint>

// A file on a growable heap buffer: holds a compressed part while it is
// inflated for reading or gathered before it is deflated.
class BRENNOCK_EXPORT CXMemFile {
public:
    enum SeekFrom { begin = 0, current = 1, end = 2 };

    explicit CXMemFile(size_t growBytes = 1024);
    ~CXMemFile();
    CXMemFile(const CXMemFile&) = delete;
    CXMemFile& operator=(const CXMemFile&) = delete;

    uint64_t GetPosition() const { return m_position; }
    uint64_t GetLength() const { return m_fileSize; }
    // False (position unchanged) for a target before the start or past 32 bits.
    bool Seek(int64_t offset, int from);
    // Throws std::bad_alloc when the buffer cannot grow.
    void SetLength(uint64_t length);
    size_t Read(void* buffer, size_t count);
    void Write(const void* buffer, size_t count);
    void Flush() {}
    void Close();
    const unsigned char* GetBufferPtr() const { return m_buffer; }

private:
    void GrowFile(size_t needed);

    size_t m_growBytes;
    size_t m_position = 0;
    size_t m_bufferSize = 0;
    size_t m_fileSize = 0;
    unsigned char* m_buffer = nullptr;
};
