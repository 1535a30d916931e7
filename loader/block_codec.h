#pragma once
// One zlib stream per direction, kept for every block of a part: each block is
// still a complete zlib stream of its own (what compress() made, so every
// reader of the block format reads it), but the stream state and its buffers
// are reset between blocks instead of allocated and freed for each one.
#include <cstddef>
#include <memory>

class CBlockDeflater {
public:
    // level as zlib's (-1 its default).
    explicit CBlockDeflater(int level = -1);
    ~CBlockDeflater();
    CBlockDeflater(const CBlockDeflater&) = delete;
    CBlockDeflater& operator=(const CBlockDeflater&) = delete;

    // Deflates count bytes into out (room for outCapacity bytes, at least
    // Bound(count)); outLength receives the packed length.
    bool Deflate(const unsigned char* raw, size_t count, unsigned char* out, size_t outCapacity,
                 size_t& outLength);
    // The worst-case packed length of count bytes.
    size_t Bound(size_t count);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

class CBlockInflater {
public:
    CBlockInflater();
    ~CBlockInflater();
    CBlockInflater(const CBlockInflater&) = delete;
    CBlockInflater& operator=(const CBlockInflater&) = delete;

    // Inflates one whole block; true only when the packed bytes are exactly
    // one complete zlib stream giving exactly rawLength bytes.
    bool Inflate(const unsigned char* packed, size_t packedLength, unsigned char* raw,
                 size_t rawLength);

private:
    struct State;
    std::unique_ptr<State> m_state;
};
