#include "block_codec.h"

#include <zlib.h>

struct CBlockDeflater::State {
    z_stream stream{};
    bool ready = false;
};

CBlockDeflater::CBlockDeflater(int level) : m_state(std::make_unique<State>()) {
    m_state->ready = deflateInit(&m_state->stream, level) == Z_OK;
}

CBlockDeflater::~CBlockDeflater() {
    if (m_state->ready)
        deflateEnd(&m_state->stream);
}

size_t CBlockDeflater::Bound(size_t count) {
    return m_state->ready ? size_t(deflateBound(&m_state->stream, uLong(count)))
                          : size_t(compressBound(uLong(count)));
}

bool CBlockDeflater::Deflate(const unsigned char* raw, size_t count, unsigned char* out,
                             size_t outCapacity, size_t& outLength) {
    outLength = 0;
    if (!m_state->ready || deflateReset(&m_state->stream) != Z_OK)
        return false;
    z_stream& s = m_state->stream;
    s.next_in = const_cast<Bytef*>(raw);
    s.avail_in = uInt(count);
    s.next_out = out;
    s.avail_out = uInt(outCapacity);
    if (deflate(&s, Z_FINISH) != Z_STREAM_END)
        return false;
    outLength = outCapacity - s.avail_out;
    return true;
}

struct CBlockInflater::State {
    z_stream stream{};
    bool ready = false;
};

CBlockInflater::CBlockInflater() : m_state(std::make_unique<State>()) {
    m_state->ready = inflateInit(&m_state->stream) == Z_OK;
}

CBlockInflater::~CBlockInflater() {
    if (m_state->ready)
        inflateEnd(&m_state->stream);
}

bool CBlockInflater::Inflate(const unsigned char* packed, size_t packedLength, unsigned char* raw,
                             size_t rawLength) {
    if (!m_state->ready || inflateReset(&m_state->stream) != Z_OK)
        return false;
    z_stream& s = m_state->stream;
    s.next_in = const_cast<Bytef*>(packed);
    s.avail_in = uInt(packedLength);
    s.next_out = raw;
    s.avail_out = uInt(rawLength);
    // Z_STREAM_END with both sides used up: the block is whole and no longer
    // than announced. A stream that wants more room than rawLength ends in
    // Z_BUF_ERROR or Z_OK and is refused.
    return inflate(&s, Z_FINISH) == Z_STREAM_END && s.avail_in == 0 && s.avail_out == 0;
}
