#pragma once

// Helpers for tests that build hostile files by patching the bytes of small real ones.
#include <sys/resource.h>

#include <cstdint>
#include <string>

namespace voveriz::testing {

// The CRC-32 of PNG chunks.
inline std::uint32_t crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline void putBigEndian(std::string& bytes, std::size_t at, std::uint32_t value, int length = 4)
{
    for (int i = 0; i < length; ++i) bytes[at + i] = static_cast<char>((value >> (8 * (length - 1 - i))) & 0xFF);
}

// The highest resident memory of this process so far.
inline long peakMemoryKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace voveriz::testing
