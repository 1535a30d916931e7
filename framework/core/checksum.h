#pragma once
// The program's 32-bit checksum: the CRC-32 register (reflected polynomial
// 0xEDB88320) carried from block to block, without the inversions that zlib's
// crc32() makes on entry and exit. A chain starts from 0xFFFFFFFF and feeds
// every block with the value the previous block gave; the final value is the
// bitwise NOT of zlib's crc32 over all the blocks together.
//
// The archive reader checks archive trailers with it, the daily reports
// fingerprint their sheets with it. Header only, so that the archive reader
// (zlib, no Qt) shares it; users link zlib.
#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>

inline uint32_t CalcCrc(const void* data, size_t length, uint32_t seed = 0xFFFFFFFFu) {
    uLong crc = uLong(seed ^ 0xFFFFFFFFu);
    const auto* p = static_cast<const Bytef*>(data);
    while (length > 0) {
        // zlib takes at most an unsigned int per call.
        const uInt n = uInt(std::min<size_t>(length, size_t(1) << 30));
        crc = crc32(crc, p, n);
        p += n;
        length -= n;
    }
    return uint32_t(crc) ^ 0xFFFFFFFFu;
}
